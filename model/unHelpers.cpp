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
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
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

namespace {

// The system's text for an errno value ("No space left on device").
QString SystemError(int Errno) { return QString::fromLocal8Bit(std::strerror(Errno)); }

// Where Path leads once every symbolic link on its end is followed (Info
// then holds its lstat, st_mode 0 when it does not exist yet). Nullopt when
// it leads to something other than a regular file (Error 0), or cannot be
// followed (Error: why).
std::optional<QByteArray> FollowLinks(QByteArray Path, QT_STATBUF& Info, int& Error)
{
    Error = 0;
    for (int Links = 0; Links <= 40; ++Links) {
        if (QT_LSTAT(Path.constData(), &Info) != 0) {
            Info.st_mode = 0; // missing (or unreachable): the write says why
            return Path;
        }
        if (S_ISREG(Info.st_mode))
            return Path;
        if (!S_ISLNK(Info.st_mode))
            return std::nullopt;
        QByteArray Target(PATH_MAX, Qt::Uninitialized);
        const ssize_t Size = ::readlink(Path.constData(), Target.data(), size_t(Target.size()));
        if (Size < 0) {
            Error = errno;
            return std::nullopt;
        }
        Target.truncate(Size);
        // A relative link is relative to its own folder.
        if (!Target.startsWith('/'))
            Target.prepend(Path.left(Path.lastIndexOf('/') + 1));
        Path = Target;
    }
    Error = ELOOP;
    return std::nullopt;
}

// Writes all of Bytes at Offset, retrying what a signal or a short write cut;
// 0 or the errno of the failure.
int WriteAll(int Fd, const QByteArray& Bytes, qint64 Offset)
{
    const char* Data = Bytes.constData();
    qint64 Left = Bytes.size();
    while (Left > 0) {
        const ssize_t Done = Offset < 0 ? ::write(Fd, Data, size_t(Left)) : ::pwrite(Fd, Data, size_t(Left), Offset);
        if (Done > 0) {
            Data += Done;
            Left -= Done;
            if (Offset >= 0)
                Offset += Done;
        } else if (Done == 0 || errno != EINTR) {
            return Done == 0 ? EIO : errno;
        }
    }
    return 0;
}

// A new file beside the target, with a name short enough for any folder that
// holds a name of the longest kind (".dw-" and 6 letters). Mode as open()
// takes it (the umask applies). The descriptor, or -1 with errno set.
int CreateTemporary(const QByteArray& Folder, mode_t Mode, QByteArray& Name)
{
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int Try = 0; Try < 100; ++Try) {
        Name = Folder + "/.dw-";
        for (int I = 0; I < 6; ++I)
            Name += Letters[QRandomGenerator::global()->bounded(int(sizeof(Letters) - 1))];
        const int Fd = QT_OPEN(Name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Mode);
        if (Fd >= 0 || errno != EEXIST)
            return Fd;
    }
    return -1;
}

// Syncs the folder, so that a rename in it outlasts a power cut. A folder the
// user may not open for reading cannot be synced, and a file system that
// cannot sync folders says EINVAL: neither is a failure of the write.
int SyncFolder(const QByteArray& Folder)
{
    const int Fd = QT_OPEN(Folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd < 0)
        return 0;
    const int Error = ::fsync(Fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(Fd);
    return Error;
}

// The old file rewritten where it stands, for a folder in which no new file
// may be made. Nothing of it changes until the room for the new bytes is
// reserved, so a full disk or a size limit fails first; only a crash while
// the bytes go out can leave it part old, part new.
int WriteInPlace(const QByteArray& Path, const QByteArray& Bytes)
{
    // A file size limit stops a write below the old end of the file too,
    // where no reservation is needed: it is checked first.
    rlimit Limit{};
    if (::getrlimit(RLIMIT_FSIZE, &Limit) == 0 && Limit.rlim_cur != RLIM_INFINITY &&
        rlim_t(Bytes.size()) > Limit.rlim_cur)
        return EFBIG;
    // Read access lets the C library reserve by hand where the file system cannot.
    int Fd = QT_OPEN(Path.constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (Fd < 0 && errno == EACCES)
        Fd = QT_OPEN(Path.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd < 0)
        return errno;
    QT_STATBUF Info;
    int Error = QT_FSTAT(Fd, &Info) != 0 ? errno : S_ISREG(Info.st_mode) ? 0 : EINVAL;
    if (!Error && !Bytes.isEmpty()) {
        Error = ::posix_fallocate(Fd, 0, Bytes.size());
        // A reservation that ran out of room half-way can leave the file longer
        // (ext4, or the C library's own reservation): the old length comes back.
        QT_STATBUF Now;
        if (Error && QT_FSTAT(Fd, &Now) == 0 && Now.st_size != Info.st_size) {
            [[maybe_unused]] const int Cut = QT_FTRUNCATE(Fd, Info.st_size);
        }
    }
    if (!Error)
        Error = WriteAll(Fd, Bytes, 0);
    if (!Error && QT_FTRUNCATE(Fd, Bytes.size()) != 0)
        Error = errno;
    if (!Error && ::fsync(Fd) != 0)
        Error = errno;
    if (::close(Fd) != 0 && !Error)
        Error = errno;
    return Error;
}

} // namespace

QString NotARegularFile(const QString& FileName)
{
    return QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(FileName));
}

QString RegularFileTarget(const QString& FileName, QString* ErrorText)
{
    QT_STATBUF Info;
    int Error = 0;
    if (const auto Path = FollowLinks(QFile::encodeName(FileName), Info, Error))
        return QFile::decodeName(*Path);
    if (ErrorText)
        *ErrorText = Error ? SystemError(Error) : NotARegularFile(FileName);
    return QString();
}

bool WriteWholeFile(const QString& FileName, const QByteArray& Bytes, QString* ErrorText)
{
    auto Fail = [ErrorText](const QString& Why) {
        if (ErrorText)
            *ErrorText = Why;
        return false;
    };
    if (FileName.isEmpty())
        return Fail(QStringLiteral("No file name"));
    // A link is written through and stays a link. A pipe or a device is never
    // replaced by a regular file (and a pipe with no reader would wait for ever).
    QT_STATBUF Old;
    int Error = 0;
    const std::optional<QByteArray> Found = FollowLinks(QFile::encodeName(FileName), Old, Error);
    if (!Found)
        return Fail(Error ? SystemError(Error) : NotARegularFile(FileName));
    const QByteArray& Path = *Found;
    const bool Exists = S_ISREG(Old.st_mode);
    // A file the user made read-only is not replaced behind that.
    if (Exists && ::access(Path.constData(), W_OK) != 0)
        return Fail(SystemError(errno));
    const qsizetype Slash = Path.lastIndexOf('/');
    const QByteArray Folder = Slash < 0 ? QByteArray(".") : Slash == 0 ? QByteArray("/") : Path.left(Slash);

    QByteArray Temporary;
    // The new file starts private and takes the old one's owner and mode.
    const int Fd = CreateTemporary(Folder, Exists ? 0600 : 0666, Temporary);
    if (Fd < 0) {
        Error = errno;
        // A folder the user may not write to, holding a file the user may.
        if (Exists && (Error == EACCES || Error == EPERM || Error == EROFS))
            Error = WriteInPlace(Path, Bytes);
        return Error ? Fail(SystemError(Error)) : true;
    }
    if (Exists) {
        // Root gives the owner back; anyone else may still give back a group
        // of theirs, which keeps the file writable for the others in it.
        if (::fchown(Fd, Old.st_uid, Old.st_gid) != 0) {
            [[maybe_unused]] const int Grouped = ::fchown(Fd, uid_t(-1), Old.st_gid);
        }
        if (::fchmod(Fd, Old.st_mode & 07777) != 0)
            Error = errno;
    }
    if (!Error)
        Error = WriteAll(Fd, Bytes, -1);
    if (!Error && ::fsync(Fd) != 0)
        Error = errno;
    if (::close(Fd) != 0 && !Error)
        Error = errno;
    if (!Error && ::rename(Temporary.constData(), Path.constData()) != 0) {
        Error = errno;
        // A sticky folder (/tmp) keeps another user's file from being replaced.
        if (Exists && (Error == EPERM || Error == EACCES)) {
            ::unlink(Temporary.constData());
            Error = WriteInPlace(Path, Bytes);
            return Error ? Fail(SystemError(Error)) : true;
        }
    }
    if (Error) {
        ::unlink(Temporary.constData());
        return Fail(SystemError(Error));
    }
    if ((Error = SyncFolder(Folder)) != 0)
        return Fail(SystemError(Error));
    return true;
}

namespace {

std::function<qint64()> MemorySource;

qint64 SystemAvailableMemory()
{
    QFile Info(QStringLiteral("/proc/meminfo"));
    if (!Info.open(QIODevice::ReadOnly))
        return -1;
    // "MemAvailable:   20254868 kB"
    for (const QByteArray& Line : Info.readAll().split('\n'))
        if (Line.startsWith("MemAvailable:")) {
            bool Ok = false;
            const qint64 KiB = Line.mid(13).trimmed().split(' ').constFirst().toLongLong(&Ok);
            return Ok ? KiB * 1024 : -1;
        }
    return -1;
}

} // namespace

qint64 AvailableMemory() { return MemorySource ? MemorySource() : SystemAvailableMemory(); }

void SetAvailableMemorySource(std::function<qint64()> Source) { MemorySource = std::move(Source); }
