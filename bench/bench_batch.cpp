// The passes over all characters and Open, in the window next to the same
// work bare, on a font of 256 characters of 50 x 50, measured in the same run.
// "vs_bare" is the window's pass (busy panel, progress bar, loop, reload of
// the editor, status bar) over the bare pass on one buffer: expected within
// 3. "command_vs_bare" is the whole action, whose busy state also repaints
// every toolbar button twice. For Open, "vs_bare" is Open into the window
// (list filled, first character loaded) over the bare LoadFromFile: expected
// within 10.
#include "BenchSupport.h"
#include "ufMain.h"
#include "unApplication.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>

using namespace Bench;

namespace {

constexpr int Side = 50;

std::unique_ptr<TGLCDFont> MakeFont() { return PatternFont(QStringLiteral("Bench"), 0, 255, Side, Side, Stripes); }

struct TPassCase {
    const char* Action;
    TBatchPass Pass;
    int Count;
};

// A pass that keeps the size and one that changes it (and back, so that the
// font stays 50 x 50 from one iteration to the next).
const TPassCase Cases[] = {
    {"actBatchInvert", TBatchPass::Invert, 0},
    {"actInsetColLeft", TBatchPass::InsertColsLeft, 1},
    {"actDeleteFirstCol", TBatchPass::RemoveColsLeft, 1},
};

void BM_BatchPass(benchmark::State& State)
{
    const TPassCase& Case = Cases[State.range(0)];
    TfrmMain Main;
    Main.show();
    Main.ShowProject(MakeFont(), false);
    QApplication::processEvents();
    auto Bare = MakeFont();
    QAction* Action = Main.Action(QString::fromLatin1(Case.Action));
    // Puts the size back after a pass that changed it.
    auto Undo = [&](TfrmMain* Window, TGLCDFont* Font) {
        const TBatchPass Back = Case.Pass == TBatchPass::InsertColsLeft ? TBatchPass::RemoveColsLeft
                                                                         : TBatchPass::InsertColsLeft;
        if (Case.Pass == TBatchPass::Invert)
            return;
        if (Window)
            Window->RunBatchPass(Back, 1);
        if (Font)
            (void)ApplyBatchPass(*Font, Back, 1, true);
    };
    double Pass = 0, Command = 0, Plain = 0;
    // Each measured window run starts with nothing left to paint and ends
    // once its own painting is done.
    for (auto _ : State) {
        Pass += Seconds([&] {
            Main.RunBatchPass(Case.Pass, Case.Count);
            QApplication::processEvents();
        });
        Plain += Seconds([&] { (void)ApplyBatchPass(*Bare, Case.Pass, Case.Count, true); });
        State.PauseTiming();
        Undo(&Main, Bare.get());
        QApplication::processEvents();
        State.ResumeTiming();
        Command += Seconds([&] {
            Action->trigger();
            QApplication::processEvents();
        });
        State.PauseTiming();
        Undo(&Main, nullptr);
        QApplication::processEvents();
        State.ResumeTiming();
    }
    const double N = double(State.iterations());
    State.SetLabel(Case.Action);
    State.counters["vs_bare"] = Plain > 0 ? Pass / Plain : 0;
    State.counters["command_vs_bare"] = Plain > 0 ? Command / Plain : 0;
    State.counters["bare_ms"] = 1000 * Plain / N;
    State.counters["pass_ms"] = 1000 * Pass / N;
    State.counters["command_ms"] = 1000 * Command / N;
}
BENCHMARK(BM_BatchPass)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Open(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QString Name = Dir.path() + QStringLiteral("/bench.lcd");
    if (!MakeFont()->SaveToFile(Name)) {
        State.SkipWithError("the font could not be written");
        return;
    }
    TScriptedMessageService Messages;
    SetMessageService(&Messages);
    TfrmMain Main;
    Main.show();
    QApplication::processEvents();
    QAction* Open = Main.Action(QStringLiteral("actOpenFontProject"));
    double InWindow = 0, Plain = 0;
    for (auto _ : State) {
        Messages.AnswerFile(Name);
        InWindow += Seconds([&] {
            Open->trigger();
            QApplication::processEvents();
        });
        Plain += Seconds([&] {
            TGLCDFont F{QString()};
            if (!F.LoadFromFile(Name))
                State.SkipWithError("the font could not be read");
        });
    }
    if (!Messages.Unanswered.isEmpty() || !Main.CurrentFont() || Main.CurrentFont()->CharCount() != 256)
        State.SkipWithError("Open did not load the font");
    SetMessageService(nullptr);
    State.counters["vs_bare"] = Plain > 0 ? InWindow / Plain : 0;
    State.counters["bare_ms"] = 1000 * Plain / double(State.iterations());
    State.counters["window_ms"] = 1000 * InWindow / double(State.iterations());
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir Config;
    qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    return Bench::RunOffscreen<TDwApplication>(argc, argv);
}
