#pragma once
// The report grid's engine: settings, columns, header painters, the geometry of
// every area, redraw bookkeeping, painting, selection and scrolling. How rows and
// cells are stored is left to the subclass behind the abstract row and cell queries.
#include "NxColumns.h"
#include "NxDisplays.h"
#include "NxEdit.h"
#include "NxGridLink.h"
#include "NxScrollControl.h"

#include <QFont>
#include <QPointer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

enum TGridOption : std::uint16_t {
    goCanHideColumn = 1 << 0,
    goDisableColumnMoving = 1 << 1,
    goEscClearEdit = 1 << 2,
    goFooter = 1 << 3,
    goGrid = 1 << 4,
    goHeader = 1 << 5,
    goIndicator = 1 << 6,
    goInput = 1 << 7,
    goLockFixedCols = 1 << 8,
    goMultiSelect = 1 << 9,
    goRowResizing = 1 << 10,
    goRowMoving = 1 << 11,
    goSelectFullRow = 1 << 12,
    goUseDefaultValues = 1 << 13,
};
using TGridOptions = std::uint16_t;

enum TAppearanceOption : std::uint16_t {
    ao3DGridLines = 1 << 0,
    aoAlphaBlendedSelection = 1 << 1,
    aoBoldTextSelection = 1 << 2,
    aoHideFocus = 1 << 3,
    aoHideSelection = 1 << 4,
    aoHighlightSlideCells = 1 << 5,
    aoHintMarks = 1 << 6,
    aoIndicateSelectedCell = 1 << 7,
    aoIndicateSortedColumn = 1 << 8,
};
using TAppearanceOptions = std::uint16_t;

enum TCellStateBit : std::uint8_t {
    csBoldTextSelection = 1 << 0,
    csEmpty = 1 << 1,
    csFocused = 1 << 2,
    csSelected = 1 << 3,
};
using TCellState = std::uint8_t;

enum TGridStyle { gsReport, gsSlides };
enum TGridLinesStyle { lsNormal, lsActiveRows, lsFramed, lsHorizontalOnly, lsVerticalOnly };
enum TSelectionMoveDirection { mdNone, mdUp, mdDown, mdLeft, mdRight };
enum TSlideOption : std::uint8_t { soFrame = 1 << 0, soHideSelection = 1 << 1 };
using TSlideOptions = std::uint8_t;
enum TSortedStyle { soDefault, soDarker, soWhite };

// Modifier keys of a selection.
enum TShiftBit : std::uint8_t { ssShift = 1 << 0, ssCtrl = 1 << 1, ssAlt = 1 << 2 };
using TShiftState = unsigned; // the same type as the pixel editor's shift state

// The redraw areas of InvalidatePart.
enum TGridPart { gpBody = 1, gpFooter = 2, gpHeader = 3, gpIndicator = 4, gpInput = 5 };

// Width of the indicator column.
constexpr int IndicatorColumnWidth = 12;

class TNxCustomGridControl;
class TNxCustomEdit;
class QKeyEvent;

// Where an error from something the user did in a grid (a click, a key, an edit,
// an event handler of the user's) goes; the application installs one that shows
// an error box. Without one, or with nullptr, the error is only logged.
using TGridErrorReporter = void (*)(const std::exception& E);
void SetGridErrorReporter(TGridErrorReporter Reporter);
void ReportGridError(const std::exception& E);

struct TLineWidths {
    int Left = 0, Top = 0, Right = 0, Bottom = 0, RowSpacing = 0;
};

class TNxCustomGridControl : public TNxScrollControl, public TNxGridLink {
    Q_OBJECT
public:
    using TCellEvent = std::function<void(TNxCustomGridControl*, int, int)>;
    using TColumnEvent = std::function<void(TNxCustomGridControl*, int)>;
    using TNotifyEvent = std::function<void(TNxCustomGridControl*)>;

    explicit TNxCustomGridControl(QWidget* Parent = nullptr);
    ~TNxCustomGridControl() override;

    // ---- settings ----
    TAppearanceOptions AppearanceOptions() const { return FAppearanceOptions; }
    void SetAppearanceOptions(TAppearanceOptions Value);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    // The background of the grid (Color) and of the empty rows.
    void SetColor(TColor Value);
    bool EnableVisualStyles() const { return FEnableVisualStyles; }
    void SetEnableVisualStyles(bool Value);
    int GetFixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    TColor GridLinesColor() const { return FGridLinesColor; }
    void SetGridLinesColor(TColor Value);
    TGridLinesStyle GridLinesStyle() const { return FGridLinesStyle; }
    void SetGridLinesStyle(TGridLinesStyle Value);
    const TLineWidths& LineWidths() const { return FLineWidths; }
    TGridStyle GridStyle() const { return FGridStyle; }
    void SetGridStyle(TGridStyle Value);
    int HeaderSize() const { return FHeaderSize; }
    void SetHeaderSize(int Value);
    THeaderStyle HeaderStyle() const { return FHeaderStyle; }
    void SetHeaderStyle(THeaderStyle Value);
    TStyleDisplay* ActiveDisplay() const { return FActiveDisplay; }
    bool HideScrollBar() const { return FHideScrollBar; }
    void SetHideScrollBar(bool Value);
    TColor HighlightedTextColor() const { return FHighlightedTextColor; }
    void SetHighlightedTextColor(TColor Value);
    int InputSize() const { return FInputSize; }
    void SetInputSize(int Value);
    bool InputSelected() const { return FInputSelected; }
    void SetInputSelected(bool Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    int RowSize() const { return FRowSize; }
    virtual void SetRowSize(int Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
    TSelectionMoveDirection SelectionMoveDirection() const { return FSelectionMoveDirection; }
    void SetSelectionMoveDirection(TSelectionMoveDirection Value) { FSelectionMoveDirection = Value; }
    TSlideOptions SlidesOptions() const { return FSlidesOptions; }
    void SetSlidesOptions(TSlideOptions Value);
    TColor SlideSelectionColor() const { return FSlideSelectionColor; }
    void SetSlideSelectionColor(TColor Value);
    int SlideSize() const { return FSlideSize; }
    void SetSlideSize(int Value);
    TSortedStyle SortedStyle() const { return FSortedStyle; }
    void SetSortedStyle(TSortedStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    TNxColumns& Columns() { return *FColumns; }
    const TNxColumns& Columns() const { return *FColumns; }
    int FirstRow() const { return FFirstRow; }
    int SelectedRow() const { return GetSelectedRow(); }
    int SelectedColumn() const { return FSelectedColumn; }
    int SelectionAnchor() const { return FSelectionAnchor; }
    bool MultiSelected() const { return FMultiSelected; }
    // The canvas while the grid paints; custom drawing handlers draw on it.
    QPainter* Canvas() const { return FCanvas; }

    // ---- the grid link ----
    QWidget* Control() const override { return const_cast<TNxCustomGridControl*>(this); }
    QPalette Palette() const override { return palette(); }
    QFont Font() const override { return font(); }
    TColor FontColor() const override { return FFontColor; }
    void SetFontColor(TColor Value);
    TColor Color() const override { return FColor; }
    int IndicatorWidth() const override { return (FOptions & goIndicator) ? IndicatorColumnWidth : 0; }
    bool ReportStyle() const override { return FGridStyle == gsReport; }
    int ClientWidth() const override { return TNxScrollControl::ClientWidth(); }
    TRect BandRect(TNxColumnArea Area) const override;
    int HorzScrollPos() const override { return HorzScrollBar().Position(); }
    int FixedCols() const override { return FFixedCols; }
    bool Destroying() const override { return FDestroying; }
    int CurrentColumn() const override { return FSelectedColumn; }
    void InvalidateColumn(TNxCustomColumn* Column, TNxColumnArea Area) override { RefreshColumn(Column, Area); }
    TColor GetCellDrawColor(int ACol, int ARow) const override { return GetCellColorFor(ACol, ARow); }
    TColor GetCellDrawTextColor(int ACol, int ARow) const override { return GetTextColor(ACol, ARow); }
    bool DeferChange(std::function<void()> Change) override { return Deferred(std::move(Change)); }
    bool Busy() const override { return FOperations > 0; }

    // ---- rows and cells the subclass stores ----
    virtual int GetRowCount() const = 0;
    int RowCount() const { return GetRowCount(); }
    virtual int GetRowHeight(int Index) const { Q_UNUSED(Index); return FRowSize; }
    virtual bool GetRowVisible(int Index) const { Q_UNUSED(Index); return true; }
    virtual bool GetRowSelected(int Index) const = 0;
    virtual void SetRowSelected(int Index, bool Value) = 0;
    // Selects rows Lo .. Hi and no other.
    virtual void SelectRows(int Lo, int Hi);
    virtual void SetRowHeight(int Index, int Value) = 0;
    virtual int GetSelectedRow() const { return FSelectedRow; }
    virtual int GetVisibleRowTotal() const = 0;
    // A token that stays with the row at ARow while rows move (nullptr: none), and
    // where the row of a token is now (-1: gone); Hint is where it was.
    virtual const void* RowKey(int ARow) const { Q_UNUSED(ARow); return nullptr; }
    virtual int RowOfKey(const void* Key, int Hint) const { Q_UNUSED(Key); return IsValidRow(Hint) ? Hint : -1; }
    virtual QString GetCellText(int ACol, int ARow) = 0;
    virtual void SetCellText(int ACol, int ARow, const QString& Value) = 0;
    virtual TColor GetCellColor(int ACol, int ARow) const = 0;
    virtual QString GetCellHint(int ACol, int ARow) const = 0;
    virtual bool GetPartialDraw() const { return false; }
    virtual int GetHorzMax() const;
    // The bar's maximum: the shown rows less those that fit above the body's bottom
    // when the last row ends there.
    virtual int GetVertMax() const;
    // The bar position that shows ARow first (the shown rows above it), and back.
    virtual int PositionOfRow(int ARow) const;
    virtual int RowAtPosition(int Pos) const;
    // How many shown rows, ending with ARow, fit wholly in the body (at least 1).
    int RowsFittingUpFrom(int ARow) const;
    // The first shown row at or after ARow (at least ARow; the row count when
    // none is), and the last at or before it (-1 when none is).
    int NextShownRow(int ARow) const;
    int PrevShownRow(int ARow) const;
    // Shows the rows from ARow, pulled back so the body stays full, with the bar in step.
    void ShowFromRow(int ARow);

    virtual void AddRow(int Count = 1) = 0;
    virtual void ClearRows();
    virtual void DeleteRow(int Index);
    virtual void InsertRow(int Index);
    virtual void MoveRow(int FromPos, int ToPos);
    virtual void ExchangeRows(int Index1, int Index2) = 0;
    virtual void SortColumn(TNxCustomColumn* Column, bool Ascending);

    // ---- geometry ----
    TRect GetBodyRect() const;
    TRect GetHeaderRect() const;
    TRect GetInputRect() const;
    TRect GetFooterRect() const;
    TRect GetIndicatorRect() const;
    TRect GetScrollArea() const;
    // Pixel places are held within -FarPixels .. FarPixels, where a row's height
    // still adds to one without leaving an int; rows that far lie off screen.
    static constexpr int FarPixels = 1 << 30;
    int RowTop(int ARow) const;
    // True when some of ARow lies in the body (rows above the first shown one do not).
    bool RowOnScreen(int ARow) const;
    TRect RowRect(int ARow) const;
    int SlideTop(int ARow) const;
    int CellTop(int ACol, int ARow) const;
    virtual TRect GetCellRect(int ACol, int ARow) const;
    int RowExtent(int ARow) const;
    int GetVisibleRowCount() const;
    // The column's left edge on screen (fixed columns do not scroll).
    int ColumnScreenLeft(const TNxCustomColumn* Column) const;
    // Column list index and row under a client point; -1 where there is none.
    int ColumnAtX(int X) const;
    int RowAtY(int Y) const;

    // ---- redraw ----
    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return FUpdateCount > 0; }
    void Invalidate();
    void InvalidatePart(int Part);
    void InvalidateRectangle(const TRect& R);
    virtual void RefreshCell(int ACol, int ARow);
    virtual void RefreshColumn(TNxCustomColumn* Column, TNxColumnArea Area);
    virtual void RefreshGrid() { Invalidate(); }
    void RefreshRow(int ARow, bool KeepInside = false);
    void RefreshIndicatorRow(int ARow);
    void RefreshSlide(int ARow, bool KeepInside = false);
    void RefreshRowLine(int ARow);
    void RefreshSelectedSlides();
    void RefreshRowsFrom(int ARow, int Last);
    void RefreshSelection();
    virtual void UpdateHorzScrollBar();
    virtual void UpdateVertScrollBar();
    void BestFitColumn(int ACol);

    // ---- painting ----
    // Paints the part Clip of the client area on Canvas (the paint event and off-screen renders).
    void PaintTo(QPainter& Canvas, const QRect& Clip);
    virtual void DrawCell(int ACol, int ARow);
    virtual void DrawEmptyCell(int ACol, int ARow);
    virtual void DrawIndicatorCell(int ARow, bool IsCurrent, bool Selected);
    virtual bool DrawCellContent(int ACol, int ARow, TCellState CellState);
    virtual void ApplyCellFormatting(int ACol, int ARow, TCellState CellState);
    virtual void PrepareDisplay(int ACol, int ARow, TColumnDisplay* Display);
    virtual TColor GetCellColorFor(int ACol, int ARow) const;
    virtual TColor GetTextColor(int ACol, int ARow) const;
    bool IsCellSelected(int ACol, int ARow) const;
    TCellState GetCellState(int ACol, int ARow);

    // ---- selection and navigation ----
    virtual void SelectCell(int ACol, int ARow, TShiftState Shift = 0);
    virtual void SetSelectedRow(int ARow);
    void SetCurrentCell(int ACol, int ARow);
    void SelectColumn(int ACol);
    void ClearSelection();
    // Brings ARow wholly into view (as far as it fits), scrolling as little as possible.
    void ScrollToRow(int ARow);
    // Scrolls a row that the body's bottom edge cuts wholly into view.
    void RevealCutRow(int ARow);
    // The current column, or the first one that can be current when there is none.
    int NavigationColumn() const;
    void ScrollColumnIntoView(TNxCustomColumn* Column);
    void MoveUp(TShiftState Shift = 0);
    void MoveDown(TShiftState Shift = 0);
    void MoveLeft();
    void MoveRight();
    void NextCell();
    void PrevCell();
    bool IsValidRow(int ARow) const { return ARow >= 0 && ARow < GetRowCount(); }

    // ---- in-place editing and the input line ----
    // Opens the cell's editor; an empty Text starts from the cell's text.
    void StartEdit(int ACol, int ARow, const QString& Text = {});
    // Opens the editor in the column's input cell.
    void StartInputEdit(TNxCustomColumn* Column, const QString& Text = {});
    // Commits what the open editor holds; False when nothing was written.
    virtual bool EndEdit();
    // Hides the editor and forgets the edit.
    virtual void CloseEditor();
    // Puts the editor over its cell as the geometry is now.
    virtual void PlaceEditor();
    // Every change of rows, columns, sizes, folding or scrolling ends here: an open
    // edit follows its cell, or is committed and closed when the cell can no longer
    // be shown (closed unwritten when the cell is gone); a hidden column stops being
    // current. EditedCurrentRow: the current row before the change when it was the
    // edited one (-1 otherwise); a current row the change left there moves with the edit.
    void GridChanged(int EditedCurrentRow = -1);
    // Counts the changes that went through GridChanged: a handler's caller compares
    // it to learn whether what it looked up before the handler still holds.
    unsigned ChangeCount() const { return FChangeCount; }
    // Turns the input line into a new row.
    virtual void AcceptInput();
    void SetActiveEditor(TNxCustomEdit* Editor);
    TNxCustomEdit* ActiveEditor() const { return FActiveEditor; }
    bool Editing() const { return FEditing; }
    bool InputEditing() const { return FInputEditing; }
    int EditCol() const { return FEditCol; }
    int EditRow() const { return FEditRow; }
    int InputColumn() const { return FInputColumn; }

    // True when the grid (or its editor) has the keyboard focus.
    virtual bool Focused() const;

    // ---- events ----
    std::function<void(TNxCustomGridControl*, int, int, const QString&)> OnAfterEdit;
    std::function<void(TNxCustomGridControl*, int, int, bool&)> OnBeforeEdit;
    TCellEvent OnCellClick;
    std::function<void(TNxCustomGridControl*, int, int, TColor&, TColor&, TCellState)> OnCellColoring;
    TCellEvent OnChange;
    std::function<void(TNxCustomGridControl*, int, int, int)> OnColumnMove;
    TColumnEvent OnColumnResize;
    std::function<void(TNxCustomGridControl*, int, int, const TRect&, TCellState)> OnCustomDrawCell;
    TCellEvent OnDeselectCell;
    std::function<void(TNxCustomGridControl*, int, int, const TRect&, TCellState, bool&)> OnDrawCellBackground;
    std::function<void(TNxCustomGridControl*, int, int, const QString&)> OnEdit;
    std::function<void(TNxCustomGridControl*, int, int, const QString&, bool&)> OnEditAccept;
    TColumnEvent OnFooterClick;
    TColumnEvent OnHeaderClick;
    TColumnEvent OnHeaderDblClick;
    std::function<void(TNxCustomGridControl*, bool&)> OnInputAccept;
    TNotifyEvent OnInputAdded;
    TColumnEvent OnInputSelectCell;
    std::function<void(TNxCustomGridControl*, int, int&)> OnMeasuringRowHeight;
    TNotifyEvent OnPostDraw;
    std::function<void(TNxCustomGridControl*, int, int, bool&)> OnRowMove;
    TCellEvent OnSelectCell;
    std::function<void(TNxCustomGridControl*, int, bool)> OnSortColumn;
    TNotifyEvent OnIndicatorChange;

    virtual void DoAfterEdit(int ACol, int ARow, const QString& Value);
    virtual void DoBeforeEdit(int ACol, int ARow, bool& Accept);
    virtual void DoCellClick(int ACol, int ARow);
    virtual void DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor, TCellState CellState);
    virtual void DoChange(int ACol, int ARow);
    virtual void DoColumnMove(int ACol, int FromPos, int ToPos);
    virtual void DoColumnResize(int ACol);
    virtual void DoCustomDrawCell(int ACol, int ARow, const TRect& CellRect, TCellState CellState);
    virtual void DoDeselectCell(int ACol, int ARow);
    virtual void DoDrawCellBackground(int ACol, int ARow, const TRect& CellRect, TCellState CellState,
                                      bool& DefaultDrawing);
    virtual void DoEdit(int ACol, int ARow, const QString& Value);
    virtual void DoEditAccept(int ACol, int ARow, const QString& Value, bool& Accept);
    virtual void DoFooterClick(int ACol);
    virtual void DoHeaderClick(int ACol);
    virtual void DoHeaderDblClick(int ACol);
    virtual void DoInputAccept(bool& Accept);
    virtual void DoInputAdded();
    virtual void DoInputSelectCell(int ACol);
    virtual void DoMeasuringRowHeight(int Index, int& RowHeight) const;
    virtual void DoPostDraw();
    virtual bool DoRowMove(int FromPos, int ToPos);
    virtual void DoSelectCell(int ACol, int ARow);
    virtual void DoSortColumn(int ACol, bool Ascending);
    virtual void DoIndicatorChange();

protected:
    // One operation of the grid: an event, a public operation, a handler's call.
    // A change that a handler asks for while any runs waits, and the changes run
    // in order when the outermost one ends: no operation sees its rows, columns,
    // editor or canvas go under it.
    class TOperation {
    public:
        explicit TOperation(TNxCustomGridControl& Grid)
            : FGrid(Grid)
        {
            ++Grid.FOperations;
        }
        ~TOperation() { FGrid.EndOperation(); }
        TOperation(const TOperation&) = delete;
        TOperation& operator=(const TOperation&) = delete;

    private:
        TNxCustomGridControl& FGrid;
    };
    // True when Change was kept for the end of the operations: a handler asked for it.
    template <class TChange>
    bool Deferred(TChange&& Change)
    {
        if (FHandlers == 0 || FDestroying)
            return false;
        FDeferred.emplace_back(std::forward<TChange>(Change));
        return true;
    }
    // For a change that runs at once: asked for by a handler while changes wait, or
    // by one that measures rows, it joins them (true), so a handler's changes take
    // effect in the order it asked for them. What the change does then runs as an
    // operation of its own. Adding or deleting a column and a write through a cell
    // object cannot wait: they act at once, and the waiting changes find their rows
    // and columns by identity.
    template <class TChange>
    bool InLine(TChange&& Change)
    {
        if (FHandlers == 0 || FDestroying || FOperations != FHandlerOperations
            || (FDeferred.empty() && FOperations != FMeasuringHandler))
            return false;
        FDeferred.emplace_back(std::forward<TChange>(Change));
        return true;
    }
    // The changes kept for the end of the operations, or for the event loop.
    int WaitingChanges() const { return static_cast<int>(FDeferred.size()); }
    // As Deferred, for a change of the open edit: it runs only while that edit is open.
    template <class TChange>
    bool EditDeferred(TChange&& Change)
    {
        return Deferred([this, Serial = FEditSerial, Change = std::forward<TChange>(Change)] {
            if (FEditSerial == Serial)
                Change();
        });
    }
    // A row and a column that a deferred change names, where they are when it runs:
    // -1 once gone; a number that named none stays as it was.
    struct TRowRef {
        const TNxCustomGridControl* Grid;
        const void* Key;
        int Row;
        int Now() const { return Key ? Grid->RowOfKey(Key, Row) : Row; }
        bool Gone() const { return Key && Now() < 0; }
    };
    struct TColRef {
        const TNxColumns* Columns;
        const TNxCustomColumn* Column;
        int Col;
        int Now() const { return Column ? Columns->IndexOf(Column) : Col; }
        bool Gone() const { return Column && Now() < 0; }
    };
    TRowRef RowRef(int ARow) const { return {this, RowKey(ARow), ARow}; }
    TColRef ColRef(int ACol) const { return {FColumns.get(), FColumns->IsValidIndex(ACol) ? FColumns->Item(ACol) : nullptr, ACol}; }
    int HandlerStarts() override;
    void HandlerEnds(int Token) override;
    bool event(QEvent* Event) override;
    bool viewportEvent(QEvent* Event) override;

    // Held by every operation that inserts, removes, moves, sorts, folds or resizes
    // rows (appending moves none): ends in GridChanged. While rows are locked (a
    // sort is running) it refuses the change.
    class TRowsChange {
    public:
        explicit TRowsChange(TNxCustomGridControl& Grid);
        ~TRowsChange();
        TRowsChange(const TRowsChange&) = delete;
        TRowsChange& operator=(const TRowsChange&) = delete;

    private:
        TNxCustomGridControl& FGrid;
        TOperation FOperation;
        int FEditedCurrentRow;
        int FExceptions;
    };
    // Rows may not change while a sort reads them (a compare handler runs inside).
    int FRowsLocked = 0;
    // Row operations under way: a scroll on their way only moves the edit; the
    // operation's end decides whether the cell still shows.
    int FRowsChanging = 0;
    // A row number held across a handler: it follows its row through changes of
    // the rows and reads -1 once the row is gone.
    class TRowHold {
    public:
        TRowHold(TNxCustomGridControl& Grid, int Row);
        ~TRowHold();
        TRowHold(const TRowHold&) = delete;
        TRowHold& operator=(const TRowHold&) = delete;
        int Row() const { return FRow; }

    private:
        friend class TNxCustomGridControl;
        TNxCustomGridControl& FGrid;
        const void* FKey;
        int FRow;
    };
    // The open editor's keys: a key before the editor takes it (true when handled here),
    // and a typed character, which goes on to the grid's own key-press handling.
    virtual bool EditorKeyDown(QKeyEvent* Event);
    virtual void EditorKeyPress(QChar Key) { Q_UNUSED(Key); }
    // True when the widget that takes the focus is the grid's own editor.
    bool FocusGoesToEditor() const;
    // Commits the open edit and closes it, as a focus change does; a text the cell
    // cannot take is reported and dropped with the closed editor.
    void CommitAndClose();
    // The grid's own commit and close (Commit) or close of the edit open now.
    void EndOpenEdit(bool Commit);
    // True when the cell, or the input cell of ACol (ARow -1), shows in the grid.
    bool CellShown(int ACol, int ARow) const;
    // Moves the edit to where its column and row are now; false when it closed
    // because one of them is gone.
    bool FollowEditCell(int EditedCurrentRow);
    // A hidden column is never current: the next shown one (or the one before) takes over.
    void KeepCurrentColumnShown();
    // A painting handler changed the grid: the rest of this paint is dropped and
    // another one is asked for. True when painting goes on.
    bool PaintGoesOn(unsigned Stamp);
    // The focus left the grid and its editor: commits and closes an open edit; a
    // text the cell cannot take is reported and dropped with the closed editor.
    // Focus taken by another window of the program leaves the edit open.
    void EndEditOnLeave();

    // Column collection notifications.
    virtual void ColumnsChanged(int Operation, int Count, int Index);
    virtual void ColumnNotification(TNxCustomColumn* Column, int Value, int Kind);
    virtual void ColumnChanged(int Kind);

    // The subclass's sums of the shown rows' steps (a height and the row spacing),
    // where it keeps them: places far away are looked up, not walked to. None
    // while a handler measures the heights.
    virtual bool RowStepsSummed() const { return false; }
    virtual qint64 SummedPixelsBefore(int ARow) const { Q_UNUSED(ARow); return 0; }
    virtual int SummedRowAtPixel(qint64 Pixel) const { Q_UNUSED(Pixel); return GetRowCount(); }

    void UpdateVertRange() override { UpdateVertScrollBar(); }
    int HorzScrollDelta(int OldPos, int NewPos) override { return OldPos - NewPos; }
    int VertScrollDelta(int OldPos, int NewPos) override { return ScrollRows(OldPos, NewPos); }
    // A scroll of the content leaves child widgets where they were: the editor follows its cell.
    void AfterScroll(int Kind) override;
    bool PositionWaits(std::function<void()> Change) override { return InLine(std::move(Change)); }
    // Moves FirstRow by New - Old shown rows; returns the pixels the row area moves.
    int ScrollRows(int Old, int New);
    void UpdateLineWidths();

    virtual void Paint();
    virtual void PaintRows();
    virtual void PaintHeaders();
    virtual void PaintRowArea();
    virtual void PaintSlides();
    void DrawCellLines(const TRect& R, TColor GridColor, bool LastRow, bool LastColumn, bool RowExists);
    void DrawFocusFrame();
    void ClipTo(const TRect& R);
    void ResetClip();
    // The cell's clip: scrolled columns start at the scroll area, lines added, cut at the body.
    TRect CellClipRect(TNxCustomColumn* Column, const TRect& CellRect) const;
    bool ColumnScrolled(const TNxCustomColumn* Column) const { return Column->Position() >= FFixedCols; }

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void changeEvent(QEvent* Event) override;

    int FSelectedColumn = 0;
    int FSelectedRow = 0;
    int FSelectionAnchor = -1;
    int FFirstRow = 0;
    bool FMultiSelected = false;
    bool FEditing = false;
    bool FInputEditing = false;
    int FEditCol = -1;
    int FEditRow = -1;
    int FInputColumn = -1;
    // The edit's column and row by identity: numbers name other cells once columns
    // or rows move.
    const TNxCustomColumn* FEditColumn = nullptr;
    const void* FEditRowKey = nullptr;
    // Set while EndEdit runs its handlers: a change they make moves the edit but
    // does not commit it a second time.
    bool FCommitting = false;
    // Set while GridChanged places the editor: a change made on the way only moves the edit.
    bool FInGridChanged = false;
    bool FPaintStopped = false;
    unsigned FChangeCount = 0;
    std::vector<TRowHold*> FRowHolds;
    QPointer<TNxCustomEdit> FActiveEditor;
    // Where a column's InplaceEdit lived before the grid took it; it goes back there.
    QPointer<QWidget> FEditorHome;
    // The handlers the editor had before the grid routed its events here; it gets them back on closing.
    struct TEditorHandlers {
        std::function<void(TNxCustomEdit*)> OnChange, OnEnter, OnExit;
        std::function<bool(TNxCustomEdit*, QKeyEvent*)> OnKeyDown;
        std::function<void(TNxCustomEdit*, QChar)> OnKeyPress;
    };
    TEditorHandlers FEditorHandlers;
    // Hides the active editor and gives a user's editor back its home and handlers;
    // true when it had the focus. The grid's own edit state is left to the caller.
    bool ReleaseEditor();
    // Set by EndEdit when OnEditAccept refused the value: the editor then stays open.
    bool FEditRefused = false;
    int FUpdateCount = 0;
    bool FDestroying = false;

    // Where the editor goes over the cell (ARow -1: the input cell): one pixel inside
    // the cell and its lines, cut at the body's bottom.
    TRect EditorRect(int ACol, int ARow) const;

private:
    void EndOperation();
    int FOperations = 0;
    // Handlers of the user's running, and the event loop the innermost one runs in.
    int FHandlers = 0;
    int FHandlerLevel = -1;
    // The operations counted while the innermost handler runs: a call made at this
    // count is the handler's own; deeper ones are the work of the operation it asked for.
    int FHandlerOperations = -1;
    std::vector<int> FOuterHandlerOperations;
    // That count while a handler measures rows.
    int FMeasuringHandler = -1;
    // UpdateVertScrollBar is counting the range, and was asked again meanwhile.
    bool FCountingVertMax = false;
    bool FVertMaxAskedAgain = false;
    std::deque<std::function<void()>> FDeferred;
    // Counts the edits opened: a deferred change of an edit finds out whether it still is the one.
    unsigned FEditSerial = 0;
    // A GridChanged that a handler's change asked for waits in FDeferred.
    bool FSettleWaits = false;
    // The event loop is to run the waiting changes (DrainLater).
    bool FDrainPosted = false;
    void MeasuringFire(int Index, int& RowHeight);
    // Has the event loop run the waiting changes, where no operation will.
    void DrainLater();
    void SelectDisplay();
    // After a setting that draws the grid lines changed.
    void LineWidthsChanged();
    // The pixels row ARow takes in the body (RowSize + spacing past the last of Count rows).
    qint64 RowStep(int ARow, int Count) const;
    // The pixels the rows From .. To - 1 take (rows past the last as empty rows),
    // summed where the sums are kept; a walk stops once past Limit.
    qint64 PixelsBetween(int From, int To, qint64 Limit = INT64_MAX) const;
    // The shown row that holds the pixel Pixel (>= 0) below the top of row From;
    // the row count past the last row.
    int RowAtPixelFrom(int From, qint64 Pixel) const;
    // The shown rows from From on (Dir 1) or back (Dir -1) that fit wholly in the body.
    int RowsFitting(int From, int Dir) const;

    TAppearanceOptions FAppearanceOptions = aoHideSelection | aoHighlightSlideCells;
    bool FAutoScroll = false;
    TBorderStyle FBorderStyle = bsSingle;
    QString FCaption;
    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;
    bool FEnableVisualStyles = true;
    int FFixedCols = 0;
    TColor FGridLinesColor = clBtnFace;
    TGridLinesStyle FGridLinesStyle = lsNormal;
    TLineWidths FLineWidths;
    TGridStyle FGridStyle = gsReport;
    int FHeaderSize = 18;
    THeaderStyle FHeaderStyle = hsAuto;
    bool FHideScrollBar = true;
    TColor FHighlightedTextColor = clHighlightText;
    bool FInputSelected = false;
    int FInputSize = 16;
    TGridOptions FOptions = goHeader;
    bool FReadOnly = false;
    int FRowSize = 16;
    TColor FSelectionColor = clHighlight;
    TSelectionMoveDirection FSelectionMoveDirection = mdDown;
    TSlideOptions FSlidesOptions = soFrame | soHideSelection;
    TColor FSlideSelectionColor = clWindow;
    int FSlideSize = 80;
    TSortedStyle FSortedStyle = soDefault;
    bool FWantReturns = false;
    bool FWantTabs = false;

    std::unique_ptr<TNxColumns> FColumns;
    std::unique_ptr<TDefaultStyleDisplay> FDefaultDisplay;
    std::unique_ptr<TFlatStyleDisplay> FFlatDisplay;
    std::unique_ptr<TOldStyleDisplay> FOldDisplay;
    std::unique_ptr<TOutlookStyleDisplay> FOutlookDisplay;
    std::unique_ptr<TVistaStyleDisplay> FVistaDisplay;
    TStyleDisplay* FActiveDisplay = nullptr;

    QPainter* FCanvas = nullptr;
    TRect FClipBox;
};
