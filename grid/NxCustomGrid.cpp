// The control surface's set-up, hit testing, hints, window messages and the
// lines and markers that a resize or a row drag draws over the grid.
#include "NxCustomGrid.h"

#include "DwError.h"
#include "NxPopupControl.h"

#include <QApplication>
#include <QDebug>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>

// ---- the hint window ----

TNxGridHintWindow::TNxGridHintWindow(QWidget* Parent)
    : QWidget(Parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                          | Qt::WindowTransparentForInput)
{
    // The hint lies under the pointer: the mouse goes through it to the grid, which
    // would otherwise get a leave, hide the hint, and show it again at the next move.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

QRect TNxGridHintWindow::CalcHintRect(const QString& Text, int MaxWidth) const
{
    const QFontMetrics FM(font());
    const int Limit = MaxWidth > 0 ? MaxWidth - 8 : 10000;
    const QRect T = FM.boundingRect(QRect(0, 0, Limit, 10000), Qt::TextWordWrap | Qt::AlignLeft, Text);
    // Three pixels of margin and one of border on each side.
    return {0, 0, T.width() + 8, T.height() + 4};
}

void TNxGridHintWindow::ActivateHint(const QRect& Rect, const QString& Text)
{
    FText = Text;
    setGeometry(Rect);
    show();
    update();
}

void TNxGridHintWindow::ReleaseHint()
{
    hide();
    Mode = hmNone;
}

void TNxGridHintWindow::PaintTo(QPainter& Canvas)
{
    const QPalette Pal = palette();
    Canvas.fillRect(rect(), ToQColor(clInfoBk, Pal));
    Canvas.setPen(ToQColor(clBlack));
    Canvas.drawRect(rect().adjusted(0, 0, -1, -1));
    Canvas.setPen(ToQColor(clInfoText, Pal));
    Canvas.setFont(font());
    Canvas.drawText(rect().adjusted(4, 2, -4, -2), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, FText);
}

void TNxGridHintWindow::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    PaintTo(P);
}

// ---- creation ----

TNxCustomGrid::TNxCustomGrid(QWidget* Parent)
    : TNxCustomGridControl(Parent)
    , FDragBox(new TColumnDragBox(this, this))
    , FUpperArrow(new TDragArrow(this))
    , FLowerArrow(new TDragArrow(this))
    , FHint(new TNxGridHintWindow(this))
    , FSearchTimer(new QTimer(this))
{
    HorzScrollBar().LargeChange = 10;
    HorzScrollBar().SmallChange = 5;
    VertScrollBar().LargeChange = 10;
    FUpperArrow->SetDirection(2);
    FLowerArrow->SetDirection(1);
    FDragBox->OnMoving = [this](TColumnDragBox*, int X, int Y) { ColumnDragMoving(X, Y); };
    FDragBox->OnDrop = [this](TColumnDragBox*, int X, int Y) { ColumnDrop(X, Y); };
    FSearchTimer->setInterval(500);
    connect(FSearchTimer, &QTimer::timeout, this, [this] { Guarded([this] { SearchTimerFired(); }); });
    viewport()->setMouseTracking(true);
    FLastClientWidth = ClientWidth();
    FLastClientHeight = ClientHeight();
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState State) {
        if (State != Qt::ApplicationActive) {
            CancelInteraction();
            RefreshSelection();
        }
    });
}

TNxCustomGrid::~TNxCustomGrid()
{
    FSearchTimer->stop();
}

TShiftState TNxCustomGrid::ShiftOf(Qt::KeyboardModifiers Modifiers)
{
    return static_cast<TShiftState>(((Modifiers & Qt::ShiftModifier) ? ssShift : 0)
                                    | ((Modifiers & Qt::ControlModifier) ? ssCtrl : 0)
                                    | ((Modifiers & Qt::AltModifier) ? ssAlt : 0));
}

void TNxCustomGrid::Guarded(const std::function<void()>& Body)
{
    const TOperation Operation(*this);
    try {
        Body();
    } catch (const EDotwrightError& E) {
        // The user did something that failed: the application shows why.
        CancelInteraction();
        ReportGridError(E);
        // A text the cell could not take stays in the open editor, which gets the
        // keys again for the user to correct it.
        if ((Editing() || InputEditing()) && ActiveEditor() && ActiveEditor()->isVisible())
            ActiveEditor()->setFocus(Qt::OtherFocusReason);
    }
}

void TNxCustomGrid::SetCursorNumber(int Number)
{
    FCursorNumber = Number;
    if (Number == 0)
        viewport()->unsetCursor();
    else
        viewport()->setCursor(GridCursor(Number));
}

void TNxCustomGrid::CancelInteraction()
{
    FColumnResizing = FHeaderPressed = FColumnDragging = FDblClickPending = FRowDragging = false;
    FPressPoint = {-1, -1};
    FPressCol = FPressedColumn = -1;
    FPressRowHold.reset();
    FPressedRowHold.reset();
    FResizedColumn = FResizedRow = -1;
    FResizeLineX = FResizeLeftX = FResizeRightX = FRowLineY = FDropRow = -1;
    FResizeChange = 0;
    RefreshHeaderColumn(FPressedHeaderColumn);
    RefreshHeaderColumn(FHotHeaderColumn);
    FPressedHeaderColumn = FHotHeaderColumn = -1;
    FDragBox->Cancel();
    HideArrows();
    SetCursorNumber(0);
    Invalidate();
}

void TNxCustomGrid::RefreshHeaderColumn(int ACol)
{
    if (Columns().IsValidIndex(ACol))
        RefreshColumn(Columns().Item(ACol), caHeader);
}

void TNxCustomGrid::ColumnsChanged(int Operation, int Count, int Index)
{
    // Column numbers held by an interaction would name another column now.
    CancelInteraction();
    HideHint();
    TNxCustomGridControl::ColumnsChanged(Operation, Count, Index);
}

// ---- hit testing ----

int TNxCustomGrid::GetAreaAt(const QPoint& P) const
{
    auto In = [&P](const TRect& R) { return P.x() >= R.Left && P.x() < R.Right && P.y() >= R.Top && P.y() < R.Bottom; };
    if (GridStyle() == gsSlides)
        return ((Options() & goHeader) && In(GetHeaderRect())) ? gaHeader : gaRows;
    if ((Options() & goHeader) && In(GetHeaderRect()))
        return gaHeader;
    if ((Options() & goInput) && In(GetInputRect()))
        return gaInput;
    if (In(GetBodyRect()))
        return gaRows;
    if ((Options() & goFooter) && In(GetFooterRect()))
        return gaFooter;
    if ((Options() & goIndicator) && In(GetIndicatorRect()))
        return gaIndicator;
    return gaNone;
}

int TNxCustomGrid::GetColumnEdgeAt(int X) const
{
    const int FixedEnd = IndicatorWidth() + Columns().FixedWidth();
    for (int Pos = 0; Pos < Columns().Count(); ++Pos) {
        TNxCustomColumn* C = Columns().ItemByPosition(Pos);
        if (!C->Visible() || (C->Options() & coFixedSize))
            continue;
        if (ColumnScrolled(C) && X < FixedEnd)
            continue;
        const int E = ColumnScreenLeft(C) + C->Width();
        if (X >= E - 3 && X <= E + 2)
            return C->Index();
    }
    return -1;
}

int TNxCustomGrid::GetRowEdgeAt(int X, int Y) const
{
    if (X > IndicatorColumnWidth)
        return -1;
    const TRect B = GetBodyRect();
    qint64 Top = B.Top + LineWidths().Top;
    for (int R = NextShownRow(FirstRow()); R < RowCount() && Top < B.Bottom; R = NextShownRow(R + 1)) {
        const qint64 Bottom = Top + GetRowHeight(R) + LineWidths().RowSpacing;
        if (Y > Bottom - 3 && Y < Bottom + 1)
            return R;
        Top = Bottom;
    }
    return -1;
}

int TNxCustomGrid::CellColumnAt(const QPoint& P) const
{
    if (GridStyle() == gsReport)
        return ColumnAtX(P.x());
    const int Row = RowAtY(P.y());
    if (!IsValidRow(Row))
        return -1;
    const QPoint InSlide(P.x(), P.y() - SlideTop(Row));
    for (int I = 0; I < Columns().Count(); ++I) {
        TNxCustomColumn* C = Columns().Item(I);
        TNxSlideBounds& B = C->SlideBounds();
        if (C->Visible() && InSlide.x() >= B.Left() && InSlide.x() < B.Right() && InSlide.y() >= B.Top()
            && InSlide.y() < B.Bottom())
            return I;
    }
    return -1;
}

int TNxCustomGrid::GetDropPosition(int X) const
{
    if (!Columns().IsValidIndex(FPressedColumn))
        return -1;
    TNxCustomColumn* D = Columns().Item(FPressedColumn);
    const int Col = ColumnAtX(X);
    if (Col < 0)
        return D->Position();
    TNxCustomColumn* C = Columns().Item(Col);
    const int Left = ColumnScreenLeft(C);
    const bool FromLeft = D->Position() < C->Position();
    int Target;
    if (X >= Left + C->Width() / 2) {
        // Dropped behind the column: from its right the dragged column goes one place further.
        Target = C->Position() + (FromLeft || C == D ? 0 : 1);
    } else {
        Target = C->Position();
        if (FromLeft) {
            int P = C->Position() - 1;
            while (P >= 0 && !Columns().ItemByPosition(P)->Visible())
                --P;
            Target = P >= 0 ? P : D->Position();
        }
    }
    Target = std::clamp(Target, 0, Columns().Count() - 1);
    if (Target >= FixedCols()) {
        TNxCustomColumn* T = Columns().ItemByPosition(Target);
        if (ColumnScrolled(T) && ColumnScreenLeft(T) < IndicatorWidth() + Columns().FixedWidth())
            return D->Position();
    }
    return Target;
}

int TNxCustomGrid::GetDropRow(int Y) const
{
    const TRect B = GetBodyRect();
    if (Y < B.Top || Y >= B.Bottom)
        return PressedRow();
    qint64 Top = B.Top + LineWidths().Top;
    for (int R = NextShownRow(FirstRow()); R < RowCount() && Top < B.Bottom; R = NextShownRow(R + 1)) {
        const qint64 H = RowExtent(R) + LineWidths().RowSpacing;
        if (Y < Top + H)
            return Y >= Top + H / 2 ? R + 1 : R;
        Top += H;
    }
    return PressedRow();
}

// ---- hints ----

void TNxCustomGrid::ShowHint(const QPoint& At, const QString& Text, int Mode, int MaxWidth)
{
    QRect R = FHint->CalcHintRect(Text, MaxWidth);
    R.moveTopLeft(viewport()->mapToGlobal(At));
    FHint->Mode = Mode;
    FHint->ActivateHint(R, Text);
}

void TNxCustomGrid::HideHint()
{
    FHint->ReleaseHint();
}

// ---- window messages ----

bool TNxCustomGrid::event(QEvent* Event)
{
    // Tab moves between cells only when the grid wants it; otherwise it moves the focus on.
    if (Event->type() == QEvent::KeyPress && WantTabs()) {
        auto* K = static_cast<QKeyEvent*>(Event);
        if (K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab) {
            keyPressEvent(K);
            return true;
        }
    }
    return TNxCustomGridControl::event(Event);
}

void TNxCustomGrid::paintEvent(QPaintEvent* Event)
{
    // Only logged: ending the interaction here would ask for another paint, and another error.
    try {
        TNxCustomGridControl::paintEvent(Event);
    } catch (const EDotwrightError& E) {
        qWarning().noquote() << E.Message();
    }
}

void TNxCustomGrid::Paint()
{
    TNxCustomGridControl::Paint();
    PaintInteraction();
}

// The inverted lines of a resize and the red marker of a row drag, over what the grid painted.
void TNxCustomGrid::PaintInteraction()
{
    QPainter* P = Canvas();
    if (!P)
        return;
    P->save();
    P->setClipping(false);
    if (FColumnResizing || FResizedRow >= 0) {
        P->setCompositionMode(QPainter::RasterOp_NotDestination);
        if (FColumnResizing) {
            for (int X : {FResizeLeftX, FResizeLineX})
                if (X >= 0)
                    P->fillRect(X, 0, 1, ClientHeight(), Qt::black);
        } else if (FRowLineY >= 0) {
            P->fillRect(0, FRowLineY, ClientWidth(), 1, Qt::black);
        }
    }
    if (FRowDragging && FDropRow >= 0) {
        const int Y = FDropRow == FirstRow() ? RowTop(FDropRow) : RowTop(FDropRow) - 1;
        const int Right = GetBodyRect().Right;
        P->setPen(ToQColor(clRed));
        P->setBrush(ToQColor(clRed));
        const QPolygon Left({{0, Y - 2}, {2, Y - 2}, {2, Y - 5}, {7, Y}, {2, Y + 5}, {2, Y + 2}, {0, Y + 2}});
        QPolygon RightArrow;
        for (const QPoint& Q : Left)
            RightArrow << QPoint(Right - 1 - Q.x(), Q.y());
        P->drawPolygon(Left);
        P->drawPolygon(RightArrow);
        P->drawLine(8, Y, Right - 7, Y);
    }
    P->restore();
}

void TNxCustomGrid::focusInEvent(QFocusEvent* Event)
{
    TNxCustomGridControl::focusInEvent(Event);
    if (GridStyle() == gsSlides) {
        RefreshSelectedSlides();
        RefreshSlide(SelectedRow());
    }
}

void TNxCustomGrid::focusOutEvent(QFocusEvent* Event)
{
    if (!FocusGoesToEditor()) {
        FColumnResizing = FHeaderPressed = FColumnDragging = FRowDragging = false;
        FPressedRowHold.reset();
        FResizedRow = FResizedColumn = -1;
        RefreshHeaderColumn(FHotHeaderColumn);
        RefreshHeaderColumn(FPressedHeaderColumn);
        FHotHeaderColumn = FPressedHeaderColumn = -1;
        FDragBox->Cancel();
        HideArrows();
        if (GridStyle() == gsSlides) {
            RefreshSelectedSlides();
            RefreshSlide(SelectedRow());
        }
    }
    TNxCustomGridControl::focusOutEvent(Event);
}

void TNxCustomGrid::leaveEvent(QEvent* Event)
{
    TNxCustomGridControl::leaveEvent(Event);
    HideHint();
    FHintHeaderColumn = -1;
    RefreshHeaderColumn(FHotHeaderColumn);
    FHotHeaderColumn = -1;
}

void TNxCustomGrid::resizeEvent(QResizeEvent* Event)
{
    TNxCustomGridControl::resizeEvent(Event);
    if (ClientHeight() != FLastClientHeight && (Options() & goFooter))
        InvalidatePart(gpFooter);
    FLastClientHeight = ClientHeight();
    FLastClientWidth = ClientWidth();
}

// An open edit follows its cell through the scroll, or is committed when the cell leaves the view (GridChanged).
void TNxCustomGrid::WMVScroll(int Code, int TrackPos)
{
    const TOperation Operation(*this);
    UpdateVertScrollBar();
    TNxCustomGridControl::WMVScroll(Code, TrackPos);
}

void TNxCustomGrid::WMHScroll(int Code, int TrackPos)
{
    const TOperation Operation(*this);
    TNxCustomGridControl::WMHScroll(Code, TrackPos);
}
