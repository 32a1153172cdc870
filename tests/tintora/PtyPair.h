#pragma once
// A fake device for the serial tests: socat joins two ptys in a temporary
// folder; the program opens HostPath, the test plays the device on DevicePath.
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class TPtyPair {
public:
    TPtyPair() = default;
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    ~TPtyPair()
    {
        if (FDevice >= 0)
            ::close(FDevice);
        if (FSocat.state() != QProcess::NotRunning) {
            FSocat.terminate();
            if (!FSocat.waitForFinished(3000)) {
                FSocat.kill();
                FSocat.waitForFinished(3000);
            }
        }
    }

    // Empty on success, else what went wrong.
    QString Start()
    {
        if (QStringLiteral(SOCAT_EXE).isEmpty())
            return QStringLiteral("socat not found; scripts/install-deps.sh installs it");
        if (!FDir.isValid())
            return QStringLiteral("no temporary folder");
        HostPath = FDir.filePath(QStringLiteral("host"));
        DevicePath = FDir.filePath(QStringLiteral("device"));
        FSocat.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FSocat.start(QStringLiteral(SOCAT_EXE),
                     {QStringLiteral("pty,raw,echo=0,link=") + HostPath,
                      QStringLiteral("pty,raw,echo=0,link=") + DevicePath});
        if (!FSocat.waitForStarted(5000))
            return QStringLiteral("socat did not start");
        QDeadlineTimer Deadline(5000);
        while (!(QFileInfo(HostPath).isSymLink() && QFileInfo(DevicePath).isSymLink())) {
            if (Deadline.hasExpired() || FSocat.state() == QProcess::NotRunning)
                return QStringLiteral("socat made no pty pair");
            QTest::qWait(10);
        }
        FDevice = ::open(DevicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (FDevice < 0)
            return QStringLiteral("cannot open the device end");
        return {};
    }

    // Reads from the device end until Count bytes came or TimeoutMs passed,
    // keeping the event loop of this process running meanwhile.
    QByteArray DeviceRead(int Count, int TimeoutMs = 5000)
    {
        QByteArray Got;
        QDeadlineTimer Deadline(TimeoutMs);
        while (Got.size() < Count) {
            char Buffer[256];
            const auto N = ::read(FDevice, Buffer, sizeof Buffer);
            if (N > 0)
                Got.append(Buffer, int(N));
            else if (Deadline.hasExpired())
                break;
            else
                QTest::qWait(5);
        }
        return Got;
    }

    bool DeviceWrite(const QByteArray& Bytes)
    {
        return ::write(FDevice, Bytes.constData(), Bytes.size()) == Bytes.size();
    }

    QString HostPath;
    QString DevicePath;

private:
    QTemporaryDir FDir;
    QProcess FSocat;
    int FDevice = -1;
};
