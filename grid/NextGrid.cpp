#include "NextGrid.h"

#include "DwError.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <set>
#include <utility>

namespace {

void ApplyFontStyle(QFont& Font, int Style)
{
    Font.setBold(Style & fsBold);
    Font.setItalic(Style & fsItalic);
    Font.setUnderline(Style & fsUnderline);
    Font.setStrikeOut(Style & fsStrikeOut);
}

} // namespace

TNextGrid::TNextGrid(QWidget* Parent)
    : TNxCustomGrid(Parent)
    , FCells(std::make_unique<TCells>(this, &Columns()))
{
    FCells->DefaultRowHeight = RowSize();
    FCells->OnCellChange = [this](TCells*, int ACol, int ARow) { CellChanged(ACol, ARow); };
    FCells->OnCompare = [this](TCells*, TCell* A, TCell* B, int& Compare) { DoCompare(A, B, Compare); };
}

TNextGrid::~TNextGrid()
{
    FDestroying = true;
    FCells->OnCellChange = nullptr;
    FCells->OnCompare = nullptr;
}

bool TNextGrid::ValidCell(int ACol, int ARow) const
{
    return ARow >= 0 && ARow <= RowCount() - 1 && ACol >= 0 && ACol <= Columns().Count() - 1;
}

QString TNextGrid::Cells(int ACol, int ARow)
{
    if (!ValidCell(ACol, ARow))
        return {};
    return FCells->GetCell(ACol, ARow)->GetAsString();
}

void TNextGrid::SetCells(int ACol, int ARow, const QString& Value)
{
    if (InLine([this, C = ColRef(ACol), R = RowRef(ARow), Value] {
            if (!C.Gone() && !R.Gone())
                SetCells(C.Now(), R.Now(), Value);
        }))
        return;
    if (!ValidCell(ACol, ARow))
        return;
    const TOperation Operation(*this);
    FCells->GetCell(ACol, ARow)->SetAsString(Value);
}

int TNextGrid::RowOfKey(const void* Key, int Hint) const
{
    if (!Key)
        return -1;
    if (IsValidRow(Hint) && FCells->GetRow(Hint) == Key)
        return Hint;
    return FCells->IndexOfRow(static_cast<const TRow*>(Key));
}

int TNextGrid::GetRowHeight(int Index) const
{
    // A row a handler removed while the caller walked the rows.
    if (!IsValidRow(Index))
        return RowSize();
    int H = FCells->GetRow(Index)->Height;
    DoMeasuringRowHeight(Index, H);
    return H;
}

bool TNextGrid::RowStepsSummed() const
{
    if (GridStyle() != gsReport || OnMeasuringRowHeight)
        return false;
    // The store sums each row's height with the lines the grid draws now.
    FCells->SetRowSpacing(LineWidths().RowSpacing);
    return true;
}

qint64 TNextGrid::SummedPixelsBefore(int ARow) const
{
    return FCells->ShownPixelsBefore(std::clamp(ARow, 0, RowCount()));
}

void TNextGrid::SetRowSelected(int Index, bool Value)
{
    if (!IsValidRow(Index) || FCells->GetRow(Index)->Selected == Value)
        return;
    FCells->SetRowSelected(Index, Value);
    RefreshSelected(Index);
}

void TNextGrid::SelectRows(int Lo, int Hi)
{
    FCells->SelectRange(Lo, Hi, [this](int Row) { RefreshSelected(Row); });
}

void TNextGrid::RefreshSelected(int Index)
{
    // EndUpdate repaints the whole body.
    if (IsUpdating())
        return;
    if (GridStyle() == gsReport)
        RefreshRow(Index);
    else
        RefreshSlide(Index, !(AppearanceOptions() & aoHighlightSlideCells));
}

void TNextGrid::SetRowHeight(int Index, int Value)
{
    if (Deferred([this, R = RowRef(Index), Value] {
            if (!R.Gone())
                SetRowHeight(R.Now(), Value);
        }))
        return;
    if (!IsValidRow(Index) || Value == GetRowHeight(Index))
        return;
    const TRowsChange Change(*this);
    FCells->SetRowHeight(Index, Value);
    RefreshRow(Index);
    const TRect Body = GetBodyRect();
    InvalidateRectangle({0, static_cast<int>(std::min<qint64>(qint64{RowTop(Index)} + Value, Body.Bottom)), ClientWidth(), Body.Bottom});
    UpdateVertScrollBar();
}

TColor TNextGrid::GetCellColor(int ACol, int ARow) const
{
    return FCells->GetCell(ACol, ARow)->Color();
}

QString TNextGrid::GetCellHint(int ACol, int ARow) const
{
    return FCells->GetCell(ACol, ARow)->Hint;
}

void TNextGrid::SetRowSize(int Value)
{
    if (Value < 1 || InLine([this, Value] { SetRowSize(Value); }))
        return;
    const TOperation Operation(*this);
    TNxCustomGrid::SetRowSize(Value);
    FCells->DefaultRowHeight = Value;
}

void TNextGrid::CellChanged(int ACol, int ARow)
{
    if (IsUpdating() || FDestroying)
        return;
    RefreshCell(ACol, ARow);
    DoChange(ACol, ARow);
}

void TNextGrid::AddRow(int Count)
{
    if (Count < 1 || InLine([this, Count] { AddRow(Count); }))
        return;
    const TOperation Operation(*this);
    const int N = RowCount();
    FCells->AddRows(Count);
    if (Options() & goUseDefaultValues)
        for (int R = N; R < RowCount(); ++R)
            for (int C = 0; C < Columns().Count(); ++C)
                if (!Columns().Item(C)->DefaultValue().isEmpty())
                    SetCells(C, R, Columns().Item(C)->DefaultValue());
    LastAddedRow = RowCount() - 1;
    // Inside an update the bar's range is set once, when the bar is next used
    // (a ScrollToRow or an edit started within the update) or at EndUpdate,
    // which also repaints the body.
    if (IsUpdating()) {
        InvalidateVertRange();
        return;
    }
    UpdateVertScrollBar();
    if (GridLinesStyle() == lsFramed && (Options() & goGrid) && RowCount() >= 2 && N >= 1)
        RefreshRowLine(N - 1);
    RefreshRowsFrom(N, RowCount() - 1);
}

void TNextGrid::ClearRows()
{
    if (Deferred([this] { ClearRows(); }))
        return;
    const TRowsChange Change(*this);
    TNxCustomGrid::ClearRows();
    FCells->ClearRows();
    FFirstRow = 0;
    InvalidatePart(gpBody);
    InvalidatePart(gpIndicator);
    UpdateHorzScrollBar();
    UpdateVertScrollBar();
}

void TNextGrid::RowsMoved(int R, int Count, bool Insert)
{
    // Rows that came or went above the shown ones keep the same rows in view.
    int First = FFirstRow;
    if (Insert && R < First)
        First += Count;
    else if (!Insert && R + Count <= First)
        First -= Count;
    else if (!Insert && R < First)
        First = R;
    ShowFromRow(First);
}

void TNextGrid::InsertRow(int Index)
{
    if (Deferred([this, R = RowRef(Index)] {
            if (!R.Gone())
                InsertRow(R.Now());
        }))
        return;
    const TRowsChange Change(*this);
    TNxCustomGrid::InsertRow(Index);
    FCells->InsertRow(Index);
    RowsMoved(Index, 1, true);
    SetSelectedRow(SelectedRow() + 1);
}

void TNextGrid::DeleteRow(int Index)
{
    if (Deferred([this, R = RowRef(Index)] {
            if (!R.Gone())
                DeleteRow(R.Now());
        }))
        return;
    const TRowsChange Change(*this);
    TNxCustomGrid::DeleteRow(Index);
    TRow* Row = FCells->GetRow(Index);
    // Children moved away from their parent outside the block lose it and show again.
    const bool Scattered = !FCells->TreeInOrder();
    const int N = Row->ChildCount > 0 ? FCells->GetDescendantCount(Index) : 0;
    // A descendant's parent may lie outside the block (a sort or a move scattered it).
    for (int I = Index + 1; I <= Index + N; ++I)
        if (TRow* Parent = FCells->GetRow(I)->ParentRow)
            Parent->DecChildCount();
    if (Row->ParentRow)
        Row->ParentRow->DecChildCount();
    // The row and its descendants go in one block.
    FCells->DeleteRows(Index, N + 1);
    if (Scattered)
        FCells->ShowByAncestors();
    if (FSelectedRow >= RowCount())
        FSelectedRow = RowCount() - 1;
    RowsMoved(Index, N + 1, false);
    RefreshSelection();
}

void TNextGrid::MoveRow(int FromPos, int ToPos)
{
    if (Deferred([this, From = RowRef(FromPos), To = RowRef(ToPos)] {
            if (!From.Gone() && !To.Gone())
                MoveRow(From.Now(), To.Now());
        }))
        return;
    const TRowsChange Change(*this);
    TNxCustomGrid::MoveRow(FromPos, ToPos);
    FCells->MoveRow(FromPos, ToPos);
    // Rows of other heights, or hidden ones, may now lie at the end or above the
    // first shown row: the bar's maximum and position follow.
    ShowFromRow(FFirstRow);
}

void TNextGrid::ExchangeRows(int Index1, int Index2)
{
    if (Deferred([this, R1 = RowRef(Index1), R2 = RowRef(Index2)] {
            if (!R1.Gone() && !R2.Gone())
                ExchangeRows(R1.Now(), R2.Now());
        }))
        return;
    const TRowsChange Change(*this);
    FCells->ExchangeRows(Index1, Index2);
    // As after a move: rows of other heights, or a hidden one, may now lie at the
    // end or above the first shown row.
    ShowFromRow(FFirstRow);
}

void TNextGrid::AddRowsQuietly(int Count)
{
    FCells->AddRows(Count);
    Invalidate();
    GridChanged();
}

void TNextGrid::AddChildRow(int ARow, bool AsLast)
{
    if (Deferred([this, R = RowRef(ARow), AsLast] {
            if (!R.Gone())
                AddChildRow(R.Now(), AsLast);
        }))
        return;
    const TRowsChange Change(*this);
    const int P = ARow + 1 + (AsLast ? FCells->GetDescendantCount(ARow) : 0);
    FCells->AddChildRow(ARow, P);
    TRow* Parent = FCells->GetRow(ARow);
    LastAddedRow = P;
    if (P < FFirstRow || (P == FFirstRow && !GetRowVisible(P))) {
        // Above the shown rows, as InsertRow (or folded away in the first one's
        // place): the same rows stay in view, the bar in step.
        RowsMoved(P, 1, true);
    } else {
        if (GetRowVisible(P))
            InvalidatePart(gpBody);
        UpdateVertScrollBar();
    }
    if (Parent->ChildCount == 1)
        RefreshRow(ARow);
}

bool TNextGrid::Descends(int ARow, int Ancestor) const
{
    const TRow* A = FCells->GetRow(Ancestor);
    for (const TRow* R = IsValidRow(ARow) ? FCells->GetRow(ARow)->ParentRow : nullptr; R; R = R->ParentRow)
        if (R == A)
            return true;
    return false;
}

void TNextGrid::SetExpanded(int ARow, bool Value)
{
    if (Deferred([this, R = RowRef(ARow), Value] {
            if (!R.Gone())
                SetExpanded(R.Now(), Value);
        }))
        return;
    const TOperation Operation(*this);
    TRow* Row = FCells->GetRow(ARow);
    if (Row->ChildCount < 1)
        return;
    // An edit in a row about to fold away ends while the user still sees it; what
    // its handlers change waits for the fold.
    if (!Value && Editing() && Descends(EditRow(), ARow))
        CommitAndClose();
    const TRowsChange Change(*this);
    Row->Expanded = Value;
    // A descendant shows when its parent shows and is expanded; in a tree in order
    // its descendants follow the row, parents first.
    if (FCells->TreeInOrder()) {
        const int N = FCells->GetDescendantCount(ARow);
        for (int I = ARow + 1; I <= ARow + N; ++I) {
            TRow* R = FCells->GetRow(I);
            const bool Show = R->ParentRow && R->ParentRow->Visible && R->ParentRow->Expanded;
            FCells->SetRowVisible(I, Show);
        }
    } else {
        FCells->ShowByAncestors();
    }
    // Rows above the first shown one came or went: the bar's position follows;
    // a first shown row that was folded away gives way to its collapsed ancestor.
    ShowFromRow(GetRowVisible(FFirstRow) ? FFirstRow : ARow);
    RefreshRow(ARow);
    // A row folded away is never current: the row that folded takes over.
    if (!Value && Descends(FSelectedRow, ARow))
        SetSelectedRow(ARow);
}

void TNextGrid::SortColumn(TNxCustomColumn* Column, bool Ascending)
{
    // Only the pointer is compared until the column is known to be in the list still.
    if (Deferred([this, Column, Ascending] {
            if (Columns().IndexOf(Column) >= 0)
                SortColumn(Column, Ascending);
        }))
        return;
    const TOperation Operation(*this);
    // The sort orders what the user sees: an open edit goes into its cell first.
    if ((Editing() || InputEditing()) && Column && (Column->Options() & coCanSort)) {
        CommitAndClose();
        if (Columns().IndexOf(Column) < 0)
            return;
    }
    const TRowsChange Change(*this);
    TNxCustomGrid::SortColumn(Column, Ascending);
    if (!Column || !(Column->Options() & coCanSort))
        return;
    TRow* Current = IsValidRow(FSelectedRow) ? FCells->GetRow(FSelectedRow) : nullptr;
    // A compare handler runs inside the sort: the rows may not change, and a
    // change of the columns waits until the sort is done.
    auto Unlock = [this] {
        --FRowsLocked;
        const auto Waiting = std::exchange(FColumnsChangedInSort, {});
        for (const TColumnChange& C : Waiting)
            ColumnsChangedNow(C.Operation, C.Count, C.Index);
    };
    ++FRowsLocked;
    try {
        FCells->Sort(Column->Index(), Column->SortType(), !Ascending);
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
    ShowFromRow(FFirstRow);
    // A column change that waited may have emptied the store.
    if (const int Row = Current ? FCells->IndexOfRow(Current) : -1; Row >= 0) {
        SetCurrentCell(FSelectedColumn, Row);
        ScrollToRow(FSelectedRow);
    }
    InvalidatePart(gpBody);
    if (Options() & goIndicator)
        InvalidatePart(gpIndicator);
}

void TNextGrid::CalculateFooter()
{
    const int N = RowCount();
    for (int C = 0; C < Columns().Count(); ++C) {
        TNxCustomColumn* Col = Columns().Item(C);
        const TFormulaKind Kind = Col->Footer().FormulaKind();
        if (Kind == fkNone)
            continue;
        if (N == 0) {
            Col->Footer().SetCaption(QStringLiteral("0"));
            continue;
        }
        // Texts that are no numbers take no part in a formula over numbers.
        std::vector<double> Values;
        Values.reserve(static_cast<size_t>(N));
        if (Kind != fkCount && Kind != fkDistinct)
            for (int R = 0; R < N; ++R) {
                try {
                    Values.push_back(Cell(C, R)->GetAsFloat());
                } catch (const EDotwrightError&) {
                }
            }
        double V = 0;
        switch (Kind) {
        case fkAverage:
        case fkSum:
            for (double X : Values)
                V += X;
            if (Kind == fkAverage && !Values.empty())
                V /= static_cast<double>(Values.size());
            break;
        case fkCount: V = N; break;
        case fkDistinct: {
            std::set<QString> Seen;
            for (int R = 0; R < N; ++R)
                Seen.insert(Cells(C, R).toCaseFolded());
            V = static_cast<double>(Seen.size());
            break;
        }
        case fkMaximum:
        case fkMinimum:
            if (!Values.empty())
                V = Kind == fkMaximum ? *std::max_element(Values.begin(), Values.end())
                                      : *std::min_element(Values.begin(), Values.end());
            break;
        case fkCustom: V = Values.empty() ? 0 : Values.front(); break;
        default: break;
        }
        Col->Footer().SetCaption(Col->FormatText(NxCellConvert::FloatToStr(V)));
    }
}

void TNextGrid::ColumnsChanged(int Operation, int Count, int Index)
{
    if (FRowsLocked > 0) {
        FColumnsChangedInSort.push_back({Operation, Count, Index});
        return;
    }
    ColumnsChangedNow(Operation, Count, Index);
}

void TNextGrid::ColumnsChangedNow(int Operation, int Count, int Index)
{
    // The store first: an edit that follows the change may write into its cell.
    FCells->ColumnNotify(Operation, Index, -1);
    TNxCustomGrid::ColumnsChanged(Operation, Count, Index);
}

bool TNextGrid::DrawCellContent(int ACol, int ARow, TCellState CellState)
{
    const unsigned Stamp = ChangeCount();
    TNxCustomGrid::DrawCellContent(ACol, ARow, CellState);
    // The formatting handler changed the grid: the paint stops.
    if (!PaintGoesOn(Stamp))
        return false;
    TNxCustomColumn* Column = Columns().Item(ACol);
    TColumnDisplay* D = Column->Display();
    TCell* C = FCells->GetCell(ACol, ARow);
    switch (Column->Kind()) {
    case ckIncrement: D->AsInteger = ARow + 1; break;
    case ckBoolean: D->AsBoolean = C->GetAsBoolean(); break;
    case ckDateTime: D->AsDateTime = C->GetAsDateTime(); break;
    case ckFloat: D->AsFloat = C->GetAsFloat(); break;
    case ckInteger: D->AsInteger = C->GetAsInteger(); break;
    case ckString:
    case ckVirtual: D->AsString = C->GetAsString(); break;
    default: break;
    }
    if (!C->Hint.isEmpty() && (AppearanceOptions() & aoHintMarks))
        D->DrawHintMark();
    return true;
}

void TNextGrid::ApplyCellFormatting(int ACol, int ARow, TCellState CellState)
{
    QPainter* P = Canvas();
    if (!P)
        return;
    QFont F = P->font();
    ApplyFontStyle(F, FCells->GetCell(ACol, ARow)->FontStyle);
    TColor TextColor = FromQColor(P->pen().color());
    int Style = FontStyleOf(F);
    DoCellFormating(ACol, ARow, TextColor, Style, CellState);
    ApplyFontStyle(F, Style);
    P->setFont(F);
    P->setPen(ToQColor(TextColor, palette()));
}

void TNextGrid::DoCellFormating(int ACol, int ARow, TColor& TextColor, int& FontStyle, TCellState CellState)
{
    Fire(OnCellFormating, this, ACol, ARow, TextColor, FontStyle, CellState);
}

void TNextGrid::DoCompare(TCell* Cell1, TCell* Cell2, int& Compare)
{
    Fire(OnCompare, this, Cell1, Cell2, Compare);
}
