// Every export writer over a 224-character 50x50 font (codes 32 to 255), next
// to a plain loop that reads the same cells. Reported per cell; the writers
// should stay within 30 times the plain loop.
#include "BenchSupport.h"
#include "unExportFilters.h"

namespace {

constexpr int Side = 50;
constexpr int First = 32;
constexpr int Last = 255;
constexpr int CharsInFont = Last - First + 1;

// Used widths vary from 21 to 45 so that the proportional Swordfish table
// stays within its 16-bit offsets.
std::unique_ptr<TGLCDFont> MakeFont()
{
    return Bench::PatternFont(QStringLiteral("Bench Font"), First, Last, Side, Side, [](int X, int Y, int Code) {
        return X <= 20 + Code % 25 && Bench::Stripes(X, Y, Code);
    });
}

void SetCounters(benchmark::State& State)
{
    State.counters["ns_per_cell"] = benchmark::Counter(double(State.iterations()) * CharsInFont * Side * Side,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PlainLoop(benchmark::State& State)
{
    auto Font = MakeFont();
    for (auto _ : State) {
        int Set = 0;
        for (int Code = First; Code <= Last; ++Code)
            for (TColor Cell : Font->GetChar(Code)->Cells)
                Set += Cell != clClear;
        benchmark::DoNotOptimize(Set);
    }
    SetCounters(State);
}
BENCHMARK(BM_PlainLoop);

template <class TFilter>
void RunFilter(benchmark::State& State, bool Proportional, int Language = 0, bool Vornex = false)
{
    auto Font = MakeFont();
    for (auto _ : State) {
        TFilter Filter(Font.get(), Proportional, First, Last, QString());
        if constexpr (std::is_same_v<TFilter, TMikroElektronikaFilter>) {
            Filter.SetLanguage(std::uint8_t(Language));
            Filter.UseVornexLib = Vornex;
        }
        const QString Text = Filter.Execute();
        benchmark::DoNotOptimize(Text.constData());
    }
    SetCounters(State);
}

void BM_SwordfishFixed(benchmark::State& S) { RunFilter<TSwordfishBasicFilter>(S, false); }
void BM_SwordfishProportional(benchmark::State& S) { RunFilter<TSwordfishBasicFilter>(S, true); }
void BM_Proton(benchmark::State& S) { RunFilter<TProtonBasicFilter>(S, true); }
void BM_MikroBasicGlcd(benchmark::State& S) { RunFilter<TMikroElektronikaFilter>(S, true, 1); }
void BM_MikroCGlcd(benchmark::State& S) { RunFilter<TMikroElektronikaFilter>(S, true, 3); }
void BM_MikroCVornex(benchmark::State& S) { RunFilter<TMikroElektronikaFilter>(S, true, 3, true); }
// mikroC and mikroBasic write the same table but for prefix and brackets.
// Taken in turns so that both meet the same machine; the counter
// "vs_mikrobasic" is mikroC's time over mikroBasic's, expected at 1 or below.
void BM_MikroCVsMikroBasic(benchmark::State& State)
{
    auto Font = MakeFont();
    const auto Run = [&](int Language) {
        return Bench::Seconds([&] {
            TMikroElektronikaFilter Filter(Font.get(), true, First, Last, QString());
            Filter.SetLanguage(std::uint8_t(Language));
            const QString Text = Filter.Execute();
            benchmark::DoNotOptimize(Text.constData());
        });
    };
    double C = 0, Basic = 0;
    for (auto _ : State) {
        Basic += Run(1);
        State.PauseTiming();
        C += Run(3);
        State.ResumeTiming();
    }
    SetCounters(State);
    State.counters["vs_mikrobasic"] = C / std::max(Basic, 1e-12);
}

BENCHMARK(BM_SwordfishFixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwordfishProportional)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Proton)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MikroBasicGlcd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MikroCGlcd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MikroCVornex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MikroCVsMikroBasic)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
