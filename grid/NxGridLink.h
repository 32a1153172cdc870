#pragma once
// What the columns, the cell store and the painters ask of the grid that holds
// them. The grid control implements it; tests implement it with fixed answers.
#include "NxSharedCommon.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <functional>

class QWidget;
class TNxCustomColumn;

enum TNxColumnArea { caAll, caRows, caFooter, caHeader, caInput };

class TNxGridLink {
public:
    virtual ~TNxGridLink() = default;

    virtual QWidget* Control() const { return nullptr; }
    virtual QPalette Palette() const { return QApplication::palette(); }
    virtual QFont Font() const { return QApplication::font(); }
    // A font carries no colour of its own here: the grid's text colour goes with it.
    virtual TColor FontColor() const { return clWindowText; }
    virtual TColor Color() const { return clWindow; }

    // 12 when the indicator column is shown, else 0.
    virtual int IndicatorWidth() const { return 0; }
    virtual bool ReportStyle() const { return true; }
    virtual int ClientWidth() const { return 0; }
    // Client width less the indicator in report style.
    virtual int RowAreaWidth() const { return ClientWidth() - (ReportStyle() ? IndicatorWidth() : 0); }
    // The band of an area across the whole client width (header, footer, input line).
    virtual TRect BandRect(TNxColumnArea Area) const { Q_UNUSED(Area); return {}; }
    virtual int HorzScrollPos() const { return 0; }
    virtual int FixedCols() const { return 0; }

    // Being read from a stored form: moves, auto-sizing and lay-out wait.
    virtual bool Loading() const { return false; }
    virtual bool Destroying() const { return false; }
    // While a handler of the grid's runs, a change it asks for waits for the grid's
    // operation to end: true when Change was kept for then.
    virtual bool DeferChange(std::function<void()> Change) { Q_UNUSED(Change); return false; }
    // True while the grid runs an operation: what it uses (a column's editor) is freed after.
    virtual bool Busy() const { return false; }
    virtual bool DesignTime() const { return false; }

    virtual int CurrentColumn() const { return -1; }
    virtual int HotColumn() const { return -1; }
    virtual int PressedColumn() const { return -1; }

    // Repaints the column's strip in an area.
    virtual void InvalidateColumn(TNxCustomColumn* Column, TNxColumnArea Area) { Q_UNUSED(Column); Q_UNUSED(Area); }

    // The effective colours of a cell as painted (cell colour, sorted shade, selection).
    virtual TColor GetCellDrawColor(int ACol, int ARow) const { Q_UNUSED(ACol); Q_UNUSED(ARow); return clWindow; }
    virtual TColor GetCellDrawTextColor(int ACol, int ARow) const { Q_UNUSED(ACol); Q_UNUSED(ARow); return clWindowText; }
};
