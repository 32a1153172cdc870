#include "NxDisplays.h"

#include "NxColumnClasses.h"
#include "NxSharedDraw.h"
#include "NxThemesSupport.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <cmath>

TStyleDisplay::TStyleDisplay(TNxGridLink* Grid)
    : FGrid(Grid)
{
}

QColor TStyleDisplay::Col(TColor C) const
{
    return ToQColor(C, FGrid ? FGrid->Palette() : QApplication::palette());
}

void TStyleDisplay::Line(int X1, int Y1, int X2, int Y2, TColor C)
{
    if (!Canvas)
        return;
    if (Y1 == Y2) {
        if (X2 > X1)
            Canvas->fillRect(QRect(X1, Y1, X2 - X1, 1), Col(C));
        else if (X2 < X1)
            Canvas->fillRect(QRect(X2 + 1, Y1, X1 - X2, 1), Col(C));
    } else if (X1 == X2) {
        if (Y2 > Y1)
            Canvas->fillRect(QRect(X1, Y1, 1, Y2 - Y1), Col(C));
        else
            Canvas->fillRect(QRect(X1, Y2 + 1, 1, Y1 - Y2), Col(C));
    } else {
        Canvas->save();
        Canvas->setPen(Col(C));
        Canvas->drawLine(X1, Y1, X2, Y2);
        Canvas->restore();
    }
}

void TStyleDisplay::Pixel(int X, int Y, TColor C)
{
    if (Canvas)
        Canvas->fillRect(QRect(X, Y, 1, 1), Col(C));
}

void TStyleDisplay::Fill(const TRect& R, TColor C)
{
    if (Canvas && !R.IsEmpty())
        Canvas->fillRect(R.ToQRect(), Col(C));
}

void TStyleDisplay::Polyline(const std::initializer_list<QPoint>& Points, TColor C)
{
    const QPoint* Prev = nullptr;
    for (const QPoint& P : Points) {
        if (Prev)
            Line(Prev->x(), Prev->y(), P.x(), P.y(), C);
        Prev = &P;
    }
}

void TStyleDisplay::Invert(const TRect& R)
{
    if (!Canvas || R.IsEmpty())
        return;
    Canvas->save();
    Canvas->setCompositionMode(QPainter::RasterOp_NotDestination);
    Canvas->fillRect(R.ToQRect(), Qt::black);
    Canvas->restore();
}

int TStyleDisplay::SortMarkIndent(const TNxCustomColumn& Column) const
{
    if (!ShowSortMark || !PaintHeaderBackground)
        return 0;
    return Themed && Column.Header().DisplayMode() == dmTextOnly ? 11 : 2;
}

void TStyleDisplay::DrawSortMark(int X, int Y, bool Ascending)
{
    if (!Canvas)
        return;
    if (Themed) {
        Canvas->save();
        Canvas->setRenderHint(QPainter::Antialiasing, false);
        Canvas->setPen(Col(clGrayText));
        Canvas->setBrush(Col(clGrayText));
        QPolygon P;
        if (Ascending)
            P << QPoint(X, Y + 4) << QPoint(X + 4, Y) << QPoint(X + 8, Y + 4);
        else
            P << QPoint(X, Y) << QPoint(X + 4, Y + 4) << QPoint(X + 8, Y);
        Canvas->drawPolygon(P);
        Canvas->restore();
        return;
    }
    if (Ascending) {
        Polyline({{X + 7, Y + 6}, {X, Y + 6}, {X, Y + 5}, {X + 1, Y + 5}, {X + 1, Y + 3}, {X + 2, Y + 3},
                  {X + 2, Y + 1}, {X + 3, Y + 1}, {X + 3, Y - 1}},
                 clBtnShadow);
        Polyline({{X + 7, Y + 5}, {X + 6, Y + 5}, {X + 6, Y + 3}, {X + 5, Y + 3}, {X + 5, Y + 1}, {X + 4, Y + 1},
                  {X + 4, Y - 1}},
                 clBtnHighlight);
    } else {
        Polyline({{X + 7, Y}, {X, Y}, {X, Y + 1}, {X + 1, Y + 1}, {X + 1, Y + 3}, {X + 2, Y + 3}, {X + 2, Y + 5},
                  {X + 3, Y + 5}, {X + 3, Y + 7}},
                 clBtnShadow);
        Polyline({{X + 7, Y + 1}, {X + 6, Y + 1}, {X + 6, Y + 3}, {X + 5, Y + 3}, {X + 5, Y + 5}, {X + 4, Y + 5},
                  {X + 4, Y + 7}},
                 clBtnHighlight);
    }
}

void TStyleDisplay::DrawHeaderContent(TNxCustomColumn& Column, const TRect& R)
{
    if (!Canvas)
        return;
    const TColumnHeader& H = Column.Header();
    const QFontMetrics FM = Canvas->fontMetrics();
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    int TextWidth = 0;
    if (H.DisplayMode() != dmImageOnly)
        TextWidth = H.Orientation() == hoVertical ? FM.height() + 2 : FM.horizontalAdvance(H.Caption()) + 2;
    int X = L + 2;
    const QImage& Glyph = H.Glyph();
    if (!Glyph.isNull() && H.DisplayMode() != dmTextOnly) {
        const int GlyphY = (T + (B - T) / 2) - Glyph.height() / 2;
        int GlyphX = L + 3;
        switch (H.Alignment()) {
        case taLeftJustify: GlyphX = L + 3; break;
        case taRightJustify:
            GlyphX = Rt - Glyph.width() - TextWidth - 2 - (Column.Sorted() ? 31 : 0);
            break;
        case taCenter: GlyphX = (L + (Rt - L) / 2) - (Glyph.width() + TextWidth) / 2; break;
        }
        X = GlyphX + Glyph.width() + 2;
        NxSharedDraw::DrawBitmap(*Canvas, GlyphX, GlyphY, Glyph);
    } else {
        switch (H.Alignment()) {
        case taLeftJustify: X = L + 2; break;
        case taRightJustify: X = Rt - TextWidth - (Column.Sorted() ? 31 : 0); break;
        case taCenter: X = (L + (Rt - L) / 2) - TextWidth / 2; break;
        }
    }
    if (H.DisplayMode() != dmImageOnly) {
        TRect TR = Rect(X, T, Rt, B);
        AdjustTextRect(TR);
        if (H.Orientation() == hoHorizontal) {
            int Flags = Qt::AlignVCenter | (H.MultiLine() ? Qt::TextWordWrap : Qt::TextSingleLine);
            Flags |= RightToLeft ? Qt::AlignRight : Qt::AlignLeft;
            QString Shown = H.Caption();
            if (!H.MultiLine())
                Shown = FM.elidedText(Shown, Qt::ElideRight, std::max(0, TR.Width()));
            if (!TR.IsEmpty()) {
                Canvas->save();
                Canvas->setBrush(Qt::NoBrush);
                Canvas->setLayoutDirection(RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
                Canvas->drawText(TR.ToQRect(), Flags, Shown);
                Canvas->restore();
            }
        } else {
            TDrawProvider::DrawVerticalText(*Canvas, TR, H.Caption());
        }
    }
    if (ShowSortMark && Column.Sorted()) {
        const int MarkY = (T + (B - T) / 2) - 4;
        const int MarkX = X + TextWidth + 19;
        if (X + TextWidth + 27 < Rt && !(StyleFlags() & sfOwnSortMark))
            DrawSortMark(MarkX, MarkY, Column.SortKind() == skAscending);
    }
    if (Column.IsPressedHeader() && (StyleFlags() & sfInvertPressed))
        Invert(R);
}

void TStyleDisplay::DrawFixedArea(const TRect& R)
{
    DrawFixedBackground(R);
}

void TStyleDisplay::DrawFixedBackground(const TRect& R)
{
    Fill(R, FGrid ? FGrid->Color() : clWindow);
}

void TStyleDisplay::DrawFooterCell(TNxCustomColumn& Column, const TRect& R, bool Pressed)
{
    if (!Canvas)
        return;
    const TColumnFooter& F = Column.Footer();
    TRect TextR = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    Canvas->setFont(Column.Font());
    Canvas->setPen(Col(Column.FontColor()));
    TRect Back = TextR;
    if (Pressed) {
        Back.Right -= 1;
        Back.Bottom -= 1;
    }
    Fill(Back, F.Color());
    if (Pressed) {
        Line(TextR.Right - 1, TextR.Top, TextR.Right - 1, TextR.Bottom, clBtnFace);
        Line(TextR.Left, TextR.Bottom - 1, TextR.Right, TextR.Bottom - 1, clBtnFace);
    }
    int TextLeft = TextR.Left;
    if (!F.Glyph().isNull() && (F.DisplayMode() == dmImageOnly || F.DisplayMode() == dmTextAndImage)) {
        const int GY = (TextR.Top + TextR.Bottom) / 2 - F.Glyph().height() / 2;
        NxSharedDraw::DrawBitmap(*Canvas, TextR.Left + 2, GY, F.Glyph());
        TextLeft = TextR.Left + 2 + F.Glyph().width() + 2;
    }
    if (F.DisplayMode() != dmImageOnly)
        TDrawProvider::DrawTextRect(*Canvas, Rect(TextLeft, TextR.Top, TextR.Right, TextR.Bottom), RightToLeft,
                                    ApplyFormatMask(F.Caption(), F.FormatMask()), taLeftJustify);
}

void TStyleDisplay::DrawHeaderCell(TNxCustomColumn& Column, const TRect& R)
{
    if (PaintHeaderBackground)
        DrawHeaderBackground(Column, R);
    DrawHeaderContent(Column, R);
}

void TStyleDisplay::DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R)
{
    Q_UNUSED(Column);
    Q_UNUSED(R);
}

void TStyleDisplay::DrawIndicatorCell(const TRect& R, int Index)
{
    const int T = R.Top, B = R.Bottom, Rt = R.Right;
    Fill(Rect(1, T + 1, Rt - 1, B), clBtnFace);
    Line(0, T, 0, B + 1, clBtnHighlight);
    Line(Index >= 1 ? 2 : 1, T, Rt - 1, T, clBtnHighlight);
    Line(Rt - 1, T, Rt - 1, B, clBtnShadow);
    Line(0, B - 1, Rt, B - 1, clBtnShadow);
    if (Index >= 1) {
        // The top line starts at x = 2: the corner is button face up to it.
        Fill(Rect(0, T, 2, T + 1), clBtnFace);
        Pixel(Rt - 1, T, clBtnFace);
    }
    Pixel(0, B - 1, clBtnFace);
    Pixel(Rt - 1, B - 1, clBtnFace);
}

void TStyleDisplay::DrawIndicatorMarks(const TRect& R, bool Current, bool Selected)
{
    if (!Canvas)
        return;
    if (Current) {
        const QPoint P = TCalcProvider::PlaceInRect(6, 11, taCenter, vaMiddle, R, 0);
        Canvas->save();
        Canvas->setRenderHint(QPainter::Antialiasing, false);
        Canvas->setPen(Col(clWindowText));
        Canvas->setBrush(Col(clWindowText));
        QPolygon Tri;
        Tri << P << QPoint(P.x() + 5, P.y() + 5) << QPoint(P.x(), P.y() + 10);
        Canvas->drawPolygon(Tri);
        Canvas->restore();
    }
    if (Selected)
        Invert(R);
}

void TStyleDisplay::DrawInputCell(TNxCustomColumn& Column, const TRect& R, bool Pressed, bool Focused, bool Selected)
{
    if (!Canvas)
        return;
    QFont F = Column.Font();
    F.setBold(false);
    F.setItalic(false);
    F.setUnderline(false);
    F.setStrikeOut(false);
    Canvas->setFont(F);
    const bool InputOff = !(Column.Options() & coCanInput);
    TColor Brush = Column.Color();
    TColor Text = clGrayText;
    if (Focused && !InputOff) {
        if (Column.IsCurrent()) {
            Brush = Column.Color();
            Text = clGrayText;
        } else if (Selected) {
            Brush = clHighlight;
            Text = clHighlightText;
        } else {
            Brush = clBtnFace;
            Text = clHighlightText;
        }
    }
    TRect Box = R;
    if (Pressed && Focused) {
        Box.Right -= 1;
        Box.Bottom -= 1;
    }
    if (InputOff) {
        Canvas->save();
        Canvas->setPen(Col(Brush));
        Canvas->setBrush(Qt::NoBrush);
        Canvas->drawRect(Box.ToQRect().adjusted(0, 0, -1, -1));
        Canvas->restore();
    } else {
        Fill(Box, Brush);
    }
    if (Pressed && Focused) {
        Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, clHighlight);
        Line(R.Left, R.Bottom - 1, R.Right, R.Bottom - 1, clHighlight);
    }
    Canvas->save();
    Canvas->setPen(Col(Text));
    const TRect TR = Rect(R.Left + 2, R.Top, R.Right - 1, R.Bottom - 1);
    if (Column.InputValue().isEmpty())
        TDrawProvider::DrawTextRect(*Canvas, TR, RightToLeft, Column.InputCaption(), taCenter);
    else
        TDrawProvider::DrawTextRect(*Canvas, TR, RightToLeft, Column.InputValue(), Column.Alignment());
    Canvas->restore();
}

void TStyleDisplay::DrawEmptyHeaderArea(const TRect& R)
{
    Fill(R, FGrid ? FGrid->Color() : clWindow);
}

// ---- hsAuto ----

void TDefaultStyleDisplay::DrawFixedBackground(const TRect& R)
{
    if (Themed && Canvas)
        DrawThemed(FGrid ? FGrid->Control() : nullptr, *Canvas, R, QStringLiteral("header"), 1, 1);
    else if (Canvas)
        TDrawProvider::DrawButtonBox(*Canvas, R, false, FGrid ? FGrid->Palette() : QApplication::palette());
}

void TDefaultStyleDisplay::DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R)
{
    if (Themed)
        DrawThemedColumnHeader(Column, R);
    else
        DrawColumnHeader(Column, R);
}

void TDefaultStyleDisplay::DrawIndicatorCell(const TRect& R, int Index)
{
    if (Themed && Canvas)
        DrawThemed(FGrid ? FGrid->Control() : nullptr, *Canvas, R, QStringLiteral("header"), 2, 1);
    else
        TStyleDisplay::DrawIndicatorCell(R, Index);
}

void TDefaultStyleDisplay::DrawEmptyHeaderArea(const TRect& R)
{
    if (Themed && Canvas)
        DrawThemed(FGrid ? FGrid->Control() : nullptr, *Canvas, R, QStringLiteral("header"), 2, 1);
    else
        TStyleDisplay::DrawEmptyHeaderArea(R);
}

void TDefaultStyleDisplay::DrawColumnHeader(TNxCustomColumn& Column, const TRect& R)
{
    const TColor HC = Column.Header().Color();
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    Fill(Rect(L + 1, T + 1, Rt - 1, B - 1), HC);
    const int Place = Column.PlaceAmongVisible();
    if (Place == 0) {
        Line(L, T, Rt - 1, T, clBtnHighlight);
        Line(L, T, L, B - 1, clBtnHighlight);
        Line(Rt - 1, T, Rt - 1, B, clBtnShadow);
        Line(L, B - 1, Rt, B - 1, clBtnShadow);
        return;
    }
    Line(L, T, Rt, T, clBtnHighlight);
    Line(L, B - 1, Rt, B - 1, clBtnShadow);
    if (Place == 1) {
        Line(L, T + 1, L, B - 1, clBtnHighlight);
    } else {
        Line(L, T + 2, L, B - 2, clBtnHighlight);
        Pixel(L, T + 1, HC);
        Pixel(L, B - 2, HC);
    }
    if (Place == 3) {
        Line(Rt - 1, T, Rt - 1, B - 1, clBtnShadow);
    } else {
        Line(Rt - 1, T + 2, Rt - 1, B - 2, clBtnShadow);
        Pixel(Rt - 1, T + 1, HC);
        Pixel(Rt - 1, B - 2, HC);
    }
}

void TDefaultStyleDisplay::DrawThemedColumnHeader(TNxCustomColumn& Column, const TRect& R)
{
    if (!Canvas)
        return;
    const int State = Column.IsPressedHeader() ? 3 : Column.IsHotHeader() ? 2 : 1;
    DrawThemed(FGrid ? FGrid->Control() : nullptr, *Canvas, R, QStringLiteral("header"), 1, State);
}

// ---- hsFlatBorders ----

void TFlatStyleDisplay::DrawFixedArea(const TRect& R)
{
    Fill(R, clBtnFace);
}

void TFlatStyleDisplay::DrawFixedBackground(const TRect& R)
{
    Fill(R, clBtnFace);
    Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, clGrayText);
    Line(R.Left, R.Bottom - 1, R.Right, R.Bottom - 1, clGrayText);
}

void TFlatStyleDisplay::DrawIndicatorCell(const TRect& R, int Index)
{
    Q_UNUSED(Index);
    DrawFixedBackground(R);
}

void TFlatStyleDisplay::DrawColumnHeader(TNxCustomColumn& Column, const TRect& R)
{
    Fill(R, Column.Header().Color());
    Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, clGrayText);
    Line(R.Left, R.Bottom - 1, R.Right, R.Bottom - 1, clGrayText);
}

// ---- hsOldStyle ----

void TOldStyleDisplay::DrawFixedBackground(const TRect& R)
{
    if (Canvas)
        TDrawProvider::DrawButtonBox(*Canvas, R, true, FGrid ? FGrid->Palette() : QApplication::palette());
}

void TOldStyleDisplay::DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R)
{
    Q_UNUSED(Column);
    DrawFixedBackground(R);
}

void TOldStyleDisplay::DrawIndicatorCell(const TRect& R, int Index)
{
    Q_UNUSED(Index);
    DrawFixedBackground(R);
}

// ---- hsOutlook ----

void TOutlookStyleDisplay::DrawBand(const TRect& R, TColor Base)
{
    const QPalette P = FGrid ? FGrid->Palette() : QApplication::palette();
    const int Alphas[3] = {50, 100, 150};
    for (int I = 0; I < 3; ++I)
        Line(R.Left, R.Bottom - 3 + I, R.Right, R.Bottom - 3 + I,
             TGraphicsProvider::BlendColor(clBtnShadow, Base, Alphas[I], P));
}

void TOutlookStyleDisplay::DrawFixedArea(const TRect& R)
{
    if (Canvas)
        TDrawProvider::DrawButtonBox(*Canvas, R, false, FGrid ? FGrid->Palette() : QApplication::palette());
}

void TOutlookStyleDisplay::DrawFixedBackground(const TRect& R)
{
    Fill(Rect(R.Left, R.Top, R.Right, R.Bottom - 3), clBtnFace);
    DrawBand(R, clBtnFace);
    Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, clBtnShadow);
}

void TOutlookStyleDisplay::DrawColumnHeader(TNxCustomColumn& Column, const TRect& R)
{
    const TColor HC = Column.Header().Color();
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    Fill(Rect(L, T, Rt, B - 3), HC);
    DrawBand(R, HC);
    const int Place = Column.PlaceAmongVisible();
    if (Place == 0 || Place == 1)
        Line(L, T, L, B - 3, clBtnHighlight);
    else
        Line(L, T + 2, L, B - 4, clBtnHighlight);
    if (Place == 0 || Place == 3)
        Line(Rt - 1, T, Rt - 1, B, clBtnShadow);
    else
        Line(Rt - 1, T + 2, Rt - 1, B - 4, clBtnShadow);
}

// ---- hsVista ----

void TVistaStyleDisplay::DrawIndicatorCell(const TRect& R, int Index)
{
    Q_UNUSED(Index);
    Fill(Rect(R.Left + 1, R.Top, R.Right - 1, R.Bottom), static_cast<TColor>(0xF0F0F0));
    Line(R.Left, R.Top, R.Left, R.Bottom, clWhite);
    Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, clBtnFace);
}

void TVistaStyleDisplay::DrawColumnHeader(TNxCustomColumn& Column, const TRect& R)
{
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    Line(L, T, L, B, clWhite);
    Line(Rt - 1, T, Rt - 1, B, clBtnFace);
    const TRect In = Rect(L + 1, T, Rt - 1, B);
    if (!Column.Sorted()) {
        Fill(In, static_cast<TColor>(0xF0F0F0));
        return;
    }
    const TColor Top = (240 << 16) | (220 << 8) | 175; // RGB(175, 220, 240)
    if (Canvas)
        NxSharedDraw::DrawVerticalGradient(*Canvas, Rect(In.Left, T, In.Right, std::min(T + 6, B)), Top, clWhite);
    Fill(Rect(In.Left, T + 6, In.Right, B), clWhite);
    if (!Canvas)
        return;
    // A small white mark, 6 pixels wide, at the top centre.
    const int CX = (L + Rt) / 2 - 3;
    Canvas->save();
    Canvas->setRenderHint(QPainter::Antialiasing, false);
    Canvas->setPen(Qt::white);
    Canvas->setBrush(Qt::white);
    QPolygon P;
    if (Column.SortKind() == skAscending)
        P << QPoint(CX, T + 3) << QPoint(CX + 3, T) << QPoint(CX + 6, T + 3);
    else
        P << QPoint(CX, T) << QPoint(CX + 3, T + 3) << QPoint(CX + 6, T);
    Canvas->drawPolygon(P);
    Canvas->restore();
}

// ---- content displays ----

void TTextualColumnDisplay::PaintContent()
{
    QString Text = AsString;
    if (auto* T = dynamic_cast<TNxTextColumn*>(FColumn))
        Text = T->TextBefore() + AsString + T->TextAfter();
    DrawTextRect(Text, GetContentRect());
}

void TImageColumnDisplay::PaintContent()
{
    auto* C = dynamic_cast<TNxImageColumn*>(FColumn);
    if (!C || !Canvas)
        return;
    const TNxImageList* Images = C->Images();
    if (!Images || AsInteger < 0 || AsInteger >= Images->Count())
        return;
    const QPoint P = TCalcProvider::PlaceInRect(Images->Width(), Images->Height(), C->Alignment(),
                                                C->VerticalAlignment(), CellRect, 2);
    Images->Draw(*Canvas, P.x(), P.y(), AsInteger, true);
}
