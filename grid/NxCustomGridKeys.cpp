// The grid's keys: navigation and paging, Enter and Tab, starting an edit with
// a typed character, and the incremental search over the search column.
#include "NxCustomGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>

namespace {

// Upper case for the ASCII letters only, as the search compares.
QString AsciiUpper(const QString& S)
{
    QString R = S;
    for (QChar& C : R)
        if (C.unicode() >= 'a' && C.unicode() <= 'z')
            C = QChar(C.unicode() - 32);
    return R;
}

// The keys that move the selection.
bool MovesSelection(int Key)
{
    switch (Key) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left:
    case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Return: case Qt::Key_Enter:
        return true;
    default: return false;
    }
}

} // namespace

void TNxCustomGrid::keyPressEvent(QKeyEvent* Event)
{
    const bool Moves = MovesSelection(Event->key());
    if ((Editing() || InputEditing()) && ActiveEditor() && (ActiveEditor()->hasFocus() || FForwardingKey)) {
        // A key the open editor left (Up, Down, the page keys) stays with it: the
        // selection never moves away from the cell being edited. A key sent on to
        // the editor comes back here when it leaves it, focused or not (a window
        // that is not active gives no focus).
        Event->setAccepted(Moves);
        return;
    }
    if ((Editing() || InputEditing()) && ActiveEditor() && ActiveEditor()->isVisible()) {
        // The grid took the focus (a click on the header, say): the keys still belong to the edit.
        QPointer<TNxCustomEdit> Editor = ActiveEditor();
        Editor->setFocus(Qt::OtherFocusReason);
        const QScopedValueRollback Forwarding(FForwardingKey, true);
        QApplication::sendEvent(Editor, Event);
        return;
    }
    bool Handled = false;
    Guarded([&] {
        // With the grid focused and the editor out of view, a move ends the edit first.
        if ((Editing() || InputEditing()) && Moves) {
            if (!EndEdit() && FEditRefused) {
                Handled = true;
                return;
            }
            CloseEditor();
        }
        Handled = KeyDown(Event);
        const int Key = Event->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
            KeyPress(QChar(13));
            Handled = Handled || WantReturns();
        } else if (Key != Qt::Key_Escape) {
            const QString T = Event->text();
            if (T.size() == 1 && T[0].isPrint()) {
                KeyPress(T[0]);
                Handled = true;
            }
        }
    });
    // Keys the grid has no use for go on to its parent.
    Event->setAccepted(Handled);
}

bool TNxCustomGrid::KeyDown(QKeyEvent* Event)
{
    const TShiftState Shift = ShiftOf(Event->modifiers());
    const int V = GetVisibleRowCount();
    const int F = VertScrollBar().Position();
    const int PosC = PositionOfRow(SelectedRow());
    const int Count = RowCount(), Total = GetVisibleRowTotal();
    const bool ValidColumn = Columns().IsValidIndex(NavigationColumn());
    auto Select = [&](int Row) { SelectCell(NavigationColumn(), Row, Shift); };
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
            Select(RowAtPosition(0));
        }
        break;
    case Qt::Key_End:
        // The last shown row: one folded away under a collapsed parent cannot be current.
        if (ValidColumn && Count > 0) {
            VertScrollBar().SetPosition(VertScrollBar().Max());
            Select(RowAtPosition(Total - 1));
        }
        break;
    // The page keys count shown rows: with rows folded away, positions are not row numbers.
    case Qt::Key_PageUp:
        if (ValidColumn && Count > 0) {
            if (PosC > F) {
                Select(RowAtPosition(F));
            } else {
                const int Pos = std::max(PosC - V, 0);
                Select(RowAtPosition(Pos));
                VertScrollBar().SetPosition(Pos);
            }
        }
        break;
    case Qt::Key_PageDown:
        if (ValidColumn && Count > 0) {
            if (Total < V) {
                Select(RowAtPosition(Total - 1));
                return true;
            }
            if (PosC < F + V - 1) {
                Select(RowAtPosition(F + V - 1));
            } else {
                Select(RowAtPosition(std::min(PosC + V, Total - 1)));
                VertScrollBar().SetPosition(VertScrollBar().Position() + V);
            }
        }
        break;
    default: return false;
    }
    return true;
}

void TNxCustomGrid::MoveByDirection(TShiftState Shift)
{
    switch (SelectionMoveDirection()) {
    case mdUp: MoveUp(Shift); break;
    case mdDown: MoveDown(Shift); break;
    case mdLeft: MoveLeft(); break;
    case mdRight: MoveRight(); break;
    case mdNone: break;
    }
}

void TNxCustomGrid::KeyPress(QChar Key)
{
    if (Key.unicode() == 27)
        return;
    if (Key.unicode() == 13) {
        if (WantReturns())
            MoveByDirection(0);
        return;
    }
    // After the current column's removal typing goes on, as the other keys do.
    const int ACol = NavigationColumn();
    if (!Columns().IsValidIndex(ACol) || (!InputSelected() && !IsValidRow(SelectedRow())))
        return;
    TNxCustomColumn* Column = Columns().Item(ACol);
    // The handlers of a player or an edit may have removed the column; only the
    // pointer is compared until it is known to be in the list still.
    auto Gone = [&] { return !Columns().IsValidIndex(ACol) || Columns().Item(ACol) != Column; };
    if (Column->Play() && !ReadOnly() && ((Column->Options() & coEditing) || (Column->GetColumnStyle() & 1))) {
        if (PreparePlayer(ACol, SelectedRow(), GetCellRect(ACol, SelectedRow())))
            Column->Play()->KeyDown(Key.unicode());
        if (Gone())
            return;
    }
    if (!Editing() && !InputEditing() && Column->IsEditKey(Key)) {
        if (!InputSelected())
            StartEdit(ACol, SelectedRow(), QString(Key));
        else
            StartInputEdit(Column, QString(Key));
        if (Gone())
            return;
    }
    if (!InputSelected() && !(Column->Options() & coEditing))
        IncrementalSearch(Key);
}

void TNxCustomGrid::IncrementalSearch(QChar Key)
{
    int SearchCol = -1;
    for (int I = 0; I < Columns().Count(); ++I)
        if (Columns().Item(I)->Options() & coSearchColumn)
            SearchCol = I;
    const int Count = RowCount();
    if (SearchCol < 0 || Count == 0)
        return;
    FSearchTimer->start();
    FSearchText += Key;
    const QString Wanted = AsciiUpper(FSearchText);
    const int Current = std::clamp(SelectedRow(), -1, Count - 1);
    // A longer search text first tries the row its beginning found, so typing on
    // keeps the row that still matches; a new text starts after the current row.
    const int Start = Current < 0 ? 0 : (Current + (FSearchText.size() > 1 ? 0 : 1)) % Count;
    for (int Step = 0; Step < Count; ++Step) {
        const int Row = (Start + Step) % Count;
        // Rows folded away under a collapsed parent are not searched.
        if (GetRowVisible(Row) && AsciiUpper(GetCellText(SearchCol, Row)).startsWith(Wanted)) {
            SetSelectedRow(Row);
            // The selection handler may have moved the rows: the current row is looked up again.
            ScrollToRow(SelectedRow());
            return;
        }
    }
}

void TNxCustomGrid::SearchTimerFired()
{
    FSearchText.clear();
    FSearchTimer->stop();
}
