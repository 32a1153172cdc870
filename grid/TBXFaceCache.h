#pragma once
// The face that every control of one class shares: only what the theme painted,
// on a transparent ground, laid over the control, so that no control shows
// another's base. TKey holds the size and everything else that changes it.
#include <QImage>
#include <QPainter>
#include <QSize>

template <class TKey>
class TTBXFaceCache {
public:
    // Draws the cached face at (0, 0) when it was painted for Key.
    bool DrawIfValid(QPainter& Canvas, const TKey& Key) const
    {
        if (FBitmap.isNull() || !(FKey == Key))
            return false;
        Canvas.drawImage(0, 0, FBitmap);
        return true;
    }

    // A cleared bitmap of Size for the face of Key.
    QImage& Renew(const TKey& Key, const QSize& Size)
    {
        FKey = Key;
        FBitmap = QImage(Size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        FBitmap.fill(Qt::transparent);
        return FBitmap;
    }

    void Draw(QPainter& Canvas) const { Canvas.drawImage(0, 0, FBitmap); }
    void Reset() { FBitmap = QImage(); }

private:
    TKey FKey{};
    QImage FBitmap;
};
