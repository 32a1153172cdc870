#pragma once
// A full disk without root: under a file size limit, with SIGXFSZ ignored, a
// write past the limit fails with "File too large" instead of killing the process.
#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

// The reason a write past the limit gives.
struct TFileSizeLimit { static QString Reason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); } };

inline QByteArray FileBytes(const QString& Name)
{
    QFile F(Name);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

// Save(Target) once into a probe file to learn the whole file, then onto Name,
// which holds "old", with Percent of the whole file fitting. The size of the
// whole file when Name then holds it whole (Percent 100) or holds "old" still; -1 otherwise.
template <class TSave> qint64 SaveOntoFullDisk(const QString& Name, int Percent, TSave Save)
{
    const QString Probe = QFileInfo(Name).dir().filePath(QStringLiteral("probe-") + QFileInfo(Name).fileName());
    Save(Probe);
    const QByteArray Whole = FileBytes(Probe);
    if (QFile Old(Name); !Old.open(QIODevice::WriteOnly) || Old.write("old") != 3)
        return -1;
    rlimit Was{};
    getrlimit(RLIMIT_FSIZE, &Was);
    const rlimit Full{rlim_t(Whole.size() * Percent / 100), Was.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &Full);
    Save(Name);
    setrlimit(RLIMIT_FSIZE, &Was);
    return FileBytes(Name) == (Percent == 100 ? Whole : QByteArray("old")) ? Whole.size() : -1;
}

// The unprivileged user a child becomes when the tests run as root.
constexpr uid_t OrdinaryUser = 65534;
constexpr gid_t OrdinaryUsersOtherGroup = 4242; // beside the user's own, as a team's shared group

// A scratch folder the ordinary user owns, where a child running as that user reaches it.
struct TUserDir : QTemporaryDir {
    TUserDir()
    {
        if (::getuid() == 0 && ::chown(QFile::encodeName(path()).constData(), OrdinaryUser, OrdinaryUser) != 0)
            qWarning("the scratch folder stays root's");
    }
};

// Path made a "file" holding Bytes with Mode (the ordinary user's), a "folder", "pipe", "device" (the test's own
// node where it may, so that a fault cannot replace the system's), or a "link to a" one of them (Path.real).
inline bool MakeKind(const QString& Path, const QString& Kind, const QByteArray& Bytes = {}, mode_t Mode = 0640)
{
    const bool Link = Kind.startsWith(QStringLiteral("link to a "));
    const QString Made = Link ? Path + QStringLiteral(".real") : Path, What = Kind.section(u' ', -1);
    const QByteArray M = QFile::encodeName(Made);
    QFile F(Made);
    const bool Ok = What == "folder" ? ::mkdir(M.constData(), 0755) == 0
                    : What == "pipe" ? ::mkfifo(M.constData(), 0644) == 0
                    : What == "device"
                        ? ::mknod(M.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 || QFile::link("/dev/null", Made)
                        : What == "file" && F.open(QIODevice::WriteOnly) && F.write(Bytes) == Bytes.size() && F.flush() &&
                              ::fchmod(F.handle(), Mode) == 0 &&
                              (::getuid() != 0 || ::fchown(F.handle(), OrdinaryUser, OrdinaryUser) == 0);
    return Ok && (!Link || QFile::link(QFileInfo(Made).fileName(), Path)); // relative to its folder
}

// Every name in Folder, hidden ones too.
inline QStringList Entries(const QString& Folder)
{
    return QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The bytes Case returns in a forked child (as the ordinary user when AsUser), which may write FileSizeLimit
// bytes to a file (-1: any) and ignores SIGXFSZ as the programs do; "<...>" if it ends otherwise or hangs 20 s.
template <class TCase> QByteArray InChild(bool AsUser, qint64 FileSizeLimit, TCase Case)
{
    int Pipe[2];
    const pid_t Pid = ::pipe(Pipe) == 0 ? ::fork() : -1;
    if (Pid == 0) {
        ::alarm(20);
        const rlimit Limit{rlim_t(FileSizeLimit), RLIM_INFINITY};
        std::signal(SIGXFSZ, SIG_IGN);
        if ((AsUser && ::getuid() == 0 && (::setgroups(1, &OrdinaryUsersOtherGroup) || ::setgid(OrdinaryUser) || ::setuid(OrdinaryUser))) ||
            (FileSizeLimit >= 0 && ::setrlimit(RLIMIT_FSIZE, &Limit) != 0))
            ::_exit(3);
        const QByteArray Out = Case(); // small: one write
        ::_exit(::write(Pipe[1], Out.constData(), size_t(Out.size())) == Out.size() ? 0 : 4); // no exit handlers
    }
    if (Pid < 0)
        return "<no child>";
    ::close(Pipe[1]);
    QFile From;
    const QByteArray Out = From.open(Pipe[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? From.readAll() : "";
    int Status = 0;
    while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0 ? Out : "<child ended: " + QByteArray::number(Status) + '>';
}

// Whether the running process Pid ignores SIGXFSZ, as both programs' main() does.
inline bool IgnoresFileSizeSignal(qint64 Pid)
{
    QFile Status(QStringLiteral("/proc/%1/status").arg(Pid));
    const QByteArray All = Status.open(QIODevice::ReadOnly) ? Status.readAll() : QByteArray();
    const qsizetype At = All.indexOf("SigIgn:");
    return At >= 0 && (All.mid(At + 7, 17).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1;
}
