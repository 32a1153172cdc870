#include "unHelpers.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <qplatformdefs.h>

QString PadRight(const QString& S, int Len, QChar Ch)
{
    if (S.size() >= Len)
        return S;
    return S + QString(Len - S.size(), Ch);
}

QString RepeatString(const QString& S, int N)
{
    return N > 0 ? S.repeated(N) : QString();
}

QString SpacesToUnderscores(const QString& S)
{
    QString R = S;
    R.replace(QChar(' '), QChar('_'));
    return R;
}

QString TrimControls(const QString& S)
{
    qsizetype Start = 0, End = S.size();
    while (Start < End && S[Start].unicode() <= 32)
        ++Start;
    while (End > Start && S[End - 1].unicode() <= 32)
        --End;
    return S.mid(Start, End - Start);
}

QString RemoveControls(const QString& S)
{
    QString R = S;
    R.removeIf([](QChar C) { return C.unicode() < 32; });
    return R;
}

QString ElidedText(const QString& S, qsizetype MaxLength)
{
    if (S.size() <= MaxLength)
        return S;
    qsizetype Head = std::max<qsizetype>(0, MaxLength - 1) / 2;
    qsizetype Tail = std::max<qsizetype>(0, MaxLength - 1 - Head);
    if (Head > 0 && S[Head - 1].isHighSurrogate())
        --Head;
    if (Tail > 0 && S[S.size() - Tail].isLowSurrogate())
        --Tail;
    return S.left(Head) + QChar(0x2026) + S.right(Tail);
}

QString PrefixedHex(int Value, const QString& Prefix)
{
    const auto U = static_cast<std::uint32_t>(Value);
    QString Digits = QString::number(U, 16).toUpper();
    if (Digits.size() < 2)
        Digits.prepend('0');
    return Prefix + Digits;
}

QString IntToBin(int Value, int Digits)
{
    if (Digits <= 0)
        return QString();
    QString R(Digits, QChar('0'));
    if (Value < 1)
        return R;
    auto V = static_cast<std::uint32_t>(Value);
    for (int P = Digits - 1; P >= 0 && V > 0; --P, V >>= 1)
        if (V & 1u)
            R[P] = QChar('1');
    return R;
}

int BinToInt(const QString& S)
{
    int Start = 0;
    while (Start < S.size() && S[Start] == QChar('0'))
        ++Start;
    std::uint32_t R = 0;
    for (int I = Start; I < S.size(); ++I)
        R = (R << 1) | (S[I] == QChar('1') ? 1u : 0u);
    return static_cast<int>(R);
}

QString AddTrailingBackslash(const QString& Path)
{
    if (Path.isEmpty() || Path.endsWith(':') || Path.endsWith('\\'))
        return Path;
    return Path + '\\';
}

QString GetUIFontName(const QStringList& InstalledFamilies)
{
    for (const char* Name : {"Segoe UI", "Tahoma", "Arial"})
        if (InstalledFamilies.contains(QString::fromLatin1(Name), Qt::CaseInsensitive))
            return QString::fromLatin1(Name);
    return QStringLiteral("MS Sans Serif");
}

QString GetUIFontName() { return GetUIFontName(QFontDatabase::families()); }

namespace {

// Windows-1252 0x80..0x9F; 0 marks the five codes the code page leaves undefined,
// which map to the C1 control of the same number.
const char16_t Win1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QChar Win1252ToUnicode(unsigned char B)
{
    if (B >= 0x80 && B < 0xA0 && Win1252High[B - 0x80] != 0)
        return QChar(Win1252High[B - 0x80]);
    return QChar(B);
}

} // namespace

QString Win1252Char(int Code) { return QString(Win1252ToUnicode(static_cast<unsigned char>(Code))); }

QString FromWin1252(const QByteArray& Bytes)
{
    QString R;
    R.resize(Bytes.size());
    for (qsizetype I = 0; I < Bytes.size(); ++I)
        R[I] = Win1252ToUnicode(static_cast<unsigned char>(Bytes[I]));
    return R;
}

namespace {

// The byte for U, or -1 when the code page has none.
int Win1252Code(char16_t U)
{
    if (U < 0x80 || (U >= 0xA0 && U < 0x100))
        return U;
    for (int I = 0; I < 32; ++I)
        if (Win1252High[I] == U)
            return 0x80 + I;
    if (U >= 0x80 && U < 0xA0 && Win1252High[U - 0x80] == 0)
        return U;
    return -1;
}

} // namespace

QByteArray ToWin1252(const QString& S)
{
    QByteArray R;
    R.reserve(S.size());
    for (QChar C : S) {
        const int Code = Win1252Code(C.unicode());
        R.append(Code >= 0 ? char(Code) : '?');
    }
    return R;
}

QString FirstNonWin1252(const QString& S)
{
    for (qsizetype I = 0; I < S.size(); ++I)
        if (Win1252Code(S[I].unicode()) < 0)
            return S.mid(I, S[I].isHighSurrogate() && I + 1 < S.size() && S[I + 1].isLowSurrogate() ? 2 : 1);
    return QString();
}

namespace {

// True while process Pid exists and has not ended; a zombie nobody reaps
// counts as ended.
bool ProcessRunning(qint64 Pid)
{
    if (Pid <= 0)
        return false;
    QFile Stat(QStringLiteral("/proc/%1/stat").arg(Pid));
    if (Stat.open(QIODevice::ReadOnly)) {
        // "pid (name) S ...": the state follows the last closing parenthesis.
        const QByteArray Line = Stat.readAll();
        const qsizetype Close = Line.lastIndexOf(')');
        if (Close < 0 || Close + 2 >= Line.size())
            return false;
        const char State = Line[Close + 2];
        return State != 'Z' && State != 'X';
    }
    return ::kill(pid_t(Pid), 0) == 0 || errno == EPERM;
}

// Waits while keeping the window alive. The wait is an event loop of its own
// that polls the process: a nested loop (a modal box opened meanwhile) cannot
// take the process's end away from it, and the application's exit ends every
// running loop, this one included.
void WaitWhileRunning(qint64 Pid)
{
    if (!QCoreApplication::instance()) {
        while (ProcessRunning(Pid))
            QThread::msleep(20);
        return;
    }
    if (!ProcessRunning(Pid) || QCoreApplication::closingDown())
        return;
    QEventLoop Loop;
    QTimer Poll;
    QObject::connect(&Poll, &QTimer::timeout, &Loop, [&] {
        if (!ProcessRunning(Pid) || QCoreApplication::closingDown())
            Loop.quit();
    });
    Poll.start(20);
    Loop.exec();
}

// How long a document's opener is given to say that no program takes the file.
constexpr int OpenerVerdictMs = 1500;

// Hands a document to the desktop's opener. Starting it is not enough to know
// that a program took the file: with no program for the file type, xdg-open
// ends at once with a failure. One that is still running after a moment, or
// ends well, has handed the file over (some run the viewer themselves, so the
// process is left to run on until this program ends).
bool OpenDocument(const QString& File, const QString& Directory)
{
    auto* Opener = new QProcess(QCoreApplication::instance());
    Opener->setProgram(QStringLiteral("xdg-open"));
    Opener->setArguments({File});
    Opener->setWorkingDirectory(Directory);
    Opener->setProcessChannelMode(QProcess::ForwardedChannels);
    Opener->setStandardInputFile(QProcess::nullDevice());
    struct TVerdict { bool Ended = false, Opened = false; };
    auto Verdict = std::make_shared<TVerdict>();
    QObject::connect(Opener, &QProcess::finished, Opener, [Opener, Verdict](int Code, QProcess::ExitStatus Status) {
        Verdict->Ended = true;
        Verdict->Opened = Status == QProcess::NormalExit && Code == 0;
        Opener->deleteLater();
    });
    Opener->start();
    if (!Opener->waitForStarted()) {
        delete Opener;
        return false;
    }
    QEventLoop Loop;
    QTimer Poll;
    QElapsedTimer Since;
    Since.start();
    QObject::connect(&Poll, &QTimer::timeout, &Loop, [&] {
        if (Verdict->Ended || Since.elapsed() >= OpenerVerdictMs || QCoreApplication::closingDown())
            Loop.quit();
    });
    Poll.start(20);
    Loop.exec();
    return !Verdict->Ended || Verdict->Opened;
}

class TDesktopOpener : public TShellOpener {
public:
    bool Open(const QString& FileName, const QString& Params, const QString& Directory,
              bool Wait) override
    {
        if (!Wait) {
            // A relative name is a file of the working folder (the current one
            // when none is given), not a web address.
            const QUrl Url = QUrl::fromUserInput(FileName, Directory.isEmpty() ? QDir::currentPath() : Directory);
            if (Params.isEmpty() && Url.isLocalFile())
                return OpenDocument(Url.toLocalFile(), Directory);
            if (Params.isEmpty() && Url.isValid())
                return QDesktopServices::openUrl(Url);
            return QProcess::startDetached(FileName, QProcess::splitCommand(Params), Directory);
        }
        // Started detached: a program still running when this program ends
        // goes on rather than being killed with it.
        qint64 Pid = 0;
        const bool Started = QFileInfo(FileName).isExecutable()
                                 ? QProcess::startDetached(FileName, QProcess::splitCommand(Params), Directory, &Pid)
                                 : QProcess::startDetached(QStringLiteral("xdg-open"), {FileName}, Directory, &Pid);
        if (!Started)
            return false;
        WaitWhileRunning(Pid);
        return true;
    }
};

TShellOpener* CurrentOpener = nullptr;

} // namespace

void SetShellOpener(TShellOpener* Opener) { CurrentOpener = Opener; }

TShellOpener& DesktopShellOpener()
{
    static TDesktopOpener Desktop;
    return Desktop;
}

bool ShellExecuteAndWait(const QString& FileName, const QString& Params, const QString& Directory,
                         bool Wait, int /*ShowCmd*/)
{
    TShellOpener* Opener = CurrentOpener ? CurrentOpener : &DesktopShellOpener();
    return Opener->Open(FileName, Params, Directory, Wait);
}
