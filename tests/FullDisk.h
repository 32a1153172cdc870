#pragma once
// A full disk without root: under a file size limit, with SIGXFSZ ignored (as
// the programs' own main() does; the tests run without it), a write past the
// limit fails with "File too large" instead of killing the process. And cases
// run in a child process, as an ordinary user where permissions matter, so
// that they run under CI's root too and a case that hangs ends.
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
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

// A scratch folder under /tmp that the ordinary user owns, so that a child
// running as that user reaches it (a root-owned 0700 folder it could not).
struct TUserDir : QTemporaryDir {
    TUserDir() : QTemporaryDir(QStringLiteral("/tmp/dw-test-XXXXXX")) { GiveToUser(path()); }
    static void GiveToUser(const QString& Path)
    {
        if (::getuid() == 0) {
            [[maybe_unused]] const int R = ::lchown(QFile::encodeName(Path).constData(), OrdinaryUser, OrdinaryUser);
        }
    }
};

// Runs Case in a forked child and returns the bytes it returned. The child
// becomes the ordinary user first when AsUser and it runs as root, and may
// write at most FileSizeLimit bytes into any file (-1: no limit). A child that
// takes longer than Seconds (a hang) or ends otherwise gives "<...>".
template <class TCase> QByteArray InChild(bool AsUser, qint64 FileSizeLimit, TCase Case, unsigned Seconds = 20)
{
    int Pipe[2];
    std::fflush(nullptr);
    const pid_t Pid = ::pipe(Pipe) == 0 ? ::fork() : -1;
    if (Pid == 0) {
        ::alarm(Seconds);
        const rlimit Limit{rlim_t(FileSizeLimit), RLIM_INFINITY};
        std::signal(SIGXFSZ, SIG_IGN);
        if ((AsUser && ::getuid() == 0 &&
             (::setgroups(0, nullptr) != 0 || ::setgid(OrdinaryUser) != 0 || ::setuid(OrdinaryUser) != 0)) ||
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
    if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
        return "<child ended: status " + QByteArray::number(Status) + '>';
    return Out;
}

// Whether the running process Pid ignores SIGXFSZ (what its own main() does),
// waiting up to Ms for it to get that far.
inline bool IgnoresFileSizeSignal(qint64 Pid, int Ms = 10000)
{
    QElapsedTimer T;
    for (T.start(); T.elapsed() < Ms; QThread::msleep(20)) {
        QFile Status(QStringLiteral("/proc/%1/status").arg(Pid));
        if (!Status.open(QIODevice::ReadOnly))
            return false;
        const QByteArray All = Status.readAll();
        const qsizetype At = All.indexOf("SigIgn:");
        if (At >= 0 && (All.mid(At + 7, 17).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1)
            return true;
    }
    return false;
}
