// Each event of the grid goes out through its own overridable dispatch, and only
// to a handler that is assigned. The handler runs from a copy: one that assigns
// its own event anew would otherwise destroy itself while it runs.
#include "NxCustomGridControl.h"

void TNxCustomGridControl::DoAfterEdit(int ACol, int ARow, const QString& Value)
{
    if (const auto Handler = OnAfterEdit)
        Handler(this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoBeforeEdit(int ACol, int ARow, bool& Accept)
{
    if (const auto Handler = OnBeforeEdit)
        Handler(this, ACol, ARow, Accept);
}

void TNxCustomGridControl::DoCellClick(int ACol, int ARow)
{
    if (const auto Handler = OnCellClick)
        Handler(this, ACol, ARow);
}

void TNxCustomGridControl::DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor,
                                          TCellState CellState)
{
    if (const auto Handler = OnCellColoring)
        Handler(this, ACol, ARow, CellColor, GridColor, CellState);
}

void TNxCustomGridControl::DoChange(int ACol, int ARow)
{
    if (const auto Handler = OnChange)
        Handler(this, ACol, ARow);
}

void TNxCustomGridControl::DoColumnMove(int ACol, int FromPos, int ToPos)
{
    if (const auto Handler = OnColumnMove)
        Handler(this, ACol, FromPos, ToPos);
}

void TNxCustomGridControl::DoColumnResize(int ACol)
{
    if (const auto Handler = OnColumnResize)
        Handler(this, ACol);
}

void TNxCustomGridControl::DoCustomDrawCell(int ACol, int ARow, const TRect& CellRect, TCellState CellState)
{
    if (const auto Handler = OnCustomDrawCell)
        Handler(this, ACol, ARow, CellRect, CellState);
}

void TNxCustomGridControl::DoDeselectCell(int ACol, int ARow)
{
    if (const auto Handler = OnDeselectCell)
        Handler(this, ACol, ARow);
}

void TNxCustomGridControl::DoDrawCellBackground(int ACol, int ARow, const TRect& CellRect, TCellState CellState,
                                                bool& DefaultDrawing)
{
    if (const auto Handler = OnDrawCellBackground)
        Handler(this, ACol, ARow, CellRect, CellState, DefaultDrawing);
}

void TNxCustomGridControl::DoEdit(int ACol, int ARow, const QString& Value)
{
    if (const auto Handler = OnEdit)
        Handler(this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoEditAccept(int ACol, int ARow, const QString& Value, bool& Accept)
{
    if (const auto Handler = OnEditAccept)
        Handler(this, ACol, ARow, Value, Accept);
}

void TNxCustomGridControl::DoFooterClick(int ACol)
{
    if (const auto Handler = OnFooterClick)
        Handler(this, ACol);
}

void TNxCustomGridControl::DoHeaderClick(int ACol)
{
    if (const auto Handler = OnHeaderClick)
        Handler(this, ACol);
}

void TNxCustomGridControl::DoHeaderDblClick(int ACol)
{
    if (const auto Handler = OnHeaderDblClick)
        Handler(this, ACol);
}

void TNxCustomGridControl::DoInputAccept(bool& Accept)
{
    if (const auto Handler = OnInputAccept)
        Handler(this, Accept);
}

void TNxCustomGridControl::DoInputAdded()
{
    if (const auto Handler = OnInputAdded)
        Handler(this);
}

void TNxCustomGridControl::DoInputSelectCell(int ACol)
{
    if (const auto Handler = OnInputSelectCell)
        Handler(this, ACol);
}

void TNxCustomGridControl::DoMeasuringRowHeight(int Index, int& RowHeight) const
{
    if (const auto Handler = OnMeasuringRowHeight)
        Handler(const_cast<TNxCustomGridControl*>(this), Index, RowHeight);
}

void TNxCustomGridControl::DoPostDraw()
{
    if (const auto Handler = OnPostDraw)
        Handler(this);
}

bool TNxCustomGridControl::DoRowMove(int FromPos, int ToPos)
{
    bool Accept = true;
    if (const auto Handler = OnRowMove)
        Handler(this, FromPos, ToPos, Accept);
    return Accept;
}

void TNxCustomGridControl::DoSelectCell(int ACol, int ARow)
{
    if (const auto Handler = OnSelectCell)
        Handler(this, ACol, ARow);
}

void TNxCustomGridControl::DoSortColumn(int ACol, bool Ascending)
{
    if (const auto Handler = OnSortColumn)
        Handler(this, ACol, Ascending);
}

void TNxCustomGridControl::DoIndicatorChange()
{
    if (const auto Handler = OnIndicatorChange)
        Handler(this);
}
