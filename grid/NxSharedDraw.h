#pragma once
// The second blend, the ratio mix, the vertical gradient and alpha bitmaps.
#include "NxSharedCommon.h"

namespace NxSharedDraw {
inline TColor BlendColor(TColor C1, TColor C2, int Alpha) { return TGraphicsProvider::BlendColor(C1, C2, Alpha); }
inline TColor MixColors(TColor C1, TColor C2, double Ratio) { return TGraphicsProvider::MixColors(C1, C2, Ratio); }
// One line per y from C1 at the top; the last line falls one step short of C2.
void DrawVerticalGradient(QPainter& Canvas, const TRect& R, TColor C1, TColor C2);
// A 32-bit bitmap: each pixel becomes BlendColor(source, background, source alpha).
void DrawBitmap(QPainter& Canvas, int X, int Y, const QImage& Bitmap);
} // namespace NxSharedDraw
