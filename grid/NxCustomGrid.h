#pragma once
// The grid's control surface: mouse, keys, hints and window messages turned into
// grid actions (selection, header press and sorting, column resizing and moving,
// row resizing and moving, in-place editing, incremental search, scrolling).
#include "NxCustomGridControl.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class QTimer;
class QWheelEvent;
class TColumnDragBox;
class TDragArrow;

// Hint modes.
enum THintMode { hmNone = 0, hmFooter = 1, hmHeader = 2, hmTextFit = 3, hmCell = 4 };

// A tool window with a text on the info colour.
class TNxGridHintWindow : public QWidget {
    Q_OBJECT
public:
    explicit TNxGridHintWindow(QWidget* Parent = nullptr);
    int Mode = hmNone;
    QString Text() const { return FText; }
    // The window's rectangle for Text at the origin, at most MaxWidth wide (0: no limit).
    QRect CalcHintRect(const QString& Text, int MaxWidth) const;
    // Shows Text in Rect (screen coordinates).
    void ActivateHint(const QRect& Rect, const QString& Text);
    void ReleaseHint();
    void PaintTo(QPainter& Canvas);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QString FText;
    int FMaxWidth = 0;
};

// Hit-test areas.
enum TGridArea { gaNone = 0, gaRows = 1, gaFooter = 2, gaHeader = 3, gaIndicator = 4, gaInput = 5 };

class TNxCustomGrid : public TNxCustomGridControl {
    Q_OBJECT
public:
    explicit TNxCustomGrid(QWidget* Parent = nullptr);
    ~TNxCustomGrid() override;

    // ---- hit testing, in client coordinates ----
    int GetAreaAt(const QPoint& P) const;
    // The column whose right edge lies under X, or -1.
    int GetColumnEdgeAt(int X) const;
    // The row whose bottom edge lies under Y inside the indicator column, or -1.
    int GetRowEdgeAt(int X, int Y) const;
    // The display position a dragged column would take when dropped at X.
    int GetDropPosition(int X) const;
    // The column (list index) of the cell under P: by x in report style, by the
    // slide bounds in slides style; -1 where there is none.
    int CellColumnAt(const QPoint& P) const;
    // The row a dragged row would land before when dropped at Y.
    int GetDropRow(int Y) const;

    int HotColumn() const override { return FHotHeaderColumn; }
    int PressedColumn() const override { return FPressedHeaderColumn; }

    // ---- what the interaction shows; read by tests ----
    TColumnDragBox* DragBox() const { return FDragBox; }
    TDragArrow* UpperArrow() const { return FUpperArrow; }
    TDragArrow* LowerArrow() const { return FLowerArrow; }
    TNxGridHintWindow* HintWindow() const { return FHint; }
    QTimer* SearchTimer() const { return FSearchTimer; }
    QString SearchText() const { return FSearchText; }
    bool ColumnResizing() const { return FColumnResizing; }
    bool ColumnDragging() const { return FColumnDragging; }
    bool RowDragging() const { return FRowDragging; }
    bool RowResizing() const { return FResizedRow >= 0; }
    // The x of the moving line of a column resize and the y of a row resize.
    int ResizeLineX() const { return FResizeLineX; }
    int RowLineY() const { return FRowLineY; }
    int DropRow() const { return FDropRow; }
    // The cursor number the grid shows (0 the default).
    int CursorNumber() const { return FCursorNumber; }

    // Hint at a client point; MaxWidth 0 leaves the width to the text.
    void ShowHint(const QPoint& At, const QString& Text, int Mode, int MaxWidth = 0);
    void HideHint();

    // Key-press handling of a typed character (also what the open editor passes on).
    void KeyPress(QChar Key);
    // Forgets every press, drag and resize and hides the floating windows.
    void CancelInteraction();

    // Prepares a column's value player for a cell; False when OnBeforeEdit refused.
    virtual bool PreparePlayer(int ACol, int ARow, const TRect& CellRect);
    virtual void ApplyPlayValue(TColumnPlay* Play) { Q_UNUSED(Play); }
    virtual void TogglePlayExpanded(TColumnPlay* Play) { Q_UNUSED(Play); }

    void WMHScroll(int Code, int TrackPos = 0) override;
    void WMVScroll(int Code, int TrackPos = 0) override;

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool event(QEvent* Event) override;
    void Paint() override;
    void ColumnsChanged(int Operation, int Count, int Index) override;
    void EditorKeyPress(QChar Key) override { KeyPress(Key); }

    // Runs a handler's body; a conversion error it raises ends the interaction
    // and goes to the grid's error reporter instead of out of the handler.
    void Guarded(const std::function<void()>& Body);

private:
    static TShiftState ShiftOf(Qt::KeyboardModifiers Modifiers);
    void SetCursorNumber(int Number);
    void MouseDown(const QPoint& P, Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, bool Double);
    void MouseMove(const QPoint& P);
    void MouseUp(const QPoint& P, Qt::MouseButton Button);
    void HeaderMove(const QPoint& P);
    void RowsMove(const QPoint& P);
    void CellHint(int ACol, int ARow);
    void StartColumnDrag(const QPoint& P);
    void ColumnDragMoving(int X, int Y);
    void ColumnDrop(int X, int Y);
    // The target of a drop at client point P, or -1 where no drop is allowed.
    int AllowedDropTarget(const QPoint& P, bool& Inside) const;
    void HideArrows();
    void RefreshHeaderColumn(int ACol);
    // True when the key was one of the grid's.
    bool KeyDown(QKeyEvent* Event);
    void MoveByDirection(TShiftState Shift);
    void IncrementalSearch(QChar Key);
    void SearchTimerFired();
    void PaintInteraction();

    TColumnDragBox* FDragBox = nullptr;
    TDragArrow* FUpperArrow = nullptr;
    TDragArrow* FLowerArrow = nullptr;
    TNxGridHintWindow* FHint = nullptr;
    QTimer* FSearchTimer = nullptr;
    QString FSearchText;

    QPoint FPressPoint{-1, -1};
    int FPressCol = -1;
    bool FForwardingKey = false; // a key on its way to the open editor
    // The row pressed, and the one a drag would move: each follows its row while
    // handlers change the rows, and reads -1 once it is gone (or none was).
    std::optional<TRowHold> FPressRowHold, FPressedRowHold;
    int PressRow() const { return FPressRowHold ? FPressRowHold->Row() : -1; }
    int PressedRow() const { return FPressedRowHold ? FPressedRowHold->Row() : -1; }
    int FPressedColumn = -1;
    int FHotHeaderColumn = -1;
    int FPressedHeaderColumn = -1;
    int FResizedColumn = -1;
    int FResizeChange = 0;
    int FResizeLineX = -1;
    int FResizeLeftX = -1, FResizeRightX = -1;
    int FResizedRow = -1;
    int FRowLineY = -1;
    int FDropRow = -1;
    int FHotCol = -1, FHotRow = -1;
    int FHintHeaderColumn = -1;
    int FHintFooterColumn = -1;
    int FLastClientWidth = 0, FLastClientHeight = 0;
    int FCursorNumber = 0;
    int FWheelDelta = 0;

    bool FColumnResizing = false;
    bool FHeaderPressed = false;
    bool FColumnDragging = false;
    bool FDblClickPending = false;
    bool FRowDragging = false;
};
