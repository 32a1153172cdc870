#include "TBXTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <vector>

namespace {

// A light brushed-metal grey: soft vertical gradients with faint horizontal
// streaks, darker rims for frames and a cool blue-grey for selected buttons.
class TAluminumTheme final : public TTBXTheme {
public:
    QString Name() const override { return QStringLiteral("Aluminum"); }

    QColor GetViewColor(int ViewType) const override
    {
        Q_UNUSED(ViewType);
        return QColor(0xE2, 0xE3, 0xE6);
    }

    void PaintBackgnd(QPainter& Canvas, const QRect& ARect, const QRect& AClipRect,
                      const QColor& AColor, bool Opaque, int ViewType) override
    {
        Q_UNUSED(ViewType);
        if (!Opaque || ARect.isEmpty())
            return;
        const QRect R = AClipRect.isValid() ? ARect.intersected(AClipRect) : ARect;
        if (R.isEmpty())
            return;
        QLinearGradient G(ARect.topLeft(), ARect.bottomLeft());
        G.setColorAt(0.0, AColor.lighter(106));
        G.setColorAt(1.0, AColor.darker(104));
        Canvas.fillRect(R, G);
        PaintStreaks(Canvas, R);
    }

    void PaintDock(QPainter& Canvas, const QRect& ClientRect, const QRect& DockRect,
                   TTBXDockPosition DockPosition) override
    {
        Q_UNUSED(ClientRect);
        if (DockRect.isEmpty())
            return;
        const bool Vertical = DockPosition == dpLeft || DockPosition == dpRight;
        QLinearGradient G = Vertical ? QLinearGradient(DockRect.topLeft(), DockRect.topRight())
                                     : QLinearGradient(DockRect.topLeft(), DockRect.bottomLeft());
        G.setColorAt(0.0, QColor(0xF4, 0xF4, 0xF5));
        G.setColorAt(0.45, QColor(0xE3, 0xE4, 0xE6));
        G.setColorAt(1.0, QColor(0xCC, 0xCE, 0xD2));
        Canvas.fillRect(DockRect, G);
        PaintStreaks(Canvas, DockRect);
        // A machined rim round the dock; group frames show it as their line.
        Canvas.save();
        Canvas.setPen(QColor(0xA6, 0xAA, 0xB1));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(DockRect.adjusted(0, 0, -1, -1));
        Canvas.restore();
    }

    bool GetBooleanMetrics(int Index) const override
    {
        // Metric 5 asks for a flat shadow under docked bars; the metal look keeps its gradient.
        Q_UNUSED(Index);
        return false;
    }

    void PaintFrame(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& ItemInfo) override
    {
        if (ARect.width() < 2 || ARect.height() < 2)
            return;
        Canvas.save();
        Canvas.setRenderHint(QPainter::Antialiasing, false);
        Canvas.setBrush(Qt::NoBrush);
        const QColor Rim = ItemInfo.Enabled ? QColor(0x8E, 0x91, 0x97) : QColor(0xB8, 0xBA, 0xBE);
        Canvas.setPen(Rim);
        Canvas.drawRect(ARect.adjusted(0, 0, -1, -1));
        if (ARect.width() > 3 && ARect.height() > 3) {
            Canvas.setPen(QColor(255, 255, 255, ItemInfo.Enabled ? 170 : 110));
            const QRect In = ARect.adjusted(1, 1, -2, -2);
            Canvas.drawLine(In.topLeft(), In.topRight());
            Canvas.drawLine(In.topLeft(), In.bottomLeft());
        }
        Canvas.restore();
    }

    void PaintButton(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& ItemInfo) override
    {
        const bool Hot = ItemInfo.HoverKind != 0;
        const bool Down = ItemInfo.Pushed != 0;
        if (ARect.isEmpty() || (!ItemInfo.Selected && !Hot && !Down))
            return; // an idle button shows the bar through it
        QColor Top, Bottom, Rim;
        if (Down) {
            Top = QColor(0xA9, 0xB4, 0xC2);
            Bottom = QColor(0xC9, 0xD1, 0xDB);
            Rim = QColor(0x5E, 0x6B, 0x7C);
        } else if (ItemInfo.Selected) {
            Top = QColor(0xDD, 0xE3, 0xEA);
            Bottom = QColor(0xBE, 0xC7, 0xD2);
            Rim = QColor(0x7A, 0x86, 0x96);
        } else {
            Top = QColor(0xF6, 0xF7, 0xF9);
            Bottom = QColor(0xD6, 0xDA, 0xE0);
            Rim = QColor(0x90, 0x98, 0xA4);
        }
        if (!ItemInfo.Enabled) {
            Top = Top.lighter(108);
            Bottom = Bottom.lighter(108);
            Rim = Rim.lighter(140);
        }
        QLinearGradient G(ARect.topLeft(), ARect.bottomLeft());
        G.setColorAt(0.0, Top);
        G.setColorAt(1.0, Bottom);
        Canvas.save();
        Canvas.fillRect(ARect, G);
        Canvas.setBrush(Qt::NoBrush);
        Canvas.setPen(Rim);
        Canvas.drawRect(ARect.adjusted(0, 0, -1, -1));
        Canvas.restore();
    }

private:
    // Faint one-pixel streaks, placed by a fixed hash of y so a repaint looks the same.
    static void PaintStreaks(QPainter& Canvas, const QRect& R)
    {
        Canvas.save();
        for (int Y = R.top(); Y <= R.bottom(); ++Y) {
            const unsigned H = static_cast<unsigned>(Y) * 2654435761u;
            const int Kind = static_cast<int>((H >> 28) & 0x7);
            if (Kind == 0)
                Canvas.setPen(QColor(255, 255, 255, 60));
            else if (Kind == 1)
                Canvas.setPen(QColor(0, 0, 0, 12));
            else
                continue;
            Canvas.drawLine(R.left(), Y, R.right(), Y);
        }
        Canvas.restore();
    }
};

struct TThemeRegistry {
    std::vector<std::unique_ptr<TTBXTheme>> Themes;
    TTBXTheme* Current = nullptr;

    TThemeRegistry()
    {
        Themes.push_back(std::make_unique<TAluminumTheme>());
        Current = Themes.front().get();
    }

    TTBXTheme* Find(const QString& Name) const
    {
        for (const auto& T : Themes)
            if (T->Name().compare(Name, Qt::CaseInsensitive) == 0)
                return T.get();
        return nullptr;
    }
};

TThemeRegistry& Registry()
{
    static TThemeRegistry R;
    return R;
}

} // namespace

TTBXThemeNotifier& TTBXThemeNotifier::Instance()
{
    static TTBXThemeNotifier N;
    return N;
}

void TBXRegisterTheme(std::unique_ptr<TTBXTheme> Theme)
{
    if (!Theme)
        return;
    TThemeRegistry& R = Registry();
    // A theme registered again under a known name replaces the old one.
    for (auto& T : R.Themes) {
        if (T->Name().compare(Theme->Name(), Qt::CaseInsensitive) == 0) {
            const bool WasCurrent = R.Current == T.get();
            T = std::move(Theme);
            if (WasCurrent) {
                R.Current = T.get();
                emit TTBXThemeNotifier::Instance().ThemeChanged(2);
            }
            return;
        }
    }
    R.Themes.push_back(std::move(Theme));
}

bool TBXSetTheme(const QString& Name)
{
    TThemeRegistry& R = Registry();
    TTBXTheme* T = R.Find(Name);
    if (!T)
        return false;
    if (T != R.Current) {
        R.Current = T;
        emit TTBXThemeNotifier::Instance().ThemeChanged(2);
    }
    return true;
}

TTBXTheme& CurrentTheme()
{
    return *Registry().Current;
}

void TBXPaintToolbarFace(TTBXTheme& Theme, QPainter& Canvas, const QRect& R, const QColor& ShadowColor)
{
    Theme.PaintBackgnd(Canvas, R, R, Theme.GetViewColor(tvtNormalToolbar), true, tvtNormalToolbar);
    Theme.PaintDock(Canvas, R, R, dpTop);
    if (Theme.GetBooleanMetrics(5))
        Theme.PaintBackgnd(Canvas, R, R, ShadowColor, true, tvtNormalToolbar);
    else
        Theme.PaintDock(Canvas, R, R, dpTop);
}

void TBXPaintParentBackground(QWidget& Control, QPainter& Canvas, const QRect& ARect)
{
    QWidget* Parent = Control.parentWidget();
    if (!Parent) {
        Canvas.fillRect(ARect, Control.palette().window());
        return;
    }
    // Render the parent's own face only (no children) behind the control.
    const QPoint Offset = Control.mapToParent(QPoint(0, 0));
    QPixmap Behind(ARect.size());
    Behind.fill(Parent->palette().window().color());
    Parent->render(&Behind, QPoint(0, 0), QRegion(QRect(Offset + ARect.topLeft(), ARect.size())),
                   QWidget::DrawWindowBackground);
    Canvas.drawPixmap(ARect.topLeft(), Behind);
}
