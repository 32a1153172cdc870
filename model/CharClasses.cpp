#include "CharClasses.h"

#include "DwError.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

bool ValidCode(int Code) { return Code >= 0 && Code < TGLCDFont::MaxChars; }

// Qt's QRgb is 0xAARRGGBB; the model's colour is 0x00BBGGRR.
TColor ColorFromRgb(QRgb Rgb)
{
    return TColor((qBlue(Rgb) << 16) | (qGreen(Rgb) << 8) | qRed(Rgb));
}

} // namespace

QColor ModelToQColor(TColor Value)
{
    return QColor(Value & 0xFF, (Value >> 8) & 0xFF, (Value >> 16) & 0xFF);
}

TCharClass::TCharClass(int ACode, int AWidth, int AHeight)
{
    // The second of these sizes the cells, all 0: filled once, not again.
    SetWidth(AWidth);
    SetHeight(AHeight);
    Code = ACode;
}

void TCharClass::Fill(TColor Value)
{
    std::fill(Cells.begin(), Cells.end(), Value);
}

TColor TCharClass::GetCellValue(int X, int Y) const
{
    if (X < 0 || X >= Width || Y < 0 || Y >= Height)
        throw EDotwrightError(
            QString::asprintf("Index (Row:%d,Col:%d) out of bounds in call to TCharClass.GetCellValue", X, Y));
    return Cells[size_t(X) * size_t(Height) + size_t(Y)];
}

void TCharClass::SetCellValue(int X, int Y, TColor Value)
{
    if (X < 0 || X >= Width || Y < 0 || Y >= Height)
        throw EDotwrightError(
            QString::asprintf("Index (Row:%d,Col:%d) out of bounds in call to TCharClass.SetCellValue", X, Y));
    Cells[size_t(X) * size_t(Height) + size_t(Y)] = Value;
}

// A negative size is treated as 0 so the cell array always matches the extents.
void TCharClass::SetWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == Width)
        return;
    Width = Value;
    Cells.resize(size_t(Width) * size_t(Height)); // new entries 0, set by memset
}

void TCharClass::SetHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == Height)
        return;
    Height = Value;
    Cells.resize(size_t(Width) * size_t(Height)); // new entries 0, set by memset
}

void TCharClass::LoadFromBitmap(const QImage* Bitmap, bool Resize)
{
    if (!Bitmap)
        return;
    Fill(clClear);
    if (Resize) {
        SetWidth(Bitmap->width());
        SetHeight(Bitmap->height());
    }
    const int W = std::min(Width, Bitmap->width());
    const int H = std::min(Height, Bitmap->height());
    for (int X = 0; X < W; ++X)
        for (int Y = 0; Y < H; ++Y)
            SetCellValue(X, Y, ColorFromRgb(Bitmap->pixel(X, Y)));
}

void TCharClass::DrawTo(QPainter* Canvas, int Left, int Top, int DotSize) const
{
    if (!Canvas || Width <= 0 || Height <= 0 || DotSize <= 0)
        return;
    // One picture drawn once: a fill per dot made the character list's repaint
    // about five times slower. The gaps stay transparent, so the background
    // under the character shows through them as before. The picture is kept
    // between calls: every dot is written again and the gaps never change for
    // one size and dot size, so it needs no new buffer and no clearing.
    const int Step = DotSize + 1;
    const QSize Size(Width * Step - 1, Height * Step - 1);
    static QImage Picture;
    static int PictureDot = 0;
    if (Picture.size() != Size || PictureDot != DotSize) {
        Picture = QImage(Size, QImage::Format_ARGB32_Premultiplied);
        Picture.fill(Qt::transparent);
        PictureDot = DotSize;
    }
    uchar* Bits = Picture.bits();
    const qsizetype Line = Picture.bytesPerLine();
    const size_t LineBytes = sizeof(QRgb) * size_t(Size.width());
    for (int Y = 0; Y < Height; ++Y) {
        // The first line of a row of dots, copied to the dot's other lines.
        uchar* First = Bits + Line * (Y * Step);
        auto* Out = reinterpret_cast<QRgb*>(First);
        for (int X = 0; X < Width; ++X) {
            const TColor V = Cells[size_t(X) * size_t(Height) + size_t(Y)];
            std::fill_n(Out + X * Step, DotSize, qRgb(V & 0xFF, (V >> 8) & 0xFF, (V >> 16) & 0xFF));
        }
        for (int L = 1; L < DotSize; ++L)
            std::memcpy(First + Line * L, First, LineBytes);
    }
    Canvas->drawImage(Left, Top, Picture);
}

TGLCDFont::TGLCDFont(const QString& AFontName) : FontName(AFontName) {}

TGLCDFont::~TGLCDFont() = default;

void TGLCDFont::FreeChars()
{
    for (auto& C : Chars)
        C.reset();
}

int TGLCDFont::CharCount() const { return RangeTo - RangeFrom + 1; }

int TGLCDFont::GetWidth() const
{
    const TCharClass* C = GetChar(RangeFrom);
    return C ? C->Width : -1;
}

int TGLCDFont::GetHeight() const
{
    const TCharClass* C = GetChar(RangeFrom);
    return C ? C->Height : -1;
}

QString TGLCDFont::SizeText() const
{
    return QString::number(GetWidth()) + " x " + QString::number(GetHeight());
}

QString TGLCDFont::SizeTag() const
{
    return QString::number(GetWidth()) + "x" + QString::number(GetHeight());
}

TCharClass* TGLCDFont::GetChar(int Code) const
{
    return ValidCode(Code) ? Chars[size_t(Code)].get() : nullptr;
}

void TGLCDFont::SetChar(int Code, std::unique_ptr<TCharClass> C)
{
    if (!ValidCode(Code))
        throw EDotwrightError(
            QString::asprintf("Code %d out of range in call to TGLCDFont.SetChar", Code));
    Chars[size_t(Code)] = std::move(C);
}

void TGLCDFont::SetCurrentChar(int Code) { CurrentChar = Code; }

void TGLCDFont::SetProportional(bool Value) { Proportional = Value; }
