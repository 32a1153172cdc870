#include "unTBXStyle.h"

#include "TBXTheme.h"

#include <QMainWindow>
#include <QPainter>
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
        CurrentTheme().PaintDock(*Painter, Option->rect, Option->rect, DockOf(Widget));
        return;
    case CE_MenuBarEmptyArea:
        CurrentTheme().PaintDock(*Painter, Option->rect, Option->rect, dpTop);
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
        CurrentTheme().PaintDock(*Painter, Option->rect, Option->rect, dpTop);
        return;
    }
    QProxyStyle::drawPrimitive(Element, Option, Painter, Widget);
}
