#pragma once
// The in-memory font: one character as a matrix of colour values, and the font
// project holding up to 256 of them.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;
class QSize;
class QPainter;

// A colour as the model keeps it: 0x00BBGGRR. Ink is 0, clear is 0xFFFFFF.
using TColor = std::int32_t;

constexpr TColor clInk = 0x000000;
constexpr TColor clClear = 0xFFFFFF;

class QColor;
// For painting only: the model keeps 0x00BBGGRR, so 0x0000FF paints red.
QColor ModelToQColor(TColor Value);

class TCharClass {
public:
    TCharClass(int ACode, int AWidth, int AHeight);

    int Width = 0;
    int Height = 0;
    // Column-major: cell (X, Y) is entry X * Height + Y.
    std::vector<TColor> Cells;
    int Code = 0;

    void Fill(TColor Value);
    TColor GetCellValue(int X, int Y) const;
    void SetCellValue(int X, int Y, TColor Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    // Copies the image's pixels (read as 0x00BBGGRR); a null image changes nothing.
    void LoadFromBitmap(const QImage* Bitmap, bool Resize);
    // Paints the character as DotSize squares with a one-pixel gap.
    void DrawTo(QPainter* Canvas, int Left, int Top, int DotSize) const;
};

// What ImportSystemFont's Style may hold. Scoped: the grid control has font
// style bits of the same names.
namespace TFontStyle {
enum : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
} // namespace TFontStyle

class TGLCDFont {
public:
    static constexpr int MaxChars = 256;
    // The largest width and height the project file stores.
    static constexpr int MaxCellSize = 1024;

    explicit TGLCDFont(const QString& AFontName);
    ~TGLCDFont();
    TGLCDFont(const TGLCDFont&) = delete;
    TGLCDFont& operator=(const TGLCDFont&) = delete;

    int CurrentChar = 0;
    int RangeFrom = 0;
    int RangeTo = 0;
    bool Proportional = false;
    QString FontName;
    QString FileName;

    void FreeChars();
    int CharCount() const;
    int GetWidth() const;
    int GetHeight() const;
    QString SizeText() const;
    QString SizeTag() const;
    // Null for an empty slot and for any code outside 0..255.
    TCharClass* GetChar(int Code) const;
    // Takes ownership; any character already in the slot is freed. A code
    // outside 0..255 raises EDotwrightError and the character is freed.
    void SetChar(int Code, std::unique_ptr<TCharClass> C);
    void SetCurrentChar(int Code);
    void SetProportional(bool Value);

    // The ".lcd" project file. Both return false and fill ErrorText when they
    // fail; a failed load leaves the font as it was.
    [[nodiscard]] bool LoadFromFile(const QString& AFileName, QString* ErrorText = nullptr);
    [[nodiscard]] bool SaveToFile(const QString& AFileName, QString* ErrorText = nullptr);

    // Rasterises codes From..To of an installed font into the slots.
    void ImportSystemFont(const QString& AFontName, int Size, unsigned Style, int From, int To);
    // The cell size ImportSystemFont would give, measured without rasterising;
    // an empty size for an empty range.
    static QSize ImportCellSize(const QString& AFontName, int Size, unsigned Style, int From, int To);

private:
    std::array<std::unique_ptr<TCharClass>, MaxChars> Chars;
};
