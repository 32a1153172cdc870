// Each editing operation over every character of a 256-character 50x50 font,
// loaded into the pixel buffer and stored back, next to a plain copy of the
// same cells. Reported per cell.
#include "PixelBuffer.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Side = 50;
constexpr int CharsInFont = 256;

std::vector<std::unique_ptr<TCharClass>> MakeFont()
{
    std::vector<std::unique_ptr<TCharClass>> Font;
    for (int Code = 0; Code < CharsInFont; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, Side, Side);
        for (int X = 0; X < Side; ++X)
            for (int Y = 0; Y < Side; ++Y)
                C->SetCellValue(X, Y, ((X * 7 + Y * 3 + Code) % 5) < 2 ? clInk : clClear);
        Font.push_back(std::move(C));
    }
    return Font;
}

void SetCounters(benchmark::State& State)
{
    State.counters["ns_per_cell"] = benchmark::Counter(
        double(State.iterations()) * CharsInFont * Side * Side,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PlainCopy(benchmark::State& State)
{
    auto Font = MakeFont();
    std::vector<TColor> Out(size_t(Side) * Side);
    for (auto _ : State) {
        for (auto& C : Font) {
            for (size_t I = 0; I < C->Cells.size(); ++I)
                Out[I] = C->Cells[I];
            benchmark::DoNotOptimize(Out.data());
            for (size_t I = 0; I < C->Cells.size(); ++I)
                C->Cells[I] = Out[I];
        }
        benchmark::ClobberMemory();
    }
    SetCounters(State);
}
BENCHMARK(BM_PlainCopy);

void RunOperation(benchmark::State& State, const std::function<void(TPixelBuffer&)>& Op)
{
    auto Font = MakeFont();
    TPixelBuffer Grid;
    for (auto _ : State) {
        for (auto& C : Font) {
            Grid.LoadFromChar(*C);
            Op(Grid);
            Grid.SaveToChar(C.get());
        }
        benchmark::ClobberMemory();
    }
    SetCounters(State);
}

// Size-changing operations come in pairs so every character keeps its size.
#define DW_BENCH_OP(Name, Body)                                                              \
    void BM_##Name(benchmark::State& State) { RunOperation(State, [](TPixelBuffer& G) { Body; }); } \
    BENCHMARK(BM_##Name);

DW_BENCH_OP(LoadSave, (void)G)
DW_BENCH_OP(ScrollHoriz, G.ScrollHoriz(1, true))
DW_BENCH_OP(ScrollVert, G.ScrollVert(-1, true))
DW_BENCH_OP(HorizMirror, G.HorizMirror())
DW_BENCH_OP(VertMirror, G.VertMirror())
DW_BENCH_OP(Invert, G.Invert())
DW_BENCH_OP(Outline, G.Outline())
DW_BENCH_OP(InsertDeleteCols, G.InsertColsLeft(1); (void)G.DeleteLastCols(1))
DW_BENCH_OP(InsertDeleteRows, G.InsertRowsTop(1); (void)G.DeleteLastRows(1))
DW_BENCH_OP(SnapLeft, G.SnapLeft())
DW_BENCH_OP(SnapBottom, G.SnapBottom())
DW_BENCH_OP(UsedExtent, benchmark::DoNotOptimize(G.FirstUsedCol() + G.LastUsedCol() + G.FirstUsedRow() + G.LastUsedRow()))
DW_BENCH_OP(Clear, G.Clear())

} // namespace

BENCHMARK_MAIN();
