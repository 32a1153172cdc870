// Arbitrary bytes as a ".lcd" file: the load either succeeds with a whole font
// or fails and leaves the font untouched; a loaded font saves again.
#include "CharClasses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString WorkFile(const char* Suffix)
{
    // Memory-backed when possible: every save ends with a sync to disk.
    const QDir Dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    return Dir.filePath(
        QStringLiteral("dw_fuzz_%1_%2.lcd").arg(QCoreApplication::applicationPid()).arg(Suffix));
}

void RemoveWorkFiles()
{
    QFile::remove(WorkFile("in"));
    QFile::remove(WorkFile("out"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::atexit(RemoveWorkFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const QString In = WorkFile("in");
    static const QString Out = WorkFile("out");
    {
        QFile F(In);
        if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        F.write(reinterpret_cast<const char*>(Data), qint64(Size));
    }
    TGLCDFont Font(QStringLiteral("before"));
    QString Error;
    if (!Font.LoadFromFile(In, &Error)) {
        // A failed load changes nothing.
        if (Font.FontName != QStringLiteral("before") || !Font.FileName.isEmpty() ||
            Font.GetChar(0) || Error.isEmpty() || Error.contains(u'\n'))
            std::abort();
        return 0;
    }
    for (int Code = Font.RangeFrom; Code <= Font.RangeTo; ++Code) {
        const TCharClass* C = Font.GetChar(Code);
        if (!C || C->Code != Code || C->Width != Font.GetWidth() || C->Height != Font.GetHeight())
            std::abort();
    }
    if (!Font.SaveToFile(Out, &Error))
        std::abort();
    TGLCDFont Back(QString{});
    if (!Back.LoadFromFile(Out, &Error) || Back.RangeFrom != Font.RangeFrom ||
        Back.RangeTo != Font.RangeTo)
        std::abort();
    for (int Code = Font.RangeFrom; Code <= Font.RangeTo; ++Code)
        if (Back.GetChar(Code)->Cells != Font.GetChar(Code)->Cells)
            std::abort();
    return 0;
}
