// The MikroElektronika preview regenerated for a 224-character 16 x 16 font
// (codes 32 to 255): the filter's text put into the editor and highlighted to
// its end, next to the bare filter in the same run. The counter "vs_filter" is
// the preview's time over the filter's (expected below 5).
#include "BenchSupport.h"
#include "ufExportMikroE.h"
#include "unExportFilters.h"

#include <QApplication>
#include <QSpinBox>
#include <Qsci/qsciscintilla.h>

using namespace Bench;

namespace {

constexpr int Side = 16;
constexpr int First = 32;
constexpr int Last = 255;

// Used widths vary from 9 to 16.
std::unique_ptr<TGLCDFont> MakeFont()
{
    return PatternFont(QStringLiteral("Bench Font"), First, Last, Side, Side,
                       [](int X, int Y, int Code) { return X <= 8 + Code % 8 && Stripes(X, Y, Code); });
}

// Arg: the language, 1 mikroBasic, 2 mikroPascal, 3 mikroC.
void BM_PreviewVsFilter(benchmark::State& State)
{
    const auto Language = std::uint8_t(State.range(0));
    const auto Font = MakeFont();
    TfrmMikroEExport Dialog;
    Dialog.edtRangeFrom->setValue(First);
    Dialog.edtRangeTo->setValue(Last);
    Dialog.SelectLanguage(Language);
    Dialog.SetGlcdFont(Font.get());
    double Preview = 0, Bare = 0;
    for (auto _ : State) {
        Preview += Seconds([&] {
            Dialog.UpdatePreview();
            // Highlight the whole text, not only what a paint would show.
            Dialog.SynEditSrc->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        });
        Bare += Seconds([&] {
            TMikroElektronikaFilter Filter(Font.get(), true, First, Last, QStringLiteral("Bench Font"));
            Filter.SetLanguage(Language);
            Filter.UseVornexLib = true;
            const QString Text = Filter.Execute();
            benchmark::DoNotOptimize(Text.constData());
        });
    }
    State.counters["vs_filter"] = Bare > 0 ? Preview / Bare : 0;
    State.counters["preview_ms"] = Preview * 1000 / double(State.iterations());
    State.counters["filter_ms"] = Bare * 1000 / double(State.iterations());
}
BENCHMARK(BM_PreviewVsFilter)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return Bench::RunOffscreen<QApplication>(argc, argv); }
