#include "NxSharedCommon.h"

#include "DwError.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPaintDevice>
#include <QStyleOptionFocusRect>
#include <QTextOption>
#include <cmath>

namespace {

QColor SystemQColor(int Index, const QPalette& P)
{
    switch (Index) {
    case 5: return P.color(QPalette::Base);                         // clWindow
    case 6: return P.color(QPalette::Shadow);                       // clWindowFrame
    case 8: return P.color(QPalette::Text);                         // clWindowText
    case 13: return P.color(QPalette::Highlight);                   // clHighlight
    case 14: return P.color(QPalette::HighlightedText);             // clHighlightText
    case 15: return P.color(QPalette::Button);                      // clBtnFace
    case 16: return P.color(QPalette::Dark);                        // clBtnShadow
    case 17: return P.color(QPalette::Disabled, QPalette::Text);    // clGrayText
    case 18: return P.color(QPalette::ButtonText);                  // clBtnText
    case 20: return P.color(QPalette::Light);                       // clBtnHighlight
    case 21: return P.color(QPalette::Shadow);                      // cl3DDkShadow
    case 22: return P.color(QPalette::Midlight);                    // cl3DLight
    case 23: return P.color(QPalette::ToolTipText);                 // clInfoText
    case 24: return P.color(QPalette::ToolTipBase);                 // clInfoBk
    default: return P.color(QPalette::Window);
    }
}

QPalette AppPalette()
{
    return QGuiApplication::palette();
}

} // namespace

TColor FromQColor(const QColor& Color)
{
    return static_cast<TColor>((Color.blue() << 16) | (Color.green() << 8) | Color.red());
}

TColor ColorToRGB(TColor Color, const QPalette& Palette)
{
    if (Color < 0)
        return FromQColor(SystemQColor(Color & 0xFF, Palette));
    return Color;
}

TColor ColorToRGB(TColor Color)
{
    return Color < 0 ? ColorToRGB(Color, AppPalette()) : Color;
}

QColor ToQColor(TColor Color, const QPalette& Palette)
{
    const TColor C = ColorToRGB(Color, Palette);
    return QColor(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

QColor ToQColor(TColor Color)
{
    return ToQColor(Color, AppPalette());
}

int FontStyleOf(const QFont& Font)
{
    return (Font.bold() ? fsBold : 0) | (Font.italic() ? fsItalic : 0) | (Font.underline() ? fsUnderline : 0)
        | (Font.strikeOut() ? fsStrikeOut : 0);
}

bool RectsIntersect(const TRect& R1, const TRect& R2)
{
    return !(R1.Right < R2.Left || R1.Left > R2.Right || R1.Bottom < R2.Top || R1.Top > R2.Bottom);
}

bool PointOutsideBox(const QPoint& P, const QPoint& Center, int Distance)
{
    return P.x() < Center.x() - Distance || P.x() > Center.x() + Distance || P.y() < Center.y() - Distance
        || P.y() > Center.y() + Distance;
}

QPoint TCalcProvider::PlaceInRect(int Width, int Height, TAlignment HorzAlign, TVerticalAlignment VertAlign,
                                  const TRect& R, int Margin)
{
    const int CenterX = (R.Left + R.Right) / 2;
    const int CenterY = (R.Top + R.Bottom) / 2;
    int X = 0, Y = 0;
    switch (HorzAlign) {
    case taLeftJustify: X = R.Left + Margin; break;
    case taRightJustify: X = R.Right - (Margin + Width); break;
    case taCenter: X = CenterX - Width / 2; break;
    }
    switch (VertAlign) {
    case vaTop: Y = R.Top + Margin; break;
    case vaMiddle: Y = CenterY - Height / 2; break;
    case vaBottom: Y = R.Bottom - (Margin + Height); break;
    }
    return {X, Y};
}

TRect TCalcProvider::ResizeRect(const TRect& R, int DLeft, int DTop, int DRight, int DBottom)
{
    return {R.Left + DLeft, R.Top + DTop, R.Right + DRight, R.Bottom + DBottom};
}

namespace {

// Both colours already plain 0x00BBGGRR.
TColor BlendPlain(TColor C1, TColor C2, int Alpha)
{
    if (Alpha < 0 || Alpha > 255)
        throw EDotwrightError(QStringLiteral("Assertion failure"));
    const auto A = static_cast<std::uint32_t>(C1);
    const auto B = static_cast<std::uint32_t>(C2);
    const auto Al = static_cast<std::uint32_t>(Alpha);
    // Red and blue ride in one product; each channel keeps its own 8 fraction bits.
    const std::uint32_t RB = ((A & 0xFF00FFu) * Al + (B & 0xFF00FFu) * (255u - Al)) & ~0xFF00FFu;
    const std::uint32_t G = ((A & 0x00FF00u) * Al + (B & 0x00FF00u) * (255u - Al)) & 0xFF0000u;
    return static_cast<TColor>((RB | G) >> 8);
}

} // namespace

TColor TGraphicsProvider::BlendColor(TColor C1, TColor C2, int Alpha, const QPalette& Palette)
{
    return BlendPlain(ColorToRGB(C1, Palette), ColorToRGB(C2, Palette), Alpha);
}

TColor TGraphicsProvider::BlendColor(TColor C1, TColor C2, int Alpha)
{
    // The application palette is fetched only for a system colour.
    return BlendPlain(ColorToRGB(C1), ColorToRGB(C2), Alpha);
}

TColor TGraphicsProvider::MixColors(TColor C1, TColor C2, double Ratio, const QPalette& Palette)
{
    const TColor A = ColorToRGB(C1, Palette);
    const TColor B = ColorToRGB(C2, Palette);
    auto Mix = [Ratio](int X, int Y) {
        return static_cast<int>(std::nearbyint(Y * Ratio + (1.0 - Ratio) * X)) & 0xFF;
    };
    const int R = Mix(A & 0xFF, B & 0xFF);
    const int G = Mix((A >> 8) & 0xFF, (B >> 8) & 0xFF);
    const int Bl = Mix((A >> 16) & 0xFF, (B >> 16) & 0xFF);
    return static_cast<TColor>((Bl << 16) | (G << 8) | R);
}

TColor TGraphicsProvider::MixColors(TColor C1, TColor C2, double Ratio)
{
    const QPalette P = (C1 < 0 || C2 < 0) ? AppPalette() : QPalette();
    return MixColors(C1, C2, Ratio, P);
}

std::uint8_t BlendChannel(std::uint8_t Src, std::uint8_t Dst, std::uint8_t Alpha)
{
    const double A = Alpha / 255.0;
    const int V = static_cast<int>(std::nearbyint(Src * A)) + static_cast<int>(std::nearbyint((1.0 - A) * Dst));
    return static_cast<std::uint8_t>(std::clamp(V, 0, 255));
}

void TDrawProvider::SetClipRect(QPainter& Canvas, const TRect& R)
{
    Canvas.setClipRect(R.ToQRect(), Qt::ReplaceClip);
}

void TDrawProvider::DrawButtonBox(QPainter& Canvas, const TRect& R, bool Dark, const QPalette& Palette)
{
    if (R.IsEmpty())
        return;
    Canvas.fillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1).ToQRect(), ToQColor(clBtnFace, Palette));
    const QColor Hi = ToQColor(clBtnHighlight, Palette);
    const QColor Sh = ToQColor(Dark ? clWindowFrame : clBtnShadow, Palette);
    Canvas.fillRect(QRect(R.Left, R.Top, R.Width() - 1, 1), Hi);
    Canvas.fillRect(QRect(R.Left, R.Top, 1, R.Height() - 1), Hi);
    Canvas.fillRect(QRect(R.Right - 1, R.Top, 1, R.Height()), Sh);
    Canvas.fillRect(QRect(R.Left, R.Bottom - 1, R.Width(), 1), Sh);
}

void TDrawProvider::DrawFocusFrame(QPainter& Canvas, const TRect& R, bool Solid, const QPalette& Palette)
{
    if (R.IsEmpty())
        return;
    Canvas.save();
    if (Solid) {
        Canvas.setPen(QPen(ToQColor(clHighlight, Palette), 1));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    } else {
        // Dotted, by inversion, like the platform's focus rectangle.
        Canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        Canvas.setPen(QPen(Qt::white, 1, Qt::DotLine));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    }
    Canvas.restore();
}

void TDrawProvider::DrawTextRect(QPainter& Canvas, const TRect& R, bool RightToLeft, const QString& Text,
                                 TAlignment Alignment)
{
    if (R.IsEmpty())
        return;
    int Flags = Qt::AlignVCenter | Qt::TextSingleLine;
    switch (Alignment) {
    case taLeftJustify: Flags |= RightToLeft ? Qt::AlignRight : Qt::AlignLeft; break;
    case taRightJustify: Flags |= RightToLeft ? Qt::AlignLeft : Qt::AlignRight; break;
    case taCenter: Flags |= Qt::AlignHCenter; break;
    }
    const QRect QR = R.ToQRect();
    const QString Shown = Canvas.fontMetrics().elidedText(Text, Qt::ElideRight, QR.width());
    Canvas.save();
    Canvas.setBrush(Qt::NoBrush);
    Canvas.setLayoutDirection(RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    Canvas.drawText(QR, Flags, Shown);
    Canvas.restore();
}

void TDrawProvider::DrawVerticalText(QPainter& Canvas, const TRect& R, const QString& Text)
{
    if (R.IsEmpty())
        return;
    Canvas.save();
    Canvas.setBrush(Qt::NoBrush);
    // Baseline runs upward from the bottom-left corner.
    Canvas.translate(R.Left, R.Bottom);
    Canvas.rotate(-90);
    Canvas.drawText(QRect(0, 0, R.Height(), R.Width()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Text);
    Canvas.restore();
}

void TDrawProvider::ComposeBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap, TPixelBlend Blend)
{
    if (Bitmap.isNull())
        return;
    QPaintDevice* Device = Canvas.device();
    if (!Bitmap.hasAlphaChannel() || !Device || Device->devType() != QInternal::Image
        || !Canvas.deviceTransform().isIdentity()) {
        Canvas.drawImage(X, Y, Bitmap);
        return;
    }
    const QImage Src = Bitmap.convertToFormat(QImage::Format_ARGB32);
    QImage Work = static_cast<QImage*>(Device)->copy(X, Y, Src.width(), Src.height()).convertToFormat(QImage::Format_RGB32);
    for (int Yy = 0; Yy < Src.height(); ++Yy) {
        const QRgb* S = reinterpret_cast<const QRgb*>(Src.constScanLine(Yy));
        QRgb* W = reinterpret_cast<QRgb*>(Work.scanLine(Yy));
        for (int Xx = 0; Xx < Src.width(); ++Xx)
            W[Xx] = Blend(S[Xx], W[Xx]);
    }
    Canvas.drawImage(X, Y, Work);
}

void TDrawProvider::DrawBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap)
{
    ComposeBitmap(Canvas, X, Y, Bitmap, [](QRgb S, QRgb B) {
        const auto A = static_cast<std::uint8_t>(qAlpha(S));
        return qRgb(BlendChannel(qRed(S), qRed(B), A), BlendChannel(qGreen(S), qGreen(B), A),
                    BlendChannel(qBlue(S), qBlue(B), A));
    });
}
