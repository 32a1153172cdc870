#include "mbTBXPanel.h"

#include "TBXTheme.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <memory>

namespace {

constexpr int tvtNormalToolbar = 0x1001;

// One face shared by every panel. It holds only what the theme painted (on a
// transparent ground) and is laid over the panel, so a panel never shows
// another's base; the key holds everything that changes the theme's painting.
struct TPanelCache {
    QImage Bitmap;
    QString ThemeName;
    QString Caption;
    bool ButtonStyle = false;
    bool ThemeBackground = false;
    bool Enabled = true;
    QRgb Color = 0;
};

std::unique_ptr<TPanelCache>& PanelCache()
{
    static std::unique_ptr<TPanelCache> Cache;
    return Cache;
}

void PaintToolbarFace(TTBXTheme& Theme, QPainter& Canvas, const QRect& R, const QPalette& Palette)
{
    Theme.PaintBackgnd(Canvas, R, R, Theme.GetViewColor(tvtNormalToolbar), true, tvtNormalToolbar);
    Theme.PaintDock(Canvas, R, R, dpTop);
    if (Theme.GetBooleanMetrics(5))
        Theme.PaintBackgnd(Canvas, R, R, ToQColor(clBtnShadow, Palette), true, tvtNormalToolbar);
    else
        Theme.PaintDock(Canvas, R, R, dpTop);
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
    PanelCache().reset();
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
    auto& Cache = PanelCache();
    const QRgb ColorKey = ToQColor(FColor, palette()).rgb();
    const bool Valid = Cache && Cache->Bitmap.width() == width() && Cache->Bitmap.height() == height()
        && Cache->ThemeName.compare(Theme.Name(), Qt::CaseInsensitive) == 0 && Cache->Caption == FCaption
        && Cache->ButtonStyle == FButtonStyle && Cache->ThemeBackground == FThemeBackground
        && Cache->Enabled == isEnabled() && Cache->Color == ColorKey;
    if (Valid) {
        Canvas.drawImage(0, 0, Cache->Bitmap);
        return;
    }
    if (!Cache)
        Cache = std::make_unique<TPanelCache>();
    Cache->ThemeName = Theme.Name();
    Cache->Caption = FCaption;
    Cache->ButtonStyle = FButtonStyle;
    Cache->ThemeBackground = FThemeBackground;
    Cache->Enabled = isEnabled();
    Cache->Color = ColorKey;
    Cache->Bitmap = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_ARGB32_Premultiplied);
    Cache->Bitmap.fill(Qt::transparent);

    QPainter C(&Cache->Bitmap);
    QRect R = ARect.ToQRect();
    if (!FThemeBackground) {
        // Only the outer one-pixel ring is touched.
        QRegion Ring(R);
        Ring -= QRegion(QRect(QPoint(1, 1), QPoint(ARect.Right - 2, ARect.Bottom - 2)));
        C.setClipRegion(Ring);
    }
    TTBXItemInfo Info;
    Info.ViewType = tvtNormalToolbar;
    Info.ItemOptions = 0x21;
    Info.Enabled = isEnabled();
    Info.Pushed = 0;
    Info.HoverKind = 0;
    Info.Selected = FButtonStyle;
    if (!FButtonStyle) {
        Theme.PaintFrame(C, R, Info);
        PaintToolbarFace(Theme, C, R, palette());
    }
    Theme.PaintButton(C, R, Info);
    if (FThemeBackground) {
        if (!FButtonStyle)
            R.adjust(1, 1, -1, -1);
        C.setClipRect(R);
        R.adjust(-10, -10, 10, 10);
        if (!FButtonStyle)
            PaintToolbarFace(Theme, C, R, palette());
        R.adjust(10, 10, -10, -10);
        C.setClipping(false);
        Theme.PaintButton(C, R, Info);
    }
    C.end();
    Canvas.drawImage(0, 0, Cache->Bitmap);
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
