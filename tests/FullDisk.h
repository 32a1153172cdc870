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
    if (::pipe(Pipe) != 0)
        return "<no pipe>";
    std::fflush(nullptr);
    const pid_t Pid = ::fork();
    if (Pid < 0)
        return "<no fork>";
    if (Pid == 0) {
        ::close(Pipe[0]);
        ::alarm(Seconds);
        if (AsUser && ::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(OrdinaryUser) != 0 || ::setuid(OrdinaryUser) != 0))
            ::_exit(3);
        if (FileSizeLimit >= 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit Limit{rlim_t(FileSizeLimit), RLIM_INFINITY};
            if (::setrlimit(RLIMIT_FSIZE, &Limit) != 0)
                ::_exit(4);
        }
        const QByteArray Out = Case();
        for (qsizetype Done = 0; Done < Out.size();) {
            const ssize_t N = ::write(Pipe[1], Out.constData() + Done, size_t(Out.size() - Done));
            if (N <= 0)
                ::_exit(5);
            Done += N;
        }
        ::_exit(0); // no exit handlers: they belong to the parent
    }
    ::close(Pipe[1]);
    QByteArray Out;
    char Buffer[4096];
    for (ssize_t N; (N = ::read(Pipe[0], Buffer, sizeof(Buffer))) != 0;)
        if (N > 0)
            Out.append(Buffer, N);
        else if (errno != EINTR)
            break;
    ::close(Pipe[0]);
    int Status = 0;
    while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(Status))
        return "<child ended by signal " + QByteArray::number(WTERMSIG(Status)) + '>';
    if (WEXITSTATUS(Status) != 0)
        return "<child exit " + QByteArray::number(WEXITSTATUS(Status)) + '>';
    return Out;
}

// Whether the running process Pid ignores SIGXFSZ, waiting up to Ms for it
// to get that far; what its own main() does.
inline bool IgnoresFileSizeSignal(qint64 Pid, int Ms = 10000)
{
    for (QElapsedTimer T; !T.isValid() || T.elapsed() < Ms; QThread::msleep(20)) {
        if (!T.isValid())
            T.start();
        QFile Status(QStringLiteral("/proc/%1/status").arg(Pid));
        if (!Status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& Line : Status.readAll().split('\n'))
            if (Line.startsWith("SigIgn:") && (Line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1)
                return true;
    }
    return false;
}
