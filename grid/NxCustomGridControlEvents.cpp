// Each event of the grid goes out through its own overridable dispatch, and only
// to a handler that is assigned (Fire).
#include "NxCustomGridControl.h"

void TNxCustomGridControl::DoAfterEdit(int ACol, int ARow, const QString& Value)
{
    Fire(OnAfterEdit, this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoBeforeEdit(int ACol, int ARow, bool& Accept)
{
    Fire(OnBeforeEdit, this, ACol, ARow, Accept);
}

void TNxCustomGridControl::DoCellClick(int ACol, int ARow)
{
    Fire(OnCellClick, this, ACol, ARow);
}

void TNxCustomGridControl::DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor,
                                          TCellState CellState)
{
    Fire(OnCellColoring, this, ACol, ARow, CellColor, GridColor, CellState);
}

void TNxCustomGridControl::DoChange(int ACol, int ARow)
{
    Fire(OnChange, this, ACol, ARow);
}

void TNxCustomGridControl::DoColumnMove(int ACol, int FromPos, int ToPos)
{
    Fire(OnColumnMove, this, ACol, FromPos, ToPos);
}

void TNxCustomGridControl::DoColumnResize(int ACol)
{
    Fire(OnColumnResize, this, ACol);
}

void TNxCustomGridControl::DoCustomDrawCell(int ACol, int ARow, const TRect& CellRect, TCellState CellState)
{
    Fire(OnCustomDrawCell, this, ACol, ARow, CellRect, CellState);
}

void TNxCustomGridControl::DoDeselectCell(int ACol, int ARow)
{
    Fire(OnDeselectCell, this, ACol, ARow);
}

void TNxCustomGridControl::DoDrawCellBackground(int ACol, int ARow, const TRect& CellRect, TCellState CellState,
                                                bool& DefaultDrawing)
{
    Fire(OnDrawCellBackground, this, ACol, ARow, CellRect, CellState, DefaultDrawing);
}

void TNxCustomGridControl::DoEdit(int ACol, int ARow, const QString& Value)
{
    Fire(OnEdit, this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoEditAccept(int ACol, int ARow, const QString& Value, bool& Accept)
{
    Fire(OnEditAccept, this, ACol, ARow, Value, Accept);
}

void TNxCustomGridControl::DoFooterClick(int ACol)
{
    Fire(OnFooterClick, this, ACol);
}

void TNxCustomGridControl::DoHeaderClick(int ACol)
{
    Fire(OnHeaderClick, this, ACol);
}

void TNxCustomGridControl::DoHeaderDblClick(int ACol)
{
    Fire(OnHeaderDblClick, this, ACol);
}

void TNxCustomGridControl::DoInputAccept(bool& Accept)
{
    Fire(OnInputAccept, this, Accept);
}

void TNxCustomGridControl::DoInputAdded()
{
    Fire(OnInputAdded, this);
}

void TNxCustomGridControl::DoInputSelectCell(int ACol)
{
    Fire(OnInputSelectCell, this, ACol);
}

void TNxCustomGridControl::DoMeasuringRowHeight(int Index, int& RowHeight) const
{
    // Geometry is read in const functions; the handler still runs as any other.
    auto* Self = const_cast<TNxCustomGridControl*>(this);
    Self->MeasuringFire(Index, RowHeight);
}

void TNxCustomGridControl::DoPostDraw()
{
    Fire(OnPostDraw, this);
}

bool TNxCustomGridControl::DoRowMove(int FromPos, int ToPos)
{
    bool Accept = true;
    Fire(OnRowMove, this, FromPos, ToPos, Accept);
    return Accept;
}

void TNxCustomGridControl::DoSelectCell(int ACol, int ARow)
{
    Fire(OnSelectCell, this, ACol, ARow);
}

void TNxCustomGridControl::DoSortColumn(int ACol, bool Ascending)
{
    Fire(OnSortColumn, this, ACol, Ascending);
}

void TNxCustomGridControl::DoIndicatorChange()
{
    Fire(OnIndicatorChange, this);
}
