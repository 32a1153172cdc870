// The main window's painting and start-up. The editor's full repaint of a
// 50 x 50 character at grid size 15 and the live preview are measured next to
// a plain fill of an image of the same size, in the same run; the counter
// "vs_fill" is the repaint's time over the fill's (expected below 20).
// Start-up is the main window's creation and first show, without the splash.
// The character list is measured as the window fills it.
#include "BenchSupport.h"
#include "PixelGrid.h"
#include "ufMain.h"
#include "unApplication.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace Bench;

namespace {

constexpr int Side = 50;
constexpr int GridSize = 15;

TCharClass MakeChar()
{
    TCharClass C(65, Side, Side);
    for (int X = 0; X < Side; ++X)
        for (int Y = 0; Y < Side; ++Y)
            C.SetCellValue(X, Y, Stripes(X, Y, 0) ? clInk : clClear);
    return C;
}

// The editor at grid size 15 with its live preview, holding the test character.
struct TEditorWithPreview {
    TSingleCharViewer Viewer;
    TPixelGrid Editor;
    TEditorWithPreview()
    {
        Editor.SetCellWidth(GridSize);
        Editor.SetCharViewer(&Viewer);
        Editor.LoadFromChar(MakeChar());
    }
};

void BM_EditorRepaint(benchmark::State& State)
{
    TEditorWithPreview W;
    TPixelGrid& Editor = W.Editor;
    QImage Target(Editor.size(), QImage::Format_RGB32);
    QImage Fill(Editor.size(), QImage::Format_RGB32);
    double Paint = 0, Plain = 0;
    for (auto _ : State) {
        Paint += Seconds([&] { Editor.render(&Target, QPoint(), QRegion(), QWidget::RenderFlags()); });
        Plain += Seconds([&] { Fill.fill(Qt::white); });
        benchmark::DoNotOptimize(Target.constBits());
        benchmark::DoNotOptimize(Fill.constBits());
    }
    State.counters["vs_fill"] = Plain > 0 ? Paint / Plain : 0;
    State.counters["cells"] = Side * Side;
}
BENCHMARK(BM_EditorRepaint)->Unit(benchmark::kMicrosecond);

void BM_PlainFill(benchmark::State& State)
{
    QImage Fill(Side * GridSize, Side * GridSize, QImage::Format_RGB32);
    for (auto _ : State) {
        Fill.fill(Qt::white);
        benchmark::DoNotOptimize(Fill.constBits());
    }
}
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMicrosecond);

void BM_PreviewRepaint(benchmark::State& State)
{
    TEditorWithPreview W;
    TSingleCharViewer& Viewer = W.Viewer;
    Viewer.SetDotSize(3);
    Viewer.SetPadding(1);
    Viewer.SetBorderWidth(2);
    QImage Target(Viewer.size(), QImage::Format_RGB32);
    for (auto _ : State) {
        Viewer.render(&Target);
        benchmark::DoNotOptimize(Target.constBits());
    }
}
BENCHMARK(BM_PreviewRepaint)->Unit(benchmark::kMicrosecond);

// One painted cell of a stroke: the cell and the preview follow.
void BM_StrokeCell(benchmark::State& State)
{
    TEditorWithPreview W;
    TPixelGrid& Editor = W.Editor;
    int I = 0;
    for (auto _ : State) {
        Editor.SetCellValue(I % Side, (I / Side) % Side, (I & 1) ? clInk : clClear);
        ++I;
    }
}
BENCHMARK(BM_StrokeCell)->Unit(benchmark::kMicrosecond);

void BM_StartUp(benchmark::State& State)
{
    for (auto _ : State) {
        auto Main = std::make_unique<TfrmMain>();
        Main->show();
        QApplication::processEvents();
        State.PauseTiming();
        Main.reset(); // writes the settings file
        State.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(10);

// The character list of a 224-character 32 x 32 font (rows 168 pixels high)
// as the window shows it, thumbnails drawn by the window's own handler: one
// viewport repainted next to a plain fill of the same area ("vs_fill",
// expected below 20), and the list scrolled from the first row to the last.
struct TWindowWithList {
    TfrmMain Main;
    TNextGrid* List;
    TWindowWithList()
    {
        Main.show();
        Main.ShowProject(PatternFont(QStringLiteral("Bench"), 32, 255, 32, 32, Stripes), false);
        QApplication::processEvents();
        List = Main.findChild<TNextGrid*>(QStringLiteral("grdFontViewer"));
    }
};

void BM_CharListRepaint(benchmark::State& State)
{
    TWindowWithList W;
    QImage Target(W.List->viewport()->size(), QImage::Format_RGB32);
    QImage Fill(Target.size(), QImage::Format_RGB32);
    double Paint = 0, Plain = 0;
    for (auto _ : State) {
        Paint += Seconds([&] { QPainter P(&Target); W.List->PaintTo(P, Target.rect()); });
        Plain += Seconds([&] { Fill.fill(Qt::white); });
        benchmark::DoNotOptimize(Target.constBits());
        benchmark::DoNotOptimize(Fill.constBits());
    }
    State.counters["vs_fill"] = Plain > 0 ? Paint / Plain : 0;
}
BENCHMARK(BM_CharListRepaint)->Unit(benchmark::kMicrosecond);

void BM_CharListScrollEndToEnd(benchmark::State& State)
{
    TWindowWithList W;
    for (auto _ : State) {
        W.List->ScrollToRow(0);
        QApplication::processEvents();
        for (int Row = 1; Row < W.List->RowCount(); ++Row) {
            W.List->ScrollToRow(Row);
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_CharListScrollEndToEnd)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir Config;
    qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    return Bench::RunOffscreen<TDwApplication>(argc, argv);
}
