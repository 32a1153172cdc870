#pragma once
// The cells of one character and every pixel operation on them, with no widget:
// the on-screen editor forwards to it, and the exporters and batch passes use it
// bare as their off-screen grid.
#include "CharClasses.h"

#include <QString>
#include <vector>

class TPixelBuffer {
public:
    TPixelBuffer();

    int HorizCellCount() const { return FHorizCellCount; }
    int VertCellCount() const { return FVertCellCount; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    // Column-major, the same order as TCharClass::Cells.
    const std::vector<TColor>& Cells() const { return FCells; }

    // A count below 1 is taken as 1. A changed count clears every cell.
    void SetHorizCellCount(int Value);
    void SetVertCellCount(int Value);
    void SetDimensions(int AHorizCount, int AVertCount);
    // Cells are not recoloured.
    void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }

    // Set by every editing operation but Clear; read and cleared by the owner.
    bool Modified = false;

    TColor GetCellValue(int X, int Y) const;
    void SetCellValue(int X, int Y, TColor Value);
    int GetPixel(int X, int Y) const;
    bool IsEmpty() const;
    // For a grid with no used cell: W - 1, 0, H - 1 and 0.
    int FirstUsedCol() const;
    int LastUsedCol() const;
    int FirstUsedRow() const;
    int LastUsedRow() const;

    void ClearCells();
    void SaveToChar(TCharClass* C) const;
    void LoadFromChar(const TCharClass& C);
    // An empty buffer changes nothing; a length other than the counts' product raises.
    void BufferFromBuffer(const std::vector<TColor>& Buffer, int AHorizCount, int AVertCount);

    // Editing operations. Shifts: positive Count moves right or down.
    void ScrollHoriz(int Count, bool Roll);
    void ScrollVert(int Count, bool Roll);
    void HorizMirror();
    void VertMirror();
    void Invert();
    void Outline();
    void InsertColsLeft(int Count);
    void InsertColsRight(int Count);
    void InsertRowsTop(int Count);
    void InsertRowsBottom(int Count);
    // The deletes return an empty string when done, else the refusal message
    // for the caller to show; a refused delete changes nothing.
    [[nodiscard]] QString DeleteFirstCols(int Count);
    [[nodiscard]] QString DeleteLastCols(int Count);
    [[nodiscard]] QString DeleteFirstRows(int Count);
    [[nodiscard]] QString DeleteLastRows(int Count);
    void SnapLeft();
    void SnapRight();
    void SnapTop();
    void SnapBottom();
    void Clear();

private:
    size_t Index(int X, int Y) const { return size_t(X) * size_t(FVertCellCount) + size_t(Y); }
    TColor& At(int X, int Y) { return FCells[Index(X, Y)]; }
    bool ColumnUsed(int X) const;
    bool RowUsed(int Y) const;
    // Resizes to W x H, every cell clear, and returns the previous cells.
    std::vector<TColor> Restart(int W, int H);
    void Reframe(int NewW, int NewH, int DX, int DY);

    int FHorizCellCount = 8;
    int FVertCellCount = 8;
    TColor FBackgroundColor = clClear;
    std::vector<TColor> FCells;
};
