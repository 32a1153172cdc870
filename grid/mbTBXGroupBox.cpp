#include "mbTBXGroupBox.h"

#include "TBXFaceCache.h"
#include "TBXTheme.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

namespace {

// Everything that changes what the theme paints for the frame.
struct TGroupFrameKey {
    QSize Size;
    QString ThemeName; // exact: the frame counts the case of the name
    QString Caption;
    QString FontKey;
    bool Enabled = true;
    bool ThemedBackground = false;
    bool GradientBorder = true;
    QRgb Shadow = 0;
    bool operator==(const TGroupFrameKey&) const = default;
};

TTBXFaceCache<TGroupFrameKey>& GroupCache()
{
    static TTBXFaceCache<TGroupFrameKey> Cache;
    return Cache;
}

} // namespace

TmbTBXGroupBox::TmbTBXGroupBox(QWidget* Parent)
    : QGroupBox(Parent)
{
    Init();
}

TmbTBXGroupBox::TmbTBXGroupBox(const QString& Caption, QWidget* Parent)
    : QGroupBox(Caption, Parent)
{
    Init();
}

void TmbTBXGroupBox::Init()
{
    connect(&TTBXThemeNotifier::Instance(), &TTBXThemeNotifier::ThemeChanged, this, &TmbTBXGroupBox::ThemeChanged);
}

TmbTBXGroupBox::~TmbTBXGroupBox() = default;

void TmbTBXGroupBox::SetThemedBackground(bool Value) { FThemedBackground = Value; update(); }
void TmbTBXGroupBox::SetThemed(bool Value) { FThemed = Value; update(); }
void TmbTBXGroupBox::SetGradientBorder(bool Value) { FGradientBorder = Value; update(); }

void TmbTBXGroupBox::ThemeChanged(int Param)
{
    if (Param == 2)
        update();
}

void TmbTBXGroupBox::changeEvent(QEvent* Event)
{
    QGroupBox::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        update();
}

void TmbTBXGroupBox::resizeEvent(QResizeEvent* Event)
{
    QGroupBox::resizeEvent(Event);
    update();
}

QString TmbTBXGroupBox::ShownCaption() const
{
    return title().isEmpty() ? QStringLiteral(" ") : title();
}

int TmbTBXGroupBox::CaptionTextHeight() const
{
    return QFontMetrics(font()).height();
}

TRect TmbTBXGroupBox::CaptionRect() const
{
    const QFontMetrics FM(font());
    return Rect(6, 0, 6 + FM.horizontalAdvance(ShownCaption()), FM.height() + 1);
}

void TmbTBXGroupBox::DrawGroupFrame(QPainter& Canvas, const TRect& ARect)
{
    TTBXTheme& Theme = CurrentTheme();
    const QColor Shadow = ToQColor(clBtnShadow, palette());
    const TGroupFrameKey Key{size(),      Theme.Name(),      title(),         font().key(),
                             isEnabled(), FThemedBackground, FGradientBorder, Shadow.rgb()};
    auto& Cache = GroupCache();
    if (Cache.DrawIfValid(Canvas, Key))
        return;
    QPainter C(&Cache.Renew(Key, size()));
    const int TH = CaptionTextHeight();
    const TRect Cap = CaptionRect();
    QRect R = ARect.ToQRect();
    if (FThemedBackground)
        TBXPaintToolbarFace(Theme, C, R, Shadow);
    TTBXItemInfo Info;
    Info.Enabled = isEnabled();
    Info.HoverKind = 2;
    // The line stops 2 pixels before the caption and resumes after it; only a
    // one-pixel ring whose top runs at TH div 2 remains.
    QRegion Clip(R);
    Clip -= QRegion(Rect(Cap.Left - 2, Cap.Top, Cap.Right, Cap.Bottom).ToQRect());
    Clip -= QRegion(Rect(1, TH / 2 + 1, ARect.Right - 1, ARect.Bottom - 1).ToQRect());
    C.setClipRegion(Clip);
    R.setTop(R.top() + TH / 2);
    TBXPaintToolbarFace(Theme, C, R, Shadow);
    if (!FGradientBorder)
        Theme.PaintFrame(C, R, Info);
    C.end();
    Cache.Draw(Canvas);
}

void TmbTBXGroupBox::paintEvent(QPaintEvent* Event)
{
    if (!FThemed) {
        QGroupBox::paintEvent(Event);
        return;
    }
    QPainter P(this);
    const TRect Client = TRect::FromQRect(rect());
    // What the erase puts down: the parent's face, and the frame with a themed inside.
    TBXPaintParentBackground(*this, P, rect());
    if (FThemedBackground)
        DrawGroupFrame(P, Client);

    P.setBrush(Qt::NoBrush);
    P.setFont(font());
    DrawGroupFrame(P, Client);
    const int TH = CaptionTextHeight();
    P.save();
    P.setClipRect(QRect(0, 0, width(), TH / 2));
    TBXPaintParentBackground(*this, P, QRect(0, 0, width(), TH / 2));
    P.restore();
    P.setClipRect(rect());
    P.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    P.drawText(CaptionRect().ToQRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ShownCaption());
}
