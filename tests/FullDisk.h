#pragma once
// A full disk without root: while a TFileSizeLimit lives, a write past Bytes
// fails with "File too large" instead of killing the process.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit Limit{Bytes, FOld.rlim_max};
        setrlimit(RLIMIT_FSIZE, &Limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    // The reason a write past the limit gives.
    static QString Reason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

inline QByteArray FileBytes(const QString& Name)
{
    QFile F(Name);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

// Save(Target) once into a probe file to learn the whole file, then onto
// Name, which holds "old", with Percent of the whole file fitting. The size of
// the whole file when Name then holds it whole (Percent 100) or holds "old"
// still; -1 otherwise.
template <class TSave> qint64 SaveOntoFullDisk(const QString& Name, int Percent, TSave Save)
{
    const QString Probe = QFileInfo(Name).dir().filePath(QStringLiteral("probe-") + QFileInfo(Name).fileName());
    Save(Probe);
    const QByteArray Whole = FileBytes(Probe);
    QFile Old(Name);
    if (!Old.open(QIODevice::WriteOnly) || Old.write("old") != 3)
        return -1;
    Old.close();
    {
        TFileSizeLimit Full(rlim_t(Whole.size() * Percent / 100));
        Save(Name);
    }
    return FileBytes(Name) == (Percent == 100 ? Whole : QByteArray("old")) ? Whole.size() : -1;
}
