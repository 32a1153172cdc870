#include "unUndoRedoMgr.h"

#include "PixelGrid.h"

TUndoRedoMgr::TUndoRedoMgr(int ALimit) : Limit(ALimit) {}

void TUndoRedoMgr::Clear() { States.clear(); }

void TUndoRedoMgr::SaveState(const TPixelGrid* Grid)
{
    if (!Grid)
        return;
    auto Snapshot = std::make_unique<TCharClass>(-1, 10, 10);
    Grid->SaveToChar(Snapshot.get());
    States.push_back(std::move(Snapshot));
    if (Count() > Limit)
        States.erase(States.begin());
}

void TUndoRedoMgr::Undo(TPixelGrid* Grid)
{
    if (!Grid || States.empty())
        return;
    Grid->LoadFromChar(*States.back());
    States.pop_back();
}
