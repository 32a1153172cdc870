#include "CharClasses.h"

#include "DwError.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

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
    SetWidth(AWidth);
    SetHeight(AHeight);
    Code = ACode;
    Cells.assign(size_t(std::max(0, Width)) * size_t(std::max(0, Height)), 0);
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
    Cells.resize(size_t(Width) * size_t(Height), 0);
}

void TCharClass::SetHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == Height)
        return;
    Height = Value;
    Cells.resize(size_t(Width) * size_t(Height), 0);
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
    if (!Canvas)
        return;
    for (int X = 0; X < Width; ++X)
        for (int Y = 0; Y < Height; ++Y)
            Canvas->fillRect(Left + X * (DotSize + 1), Top + Y * (DotSize + 1), DotSize, DotSize,
                             ModelToQColor(Cells[size_t(X) * size_t(Height) + size_t(Y)]));
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
