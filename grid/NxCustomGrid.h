#pragma once
// The grid's control surface: clicks on the rows, the navigation keys and the
// wheel turned into selection and scrolling. Header presses, column and row
// dragging, hints and incremental search are not part of it yet.
#include "NxCustomGridControl.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

class TNxCustomGrid : public TNxCustomGridControl {
    Q_OBJECT
public:
    explicit TNxCustomGrid(QWidget* Parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    static TShiftState ShiftOf(Qt::KeyboardModifiers Modifiers);
    int FPressedCol = -1;
    int FPressedRow = -1;
    int FWheelDelta = 0;
};
