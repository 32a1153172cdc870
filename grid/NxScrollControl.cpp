#include "NxScrollControl.h"

#include "NxPopupControl.h"

#include <QCursor>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

// ---- bars ----

TNxCustomScrollBar::TNxCustomScrollBar(TNxScrollControl* Control, int Reserved)
    : FControl(Control)
{
    Q_UNUSED(Reserved);
}

void TNxCustomScrollBar::SetKind(int Value)
{
    FKind = Value;
    FBar = Value == 0 ? 0 : 1;
}

void TNxCustomScrollBar::SetAutoHide(bool Value)
{
    FAutoHide = Value;
    SetVisible(!(FMax == 0 && FAutoHide));
}

void TNxCustomScrollBar::SetMax(int Value)
{
    FMax = std::max(Value, 0);
    if (FPosition > FMax) {
        // The content must follow the position back, or the view keeps showing
        // a place the bar can no longer reach.
        FPrevPosition = FPosition;
        FPosition = FMax;
        if (FControl && FLockCount <= 0 && !NoContentScroll) {
            if (FKind == 0)
                FControl->ScrollContent(this, FControl->HorzScrollDelta(FPrevPosition, FPosition), 0);
            else
                FControl->ScrollContent(this, 0, FControl->VertScrollDelta(FPrevPosition, FPosition));
        }
    }
    SetVisible(!(FMax < 1 && FAutoHide));
    UpdateBar();
}

void TNxCustomScrollBar::SetPosition(int Value)
{
    // A locked bar only takes the number its control worked out.
    if (FLockCount <= 0 && FControl && FControl->PositionWaits([this, Value] { SetPosition(Value); }))
        return;
    FPrevPosition = FPosition;
    Value = std::min(Value, FMax);
    Value = std::max(Value, FMin);
    Value = std::max(Value, 0);
    FPosition = Value;
    UpdateBar();
    if (FMax != 0 && FLockCount <= 0 && !NoContentScroll && FControl) {
        if (FKind == 0)
            FControl->ScrollContent(this, FControl->HorzScrollDelta(FPrevPosition, FPosition), 0);
        else
            FControl->ScrollContent(this, 0, FControl->VertScrollDelta(FPrevPosition, FPosition));
    }
}

void TNxCustomScrollBar::SendScroll(int Code)
{
    if (FMax < 1 || !FControl)
        return;
    if (FKind == 0)
        FControl->WMHScroll(Code);
    else
        FControl->WMVScroll(Code);
}

void TNxCustomScrollBar::LineUp() { SendScroll(scLineUp); }
void TNxCustomScrollBar::LineDown() { SendScroll(scLineDown); }
void TNxCustomScrollBar::PageUp() { SendScroll(scPageUp); }
void TNxCustomScrollBar::PageDown() { SendScroll(scPageDown); }

QScrollBar* TNxScrollBar::PlatformBar() const
{
    if (!FControl)
        return nullptr;
    return FKind == 0 ? FControl->horizontalScrollBar() : FControl->verticalScrollBar();
}

void TNxScrollBar::SetVisible(bool Value)
{
    FVisible = Value;
    if (!FControl)
        return;
    const Qt::ScrollBarPolicy P = Value ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    // Setting a policy lays the area out anew even when it does not change: a
    // few microseconds on every change of the range.
    if (FKind == 0 && FControl->horizontalScrollBarPolicy() != P)
        FControl->setHorizontalScrollBarPolicy(P);
    else if (FKind != 0 && FControl->verticalScrollBarPolicy() != P)
        FControl->setVerticalScrollBarPolicy(P);
}

void TNxScrollBar::UpdateBar()
{
    if (Updating)
        return;
    QScrollBar* B = PlatformBar();
    if (!B)
        return;
    FInUpdate = true;
    B->setRange(FMin, FMax);
    B->setSingleStep(std::max(SmallChange, 1));
    B->setPageStep(std::max({PageSize, LargeChange, 1}));
    B->setValue(FPosition);
    // Enabled whenever it can move, also after AutoHide was switched back on.
    B->setEnabled(FMax > FMin);
    FInUpdate = false;
}

// ---- control ----

TNxScrollControl::TNxScrollControl(QWidget* Parent)
    : QAbstractScrollArea(Parent)
    , FHorzScrollBar(std::make_unique<TNxScrollBar>(this, 0))
    , FVertScrollBar(std::make_unique<TNxScrollBar>(this, 0))
    , FRollTimer(new QTimer(this))
    , FRollShadow(new TRollShadow(this))
{
    FRollTimer->setInterval(1);
    connect(FRollTimer, &QTimer::timeout, this, [this] { RollTimerTick(viewport()->mapFromGlobal(QCursor::pos())); });
    FHorzScrollBar->SetKind(0);
    FVertScrollBar->SetKind(1);
    ConnectBar(horizontalScrollBar(), false);
    ConnectBar(verticalScrollBar(), true);
    // The control paints every pixel itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    FHorzScrollBar->SetMax(0);
    FVertScrollBar->SetMax(0);
}

TNxScrollControl::~TNxScrollControl() = default;

void TNxScrollControl::ShowRollShadow(bool Show, const QPoint& ScreenPos)
{
    if (Show)
        FRollShadow->ShowAt(ScreenPos);
    else
        FRollShadow->hide();
}

int TNxScrollControl::ClientWidth() const
{
    return viewport()->width();
}

int TNxScrollControl::ClientHeight() const
{
    return viewport()->height();
}

void TNxScrollControl::ConnectBar(QScrollBar* Platform, bool Vertical)
{
    // The bars are always on or always off, as SetVisible says: the area's own
    // re-layout after each change of a range (a queued call, one per change)
    // has nothing to do, and a run of row changes without an event loop piled
    // up one event each, which every later posted event was compared with.
    disconnect(Platform, &QAbstractSlider::rangeChanged, this, nullptr);
    // A click, key or drag on the bar becomes the matching scroll message; the
    // bar then shows the position this control settled on.
    connect(Platform, &QAbstractSlider::actionTriggered, this, [this, Platform, Vertical](int Action) {
        if (FInAction)
            return;
        int Code = scEndScroll;
        switch (Action) {
        case QAbstractSlider::SliderSingleStepSub: Code = scLineUp; break;
        case QAbstractSlider::SliderSingleStepAdd: Code = scLineDown; break;
        case QAbstractSlider::SliderPageStepSub: Code = scPageUp; break;
        case QAbstractSlider::SliderPageStepAdd: Code = scPageDown; break;
        case QAbstractSlider::SliderToMinimum: Code = scTop; break;
        case QAbstractSlider::SliderToMaximum: Code = scBottom; break;
        case QAbstractSlider::SliderMove: Code = scThumbTrack; break;
        default: return;
        }
        FInAction = true;
        if (Vertical)
            WMVScroll(Code, Platform->sliderPosition());
        else
            WMHScroll(Code, Platform->sliderPosition());
        Platform->setSliderPosition(Vertical ? FVertScrollBar->Position() : FHorzScrollBar->Position());
        FInAction = false;
    });
}

void TNxScrollControl::showEvent(QShowEvent* Event)
{
    QAbstractScrollArea::showEvent(Event);
    FHorzScrollBar->UpdateBar();
    VertScrollBar().UpdateBar();
    // A bar shown or hidden while the control was hidden is laid out now; the
    // area's own layout after a change of range is not connected.
    setVerticalScrollBarPolicy(verticalScrollBarPolicy());
}

void TNxScrollControl::ScrollContent(TNxCustomScrollBar* ScrollBar, int DX, int DY)
{
    BeforeScroll(ScrollBar->Kind());
    if (DX != 0 || DY != 0) {
        const TRect& Clip = DX != 0 ? HorzClipRect : VertClipRect;
        if (!Clip.IsEmpty())
            viewport()->scroll(DX, DY, Clip.ToQRect());
        else
            viewport()->update();
    }
    AfterScroll(ScrollBar->Kind());
}

void TNxScrollControl::Scroll(TNxScrollBar& Bar, int Code, int TrackPos)
{
    switch (Code) {
    case scLineUp: Bar.LastScrollKind = skLine; Bar.SetPosition(Bar.Position() - Bar.SmallChange); break;
    case scLineDown: Bar.LastScrollKind = skLine; Bar.SetPosition(Bar.Position() + Bar.SmallChange); break;
    case scPageUp: Bar.LastScrollKind = skPage; Bar.SetPosition(Bar.Position() - Bar.LargeChange); break;
    case scPageDown: Bar.LastScrollKind = skPage; Bar.SetPosition(Bar.Position() + Bar.LargeChange); break;
    case scThumbPosition:
    case scThumbTrack: Bar.LastScrollKind = skThumb; Bar.SetPosition(TrackPos); break;
    case scTop: Bar.LastScrollKind = skTopBottom; Bar.SetPosition(0); break;
    case scBottom: Bar.LastScrollKind = skTopBottom; Bar.SetPosition(Bar.Max()); break;
    default: break;
    }
}

void TNxScrollControl::WMHScroll(int Code, int TrackPos)
{
    Scroll(*FHorzScrollBar, Code, TrackPos);
    Fire(OnHorizontalScroll, this, FHorzScrollBar->Position());
}

void TNxScrollControl::WMVScroll(int Code, int TrackPos)
{
    Scroll(VertScrollBar(), Code, TrackPos);
    Fire(OnVerticalScroll, this, FVertScrollBar->Position());
}

// ---- roll scrolling ----

int TNxScrollControl::RollInterval() const
{
    return FRollTimer->interval();
}

void TNxScrollControl::mousePressEvent(QMouseEvent* Event)
{
    QAbstractScrollArea::mousePressEvent(Event);
    if (Event->button() != Qt::MiddleButton || !RollScrolling)
        return;
    FRolling = true;
    FRollDirection = 0;
    FRollOrigin = Event->position().toPoint();
    viewport()->setCursor(Qt::SizeVerCursor);
    ShowRollShadow(true, viewport()->mapToGlobal(FRollOrigin));
    FRollTimer->setInterval(1);
    // The press itself holds the pointer for the viewport until the release.
    FRollTimer->start();
    Event->accept();
}

void TNxScrollControl::mouseMoveEvent(QMouseEvent* Event)
{
    QAbstractScrollArea::mouseMoveEvent(Event);
    if (!FRolling)
        return;
    // A dead zone of -5..5 pixels round the origin does not scroll.
    const int DY = Event->position().toPoint().y() - FRollOrigin.y();
    FRollDirection = DY < -5 ? -1 : (DY >= 6 ? 1 : 0);
    Event->accept();
    viewport()->setCursor(FRollDirection < 0 ? Qt::UpArrowCursor
                                             : (FRollDirection > 0 ? Qt::SplitVCursor : Qt::SizeVerCursor));
}

void TNxScrollControl::mouseReleaseEvent(QMouseEvent* Event)
{
    QAbstractScrollArea::mouseReleaseEvent(Event);
    if (!FRolling)
        return;
    FRollTimer->stop();
    FRolling = false;
    FRollDirection = 0;
    ShowRollShadow(false, {});
    viewport()->unsetCursor();
    Event->accept();
}

void TNxScrollControl::RollTimerTick(const QPoint& Pointer)
{
    // Every pixel of distance takes a millisecond off the period.
    const int D = std::abs(Pointer.y() - FRollOrigin.y());
    FRollTimer->setInterval(std::max(100 - D, 1));
    if (FRollDirection < 0)
        VertScrollBar().LineUp();
    else if (FRollDirection > 0)
        VertScrollBar().LineDown();
}
