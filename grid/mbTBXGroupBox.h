#pragma once
// A group box whose frame line and caption follow the current toolbar theme.
#include "NxSharedCommon.h"

#include <QGroupBox>
#include <QString>

class TmbTBXGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TmbTBXGroupBox(QWidget* Parent = nullptr);
    explicit TmbTBXGroupBox(const QString& Caption, QWidget* Parent = nullptr);
    ~TmbTBXGroupBox() override;

    bool ThemedBackground() const { return FThemedBackground; }
    void SetThemedBackground(bool Value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool Value);
    bool GradientBorder() const { return FGradientBorder; }
    void SetGradientBorder(bool Value);

    // The caption, or one space when it is empty.
    QString ShownCaption() const;
    // The text height of "Ip" in the box's font.
    int CaptionTextHeight() const;
    // (6, 0, 6 + width of the shown caption, text height + 1).
    TRect CaptionRect() const;

    // Paints the frame over R into Canvas (from the shared cache when it fits).
    void DrawGroupFrame(QPainter& Canvas, const TRect& R);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void Init();
    void ThemeChanged(int Param);

    bool FThemedBackground = false;
    bool FThemed = true;
    bool FGradientBorder = true;
};
