#pragma once
// The on-screen character editor and its LCD-dot preview.
#include "PixelBuffer.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

// Shift state of a mouse or key event, as the cell events report it. Scoped:
// the grid control has shift bits of the same names.
namespace TShiftFlag {
enum : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
} // namespace TShiftFlag
using TShiftState = unsigned;

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

class TSingleCharViewer;

class TPixelGrid : public QWidget {
    Q_OBJECT
public:
    using TCellMouseEvent = std::function<void(TPixelGrid* Sender, Qt::MouseButton Button,
                                               TShiftState Shift, int aCol, int aRow)>;
    using TCellClickNotifyEvent = std::function<void(TPixelGrid* Sender, int ACol, int ARow)>;
    using TCellMouseMoveEvent =
        std::function<void(TPixelGrid* Sender, TShiftState Shift, int aCol, int aRow)>;

    explicit TPixelGrid(QWidget* AOwner = nullptr);
    ~TPixelGrid() override;

    // The cells and every pixel operation; a change made straight on the buffer
    // is shown after Changed().
    TPixelBuffer& Buffer() { return FBuffer; }
    const TPixelBuffer& Buffer() const { return FBuffer; }
    // Repaints the grid and refreshes the preview from the cells.
    void Changed();

    int HorizCellCount() const { return FBuffer.HorizCellCount(); }
    int VertCellCount() const { return FBuffer.VertCellCount(); }
    int CellWidth() const { return FCellWidth; }
    Qt::PenStyle GridDrawStyle() const { return FGridDrawStyle; }
    TColor GridColor() const { return FGridColor; }
    TColor BackgroundColor() const { return FBuffer.BackgroundColor(); }
    TColor BorderColor() const { return FBorderColor; }
    bool GridVisible() const { return FGridVisible; }
    bool BorderVisible() const { return FBorderVisible; }
    TSingleCharViewer* CharViewer() const { return FCharViewer.data(); }

    void SetHorizCellCount(int Value);
    void SetVertCellCount(int Value);
    // Below 1 is taken as 1: it divides every mouse coordinate.
    void SetCellWidth(int Value);
    void SetGridDrawStyle(Qt::PenStyle Value);
    void SetGridColor(TColor Value);
    void SetBackgroundColor(TColor Value);
    void SetBorderColor(TColor Value);
    void SetGridVisible(bool Value);
    void SetBorderVisible(bool Value);
    // Not owned; the preview follows the grid's content from now on. A viewer
    // destroyed before the grid is simply forgotten.
    void SetCharViewer(TSingleCharViewer* Value);

    bool Modified() const { return FBuffer.Modified; }
    void SetModified(bool Value) { FBuffer.Modified = Value; }

    int DownRow = 0;
    int DownCol = 0;
    TCellMouseEvent OnCellMouseDown;
    TCellMouseEvent OnCellMouseUp;
    TCellClickNotifyEvent OnCellClick;
    TCellMouseMoveEvent OnCellMouseMove;

    int XToCol(int X, int Y) const;
    int YToRow(int X, int Y) const;

    TColor GetCellValue(int X, int Y) const { return FBuffer.GetCellValue(X, Y); }
    void SetCellValue(int X, int Y, TColor Value);
    int GetPixel(int X, int Y) const { return FBuffer.GetPixel(X, Y); }
    bool IsEmpty() const { return FBuffer.IsEmpty(); }
    int FirstUsedCol() const { return FBuffer.FirstUsedCol(); }
    int LastUsedCol() const { return FBuffer.LastUsedCol(); }
    int FirstUsedRow() const { return FBuffer.FirstUsedRow(); }
    int LastUsedRow() const { return FBuffer.LastUsedRow(); }

    void SetDimensions(int AHorizCount, int AVertCount);
    void ClearCells();
    void SaveToChar(TCharClass* C) const { FBuffer.SaveToChar(C); }
    void LoadFromChar(const TCharClass& C);
    void BufferFromBuffer(const std::vector<TColor>& Buffer, int AHorizCount, int AVertCount);
    void UpdateCharViewer(TSingleCharViewer* Viewer);

    void ScrollHoriz(int Count, bool Roll);
    void ScrollVert(int Count, bool Roll);
    void HorizMirror();
    void VertMirror();
    void Invert();
    void Outline();
    void InsertColsLeft(int Count);
    void InsertColsRight(int Count);
    void InsertRowsTop(int Count);
    void InsertRowsBottom(int Count);
    [[nodiscard]] QString DeleteFirstCols(int Count);
    [[nodiscard]] QString DeleteLastCols(int Count);
    [[nodiscard]] QString DeleteFirstRows(int Count);
    [[nodiscard]] QString DeleteLastRows(int Count);
    void SnapLeft();
    void SnapRight();
    void SnapTop();
    void SnapBottom();
    void Clear();

protected:
    virtual void DoCellMouseDown(Qt::MouseButton Button, TShiftState Shift, int aCol, int aRow);
    virtual void DoCellMouseUp(Qt::MouseButton Button, TShiftState Shift, int aCol, int aRow);
    virtual void DoCellMouseMove(TShiftState Shift, int aCol, int aRow);

    void paintEvent(QPaintEvent* Event) override;
    // Also receives the second press of a double click (Qt's default
    // double-click handler forwards it), which then carries ssDouble.
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;

private:
    void FollowCounts();
    template <typename Op> void Apply(Op&& Operation);
    // A refused delete changes nothing and so shows nothing new.
    QString Delete(QString (TPixelBuffer::*Operation)(int), int Count);

    TPixelBuffer FBuffer;
    int FCellWidth = 20;
    Qt::PenStyle FGridDrawStyle = Qt::SolidLine;
    TColor FGridColor = 0x808080;
    TColor FBorderColor = 0;
    bool FGridVisible = true;
    bool FBorderVisible = true;
    QPointer<TSingleCharViewer> FCharViewer;
};

class TSingleCharViewer : public QWidget {
    Q_OBJECT
public:
    explicit TSingleCharViewer(QWidget* AOwner = nullptr);
    ~TSingleCharViewer() override;

    // Owned by the viewer; the grid writes into it.
    std::unique_ptr<TCharClass> Char;

    int BorderWidth() const { return FBorderWidth; }
    int Padding() const { return FPadding; }
    int DotSize() const { return FDotSize; }
    TColor BorderColor() const { return FBorderColor; }
    TColor ActiveDotColor() const { return FActiveDotColor; }
    TColor InactiveDotColor() const { return FInactiveDotColor; }
    TColor BackGroundColor() const { return FBackGroundColor; }

    void SetBorderWidth(int Value);
    void SetPadding(int Value);
    void SetDotSize(int Value);
    void SetBorderColor(TColor Value);
    void SetActiveDotColor(TColor Value);
    void SetInactiveDotColor(TColor Value);
    void SetBackGroundColor(TColor Value);

    void UpdateSize();
    // Follows a change of Char: new size and a repaint.
    void CharChanged();
    // The preview's picture at its own size.
    QImage PaintChar() const;
    // Counts repaint requests; a setter given the current value makes none.
    int RepaintRequests = 0;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    template <typename T> void Store(T& Field, T Value);
    QSize WantedSize() const;

    int FBorderWidth = 1;
    int FPadding = 0;
    int FDotSize = 2;
    TColor FBorderColor = 0;
    TColor FActiveDotColor = 0;
    TColor FInactiveDotColor = 0xFFFFFF;
    TColor FBackGroundColor = 0xFFFFFF;
};
