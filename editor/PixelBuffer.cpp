#include "PixelBuffer.h"

#include "DwError.h"

#include <algorithm>
#include <cstdlib>

namespace {

const QString MsgNoMoreCols = QStringLiteral("Cannot delete more columns");
const QString MsgNoMoreLines = QStringLiteral("Cannot delete more lines");

} // namespace

TPixelBuffer::TPixelBuffer() { FCells.assign(64, FBackgroundColor); }

void TPixelBuffer::SetHorizCellCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == FHorizCellCount)
        return;
    FHorizCellCount = Value;
    FCells.resize(size_t(FHorizCellCount) * size_t(FVertCellCount));
    ClearCells();
}

void TPixelBuffer::SetVertCellCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == FVertCellCount)
        return;
    FVertCellCount = Value;
    FCells.resize(size_t(FHorizCellCount) * size_t(FVertCellCount));
    ClearCells();
}

void TPixelBuffer::SetDimensions(int AHorizCount, int AVertCount)
{
    FHorizCellCount = std::max(1, AHorizCount);
    FVertCellCount = std::max(1, AVertCount);
    FCells.resize(size_t(FHorizCellCount) * size_t(FVertCellCount));
    ClearCells();
}

TColor TPixelBuffer::GetCellValue(int X, int Y) const
{
    if (X < 0 || X >= FHorizCellCount || Y < 0 || Y >= FVertCellCount)
        throw EDotwrightError(
            QString::asprintf("Index (Row:%d,Col:%d) out of bounds in call to TPixelGrid.GetCellValue", X, Y));
    return FCells[Index(X, Y)];
}

void TPixelBuffer::SetCellValue(int X, int Y, TColor Value)
{
    if (X < 0 || X >= FHorizCellCount || Y < 0 || Y >= FVertCellCount)
        throw EDotwrightError(
            QString::asprintf("Index (Row:%d,Col:%d) out of bounds in call to TPixelGrid.SetCellValue", X, Y));
    FCells[Index(X, Y)] = Value;
}

int TPixelBuffer::GetPixel(int X, int Y) const { return GetCellValue(X, Y) != FBackgroundColor ? 1 : 0; }

bool TPixelBuffer::IsEmpty() const
{
    return std::all_of(FCells.begin(), FCells.end(), [this](TColor C) { return C == FBackgroundColor; });
}

bool TPixelBuffer::ColumnUsed(int X) const
{
    const auto Col = FCells.begin() + ptrdiff_t(X) * FVertCellCount;
    return std::any_of(Col, Col + FVertCellCount, [this](TColor C) { return C != FBackgroundColor; });
}

bool TPixelBuffer::RowUsed(int Y) const
{
    for (int X = 0; X < FHorizCellCount; ++X)
        if (FCells[Index(X, Y)] != FBackgroundColor)
            return true;
    return false;
}

// For a grid with no used cell the answers are fixed: W - 1, 0, H - 1 and 0.
int TPixelBuffer::FirstUsedCol() const
{
    int X = 0;
    while (X < FHorizCellCount && !ColumnUsed(X))
        ++X;
    return X < FHorizCellCount ? X : FHorizCellCount - 1;
}

int TPixelBuffer::LastUsedCol() const
{
    int X = FHorizCellCount - 1;
    while (X >= 0 && !ColumnUsed(X))
        --X;
    return std::max(X, 0);
}

int TPixelBuffer::FirstUsedRow() const
{
    int Y = 0;
    while (Y < FVertCellCount && !RowUsed(Y))
        ++Y;
    return Y < FVertCellCount ? Y : FVertCellCount - 1;
}

int TPixelBuffer::LastUsedRow() const
{
    int Y = FVertCellCount - 1;
    while (Y >= 0 && !RowUsed(Y))
        --Y;
    return std::max(Y, 0);
}

void TPixelBuffer::ClearCells() { std::fill(FCells.begin(), FCells.end(), FBackgroundColor); }

void TPixelBuffer::SaveToChar(TCharClass* C) const
{
    if (!C)
        throw EDotwrightError(QStringLiteral("Cannot save to nil char in TPixelGrid.SaveToChar"));
    C->SetWidth(FHorizCellCount);
    C->SetHeight(FVertCellCount);
    C->Cells = FCells;
}

void TPixelBuffer::LoadFromChar(const TCharClass& C) { BufferFromBuffer(C.Cells, C.Width, C.Height); }

void TPixelBuffer::BufferFromBuffer(const std::vector<TColor>& Buffer, int AHorizCount, int AVertCount)
{
    if (Buffer.empty())
        return;
    if (AHorizCount < 1 || AVertCount < 1
        || Buffer.size() != size_t(AHorizCount) * size_t(AVertCount))
        throw EDotwrightError(QStringLiteral("Invalid Buffer Size in call to function TPixelGrid.BufferFromBuffer"));
    FHorizCellCount = AHorizCount;
    FVertCellCount = AVertCount;
    FCells = Buffer;
}

std::vector<TColor> TPixelBuffer::Restart(int W, int H)
{
    std::vector<TColor> Old = FCells;
    FHorizCellCount = W;
    FVertCellCount = H;
    FCells.assign(size_t(W) * size_t(H), FBackgroundColor);
    return Old;
}

void TPixelBuffer::ScrollHoriz(int Count, bool Roll)
{
    const int W = FHorizCellCount, H = FVertCellCount;
    // A rolling shift is a rotation, so any distance reduces modulo the width.
    if (Roll)
        Count %= W;
    // Without roll-over any distance of the width or more leaves the grid clear.
    const int N = int(std::min<long long>(std::llabs(Count), W));
    const std::vector<TColor> S = Restart(W, H);
    auto Src = [&](int X) { return S.begin() + ptrdiff_t(X) * H; };
    if (N < W) {
        const int Dst = Count >= 0 ? N : 0;
        const int From = Count >= 0 ? 0 : N;
        std::copy(Src(From), Src(From + W - N), FCells.begin() + ptrdiff_t(Dst) * H);
        if (Roll && N > 0) {
            const int RDst = Count >= 0 ? 0 : W - N;
            const int RFrom = Count >= 0 ? W - N : 0;
            std::copy(Src(RFrom), Src(RFrom + N), FCells.begin() + ptrdiff_t(RDst) * H);
        }
    }
    Modified = true;
}

void TPixelBuffer::ScrollVert(int Count, bool Roll)
{
    const int W = FHorizCellCount, H = FVertCellCount;
    if (Roll)
        Count %= H;
    const int N = int(std::min<long long>(std::llabs(Count), H));
    const std::vector<TColor> S = Restart(W, H);
    if (N < H) {
        for (int X = 0; X < W; ++X) {
            const TColor* Col = S.data() + size_t(X) * size_t(H);
            TColor* Out = FCells.data() + size_t(X) * size_t(H);
            if (Count >= 0) {
                std::copy(Col, Col + (H - N), Out + N);
                if (Roll)
                    std::copy(Col + (H - N), Col + H, Out);
            } else {
                std::copy(Col + N, Col + H, Out);
                if (Roll)
                    std::copy(Col, Col + N, Out + (H - N));
            }
        }
    }
    Modified = true;
}

void TPixelBuffer::HorizMirror()
{
    const int W = FHorizCellCount, H = FVertCellCount;
    const std::vector<TColor> S = FCells;
    for (int X = 0; X < W; ++X)
        std::copy(S.begin() + ptrdiff_t(W - 1 - X) * H, S.begin() + ptrdiff_t(W - X) * H,
                  FCells.begin() + ptrdiff_t(X) * H);
    Modified = true;
}

void TPixelBuffer::VertMirror()
{
    const int W = FHorizCellCount, H = FVertCellCount;
    for (int X = 0; X < W; ++X)
        std::reverse(FCells.begin() + ptrdiff_t(X) * H, FCells.begin() + ptrdiff_t(X + 1) * H);
    Modified = true;
}

// Swaps exactly black and exactly white, whatever the background colour is.
void TPixelBuffer::Invert()
{
    for (TColor& C : FCells) {
        if (C == clClear)
            C = clInk;
        else if (C == clInk)
            C = clClear;
    }
    Modified = true;
}

// Hollows filled shapes: an interior black cell whose four direct neighbours are
// black turns white. The border rows and columns are kept as they are.
void TPixelBuffer::Outline()
{
    const int W = FHorizCellCount, H = FVertCellCount;
    const std::vector<TColor> S = FCells;
    auto Sv = [&](int X, int Y) { return S[Index(X, Y)]; };
    for (int X = 1; X < W - 1; ++X)
        for (int Y = 1; Y < H - 1; ++Y)
            if (Sv(X, Y) == clInk && Sv(X, Y - 1) == clInk && Sv(X, Y + 1) == clInk
                && Sv(X - 1, Y) == clInk && Sv(X + 1, Y) == clInk)
                At(X, Y) = clClear;
    Modified = true;
}

// Makes the grid NewW x NewH, all clear, with old cell (X, Y) at (X + DX, Y + DY)
// wherever that lies inside.
void TPixelBuffer::Reframe(int NewW, int NewH, int DX, int DY)
{
    const int OldH = FVertCellCount;
    const std::vector<TColor> S = Restart(NewW, NewH);
    const int OldW = int(S.size()) / OldH;
    const int Y0 = std::max(0, -DY), Y1 = std::min(OldH, NewH - DY);
    for (int X = std::max(0, -DX); X < std::min(OldW, NewW - DX); ++X)
        if (Y0 < Y1)
            std::copy(S.begin() + ptrdiff_t(X) * OldH + Y0, S.begin() + ptrdiff_t(X) * OldH + Y1,
                      FCells.begin() + ptrdiff_t(X + DX) * NewH + (Y0 + DY));
    Modified = true;
}

void TPixelBuffer::InsertColsLeft(int Count)
{
    if (Count >= 0)
        Reframe(FHorizCellCount + Count, FVertCellCount, Count, 0);
}

void TPixelBuffer::InsertColsRight(int Count)
{
    if (Count >= 0)
        Reframe(FHorizCellCount + Count, FVertCellCount, 0, 0);
}

void TPixelBuffer::InsertRowsTop(int Count)
{
    if (Count >= 0)
        Reframe(FHorizCellCount, FVertCellCount + Count, 0, Count);
}

void TPixelBuffer::InsertRowsBottom(int Count)
{
    if (Count >= 0)
        Reframe(FHorizCellCount, FVertCellCount + Count, 0, 0);
}

// At least one column and one row always remain.
QString TPixelBuffer::DeleteFirstCols(int Count)
{
    if (Count < 0)
        return QString();
    if (Count >= FHorizCellCount)
        return MsgNoMoreCols;
    Reframe(FHorizCellCount - Count, FVertCellCount, -Count, 0);
    return QString();
}

QString TPixelBuffer::DeleteLastCols(int Count)
{
    if (Count < 0)
        return QString();
    if (Count >= FHorizCellCount)
        return MsgNoMoreCols;
    Reframe(FHorizCellCount - Count, FVertCellCount, 0, 0);
    return QString();
}

QString TPixelBuffer::DeleteFirstRows(int Count)
{
    if (Count < 0)
        return QString();
    if (Count >= FVertCellCount)
        return MsgNoMoreLines;
    Reframe(FHorizCellCount, FVertCellCount - Count, 0, -Count);
    return QString();
}

QString TPixelBuffer::DeleteLastRows(int Count)
{
    if (Count < 0)
        return QString();
    if (Count >= FVertCellCount)
        return MsgNoMoreLines;
    Reframe(FHorizCellCount, FVertCellCount - Count, 0, 0);
    return QString();
}

// The snaps act only when the drawing does not already touch the edge. On an
// all-clear grid the used-extent answers make them shift by the whole extent.
void TPixelBuffer::SnapLeft()
{
    const int F = FirstUsedCol();
    if (F >= 1)
        ScrollHoriz(-F, false);
}

void TPixelBuffer::SnapRight()
{
    const int D = FHorizCellCount - (LastUsedCol() + 1);
    if (D > 0)
        ScrollHoriz(D, false);
}

void TPixelBuffer::SnapTop()
{
    const int F = FirstUsedRow();
    if (F >= 1)
        ScrollVert(-F, false);
}

void TPixelBuffer::SnapBottom()
{
    const int D = FVertCellCount - (LastUsedRow() + 1);
    if (D > 0)
        ScrollVert(D, false);
}

void TPixelBuffer::Clear() { ClearCells(); }
