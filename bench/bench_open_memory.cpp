// Peak memory of opening a project file, over its size, for the shapes of
// file that cost the reader most per byte. Each shape is opened in a child
// process of its own, whose peak resident size (VmHWM) is measured from a
// reset just before the open. The counter "peak_per_byte" of the worst shape
// must stay below the 4.5 (the reader's OpenPeakHalvesPerByte) by which a
// file is refused before it is read when the machine lacks the memory.
// Measured: 4.03 at most (long texts and large fonts); 1.3 for the element
// shapes, which stop at the project's limit of elements and attributes (41
// without it).
#include "CharClasses.h"
#include "unHelpers.h"
#include "unXMLParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// About 32 MB each: large enough that the fixed costs vanish.
constexpr qsizetype Target = 32 << 20;

QByteArray Repeat(const QByteArray& Head, const QByteArray& Unit, const QByteArray& Tail)
{
    QByteArray R = Head;
    R.reserve(Target + Head.size() + Tail.size());
    while (R.size() < Target)
        R += Unit;
    return R + Tail;
}

// 16 characters of 1024 x 1024 cells, all 0: two bytes of the file per cell.
QByteArray BigCells(const QByteArray& Head)
{
    QByteArray F = Head + "<FONT><FONTSIZE WIDTH=\"1024\" HEIGHT=\"1024\"/><RANGE FROM=\"0\" TO=\"15\"/><CHARS>";
    const QByteArray Cells = QByteArray("0,").repeated(1024 * 1024).chopped(1);
    for (int Code = 0; Code < 16; ++Code)
        F += "<CHAR CODE=\"" + QByteArray::number(Code) + "\" PIXELS=\"" + Cells + "\"/>";
    return F + "</CHARS></FONT>";
}

struct TShape {
    const char* Name;
    QByteArray (*Make)();
};

const TShape Shapes[] = {
    {"empty elements", [] { return Repeat("<R>", "<A/>", "</R>"); }},
    {"empty elements, Windows-1252", [] { return Repeat("<!--\x80--><R>", "<A/>", "</R>"); }},
    {"short texts", [] { return Repeat("<R>", "<A>x</A>", "</R>"); }},
    {"attributes", [] { return Repeat("<R><A ", "a=\"\"", "/></R>"); }},
    {"attributes, Windows-1252", [] { return Repeat("<!--\x80--><R><A ", "a=\"\"", "/></R>"); }},
    {"attribute values", [] { return Repeat("<R><A ", "a=\"x\"", "/></R>"); }},
    {"deep nesting", [] {
         QByteArray Deep = QByteArray("<A>").repeated(990) + QByteArray("</A>").repeated(990);
         return Repeat("<R>", Deep, "</R>");
     }},
    {"long text", [] { return Repeat("<R><A>", "xxxxxxxxxxxxxxxx", "</A></R>"); }},
    {"long text, line ends", [] { return Repeat("<R><A>", "xxxxxx\r\n", "</A></R>"); }},
    {"long text, Windows-1252", [] { return Repeat("<R><A>\x80", "xxxxxxxxxxxxxxxx", "</A></R>"); }},
    {"long attribute value", [] { return Repeat("<R><A a=\"", "xxxxxxxxxxxxxxxx", "\"/></R>"); }},
    {"entities", [] { return Repeat("<R><A>", "&amp;&lt;", "</A></R>"); }},
    {"entities and line ends", [] { return Repeat("<R><A>\x80", "&amp;\n", "</A></R>"); }},
    {"long name", [] { return Repeat("<R><", "AAAAAAAAAAAAAAAA", "/></R>"); }},
    {"long font name", [] { return Repeat("<FONT><FONTNAME>", "Name Name ", "</FONTNAME></FONT>"); }},
    {"a font of 1024 x 1024 cells", [] { return BigCells(""); }},
    {"a font of 1024 x 1024 cells, Windows-1252", [] { return BigCells("<!--\x80-->"); }},
};

qint64 StatusField(const char* Field)
{
    QFile F(QStringLiteral("/proc/self/status"));
    if (!F.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& Line : F.readAll().split('\n'))
        if (Line.startsWith(Field))
            return Line.mid(qstrlen(Field)).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// The peak bytes of opening File, measured in a child; -1 when that fails.
double PeakPerByte(const QString& File, qint64 Size)
{
    int Pipe[2];
    if (::pipe(Pipe) != 0)
        return -1;
    const pid_t Pid = ::fork();
    if (Pid == 0) {
        QFile Reset(QStringLiteral("/proc/self/clear_refs"));
        if (!Reset.open(QIODevice::WriteOnly) || Reset.write("5") != 1)
            ::_exit(1);
        Reset.close();
        SetAvailableMemorySource([] { return qint64(-1); }); // measured, not refused
        const qint64 Before = StatusField("VmRSS:");
        {
            TGLCDFont Font{QString()};
            (void)Font.LoadFromFile(File);
        }
        const double Per = double(StatusField("VmHWM:") - Before) / double(Size);
        [[maybe_unused]] const auto W = ::write(Pipe[1], &Per, sizeof(Per));
        ::_exit(0);
    }
    ::close(Pipe[1]);
    double Per = -1;
    if (::read(Pipe[0], &Per, sizeof(Per)) != sizeof(Per))
        Per = -1;
    ::close(Pipe[0]);
    ::waitpid(Pid, nullptr, 0);
    return Per;
}

void BM_OpenPeak(benchmark::State& State)
{
    const TShape& Shape = Shapes[State.range(0)];
    State.SetLabel(Shape.Name);
    const QString File =
        QDir::temp().filePath(QStringLiteral("dw_bench_memory_%1.lcd").arg(QCoreApplication::applicationPid()));
    qint64 Size = 0;
    {
        const QByteArray Bytes = Shape.Make();
        Size = Bytes.size();
        QFile F(File);
        if (!F.open(QIODevice::WriteOnly) || F.write(Bytes) != Size)
            State.SkipWithError("cannot write the file");
    }
    double Per = 0;
    for (auto _ : State)
        Per = PeakPerByte(File, Size);
    QFile::remove(File);
    State.counters["peak_per_byte"] = Per;
}

} // namespace

BENCHMARK(BM_OpenPeak)->DenseRange(0, int(std::size(Shapes)) - 1)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
