#include "mbTBXGroupBox.h"

#include "TBXTheme.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>
#include <memory>

namespace {

constexpr int tvtNormalToolbar = 0x1001;

// One frame shared by every group box: only the theme's strokes on a
// transparent ground, laid over the box, keyed by all that changes them.
struct TGroupCache {
    QImage Bitmap;
    QString ThemeName;
    QString Caption;
    bool Enabled = true;
    bool ThemedBackground = false;
    bool GradientBorder = true;
    QFont Font;
};

std::unique_ptr<TGroupCache>& GroupCache()
{
    static std::unique_ptr<TGroupCache> Cache;
    return Cache;
}

void PaintBackAndDock(TTBXTheme& Theme, QPainter& Canvas, const QRect& R, const QPalette& Palette)
{
    Theme.PaintBackgnd(Canvas, R, R, Theme.GetViewColor(tvtNormalToolbar), true, tvtNormalToolbar);
    Theme.PaintDock(Canvas, R, R, dpTop);
    if (Theme.GetBooleanMetrics(5))
        Theme.PaintBackgnd(Canvas, R, R, ToQColor(clBtnShadow, Palette), true, tvtNormalToolbar);
    else
        Theme.PaintDock(Canvas, R, R, dpTop);
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
    auto& Cache = GroupCache();
    const bool Valid = Cache && Cache->Bitmap.width() == width() && Cache->Bitmap.height() == height()
        && Cache->ThemeName == Theme.Name() && Cache->Caption == title() && Cache->Enabled == isEnabled()
        && Cache->ThemedBackground == FThemedBackground && Cache->GradientBorder == FGradientBorder
        && Cache->Font == font();
    if (Valid) {
        Canvas.drawImage(0, 0, Cache->Bitmap);
        return;
    }
    if (!Cache)
        Cache = std::make_unique<TGroupCache>();
    Cache->ThemeName = Theme.Name();
    Cache->Caption = title();
    Cache->Enabled = isEnabled();
    Cache->ThemedBackground = FThemedBackground;
    Cache->GradientBorder = FGradientBorder;
    Cache->Font = font();
    Cache->Bitmap = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_ARGB32_Premultiplied);
    Cache->Bitmap.fill(Qt::transparent);

    QPainter C(&Cache->Bitmap);
    const int TH = CaptionTextHeight();
    const TRect Cap = CaptionRect();
    QRect R = ARect.ToQRect();
    if (FThemedBackground)
        PaintBackAndDock(Theme, C, R, palette());
    TTBXItemInfo Info;
    Info.ViewType = tvtNormalToolbar;
    Info.ItemOptions = 0x21;
    Info.Enabled = isEnabled();
    Info.Pushed = 0;
    Info.HoverKind = 2;
    Info.Selected = false;
    // The line stops 2 pixels before the caption and resumes after it; only a
    // one-pixel ring whose top runs at TH div 2 remains.
    QRegion Clip(R);
    Clip -= QRegion(Rect(Cap.Left - 2, Cap.Top, Cap.Right, Cap.Bottom).ToQRect());
    Clip -= QRegion(Rect(1, TH / 2 + 1, ARect.Right - 1, ARect.Bottom - 1).ToQRect());
    C.setClipRegion(Clip);
    R.setTop(R.top() + TH / 2);
    PaintBackAndDock(Theme, C, R, palette());
    if (!FGradientBorder)
        Theme.PaintFrame(C, R, Info);
    C.end();
    Canvas.drawImage(0, 0, Cache->Bitmap);
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
