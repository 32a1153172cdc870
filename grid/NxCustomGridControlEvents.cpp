// Each event of the grid goes out through its own overridable dispatch, and only
// to a handler that is assigned.
#include "NxCustomGridControl.h"

void TNxCustomGridControl::DoAfterEdit(int ACol, int ARow, const QString& Value)
{
    if (OnAfterEdit)
        OnAfterEdit(this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoBeforeEdit(int ACol, int ARow, bool& Accept)
{
    if (OnBeforeEdit)
        OnBeforeEdit(this, ACol, ARow, Accept);
}

void TNxCustomGridControl::DoCellClick(int ACol, int ARow)
{
    if (OnCellClick)
        OnCellClick(this, ACol, ARow);
}

void TNxCustomGridControl::DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor,
                                          TCellState CellState)
{
    if (OnCellColoring)
        OnCellColoring(this, ACol, ARow, CellColor, GridColor, CellState);
}

void TNxCustomGridControl::DoChange(int ACol, int ARow)
{
    if (OnChange)
        OnChange(this, ACol, ARow);
}

void TNxCustomGridControl::DoColumnMove(int ACol, int FromPos, int ToPos)
{
    if (OnColumnMove)
        OnColumnMove(this, ACol, FromPos, ToPos);
}

void TNxCustomGridControl::DoColumnResize(int ACol)
{
    if (OnColumnResize)
        OnColumnResize(this, ACol);
}

void TNxCustomGridControl::DoCustomDrawCell(int ACol, int ARow, const TRect& CellRect, TCellState CellState)
{
    if (OnCustomDrawCell)
        OnCustomDrawCell(this, ACol, ARow, CellRect, CellState);
}

void TNxCustomGridControl::DoDeselectCell(int ACol, int ARow)
{
    if (OnDeselectCell)
        OnDeselectCell(this, ACol, ARow);
}

void TNxCustomGridControl::DoDrawCellBackground(int ACol, int ARow, const TRect& CellRect, TCellState CellState,
                                                bool& DefaultDrawing)
{
    if (OnDrawCellBackground)
        OnDrawCellBackground(this, ACol, ARow, CellRect, CellState, DefaultDrawing);
}

void TNxCustomGridControl::DoEdit(int ACol, int ARow, const QString& Value)
{
    if (OnEdit)
        OnEdit(this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoEditAccept(int ACol, int ARow, const QString& Value, bool& Accept)
{
    if (OnEditAccept)
        OnEditAccept(this, ACol, ARow, Value, Accept);
}

void TNxCustomGridControl::DoFooterClick(int ACol)
{
    if (OnFooterClick)
        OnFooterClick(this, ACol);
}

void TNxCustomGridControl::DoHeaderClick(int ACol)
{
    if (OnHeaderClick)
        OnHeaderClick(this, ACol);
}

void TNxCustomGridControl::DoHeaderDblClick(int ACol)
{
    if (OnHeaderDblClick)
        OnHeaderDblClick(this, ACol);
}

void TNxCustomGridControl::DoInputAccept(bool& Accept)
{
    if (OnInputAccept)
        OnInputAccept(this, Accept);
}

void TNxCustomGridControl::DoInputAdded()
{
    if (OnInputAdded)
        OnInputAdded(this);
}

void TNxCustomGridControl::DoInputSelectCell(int ACol)
{
    if (OnInputSelectCell)
        OnInputSelectCell(this, ACol);
}

void TNxCustomGridControl::DoMeasuringRowHeight(int Index, int& RowHeight) const
{
    if (OnMeasuringRowHeight)
        OnMeasuringRowHeight(const_cast<TNxCustomGridControl*>(this), Index, RowHeight);
}

void TNxCustomGridControl::DoPostDraw()
{
    if (OnPostDraw)
        OnPostDraw(this);
}

bool TNxCustomGridControl::DoRowMove(int FromPos, int ToPos)
{
    bool Accept = true;
    if (OnRowMove)
        OnRowMove(this, FromPos, ToPos, Accept);
    return Accept;
}

void TNxCustomGridControl::DoSelectCell(int ACol, int ARow)
{
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow);
}

void TNxCustomGridControl::DoSortColumn(int ACol, bool Ascending)
{
    if (OnSortColumn)
        OnSortColumn(this, ACol, Ascending);
}

void TNxCustomGridControl::DoIndicatorChange()
{
    if (OnIndicatorChange)
        OnIndicatorChange(this);
}
