#pragma once
// A full disk without root: under a file size limit, with SIGXFSZ ignored, a
// write past the limit fails with "File too large" instead of killing the process.
#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

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
