#include "NxCustomGridControl.h"

#include "DwError.h"

#include <QDebug>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

TGridErrorReporter GridErrorReporter = nullptr;

// While the grid paints, and while the changes its handlers asked for then run, a
// repaint() (of the grid or of any widget in its window) would paint and flush the
// window at once, in the middle of painting it: the window's update waits for the
// event loop.
class TWindowFlushHold : public QObject {
public:
    explicit TWindowFlushHold(QWidget* Window)
        : FWindow(Window)
        , FLevel(QThread::currentThread()->loopLevel())
    {
        Window->installEventFilter(this);
    }
    ~TWindowFlushHold() override
    {
        if (FWindow)
            FWindow->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        // A dialog's own event loop inside the paint updates its window as ever.
        if (Event->type() != QEvent::UpdateRequest || QThread::currentThread()->loopLevel() != FLevel)
            return false;
        QCoreApplication::postEvent(Watched, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        return true;
    }

private:
    QPointer<QWidget> FWindow;
    int FLevel;
};

int ClampPixels(qint64 Pixels)
{
    return static_cast<int>(std::clamp<qint64>(Pixels, -TNxCustomGridControl::FarPixels, TNxCustomGridControl::FarPixels));
}

} // namespace

void SetGridErrorReporter(TGridErrorReporter Reporter)
{
    GridErrorReporter = Reporter;
}

void ReportGridError(const std::exception& E)
{
    if (GridErrorReporter) {
        GridErrorReporter(E);
        return;
    }
    const auto* Own = dynamic_cast<const EDotwrightError*>(&E);
    qWarning().noquote() << (Own ? Own->Message() : QString::fromLocal8Bit(E.what()));
}

TNxCustomGridControl::TNxCustomGridControl(QWidget* Parent)
    : TNxScrollControl(Parent)
    , FColumns(std::make_unique<TNxColumns>(this))
    , FDefaultDisplay(std::make_unique<TDefaultStyleDisplay>(this))
    , FFlatDisplay(std::make_unique<TFlatStyleDisplay>(this))
    , FOldDisplay(std::make_unique<TOldStyleDisplay>(this))
    , FOutlookDisplay(std::make_unique<TOutlookStyleDisplay>(this))
    , FVistaDisplay(std::make_unique<TVistaStyleDisplay>(this))
{
    FActiveDisplay = FDefaultDisplay.get();
    setFocusPolicy(Qt::StrongFocus);
    resize(250, 150);
    SetBorderStyle(bsSingle);
    VertScrollBar().SetAutoHide(FHideScrollBar);
    FColumns->OnColumnNotification = [this](TNxCustomColumn* Column, int Code, int Value) {
        ColumnNotification(Column, Value, Code);
    };
    FColumns->OnColumnsChanged = [this](int Operation, int Count, int, int Index) {
        ColumnsChanged(Operation, Count, Index);
    };
    FColumns->OnColumnChanged = [this](int Operation, int, int, int) { ColumnChanged(Operation); };
}

TNxCustomGridControl::~TNxCustomGridControl()
{
    FDestroying = true;
    FDeferred.clear();
    // An editor of the user's that is open goes home instead of dying with the viewport.
    if (FActiveEditor)
        (void)ReleaseEditor();
    FActiveEditor = nullptr;
    FColumns->OnColumnNotification = nullptr;
    FColumns->OnColumnsChanged = nullptr;
    FColumns->OnColumnChanged = nullptr;
    FColumns.reset();
    FActiveDisplay = nullptr;
}

// ---- operations ----

void TNxCustomGridControl::EndOperation()
{
    if (--FOperations > 0 || FDeferred.empty())
        return;
    if (FDestroying) {
        FDeferred.clear();
        return;
    }
    // The waiting changes run as one more operation: what their own handlers ask for comes after them.
    ++FOperations;
    while (!FDeferred.empty()) {
        const std::function<void()> Change = std::move(FDeferred.front());
        FDeferred.pop_front();
        try {
            Change();
        } catch (const std::exception& E) {
            // The handler that asked has returned: the user hears of it instead.
            ReportGridError(E);
        }
    }
    --FOperations;
}

void TNxCustomGridControl::MeasuringFire(int Index, int& RowHeight)
{
    // Rows are measured inside lookups of places (the bar's range, a row's top)
    // that are no operation when the user's code or a setter makes them: what the
    // handler asks for waits for the event loop, not for the handler's end in the
    // middle of the lookup's sums.
    struct TLookup {
        TNxCustomGridControl& Grid;
        explicit TLookup(TNxCustomGridControl& G)
            : Grid(G)
        {
            ++Grid.FOperations;
        }
        ~TLookup()
        {
            --Grid.FOperations;
            Grid.DrainLater();
        }
    };
    std::optional<TLookup> Lookup;
    if (FOperations == 0)
        Lookup.emplace(*this);
    // Nor does what it asks for at once change the rows before the walk is done.
    const QScopedValueRollback Measuring(FMeasuringHandler, FOperations + 1);
    Fire(OnMeasuringRowHeight, this, Index, RowHeight);
}

void TNxCustomGridControl::DrainLater()
{
    if (FDeferred.empty() || std::exchange(FDrainPosted, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FDrainPosted = false;
            const TOperation Drain(*this);
        },
        Qt::QueuedConnection);
}

int TNxCustomGridControl::HandlerStarts()
{
    ++FOperations;
    ++FHandlers;
    FOuterHandlerOperations.push_back(std::exchange(FHandlerOperations, FOperations));
    return std::exchange(FHandlerLevel, QThread::currentThread()->loopLevel());
}

void TNxCustomGridControl::HandlerEnds(int Token)
{
    FHandlerLevel = Token;
    FHandlerOperations = FOuterHandlerOperations.back();
    FOuterHandlerOperations.pop_back();
    --FHandlers;
    EndOperation();
}

bool TNxCustomGridControl::event(QEvent* Event)
{
    // The deferred deletion ends the grid: nothing is counted after it.
    if (Event->type() == QEvent::DeferredDelete)
        return TNxScrollControl::event(Event);
    const TOperation Operation(*this);
    return TNxScrollControl::event(Event);
}

bool TNxCustomGridControl::viewportEvent(QEvent* Event)
{
    std::optional<TWindowFlushHold> Painting;
    if (Event->type() == QEvent::Paint)
        Painting.emplace(window());
    const TOperation Operation(*this);
    return TNxScrollControl::viewportEvent(Event);
}

// ---- setters ----

void TNxCustomGridControl::SetAppearanceOptions(TAppearanceOptions Value)
{
    if (InLine([this, Value] { SetAppearanceOptions(Value); }))
        return;
    const TOperation Operation(*this);
    FAppearanceOptions = Value;
    LineWidthsChanged();
}

void TNxCustomGridControl::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    if (Value == bsSingle) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

void TNxCustomGridControl::SetCaption(const QString& Value)
{
    FCaption = Value;
    TRect R = GetBodyRect();
    R.Left = 0;
    R.Right = ClientWidth();
    InvalidateRectangle(R);
}

void TNxCustomGridControl::SetColor(TColor Value)
{
    FColor = Value;
    Invalidate();
}

void TNxCustomGridControl::SetFontColor(TColor Value)
{
    FFontColor = Value;
    for (int I = 0; I < FColumns->Count(); ++I)
        if (FColumns->Item(I)->ParentFont())
            FColumns->Item(I)->SetParentFont(true);
    Invalidate();
}

void TNxCustomGridControl::SetEnableVisualStyles(bool Value)
{
    FEnableVisualStyles = Value;
    Invalidate();
}

void TNxCustomGridControl::SetFixedCols(int Value)
{
    if (InLine([this, Value] { SetFixedCols(Value); }))
        return;
    const TOperation Operation(*this);
    FFixedCols = Value;
    FColumns->SetFixedCols(Value);
    Invalidate();
    GridChanged();
}

void TNxCustomGridControl::SetGridLinesColor(TColor Value)
{
    FGridLinesColor = Value;
    Invalidate();
}

void TNxCustomGridControl::SetGridLinesStyle(TGridLinesStyle Value)
{
    if (InLine([this, Value] { SetGridLinesStyle(Value); }))
        return;
    const TOperation Operation(*this);
    FGridLinesStyle = Value;
    LineWidthsChanged();
}

void TNxCustomGridControl::LineWidthsChanged()
{
    UpdateLineWidths();
    Invalidate();
    // The lines are part of each row's height: the rows that fit, the bar's range
    // and the editor's place change with them.
    GridChanged();
    UpdateVertScrollBar();
}

void TNxCustomGridControl::SetGridStyle(TGridStyle Value)
{
    if (InLine([this, Value] { SetGridStyle(Value); }))
        return;
    const TOperation Operation(*this);
    FGridStyle = Value;
    if (Value == gsSlides)
        FInputSelected = false;
    Invalidate();
    GridChanged();
    UpdateHorzScrollBar();
    UpdateVertScrollBar();
}

void TNxCustomGridControl::SetHeaderSize(int Value)
{
    if (InLine([this, Value] { SetHeaderSize(Value); }))
        return;
    const TOperation Operation(*this);
    FHeaderSize = Value;
    Invalidate();
    GridChanged();
    UpdateVertScrollBar();
}

void TNxCustomGridControl::SetHeaderStyle(THeaderStyle Value)
{
    if (Value == FHeaderStyle)
        return;
    FHeaderStyle = Value;
    SelectDisplay();
    Invalidate();
}

void TNxCustomGridControl::SelectDisplay()
{
    switch (FHeaderStyle) {
    case hsAuto: FActiveDisplay = FDefaultDisplay.get(); break;
    case hsFlatBorders: FActiveDisplay = FFlatDisplay.get(); break;
    case hsOldStyle: FActiveDisplay = FOldDisplay.get(); break;
    case hsOutlook: FActiveDisplay = FOutlookDisplay.get(); break;
    case hsVista: FActiveDisplay = FVistaDisplay.get(); break;
    }
    FActiveDisplay->Canvas = FCanvas;
}

void TNxCustomGridControl::SetHideScrollBar(bool Value)
{
    FHideScrollBar = Value;
    VertScrollBar().SetAutoHide(Value);
}

void TNxCustomGridControl::SetHighlightedTextColor(TColor Value)
{
    FHighlightedTextColor = Value;
    RefreshSelection();
}

void TNxCustomGridControl::SetInputSize(int Value)
{
    if (InLine([this, Value] { SetInputSize(Value); }))
        return;
    const TOperation Operation(*this);
    FInputSize = Value;
    Invalidate();
    GridChanged();
    // The input line takes its height from the body.
    UpdateVertScrollBar();
}

void TNxCustomGridControl::SetInputSelected(bool Value)
{
    if (Value == FInputSelected)
        return;
    FInputSelected = Value;
    if (IsValidRow(FSelectedRow))
        SetRowSelected(FSelectedRow, false);
    InvalidatePart(gpInput);
    InvalidatePart(gpIndicator);
    RefreshSelection();
}

void TNxCustomGridControl::SetOptions(TGridOptions Value)
{
    if (InLine([this, Value] { SetOptions(Value); }))
        return;
    const TOperation Operation(*this);
    const bool IndicatorChanged = (Value ^ FOptions) & goIndicator;
    FOptions = Value;
    if (IndicatorChanged) {
        FColumns->LayOut();
        DoIndicatorChange();
    }
    UpdateLineWidths();
    Invalidate();
    GridChanged();
    UpdateHorzScrollBar();
    UpdateVertScrollBar();
}

void TNxCustomGridControl::SetRowSize(int Value)
{
    if (Value < 1)
        return;
    FRowSize = Value;
    InvalidatePart(gpBody);
    InvalidatePart(gpInput);
    InvalidatePart(gpIndicator);
    GridChanged();
}

void TNxCustomGridControl::SetSlidesOptions(TSlideOptions Value)
{
    FSlidesOptions = Value;
    Invalidate();
}

void TNxCustomGridControl::SetSlideSelectionColor(TColor Value)
{
    FSlideSelectionColor = Value;
    Invalidate();
}

void TNxCustomGridControl::SetSlideSize(int Value)
{
    FSlideSize = Value;
    Invalidate();
}

void TNxCustomGridControl::SetSortedStyle(TSortedStyle Value)
{
    FSortedStyle = Value;
    Invalidate();
}

void TNxCustomGridControl::UpdateLineWidths()
{
    FLineWidths = {};
    if (FOptions & goGrid) {
        if (FGridLinesStyle != lsHorizontalOnly) {
            FLineWidths.Right = 1;
            if (FAppearanceOptions & ao3DGridLines)
                FLineWidths.Left = 1;
        }
        if (FGridLinesStyle != lsVerticalOnly) {
            FLineWidths.Bottom = 1;
            if (FAppearanceOptions & ao3DGridLines)
                FLineWidths.Top = 1;
        }
    }
    FLineWidths.RowSpacing = FLineWidths.Top + FLineWidths.Bottom;
}

// ---- geometry ----

TRect TNxCustomGridControl::GetBodyRect() const
{
    if (FGridStyle == gsSlides) {
        TRect R = ClientRect();
        if (FOptions & goHeader)
            R.Top += FHeaderSize;
        return R;
    }
    TRect R;
    R.Left = IndicatorWidth();
    R.Top = ((FOptions & goHeader) ? FHeaderSize : 0)
        + ((FOptions & goInput) ? FInputSize + 6 + FLineWidths.Bottom : 0);
    R.Right = std::min(FColumns->TotalWidth() - HorzScrollPos() + R.Left, ClientWidth());
    R.Bottom = (FOptions & goFooter) ? ClientHeight() - FHeaderSize - 4 - FLineWidths.Bottom : ClientHeight();
    return R;
}

TRect TNxCustomGridControl::GetHeaderRect() const
{
    const int I = IndicatorWidth();
    return {I, 0, FColumns->TotalWidth() - HorzScrollPos() + I, FHeaderSize};
}

TRect TNxCustomGridControl::GetInputRect() const
{
    TRect R = GetHeaderRect();
    R.Top = (FOptions & goHeader) ? FHeaderSize : 0;
    R.Bottom = R.Top + FInputSize + 6 + FLineWidths.Bottom;
    return R;
}

TRect TNxCustomGridControl::GetFooterRect() const
{
    if (FGridStyle == gsSlides)
        return {};
    TRect R = GetHeaderRect();
    R.Top = ClientHeight() - (FHeaderSize + 4) - FLineWidths.Bottom;
    R.Bottom = ClientHeight();
    return R;
}

TRect TNxCustomGridControl::GetIndicatorRect() const
{
    return {0, 0, IndicatorColumnWidth, ClientHeight()};
}

TRect TNxCustomGridControl::GetScrollArea() const
{
    return {FColumns->FixedWidth() + IndicatorWidth(), 0, ClientWidth(), ClientHeight()};
}

TRect TNxCustomGridControl::BandRect(TNxColumnArea Area) const
{
    TRect R;
    switch (Area) {
    case caRows: R = GetBodyRect(); break;
    case caFooter: R = GetFooterRect(); break;
    case caHeader: R = GetHeaderRect(); break;
    case caInput: R = GetInputRect(); break;
    default: return ClientRect();
    }
    R.Left = 0;
    R.Right = ClientWidth();
    return R;
}

int TNxCustomGridControl::RowExtent(int ARow) const
{
    return FGridStyle == gsSlides ? FSlideSize : GetRowHeight(ARow);
}

qint64 TNxCustomGridControl::RowStep(int ARow, int Count) const
{
    if (ARow >= Count)
        return (FGridStyle == gsSlides ? FSlideSize : FRowSize) + FLineWidths.RowSpacing;
    if (!GetRowVisible(ARow))
        return 0;
    const qint64 H = RowExtent(ARow);
    return H > 0 ? H + FLineWidths.RowSpacing : 0;
}

int TNxCustomGridControl::NextShownRow(int ARow) const
{
    const int Count = GetRowCount();
    ARow = std::max(ARow, 0);
    if (ARow >= Count || GetVisibleRowTotal() == Count)
        return ARow;
    const int Pos = PositionOfRow(ARow);
    return Pos < GetVisibleRowTotal() ? std::max(RowAtPosition(Pos), ARow) : Count;
}

int TNxCustomGridControl::PrevShownRow(int ARow) const
{
    ARow = std::min(ARow, GetRowCount() - 1);
    if (ARow < 0)
        return -1;
    const int Pos = PositionOfRow(ARow + 1);
    return Pos > 0 ? std::min(RowAtPosition(Pos - 1), ARow) : -1;
}

qint64 TNxCustomGridControl::PixelsBetween(int From, int To, qint64 Limit) const
{
    From = std::max(From, 0);
    const int Count = GetRowCount();
    const int Last = std::min(To, Count);
    qint64 Pixels = 0;
    if (From < Last) {
        if (FGridStyle == gsSlides) {
            Pixels = qint64{PositionOfRow(Last) - PositionOfRow(From)} * RowStep(Count, Count);
        } else if (RowStepsSummed()) {
            Pixels = SummedPixelsBefore(Last) - SummedPixelsBefore(From);
        } else {
            // Heights a handler measures: each shown row asked, as far as needed.
            for (int R = NextShownRow(From); R < std::min(Last, GetRowCount()) && Pixels <= Limit; R = NextShownRow(R + 1))
                Pixels += RowStep(R, GetRowCount());
        }
    }
    if (To > Count)
        Pixels += qint64{To - std::max(From, Count)} * RowStep(Count, Count);
    return Pixels;
}

int TNxCustomGridControl::RowAtPixelFrom(int From, qint64 Pixel) const
{
    From = std::max(From, 0);
    const int Count = GetRowCount();
    if (From >= Count)
        return Count;
    if (FGridStyle == gsSlides) {
        const qint64 Pos = PositionOfRow(From) + Pixel / std::max<qint64>(RowStep(Count, Count), 1);
        return Pos < GetVisibleRowTotal() ? RowAtPosition(static_cast<int>(Pos)) : Count;
    }
    if (RowStepsSummed())
        return SummedRowAtPixel(SummedPixelsBefore(From) + Pixel);
    for (int R = NextShownRow(From); R < GetRowCount(); R = NextShownRow(R + 1)) {
        const qint64 Step = RowStep(R, GetRowCount());
        if (Pixel < Step)
            return R;
        Pixel -= Step;
    }
    return GetRowCount();
}

int TNxCustomGridControl::RowTop(int ARow) const
{
    // Rows scrolled away above lie above the body, never on top of the first shown row.
    const qint64 Top = GetBodyRect().Top + FLineWidths.Top;
    return ClampPixels(ARow >= FFirstRow ? Top + PixelsBetween(FFirstRow, ARow) : Top - PixelsBetween(ARow, FFirstRow));
}

bool TNxCustomGridControl::RowOnScreen(int ARow) const
{
    if (ARow < FFirstRow)
        return false;
    const TRect B = GetBodyRect();
    // A walk stops at the body's bottom: a repaint of a row far below costs one page.
    const qint64 Room = B.Bottom - (B.Top + FLineWidths.Top);
    return PixelsBetween(FFirstRow, ARow, Room) < Room;
}

int TNxCustomGridControl::SlideTop(int ARow) const
{
    return RowTop(ARow);
}

int TNxCustomGridControl::CellTop(int ACol, int ARow) const
{
    if (FGridStyle == gsSlides && FColumns->IsValidIndex(ACol))
        return SlideTop(ARow) + FColumns->Item(ACol)->SlideBounds().Top();
    return RowTop(ARow);
}

TRect TNxCustomGridControl::RowRect(int ARow) const
{
    const int Top = RowTop(ARow);
    const qint64 H = IsValidRow(ARow) ? RowExtent(ARow) : (FGridStyle == gsSlides ? FSlideSize : FRowSize);
    return {0, Top, GetBodyRect().Right, ClampPixels(Top + H + FLineWidths.Bottom)};
}

int TNxCustomGridControl::ColumnScreenLeft(const TNxCustomColumn* Column) const
{
    return Column->Left() - (ColumnScrolled(Column) ? HorzScrollPos() : 0);
}

TRect TNxCustomGridControl::GetCellRect(int ACol, int ARow) const
{
    if (!FColumns->IsValidIndex(ACol))
        return {};
    TNxCustomColumn* C = FColumns->Item(ACol);
    if (FGridStyle == gsSlides) {
        const int Top = SlideTop(ARow);
        TNxSlideBounds& B = C->SlideBounds();
        return {B.Left(), Top + B.Top(), B.Right(), Top + B.Bottom()};
    }
    TRect R;
    R.Left = ColumnScreenLeft(C);
    R.Right = R.Left + C->Width();
    R.Top = RowTop(ARow);
    R.Bottom = ClampPixels(qint64{R.Top} + (IsValidRow(ARow) ? GetRowHeight(ARow) : FRowSize));
    return R;
}

int TNxCustomGridControl::RowsFitting(int From, int Dir) const
{
    const TRect B = GetBodyRect();
    const qint64 Height = B.Bottom - B.Top;
    if (Dir > 0) {
        // The rows before the one that holds the first pixel past the body.
        const int Cut = RowAtPixelFrom(From, Height);
        return PositionOfRow(Cut) - PositionOfRow(From);
    }
    const int Count = GetRowCount();
    From = std::min(From, Count - 1);
    if (From < 0)
        return 0;
    const int Shown = PositionOfRow(From + 1);
    if (FGridStyle == gsSlides) {
        const qint64 Step = RowStep(Count, Count);
        return Step > 0 ? static_cast<int>(std::min<qint64>(Shown, Height / Step)) : Shown;
    }
    if (RowStepsSummed()) {
        // Up to the row that holds the last pixel above the body.
        const qint64 Above = SummedPixelsBefore(From + 1) - Height;
        return Above <= 0 ? Shown : Shown - PositionOfRow(SummedRowAtPixel(Above - 1) + 1);
    }
    qint64 Total = 0;
    int N = 0;
    for (int R = PrevShownRow(From); R >= 0; R = PrevShownRow(R - 1)) {
        Total += RowStep(R, GetRowCount());
        if (Total > Height)
            break;
        ++N;
    }
    return N;
}

int TNxCustomGridControl::GetVisibleRowCount() const
{
    return RowsFitting(FFirstRow, 1);
}

int TNxCustomGridControl::ColumnAtX(int X) const
{
    for (int I = 0; I < FColumns->Count(); ++I) {
        TNxCustomColumn* C = FColumns->Item(I);
        if (!C->Visible())
            continue;
        const int L = ColumnScreenLeft(C);
        if (ColumnScrolled(C) && X < GetScrollArea().Left)
            continue;
        if (X >= L && X < L + C->Width())
            return I;
    }
    return -1;
}

int TNxCustomGridControl::RowAtY(int Y) const
{
    const TRect B = GetBodyRect();
    if (Y < B.Top || Y >= B.Bottom)
        return -1;
    // Rows hidden under a collapsed parent take no pixels.
    const int R = RowAtPixelFrom(FFirstRow, std::max(Y - (B.Top + FLineWidths.Top), 0));
    return R < GetRowCount() ? R : -1;
}

int TNxCustomGridControl::GetHorzMax() const
{
    return std::max(FColumns->TotalWidth() - (ClientWidth() - IndicatorWidth()), 0);
}

int TNxCustomGridControl::PositionOfRow(int ARow) const
{
    const int Count = GetRowCount();
    ARow = std::clamp(ARow, 0, Count);
    if (GetVisibleRowTotal() == Count)
        return ARow;
    int Pos = 0;
    for (int R = 0; R < ARow; ++R)
        Pos += GetRowVisible(R) ? 1 : 0;
    return Pos;
}

int TNxCustomGridControl::RowAtPosition(int Pos) const
{
    const int Count = GetRowCount();
    if (GetVisibleRowTotal() == Count)
        return std::clamp(Pos, 0, std::max(Count - 1, 0));
    int Last = 0;
    for (int R = 0; R < Count; ++R) {
        if (!GetRowVisible(R))
            continue;
        if (Pos-- <= 0)
            return R;
        Last = R;
    }
    return Last;
}

int TNxCustomGridControl::RowsFittingUpFrom(int ARow) const
{
    // A row taller than the body still has to be reachable at the top.
    return std::max(RowsFitting(std::min(ARow, GetRowCount() - 1), -1), 1);
}

int TNxCustomGridControl::GetVertMax() const
{
    // Measuring the rows runs a handler, and a column it adds or deletes can bring or
    // take the horizontal bar and with it the body's height: then it is counted again.
    for (int Tries = 1;; ++Tries) {
        const unsigned Stamp = FChangeCount;
        const int Total = GetVisibleRowTotal();
        if (FColumns->Count() == 0 || Total == 0)
            return 0;
        // Counted upward from the last row: scrolled to the end, the body is full
        // whenever there are rows above, however high the rows below the first are.
        const int Max = std::max(Total - RowsFittingUpFrom(GetRowCount() - 1), 0);
        if (FChangeCount == Stamp || Tries == 3)
            return Max;
    }
}

void TNxCustomGridControl::ShowFromRow(int ARow)
{
    const int Count = GetRowCount();
    ARow = NextShownRow(std::clamp(ARow, 0, std::max(Count - 1, 0)));
    const int Max = GetVertMax();
    int Pos = PositionOfRow(ARow);
    if (Pos > Max || ARow >= Count) {
        Pos = std::min(Pos, Max);
        ARow = Count > 0 ? RowAtPosition(Pos) : 0;
    }
    FFirstRow = ARow;
    TNxScrollBar& Bar = VertScrollBar();
    Bar.BeginUpdate();
    Bar.SetMax(Max);
    Bar.SetPosition(Pos);
    Bar.EndUpdate();
    InvalidatePart(gpBody);
    InvalidatePart(gpIndicator);
    AfterScroll(1);
}

int TNxCustomGridControl::ScrollRows(int Old, int New)
{
    Q_UNUSED(Old);
    // The bar's position is the first shown row; a move past a page repaints the
    // whole body, so no more than a page is measured.
    const int Total = GetVisibleRowTotal();
    const int First = Total > 0 ? RowAtPosition(std::clamp(New, 0, Total - 1)) : 0;
    const TRect B = GetBodyRect();
    const qint64 Page = B.Bottom - B.Top;
    const int From = FFirstRow;
    FFirstRow = First;
    if (First >= From)
        return -ClampPixels(std::min(PixelsBetween(From, First, Page), Page + 1));
    return ClampPixels(std::min(PixelsBetween(First, From, Page), Page + 1));
}

// ---- redraw ----

void TNxCustomGridControl::Invalidate()
{
    viewport()->update();
}

void TNxCustomGridControl::InvalidateRectangle(const TRect& R)
{
    if (!R.IsEmpty())
        viewport()->update(R.ToQRect());
}

void TNxCustomGridControl::InvalidatePart(int Part)
{
    switch (Part) {
    case gpBody: InvalidateRectangle(GetBodyRect()); break;
    case gpFooter:
        if (FOptions & goFooter)
            InvalidateRectangle(GetFooterRect());
        break;
    case gpHeader:
        if (FOptions & goHeader)
            InvalidateRectangle(GetHeaderRect());
        break;
    case gpIndicator:
        if (FOptions & goIndicator)
            InvalidateRectangle(GetIndicatorRect());
        break;
    case gpInput:
        if (FOptions & goInput)
            InvalidateRectangle(GetInputRect());
        break;
    default: break;
    }
}

void TNxCustomGridControl::BeginUpdate()
{
    ++FUpdateCount;
}

void TNxCustomGridControl::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0) {
        // The indicator marks the current and the selected rows as the body does.
        InvalidatePart(gpBody);
        InvalidatePart(gpIndicator);
        UpdateVertScrollBar();
    }
}

void TNxCustomGridControl::RefreshCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColumns->Count() || ARow >= GetRowCount())
        return;
    TRect R = GetCellRect(ACol, ARow);
    R.Right += FLineWidths.Bottom;
    R.Bottom += FLineWidths.Bottom;
    InvalidateRectangle(R);
}

void TNxCustomGridControl::RefreshColumn(TNxCustomColumn* Column, TNxColumnArea Area)
{
    if (!Column)
        return;
    TRect R = BandRect(Area);
    R.Left = ColumnScreenLeft(Column);
    R.Right = R.Left + Column->Width();
    InvalidateRectangle(R);
}

// Only the frame of R: what KeepInside leaves valid is never invalidated.
static void InvalidateFrame(TNxCustomGridControl& Grid, const TRect& R, int DX, int DY)
{
    Grid.InvalidateRectangle({R.Left, R.Top, R.Right, R.Top + DY});
    Grid.InvalidateRectangle({R.Left, R.Bottom - DY, R.Right, R.Bottom});
    Grid.InvalidateRectangle({R.Left, R.Top, R.Left + DX, R.Bottom});
    Grid.InvalidateRectangle({R.Right - DX, R.Top, R.Right, R.Bottom});
}

void TNxCustomGridControl::RefreshRow(int ARow, bool KeepInside)
{
    if (!IsValidRow(ARow) || !RowOnScreen(ARow))
        return;
    const TRect RR = RowRect(ARow);
    const TRect R{0, RR.Top, GetBodyRect().Right, RR.Bottom};
    if (KeepInside)
        InvalidateFrame(*this, R, 1, 1);
    else
        InvalidateRectangle(R);
}

void TNxCustomGridControl::RefreshIndicatorRow(int ARow)
{
    if (!IsValidRow(ARow) || !RowOnScreen(ARow))
        return;
    const TRect RR = RowRect(ARow);
    InvalidateRectangle({0, RR.Top - FLineWidths.Top, IndicatorColumnWidth, RR.Bottom + FLineWidths.Bottom});
}

void TNxCustomGridControl::RefreshSlide(int ARow, bool KeepInside)
{
    if (!IsValidRow(ARow) || !RowOnScreen(ARow))
        return;
    const int Top = SlideTop(ARow);
    const TRect R{0, Top, ClientWidth(), Top + FSlideSize + FLineWidths.Bottom};
    if (KeepInside)
        InvalidateFrame(*this, R, 3, 4);
    else
        InvalidateRectangle(R);
}

void TNxCustomGridControl::RefreshRowLine(int ARow)
{
    if (!RowOnScreen(ARow))
        return;
    const TRect R = RowRect(ARow);
    const int Bottom = R.Bottom - FLineWidths.Bottom;
    InvalidateRectangle({0, Bottom - 1, ClientWidth(), Bottom + std::max(FLineWidths.Bottom, 1)});
}

void TNxCustomGridControl::RefreshSelectedSlides()
{
    const int Last = std::min(GetRowCount() - 1, FFirstRow + GetVisibleRowCount());
    for (int R = FFirstRow; R <= Last; ++R)
        if (GetRowSelected(R))
            RefreshSlide(R, true);
}

void TNxCustomGridControl::RefreshRowsFrom(int ARow, int Last)
{
    if (!RowOnScreen(ARow))
        return;
    const TRect B = GetBodyRect();
    const int Top = RowTop(ARow);
    int Y = Top;
    for (int R = ARow; R <= Last && Y < B.Bottom; ++R)
        if (R >= GetRowCount() || GetRowVisible(R))
            Y += RowExtent(R) + FLineWidths.RowSpacing;
    InvalidateRectangle({0, Top, ClientWidth(), std::min(Y, B.Bottom)});
}

void TNxCustomGridControl::RefreshSelection()
{
    if (FInputSelected)
        InvalidatePart(gpInput);
    if (GetRowCount() == 0 || FColumns->Count() == 0)
        return;
    if (!(FOptions & goSelectFullRow)) {
        RefreshCell(FSelectedColumn, FSelectedRow);
        return;
    }
    const int Last = std::min(GetRowCount() - 1, FFirstRow + GetVisibleRowCount());
    for (int R = FFirstRow; R <= Last; ++R)
        if (GetRowSelected(R))
            RefreshRow(R);
}

void TNxCustomGridControl::UpdateHorzScrollBar()
{
    if (FGridStyle == gsSlides) {
        HorzScrollBar().SetVisible(false);
        return;
    }
    HorzScrollBar().LargeChange = static_cast<int>(std::lround(ClientWidth() * 0.05));
    HorzScrollBar().SetMax(GetHorzMax());
}

void TNxCustomGridControl::UpdateVertScrollBar()
{
    // A first shown row that no longer exists would leave the body blank.
    if (FFirstRow > 0 && FFirstRow >= GetRowCount()) {
        ShowFromRow(FFirstRow);
        return;
    }
    // A handler that measures rows may ask for the range again while it is counted
    // (ending an update, say): that asks the count under way for one more round
    // instead of starting another inside it, which would never end.
    if (FCountingVertMax) {
        FVertMaxAskedAgain = true;
        return;
    }
    const QScopedValueRollback Counting(FCountingVertMax, true);
    for (int Rounds = 0; Rounds < 3; ++Rounds) {
        FVertMaxAskedAgain = false;
        // A lower maximum pulls the position, and with it the first shown row, back.
        VertScrollBar().SetMax(GetVertMax());
        if (!FVertMaxAskedAgain)
            break;
    }
}

void TNxCustomGridControl::BestFitColumn(int ACol)
{
    if (!FColumns->IsValidIndex(ACol))
        return;
    TNxCustomColumn* C = FColumns->Item(ACol);
    if (!(C->GetColumnStyle() & 8))
        return;
    int W = 8;
    for (int R = 0; R < GetRowCount(); ++R)
        W = std::max(W, C->GetTextWidth(GetCellText(ACol, R)));
    if (W != C->Width())
        C->SetWidth(W);
}

// ---- rows ----

// The row operations of the subclass call these first; an open edit follows its
// row through the change (TRowsChange), or closes when the row goes.
void TNxCustomGridControl::ClearRows()
{
    FFirstRow = 0;
    FSelectedColumn = 0;
    FSelectedRow = 0;
}

void TNxCustomGridControl::DeleteRow(int Index)
{
    Q_UNUSED(Index);
    UpdateVertScrollBar();
}

void TNxCustomGridControl::InsertRow(int Index)
{
    Q_UNUSED(Index);
    UpdateVertScrollBar();
}

void TNxCustomGridControl::MoveRow(int FromPos, int ToPos)
{
    Q_UNUSED(FromPos);
    Q_UNUSED(ToPos);
    Invalidate();
}

void TNxCustomGridControl::SortColumn(TNxCustomColumn* Column, bool Ascending)
{
    Q_UNUSED(Column);
    Q_UNUSED(Ascending);
}

// ---- column notifications ----

void TNxCustomGridControl::ColumnsChanged(int Operation, int Count, int Index)
{
    Q_UNUSED(Count);
    const TOperation Running(*this);
    // The current column keeps its column when one before it goes.
    if (Operation == 1 && Index >= 0 && Index < FSelectedColumn)
        --FSelectedColumn;
    UpdateHorzScrollBar();
    GridChanged();
}

void TNxCustomGridControl::ColumnChanged(int Kind)
{
    Q_UNUSED(Kind);
    const TOperation Operation(*this);
    GridChanged();
    UpdateHorzScrollBar();
    UpdateVertScrollBar();
    Invalidate();
}

void TNxCustomGridControl::ColumnNotification(TNxCustomColumn* Column, int Value, int Kind)
{
    if (FDestroying || !Column)
        return;
    const TOperation Operation(*this);
    // The handlers (and an edit that GridChanged commits) may delete the column:
    // after them it is only looked for by its address.
    auto Index = [this, Column] { return FColumns->IndexOf(Column); };
    switch (Kind) {
    case cnInputValue: RefreshColumn(Column, caInput); break;
    case cnPosition: {
        const int Position = Column->Position();
        Invalidate();
        GridChanged();
        if (Index() >= 0)
            DoColumnMove(Index(), Value, Position);
        break;
    }
    case cnSlideBounds:
        Invalidate();
        GridChanged();
        break;
    case cnChanged: RefreshColumn(Column, caAll); break;
    case cnHiding:
        if (Index() >= 0 && Index() == (FEditing ? FEditCol : FInputEditing ? FInputColumn : -1))
            EndOpenEdit(true);
        break;
    case cnVisible:
        UpdateHorzScrollBar();
        Invalidate();
        GridChanged();
        break;
    case cnUnsorted: RefreshColumn(Column, caHeader); break;
    case cnWidth: {
        // Everything right of the column moves by the width change.
        const int L = ColumnScreenLeft(Column);
        InvalidateRectangle({L, 0, ClientWidth(), ClientHeight()});
        UpdateHorzScrollBar();
        GridChanged();
        if (Index() >= 0)
            DoColumnResize(Index());
        break;
    }
    case cnSorted:
    case cnSortSettings:
        if (Column->Sorted()) {
            RefreshColumn(Column, caHeader);
            const bool Ascending = Column->SortKind() == skAscending;
            try {
                SortColumn(Column, Ascending);
            } catch (const EDotwrightError&) {
                // Rows that do not convert stay as they were; the column does not claim an order.
                if (Index() >= 0)
                    Column->SetSorted(false);
                throw;
            }
            if (Index() >= 0)
                DoSortColumn(Index(), Ascending);
        }
        break;
    default: break;
    }
}

// ---- focus and size ----

bool TNxCustomGridControl::Focused() const
{
    return hasFocus() || viewport()->hasFocus() || (FActiveEditor && FActiveEditor->hasFocus());
}

void TNxCustomGridControl::focusInEvent(QFocusEvent* Event)
{
    TNxScrollControl::focusInEvent(Event);
    // Every input cell looks different while the grid has the focus.
    InvalidatePart(gpInput);
    InvalidatePart(gpIndicator);
    RefreshSelection();
}

void TNxCustomGridControl::focusOutEvent(QFocusEvent* Event)
{
    // The focus moving into the editor is no loss of focus.
    if (FocusGoesToEditor()) {
        TNxScrollControl::focusOutEvent(Event);
        return;
    }
    EndEditOnLeave();
    TNxScrollControl::focusOutEvent(Event);
    InvalidatePart(gpInput);
    RefreshSelection();
}

void TNxCustomGridControl::changeEvent(QEvent* Event)
{
    TNxScrollControl::changeEvent(Event);
    // Columns that follow the grid's font take the new one.
    if (Event->type() == QEvent::FontChange && FColumns) {
        for (int I = 0; I < FColumns->Count(); ++I)
            if (FColumns->Item(I)->ParentFont())
                FColumns->Item(I)->SetParentFont(true);
        Invalidate();
    }
}

void TNxCustomGridControl::resizeEvent(QResizeEvent* Event)
{
    TNxScrollControl::resizeEvent(Event);
    if (Event->size().width() != Event->oldSize().width())
        FColumns->AutoSize();
    UpdateVertScrollBar();
    UpdateHorzScrollBar();
    GridChanged();
}
