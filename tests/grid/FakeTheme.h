#pragma once
// A toolbar theme for tests: paints flat colours and logs every call in order.
#include "TBXTheme.h"

#include <QWidget>

#include <QPainter>
#include <QStringList>

struct TFakeThemeLog {
    QStringList Calls;
    bool Metric5 = false;
    static TFakeThemeLog& Get()
    {
        static TFakeThemeLog L;
        return L;
    }
};

class TFakeTheme final : public TTBXTheme {
public:
    explicit TFakeTheme(QString Name) : FName(std::move(Name)) {}
    QString Name() const override { return FName; }
    QColor GetViewColor(int) const override { return QColor(0, 0, 200); }
    void PaintBackgnd(QPainter& Canvas, const QRect& ARect, const QRect&, const QColor& AColor, bool Opaque,
                      int ViewType) override
    {
        TFakeThemeLog::Get().Calls << QStringLiteral("Backgnd(%1,%2,%3,%4 %5 %6 %7)")
                                          .arg(ARect.left()).arg(ARect.top()).arg(ARect.width()).arg(ARect.height())
                                          .arg(AColor.name()).arg(Opaque).arg(ViewType, 0, 16);
        Canvas.fillRect(ARect, AColor);
    }
    void PaintDock(QPainter& Canvas, const QRect& ClientRect, const QRect&, TTBXDockPosition Pos) override
    {
        TFakeThemeLog::Get().Calls << QStringLiteral("Dock(%1,%2,%3,%4 %5)")
                                          .arg(ClientRect.left()).arg(ClientRect.top()).arg(ClientRect.width())
                                          .arg(ClientRect.height()).arg(int(Pos));
        Canvas.fillRect(ClientRect, QColor(200, 0, 0));
    }
    bool GetBooleanMetrics(int Index) const override
    {
        TFakeThemeLog::Get().Calls << QStringLiteral("Metric(%1)").arg(Index);
        return TFakeThemeLog::Get().Metric5;
    }
    void PaintFrame(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& I) override
    {
        TFakeThemeLog::Get().Calls << QStringLiteral("Frame(%1,%2,%3,%4 e%5 p%6 h%7 s%8)")
                                          .arg(ARect.left()).arg(ARect.top()).arg(ARect.width()).arg(ARect.height())
                                          .arg(I.Enabled).arg(I.Pushed).arg(I.HoverKind).arg(I.Selected);
        Canvas.fillRect(ARect, QColor(0, 200, 0));
    }
    void PaintButton(QPainter& Canvas, const QRect& ARect, const TTBXItemInfo& I) override
    {
        TFakeThemeLog::Get().Calls << QStringLiteral("Button(%1,%2,%3,%4 e%5 p%6 h%7 s%8)")
                                          .arg(ARect.left()).arg(ARect.top()).arg(ARect.width()).arg(ARect.height())
                                          .arg(I.Enabled).arg(I.Pushed).arg(I.HoverKind).arg(I.Selected);
        if (I.Selected)
            Canvas.fillRect(ARect, QColor(200, 200, 0));
    }

private:
    QString FName;
};

// The theme calls that painting W makes, in order.
inline QStringList Paint(QWidget& W)
{
    TFakeThemeLog::Get().Calls.clear();
    W.grab();
    return TFakeThemeLog::Get().Calls;
}

// How many of them paint (metric queries left out).
inline int ThemeCalls(const QStringList& L)
{
    int N = 0;
    for (const QString& S : L)
        if (!S.startsWith("Metric"))
            ++N;
    return N;
}
