// The column collection: the two orders, adding, moving and removing columns,
// and the pixel layout and auto-sizing of the columns.
#include "NxColumns.h"

#include "DwError.h"

#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void ListIndexError(int Index)
{
    throw EDotwrightError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

} // namespace

// ---- collection ----

TNxColumns::TNxColumns(TNxGridLink* Grid)
    : FGrid(Grid)
{
}

TNxColumns::~TNxColumns()
{
    FDestroying = true;
    while (!FItems.empty())
        delete FItems.back(); // the column's destructor takes it out of both lists
}

TNxCustomColumn* TNxColumns::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

int TNxColumns::IndexOf(const TNxCustomColumn* Column) const
{
    auto It = std::find(FItems.begin(), FItems.end(), Column);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TNxCustomColumn* TNxColumns::Add(TNxCustomColumn* Column)
{
    if (!Column || Column->FColumns == this)
        return Column;
    if (Count() >= MaxColumns) {
        // Add owns what it is given: a loose column refused here would be lost.
        if (!Column->FColumns)
            delete Column;
        ListIndexError(Count());
    }
    if (Column->FColumns)
        Column->FColumns->Remove(Column);
    Column->FColumns = this;
    FItems.push_back(Column);
    FDisplayList.push_back(Column);
    Column->FPosition = static_cast<int>(FDisplayList.size()) - 1;
    if (Column->FParentFont && FGrid) {
        Column->FFontLock = true;
        Column->FFont = FGrid->Font();
        Column->FFontColor = FGrid->FontColor();
        Column->FFontLock = false;
    }
    LayOut();
    // The grid's cells take the column before any handler runs: one that deletes
    // it must find its cells there.
    if (OnColumnsChanged)
        OnColumnsChanged(0, 1, -1, -1);
    AutoSize();
    // A resize handler of a column that sized anew may have deleted the new one.
    const bool Kept = IndexOf(Column) >= 0;
    if (OnColumnChanged)
        OnColumnChanged(0, 1, -1, -1);
    return Kept ? Column : nullptr;
}

void TNxColumns::Move(int FromPos, int ToPos)
{
    if (FromPos == ToPos)
        return;
    // Asked for by a grid's handler: the column at FromPos moves once the grid's operation is done.
    if (FromPos >= 0 && FromPos < static_cast<int>(FDisplayList.size()) && FGrid) {
        TNxCustomColumn* C = FDisplayList[static_cast<size_t>(FromPos)];
        const std::weak_ptr<char> Alive = C->FLife;
        if (FGrid->DeferChange([this, C, Alive, ToPos] {
                if (!Alive.expired() && C->FColumns == this)
                    Move(C->FPosition, ToPos);
            }))
            return;
    }
    const int N = static_cast<int>(FDisplayList.size());
    if (FromPos < 0 || FromPos >= N)
        ListIndexError(FromPos);
    if (ToPos < 0 || ToPos >= N)
        ListIndexError(ToPos);
    TNxCustomColumn* C = FDisplayList[static_cast<size_t>(FromPos)];
    FDisplayList.erase(FDisplayList.begin() + FromPos);
    FDisplayList.insert(FDisplayList.begin() + ToPos, C);
    LayOut(true);
    FDisplayList[static_cast<size_t>(ToPos)]->Notify(cnPosition, FromPos);
}

void TNxColumns::Remove(TNxCustomColumn* Column)
{
    // Out of both lists and laid out before anyone is told: a handler that runs on
    // the way finds no half-removed column.
    const int Index = IndexOf(Column);
    if (Index >= 0)
        FItems.erase(FItems.begin() + Index);
    FDisplayList.erase(std::remove(FDisplayList.begin(), FDisplayList.end(), Column), FDisplayList.end());
    Column->FColumns = nullptr;
    const bool Live = !FDestroying && !(FGrid && FGrid->Destroying());
    if (Live)
        LayOut(true);
    if (Index >= 0 && OnColumnsChanged && !FDestroying)
        OnColumnsChanged(1, 1, -1, Index);
    if (Live) {
        AutoSize();
        if (OnColumnChanged)
            OnColumnChanged(1, 1, -1, Index);
    }
}

TNxCustomColumn* TNxColumns::ItemByPosition(int Position) const
{
    if (Position < 0 || Position >= static_cast<int>(FDisplayList.size()))
        ListIndexError(Position);
    return FDisplayList[static_cast<size_t>(Position)];
}

int TNxColumns::VisibleCount() const
{
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](auto* C) { return C->Visible(); }));
}

int TNxColumns::TotalWidth() const
{
    int W = 0;
    for (auto* C : FItems)
        if (C->Visible())
            W += C->Width();
    return W;
}

TNxCustomColumn* TNxColumns::FirstVisible() const
{
    for (auto* C : FDisplayList)
        if (C->Visible())
            return C;
    return nullptr;
}

TNxCustomColumn* TNxColumns::LastVisible() const
{
    for (auto It = FDisplayList.rbegin(); It != FDisplayList.rend(); ++It)
        if ((*It)->Visible())
            return *It;
    return nullptr;
}

void TNxColumns::SetFixedCols(int Value)
{
    FFixedCols = Value;
    LayOut();
}

void TNxColumns::LayOut(bool Renumber)
{
    FFixedWidth = 0;
    const int Fixed = std::min<int>(FFixedCols, static_cast<int>(FDisplayList.size()));
    for (int I = 0; I < Fixed; ++I)
        if (FDisplayList[static_cast<size_t>(I)]->Visible())
            FFixedWidth += FDisplayList[static_cast<size_t>(I)]->Width();
    int X = FGrid ? FGrid->IndicatorWidth() : 0;
    int N = 0;
    for (size_t I = 0; I < FDisplayList.size(); ++I) {
        TNxCustomColumn* C = FDisplayList[I];
        if (C->Visible()) {
            C->FLeft = X;
            C->FVisibleIndex = N++;
            X += C->Width();
        } else {
            C->FVisibleIndex = -1;
        }
        if (Renumber)
            C->FPosition = static_cast<int>(I);
    }
}

void TNxColumns::AutoSize(TNxCustomColumn* Column, bool After)
{
    if (!FGrid || Reading())
        return;
    const int I = FGrid->IndicatorWidth();
    int First = 0, Used = 0;
    if (Column) {
        First = Column->Position() + (After ? 1 : 0);
        Used = Column->Left() - I;
        if (After && Column->Visible())
            Used += Column->Width();
    }
    const int Available = FGrid->RowAreaWidth() - Used;
    double A = 0, F = 0;
    std::vector<TNxCustomColumn*> Auto;
    for (size_t P = static_cast<size_t>(std::max(First, 0)); P < FDisplayList.size(); ++P) {
        TNxCustomColumn* C = FDisplayList[P];
        if (!C->Visible())
            continue;
        if (C->Options() & coAutoSize) {
            A += C->Width();
            Auto.push_back(C);
        } else {
            F += C->Width();
        }
    }
    if (Auto.empty() || A <= 0)
        return;
    // Each width change runs the grid's resize handler, which may delete columns.
    for (TNxCustomColumn* C : Auto)
        if (IndexOf(C) >= 0)
            C->StoreWidth(static_cast<int>(std::nearbyint((Available - F) * (C->Width() / A))));
}
