#pragma once
// The toolbar theme that the main window, the dialogs and the themed containers
// paint with. Themes register themselves by name; one is current.
#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;
class QWidget;

// The view type of a normal toolbar.
constexpr int tvtNormalToolbar = 0x1001;

// The item description a theme paints a frame or a button for.
struct TTBXItemInfo {
    int ViewType = tvtNormalToolbar;
    int ItemOptions = 0x21;
    bool Enabled = true;
    int Pushed = 0;
    int HoverKind = 0;
    bool Selected = false;
};

enum TTBXDockPosition { dpTop, dpBottom, dpLeft, dpRight };

class TTBXTheme {
public:
    virtual ~TTBXTheme() = default;
    virtual QString Name() const = 0;
    virtual QColor GetViewColor(int ViewType) const = 0;
    virtual void PaintBackgnd(QPainter& Canvas, const QRect& ARect, const QRect& AClipRect,
                              const QColor& AColor, bool Opaque, int ViewType) = 0;
    virtual void PaintDock(QPainter& Canvas, const QRect& ClientRect, const QRect& DockRect,
                           TTBXDockPosition DockPosition) = 0;
    virtual bool GetBooleanMetrics(int Index) const = 0;
    virtual void PaintFrame(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& ItemInfo) = 0;
    virtual void PaintButton(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& ItemInfo) = 0;
};

// Sends ThemeChanged(2) to every listener when the current theme changes.
class TTBXThemeNotifier : public QObject {
    Q_OBJECT
public:
    static TTBXThemeNotifier& Instance();
signals:
    void ThemeChanged(int Param);
};

// Registers a theme under its name; "Aluminum" is always registered.
void TBXRegisterTheme(std::unique_ptr<TTBXTheme> Theme);
// Makes the named theme current (names compare without case); false when unknown.
bool TBXSetTheme(const QString& Name);
TTBXTheme& CurrentTheme();

// The face of a normal toolbar over R: the background in the view colour, the
// top dock, then, by metric 5, the background again in ShadowColor or the dock again.
void TBXPaintToolbarFace(TTBXTheme& Theme, QPainter& Canvas, const QRect& R, const QColor& ShadowColor);

// Paints the parent's face that lies behind ARect (control coordinates) of Control.
void TBXPaintParentBackground(QWidget& Control, QPainter& Canvas, const QRect& ARect);
