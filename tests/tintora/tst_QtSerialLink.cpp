// The real serial link, on a socat pty pair standing in for the device.
#include <QSerialPort>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PtyPair.h"
#include "QtSerialLink.h"

using TOpenResult = TSerialLink::TOpenResult;

class tst_QtSerialLink : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void portNames();
    void settings_data();
    void settings();
    void missingPort();
    void busyPort();
    void deniedPortIsNotInUse();
    void talksToDevice();
};

void tst_QtSerialLink::cleanup()
{
    qunsetenv("TINTORA_COM1");
    qunsetenv("TINTORA_COM2");
}

void tst_QtSerialLink::portNames()
{
    qunsetenv("TINTORA_COM1");
    qunsetenv("TINTORA_COM2");
    QCOMPARE(TQtSerialLink::PortName(1), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(TQtSerialLink::PortName(2), QStringLiteral("/dev/ttyS1"));
    qputenv("TINTORA_COM2", "/dev/ttyUSB0");
    QCOMPARE(TQtSerialLink::PortName(1), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(TQtSerialLink::PortName(2), QStringLiteral("/dev/ttyUSB0"));
    qputenv("TINTORA_COM1", "/tmp/pty a");
    QCOMPARE(TQtSerialLink::PortName(1), QStringLiteral("/tmp/pty a"));
}

void tst_QtSerialLink::settings_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<bool>("Ok");
    QTest::addColumn<int>("Baud");
    QTest::addColumn<QSerialPort::Parity>("Parity");
    QTest::addColumn<QSerialPort::DataBits>("DataBits");
    QTest::addColumn<QSerialPort::StopBits>("StopBits");

    const auto N = QSerialPort::NoParity;
    const auto D8 = QSerialPort::Data8;
    const auto S1 = QSerialPort::OneStop;
    QTest::newRow("the tester's") << "9600,n,8,1" << true << 9600 << N << D8 << S1;
    QTest::newRow("even, 7, 2") << "19200,E,7,2" << true << 19200 << QSerialPort::EvenParity << QSerialPort::Data7
                                << QSerialPort::TwoStop;
    QTest::newRow("odd, 5, 1.5") << "1200,o,5,1.5" << true << 1200 << QSerialPort::OddParity << QSerialPort::Data5
                                 << QSerialPort::OneAndHalfStop;
    // A bad text changes nothing.
    QTest::newRow("empty") << "" << false << 9600 << N << D8 << S1;
    QTest::newRow("three fields") << "9600,n,8" << false << 9600 << N << D8 << S1;
    QTest::newRow("bad baud") << "fast,e,7,2" << false << 9600 << N << D8 << S1;
    QTest::newRow("bad parity") << "4800,q,7,2" << false << 9600 << N << D8 << S1;
    QTest::newRow("bad data bits") << "4800,e,9,2" << false << 9600 << N << D8 << S1;
    QTest::newRow("bad stop bits") << "4800,e,7,3" << false << 9600 << N << D8 << S1;
}

void tst_QtSerialLink::settings()
{
    QFETCH(QString, Text);
    QFETCH(bool, Ok);
    QFETCH(int, Baud);
    QFETCH(QSerialPort::Parity, Parity);
    QFETCH(QSerialPort::DataBits, DataBits);
    QFETCH(QSerialPort::StopBits, StopBits);

    TQtSerialLink Link;
    QCOMPARE(Link.SetSettings(Text), Ok);
    QCOMPARE(Link.Port().baudRate(), Baud);
    QCOMPARE(Link.Port().parity(), Parity);
    QCOMPARE(Link.Port().dataBits(), DataBits);
    QCOMPARE(Link.Port().stopBits(), StopBits);
    QCOMPARE(Link.Port().flowControl(), QSerialPort::NoFlowControl);
}

void tst_QtSerialLink::missingPort()
{
    QTemporaryDir Dir;
    qputenv("TINTORA_COM1", Dir.filePath(QStringLiteral("nothing")).toLocal8Bit());
    TQtSerialLink Link;
    QCOMPARE(Link.Open(1), TOpenResult::Failed);
    QVERIFY(!Link.IsOpen());
    Link.Output("20\x0A");
    QCOMPARE(Link.Input(), QByteArray());
    Link.Close();
}

void tst_QtSerialLink::busyPort()
{
    TPtyPair Pty;
    const QString Error = Pty.Start();
    QVERIFY2(Error.isEmpty(), qPrintable(Error));
    qputenv("TINTORA_COM2", Pty.HostPath.toLocal8Bit());

    QSerialPort Other(Pty.HostPath);
    QVERIFY(Other.open(QIODevice::ReadWrite));
    TQtSerialLink Link;
    QCOMPARE(Link.Open(2), TOpenResult::InUse);
    QVERIFY(!Link.IsOpen());
    Other.close();
    QCOMPARE(Link.Open(2), TOpenResult::Opened);
    QVERIFY(Link.IsOpen());
    // Now the link holds it.
    QVERIFY(!Other.open(QIODevice::ReadWrite));
    Link.Close();
    QVERIFY(!Link.IsOpen());
    QVERIFY(Other.open(QIODevice::ReadWrite));
}

// A user without access to the device (not in the serial group) gets a
// permission error too; that is a port failing to open, not one in use.
void tst_QtSerialLink::deniedPortIsNotInUse()
{
    TPtyPair Pty;
    const QString Error = Pty.Start();
    QVERIFY2(Error.isEmpty(), qPrintable(Error));
    qputenv("TINTORA_COM1", Pty.HostPath.toLocal8Bit());
    QVERIFY(::chmod(QFileInfo(Pty.HostPath).symLinkTarget().toLocal8Bit().constData(), 0) == 0);

    // In a child, as an ordinary user when run as root, who bypasses the mode.
    const pid_t Child = ::fork();
    QVERIFY(Child >= 0);
    if (Child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        TQtSerialLink Link;
        const TOpenResult Result = Link.Open(1);
        ::_exit(Link.IsOpen() ? 98 : static_cast<int>(Result));
    }
    int Status = 0;
    QCOMPARE(::waitpid(Child, &Status, 0), Child);
    QVERIFY(WIFEXITED(Status));
    QCOMPARE(WEXITSTATUS(Status), static_cast<int>(TOpenResult::Failed));
}

void tst_QtSerialLink::talksToDevice()
{
    TPtyPair Pty;
    const QString Error = Pty.Start();
    QVERIFY2(Error.isEmpty(), qPrintable(Error));
    qputenv("TINTORA_COM1", Pty.HostPath.toLocal8Bit());

    TQtSerialLink Link;
    QCOMPARE(Link.Open(1), TOpenResult::Opened);
    QVERIFY(Link.SetSettings(QStringLiteral("9600,n,8,1")));
    QCOMPARE(Link.Port().baudRate(), 9600);
    const QByteArray AllBytes = [] {
        QByteArray B;
        for (int I = 0; I < 256; ++I)
            B += char(I);
        return B;
    }();
    Link.Output(AllBytes);
    QCOMPARE(Pty.DeviceRead(256), AllBytes);

    QVERIFY(Pty.DeviceWrite("3"));
    QVERIFY(Pty.DeviceWrite("14"));
    QByteArray Received;
    QTRY_COMPARE((Received += Link.Input()), QByteArray("314"));
    QCOMPARE(Link.Input(), QByteArray());
}

QTEST_MAIN(tst_QtSerialLink)
#include "tst_QtSerialLink.moc"
