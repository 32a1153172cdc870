#include "PixelGrid.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState S = 0;
    if (Modifiers & Qt::ShiftModifier)
        S |= TShiftFlag::ssShift;
    if (Modifiers & Qt::AltModifier)
        S |= TShiftFlag::ssAlt;
    if (Modifiers & Qt::ControlModifier)
        S |= TShiftFlag::ssCtrl;
    if (Buttons & Qt::LeftButton)
        S |= TShiftFlag::ssLeft;
    if (Buttons & Qt::RightButton)
        S |= TShiftFlag::ssRight;
    if (Buttons & Qt::MiddleButton)
        S |= TShiftFlag::ssMiddle;
    return S;
}

TPixelGrid::TPixelGrid(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A drawing surface, not a control: the keyboard stays where it was, so
    // the keys of the list and the window keep working after a stroke.
    setFocusPolicy(Qt::NoFocus);
    // The cell move event fires with or without a pressed button.
    setMouseTracking(true);
    FollowCounts();
}

TPixelGrid::~TPixelGrid() = default;

void TPixelGrid::FollowCounts()
{
    setFixedSize(HorizCellCount() * FCellWidth, VertCellCount() * FCellWidth);
}

void TPixelGrid::Changed()
{
    FollowCounts();
    update();
    UpdateCharViewer(FCharViewer);
}

void TPixelGrid::SetHorizCellCount(int Value)
{
    const int Old = HorizCellCount();
    FBuffer.SetHorizCellCount(Value);
    if (HorizCellCount() != Old)
        Changed();
}

void TPixelGrid::SetVertCellCount(int Value)
{
    const int Old = VertCellCount();
    FBuffer.SetVertCellCount(Value);
    if (VertCellCount() != Old)
        Changed();
}

void TPixelGrid::SetCellWidth(int Value)
{
    Value = std::max(1, Value);
    if (Value == FCellWidth)
        return;
    FCellWidth = Value;
    FollowCounts();
    update();
}

void TPixelGrid::SetGridDrawStyle(Qt::PenStyle Value)
{
    if (Value == FGridDrawStyle)
        return;
    FGridDrawStyle = Value;
    if (FGridVisible)
        update();
}

void TPixelGrid::SetGridColor(TColor Value)
{
    if (Value == FGridColor)
        return;
    FGridColor = Value;
    if (FGridVisible)
        update();
}

void TPixelGrid::SetBackgroundColor(TColor Value)
{
    if (Value == BackgroundColor())
        return;
    FBuffer.SetBackgroundColor(Value);
    update();
}

void TPixelGrid::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    if (FBorderVisible)
        update();
}

void TPixelGrid::SetGridVisible(bool Value)
{
    if (Value == FGridVisible)
        return;
    FGridVisible = Value;
    update();
}

void TPixelGrid::SetBorderVisible(bool Value)
{
    if (Value == FBorderVisible)
        return;
    FBorderVisible = Value;
    update();
}

void TPixelGrid::SetCharViewer(TSingleCharViewer* Value)
{
    FCharViewer = Value;
    UpdateCharViewer(FCharViewer);
}

int TPixelGrid::XToCol(int X, int /*Y*/) const { return X / FCellWidth; }

int TPixelGrid::YToRow(int /*X*/, int Y) const { return Y / FCellWidth; }

void TPixelGrid::SetCellValue(int X, int Y, TColor Value)
{
    FBuffer.SetCellValue(X, Y, Value);
    update(X * FCellWidth, Y * FCellWidth, FCellWidth, FCellWidth);
    UpdateCharViewer(FCharViewer);
}

void TPixelGrid::SetDimensions(int AHorizCount, int AVertCount)
{
    FBuffer.SetDimensions(AHorizCount, AVertCount);
    Changed();
}

void TPixelGrid::ClearCells()
{
    FBuffer.ClearCells();
    Changed();
}

void TPixelGrid::LoadFromChar(const TCharClass& C)
{
    BufferFromBuffer(C.Cells, C.Width, C.Height);
}

void TPixelGrid::BufferFromBuffer(const std::vector<TColor>& Buffer, int AHorizCount, int AVertCount)
{
    if (Buffer.empty())
        return;
    FBuffer.BufferFromBuffer(Buffer, AHorizCount, AVertCount);
    Changed();
}

void TPixelGrid::UpdateCharViewer(TSingleCharViewer* Viewer)
{
    if (!Viewer)
        return;
    FBuffer.SaveToChar(Viewer->Char.get());
    Viewer->CharChanged();
}

// Every editing operation runs on the buffer, then the control and the preview
// show the result once.
template <typename Op> void TPixelGrid::Apply(Op&& Operation)
{
    Operation(FBuffer);
    Changed();
}

void TPixelGrid::ScrollHoriz(int Count, bool Roll) { Apply([&](TPixelBuffer& B) { B.ScrollHoriz(Count, Roll); }); }
void TPixelGrid::ScrollVert(int Count, bool Roll) { Apply([&](TPixelBuffer& B) { B.ScrollVert(Count, Roll); }); }
void TPixelGrid::HorizMirror() { Apply([](TPixelBuffer& B) { B.HorizMirror(); }); }
void TPixelGrid::VertMirror() { Apply([](TPixelBuffer& B) { B.VertMirror(); }); }
void TPixelGrid::Invert() { Apply([](TPixelBuffer& B) { B.Invert(); }); }
void TPixelGrid::Outline() { Apply([](TPixelBuffer& B) { B.Outline(); }); }
void TPixelGrid::InsertColsLeft(int Count) { Apply([&](TPixelBuffer& B) { B.InsertColsLeft(Count); }); }
void TPixelGrid::InsertColsRight(int Count) { Apply([&](TPixelBuffer& B) { B.InsertColsRight(Count); }); }
void TPixelGrid::InsertRowsTop(int Count) { Apply([&](TPixelBuffer& B) { B.InsertRowsTop(Count); }); }
void TPixelGrid::InsertRowsBottom(int Count) { Apply([&](TPixelBuffer& B) { B.InsertRowsBottom(Count); }); }
void TPixelGrid::SnapLeft() { Apply([](TPixelBuffer& B) { B.SnapLeft(); }); }
void TPixelGrid::SnapRight() { Apply([](TPixelBuffer& B) { B.SnapRight(); }); }
void TPixelGrid::SnapTop() { Apply([](TPixelBuffer& B) { B.SnapTop(); }); }
void TPixelGrid::SnapBottom() { Apply([](TPixelBuffer& B) { B.SnapBottom(); }); }
void TPixelGrid::Clear() { Apply([](TPixelBuffer& B) { B.Clear(); }); }

QString TPixelGrid::Delete(QString (TPixelBuffer::*Operation)(int), int Count)
{
    QString Refusal = (FBuffer.*Operation)(Count);
    if (Refusal.isEmpty())
        Changed();
    return Refusal;
}

QString TPixelGrid::DeleteFirstCols(int Count) { return Delete(&TPixelBuffer::DeleteFirstCols, Count); }
QString TPixelGrid::DeleteLastCols(int Count) { return Delete(&TPixelBuffer::DeleteLastCols, Count); }
QString TPixelGrid::DeleteFirstRows(int Count) { return Delete(&TPixelBuffer::DeleteFirstRows, Count); }
QString TPixelGrid::DeleteLastRows(int Count) { return Delete(&TPixelBuffer::DeleteLastRows, Count); }

void TPixelGrid::DoCellMouseDown(Qt::MouseButton Button, TShiftState Shift, int aCol, int aRow)
{
    if (OnCellMouseDown)
        OnCellMouseDown(this, Button, Shift, aCol, aRow);
}

void TPixelGrid::DoCellMouseUp(Qt::MouseButton Button, TShiftState Shift, int aCol, int aRow)
{
    if (OnCellMouseUp)
        OnCellMouseUp(this, Button, Shift, aCol, aRow);
}

void TPixelGrid::DoCellMouseMove(TShiftState Shift, int aCol, int aRow)
{
    if (OnCellMouseMove)
        OnCellMouseMove(this, Shift, aCol, aRow);
}

void TPixelGrid::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    const int W = HorizCellCount(), H = VertCellCount(), CW = FCellWidth;
    const int PW = width(), PH = height();
    P.fillRect(0, 0, PW, PH, ModelToQColor(BackgroundColor()));
    // Cells of the background colour are already painted by the fill above.
    const std::vector<TColor>& Cells = FBuffer.Cells();
    const TColor Paper = BackgroundColor();
    for (int X = 0; X < W; ++X)
        for (int Y = 0; Y < H; ++Y) {
            const TColor C = Cells[size_t(X) * size_t(H) + size_t(Y)];
            if (C != Paper)
                P.fillRect(X * CW, Y * CW, CW, CW, ModelToQColor(C));
        }
    if (FGridVisible && FGridDrawStyle != Qt::NoPen) {
        const QColor G = ModelToQColor(FGridColor);
        if (FGridDrawStyle == Qt::SolidLine) {
            // The same pixels as one-pixel lines, at a fraction of the cost.
            for (int I = 1; I < W; ++I)
                P.fillRect(CW * I, 0, 1, PH, G);
            for (int J = 1; J < H; ++J)
                P.fillRect(0, CW * J, PW, 1, G);
        } else {
            P.setPen(QPen(G, 0, FGridDrawStyle));
            for (int I = 1; I < W; ++I)
                P.drawLine(CW * I, 0, CW * I, PH - 1);
            for (int J = 1; J < H; ++J)
                P.drawLine(0, CW * J, PW - 1, CW * J);
        }
    }
    if (FBorderVisible) {
        const QColor B = ModelToQColor(FBorderColor);
        P.fillRect(0, 0, PW, 1, B);
        P.fillRect(0, PH - 1, PW, 1, B);
        P.fillRect(0, 0, 1, PH, B);
        P.fillRect(PW - 1, 0, 1, PH, B);
    }
}

void TPixelGrid::mousePressEvent(QMouseEvent* Event)
{
    const QPoint Pos = Event->position().toPoint();
    const int Col = XToCol(Pos.x(), Pos.y()), Row = YToRow(Pos.x(), Pos.y());
    TShiftState Shift = ShiftStateOf(Event->modifiers(), Event->buttons());
    if (Event->type() == QEvent::MouseButtonDblClick)
        Shift |= TShiftFlag::ssDouble;
    DoCellMouseDown(Event->button(), Shift, Col, Row);
    DownRow = Row;
    DownCol = Col;
    QWidget::mousePressEvent(Event);
}

void TPixelGrid::mouseReleaseEvent(QMouseEvent* Event)
{
    const QPoint Pos = Event->position().toPoint();
    const int Col = XToCol(Pos.x(), Pos.y()), Row = YToRow(Pos.x(), Pos.y());
    DoCellMouseUp(Event->button(), ShiftStateOf(Event->modifiers(), Event->buttons()), Col, Row);
    if (Row == DownRow && Col == DownCol) {
        if (DownCol != -1 && OnCellClick)
            OnCellClick(this, Col, Row);
        DownCol = -1;
        DownRow = -1;
    }
    QWidget::mouseReleaseEvent(Event);
}

void TPixelGrid::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint Pos = Event->position().toPoint();
    DoCellMouseMove(ShiftStateOf(Event->modifiers(), Event->buttons()), XToCol(Pos.x(), Pos.y()),
                    YToRow(Pos.x(), Pos.y()));
    QWidget::mouseMoveEvent(Event);
}

// ---------------------------------------------------------------------------

TSingleCharViewer::TSingleCharViewer(QWidget* AOwner)
    : QWidget(AOwner), Char(std::make_unique<TCharClass>(0, 1, 1))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateSize();
}

TSingleCharViewer::~TSingleCharViewer() = default;

template <typename T> void TSingleCharViewer::Store(T& Field, T Value)
{
    if (Field == Value)
        return;
    Field = Value;
    ++RepaintRequests;
    UpdateSize();
    update();
}

void TSingleCharViewer::SetBorderWidth(int Value) { Store(FBorderWidth, Value); }
void TSingleCharViewer::SetPadding(int Value) { Store(FPadding, Value); }
void TSingleCharViewer::SetDotSize(int Value) { Store(FDotSize, Value); }
void TSingleCharViewer::SetBorderColor(TColor Value) { Store(FBorderColor, Value); }
void TSingleCharViewer::SetActiveDotColor(TColor Value) { Store(FActiveDotColor, Value); }
void TSingleCharViewer::SetInactiveDotColor(TColor Value) { Store(FInactiveDotColor, Value); }
void TSingleCharViewer::SetBackGroundColor(TColor Value) { Store(FBackGroundColor, Value); }

QSize TSingleCharViewer::WantedSize() const
{
    if (!Char)
        return QSize(10, 10);
    const int Frame = 2 * FBorderWidth + 2 * FPadding - 1;
    return QSize(std::max(0, Char->Width * (FDotSize + 1) + Frame),
                 std::max(0, Char->Height * (FDotSize + 1) + Frame));
}

void TSingleCharViewer::UpdateSize() { setFixedSize(WantedSize()); }

void TSingleCharViewer::CharChanged()
{
    ++RepaintRequests;
    UpdateSize();
    update();
}

QImage TSingleCharViewer::PaintChar() const
{
    const QSize S = WantedSize();
    QImage Img(S.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter P(&Img);
    P.fillRect(Img.rect(), ModelToQColor(FBackGroundColor));
    if (!Char)
        return Img;
    const QColor Active = ModelToQColor(FActiveDotColor), Inactive = ModelToQColor(FInactiveDotColor);
    const int Pitch = FDotSize + 1, Offset = FBorderWidth + FPadding;
    for (int X = 0; X < Char->Width; ++X)
        for (int Y = 0; Y < Char->Height; ++Y) {
            const TColor C = Char->Cells[size_t(X) * size_t(Char->Height) + size_t(Y)];
            P.fillRect(Offset + X * Pitch, Offset + Y * Pitch, FDotSize, FDotSize,
                       C != clClear ? Active : Inactive);
        }
    const QColor B = ModelToQColor(FBorderColor);
    const int W = S.width(), H = S.height();
    for (int I = 0; I < FBorderWidth; ++I) {
        P.fillRect(I, I, W - 2 * I, 1, B);
        P.fillRect(I, H - 1 - I, W - 2 * I, 1, B);
        P.fillRect(I, I, 1, H - 2 * I, B);
        P.fillRect(W - 1 - I, I, 1, H - 2 * I, B);
    }
    return Img;
}

void TSingleCharViewer::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    P.drawImage(0, 0, PaintChar());
}
