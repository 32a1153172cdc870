// Tintora against a fake device on a socat pty pair: first the real program,
// then the window in this process on the real port, to see closing it close
// the port while the process lives on.
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QSerialPort>
#include <QTest>

#include "Form1.h"
#include "PtyPair.h"
#include "../FullDisk.h"
#include "QtSerialLink.h"

class tst_TintoraAcceptance : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void program();
    void windowOnRealPort();
};

void tst_TintoraAcceptance::cleanup()
{
    qunsetenv("TINTORA_COM1");
    qunsetenv("TINTORA_COM2");
}

// True when nothing else holds the port at Path.
static bool PortFree(const QString& Path)
{
    QSerialPort Probe(Path);
    const bool Free = Probe.open(QIODevice::ReadWrite);
    Probe.close();
    return Free;
}

void tst_TintoraAcceptance::program()
{
    TPtyPair Pty;
    const QString Error = Pty.Start();
    QVERIFY2(Error.isEmpty(), qPrintable(Error));

    QProcess Tintora;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Env.insert(QStringLiteral("TINTORA_COM1"), Pty.HostPath);
    Env.insert(QStringLiteral("TINTORA_COM2"), Pty.HostPath + QStringLiteral(".none"));
    Tintora.setProcessEnvironment(Env);
    Tintora.setProcessChannelMode(QProcess::ForwardedChannels);
    Tintora.start(QStringLiteral(TINTORA_EXE), QStringList());
    QVERIFY(Tintora.waitForStarted(5000));
    auto Stop = qScopeGuard([&] {
        if (Tintora.state() != QProcess::NotRunning) {
            Tintora.kill();
            Tintora.waitForFinished(3000);
        }
    });

    // Start-up: red level 20.
    QCOMPARE(Pty.DeviceRead(3, 10000), QByteArray("20\x0A"));
    QVERIFY(IgnoresFileSizeSignal(Tintora.processId()));
    QVERIFY(!PortFree(Pty.HostPath));

    // The device reports output 2 on; the program ticks it and answers 0x03.
    QVERIFY(Pty.DeviceWrite("3"));
    QCOMPARE(Pty.DeviceRead(1), QByteArray("\x03"));
    // Two reports within one poll both count, in order.
    QVERIFY(Pty.DeviceWrite("14"));
    QCOMPARE(Pty.DeviceRead(2), QByteArray("\x01\x04"));

    // Closing the window closes the port and ends the program normally.
    Tintora.terminate();
    QVERIFY(Tintora.waitForFinished(10000));
    QCOMPARE(Tintora.exitStatus(), QProcess::NormalExit);
    QCOMPARE(Tintora.exitCode(), 0);
    QVERIFY(PortFree(Pty.HostPath));
    QCOMPARE(Pty.DeviceRead(1, 100), QByteArray());
}

void tst_TintoraAcceptance::windowOnRealPort()
{
    TPtyPair Pty;
    const QString Error = Pty.Start();
    QVERIFY2(Error.isEmpty(), qPrintable(Error));
    qputenv("TINTORA_COM1", Pty.HostPath.toLocal8Bit());

    TQtSerialLink Link;
    TForm1 Form(Link);
    QStringList Warnings;
    Form.SetWarningSeam([&](const QString& Text, const QString&) { Warnings << Text; });
    Form.Form_Load();
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
    QCOMPARE(Pty.DeviceRead(3), QByteArray("20\x0A"));

    Form.findChild<QScrollBar*>(QStringLiteral("HScroll2"))->setValue(255);
    QCOMPARE(Pty.DeviceRead(4), QByteArray("255\x0B"));
    QCOMPARE(Form.findChild<QLineEdit*>(QStringLiteral("Text5"))->text(), QStringLiteral("FF14"));

    QCheckBox* Check2 = Form.findChild<QCheckBox*>(QStringLiteral("Check2"));
    QVERIFY(Pty.DeviceWrite("3"));
    QCOMPARE(Pty.DeviceRead(1), QByteArray("\x03"));
    QVERIFY(Check2->isChecked());

    QVERIFY(!PortFree(Pty.HostPath));
    QVERIFY(Form.close());
    QVERIFY(!Link.IsOpen());
    QVERIFY(PortFree(Pty.HostPath));
    QCOMPARE(Warnings, QStringList());
}

QTEST_MAIN(tst_TintoraAcceptance)
#include "tst_TintoraAcceptance.moc"
