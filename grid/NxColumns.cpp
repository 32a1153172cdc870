#include "NxColumns.h"
#include "NxEdit.h"

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
    // An operation of the grid may be using the editor (hiding it, say).
    const bool GridBusy = FColumns && FColumns->Grid() && FColumns->Grid()->Busy();
    if (FColumns)
        FColumns->Remove(this);
    FListeners.clear();
    TNxCustomEdit::Free(FOwnEditor.data(), GridBusy);
}

bool TNxCustomColumn::Deferred(std::function<void()> Change)
{
    TNxGridLink* Grid = FColumns && !FColumns->Reading() ? FColumns->Grid() : nullptr;
    const std::weak_ptr<char> Alive = FLife;
    return Grid && Grid->DeferChange([Alive, Change = std::move(Change)] {
        if (!Alive.expired())
            Change();
    });
}

TNxCustomEdit* TNxCustomColumn::OwnEditor() const
{
    if (!FOwnEditor && (GetColumnStyle() & 2)) {
        FOwnEditor = CreateEditor();
        if (FOwnEditor)
            FOwnEditor->hide();
    }
    return FOwnEditor;
}

TNxCustomEdit* TNxCustomColumn::MadeOwnEditor() const
{
    return FOwnEditor;
}

TNxCustomEdit* TNxCustomColumn::Editor() const
{
    if (auto* E = qobject_cast<TNxCustomEdit*>(FInplaceEdit.data()))
        return E;
    return OwnEditor();
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

void TNxCustomColumn::SetFontColor(TColor Value)
{
    FFontColor = Value;
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
        const std::weak_ptr<char> Alive = FLife;
        if (!(WasAuto && (Value & coAutoSize)))
            FColumns->AutoSize(this, false);
        // The resize handlers of the columns that sized anew may have deleted this one.
        if (Alive.expired())
            return;
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
        FFontColor = FColumns->Grid()->FontColor();
        FontChanged();
        FFontLock = false;
    }
}

void TNxCustomColumn::SetPosition(int Value)
{
    if (Deferred([this, Value] { SetPosition(Value); }))
        return;
    if (FColumns && !FColumns->Reading()) {
        // A position outside the display list is refused before anything moves.
        if (Value < 0 || Value >= static_cast<int>(FColumns->FDisplayList.size()))
            ListIndexError(Value);
        const std::weak_ptr<char> Alive = FLife;
        FColumns->Move(FPosition, Value);
        // The move handler may have deleted the column.
        if (Alive.expired())
            return;
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
    if (GetColumnStyle() & 4 || Deferred([this, Value] { SetSorted(Value); }))
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
    if (Deferred([this, Value] { SetSortKind(Value); }))
        return;
    FSortKind = Value;
    Notify(cnSortSettings);
}

void TNxCustomColumn::SetSortType(TSortType Value)
{
    if (Deferred([this, Value] { SetSortType(Value); }))
        return;
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
    if (Value == FVisible || Deferred([this, Value] { SetVisible(Value); }))
        return;
    if (!Value && FColumns && !FColumns->Reading()) {
        // An edit open in the column ends while the user still sees it; the edit's
        // handlers may delete the column, or hide it themselves.
        const std::weak_ptr<char> Alive = FLife;
        Notify(cnHiding);
        if (Alive.expired() || !FVisible)
            return;
    }
    FVisible = Value;
    CallListeners(lcVisibility);
    if (FColumns && !FColumns->Reading()) {
        const std::weak_ptr<char> Alive = FLife;
        FColumns->LayOut();
        FColumns->AutoSize();
        // The resize handlers of the columns that sized anew may have deleted this one.
        if (!Alive.expired())
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
    if (Deferred([this, Value] { SetWidth(Value); }))
        return;
    const std::weak_ptr<char> Alive = FLife;
    StoreWidth(Value);
    // The resize handler may have deleted the column.
    if (Alive.expired())
        return;
    if (FColumns)
        FColumns->AutoSize(this, true);
    if (FColumns && FColumns->Grid() && FColumns->Grid()->DesignTime())
        FDefaultWidth = FWidth;
}

int TNxCustomColumn::GetEditOptions() const
{
    if (!FEnabled)
        return 0;
    const int Wanted = ((FOptions & coEditing) ? 1 : 0) | ((FOptions & coCanInput) ? 2 : 0);
    // A class that claims an editor of its own must also make one (only when it is wanted).
    if (!Wanted || (!FInplaceEdit && !((GetColumnStyle() & 2) && OwnEditor())))
        return 0;
    return Wanted;
}

int TNxCustomColumn::GetTextWidth(const QString& Text) const
{
    return std::max(QFontMetrics(FFont).horizontalAdvance(Text) + 6, 8);
}

void TNxCustomColumn::PrepareEditor(TNxCustomEdit* Editor)
{
    if (!Editor)
        return;
    Editor->SetAlignment(FAlignment);
    Editor->SetBorderStyle(bsNone);
    Editor->InnerMargins().SetLeft(1);
    Editor->SetVerticalAlignment(FVerticalAlignment);
}

void TNxCustomColumn::Assign(const TNxCustomColumn& Source)
{
    // Each change reaches the grid, whose handlers may delete this column: what
    // is left is then not applied.
    const std::weak_ptr<char> Alive = FLife;
    const std::function<void()> Changes[] = {
        [&] { SetAlignment(Source.FAlignment); }, [&] { SetColor(Source.FColor); },
        [&] { SetCursor(Source.FCursor); }, [&] { SetDefaultValue(Source.FDefaultValue); },
        [&] { SetDrawingOptions(Source.FDrawingOptions); }, [&] { SetFont(Source.FFont); },
        [&] { SetFontColor(Source.FFontColor); }, [&] { SetFooter(*Source.FFooter); },
        [&] { SetHeader(*Source.FHeader); }, [&] { SetInputCaption(Source.FInputCaption); },
        [&] { SetInputValue(Source.FInputValue); }, [&] { SetOptions(Source.FOptions); },
        [&] { SetParentFont(Source.FParentFont); },
        [&] {
            if (Source.FPosition >= 0 || !FColumns)
                SetPosition(Source.FPosition);
        },
        [&] { SetSlideBounds(*Source.FSlideBounds); }, [&] { SetSorted(Source.FSorted); },
        [&] { SetSortKind(Source.FSortKind); }, [&] { SetVerticalAlignment(Source.FVerticalAlignment); },
        [&] { SetVisible(Source.FVisible); }, [&] { SetWidth(Source.FWidth); },
        [&] { SetWrapKind(Source.FWrapKind); },
    };
    for (const auto& Change : Changes)
        if (!Alive.expired())
            Change();
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

