#include "unTBXStyle.h"

#include "TBXTheme.h"

#include <QMainWindow>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>

namespace {

TTBXDockPosition DockOf(const QWidget* Widget)
{
    const auto* Bar = qobject_cast<const QToolBar*>(Widget);
    const auto* Window = Bar ? qobject_cast<const QMainWindow*>(Bar->parentWidget()) : nullptr;
    if (!Window)
        return dpTop;
    switch (Window->toolBarArea(const_cast<QToolBar*>(Bar))) {
    case Qt::LeftToolBarArea: return dpLeft;
    case Qt::RightToolBarArea: return dpRight;
    case Qt::BottomToolBarArea: return dpBottom;
    default: return dpTop;
    }
}

// The dock face is drawn once for each place, size and theme and copied from
// then on: drawn, its gradient and streaks took 2.4 to 3 ms a toolbar repaint
// on the offscreen platform, copied 0.03 to 0.4 ms (bench_batch: a toolbar
// repainted as the busy state greys its buttons, or as the centre resizes).
// The streaks follow the absolute rows, so the face is drawn where it stands.
void PaintDockCached(QPainter& Painter, const QRect& R, TTBXDockPosition Position)
{
    if (R.isEmpty())
        return;
    const qreal Ratio = Painter.device() ? Painter.device()->devicePixelRatio() : 1.0;
    const QString Key = QStringLiteral("TTBXStyle.Dock/%1/%2,%3,%4,%5/%6/%7")
                            .arg(CurrentTheme().Name())
                            .arg(R.x())
                            .arg(R.y())
                            .arg(R.width())
                            .arg(R.height())
                            .arg(int(Position))
                            .arg(Ratio);
    QPixmap Face;
    if (!QPixmapCache::find(Key, &Face)) {
        Face = QPixmap(R.size() * Ratio);
        Face.setDevicePixelRatio(Ratio);
        Face.fill(Qt::transparent);
        QPainter P(&Face);
        P.translate(-R.topLeft());
        CurrentTheme().PaintDock(P, R, R, Position);
        P.end();
        QPixmapCache::insert(Key, Face);
    }
    Painter.drawPixmap(R.topLeft(), Face);
}

} // namespace

TTBXStyle::TTBXStyle(QStyle* Base)
    : QProxyStyle(Base ? Base : QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void TTBXStyle::drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                            const QWidget* Widget) const
{
    switch (Element) {
    case CE_ToolBar:
        PaintDockCached(*Painter, Option->rect, DockOf(Widget));
        return;
    case CE_MenuBarEmptyArea:
        PaintDockCached(*Painter, Option->rect, dpTop);
        return;
    default:
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
    }
}

void TTBXStyle::drawPrimitive(PrimitiveElement Element, const QStyleOption* Option, QPainter* Painter,
                              const QWidget* Widget) const
{
    if (Element == PE_PanelButtonTool && Option) {
        TTBXItemInfo Info;
        Info.Enabled = Option->state & State_Enabled;
        Info.Pushed = (Option->state & State_Sunken) ? 1 : 0;
        Info.HoverKind = (Option->state & State_MouseOver) ? 1 : 0;
        Info.Selected = Option->state & State_On;
        CurrentTheme().PaintButton(*Painter, Option->rect, Info);
        return;
    }
    if (Element == PE_PanelMenuBar && Option) {
        PaintDockCached(*Painter, Option->rect, dpTop);
        return;
    }
    QProxyStyle::drawPrimitive(Element, Option, Painter, Widget);
}
