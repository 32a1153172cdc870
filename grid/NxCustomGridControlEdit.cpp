// Editing a cell in place and collecting a new row in the input line: the
// editor opens over the cell, its events come back to the grid, and its text
// goes into the cell when the edit ends.
#include "NxCustomGridControl.h"
#include "NxCells.h"
#include "NxEdit.h"

#include "DwError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <exception>

namespace {

// The column's own editor made ready for a cell: the column's settings, the
// cell's colour and the column's font and text colour.
void PrepareOwnEditor(TNxCustomColumn* Column, TNxCustomEdit* Editor, TColor Color)
{
    Column->PrepareEditor(Editor);
    Editor->SetColor(Color);
    Editor->setFont(Column->Font());
    Editor->SetFontColor(Column->FontColor());
    Editor->update();
}

// A typed start leaves the caret after the typed key, so that the next key adds
// to it instead of replacing it; only a start from the stored text selects it all.
void PutCaret(TNxCustomColumn* Column, TNxCustomEdit* Editor, bool Typed)
{
    if ((Column->Options() & coEditorAutoSelect) && !Typed)
        Editor->selectAll();
    else
        Editor->end(false);
}

// A value the column's cells cannot hold raises the cells' own conversion error.
// An empty one is not written, so it is never refused.
void CheckCellValue(const TNxCustomColumn* Column, const QString& Value)
{
    if (Value.isEmpty())
        return;
    switch (Column->Kind()) {
    case ckInteger: (void)NxCellConvert::StrToInt(Value); break;
    case ckFloat: (void)NxCellConvert::StrToFloat(Value); break;
    case ckDateTime: (void)NxCellConvert::StrToDateTime(Value); break;
    case ckBoolean: (void)NxCellConvert::ReadBoolean(Value); break;
    default: break;
    }
}

} // namespace

bool TNxCustomGridControl::FocusGoesToEditor() const
{
    const QWidget* F = QApplication::focusWidget();
    return F && FActiveEditor && F == FActiveEditor.data();
}

void TNxCustomGridControl::StartEdit(int ACol, int ARow, const QString& Text)
{
    if (Deferred([this, C = ColRef(ACol), R = RowRef(ARow), Text] {
            if (!C.Gone() && !R.Gone())
                StartEdit(C.Now(), R.Now(), Text);
        }))
        return;
    const TOperation Operation(*this);
    if (FEditing && ACol == FEditCol && ARow == FEditRow)
        return;
    // A row folded away under its parent has no cell on screen to edit over.
    if (!FColumns->IsValidIndex(ACol) || !IsValidRow(ARow) || !GetRowVisible(ARow) || FReadOnly)
        return;
    TNxCustomColumn* Column = FColumns->Item(ACol);
    if (!Column->Visible())
        return;
    // Options first: a column that does not edit needs no editor made to say so.
    auto CanEdit = [&] {
        return (Column->Options() & coEditing) && (Column->GetEditOptions() & 1) && Column->Editor();
    };
    if (!CanEdit())
        return;
    // The handlers, the commit or a scroll may remove the column or change its
    // editor (what they do to the rows waits for this operation): it is looked up
    // again after each, by its address only until it is known to be in the list still.
    auto Gone = [&] {
        ACol = FColumns->IndexOf(Column);
        return ACol < 0 || !IsValidRow(ARow) || !GetRowVisible(ARow) || !CanEdit();
    };
    bool Accept = true;
    DoBeforeEdit(ACol, ARow, Accept);
    if (!Accept || Gone())
        return;
    if (FEditing || FInputEditing) {
        (void)EndEdit();
        CloseEditor();
    }
    if (Gone())
        return;
    // An editor over a cell out of view would take the keys unseen and write where
    // the user cannot look.
    ScrollToRow(ARow);
    if (Gone())
        return;
    ScrollColumnIntoView(Column);
    if (Gone() || !CellShown(ACol, ARow))
        return;
    TNxCustomEdit* Editor = Column->Editor();
    FEditing = true;
    ++FEditSerial;
    FEditCol = ACol;
    FEditRow = ARow;
    FEditColumn = Column;
    FEditRowKey = RowKey(ARow);
    const QString StartText = Text.isEmpty() ? GetCellText(ACol, ARow) : Text;
    if (Editor == Column->OwnEditor())
        PrepareOwnEditor(Column, Editor, GetCellColor(ACol, ARow));
    SetActiveEditor(Editor);
    {
        // Setting the start text is no edit of the user's.
        const QSignalBlocker Block(Editor);
        Editor->setText(StartText);
    }
    PutCaret(Column, Editor, !Text.isEmpty());
    PlaceEditor();
}

void TNxCustomGridControl::StartInputEdit(TNxCustomColumn* Column, const QString& Text)
{
    // Only the pointer is compared until the column is known to be in the list still.
    if (Deferred([this, Column, Text] {
            if (FColumns->IndexOf(Column) >= 0)
                StartInputEdit(Column, Text);
        }))
        return;
    const TOperation Operation(*this);
    if (!Column || FColumns->IndexOf(Column) < 0)
        return;
    const int Index = Column->Index();
    SetInputSelected(true);
    SelectColumn(Index);
    if (FEditing || FInputEditing) {
        (void)EndEdit();
        CloseEditor();
    }
    // The handlers that ran may have removed the column; only the pointer is
    // compared until it is known to be in the list still.
    auto Gone = [&] { return !FColumns->IsValidIndex(Index) || FColumns->Item(Index) != Column; };
    if (Gone())
        return;
    TNxCustomEdit* Editor = Column->Editor();
    if (!Editor || !(Column->GetEditOptions() & 2) || FReadOnly)
        return;
    ScrollColumnIntoView(Column);
    if (Gone() || !CellShown(Index, -1))
        return;
    FInputEditing = true;
    ++FEditSerial;
    FEditColumn = Column;
    if (Editor == Column->OwnEditor())
        PrepareOwnEditor(Column, Editor, Column->Color());
    SetActiveEditor(Editor);
    FInputColumn = Column->Index();
    Column->SetInputEditing(true);
    {
        const QSignalBlocker Block(Editor);
        Editor->setText(Text.isEmpty() ? Column->InputValue() : Text);
    }
    FEditCol = FEditRow = -1;
    PlaceEditor();
    PutCaret(Column, Editor, !Text.isEmpty());
    DoInputSelectCell(Column->Index());
}

void TNxCustomGridControl::SetActiveEditor(TNxCustomEdit* Editor)
{
    if (Editor && Editor != FActiveEditor)
        FEditorHandlers = {Editor->OnChange, Editor->OnEnter, Editor->OnExit, Editor->OnKeyDown, Editor->OnKeyPress};
    FActiveEditor = Editor;
    if (!Editor)
        return;
    if (Editor->parentWidget() != viewport()) {
        FEditorHome = Editor->parentWidget();
        Editor->setParent(viewport());
    }
    Editor->SetWantTabs(FWantTabs);
    Editor->setLayoutDirection(layoutDirection());
    // The editor's events are operations of the grid's, as its own are.
    Editor->OnChange = [this](TNxCustomEdit* E) {
        const TOperation Operation(*this);
        if (E == FActiveEditor)
            DoEdit(FEditCol, FEditRow, E->text());
    };
    Editor->OnEnter = [this](TNxCustomEdit*) {
        if (!hasFocus())
            Invalidate();
    };
    Editor->OnExit = [this](TNxCustomEdit* E) {
        if (E != FActiveEditor)
            return;
        const TOperation Operation(*this);
        const QWidget* F = QApplication::focusWidget();
        // Focus that leaves the editor for anything but the grid ends the edit.
        if (F != this && F != viewport())
            EndEditOnLeave();
        Invalidate();
    };
    Editor->OnKeyDown = [this](TNxCustomEdit* E, QKeyEvent* K) {
        if (E != FActiveEditor)
            return false;
        const TOperation Operation(*this);
        try {
            return EditorKeyDown(K);
        } catch (const EDotwrightError& Error) {
            // A text the cell cannot take stays in the open editor for the user to correct.
            ReportGridError(Error);
            return true;
        }
    };
    Editor->OnKeyPress = [this](TNxCustomEdit* E, QChar Key) {
        if (E != FActiveEditor)
            return;
        const TOperation Operation(*this);
        EditorKeyPress(Key);
    };
}

void TNxCustomGridControl::EndEditOnLeave()
{
    if (!FEditing && !FInputEditing)
        return;
    // A message box or a menu over the window has the focus only for a while; it
    // comes back to the edit (an error box about this very edit would end it).
    const QWidget* F = QApplication::focusWidget();
    if (F && F->window() != window())
        return;
    CommitAndClose();
}

void TNxCustomGridControl::EndOpenEdit(bool Commit)
{
    // The grid's own end of an edit, while a handler runs, is of the edit open now:
    // one that the handler's waiting changes open later stays.
    if (EditDeferred([this, Commit] { EndOpenEdit(Commit); }))
        return;
    Commit ? CommitAndClose() : CloseEditor();
}

void TNxCustomGridControl::CommitAndClose()
{
    if (Deferred([this] { CommitAndClose(); }))
        return;
    const TOperation Operation(*this);
    try {
        (void)EndEdit();
    } catch (const std::exception& Error) {
        // A text the cell cannot take goes with the editor the user left; the
        // error is shown once the edit is closed.
        CloseEditor();
        ReportGridError(Error);
        return;
    }
    CloseEditor();
}

TNxCustomGridControl::TRowsChange::TRowsChange(TNxCustomGridControl& Grid)
    : FGrid(Grid)
    , FOperation(Grid)
    , FEditedCurrentRow(Grid.FEditing && Grid.FSelectedRow == Grid.FEditRow ? Grid.FEditRow : -1)
    , FExceptions(std::uncaught_exceptions())
{
    if (Grid.FRowsLocked > 0)
        throw EDotwrightError(QStringLiteral("The rows cannot change while they are being sorted"));
    ++Grid.FRowsChanging;
}

TNxCustomGridControl::TRowsChange::~TRowsChange()
{
    // While an exception passes, the edit only follows its cell: no handler runs.
    const QScopedValueRollback Quiet(FGrid.FCommitting, FGrid.FCommitting || std::uncaught_exceptions() > FExceptions);
    --FGrid.FRowsChanging;
    FGrid.GridChanged(FEditedCurrentRow);
}

TNxCustomGridControl::TRowHold::TRowHold(TNxCustomGridControl& Grid, int Row)
    : FGrid(Grid)
    , FKey(Grid.RowKey(Row))
    , FRow(Grid.IsValidRow(Row) ? Row : -1)
{
    Grid.FRowHolds.push_back(this);
}

TNxCustomGridControl::TRowHold::~TRowHold()
{
    std::erase(FGrid.FRowHolds, this);
}

void TNxCustomGridControl::KeepCurrentColumnShown()
{
    if (!FColumns->IsValidIndex(FSelectedColumn))
        return;
    TNxCustomColumn* C = FColumns->Item(FSelectedColumn);
    if (C->Visible())
        return;
    TNxCustomColumn* Next = C->NextEnabledVisible();
    if (Next == C)
        Next = C->PreviousEnabledVisible();
    FSelectedColumn = Next == C ? -1 : Next->Index();
    Invalidate();
}

bool TNxCustomGridControl::FollowEditCell(int EditedCurrentRow)
{
    const int Col = FColumns->IndexOf(FEditColumn);
    const int Row = FEditing && Col >= 0 ? RowOfKey(FEditRowKey, FEditRow) : -1;
    if (Col < 0 || (FEditing && Row < 0)) {
        // The cell went with its row or column: there is nothing left to write into.
        FEditCol = FEditRow = FInputColumn = -1;
        EndOpenEdit(false);
        return false;
    }
    if (FInputEditing) {
        FInputColumn = Col;
        return true;
    }
    // Only when the change itself left the current row where it was.
    if (EditedCurrentRow >= 0 && FSelectedRow == EditedCurrentRow && FSelectedRow != Row) {
        FSelectedRow = Row;
        Invalidate();
    }
    FEditCol = Col;
    FEditRow = Row;
    return true;
}

void TNxCustomGridControl::GridChanged(int EditedCurrentRow)
{
    ++FChangeCount;
    // A sort reads the rows and the cell columns: the grid looks again when it is done.
    if (FDestroying || !FColumns || FRowsLocked > 0)
        return;
    for (TRowHold* H : FRowHolds)
        H->FRow = H->FRow < 0 ? -1 : RowOfKey(H->FKey, H->FRow);
    KeepCurrentColumnShown();
    if ((FEditing || FInputEditing) && !FollowEditCell(EditedCurrentRow))
        return;
    // A handler made the change: the edit's numbers have followed it, the editor
    // follows once the operation is done (as does an edit the operation opens
    // meanwhile, over a cell the change may have taken out of view).
    if (FHandlers > 0) {
        if (!std::exchange(FSettleWaits, true))
            FDeferred.push_back([this] {
                FSettleWaits = false;
                GridChanged();
            });
        return;
    }
    if ((!FEditing && !FInputEditing) || FInGridChanged)
        return;
    const TOperation Operation(*this);
    const QScopedValueRollback Busy(FInGridChanged, true);
    // Row heights are measured by a handler that may change the grid again: then
    // the edit has followed once more and is looked at anew.
    for (int Tries = 0; Tries < 3 && (FEditing || FInputEditing); ++Tries) {
        const unsigned Stamp = FChangeCount;
        const bool Shown = CellShown(FEditing ? FEditCol : FInputColumn, FEditing ? FEditRow : -1);
        if (FChangeCount != Stamp)
            continue;
        // Never open unseen: an edit that cannot be shown ends as a focus change ends it.
        if (!Shown && !FCommitting && FRowsChanging == 0) {
            CommitAndClose();
            return;
        }
        PlaceEditor();
        if (FChangeCount == Stamp)
            return;
    }
}

bool TNxCustomGridControl::CellShown(int ACol, int ARow) const
{
    if (!FColumns->IsValidIndex(ACol))
        return false;
    TNxCustomColumn* C = FColumns->Item(ACol);
    if (!C->Visible() || (ARow >= 0 && (!IsValidRow(ARow) || !GetRowVisible(ARow))))
        return false;
    if (ARow < 0 && (!(FOptions & goInput) || FGridStyle != gsReport))
        return false;
    // A grid off screen shows nothing; an edit in it waits with it.
    if (!isVisible())
        return true;
    const TRect B = GetBodyRect();
    const TRect R = ARow < 0 ? C->PartRect(caInput) : GetCellRect(ACol, ARow);
    // Shown only where the editor can be seen: a row with a pixel or two in the body has no room for it.
    const TRect E = EditorRect(ACol, ARow);
    // Measuring the rows runs a handler, which may have deleted the column.
    if (FColumns->IndexOf(C) != ACol)
        return false;
    const int Left = FGridStyle == gsReport && ColumnScrolled(C) ? std::max(B.Left, GetScrollArea().Left) : B.Left;
    const bool Across = R.Right > Left && R.Left < std::min(B.Right, ClientWidth());
    return Across && E.Bottom > E.Top && (ARow < 0 || (R.Top >= B.Top && R.Top < B.Bottom));
}

bool TNxCustomGridControl::EditorKeyDown(QKeyEvent* Event)
{
    const int Key = Event->key();
    if (Key == Qt::Key_Tab || Key == Qt::Key_Backtab) {
        // A refused value stays in the open editor for the user to correct.
        if (!EndEdit() && FEditRefused)
            return true;
        CloseEditor();
        setFocus(Qt::TabFocusReason);
        // A grid that does not want tabs lets Tab move the focus on, as anywhere in a form.
        if (FWantTabs)
            keyPressEvent(Event);
        else
            focusNextPrevChild(Key == Qt::Key_Tab);
        return true;
    }
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
        const bool Shift = Event->modifiers() & Qt::ShiftModifier;
        if (FEditing) {
            if (!EndEdit() && FEditRefused)
                return true;
            CloseEditor();
            setFocus(Qt::OtherFocusReason);
            switch (FSelectionMoveDirection) {
            case mdUp: MoveUp(Shift ? ssShift : 0); break;
            case mdDown: MoveDown(Shift ? ssShift : 0); break;
            case mdLeft: MoveLeft(); break;
            case mdRight: MoveRight(); break;
            case mdNone: break;
            }
        } else if (FInputEditing && FActiveEditor) {
            (void)EndEdit();
            // The editor keeps its text until the row is in: a value the row
            // refuses stays there for the user to correct.
            if (FColumns->IsValidIndex(FInputColumn))
                FColumns->Item(FInputColumn)->SetInputEditing(true);
            AcceptInput();
            if (FColumns->IsValidIndex(FInputColumn) && FActiveEditor) {
                TNxCustomColumn* C = FColumns->Item(FInputColumn);
                C->SetInputEditing(true);
                const QSignalBlocker Block(FActiveEditor.data());
                FActiveEditor->setText(C->InputValue());
                FActiveEditor->selectAll();
            }
        }
        return true;
    }
    if (Key == Qt::Key_Escape) {
        if (FOptions & goEscClearEdit) {
            FActiveEditor->clear();
        } else {
            CloseEditor();
            setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    return false;
}

TRect TNxCustomGridControl::EditorRect(int ACol, int ARow) const
{
    if (!FColumns->IsValidIndex(ACol))
        return {};
    const TRect B = GetBodyRect();
    TRect R;
    if (ARow < 0) {
        R = FColumns->Item(ACol)->PartRect(caInput);
    } else {
        R = GetCellRect(ACol, ARow);
        R.Left += FLineWidths.Left;
        R.Right -= FLineWidths.Right;
        R.Bottom = std::min(R.Bottom, B.Bottom);
    }
    R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    R.Left = std::max({R.Left, 0, B.Left});
    return R;
}

void TNxCustomGridControl::PlaceEditor()
{
    if (!FActiveEditor)
        return;
    const TOperation Operation(*this);
    const unsigned Stamp = FChangeCount;
    const TRect B = GetBodyRect();
    TRect R;
    if (FEditing && FEditCol >= 0 && FEditRow >= 0) {
        R = EditorRect(FEditCol, FEditRow);
        // Out of the row area, or too little of the row in it to edit on. The grid
        // keeps the focus: handed on to another widget it would end the edit.
        if (B.Top > R.Top - 1 || R.Top - 1 >= B.Bottom || R.Bottom <= R.Top) {
            if (FActiveEditor->hasFocus())
                setFocus(Qt::OtherFocusReason);
            FActiveEditor->hide();
            return;
        }
    } else if (FInputEditing && FColumns->IsValidIndex(FInputColumn)) {
        R = EditorRect(FInputColumn, -1);
    } else {
        return;
    }
    // A handler that measured the rows changed the grid: it has placed the editor again.
    if (FChangeCount != Stamp || !FActiveEditor)
        return;
    // Moved while shown: a focused editor that hid would hand the focus on and end the edit.
    FActiveEditor->setGeometry(R.ToQRect());
    FActiveEditor->show();
    FActiveEditor->setFocus(Qt::OtherFocusReason);
    FActiveEditor->update();
}

bool TNxCustomGridControl::EndEdit()
{
    // Asked for by a handler: nothing is written now.
    if (Deferred([this] { (void)EndEdit(); }))
        return false;
    const TOperation Operation(*this);
    bool Result = true;
    FEditRefused = false;
    if (!FActiveEditor)
        return FEditing || FInputEditing ? false : Result;
    const QString Value = FActiveEditor->text();
    // The handlers below may move or remove the cell: the edit follows it
    // (GridChanged) and is not committed a second time on the way.
    const QScopedValueRollback Busy(FCommitting, true);
    if (FEditing) {
        if (!IsValidRow(FEditRow) || !FColumns->IsValidIndex(FEditCol) || Value == GetCellText(FEditCol, FEditRow)) {
            Result = false;
        } else {
            bool Accept = true;
            DoEditAccept(FEditCol, FEditRow, Value, Accept);
            if (Accept && FEditing && IsValidRow(FEditRow) && FColumns->IsValidIndex(FEditCol)) {
                SetCellText(FEditCol, FEditRow, Value);
                // OnChange ran: the cell may have moved, or gone with the edit.
                if (FEditing)
                    DoAfterEdit(FEditCol, FEditRow, Value);
            } else {
                FEditRefused = FEditing && !Accept;
                Result = false;
            }
        }
    }
    if (FInputEditing && FColumns->IsValidIndex(FInputColumn)) {
        TNxCustomColumn* C = FColumns->Item(FInputColumn);
        C->SetInputValue(Value);
        C->SetInputEditing(false);
    }
    return Result;
}

bool TNxCustomGridControl::ReleaseEditor()
{
    // The editor no longer reports to this grid, and stops before it hides: a
    // focused editor that hides hands the focus to the next widget in the chain,
    // and its exit would commit the edit and close it a second time.
    TNxCustomEdit* E = FActiveEditor;
    E->OnChange = nullptr;
    E->OnEnter = nullptr;
    E->OnExit = nullptr;
    E->OnKeyDown = nullptr;
    E->OnKeyPress = nullptr;
    const bool HadFocus = E->hasFocus();
    // A grid being destroyed must not get the focus back.
    if (FDestroying && HadFocus)
        E->clearFocus();
    E->hide();
    // One the user supplied goes home, rather than being deleted with the viewport.
    const bool Own = FColumns && [&] {
        for (int I = 0; I < FColumns->Count(); ++I)
            if (FColumns->Item(I)->MadeOwnEditor() == E)
                return true;
        return false;
    }();
    // One whose column went meanwhile is already on its way out, with the viewport as its parent.
    if (!Own && !E->Dying() && E->parentWidget() == viewport())
        E->setParent(FEditorHome);
    FEditorHome = nullptr;
    // An InplaceEdit of the user's is used without changes: its own handlers come back.
    E->OnChange = std::move(FEditorHandlers.OnChange);
    E->OnEnter = std::move(FEditorHandlers.OnEnter);
    E->OnExit = std::move(FEditorHandlers.OnExit);
    E->OnKeyDown = std::move(FEditorHandlers.OnKeyDown);
    E->OnKeyPress = std::move(FEditorHandlers.OnKeyPress);
    FEditorHandlers = {};
    return HadFocus;
}

void TNxCustomGridControl::CloseEditor()
{
    if (Deferred([this] { CloseEditor(); }))
        return;
    const TOperation Operation(*this);
    // The edit is forgotten before the editor hides and the cell repaints: a handler
    // that runs on the way finds no edit to show the editor for.
    const bool WasEditing = FEditing, WasInput = FInputEditing;
    const int Col = FEditCol, Row = FEditRow, Input = FInputColumn;
    FEditing = false;
    FInputEditing = false;
    FEditCol = FEditRow = FInputColumn = -1;
    FEditColumn = nullptr;
    FEditRowKey = nullptr;
    if (FColumns && FColumns->IsValidIndex(Input))
        FColumns->Item(Input)->SetInputEditing(false);
    if (FActiveEditor) {
        if (ReleaseEditor() && isVisible())
            setFocus(Qt::OtherFocusReason);
        if (WasEditing)
            RefreshCell(Col, Row);
        else if (WasInput && FColumns->IsValidIndex(Input))
            RefreshColumn(FColumns->Item(Input), caInput);
    }
    FActiveEditor = nullptr;
}

void TNxCustomGridControl::AcceptInput()
{
    if (Deferred([this] { AcceptInput(); }))
        return;
    const TOperation Operation(*this);
    bool Accept = true;
    DoInputAccept(Accept);
    if (!Accept)
        return;
    auto ValueOf = [](const TNxCustomColumn* C) { return C->InputValue().isEmpty() ? C->DefaultValue() : C->InputValue(); };
    // Every value is checked before the row is added: a refused one adds nothing.
    for (int I = 0; I < FColumns->Count(); ++I)
        CheckCellValue(FColumns->Item(I), ValueOf(FColumns->Item(I)));
    AddRow(1);
    const int Row = GetRowCount() - 1;
    for (int I = 0; I < FColumns->Count(); ++I) {
        TNxCustomColumn* C = FColumns->Item(I);
        const QString Value = ValueOf(C);
        if (!Value.isEmpty() && Row >= 0)
            SetCellText(I, Row, Value);
    }
    for (int I = 0; I < FColumns->Count(); ++I)
        FColumns->Item(I)->SetInputValue(QString());
    DoInputAdded();
}
