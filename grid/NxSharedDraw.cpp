#include "NxSharedDraw.h"

#include <QImage>
#include <QPainter>

namespace NxSharedDraw {

void DrawVerticalGradient(QPainter& Canvas, const TRect& R, TColor C1, TColor C2)
{
    const int H = R.Bottom - R.Top;
    if (H <= 0)
        return;
    Canvas.save();
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const TColor C = TGraphicsProvider::MixColors(C1, C2, static_cast<double>(Y - R.Top) / H);
        Canvas.fillRect(QRect(R.Left, Y, R.Right - R.Left, 1), ToQColor(C));
    }
    Canvas.restore();
}

void DrawBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap)
{
    TDrawProvider::ComposeBitmap(Canvas, X, Y, Bitmap, [](QRgb S, QRgb B) {
        const TColor C = TGraphicsProvider::BlendColor(FromQColor(QColor::fromRgb(S)), FromQColor(QColor::fromRgb(B)),
                                                       qAlpha(S));
        return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
    });
}

} // namespace NxSharedDraw
