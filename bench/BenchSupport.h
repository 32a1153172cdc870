#pragma once
// What the benchmarks share: fonts of one size inked in a pattern, a stopwatch
// for one run, and a main that runs them on the offscreen platform.
#include "CharClasses.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace Bench {

// About two cells in five inked, in stripes that move with the code.
inline bool Stripes(int X, int Y, int Code) { return (X * 7 + Y * 3 + Code) % 5 < 2; }

// Codes First..Last of W x H cells, a cell inked where Ink(X, Y, Code) holds.
template <typename TInk>
std::unique_ptr<TGLCDFont> PatternFont(const QString& Name, int First, int Last, int W, int H, TInk&& Ink)
{
    auto Font = std::make_unique<TGLCDFont>(Name);
    Font->RangeFrom = First;
    Font->RangeTo = Last;
    for (int Code = First; Code <= Last; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, W, H);
        for (int X = 0; X < W; ++X)
            for (int Y = 0; Y < H; ++Y)
                C->SetCellValue(X, Y, Ink(X, Y, Code) ? clInk : clClear);
        Font->SetChar(Code, std::move(C));
    }
    return Font;
}

template <typename F> double Seconds(F&& Run)
{
    const auto Start = std::chrono::steady_clock::now();
    Run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// Runs the registered benchmarks inside an application of type TApp, on the
// offscreen platform unless another one is asked for.
template <class TApp> int RunOffscreen(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApp App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace Bench
