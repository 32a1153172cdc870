// The value slots, the content display's text, hint mark and background, and
// the value player of a column.
#include "NxColumns.h"

#include <QFontMetrics>
#include <QPainter>

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

