#pragma once
// Rectangle arithmetic, colour blending, clipping, framed boxes, focus frames and
// text output shared by every painter of the grid.
#include <QFont>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <cstdint>

class QPainter;
class QImage;

// 0x00BBGGRR; a negative value names a system colour by its low byte.
using TColor = std::int32_t;

constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(Index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// The system colour's current value comes from Palette; a plain colour is returned as it is.
TColor ColorToRGB(TColor Color, const QPalette& Palette);
TColor ColorToRGB(TColor Color);
QColor ToQColor(TColor Color, const QPalette& Palette);
QColor ToQColor(TColor Color);
TColor FromQColor(const QColor& Color);

// Left, Top, Right, Bottom with the right and bottom edges excluded.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect& R) { return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()}; }
    bool operator==(const TRect&) const = default;
};
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { vaTop, vaMiddle, vaBottom };
enum TBorderStyle { bsNone, bsSingle };

// Font style bits as the cell store keeps them.
enum TFontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
int FontStyleOf(const QFont& Font);

// Touching rectangles count as intersecting.
bool RectsIntersect(const TRect& R1, const TRect& R2);
// True when P lies outside the square of half-side Distance round Center (the edge is inside).
bool PointOutsideBox(const QPoint& P, const QPoint& Center, int Distance);

class TCalcProvider {
public:
    static QPoint PlaceInRect(int Width, int Height, TAlignment HorzAlign, TVerticalAlignment VertAlign,
                              const TRect& R, int Margin);
    static TRect ResizeRect(const TRect& R, int DLeft, int DTop, int DRight, int DBottom);
};

class TGraphicsProvider {
public:
    // Each channel (C1 * Alpha + C2 * (255 - Alpha)) div 256; Alpha outside 0..255 raises.
    static TColor BlendColor(TColor C1, TColor C2, int Alpha, const QPalette& Palette);
    static TColor BlendColor(TColor C1, TColor C2, int Alpha);
    // Each channel round(C2 * Ratio + (1 - Ratio) * C1).
    static TColor MixColors(TColor C1, TColor C2, double Ratio, const QPalette& Palette);
    static TColor MixColors(TColor C1, TColor C2, double Ratio);
};

// The alpha-mask painters blend with the same formula.
class TMaskProvider {
public:
    static TColor BlendColor(TColor C1, TColor C2, int Alpha) { return TGraphicsProvider::BlendColor(C1, C2, Alpha); }
};

std::uint8_t BlendChannel(std::uint8_t Src, std::uint8_t Dst, std::uint8_t Alpha);

class TDrawProvider {
public:
    static void SetClipRect(QPainter& Canvas, const TRect& R);
    // clBtnFace inside, a 3-D frame of width 1 on R.
    static void DrawButtonBox(QPainter& Canvas, const TRect& R, bool Dark, const QPalette& Palette);
    static void DrawFocusFrame(QPainter& Canvas, const TRect& R, bool Solid, const QPalette& Palette);
    // One line, vertically centred, ellipsis at the end, no background.
    static void DrawTextRect(QPainter& Canvas, const TRect& R, bool RightToLeft, const QString& Text,
                             TAlignment Alignment);
    // Turned 90 degrees counter-clockwise, reading bottom-up, bottom-aligned.
    static void DrawVerticalText(QPainter& Canvas, const TRect& R, const QString& Text);
    // A 32-bit bitmap is composed over the canvas with its own alpha.
    static void DrawBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap);
    // Draws a 32-bit Bitmap at (X, Y) with each pixel Blend(source, background)
    // worked out here; other bitmaps, and canvases that are not a plain image,
    // are left to the platform's drawing.
    using TPixelBlend = QRgb (*)(QRgb Source, QRgb Background);
    static void ComposeBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap, TPixelBlend Blend);
};

inline void SetClipRect(QPainter& Canvas, const TRect& R) { TDrawProvider::SetClipRect(Canvas, R); }
inline void DrawTextRect(QPainter& Canvas, const TRect& R, bool RightToLeft, const QString& Text, TAlignment Alignment)
{
    TDrawProvider::DrawTextRect(Canvas, R, RightToLeft, Text, Alignment);
}
