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

// The glyph's cells from the bitmap: any pixel darker than mid-grey is ink,
// the rest clear, as a two-colour bitmap would hold them. Every pixel that is
// not white is made white again, ready for the next glyph. Read straight from
// the scan lines in the cells' column order, in one pass: with a pass that
// made the bitmap two-coloured, then TCharClass::LoadFromBitmap calling
// QImage::pixel per cell, importing 224 glyphs at 28 points took 7.4 times
// as long as drawing them (bench_project_file), now 2.
void ReadGlyph(QImage& Bitmap, TCharClass& Char)
{
    constexpr QRgb White = qRgb(255, 255, 255);
    const int W = Char.Width;
    const int H = Char.Height;
    uchar* Bits = Bitmap.bits();
    const qsizetype Line = Bitmap.bytesPerLine();
    TColor* Cell = Char.Cells.data();
    const auto Read = [](QRgb& P) {
        if (P == White)
            return clClear;
        const bool Ink = qGray(P) < 128;
        P = White;
        return Ink ? clInk : clClear;
    };
    for (int X = 0; X < W; ++X) {
        uchar* Pixel = Bits + sizeof(QRgb) * size_t(X);
        const auto At = [&](int Y) -> QRgb& { return *reinterpret_cast<QRgb*>(Pixel + Line * Y); };
        int Y = 0;
        // Four rows at a time while they are white, as most of a glyph's cell is.
        for (; Y + 4 <= H; Y += 4, Cell += 4)
            if ((At(Y) & At(Y + 1) & At(Y + 2) & At(Y + 3)) == White)
                std::fill_n(Cell, 4, clClear);
            else
                for (int I = 0; I < 4; ++I)
                    Cell[I] = Read(At(Y + I));
        for (; Y < H; ++Y)
            *Cell++ = Read(At(Y));
    }
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
    Bitmap.fill(Qt::white);
    // One painter for the whole range: the raster engine draws at once, so
    // the bitmap can be read between two glyphs.
    QPainter Painter(&Bitmap);
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setRenderHint(QPainter::TextAntialiasing, false);
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    for (int C = From; C <= To; ++C) {
        Painter.drawText(0, Metrics.ascent(), Win1252Char(C));
        auto Char = std::make_unique<TCharClass>(C, W, H);
        ReadGlyph(Bitmap, *Char);
        SetChar(C, std::move(Char));
    }
}
