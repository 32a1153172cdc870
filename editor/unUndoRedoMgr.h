#pragma once
// A bounded history of whole-character snapshots of the editor; undo only.
#include "CharClasses.h"

#include <memory>
#include <vector>

class TPixelGrid;

class TUndoRedoMgr {
public:
    explicit TUndoRedoMgr(int ALimit);

    int Limit;

    void Clear();
    int Count() const { return int(States.size()); }
    void SaveState(const TPixelGrid* Grid);
    // Leaves the grid's Modified flag to the caller.
    void Undo(TPixelGrid* Grid);

private:
    std::vector<std::unique_ptr<TCharClass>> States;
};
