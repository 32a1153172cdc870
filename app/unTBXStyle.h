#pragma once
// Qt's Fusion look with the toolbars, the menu bar and the tool buttons
// painted by the current toolbar theme.
#include <QProxyStyle>

class TTBXStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes ownership of Base (Fusion when null).
    explicit TTBXStyle(QStyle* Base = nullptr);

    void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                     const QWidget* Widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement Element, const QStyleOption* Option, QPainter* Painter,
                       const QWidget* Widget = nullptr) const override;
};
