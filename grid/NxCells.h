#pragma once
// The grid's cell store: one list of typed cells per column, one TRow per row,
// conversions between the five value views, and sorting by one column.
#include "NxColumns.h"
#include "NxGridLink.h"
#include "NxSharedCommon.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// At most this many columns; the store has one list slot more.
constexpr int MaxCellColumns = MaxColumns;

class TCells;

// Level, ParentRow, Height, Selected and Visible are written by the store alone
// (Height and the flags through TCells::SetRowHeight, SetRowSelected and
// SetRowVisible): it keeps counts and sums over them.
class TRow {
public:
    int ChildCount = 0;
    bool Expanded = true;
    int Level = 0;
    TRow* ParentRow = nullptr;
    int Height = 0;
    bool Selected = false;
    bool Visible = true;

    void IncChildCount() { ++ChildCount; }
    void DecChildCount() { --ChildCount; }
    void ClearChildCount() { ChildCount = 0; }

private:
    friend class TCells;
    // The rows right after this one that descend from it, while the store knows
    // them; or that they run to the last row (a mark of TCells).
    int FDescendants = 0;
};

class TCell {
public:
    explicit TCell(TCells* Owner);
    virtual ~TCell() = default;
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;

    TCells* Owner() const { return FOwner; }
    int FontStyle = 0;
    bool Creating = true;
    QString Hint;

    TColor Color() const { return FColor; }
    // Notifies the store unless the cell is still being made.
    void SetColor(TColor Value);

    virtual TColor GetDrawColor() const;
    virtual TColor GetDrawTextColor() const;
    virtual bool GetAsBoolean() const = 0;
    virtual TDateTime GetAsDateTime() const = 0;
    virtual double GetAsFloat() const = 0;
    virtual int GetAsInteger() const = 0;
    virtual QString GetAsString() const = 0;
    virtual void Changed();
    virtual void SetAsBoolean(bool Value);
    virtual void SetAsDateTime(TDateTime Value);
    virtual void SetAsFloat(double Value);
    virtual void SetAsInteger(int Value);
    virtual void SetAsString(const QString& Value);
    virtual void Clear() = 0;

    bool AsBoolean() const { return GetAsBoolean(); }
    TDateTime AsDateTime() const { return GetAsDateTime(); }
    double AsFloat() const { return GetAsFloat(); }
    int AsInteger() const { return GetAsInteger(); }
    QString AsString() const { return GetAsString(); }

protected:
    TCells* FOwner;
    TColor FColor = clWindow;
};

class TBooleanCell : public TCell {
public:
    using TCell::TCell;
    bool GetAsBoolean() const override { return FValue; }
    TDateTime GetAsDateTime() const override { return 0; }
    double GetAsFloat() const override { return FValue ? 1.0 : 0.0; }
    int GetAsInteger() const override { return FValue ? 1 : 0; }
    QString GetAsString() const override;
    void SetAsBoolean(bool Value) override;
    void SetAsDateTime(TDateTime Value) override;
    void SetAsFloat(double Value) override;
    void SetAsInteger(int Value) override;
    void SetAsString(const QString& Value) override;
    void Clear() override { FValue = false; }

private:
    bool FValue = false;
};

// Date-time and float cells both hold a Double and read it alike; they differ
// in their text and in what a Boolean or a text writes.
class TDoubleValueCell : public TCell {
public:
    using TCell::TCell;
    bool GetAsBoolean() const override { return false; }
    TDateTime GetAsDateTime() const override { return FValue; }
    double GetAsFloat() const override { return FValue; }
    int GetAsInteger() const override;
    void SetAsDateTime(TDateTime Value) override;
    void SetAsFloat(double Value) override;
    void SetAsInteger(int Value) override;
    void Clear() override { FValue = 0; }

protected:
    double FValue = 0;
};

class TDateTimeCell : public TDoubleValueCell {
public:
    using TDoubleValueCell::TDoubleValueCell;
    QString GetAsString() const override;
    // Today's date, whatever the argument.
    void SetAsBoolean(bool Value) override;
    // An empty or unreadable text stores 0.
    void SetAsString(const QString& Value) override;
};

class TFloatCell : public TDoubleValueCell {
public:
    using TDoubleValueCell::TDoubleValueCell;
    QString GetAsString() const override;
    // 0, whatever the argument.
    void SetAsBoolean(bool Value) override;
    void SetAsString(const QString& Value) override;
};

class TIntegerCell : public TCell {
public:
    using TCell::TCell;
    bool GetAsBoolean() const override { return FValue > 0; }
    TDateTime GetAsDateTime() const override { return 0; }
    double GetAsFloat() const override { return FValue; }
    int GetAsInteger() const override { return FValue; }
    QString GetAsString() const override { return QString::number(FValue); }
    void SetAsBoolean(bool Value) override;
    void SetAsDateTime(TDateTime Value) override;
    void SetAsFloat(double Value) override;
    void SetAsInteger(int Value) override;
    void SetAsString(const QString& Value) override;
    void Clear() override { FValue = 0; }

private:
    int FValue = 0;
};

class TStringCell : public TCell {
public:
    using TCell::TCell;
    bool GetAsBoolean() const override;
    TDateTime GetAsDateTime() const override;
    double GetAsFloat() const override;
    int GetAsInteger() const override;
    QString GetAsString() const override { return FValue; }
    void SetAsBoolean(bool Value) override;
    void SetAsDateTime(TDateTime Value) override;
    void SetAsFloat(double Value) override;
    void SetAsInteger(int Value) override;
    void SetAsString(const QString& Value) override;
    void Clear() override { FValue.clear(); }

private:
    QString FValue;
};

// Shows the 1-based number of the row it is read for; stores nothing.
class TIncrementCell : public TCell {
public:
    using TCell::TCell;
    bool GetAsBoolean() const override { return false; }
    TDateTime GetAsDateTime() const override { return 0; }
    double GetAsFloat() const override;
    int GetAsInteger() const override;
    QString GetAsString() const override;
    void Clear() override {}
};

// Holds no value: reads and writes go to its column's text operations.
class TVirtualCell : public TCell {
public:
    using TCell::TCell;
    TNxCustomColumn* Column = nullptr;
    bool GetAsBoolean() const override;
    TDateTime GetAsDateTime() const override;
    double GetAsFloat() const override;
    int GetAsInteger() const override;
    QString GetAsString() const override;
    void SetAsBoolean(bool Value) override;
    void SetAsDateTime(TDateTime Value) override;
    void SetAsFloat(double Value) override;
    void SetAsInteger(int Value) override;
    void SetAsString(const QString& Value) override;
    void Clear() override {}
};

// Column-notification operations (low 7 bits of the operation code).
enum TColumnNotifyOperation { cnoAddColumn = 0, cnoDeleteColumn = 1, cnoClearColumns = 2, cnoInsertColumn = 3,
                              cnoMoveColumn = 4 };

class TCells {
public:
    TCells(TNxGridLink* Grid, TNxColumns* Columns);
    virtual ~TCells();
    TCells(const TCells&) = delete;
    TCells& operator=(const TCells&) = delete;

    int ColumnCount() const { return FColumnCount; }
    int RowCount() const { return FRowCount; }
    int LastCol() const { return FLastCol; }
    int LastRow() const { return FLastRow; }
    int VisibleRowCount() const { return FVisibleRowCount; }
    bool IsSorted() const { return FIsSorted; }
    int SortedColumn() const { return FSortedColumn; }
    bool SortDescending() const { return FSortDescending; }
    int DefaultRowHeight = 16;
    TNxGridLink* Grid() const { return FGrid; }
    TNxColumns* Columns() const { return FColumns; }

    // Indexes out of range raise "List index out of bounds (%d)".
    TCell* GetCell(int ACol, int ARow);
    TRow* GetRow(int Index) const;
    int IndexOfRow(const TRow* Row) const;
    std::unique_ptr<TCell> CreateCell(TNxCustomColumn* Column);

    void AddRows(int Count);
    void AddChildRow(int ParentIndex, int Position);
    // The rows right after Index that descend from it (the first row that does
    // not ends them): looked up, counted anew only after rows were reordered.
    int GetDescendantCount(int Index) const;
    void InsertRow(int Index);
    void DeleteRow(int Index) { DeleteRows(Index, 1); }
    // Deletes rows Index .. Index + Count - 1 at once; a row left whose parent
    // went has none. Child counts are the grid's.
    void DeleteRows(int Index, int Count);
    void ClearRows();
    void MoveRow(int FromIndex, int ToIndex);
    void ExchangeRows(int Index1, int Index2);
    void SetRowVisible(int Index, bool Value);
    // True when every child row lies among its parent's descendants.
    bool TreeInOrder() const;
    // Shows each row exactly when all its ancestors are expanded, wherever the
    // rows were moved: one pass over the rows.
    void ShowByAncestors();
    // The shown (Visible) rows before row Index, 0 <= Index <= RowCount; and the
    // row shown Pos-th (the first or last shown row beyond the ends, 0 with
    // none). Looked up in sums kept over the rows, made anew after rows moved.
    int ShownRowsBefore(int Index) const;
    int ShownRowAt(int Pos) const;
    void SetRowHeight(int Index, int Value);
    // What a shown row adds to the rows' pixels besides its height (the grid's
    // lines); a row of no height adds nothing, and a hidden row nothing at all.
    int RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(int Value);
    // The pixels the shown rows before row Index take, looked up as the rows are; and the
    // row that holds pixel Pixel (>= 0) counted from the top of row 0, RowCount
    // past the last.
    qint64 ShownPixelsBefore(int Index) const;
    int RowAtPixel(qint64 Pixel) const;
    void SetRowSelected(int Index, bool Value);
    int SelectedCount() const { return FSelectedCount; }
    // Selects rows Lo .. Hi (cut to the rows; none when Lo > Hi) and no other;
    // Changed(Row) follows each change of a row's flag. Moving one end of the
    // range last selected costs the rows that change, not a walk over all rows.
    void SelectRange(int Lo, int Hi, const std::function<void(int)>& Changed);
    void ColumnNotify(int Operation, int Index, int Index2);
    void Sort(int ACol, TSortType SortType, bool Descending);

    virtual void DoCellChange();
    virtual void DoCompare(TCell* Cell1, TCell* Cell2, int& Compare);

    std::function<void(TCells*, int, int)> OnCellChange;
    std::function<void(TCells*, TCell*, TCell*, int&)> OnCompare;

    // Comparisons made by the last Sort (a reversal makes none).
    int LastSortComparisons() const { return FComparisons; }

private:
    struct TSortKey;
    using TCellList = std::vector<std::unique_ptr<TCell>>;

    std::unique_ptr<TCell> MakeCell(TNxCustomColumn* Column, bool ForInsert);
    TNxCustomColumn* ColumnAt(int Index) const;
    void CheckRow(int Index, int Limit) const;
    void AddColumn();
    void InsertColumn(int Index);
    void DeleteColumn(int Index);
    void ClearColumns();
    void MoveColumn(int FromIndex, int ToIndex);
    void SwapRows(int A, int B);
    std::vector<TSortKey> ReadSortKeys(int ACol, TSortType SortType);
    int CompareRows(int P, int X);
    void CountDescendants() const;
    // The rows after Index that descend from it, while the counts are known.
    int DescendantsOf(int Index) const;
    // Rows are about to be appended after the last one that do not descend from
    // the rows marked as running to it, but for Keep and its ancestors: those
    // others get their counts.
    void CloseRowsToEnd(const TRow* Keep);
    // Row Index and its ancestors (found at or above it) run to the last row.
    void OpenRowsToEnd(int Index);
    // Count rows came (Count > 0) or went (Count < 0) at Index: the marked rows after it move.
    void ShiftRowsToEnd(int Index, int Count);
    // The selected range after Count rows were inserted at Index, or removed
    // there with Selected of them selected.
    void RangeRowsInserted(int Index, int Count);
    void RangeRowsRemoved(int Index, int Count, int Selected);
    // Unknown unless nothing is selected.
    void ForgetSelectedRange();
    // Rows changed places: the descendant counts, the selected range and the
    // sums of shown rows are unknown.
    void RowsReordered();
    // The rows are gone: every count and sum over them starts again.
    void RowsCleared();
    void BuildShownSums() const;
    // A row appended, and rows removed from the end.
    void ShownRowAppended(const TRow& Row);
    void ShownRowsTruncated();
    // What row R adds to the sums of the shown rows.
    struct TShownSum {
        int Rows = 0;
        qint64 Pixels = 0;
        TShownSum& operator+=(const TShownSum& B)
        {
            Rows += B.Rows;
            Pixels += B.Pixels;
            return *this;
        }
        TShownSum operator-(const TShownSum& B) const { return {Rows - B.Rows, Pixels - B.Pixels}; }
    };
    TShownSum ShownPart(const TRow& R) const;
    // Adds Delta to every node that sums row Index.
    void AddToShownSums(int Index, const TShownSum& Delta);
    void QuickSortRows(int Lo, int Hi);
    void SortTree();
    int Partition(int Lo, int Hi);
    bool RowTest(bool Left, int Index);

    int FColumnCount = 0;
    int FLastCol = 0;
    TNxColumns* FColumns;
    std::unique_ptr<std::array<TCellList, MaxCellColumns + 1>> FLists;
    TNxGridLink* FGrid;
    int FRowCount = 0;
    int FLastRow = 0;
    std::vector<std::unique_ptr<TRow>> FRows;
    bool FIsSorted = false;
    int FSortedColumn = -1;
    TSortType FSortedType = stAlphabetic;
    bool FSortDescending = false;
    int FVisibleRowCount = 0;
    // While FDescendantsKnown, every row's FDescendants is right; FTreeInOrder
    // then says that every child row lies among its parent's descendants.
    mutable bool FDescendantsKnown = true;
    mutable bool FTreeInOrder = true;
    // The rows marked as having descendants to the last row (their count is the
    // rows after them), from the top down, while the counts are known: the last
    // row's ancestors down to some row. A chain of children appended at the end
    // so costs no walk up to its top.
    mutable std::vector<int> FRowsToEnd;
    // While FShownKnown, FShownSums[I] (I from 1) holds the number and the
    // pixels of the shown rows among rows I - (I & -I) .. I - 1: a binary indexed
    // tree, first made when it is asked (while all show, a position is the row
    // number).
    mutable std::vector<TShownSum> FShownSums;
    mutable bool FShownKnown = false;
    int FRowSpacing = 0;
    // The rows whose height is not FAlikeHeight: while none are and every row
    // shows, a row's pixels are its number times one step, and no sums are made.
    int FOtherHeights = 0;
    int FAlikeHeight = 0;
    bool RowsAlike() const { return FOtherHeights == 0 && FVisibleRowCount == FRowCount; }
    qint64 AlikeStep() const { return FAlikeHeight > 0 ? qint64{FAlikeHeight} + FRowSpacing : 0; }
    // A row of the default height is made.
    void RowMade();
    int FSelectedCount = 0;
    // While FRangeKnown, the selected rows are FRangeLo .. FRangeHi.
    bool FRangeKnown = true;
    int FRangeLo = 0, FRangeHi = -1;

    // Sort state.
    int FSortCol = 0;
    TSortType FSortType = stAlphabetic;
    std::vector<TSortKey>* FKeys = nullptr;
    TSortKey* FPivotKey = nullptr;
    TCell* FPivotCell = nullptr;
    int FComparisons = 0;
};

// Text conversions of the cells; failures raise with the user-visible messages.
namespace NxCellConvert {
int StrToInt(const QString& Text);
double StrToFloat(const QString& Text);
TDateTime StrToDateTime(const QString& Text);
bool StrToBool(const QString& Text);
// What a Boolean cell reads: a number (non-zero is True), True/False or Yes/No in any case.
bool ReadBoolean(const QString& Text);
QString FloatToStr(double Value);
QString DateTimeToStr(TDateTime Value);
int RoundToInt(double Value);
TDateTime Today();
// Four parts of a dotted number; a part with no digits reads 0.
std::array<int, 4> StrToIPParts(const QString& Text);
} // namespace NxCellConvert
