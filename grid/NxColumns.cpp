#include "NxColumns.h"

#include "DwError.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void ListIndexError(int Index)
{
    throw EDotwrightError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

} // namespace

// ---- parts ----

TColumnPart::TColumnPart(TNxCustomColumn* Owner)
    : FColumn(Owner)
{
}

void TColumnPart::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TColumnPart::SetCaption(const QString& Value)
{
    FCaption = Value;
    if (FColumn) {
        FColumn->CallListeners(lcCaption);
        FColumn->InvalidateStrip(caAll);
    }
}

void TColumnPart::SetColor(TColor Value)
{
    FColor = Value;
    if (FColumn)
        FColumn->InvalidateStrip(caAll);
}

void TColumnPart::SetDisplayMode(TDisplayMode Value)
{
    FDisplayMode = Value;
    Changed();
}

void TColumnPart::SetGlyph(const QImage& Value)
{
    FGlyph = Value;
    if (!FGlyph.isNull() && !FGlyph.hasAlphaChannel()) {
        // The bottom-left pixel names the transparent colour.
        FGlyph = FGlyph.convertToFormat(QImage::Format_ARGB32);
        const QRgb Key = FGlyph.pixel(0, FGlyph.height() - 1);
        for (int Y = 0; Y < FGlyph.height(); ++Y) {
            QRgb* Line = reinterpret_cast<QRgb*>(FGlyph.scanLine(Y));
            for (int X = 0; X < FGlyph.width(); ++X)
                if (Line[X] == Key)
                    Line[X] = 0;
        }
    }
    Changed();
}

void TColumnPart::Assign(const TColumnPart& Source)
{
    SetCaption(Source.FCaption);
    SetColor(Source.FColor);
    SetDisplayMode(Source.FDisplayMode);
    SetGlyph(Source.FGlyph);
}

TColumnHeader::TColumnHeader(TNxCustomColumn* Owner)
    : TColumnPart(Owner)
{
    FColor = clBtnFace;
}

void TColumnHeader::SetOrientation(THeaderOrientation Value)
{
    FOrientation = Value;
    if (FColumn)
        FColumn->InvalidateStrip(caHeader);
}

void TColumnHeader::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    if (FColumn)
        FColumn->InvalidateStrip(caHeader);
}

void TColumnHeader::SetMultiLine(bool Value)
{
    FMultiLine = Value;
    if (FColumn)
        FColumn->InvalidateStrip(caHeader);
}

TColumnFooter::TColumnFooter(TNxCustomColumn* Owner)
    : TColumnPart(Owner)
{
    FColor = clWindow;
}

void TColumnFooter::SetFormulaKind(TFormulaKind Value)
{
    FFormulaKind = Value;
    Changed();
}

void TColumnFooter::SetFormatMask(const QString& Value)
{
    FFormatMask = Value;
    Changed();
}

void TColumnFooter::Assign(const TColumnPart& Source)
{
    if (auto* F = dynamic_cast<const TColumnFooter*>(&Source)) {
        SetFormulaKind(F->FFormulaKind);
        return;
    }
    TColumnPart::Assign(Source);
}

void TNxSlideBounds::Changed()
{
    if (FColumn)
        FColumn->Notify(cnSlideBounds);
}

void TNxSlideBounds::SetLeft(int Value) { FLeft = Value; Changed(); }
void TNxSlideBounds::SetTop(int Value) { FTop = Value; Changed(); }
void TNxSlideBounds::SetWidth(int Value) { FWidth = Value; Changed(); }
void TNxSlideBounds::SetHeight(int Value) { FHeight = Value; Changed(); }

void TNxSlideBounds::Assign(const TNxSlideBounds& Source)
{
    SetLeft(Source.FLeft);
    SetTop(Source.FTop);
    SetWidth(Source.FWidth);
    SetHeight(Source.FHeight);
}

// ---- displays ----

TRect TColumnDisplay::GetContentRect() const
{
    return TCalcProvider::ResizeRect(CellRect, 2, 0, -2, 0);
}

void TColumnDisplay::DrawTextRect(const QString& Text, const TRect& R)
{
    if (!Canvas || R.IsEmpty())
        return;
    int Flags = 0;
    switch (FColumn->Alignment()) {
    case taLeftJustify: Flags |= RightToLeft ? Qt::AlignRight : Qt::AlignLeft; break;
    case taRightJustify: Flags |= RightToLeft ? Qt::AlignLeft : Qt::AlignRight; break;
    case taCenter: Flags |= Qt::AlignHCenter; break;
    }
    switch (FColumn->VerticalAlignment()) {
    case vaTop: Flags |= Qt::AlignTop; break;
    case vaMiddle: Flags |= Qt::AlignVCenter; break;
    case vaBottom: Flags |= Qt::AlignBottom; break;
    }
    const QRect QR = R.ToQRect();
    QString Shown = Text;
    switch (FColumn->WrapKind()) {
    case wkNone: Flags |= Qt::TextSingleLine; break;
    case wkEllipsis:
        Flags |= Qt::TextSingleLine;
        Shown = Canvas->fontMetrics().elidedText(Text, Qt::ElideRight, QR.width());
        break;
    case wkPathEllipsis: Shown = Canvas->fontMetrics().elidedText(Text, Qt::ElideMiddle, QR.width()); break;
    case wkWordWrap: Flags |= Qt::TextWordWrap; break;
    }
    Canvas->save();
    Canvas->setBrush(Qt::NoBrush);
    Canvas->setLayoutDirection(RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    Canvas->setClipRect(QR, Qt::IntersectClip);
    QRect Used;
    Canvas->drawText(QR, Flags, Shown, &Used);
    Canvas->restore();
    FTextHeight = QR.height();
}

void TColumnDisplay::DrawHintMark()
{
    if (!Canvas)
        return;
    const int R = CellRect.Right, T = CellRect.Top;
    Canvas->save();
    Canvas->setRenderHint(QPainter::Antialiasing, false);
    Canvas->setPen(QColor(255, 0, 0));
    Canvas->setBrush(QColor(255, 0, 0));
    const QPoint Pts[3] = {QPoint(R - 5, T), QPoint(R - 1, T), QPoint(R - 1, T + 4)};
    Canvas->drawPolygon(Pts, 3);
    Canvas->restore();
}

void TColumnDisplay::PaintBackground(TColor Color, bool Fill)
{
    if (!Canvas || CellRect.IsEmpty())
        return;
    const QColor C = ToQColor(Color);
    if (Fill) {
        Canvas->fillRect(CellRect.ToQRect(), C);
    } else {
        Canvas->save();
        Canvas->setPen(C);
        Canvas->setBrush(Qt::NoBrush);
        Canvas->drawRect(CellRect.ToQRect().adjusted(0, 0, -1, -1));
        Canvas->restore();
    }
}

void TColumnPlay::Refresh()
{
    if (!FDisplay)
        return;
    AsBoolean = FDisplay->AsBoolean;
    FDisplay->PaintContent();
}

// ---- column ----

TNxCustomColumn::TNxCustomColumn()
    : FFooter(std::make_unique<TColumnFooter>(this))
    , FHeader(std::make_unique<TColumnHeader>(this))
    , FSlideBounds(std::make_unique<TNxSlideBounds>(this))
{
    FFooter->OnChange = [this](TColumnPart* P) { PartChanged(P); };
    FHeader->OnChange = [this](TColumnPart* P) { PartChanged(P); };
    SetKind(ckString);
}

TNxCustomColumn::~TNxCustomColumn()
{
    if (FColumns)
        FColumns->Remove(this);
    FListeners.clear();
}

bool TNxCustomColumn::Reading() const
{
    return FColumns && FColumns->Reading();
}

void TNxCustomColumn::Notify(int Code, int Value)
{
    if (FColumns && FColumns->OnColumnNotification)
        FColumns->OnColumnNotification(this, Code, Value);
}

void TNxCustomColumn::CallListeners(int Code)
{
    const auto Copy = FListeners;
    for (const auto& L : Copy)
        if (L)
            L(this, Code);
}

void TNxCustomColumn::PartChanged(TColumnPart* Part)
{
    Q_UNUSED(Part);
    Notify(cnChanged);
}

void TNxCustomColumn::InvalidateStrip(TNxColumnArea Area)
{
    if (FColumns && FColumns->Grid())
        FColumns->Grid()->InvalidateColumn(this, Area);
}

void TNxCustomColumn::SetName(const QString& Value)
{
    if (Value == FName)
        return;
    FName = Value;
    CallListeners(lcCaption);
}

void TNxCustomColumn::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    CallListeners(lcAlignment);
    Notify(cnChanged);
}

void TNxCustomColumn::SetColor(TColor Value)
{
    FColor = Value;
    CallListeners(lcColorOptions);
    Notify(cnChanged);
}

void TNxCustomColumn::SetCursor(int Value)
{
    FCursor = Value;
    Notify(cnChanged);
}

void TNxCustomColumn::SetDrawingOptions(TDrawingOptions Value)
{
    FDrawingOptions = Value;
    CallListeners(lcDrawingOptions);
    Notify(cnChanged);
}

void TNxCustomColumn::FontChanged()
{
    if (!FFontLock) {
        FParentFont = false;
        Notify(cnChanged);
    }
}

void TNxCustomColumn::SetFont(const QFont& Value)
{
    FFont = Value;
    FontChanged();
    Notify(cnChanged);
}

void TNxCustomColumn::SetFooter(const TColumnFooter& Value)
{
    FFooter->Assign(Value);
    Notify(cnChanged);
}

void TNxCustomColumn::SetHeader(const TColumnHeader& Value)
{
    FHeader->Assign(Value);
    Notify(cnChanged);
}

void TNxCustomColumn::SetInputCaption(const QString& Value)
{
    FInputCaption = Value;
    Notify(cnChanged);
}

void TNxCustomColumn::SetInputValue(const QString& Value)
{
    FInputValue = Value;
    Notify(cnInputValue);
}

void TNxCustomColumn::SetOptions(TColumnOptions Value)
{
    if ((Value & coSearchColumn) && !(FOptions & coSearchColumn) && FColumns) {
        // At most one search column.
        for (TNxCustomColumn* C : FColumns->FItems)
            if (C != this)
                C->FOptions &= static_cast<TColumnOptions>(~coSearchColumn);
    }
    const bool WasAuto = FOptions & coAutoSize;
    FOptions = Value;
    if (FColumns && !FColumns->Reading()) {
        if (!(WasAuto && (Value & coAutoSize)))
            FColumns->AutoSize(this, false);
        Notify(cnChanged);
    }
    CallListeners(lcColorOptions);
}

void TNxCustomColumn::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value && FColumns && FColumns->Grid()) {
        FFontLock = true;
        FFont = FColumns->Grid()->Font();
        FontChanged();
        FFontLock = false;
    }
}

void TNxCustomColumn::SetPosition(int Value)
{
    if (FColumns && !FColumns->Reading()) {
        // A position outside the display list is refused before anything moves.
        if (Value < 0 || Value >= static_cast<int>(FColumns->FDisplayList.size()))
            ListIndexError(Value);
        FColumns->Move(FPosition, Value);
        Notify(cnPosition, -1);
    }
    FPosition = Value;
}

void TNxCustomColumn::SetSlideBounds(const TNxSlideBounds& Value)
{
    FSlideBounds->Assign(Value);
    Notify(cnChanged);
}

void TNxCustomColumn::SetSlideCaption(const QString& Value)
{
    FSlideCaption = Value;
    InvalidateStrip(caAll);
}

void TNxCustomColumn::SetSorted(bool Value)
{
    if (GetColumnStyle() & 4)
        return;
    if (Value) {
        if (FColumns)
            for (TNxCustomColumn* C : FColumns->FItems)
                if (C != this && C->FSorted)
                    C->SetSorted(false);
        FSorted = true;
        Notify(cnSorted);
    } else {
        FSorted = false;
        Notify(cnUnsorted);
    }
}

void TNxCustomColumn::SetSortKind(TSortKind Value)
{
    FSortKind = Value;
    Notify(cnSortSettings);
}

void TNxCustomColumn::SetSortType(TSortType Value)
{
    FSortType = Value;
    Notify(cnSortSettings);
}

void TNxCustomColumn::SetVerticalAlignment(TVerticalAlignment Value)
{
    FVerticalAlignment = Value;
    Notify(cnChanged);
}

void TNxCustomColumn::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    CallListeners(lcVisibility);
    if (FColumns && !FColumns->Reading()) {
        FColumns->LayOut();
        FColumns->AutoSize();
        Notify(cnVisible);
    }
}

void TNxCustomColumn::StoreWidth(int Value)
{
    FRequestedWidth = Value;
    const int Old = FWidth;
    FWidth = std::max(Value, 8);
    if (FColumns && !FColumns->Reading())
        FColumns->LayOut();
    Notify(cnWidth, FWidth - Old);
}

void TNxCustomColumn::SetWidth(int Value)
{
    StoreWidth(Value);
    if (FColumns)
        FColumns->AutoSize(this, true);
    if (FColumns && FColumns->Grid() && FColumns->Grid()->DesignTime())
        FDefaultWidth = FWidth;
}

int TNxCustomColumn::GetEditOptions() const
{
    if (!FEnabled)
        return 0;
    if (!(GetColumnStyle() & 2) && !FInplaceEdit)
        return 0;
    return ((FOptions & coEditing) ? 1 : 0) | ((FOptions & coCanInput) ? 2 : 0);
}

int TNxCustomColumn::GetTextWidth(const QString& Text) const
{
    return std::max(QFontMetrics(FFont).horizontalAdvance(Text) + 6, 8);
}

void TNxCustomColumn::PrepareEditor(QWidget* Editor)
{
    // Alignment, border and margins belong to the editor class; a plain widget takes none.
    if (!Editor)
        return;
    Editor->setContentsMargins(1, 0, 0, 0);
}

void TNxCustomColumn::Assign(const TNxCustomColumn& Source)
{
    SetAlignment(Source.FAlignment);
    SetColor(Source.FColor);
    SetCursor(Source.FCursor);
    SetDefaultValue(Source.FDefaultValue);
    SetDrawingOptions(Source.FDrawingOptions);
    SetFont(Source.FFont);
    SetFooter(*Source.FFooter);
    SetHeader(*Source.FHeader);
    SetInputCaption(Source.FInputCaption);
    SetInputValue(Source.FInputValue);
    SetOptions(Source.FOptions);
    SetParentFont(Source.FParentFont);
    if (Source.FPosition >= 0 || !FColumns)
        SetPosition(Source.FPosition);
    SetSlideBounds(*Source.FSlideBounds);
    SetSorted(Source.FSorted);
    SetSortKind(Source.FSortKind);
    SetVerticalAlignment(Source.FVerticalAlignment);
    SetVisible(Source.FVisible);
    SetWidth(Source.FWidth);
    SetWrapKind(Source.FWrapKind);
}

int TNxCustomColumn::Index() const
{
    return FColumns ? FColumns->IndexOf(this) : -1;
}

int TNxCustomColumn::ScreenLeft() const
{
    if (!FColumns || !FColumns->Grid())
        return FLeft;
    if (FPosition < FColumns->Grid()->FixedCols())
        return FLeft;
    return FLeft - FColumns->Grid()->HorzScrollPos();
}

TRect TNxCustomColumn::PartRect(TNxColumnArea Area) const
{
    TRect Band = FColumns && FColumns->Grid() ? FColumns->Grid()->BandRect(Area) : TRect{};
    const int L = ScreenLeft();
    if (Area == caFooter)
        Band.Top += 4;
    else if (Area == caInput)
        Band.Bottom -= 6;
    return {L, Band.Top, L + FWidth, Band.Bottom};
}

TRect TNxCustomColumn::SlideRect() const
{
    return {FSlideBounds->Left(), FSlideBounds->Top(), FSlideBounds->Right(), FSlideBounds->Bottom()};
}

int TNxCustomColumn::PlaceAmongVisible() const
{
    if (!FColumns)
        return 0;
    if (IsOnlyVisible())
        return 0;
    if (FColumns->FirstVisible() == this)
        return 1;
    if (FColumns->LastVisible() == this)
        return 3;
    return 2;
}

bool TNxCustomColumn::IsOnlyVisible() const
{
    return FVisible && (!FColumns || FColumns->VisibleCount() == 1);
}

bool TNxCustomColumn::IsCurrent() const
{
    return FColumns && FColumns->Grid() && Index() == FColumns->Grid()->CurrentColumn();
}

bool TNxCustomColumn::IsHotHeader() const
{
    return FColumns && FColumns->Grid() && Index() == FColumns->Grid()->HotColumn();
}

bool TNxCustomColumn::IsPressedHeader() const
{
    return FColumns && FColumns->Grid() && Index() == FColumns->Grid()->PressedColumn();
}

TNxCustomColumn* TNxCustomColumn::NextEnabledVisible() const
{
    if (!FColumns)
        return const_cast<TNxCustomColumn*>(this);
    const auto& D = FColumns->FDisplayList;
    auto It = std::find(D.begin(), D.end(), this);
    if (It != D.end())
        for (++It; It != D.end(); ++It)
            if ((*It)->FEnabled && (*It)->FVisible)
                return *It;
    return const_cast<TNxCustomColumn*>(this);
}

TNxCustomColumn* TNxCustomColumn::PreviousEnabledVisible() const
{
    if (!FColumns)
        return const_cast<TNxCustomColumn*>(this);
    const auto& D = FColumns->FDisplayList;
    auto It = std::find(D.begin(), D.end(), this);
    while (It != D.end() && It != D.begin()) {
        --It;
        if ((*It)->FEnabled && (*It)->FVisible)
            return *It;
    }
    return const_cast<TNxCustomColumn*>(this);
}

// ---- collection ----

TNxColumns::TNxColumns(TNxGridLink* Grid)
    : FGrid(Grid)
{
}

TNxColumns::~TNxColumns()
{
    FDestroying = true;
    while (!FItems.empty())
        delete FItems.back(); // the column's destructor takes it out of both lists
}

TNxCustomColumn* TNxColumns::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

int TNxColumns::IndexOf(const TNxCustomColumn* Column) const
{
    auto It = std::find(FItems.begin(), FItems.end(), Column);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TNxCustomColumn* TNxColumns::Add(TNxCustomColumn* Column)
{
    if (!Column || Column->FColumns == this)
        return Column;
    if (Count() >= MaxColumns)
        ListIndexError(Count());
    if (Column->FColumns)
        Column->FColumns->Remove(Column);
    Column->FColumns = this;
    FItems.push_back(Column);
    FDisplayList.push_back(Column);
    Column->FPosition = static_cast<int>(FDisplayList.size()) - 1;
    if (Column->FParentFont && FGrid) {
        Column->FFontLock = true;
        Column->FFont = FGrid->Font();
        Column->FFontLock = false;
    }
    LayOut();
    AutoSize();
    if (OnColumnsChanged)
        OnColumnsChanged(0, 1, -1, -1);
    if (OnColumnChanged)
        OnColumnChanged(0, 1, -1, -1);
    return Column;
}

void TNxColumns::Move(int FromPos, int ToPos)
{
    if (FromPos == ToPos)
        return;
    const int N = static_cast<int>(FDisplayList.size());
    if (FromPos < 0 || FromPos >= N)
        ListIndexError(FromPos);
    if (ToPos < 0 || ToPos >= N)
        ListIndexError(ToPos);
    TNxCustomColumn* C = FDisplayList[static_cast<size_t>(FromPos)];
    FDisplayList.erase(FDisplayList.begin() + FromPos);
    FDisplayList.insert(FDisplayList.begin() + ToPos, C);
    LayOut(true);
    FDisplayList[static_cast<size_t>(ToPos)]->Notify(cnPosition, FromPos);
}

void TNxColumns::Remove(TNxCustomColumn* Column)
{
    const int Index = IndexOf(Column);
    if (Index >= 0) {
        FItems.erase(FItems.begin() + Index);
        if (OnColumnsChanged && !FDestroying)
            OnColumnsChanged(1, 1, -1, Index);
    }
    FDisplayList.erase(std::remove(FDisplayList.begin(), FDisplayList.end(), Column), FDisplayList.end());
    Column->FColumns = nullptr;
    if (!FDestroying && !(FGrid && FGrid->Destroying())) {
        LayOut(true);
        AutoSize();
        if (OnColumnChanged)
            OnColumnChanged(1, 1, -1, Index);
    }
}

TNxCustomColumn* TNxColumns::ItemByPosition(int Position) const
{
    if (Position < 0 || Position >= static_cast<int>(FDisplayList.size()))
        ListIndexError(Position);
    return FDisplayList[static_cast<size_t>(Position)];
}

int TNxColumns::VisibleCount() const
{
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](auto* C) { return C->Visible(); }));
}

int TNxColumns::TotalWidth() const
{
    int W = 0;
    for (auto* C : FItems)
        if (C->Visible())
            W += C->Width();
    return W;
}

TNxCustomColumn* TNxColumns::FirstVisible() const
{
    for (auto* C : FDisplayList)
        if (C->Visible())
            return C;
    return nullptr;
}

TNxCustomColumn* TNxColumns::LastVisible() const
{
    for (auto It = FDisplayList.rbegin(); It != FDisplayList.rend(); ++It)
        if ((*It)->Visible())
            return *It;
    return nullptr;
}

void TNxColumns::SetFixedCols(int Value)
{
    FFixedCols = Value;
    LayOut();
}

void TNxColumns::LayOut(bool Renumber)
{
    FFixedWidth = 0;
    const int Fixed = std::min<int>(FFixedCols, static_cast<int>(FDisplayList.size()));
    for (int I = 0; I < Fixed; ++I)
        if (FDisplayList[static_cast<size_t>(I)]->Visible())
            FFixedWidth += FDisplayList[static_cast<size_t>(I)]->Width();
    int X = FGrid ? FGrid->IndicatorWidth() : 0;
    int N = 0;
    for (size_t I = 0; I < FDisplayList.size(); ++I) {
        TNxCustomColumn* C = FDisplayList[I];
        if (C->Visible()) {
            C->FLeft = X;
            C->FVisibleIndex = N++;
            X += C->Width();
        } else {
            C->FVisibleIndex = -1;
        }
        if (Renumber)
            C->FPosition = static_cast<int>(I);
    }
}

void TNxColumns::AutoSize(TNxCustomColumn* Column, bool After)
{
    if (!FGrid || Reading())
        return;
    const int I = FGrid->IndicatorWidth();
    int First = 0, Used = 0;
    if (Column) {
        First = Column->Position() + (After ? 1 : 0);
        Used = Column->Left() - I;
        if (After && Column->Visible())
            Used += Column->Width();
    }
    const int Available = FGrid->RowAreaWidth() - Used;
    double A = 0, F = 0;
    std::vector<TNxCustomColumn*> Auto;
    for (size_t P = static_cast<size_t>(std::max(First, 0)); P < FDisplayList.size(); ++P) {
        TNxCustomColumn* C = FDisplayList[P];
        if (!C->Visible())
            continue;
        if (C->Options() & coAutoSize) {
            A += C->Width();
            Auto.push_back(C);
        } else {
            F += C->Width();
        }
    }
    if (Auto.empty() || A <= 0)
        return;
    for (TNxCustomColumn* C : Auto)
        C->StoreWidth(static_cast<int>(std::nearbyint((Available - F) * (C->Width() / A))));
}
