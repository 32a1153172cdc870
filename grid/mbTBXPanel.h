#pragma once
// A panel whose face the current toolbar theme paints; the dialogs fill their
// client area with one.
#include "NxSharedCommon.h"

#include <QFrame>
#include <QImage>
#include <QString>

class TmbTBXPanel : public QFrame {
    Q_OBJECT
public:
    explicit TmbTBXPanel(QWidget* Parent = nullptr);
    ~TmbTBXPanel() override;

    bool Themed() const { return FThemed; }
    void SetThemed(bool Value);
    bool ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(bool Value);
    bool ThemeBackground() const { return FThemeBackground; }
    void SetThemeBackground(bool Value);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    // Paints the themed face over R into Canvas (from the shared cache when it fits).
    void DrawThemedBackground(const TRect& R, QPainter& Canvas);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void ThemeChanged(int Param);
    void PaintStandard(QPainter& Canvas);
    void PaintCaption(QPainter& Canvas);

    bool FThemed = true;
    bool FButtonStyle = false;
    bool FThemeBackground = false;
    QString FCaption;
    TAlignment FAlignment = taCenter;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
};
