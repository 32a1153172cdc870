#pragma once
// The grid control that forms place: rows and typed cells kept in a cell store,
// row heights, child rows, sorting by a column and footer formulas.
#include "NxCells.h"
#include "NxCustomGrid.h"

#include <algorithm>
#include <functional>
#include <memory>

class TNextGrid : public TNxCustomGrid {
    Q_OBJECT
public:
    explicit TNextGrid(QWidget* Parent = nullptr);
    ~TNextGrid() override;

    TCells& CellStore() { return *FCells; }

    // The row that AddRow and AddChildRow leave for the caller.
    int LastAddedRow = -1;

    // (grid, column, row, text colour, font style bits, cell state)
    std::function<void(TNextGrid*, int, int, TColor&, int&, TCellState)> OnCellFormating;
    std::function<void(TNextGrid*, TCell*, TCell*, int&)> OnCompare;

    // The cell object; callers keep 0 <= ACol < Columns().Count() and 0 <= ARow < RowCount().
    // A write through it lands at once, also ahead of a handler's waiting changes;
    // SetCells waits in line with them.
    TCell* Cell(int ACol, int ARow) { return FCells->GetCell(ACol, ARow); }
    // The cell's text; a pair out of bounds reads empty and writes nothing.
    QString Cells(int ACol, int ARow);
    void SetCells(int ACol, int ARow, const QString& Value);

    int GetRowCount() const override { return FCells->RowCount(); }
    int GetRowHeight(int Index) const override;
    // A row a handler removed while the caller walked the rows reads hidden and unselected.
    bool GetRowVisible(int Index) const override { return IsValidRow(Index) && FCells->GetRow(Index)->Visible; }
    bool GetRowSelected(int Index) const override { return IsValidRow(Index) && FCells->GetRow(Index)->Selected; }
    const void* RowKey(int ARow) const override { return IsValidRow(ARow) ? FCells->GetRow(ARow) : nullptr; }
    int RowOfKey(const void* Key, int Hint) const override;
    void SetRowSelected(int Index, bool Value) override;
    void SelectRows(int Lo, int Hi) override;
    void SetRowHeight(int Index, int Value) override;
    int GetVisibleRowTotal() const override { return FCells->VisibleRowCount(); }
    int PositionOfRow(int ARow) const override { return FCells->ShownRowsBefore(std::clamp(ARow, 0, RowCount())); }
    int RowAtPosition(int Pos) const override { return FCells->ShownRowAt(Pos); }
    QString GetCellText(int ACol, int ARow) override { return Cells(ACol, ARow); }
    void SetCellText(int ACol, int ARow, const QString& Value) override { SetCells(ACol, ARow, Value); }
    TColor GetCellColor(int ACol, int ARow) const override;
    QString GetCellHint(int ACol, int ARow) const override;
    void SetRowSize(int Value) override;

    void AddRow(int Count = 1) override;
    void ClearRows() override;
    void DeleteRow(int Index) override;
    void InsertRow(int Index) override;
    void MoveRow(int FromPos, int ToPos) override;
    void ExchangeRows(int Index1, int Index2) override;
    void SortColumn(TNxCustomColumn* Column, bool Ascending) override;
    // Appends rows without defaults, repaint bookkeeping or scroll-bar update.
    void AddRowsQuietly(int Count);
    void AddChildRow(int ARow, bool AsLast);
    bool Expanded(int ARow) const { return FCells->GetRow(ARow)->Expanded; }
    void SetExpanded(int ARow, bool Value);
    // Fills the captions of the footers that have a formula.
    void CalculateFooter();

protected:
    // Heights come from the store unless a handler measures them.
    bool RowStepsSummed() const override;
    qint64 SummedPixelsBefore(int ARow) const override;
    int SummedRowAtPixel(qint64 Pixel) const override { return FCells->RowAtPixel(Pixel); }
    void ColumnsChanged(int Operation, int Count, int Index) override;
    bool DrawCellContent(int ACol, int ARow, TCellState CellState) override;
    void ApplyCellFormatting(int ACol, int ARow, TCellState CellState) override;
    virtual void DoCellFormating(int ACol, int ARow, TColor& TextColor, int& FontStyle, TCellState CellState);
    virtual void DoCompare(TCell* Cell1, TCell* Cell2, int& Compare);
    void CellChanged(int ACol, int ARow);

private:
    // Keeps the first shown row and the bar in step after Count rows were
    // inserted at or deleted from row R, and repaints what moved.
    void RowsMoved(int R, int Count, bool Insert);
    bool ValidCell(int ACol, int ARow) const;
    // True when row Ancestor is among the ancestors of ARow.
    bool Descends(int ARow, int Ancestor) const;
    // The cell store in step with the columns, after the engine followed the change.
    void ColumnsChangedNow(int Operation, int Count, int Index);

    // Column changes that came while a sort read the cell columns (a compare
    // handler deleted a column, say): the store follows them once the sort is done.
    struct TColumnChange {
        int Operation, Count, Index;
    };
    std::vector<TColumnChange> FColumnsChangedInSort;
    // Repaints a row whose selected flag changed.
    void RefreshSelected(int Index);

    std::unique_ptr<TCells> FCells;
};
