#include "NxPopupControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>

TNxFlyoutControl::TNxFlyoutControl(QWidget* Parent)
    : QWidget(Parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

TRollShadow::TRollShadow(QWidget* Parent)
    : TNxFlyoutControl(Parent)
{
    resize(32, 32);
    CreateShape();
}

void TRollShadow::ShowAt(const QPoint& P)
{
    CreateShape();
    FPosition = P;
    setGeometry(P.x() - 7, P.y() - 11, 32, 32);
    show();
}

void TRollShadow::CreateShape()
{
    const QRegion Up(QPolygon({{-1, 7}, {7, -1}, {8, 0}, {14, 7}, {0, 6}}), Qt::WindingFill);
    const QRegion Down(QPolygon({{-1, 15}, {14, 15}, {6, 22}, {6, 22}, {-1, 14}}), Qt::WindingFill);
    const QRegion Dot(QRect(QPoint(5, 9), QPoint(9, 13)), QRegion::Ellipse);
    setMask(Up.united(Down).united(Dot));
}

void TRollShadow::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    P.fillRect(rect(), ToQColor(clGrayText, palette()));
}

TDragArrow::TDragArrow(QWidget* Parent)
    : TNxFlyoutControl(Parent)
{
    resize(9, 9);
}

void TDragArrow::SetDirection(int Value)
{
    FDirection = Value;
    CreateShape();
}

void TDragArrow::CreateShape()
{
    QPolygon Shape;
    if (FDirection == 1)
        Shape = QPolygon({{-1, 5}, {4, -1}, {9, 5}, {6, 5}, {6, 9}, {3, 9}, {3, 4}, {0, 5}});
    else if (FDirection == 2)
        Shape = QPolygon({{5, 0}, {3, 0}, {3, 4}, {0, 4}, {4, 9}, {9, 4}, {6, 4}, {6, 0}});
    else
        return;
    setMask(QRegion(Shape, Qt::WindingFill));
}

void TDragArrow::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    P.fillRect(rect(), ToQColor(clRed));
}

TColumnDragBox::TColumnDragBox(TNxGridLink* Grid, QWidget* Parent)
    : TNxFlyoutControl(Parent)
    , FGrid(Grid)
    , FDisplay(std::make_unique<TDefaultStyleDisplay>(this))
{
}

TColumnDragBox::~TColumnDragBox() = default;

void TColumnDragBox::BeginDrag(int X, int Y, bool Hidden, TNxCustomColumn* Column)
{
    Q_UNUSED(X);
    Q_UNUSED(Y);
    FDisplay->ShowSortMark = false;
    if (FGrid)
        setFont(FGrid->Font());
    FColumn = Column;
    FDragging = true;
    setVisible(!Hidden);
    update();
}

void TColumnDragBox::DragMove(const QPoint& ScreenPos)
{
    if (!FDragging)
        return;
    if (OnMoving)
        OnMoving(this, ScreenPos.x(), ScreenPos.y());
    move(ScreenPos.x() - width() / 2, ScreenPos.y() - height() + 4);
}

void TColumnDragBox::DragRelease(const QPoint& ScreenPos, Qt::MouseButton Button)
{
    if (!FDragging || Button != Qt::LeftButton)
        return;
    FDragging = false;
    hide();
    if (OnDrop)
        OnDrop(this, ScreenPos.x(), ScreenPos.y());
}

void TColumnDragBox::Cancel()
{
    FDragging = false;
    FColumn = nullptr;
    hide();
}

void TColumnDragBox::PaintTo(QPainter& Canvas)
{
    if (!FColumn)
        return;
    FDisplay->Canvas = &Canvas;
    const TRect R{0, 0, width(), height()};
    FDisplay->DrawHeaderCell(*FColumn, R);
    FDisplay->Canvas = nullptr;
    Canvas.setPen(Qt::black);
    Canvas.drawLine(0, height() - 1, width() - 1, height() - 1);
    Canvas.drawLine(width() - 1, 0, width() - 1, height() - 1);
}

void TColumnDragBox::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    P.fillRect(rect(), ToQColor(clBtnFace, palette()));
    PaintTo(P);
}

void TColumnDragBox::mouseMoveEvent(QMouseEvent* Event)
{
    DragMove(Event->globalPosition().toPoint());
}

void TColumnDragBox::mouseReleaseEvent(QMouseEvent* Event)
{
    DragRelease(Event->globalPosition().toPoint(), Event->button());
}
