// The current cell, row selection (single, full-row, multiple), the selection
// events, and the navigation primitives the keyboard and mouse handlers call.
#include "NxCustomGridControl.h"

#include <algorithm>

void TNxCustomGridControl::SelectCell(int ACol, int ARow, TShiftState Shift)
{
    if (Deferred([this, C = ColRef(ACol), R = RowRef(ARow), Shift] {
            if (!C.Gone() && !R.Gone())
                SelectCell(C.Now(), R.Now(), Shift);
        }))
        return;
    // A column that does not exist cannot become current, as a disabled or a hidden
    // one cannot, nor can a row that does not exist; the input line has no row.
    if (!FColumns->IsValidIndex(ACol) || !FColumns->Item(ACol)->Enabled() || !FColumns->Item(ACol)->Visible()
        || (!FInputSelected && !IsValidRow(ARow)))
        return;
    if (!IsValidRow(ARow))
        ARow = FSelectedRow;
    const TOperation Operation(*this);
    if (FMultiSelected && !(Shift & (ssShift | ssCtrl)))
        ClearSelection();
    const int OldCol = FSelectedColumn;
    const int OldRow = FSelectedRow;
    FSelectedColumn = ACol;
    FSelectedRow = ARow;
    // The deselection handler, and an edit that a scroll commits, may change the
    // grid: the selection goes on from where they left the current cell, if it is
    // still there.
    const unsigned Stamp = FChangeCount;
    auto Lost = [&] {
        if (FChangeCount == Stamp && FSelectedColumn == ACol && FSelectedRow == ARow)
            return false;
        ACol = FSelectedColumn;
        ARow = FSelectedRow;
        return !FColumns->IsValidIndex(ACol) || (!FInputSelected && !IsValidRow(ARow));
    };
    if (ACol != OldCol || ARow != OldRow)
        DoDeselectCell(OldCol, OldRow);
    if (Lost())
        return;
    if (FAutoScroll)
        ScrollToRow(ARow);
    else if (!FInputSelected && FUpdateCount <= 0)
        RevealCutRow(ARow);
    if (Lost())
        return;
    if (FInputSelected) {
        if (ACol != OldCol) {
            RefreshColumn(FColumns->Item(ACol), caInput);
            if (FColumns->IsValidIndex(OldCol))
                RefreshColumn(FColumns->Item(OldCol), caInput);
            DoInputSelectCell(ACol);
        }
        return;
    }
    if (GetRowCount() == 0)
        return;
    const bool Slides = FGridStyle == gsSlides;
    auto RefreshOne = [&](int Row, bool KeepInside) {
        if (Slides)
            RefreshSlide(Row, KeepInside);
        else
            RefreshRow(Row);
    };
    if (!(FOptions & goSelectFullRow)) {
        if (ACol == OldCol && ARow == OldRow) {
            DoSelectCell(ACol, ARow);
            return;
        }
        if (ARow != OldRow) {
            if (Slides) {
                RefreshSlide(ARow, true);
                RefreshSlide(OldRow, true);
            } else {
                RefreshIndicatorRow(ARow);
                RefreshIndicatorRow(OldRow);
            }
        }
        RefreshCell(ACol, ARow);
        RefreshCell(OldCol, OldRow);
        DoSelectCell(ACol, ARow);
        return;
    }
    const bool Multi = FOptions & goMultiSelect;
    if (Multi && (Shift & ssCtrl)) {
        FSelectionAnchor = ARow;
        FMultiSelected = true;
        SetRowSelected(ARow, !GetRowSelected(ARow));
        if (ARow != OldRow)
            RefreshOne(OldRow, true);
        DoSelectCell(ACol, ARow);
        return;
    }
    if (Multi && (Shift & ssShift)) {
        FMultiSelected = true;
        const int Lo = std::min(FSelectionAnchor, ARow), Hi = std::max(FSelectionAnchor, ARow);
        SelectRows(Lo, Hi);
        if (ARow != OldRow) {
            RefreshOne(ARow, true);
            RefreshOne(OldRow, true);
        }
        DoSelectCell(ACol, ARow);
        return;
    }
    if (ARow != OldRow && !FMultiSelected)
        SetRowSelected(OldRow, false);
    if (ARow == OldRow && (FAppearanceOptions & aoIndicateSelectedCell) && ACol != OldCol) {
        RefreshCell(ACol, ARow);
        if (FColumns->IsValidIndex(OldCol))
            RefreshCell(OldCol, OldRow);
    }
    SetRowSelected(ARow, true);
    FSelectionAnchor = ARow;
    if (FUpdateCount <= 0) {
        const bool KeepInside = !(FAppearanceOptions & aoHighlightSlideCells);
        RefreshOne(ARow, KeepInside);
        RefreshOne(OldRow, KeepInside);
    }
    DoSelectCell(ACol, ARow);
}

void TNxCustomGridControl::SelectRows(int Lo, int Hi)
{
    for (int R = 0; R < GetRowCount(); ++R)
        SetRowSelected(R, R >= Lo && R <= Hi);
}

void TNxCustomGridControl::SetSelectedRow(int ARow)
{
    if (Deferred([this, R = RowRef(ARow)] {
            if (!R.Gone())
                SetSelectedRow(R.Now());
        }))
        return;
    if (GetRowCount() == 0 || ARow < 0 || ARow >= GetRowCount())
        return;
    FInputSelected = false;
    SelectCell(NavigationColumn(), ARow, 0);
}

void TNxCustomGridControl::SetCurrentCell(int ACol, int ARow)
{
    FSelectedColumn = ACol;
    FSelectedRow = ARow;
}

void TNxCustomGridControl::SelectColumn(int ACol)
{
    if (FColumns->Count() >= 1 && ACol >= 0 && ACol < FColumns->Count())
        SelectCell(ACol, FSelectedRow, 0);
}

void TNxCustomGridControl::ClearSelection()
{
    if (InLine([this] { ClearSelection(); }))
        return;
    const TOperation Operation(*this);
    BeginUpdate();
    for (int R = 0; R < GetRowCount(); ++R)
        SetRowSelected(R, false);
    EndUpdate();
    FMultiSelected = false;
    FSelectedRow = -1;
    FSelectedColumn = -1;
}

void TNxCustomGridControl::ScrollToRow(int ARow)
{
    if (InLine([this, R = RowRef(ARow)] {
            if (!R.Gone())
                ScrollToRow(R.Now());
        }))
        return;
    if (!IsValidRow(ARow))
        return;
    const TOperation Operation(*this);
    // Positions count shown rows; with collapsed rows they are not row numbers.
    const int Row = PositionOfRow(ARow);
    const int P = VertScrollBar().Position();
    if (Row >= P + GetVisibleRowCount())
        // ARow becomes the last wholly shown row, whatever the heights above it.
        VertScrollBar().MoveBy(Row - RowsFittingUpFrom(ARow) + 1 - P);
    else if (Row < P)
        VertScrollBar().MoveBy(Row - P);
}

void TNxCustomGridControl::RevealCutRow(int ARow)
{
    if (!IsValidRow(ARow) || ARow < FFirstRow || FGridStyle != gsReport)
        return;
    // Only a row the body's bottom edge cuts; rows out of sight stay there.
    const int V = GetVisibleRowCount();
    if (PositionOfRow(ARow) - VertScrollBar().Position() == V && RowTop(ARow) < GetBodyRect().Bottom)
        ScrollToRow(ARow);
}

int TNxCustomGridControl::NavigationColumn() const
{
    if (FColumns->IsValidIndex(FSelectedColumn) && FColumns->Item(FSelectedColumn)->Visible())
        return FSelectedColumn;
    // After ClearSelection or the current column's removal the keys go on from
    // the first column that can be current.
    for (int P = 0; P < FColumns->Count(); ++P) {
        TNxCustomColumn* C = FColumns->ItemByPosition(P);
        if (C->Visible() && C->Enabled())
            return C->Index();
    }
    return FSelectedColumn;
}

void TNxCustomGridControl::AfterScroll(int Kind)
{
    Q_UNUSED(Kind);
    GridChanged();
}

void TNxCustomGridControl::ScrollColumnIntoView(TNxCustomColumn* Column)
{
    if (!Column || FGridStyle != gsReport || !ColumnScrolled(Column))
        return;
    const TRect Area = GetScrollArea();
    const int X = Column->Left() - HorzScrollPos();
    if (X < Area.Left)
        HorzScrollBar().MoveBy(X - Area.Left);
    else if (X + Column->Width() > Area.Right)
        HorzScrollBar().MoveBy(X + Column->Width() - Area.Right);
}

void TNxCustomGridControl::MoveDown(TShiftState Shift)
{
    int Target = -1;
    if (FInputSelected) {
        FInputSelected = false;
        InvalidatePart(gpInput);
        if (GetRowCount() > 0)
            Target = 0;
    } else if (const int R = NextShownRow(FSelectedRow + 1); R < GetRowCount()) {
        Target = R;
    }
    if (Target < 0)
        return;
    SelectCell(NavigationColumn(), Target, Shift);
    if (FSelectedRow != Target)
        return;
    if (FGridStyle == gsReport) {
        const TRect R = GetCellRect(std::max(FSelectedColumn, 0), Target);
        if (R.Bottom >= GetBodyRect().Bottom && VertScrollBar().Max() > 0)
            WMVScroll(scLineDown);
    } else if (SlideTop(Target) + FSlideSize >= ClientHeight() && VertScrollBar().Max() > 0) {
        WMVScroll(scLineDown);
    }
}

void TNxCustomGridControl::MoveUp(TShiftState Shift)
{
    if (FSelectedRow == 0 && (FOptions & goInput) && FGridStyle == gsReport) {
        SetInputSelected(true);
        return;
    }
    int Target = 0;
    if (!FInputSelected)
        Target = std::max(PrevShownRow(FSelectedRow - 1), 0);
    if (GetRowCount() == 0)
        return;
    SelectCell(NavigationColumn(), Target, Shift);
    if (Target < FFirstRow)
        WMVScroll(scLineUp);
}

void TNxCustomGridControl::MoveLeft()
{
    FSelectedColumn = NavigationColumn();
    if (!FColumns->IsValidIndex(FSelectedColumn))
        return;
    TNxCustomColumn* C = FColumns->Item(FSelectedColumn)->PreviousEnabledVisible();
    SelectCell(C->Index(), FSelectedRow, 0);
    // The selection handler may have deleted the column.
    if (FGridStyle == gsReport && FColumns->IndexOf(C) >= 0)
        ScrollColumnIntoView(C);
}

void TNxCustomGridControl::MoveRight()
{
    FSelectedColumn = NavigationColumn();
    if (!FColumns->IsValidIndex(FSelectedColumn))
        return;
    TNxCustomColumn* C = FColumns->Item(FSelectedColumn)->NextEnabledVisible();
    SelectCell(C->Index(), FSelectedRow, 0);
    if (FGridStyle == gsReport && FColumns->IndexOf(C) >= 0)
        ScrollColumnIntoView(C);
}

void TNxCustomGridControl::NextCell()
{
    FSelectedColumn = NavigationColumn();
    if (!FColumns->IsValidIndex(FSelectedColumn))
        return;
    if (FColumns->Item(FSelectedColumn) == FColumns->LastVisible() && !FInputSelected) {
        MoveDown(0);
        if (TNxCustomColumn* First = FColumns->FirstVisible())
            SelectColumn(First->Index());
    } else {
        MoveRight();
    }
}

void TNxCustomGridControl::PrevCell()
{
    FSelectedColumn = NavigationColumn();
    if (!FColumns->IsValidIndex(FSelectedColumn))
        return;
    if (FColumns->Item(FSelectedColumn) == FColumns->FirstVisible() && !FInputSelected) {
        MoveUp(0);
        if (TNxCustomColumn* Last = FColumns->LastVisible())
            SelectColumn(Last->Index());
    } else {
        MoveLeft();
    }
}
