// The ".lcd" file of a 256-character 50x50 font (about 5.8 MB): save and load
// next to a plain read and write of the same bytes, and the import of an
// installed font. The save's counter "vs_plain_write" is expected below 5,
// the import's "vs_painter" below 2.
#include "CharClasses.h"
#include "unHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

QString BenchFile(const char* Name)
{
    return QDir::temp().filePath(QStringLiteral("dw_bench_%1_%2.lcd")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(QLatin1StringView(Name)));
}

std::unique_ptr<TGLCDFont> BigFont()
{
    auto Font = std::make_unique<TGLCDFont>(QStringLiteral("Big"));
    Font->RangeFrom = 0;
    Font->RangeTo = 255;
    for (int Code = 0; Code < 256; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, 50, 50);
        for (size_t I = 0; I < C->Cells.size(); ++I)
            C->Cells[I] = (I * 31 + size_t(Code)) % 10 == 0 ? clInk : clClear;
        Font->SetChar(Code, std::move(C));
    }
    return Font;
}

// The file every benchmark below reads or writes, made once.
const QString& SavedFile()
{
    static const QString Name = [] {
        const QString N = BenchFile("big");
        if (!BigFont()->SaveToFile(N))
            qFatal("cannot write %s", qPrintable(N));
        return N;
    }();
    return Name;
}

QByteArray SavedBytes()
{
    QFile F(SavedFile());
    if (!F.open(QIODevice::ReadOnly))
        qFatal("cannot read the bench file");
    return F.readAll();
}

void BM_PlainRead(benchmark::State& State)
{
    const QString Name = SavedFile();
    for (auto _ : State) {
        QFile F(Name);
        if (!F.open(QIODevice::ReadOnly))
            State.SkipWithError("open");
        benchmark::DoNotOptimize(F.readAll());
    }
    State.SetBytesProcessed(State.iterations() * QFileInfo(Name).size());
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& State)
{
    const QString Name = SavedFile();
    for (auto _ : State) {
        TGLCDFont Font(QString{});
        if (!Font.LoadFromFile(Name))
            State.SkipWithError("load failed");
        benchmark::DoNotOptimize(Font.GetChar(255));
    }
    State.SetBytesProcessed(State.iterations() * QFileInfo(Name).size());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// The same bytes through the same kind of file as the save uses.
bool PlainWrite(const QString& Name, const QByteArray& Bytes)
{
    QSaveFile F(Name);
    return F.open(QIODevice::WriteOnly) && F.write(Bytes) == Bytes.size() && F.commit();
}

void BM_PlainWrite(benchmark::State& State)
{
    const QByteArray Bytes = SavedBytes();
    const QString Name = BenchFile("plain");
    for (auto _ : State)
        if (!PlainWrite(Name, Bytes))
            State.SkipWithError("write failed");
    QFile::remove(Name);
    State.SetBytesProcessed(State.iterations() * Bytes.size());
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

// The counter "vs_plain_write" is the save's time over a plain write of the
// same bytes, the two taken in turns so that both meet the same disk.
void BM_Save(benchmark::State& State)
{
    const auto Font = BigFont();
    const QByteArray Bytes = SavedBytes();
    const QString Name = BenchFile("save");
    const QString Plain = BenchFile("plain_beside_save");
    using TClock = std::chrono::steady_clock;
    TClock::duration SaveTime{}, PlainTime{};
    for (auto _ : State) {
        const auto Start = TClock::now();
        if (!Font->SaveToFile(Name))
            State.SkipWithError("save failed");
        const auto Saved = TClock::now();
        State.PauseTiming();
        const auto PlainStart = TClock::now();
        if (!PlainWrite(Plain, Bytes))
            State.SkipWithError("write failed");
        PlainTime += TClock::now() - PlainStart;
        SaveTime += Saved - Start;
        State.ResumeTiming();
    }
    State.SetBytesProcessed(State.iterations() * QFileInfo(Name).size());
    State.counters["vs_plain_write"] =
        double(SaveTime.count()) / double(std::max<TClock::rep>(1, PlainTime.count()));
    QFile::remove(Name);
    QFile::remove(Plain);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_ImportSystemFont(benchmark::State& State)
{
    for (auto _ : State) {
        TGLCDFont Font(QString{});
        Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 12, 0, 32, 255);
        benchmark::DoNotOptimize(Font.GetChar(65));
    }
}
BENCHMARK(BM_ImportSystemFont)->Unit(benchmark::kMillisecond);

// The 224 glyphs of codes 32 to 255 at 28 points drawn by one QPainter into
// one image, in the same cells and font as the import uses.
void DrawGlyphs(QImage& Sheet, const QFont& Font, const QSize& Cell)
{
    Sheet.fill(Qt::white);
    QPainter Painter(&Sheet);
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    const int Ascent = QFontMetrics(Font).ascent();
    for (int Code = 32; Code <= 255; ++Code) {
        const int I = Code - 32;
        Painter.drawText(I % 16 * Cell.width(), I / 16 * Cell.height() + Ascent, Win1252Char(Code));
    }
}

// The import at 28 points; the counter "vs_painter" is its time over the
// plain drawing of the same glyphs, taken in turns, and is expected below 2.
void BM_Import28VsPainter(benchmark::State& State)
{
    const QString Face = QStringLiteral("DejaVu Sans");
    QFont Font(Face);
    Font.setPixelSize(28 * 96 / 72);
    Font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    const QSize Cell = TGLCDFont::ImportCellSize(Face, 28, 0, 32, 255);
    QImage Sheet(Cell.width() * 16, Cell.height() * 14, QImage::Format_RGB32);
    using TClock = std::chrono::steady_clock;
    TClock::duration ImportTime{}, DrawTime{};
    for (auto _ : State) {
        const auto Start = TClock::now();
        TGLCDFont Imported(QString{});
        Imported.ImportSystemFont(Face, 28, 0, 32, 255);
        benchmark::DoNotOptimize(Imported.GetChar(65));
        const auto Done = TClock::now();
        State.PauseTiming();
        const auto DrawStart = TClock::now();
        DrawGlyphs(Sheet, Font, Cell);
        benchmark::DoNotOptimize(Sheet.constBits());
        DrawTime += TClock::now() - DrawStart;
        ImportTime += Done - Start;
        State.ResumeTiming();
    }
    State.counters["vs_painter"] =
        double(ImportTime.count()) / double(std::max<TClock::rep>(1, DrawTime.count()));
}
BENCHMARK(BM_Import28VsPainter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QFile::remove(SavedFile());
    return 0;
}
