#include "NxThemesSupport.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace {
bool GThemesOn = true;
}

bool ThemesAvailable()
{
    return GThemesOn && QApplication::style() != nullptr;
}

void SetThemesAvailable(bool Value)
{
    GThemesOn = Value;
}

void DrawThemed(QWidget* Handle, QPainter& DC, const TRect& R, const QString& ClassName, int PartId, int StateId)
{
    QStyle* Style = Handle ? Handle->style() : QApplication::style();
    if (!Style || R.IsEmpty())
        return;
    const QString Cls = ClassName.toLower();
    if (Cls == QLatin1String("header")) {
        QStyleOptionHeader Opt;
        if (Handle)
            Opt.initFrom(Handle);
        Opt.rect = R.ToQRect();
        Opt.state = QStyle::State_Enabled | QStyle::State_Horizontal | QStyle::State_Raised;
        if (StateId == 2)
            Opt.state |= QStyle::State_MouseOver;
        else if (StateId == 3)
            Opt.state |= QStyle::State_Sunken;
        Opt.position = PartId == 2 ? QStyleOptionHeader::End : QStyleOptionHeader::Middle;
        Style->drawControl(QStyle::CE_HeaderSection, &Opt, &DC, Handle);
        // Some styles draw the three states alike; a themed header does not invert,
        // so a tint is the only sign of the pointer (light) and of a press (dark).
        if (StateId == 2 || StateId == 3) {
            QColor Tint = StateId == 2 ? Opt.palette.color(QPalette::Highlight) : QColor(Qt::black);
            Tint.setAlpha(StateId == 2 ? 40 : 56);
            DC.fillRect(Opt.rect, Tint);
        }
        return;
    }
    QStyleOptionFrame Opt;
    if (Handle)
        Opt.initFrom(Handle);
    Opt.rect = R.ToQRect();
    Opt.lineWidth = 1;
    Opt.midLineWidth = 0;
    Opt.state |= QStyle::State_Sunken;
    if (StateId == 2)
        Opt.state |= QStyle::State_MouseOver;
    if (Cls == QLatin1String("edit"))
        Style->drawPrimitive(QStyle::PE_FrameLineEdit, &Opt, &DC, Handle);
    else
        Style->drawPrimitive(QStyle::PE_Frame, &Opt, &DC, Handle);
}
