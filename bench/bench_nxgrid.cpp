// The grid's hot paths: the blend run for every painted cell of a sorted
// column, and sorting the rows by one column.
#include "NxCells.h"
#include "NxColumnClasses.h"
#include "NxSharedCommon.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

class TBenchGrid : public TNxGridLink {
public:
    int ClientWidth() const override { return 600; }
};

void BM_BlendColor(benchmark::State& State)
{
    TColor C = 0x123456;
    for (auto _ : State) {
        for (int A = 0; A < 256; ++A)
            C = TGraphicsProvider::BlendColor(C, 0xFEDCBA, A) ^ 0x010101;
        benchmark::DoNotOptimize(C);
    }
    State.SetItemsProcessed(State.iterations() * 256);
}
BENCHMARK(BM_BlendColor);

void BM_SortRows(benchmark::State& State)
{
    const int Rows = static_cast<int>(State.range(0));
    const auto Type = static_cast<TSortType>(State.range(1));
    TBenchGrid Grid;
    TNxColumns Columns(&Grid);
    TCells Cells(&Grid, &Columns);
    Columns.OnColumnsChanged = [&](int Op, int, int, int I) { Cells.ColumnNotify(Op, I, -1); };
    Columns.Add(new TNxTextColumn);
    Columns.Add(new TNxImageColumn);
    Cells.AddRows(Rows);
    for (auto _ : State) {
        State.PauseTiming();
        for (int R = 0; R < Rows; ++R) {
            const unsigned V = static_cast<unsigned>(R) * 2654435761u;
            Cells.GetCell(0, R)->SetAsString(QString("%1.%2.%3.%4").arg(V >> 24).arg((V >> 16) & 255).arg((V >> 8) & 255).arg(V & 255));
        }
        State.ResumeTiming();
        Cells.Sort(0, Type, false);
    }
    State.SetItemsProcessed(State.iterations() * Rows);
}
BENCHMARK(BM_SortRows)->Args({10000, stAlphabetic})->Args({10000, stIP})->Args({10000, stCaseInsensitive});

} // namespace

int main(int argc, char** argv)
{
    // No display is needed: the grid paints into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
