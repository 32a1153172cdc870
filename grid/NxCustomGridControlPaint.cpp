// How the grid paints itself: the bands through the active style display, the
// rows cell by cell, the empty rows below the data, and the focus frame.
#include "NxCustomGridControl.h"
#include "NxThemesSupport.h"
#include "DwError.h"

#include <QDebug>

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

void TNxCustomGridControl::paintEvent(QPaintEvent* Event)
{
    // A paint asked for while one runs, or by a handler (not by a dialog's own
    // event loop inside it), comes after: the canvas stays the running one's.
    if (FCanvas || (FHandlers > 0 && FHandlerLevel == QThread::currentThread()->loopLevel())) {
        viewport()->update(Event->rect());
        return;
    }
    QPainter P(viewport());
    PaintTo(P, Event->rect());
}

void TNxCustomGridControl::PaintTo(QPainter& Canvas, const QRect& Clip)
{
    const TOperation Operation(*this);
    FCanvas = &Canvas;
    FClipBox = TRect::FromQRect(Clip);
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setRenderHint(QPainter::TextAntialiasing, true);
    FActiveDisplay->Canvas = &Canvas;
    FActiveDisplay->RightToLeft = layoutDirection() == Qt::RightToLeft;
    // The canvas lives only for this call, also when a handler raises.
    struct TCanvasReset {
        TNxCustomGridControl* G;
        ~TCanvasReset()
        {
            G->FActiveDisplay->Canvas = nullptr;
            G->FCanvas = nullptr;
        }
    } Reset{this};
    FPaintStopped = false;
    Paint();
}

bool TNxCustomGridControl::PaintGoesOn(unsigned Stamp)
{
    if (FPaintStopped)
        return false;
    if (FChangeCount == Stamp)
        return true;
    // What this paint looked up (columns, rows, rectangles) no longer holds.
    FPaintStopped = true;
    if (FCanvas)
        ResetClip();
    Invalidate();
    return false;
}

void TNxCustomGridControl::ClipTo(const TRect& R)
{
    FCanvas->setClipRect(R.ToQRect(), Qt::ReplaceClip);
}

void TNxCustomGridControl::ResetClip()
{
    FCanvas->setClipping(false);
}

void TNxCustomGridControl::Paint()
{
    const QPalette Pal = palette();
    const TRect Body = GetBodyRect();
    const bool ThemeOn = FEnableVisualStyles && ThemesAvailable();
    if (FGridStyle == gsReport) {
        HorzClipRect = {Body.Left + FColumns->FixedWidth(), 0, ClientWidth(), ClientHeight()};
        VertClipRect = {0, Body.Top, ClientWidth(), Body.Bottom};
        PaintRows();
        const int ColumnsEnd = FColumns->TotalWidth() - HorzScrollPos() + IndicatorWidth();
        if (ColumnsEnd < ClientWidth()) {
            int Top = 0;
            if ((FOptions & goHeader) && ThemeOn && FHeaderStyle == hsAuto) {
                FActiveDisplay->Themed = true;
                FActiveDisplay->DrawEmptyHeaderArea({ColumnsEnd, 0, ClientWidth(), FHeaderSize});
                Top = FHeaderSize;
            }
            FCanvas->fillRect(TRect{ColumnsEnd, Top, ClientWidth(), ClientHeight()}.ToQRect(), ToQColor(FColor, Pal));
        }
    } else {
        const int ColumnsEnd = FColumns->TotalWidth();
        if ((FOptions & goHeader) && ThemeOn && FHeaderStyle == hsAuto && ColumnsEnd < ClientWidth()) {
            FActiveDisplay->Themed = true;
            FActiveDisplay->DrawEmptyHeaderArea({ColumnsEnd, 0, ClientWidth(), FHeaderSize});
        }
        HorzClipRect = ClientRect();
        VertClipRect = {0, Body.Top, ClientWidth(), ClientHeight()};
        PaintSlides();
    }
    if (FPaintStopped)
        return;
    if (GetRowCount() == 0 && !FCaption.isEmpty()) {
        FCanvas->setFont(font());
        FCanvas->setPen(ToQColor(FFontColor, Pal));
        const QFontMetrics FM(font());
        const QRect R(0, Body.Top + 4, ClientWidth(), FM.height());
        FCanvas->drawText(R, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                          FM.elidedText(FCaption, Qt::ElideRight, R.width()));
    }
    DoPostDraw();
}

void TNxCustomGridControl::PaintRows()
{
    PaintHeaders();
    PaintRowArea();
}

void TNxCustomGridControl::PaintHeaders()
{
    const int HPos = HorzScrollPos();
    const int FixedWidth = FColumns->FixedWidth();
    const bool Focus = Focused();
    FActiveDisplay->Themed = FEnableVisualStyles && ThemesAvailable();
    FActiveDisplay->Canvas = FCanvas;
    // The input cells are lower than their band, the footer cells leave their
    // right and bottom pixel and the band's top: the band's colour fills the rest.
    const int ColumnsEnd = FColumns->TotalWidth() - HPos + IndicatorWidth();
    for (const TGridOption Band : {goInput, goFooter})
        if (FOptions & Band) {
            const TRect R = Band == goInput ? GetInputRect() : GetFooterRect();
            FCanvas->fillRect(TRect{IndicatorWidth(), R.Top, ColumnsEnd, R.Bottom}.ToQRect(), ToQColor(FColor, palette()));
        }
    for (int P = 0; P < FColumns->Count(); ++P) {
        TNxCustomColumn* C = FColumns->ItemByPosition(P);
        if (!C->Visible())
            continue;
        const bool Scrolled = P >= FFixedCols;
        const int Offset = Scrolled ? HPos : 0;
        if (C->Left() - Offset > ClientWidth())
            break;
        if (C->Left() < 0 || (Scrolled && FixedWidth > C->Left() + C->Width() - Offset))
            continue;
        if (Scrolled)
            ClipTo(GetScrollArea());
        FCanvas->setFont(font());
        FCanvas->setPen(ToQColor(FFontColor, palette()));
        if (FOptions & goHeader)
            FActiveDisplay->DrawHeaderCell(*C, C->PartRect(caHeader));
        if (FOptions & goInput)
            FActiveDisplay->DrawInputCell(*C, C->PartRect(caInput), FOptions & goGrid, Focus, FInputSelected);
        if (FOptions & goFooter)
            FActiveDisplay->DrawFooterCell(*C, C->PartRect(caFooter), FOptions & goGrid);
        ResetClip();
    }
    if (FOptions & goInput) {
        const TRect R = GetInputRect();
        FActiveDisplay->DrawFixedArea({ColumnsEnd, R.Top, ClientWidth(), R.Bottom});
    }
    if (FOptions & goFooter) {
        const TRect R = GetFooterRect();
        FActiveDisplay->DrawFixedArea({ColumnsEnd, R.Top, ClientWidth(), R.Bottom});
    }
    if (FOptions & goIndicator) {
        if (FOptions & goInput) {
            const TRect R = GetInputRect();
            FActiveDisplay->DrawFixedBackground({0, R.Top, IndicatorColumnWidth, R.Bottom});
        }
        if (FOptions & goFooter) {
            const TRect R = GetFooterRect();
            FActiveDisplay->DrawFixedBackground({0, R.Top, IndicatorColumnWidth, R.Bottom});
        }
        if (FOptions & goHeader)
            FActiveDisplay->DrawFixedBackground({0, 0, IndicatorColumnWidth, FHeaderSize});
    }
}

void TNxCustomGridControl::PaintRowArea()
{
    const TRect Body = GetBodyRect();
    const int HPos = HorzScrollPos();
    const int FixedWidth = FColumns->FixedWidth();
    // The columns that show, in display order.
    std::vector<int> Shown;
    for (int P = 0; P < FColumns->Count(); ++P) {
        TNxCustomColumn* C = FColumns->ItemByPosition(P);
        if (!C->Visible())
            continue;
        const int Offset = P >= FFixedCols ? HPos : 0;
        const int L = C->Left() - Offset;
        if (P >= FFixedCols && FixedWidth > C->Left() + C->Width() - Offset)
            continue;
        if (L > ClientWidth() || L + C->Width() < 0)
            continue;
        Shown.push_back(C->Index());
    }
    // Rows folded away are stepped over, not walked.
    qint64 Y = Body.Top + FLineWidths.Top;
    for (int R = NextShownRow(FFirstRow); Y < Body.Bottom && !FPaintStopped;) {
        if (R < GetRowCount()) {
            for (int Col : Shown)
                DrawCell(Col, R);
            if (FOptions & goIndicator)
                DrawIndicatorCell(R, R == FSelectedRow && !FInputSelected,
                                  !FInputSelected && (GetRowSelected(R) || R == FSelectedRow));
            Y += RowStep(R, GetRowCount());
            R = NextShownRow(R + 1);
        } else {
            for (int Col : Shown)
                DrawEmptyCell(Col, R);
            if (FOptions & goIndicator)
                DrawIndicatorCell(R, false, false);
            Y += FRowSize + FLineWidths.RowSpacing;
            ++R;
        }
    }
    if ((FOptions & goSelectFullRow) && !FPaintStopped)
        DrawFocusFrame();
}

TRect TNxCustomGridControl::CellClipRect(TNxCustomColumn* Column, const TRect& CellRect) const
{
    TRect R = CellRect;
    const TRect Scroll = GetScrollArea();
    if (ColumnScrolled(Column) && R.Left < Scroll.Left)
        R.Left = Scroll.Left;
    R.Left -= FLineWidths.Left;
    R.Top -= FLineWidths.Top;
    R.Right += FLineWidths.Right;
    R.Bottom += FLineWidths.Bottom;
    R.Bottom = std::min(R.Bottom, GetBodyRect().Bottom);
    return R;
}

void TNxCustomGridControl::DrawCellLines(const TRect& R, TColor GridColor, bool LastRow, bool LastColumn,
                                         bool RowExists)
{
    const QPalette Pal = palette();
    const bool Framed = FGridLinesStyle == lsFramed;
    if (FLineWidths.Bottom > 0)
        FCanvas->fillRect(QRect(R.Left, R.Bottom, R.Right + 1 - R.Left, 1),
                          ToQColor(Framed && LastRow ? clBlack : GridColor, Pal));
    if (FLineWidths.Top > 0)
        FCanvas->fillRect(QRect(R.Left, R.Top - 1, R.Right + 1 - R.Left, 1), ToQColor(clBtnHighlight, Pal));
    if (FLineWidths.Left > 0)
        FCanvas->fillRect(QRect(R.Left, R.Top - 1, 1, R.Bottom + 2 - R.Top), ToQColor(clBtnHighlight, Pal));
    if (FLineWidths.Right > 0)
        FCanvas->fillRect(QRect(R.Right - 1, R.Top - 1, 1, R.Bottom + 2 - R.Top),
                          ToQColor(Framed && LastColumn && RowExists ? clBlack : GridColor, Pal));
}

// Each handler may change the grid (delete the column, clear the rows, sort):
// after one did, the cell is not painted on with what was looked up before.
void TNxCustomGridControl::DrawCell(int ACol, int ARow)
{
    const unsigned Stamp = FChangeCount;
    if (FPaintStopped || !FColumns->Item(ACol)->Visible())
        return;
    TCellState CellState = 0;
    TColor GridColor = FGridLinesColor;
    bool DefaultDrawing = true;
    TRect CellRect = GetCellRect(ACol, ARow);
    if (!PaintGoesOn(Stamp))
        return;
    if (CellRect.Right < FClipBox.Left || CellRect.Left > FClipBox.Right || CellRect.Bottom < FClipBox.Top
        || CellRect.Top > FClipBox.Bottom)
        return;
    TNxCustomColumn* Column = FColumns->Item(ACol);
    const QPalette Pal = palette();
    FCanvas->setFont(Column->Font());
    TColor CellColor = GetCellColorFor(ACol, ARow);
    TColumnDisplay* Display = Column->Display();
    const bool Selected = IsCellSelected(ACol, ARow);
    if (Selected) {
        CellState |= csSelected;
        if (FAppearanceOptions & aoBoldTextSelection)
            CellState |= csBoldTextSelection;
    }
    Display->Selected = Selected;
    if (Focused() && !(FAppearanceOptions & aoHideFocus))
        CellState |= csFocused;
    DoCellColoring(ACol, ARow, CellColor, GridColor, CellState);
    if (!PaintGoesOn(Stamp))
        return;
    if (Column->Sorted() && !Selected) {
        if (FSortedStyle == soDarker)
            CellColor = TGraphicsProvider::BlendColor(clBlack, CellColor, 10, Pal);
        else if (FSortedStyle == soWhite)
            CellColor = clWhite;
    }
    ClipTo(CellClipRect(Column, CellRect));
    if ((FOptions & goGrid) && FGridStyle == gsReport)
        DrawCellLines(CellRect, GridColor, ARow == GetRowCount() - 1, Column == FColumns->LastVisible(), true);
    CellRect.Left += FLineWidths.Left;
    CellRect.Right -= FLineWidths.Right;
    DoDrawCellBackground(ACol, ARow, CellRect, CellState, DefaultDrawing);
    if (!PaintGoesOn(Stamp))
        return;
    Display->Handle = this;
    Display->Canvas = FCanvas;
    Display->RightToLeft = layoutDirection() == Qt::RightToLeft;
    Display->CellRect = CellRect;
    Display->HighlightedTextColor = FHighlightedTextColor;
    PrepareDisplay(ACol, ARow, Display);
    if (DefaultDrawing) {
        const bool UnderEditor = FEditing && ACol == FEditCol && ARow == FEditRow;
        if (!UnderEditor) {
            FCanvas->fillRect(CellRect.ToQRect(), ToQColor(CellColor, Pal));
        } else {
            FCanvas->setPen(ToQColor(CellColor, Pal));
            FCanvas->setBrush(Qt::NoBrush);
            FCanvas->drawRect(CellRect.ToQRect().adjusted(0, 0, -1, -1));
        }
    }
    Display->Current = ACol == FSelectedColumn && ARow == GetSelectedRow();
    const TDrawingOptions Drawing = Column->DrawingOptions();
    try {
        if ((Drawing == doNormal || Drawing == doCustom) && DrawCellContent(ACol, ARow, CellState)
            && PaintGoesOn(Stamp))
            Display->PaintContent();
        if (Drawing != doNormal && PaintGoesOn(Stamp))
            DoCustomDrawCell(ACol, ARow, CellRect, CellState);
    } catch (const EDotwrightError& E) {
        // A value that does not convert leaves its cell blank; the rest of the grid still paints.
        qWarning().noquote() << E.Message();
    }
    if (!PaintGoesOn(Stamp))
        return;
    if (!(FOptions & goSelectFullRow) && ACol == FSelectedColumn && ARow == GetSelectedRow())
        DrawFocusFrame();
    ResetClip();
}

void TNxCustomGridControl::DrawEmptyCell(int ACol, int ARow)
{
    const unsigned Stamp = FChangeCount;
    if (FPaintStopped)
        return;
    TNxCustomColumn* Column = FColumns->Item(ACol);
    const QPalette Pal = palette();
    TColor CellColor = FColor;
    if ((FAppearanceOptions & aoIndicateSortedColumn) && Column->Sorted())
        CellColor = TGraphicsProvider::BlendColor(clBlack, CellColor, 10, Pal);
    TColor GridColor = FGridLinesStyle == lsActiveRows ? CellColor : FGridLinesColor;
    TCellState CellState = csEmpty;
    TRect CellRect = GetCellRect(ACol, ARow);
    if (!PaintGoesOn(Stamp))
        return;
    if (CellRect.Right < FClipBox.Left || CellRect.Left > FClipBox.Right || CellRect.Bottom < FClipBox.Top
        || CellRect.Top > FClipBox.Bottom)
        return;
    ClipTo(CellClipRect(Column, CellRect));
    if (FOptions & goGrid)
        DrawCellLines(CellRect, GridColor, false, Column == FColumns->LastVisible(), false);
    CellRect.Left += FLineWidths.Left;
    CellRect.Right -= FLineWidths.Right;
    DoCellColoring(ACol, ARow, CellColor, GridColor, CellState);
    bool DefaultDrawing = true;
    if (PaintGoesOn(Stamp))
        DoDrawCellBackground(ACol, ARow, CellRect, CellState, DefaultDrawing);
    if (!PaintGoesOn(Stamp))
        return;
    if (DefaultDrawing)
        FCanvas->fillRect(CellRect.ToQRect(), ToQColor(CellColor, Pal));
    ResetClip();
}

void TNxCustomGridControl::DrawIndicatorCell(int ARow, bool IsCurrent, bool Selected)
{
    const int Top = RowTop(ARow);
    const qint64 H = IsValidRow(ARow) ? GetRowHeight(ARow) : FRowSize;
    const TRect R{0, Top - FLineWidths.Top, IndicatorColumnWidth, static_cast<int>(std::min<qint64>(Top + H + FLineWidths.Bottom, FarPixels))};
    FActiveDisplay->DrawIndicatorCell(R, ARow);
    FActiveDisplay->DrawIndicatorMarks(R, IsCurrent, Selected);
}

TColor TNxCustomGridControl::GetCellColorFor(int ACol, int ARow) const
{
    const QPalette Pal = palette();
    TColor C = GetCellColor(ACol, ARow);
    if ((FAppearanceOptions & aoIndicateSortedColumn) && FColumns->IsValidIndex(ACol) && FColumns->Item(ACol)->Sorted())
        C = TGraphicsProvider::BlendColor(clBlack, C, 10, Pal);
    if (IsCellSelected(ACol, ARow)) {
        if (!Focused())
            return clBtnFace;
        if (FAppearanceOptions & aoAlphaBlendedSelection)
            return TGraphicsProvider::MixColors(C, clHighlight, 0.25, Pal);
        return FSelectionColor;
    }
    return C;
}

TColor TNxCustomGridControl::GetTextColor(int ACol, int ARow) const
{
    if (IsCellSelected(ACol, ARow) && Focused())
        return FHighlightedTextColor;
    return FColumns->IsValidIndex(ACol) ? FColumns->Item(ACol)->FontColor() : FFontColor;
}

bool TNxCustomGridControl::IsCellSelected(int ACol, int ARow) const
{
    if (FGridStyle == gsSlides && !(FAppearanceOptions & aoHighlightSlideCells))
        return false;
    if (FInputSelected)
        return false;
    if (FColumns->IsValidIndex(ACol) && (FColumns->Item(ACol)->Options() & coDontHighlight))
        return false;
    if (!Focused() && (FAppearanceOptions & aoHideSelection))
        return false;
    const bool IsCurrent = ACol == FSelectedColumn && ARow == GetSelectedRow();
    const bool UnderEditor = FEditing && ACol == FEditCol && ARow == FEditRow;
    if (FOptions & goSelectFullRow) {
        if (!IsValidRow(ARow) || !GetRowSelected(ARow))
            return false;
        if (!IsCurrent)
            return true;
        return !(FAppearanceOptions & aoIndicateSelectedCell) && !UnderEditor;
    }
    return IsCurrent && !UnderEditor;
}

bool TNxCustomGridControl::DrawCellContent(int ACol, int ARow, TCellState CellState)
{
    TNxCustomColumn* C = FColumns->Item(ACol);
    QFont F = C->Font();
    FCanvas->setFont(F);
    FCanvas->setPen(ToQColor(GetTextColor(ACol, ARow), palette()));
    ApplyCellFormatting(ACol, ARow, CellState);
    if (CellState & csBoldTextSelection) {
        F = FCanvas->font();
        F.setBold(true);
        FCanvas->setFont(F);
    }
    return false;
}

void TNxCustomGridControl::ApplyCellFormatting(int ACol, int ARow, TCellState CellState)
{
    Q_UNUSED(ACol);
    Q_UNUSED(ARow);
    Q_UNUSED(CellState);
}

void TNxCustomGridControl::PrepareDisplay(int ACol, int ARow, TColumnDisplay* Display)
{
    Q_UNUSED(ACol);
    Q_UNUSED(ARow);
    Q_UNUSED(Display);
}

TCellState TNxCustomGridControl::GetCellState(int ACol, int ARow)
{
    TCellState CellState = 0;
    TColor CellColor = GetCellColorFor(ACol, ARow);
    TColor GridColor = FGridLinesColor;
    if (IsCellSelected(ACol, ARow)) {
        CellState |= csSelected;
        if (FAppearanceOptions & aoBoldTextSelection)
            CellState |= csBoldTextSelection;
    }
    if (Focused() && !(FAppearanceOptions & aoHideFocus))
        CellState |= csFocused;
    DoCellColoring(ACol, ARow, CellColor, GridColor, CellState);
    return CellState;
}

void TNxCustomGridControl::DrawFocusFrame()
{
    const int Row = GetSelectedRow();
    if (FSelectedColumn < 0 || Row < 0 || FSelectedColumn >= FColumns->Count() || Row >= GetRowCount()
        || Row < FFirstRow)
        return;
    if (FInputSelected || !Focused() || (FAppearanceOptions & aoHideFocus))
        return;
    const TRect Body = GetBodyRect();
    TRect R;
    if (FOptions & goSelectFullRow) {
        const TRect RR = RowRect(Row);
        R = {Body.Left - HorzScrollPos(), RR.Top, FColumns->TotalWidth() - HorzScrollPos() + Body.Left - FLineWidths.Right,
             RR.Bottom - FLineWidths.Bottom};
    } else {
        const unsigned Stamp = FChangeCount;
        R = GetCellRect(FSelectedColumn, Row);
        if (!PaintGoesOn(Stamp))
            return;
        TNxCustomColumn* C = FColumns->Item(FSelectedColumn);
        if (ColumnScrolled(C) && R.Left < GetScrollArea().Left)
            R.Left = GetScrollArea().Left;
        R.Left += FLineWidths.Left;
        R.Right -= FLineWidths.Right;
        ClipTo(CellClipRect(C, R));
    }
    if (!RectsIntersect(R, Body))
        return;
    // A row cut by the body's bottom keeps its frame out of the footer.
    if (FOptions & goSelectFullRow)
        ClipTo(Body);
    TDrawProvider::DrawFocusFrame(*FCanvas, R, FAppearanceOptions & aoAlphaBlendedSelection, palette());
    ResetClip();
}

void TNxCustomGridControl::PaintSlides()
{
    const QPalette Pal = palette();
    const bool Focus = Focused();
    if (FOptions & goHeader) {
        FActiveDisplay->Themed = FEnableVisualStyles && ThemesAvailable();
        FCanvas->setFont(font());
        for (int P = 0; P < FColumns->Count(); ++P) {
            TNxCustomColumn* C = FColumns->ItemByPosition(P);
            if (C->Visible() && C->Left() <= ClientWidth())
                FActiveDisplay->DrawHeaderCell(*C, C->PartRect(caHeader));
        }
    }
    const TRect Body = GetBodyRect();
    int Y = Body.Top;
    for (int R = NextShownRow(FFirstRow); R < GetRowCount() && Y <= ClientHeight(); R = NextShownRow(R + 1)) {
        const TRect Band{0, Y, ClientWidth(), Y + FSlideSize + FLineWidths.Bottom};
        ClipTo(Band);
        TColor Back = FColor;
        if (GetRowSelected(R))
            Back = Focus ? FSlideSelectionColor : ((FSlidesOptions & soHideSelection) ? FColor : clBtnFace);
        FCanvas->fillRect(Band.ToQRect(), ToQColor(Back, Pal));
        for (int I = 0; I < FColumns->Count(); ++I) {
            if (!FColumns->Item(I)->Visible())
                continue;
            DrawCell(I, R);
            if (FPaintStopped)
                return;
            TNxCustomColumn* C = FColumns->Item(I);
            ClipTo(Band);
            const TRect Cell = GetCellRect(I, R);
            const QFontMetrics FM(font());
            FCanvas->setFont(font());
            FCanvas->setPen(ToQColor(clGrayText, Pal));
            FCanvas->drawText(QRect(Cell.Left + 2, Cell.Top - FM.height() - 2, C->Width(), FM.height() + 2),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, C->SlideCaption());
        }
        if (R == GetSelectedRow() && (FSlidesOptions & soFrame)) {
            const QColor Frame = ToQColor(Focus ? FSelectionColor : clBtnFace, Pal);
            FCanvas->setPen(Frame);
            FCanvas->setBrush(Qt::NoBrush);
            FCanvas->drawRect(Band.ToQRect().adjusted(0, 0, -1, -1));
            FCanvas->drawRect(Band.ToQRect().adjusted(1, 1, -2, -2));
        }
        Y += FSlideSize + FLineWidths.Bottom;
        if (FOptions & goGrid)
            FCanvas->fillRect(QRect(0, Y - 1, ClientWidth(), 1), ToQColor(clBtnFace, Pal));
        ResetClip();
    }
    if (Y < ClientHeight())
        FCanvas->fillRect(QRect(0, Y, ClientWidth(), ClientHeight() - Y), ToQColor(FColor, Pal));
}
