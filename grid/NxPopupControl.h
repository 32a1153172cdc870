#pragma once
// Small floating windows above everything else: the marker of roll scrolling,
// a picture of a column header that follows the mouse while the column is
// dragged, and the red arrows that mark where it would land. Each is a frameless
// tool window without a taskbar entry, its shape cut by a region.
#include "NxDisplays.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>

class TNxFlyoutControl : public QWidget {
    Q_OBJECT
public:
    explicit TNxFlyoutControl(QWidget* Parent = nullptr);
    // The window's shape; each kind cuts its own.
    virtual void CreateShape() {}
};

class TRollShadow : public TNxFlyoutControl {
    Q_OBJECT
public:
    explicit TRollShadow(QWidget* Parent = nullptr);
    QPoint Position() const { return FPosition; }
    // The middle of the dot lands on the screen point P.
    void ShowAt(const QPoint& P);
    void CreateShape() override;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QPoint FPosition;
};

class TDragArrow : public TNxFlyoutControl {
    Q_OBJECT
public:
    explicit TDragArrow(QWidget* Parent = nullptr);
    // 1 points up, 2 down; 0 before any is set.
    int Direction() const { return FDirection; }
    void SetDirection(int Value);
    void CreateShape() override;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    int FDirection = 0;
};

// The box answers its header painter as a grid of its own: nothing hot or pressed.
class TColumnDragBox : public TNxFlyoutControl, public TNxGridLink {
    Q_OBJECT
public:
    explicit TColumnDragBox(TNxGridLink* Grid, QWidget* Parent = nullptr);
    ~TColumnDragBox() override;

    TNxGridLink* Grid() const { return FGrid; }
    TNxCustomColumn* Column() const { return FColumn; }
    TDefaultStyleDisplay& Display() { return *FDisplay; }
    bool Dragging() const { return FDragging; }

    // Starts following the mouse with Column; a hidden box still reports moves and the drop.
    void BeginDrag(int X, int Y, bool Hidden, TNxCustomColumn* Column);
    // The pointer at a screen point: report it, then centre the box over it, its bottom 4 pixels below.
    void DragMove(const QPoint& ScreenPos);
    // Only the left button ends the drag.
    void DragRelease(const QPoint& ScreenPos, Qt::MouseButton Button);
    // Ends a drag without a drop.
    void Cancel();

    // Screen coordinates.
    std::function<void(TColumnDragBox*, int, int)> OnDrop;
    std::function<void(TColumnDragBox*, int, int)> OnMoving;

    QWidget* Control() const override { return const_cast<TColumnDragBox*>(this); }
    QPalette Palette() const override { return FGrid ? FGrid->Palette() : palette(); }
    QFont Font() const override { return font(); }
    TColor FontColor() const override { return FGrid ? FGrid->FontColor() : clWindowText; }

    // The header picture as the box shows it.
    void PaintTo(QPainter& Canvas);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    TNxGridLink* FGrid;
    TNxCustomColumn* FColumn = nullptr;
    std::unique_ptr<TDefaultStyleDisplay> FDisplay;
    bool FDragging = false;
};
