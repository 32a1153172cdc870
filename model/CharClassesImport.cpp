// Import of a character range from an installed font.
#include "CharClasses.h"

#include "DwError.h"
#include "unHelpers.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <cmath>

namespace {

QFont ImportFont(const QString& AFontName, int Size, unsigned Style)
{
    QFont Font(AFontName);
    // Sizes are points on a 96 dpi screen.
    Font.setPixelSize(std::max(1, int(std::lround(Size * 96.0 / 72.0))));
    Font.setBold(Style & TFontStyle::fsBold);
    Font.setItalic(Style & TFontStyle::fsItalic);
    Font.setUnderline(Style & TFontStyle::fsUnderline);
    Font.setStrikeOut(Style & TFontStyle::fsStrikeOut);
    // Two colours only, and no glyphs borrowed from other fonts.
    Font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    return Font;
}

// The cell is the widest advance by the font's full height. Measured per
// character, so that a tab is one glyph and not a tab stop.
QSize CellSize(const QFontMetrics& Metrics, int From, int To)
{
    int W = 0;
    for (int C = From; C <= To; ++C)
        W = std::max(W, Metrics.horizontalAdvance(Win1252Char(C).front()));
    return QSize(std::max(1, W), std::max(1, Metrics.height()));
}

} // namespace

QSize TGLCDFont::ImportCellSize(const QString& AFontName, int Size, unsigned Style, int From, int To)
{
    if (From > To)
        return QSize();
    return CellSize(QFontMetrics(ImportFont(AFontName, Size, Style)), From, To);
}

void TGLCDFont::ImportSystemFont(const QString& AFontName, int Size, unsigned Style, int From,
                                 int To)
{
    if (From < 0 || From >= MaxChars || To < 0 || To >= MaxChars)
        throw EDotwrightError(QStringLiteral(
            "Range %1 to %2 out of bounds in call to TGLCDFont.ImportSystemFont").arg(From).arg(To));
    RangeFrom = From;
    RangeTo = To;
    FreeChars();
    if (From > To)
        return;

    const QFont Font = ImportFont(AFontName, Size, Style);
    const QFontMetrics Metrics(Font);
    const QSize Cell = CellSize(Metrics, From, To);
    const int W = Cell.width();
    const int H = Cell.height();

    QImage Bitmap(W, H, QImage::Format_RGB32);
    for (int C = From; C <= To; ++C) {
        Bitmap.fill(Qt::white);
        {
            QPainter Painter(&Bitmap);
            Painter.setRenderHint(QPainter::Antialiasing, false);
            Painter.setRenderHint(QPainter::TextAntialiasing, false);
            Painter.setFont(Font);
            Painter.setPen(Qt::black);
            Painter.drawText(0, Metrics.ascent(), Win1252Char(C));
        }
        // Any pixel darker than mid-grey is ink; the rest is clear.
        for (int Y = 0; Y < H; ++Y) {
            QRgb* Line = reinterpret_cast<QRgb*>(Bitmap.scanLine(Y));
            for (int X = 0; X < W; ++X)
                Line[X] = qGray(Line[X]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
        auto Char = std::make_unique<TCharClass>(C, W, H);
        Char->LoadFromBitmap(&Bitmap, true);
        SetChar(C, std::move(Char));
    }
}
