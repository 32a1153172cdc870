#include "NxCustomGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

TNxCustomGrid::TNxCustomGrid(QWidget* Parent)
    : TNxCustomGridControl(Parent)
{
    HorzScrollBar().LargeChange = 10;
    HorzScrollBar().SmallChange = 5;
    VertScrollBar().LargeChange = 10;
}

TShiftState TNxCustomGrid::ShiftOf(Qt::KeyboardModifiers Modifiers)
{
    return static_cast<TShiftState>(((Modifiers & Qt::ShiftModifier) ? ssShift : 0)
                                    | ((Modifiers & Qt::ControlModifier) ? ssCtrl : 0)
                                    | ((Modifiers & Qt::AltModifier) ? ssAlt : 0));
}

void TNxCustomGrid::mousePressEvent(QMouseEvent* Event)
{
    TNxCustomGridControl::mousePressEvent(Event);
    Event->accept();
    if (isEnabled() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    FPressedCol = FPressedRow = -1;
    if (Columns().Count() == 0)
        return;
    const bool Left = Event->button() == Qt::LeftButton;
    if (!Left && !(Event->button() == Qt::RightButton && !MultiSelected()))
        return;
    const QPoint P = Event->position().toPoint();
    const TRect Body = GetBodyRect();
    if (P.y() < Body.Top || P.y() >= Body.Bottom || P.x() >= Body.Right)
        return;
    if (FEditing || FInputEditing) {
        const bool WasInput = FInputEditing;
        (void)EndEdit();
        if (WasInput)
            AcceptInput();
        CloseEditor();
    }
    if (GridStyle() == gsReport)
        SetInputSelected(false);
    const int Col = ColumnAtX(P.x());
    const int Row = RowAtY(P.y());
    FPressedCol = Col;
    FPressedRow = Row;
    if (RowCount() == 0)
        return;
    SelectCell(Col >= 0 ? Col : SelectedColumn(), IsValidRow(Row) ? Row : SelectedRow(),
               ShiftOf(Event->modifiers()));
}

void TNxCustomGrid::mouseReleaseEvent(QMouseEvent* Event)
{
    TNxCustomGridControl::mouseReleaseEvent(Event);
    Event->accept();
    if (Event->button() != Qt::LeftButton)
        return;
    const QPoint P = Event->position().toPoint();
    const int Col = ColumnAtX(P.x());
    const int Row = RowAtY(P.y());
    if (Col >= 0 && IsValidRow(Row) && Col == FPressedCol && Row == FPressedRow)
        DoCellClick(Col, Row);
    FPressedCol = FPressedRow = -1;
}

bool TNxCustomGrid::event(QEvent* Event)
{
    // Tab moves between cells only when the grid wants it; otherwise it moves the focus on.
    if (Event->type() == QEvent::KeyPress && WantTabs()) {
        auto* K = static_cast<QKeyEvent*>(Event);
        if (K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab) {
            keyPressEvent(K);
            return true;
        }
    }
    return TNxCustomGridControl::event(Event);
}

void TNxCustomGrid::keyPressEvent(QKeyEvent* Event)
{
    const TShiftState Shift = ShiftOf(Event->modifiers());
    const int V = GetVisibleRowCount();
    const int F = VertScrollBar().Position();
    const int C = SelectedRow();
    const int Count = RowCount();
    const bool ValidColumn = Columns().IsValidIndex(SelectedColumn());
    auto Select = [&](int Row) { SelectCell(SelectedColumn(), Row, Shift); };
    switch (Event->key()) {
    case Qt::Key_Tab: NextCell(); break;
    case Qt::Key_Backtab: PrevCell(); break;
    case Qt::Key_Up: MoveUp(Shift); break;
    case Qt::Key_Down: MoveDown(Shift); break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if ((Options() & goSelectFullRow) && !(AppearanceOptions() & aoIndicateSelectedCell)) {
            if (Event->key() == Qt::Key_Left)
                HorzScrollBar().LineUp();
            else
                HorzScrollBar().LineDown();
        } else if (Event->key() == Qt::Key_Left) {
            MoveLeft();
        } else {
            MoveRight();
        }
        break;
    case Qt::Key_Home:
        if (ValidColumn && Count > 0) {
            VertScrollBar().SetPosition(0);
            Select(0);
        }
        break;
    case Qt::Key_End:
        if (ValidColumn && Count > 0) {
            VertScrollBar().SetPosition(VertScrollBar().Max());
            Select(Count - 1);
        }
        break;
    case Qt::Key_PageUp:
        if (ValidColumn && Count > 0) {
            if (C > F) {
                Select(F);
            } else {
                const int Row = std::max(C - V, 0);
                Select(Row);
                VertScrollBar().SetPosition(Row);
            }
        }
        break;
    case Qt::Key_PageDown:
        if (ValidColumn && Count > 0) {
            if (Count < V) {
                Select(Count - 1);
                return;
            }
            if (C < F + V - 1) {
                Select(F + V - 1);
            } else {
                Select(std::min(C + V, Count - 1));
                VertScrollBar().SetPosition(VertScrollBar().Position() + V);
            }
        }
        break;
    default:
        // The scroll area's own key handling would move the bars a second time.
        QWidget::keyPressEvent(Event);
        return;
    }
    Event->accept();
}

void TNxCustomGrid::wheelEvent(QWheelEvent* Event)
{
    Event->accept();
    if (FEditing)
        return;
    // One notch (120) scrolls one line, or a page with Ctrl.
    FWheelDelta += Event->angleDelta().y();
    const bool Page = Event->modifiers() & Qt::ControlModifier;
    while (FWheelDelta >= 120 || FWheelDelta <= -120) {
        const bool Up = FWheelDelta > 0;
        FWheelDelta += Up ? -120 : 120;
        TNxScrollBar& Bar = VertScrollBar().Max() > 0 ? VertScrollBar() : HorzScrollBar();
        if (&Bar == &HorzScrollBar() && (GridStyle() != gsReport || Bar.Max() <= 0))
            return;
        if (Page)
            Up ? Bar.PageUp() : Bar.PageDown();
        else
            Up ? Bar.LineUp() : Bar.LineDown();
    }
}
