// The value slots, the content display's text, hint mark and background, and
// the value player of a column.
#include "NxColumns.h"

#include <QFontMetrics>
#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <cmath>
#include <vector>

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
    if (!RightToLeft && (FColumn->WrapKind() == wkNone || FColumn->WrapKind() == wkEllipsis)) {
        DrawSingleLine(Text, R);
        return;
    }
    QString Shown = Text;
    switch (FColumn->WrapKind()) {
    case wkNone: Flags |= Qt::TextSingleLine; break;
    case wkEllipsis:
        Flags |= Qt::TextSingleLine;
        Shown = Canvas->fontMetrics().elidedText(Text, Qt::ElideRight, QR.width());
        break;
    case wkPathEllipsis: Shown = Canvas->fontMetrics().elidedText(Text, Qt::ElideMiddle, QR.width()); break;
    case wkWordWrap:
        // Wrapped lines start at the top whatever the vertical alignment, as
        // the platform's text drawing does: none is cut off above the cell.
        Flags = (Flags & ~Qt::AlignVertical_Mask) | Qt::AlignTop | Qt::TextWordWrap;
        break;
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

namespace {

// Laid-out lines by text and font. Shaping a line anew costs about 9 us of the
// 12 us a cell's text took; a prepared line draws in about 1 us, which made the
// repaint of the list of characters twice as fast.
struct TLineCache {
    struct TEntry {
        QFont Font;
        QStaticText Line;
    };
    QHash<QString, std::vector<TEntry>> Entries;
    int Count = 0;

    const QStaticText& Get(const QString& Text, const QFont& Font)
    {
        auto& List = Entries[Text];
        for (const TEntry& E : List)
            if (E.Font == Font)
                return E.Line;
        if (Count > 4096) {
            Entries.clear();
            Count = 0;
            return Get(Text, Font);
        }
        QStaticText Line(Text);
        Line.setTextFormat(Qt::PlainText);
        Line.setPerformanceHint(QStaticText::AggressiveCaching);
        Line.prepare(QTransform(), Font);
        ++Count;
        List.push_back({Font, Line});
        return List.back().Line;
    }
};

TLineCache& LineCache()
{
    static TLineCache Cache;
    static const bool Registered = [] {
        // The fonts it holds must go before the application's font database does.
        qAddPostRoutine([] {
            LineCache().Entries.clear();
            LineCache().Count = 0;
        });
        return true;
    }();
    Q_UNUSED(Registered);
    return Cache;
}

} // namespace

// One line placed by the font's metrics; the grid clips every cell already.
void TColumnDisplay::DrawSingleLine(const QString& Text, const TRect& R)
{
    const QFont Font = Canvas->font();
    const QFontMetrics FM(Font);
    const QStaticText* Line = &LineCache().Get(Text, Font);
    int W = static_cast<int>(std::ceil(Line->size().width()));
    if (FColumn->WrapKind() == wkEllipsis && W > R.Width()) {
        Line = &LineCache().Get(FM.elidedText(Text, Qt::ElideRight, R.Width()), Font);
        W = static_cast<int>(std::ceil(Line->size().width()));
    }
    int X = R.Left;
    switch (FColumn->Alignment()) {
    case taLeftJustify: break;
    case taRightJustify: X = R.Right - W; break;
    case taCenter: X = R.Left + (R.Width() - W) / 2; break;
    }
    int Y = R.Top;
    switch (FColumn->VerticalAlignment()) {
    case vaTop: break;
    case vaMiddle: Y = R.Top + (R.Height() - FM.height()) / 2; break;
    case vaBottom: Y = R.Bottom - FM.height(); break;
    }
    if (FColumn->WrapKind() == wkNone) {
        Canvas->save();
        Canvas->setClipRect(R.ToQRect(), Qt::IntersectClip);
        Canvas->drawStaticText(X, Y, *Line);
        Canvas->restore();
    } else {
        Canvas->drawStaticText(X, Y, *Line);
    }
    FTextHeight = R.Height();
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

