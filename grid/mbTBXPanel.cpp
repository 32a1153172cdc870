#include "mbTBXPanel.h"

#include "TBXFaceCache.h"
#include "TBXTheme.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

namespace {

// Everything that changes what the theme paints on the panel.
struct TPanelFaceKey {
    QSize Size;
    QString ThemeName; // case-folded: the panel's face ignores the case of the name
    QString Caption;
    bool ButtonStyle = false;
    bool ThemeBackground = false;
    bool Enabled = true;
    QRgb Shadow = 0;
    bool operator==(const TPanelFaceKey&) const = default;
};

TTBXFaceCache<TPanelFaceKey>& PanelCache()
{
    static TTBXFaceCache<TPanelFaceKey> Cache;
    return Cache;
}

} // namespace

TmbTBXPanel::TmbTBXPanel(QWidget* Parent)
    : QFrame(Parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    connect(&TTBXThemeNotifier::Instance(), &TTBXThemeNotifier::ThemeChanged, this, &TmbTBXPanel::ThemeChanged);
}

TmbTBXPanel::~TmbTBXPanel()
{
    PanelCache().Reset();
}

void TmbTBXPanel::SetThemed(bool Value) { FThemed = Value; update(); }
void TmbTBXPanel::SetButtonStyle(bool Value) { FButtonStyle = Value; update(); }
void TmbTBXPanel::SetThemeBackground(bool Value) { FThemeBackground = Value; update(); }
void TmbTBXPanel::SetCaption(const QString& Value) { FCaption = Value; update(); }
void TmbTBXPanel::SetAlignment(TAlignment Value) { FAlignment = Value; update(); }
void TmbTBXPanel::SetColor(TColor Value) { FColor = Value; FParentColor = false; update(); }
void TmbTBXPanel::SetParentColor(bool Value) { FParentColor = Value; update(); }

void TmbTBXPanel::ThemeChanged(int Param)
{
    if (Param == 2)
        update();
}

void TmbTBXPanel::changeEvent(QEvent* Event)
{
    QFrame::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        update();
}

void TmbTBXPanel::DrawThemedBackground(const TRect& ARect, QPainter& Canvas)
{
    TTBXTheme& Theme = CurrentTheme();
    const QColor Shadow = ToQColor(clBtnShadow, palette());
    const TPanelFaceKey Key{size(), Theme.Name().toCaseFolded(), FCaption, FButtonStyle, FThemeBackground,
                            isEnabled(), Shadow.rgb()};
    auto& Cache = PanelCache();
    if (Cache.DrawIfValid(Canvas, Key))
        return;
    QPainter C(&Cache.Renew(Key, size()));
    QRect R = ARect.ToQRect();
    if (!FThemeBackground) {
        // Only the outer one-pixel ring is touched.
        QRegion Ring(R);
        Ring -= QRegion(R.adjusted(1, 1, -1, -1));
        C.setClipRegion(Ring);
    }
    TTBXItemInfo Info;
    Info.Enabled = isEnabled();
    Info.Selected = FButtonStyle;
    if (!FButtonStyle) {
        Theme.PaintFrame(C, R, Info);
        TBXPaintToolbarFace(Theme, C, R, Shadow);
    }
    Theme.PaintButton(C, R, Info);
    if (FThemeBackground) {
        if (!FButtonStyle)
            R.adjust(1, 1, -1, -1);
        C.setClipRect(R);
        if (!FButtonStyle)
            TBXPaintToolbarFace(Theme, C, R.adjusted(-10, -10, 10, 10), Shadow);
        C.setClipping(false);
        Theme.PaintButton(C, R, Info);
    }
    C.end();
    Cache.Draw(Canvas);
}

void TmbTBXPanel::PaintStandard(QPainter& Canvas)
{
    if (!FParentColor)
        Canvas.fillRect(rect(), ToQColor(FColor, palette()));
    drawFrame(&Canvas);
    PaintCaption(Canvas);
}

void TmbTBXPanel::PaintCaption(QPainter& Canvas)
{
    if (FCaption.isEmpty())
        return;
    int Flags = Qt::AlignVCenter | Qt::TextSingleLine;
    Flags |= FAlignment == taLeftJustify ? Qt::AlignLeft : FAlignment == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter;
    Canvas.save();
    Canvas.setFont(font());
    Canvas.setBrush(Qt::NoBrush);
    Canvas.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    Canvas.drawText(rect(), Flags, FCaption);
    Canvas.restore();
}

void TmbTBXPanel::paintEvent(QPaintEvent* Event)
{
    Q_UNUSED(Event);
    QPainter P(this);
    const TRect Client = TRect::FromQRect(rect());
    // With ThemeBackground the theme also paints the erased background first.
    if (FThemeBackground)
        DrawThemedBackground(Client, P);
    PaintStandard(P);
    if (FThemed) {
        DrawThemedBackground(Client, P);
        PaintCaption(P);
    }
}
