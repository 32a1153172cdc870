// The tester window against a scripted port: what goes out, what comes back,
// the port fall-back and its warnings.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

#include "Form1.h"

using TOpenResult = TSerialLink::TOpenResult;

class TFakeLink : public TSerialLink {
public:
    std::map<int, TOpenResult> Results{{1, TOpenResult::Opened}, {2, TOpenResult::Opened}};
    QStringList Log;
    std::map<int, QByteArray> Sent;
    QByteArray Pending; // what the device has sent
    int InputCalls = 0;
    int Port = 0;       // open port, 0 when closed

    bool IsOpen() const override { return Port != 0; }
    TOpenResult Open(int CommPort) override
    {
        Log << QStringLiteral("open %1").arg(CommPort);
        const TOpenResult Result = Results[CommPort];
        Port = Result == TOpenResult::Opened ? CommPort : 0;
        return Result;
    }
    void Close() override
    {
        Log << QStringLiteral("close");
        Port = 0;
    }
    bool SetSettings(const QString& Settings) override
    {
        Log << QStringLiteral("settings ") + Settings;
        return true;
    }
    void Output(const QByteArray& Bytes) override
    {
        if (Port == 0)
            Log << QStringLiteral("output while closed");
        else
            Sent[Port] += Bytes;
    }
    QByteArray Input() override
    {
        if (Port == 0)
            Log << QStringLiteral("input while closed");
        ++InputCalls;
        return std::exchange(Pending, QByteArray());
    }
};

// One window on a fake port, loaded as the program does, warnings recorded.
struct TRig {
    TFakeLink Link;
    std::unique_ptr<TForm1> Form;
    QStringList Warnings;
    std::unique_ptr<QSignalSpy> Ended;

    explicit TRig(TOpenResult Port1 = TOpenResult::Opened, TOpenResult Port2 = TOpenResult::Opened)
    {
        Link.Results = {{1, Port1}, {2, Port2}};
        Form = std::make_unique<TForm1>(Link);
        Form->SetWarningSeam([this](const QString& Text, const QString& Title) {
            Warnings << Title + QStringLiteral(": ") + Text;
        });
        Ended = std::make_unique<QSignalSpy>(Form.get(), &TForm1::ProgramEnded);
        Form->Form_Load();
    }

    template <typename T> T* Get(const char* Name) const
    {
        T* W = Form->findChild<T*>(QString::fromLatin1(Name));
        if (!W)
            qFatal("no control %s", Name);
        return W;
    }
    QString Text(const char* Name) const { return Get<QLineEdit>(Name)->text(); }
    QScrollBar* HScroll(int N) const { return Get<QScrollBar>(QByteArray("HScroll" + QByteArray::number(N)).constData()); }
    QCheckBox* Check(int N) const { return Get<QCheckBox>(N == 1 ? "Check1" : "Check2"); }
    TShape* Lamp(int N) const { return Get<TShape>(N == 1 ? "Shape1" : "Shape2"); }
    QRadioButton* Option(int N) const { return Get<QRadioButton>(N == 1 ? "Option1" : "Option2"); }
    QColor Swatch() const { return Get<QLineEdit>("Text4")->palette().color(QPalette::Base); }
};

class tst_Form1 : public QObject {
    Q_OBJECT
private slots:
    void controls();
    void startWithPort1Free();
    void startFallBack_data();
    void startFallBack();
    void noPortKeepsRunningAndRetries();
    void vanishedPortShowsNoPort();
    void levelChange();
    void dragSendsEveryStepAndTheLastAgain();
    void outputs();
    void reports_data();
    void reports();
    void busyPortLaterFallsBackAfterSuccess();
    void busyPortLaterFallsBackAfterNoPort();
    void typedLevels_data();
    void typedLevels();
    void exitEndsWithoutClosing();
    void closingWindowClosesPort();
    void picture();
};

void tst_Form1::controls()
{
    TRig Rig;
    QCOMPARE(Rig.Form->objectName(), QStringLiteral("Form1"));
    QCOMPARE(Rig.Form->windowTitle(), QStringLiteral("COM PORT"));
    QCOMPARE(Rig.Form->size(), QSize(328, 234)); // 4920 x 3510 twips
    QCOMPARE(Rig.Get<QGroupBox>("Frame1")->title(), QStringLiteral("Device Checker"));
    QCOMPARE(Rig.Check(1)->text(), QStringLiteral("Device 1"));
    QCOMPARE(Rig.Check(2)->text(), QStringLiteral("Device 2"));
    QCOMPARE(Rig.Get<QPushButton>("Command1")->text(), QStringLiteral("Exit"));
    QCOMPARE(Rig.Option(1)->text(), QStringLiteral("COM 1"));
    QCOMPARE(Rig.Option(2)->text(), QStringLiteral("COM 2"));
    QCOMPARE(Rig.Get<QLabel>("Label1")->text(), QStringLiteral("R"));
    QCOMPARE(Rig.Get<QLabel>("Label2")->text(), QStringLiteral("G"));
    QCOMPARE(Rig.Get<QLabel>("Label3")->text(), QStringLiteral("B"));
    for (int N = 1; N <= 3; ++N) {
        QCOMPARE(Rig.HScroll(N)->minimum(), 0);
        QCOMPARE(Rig.HScroll(N)->maximum(), 255);
        QCOMPARE(Rig.HScroll(N)->singleStep(), 1);
        QCOMPARE(Rig.HScroll(N)->pageStep(), 1);
    }
    QCOMPARE(Rig.HScroll(2)->geometry(), QRect(24, 172, 169, 17));
    QCOMPARE(Rig.Lamp(2)->geometry(), QRect(136, 48, 17, 17));
    QCOMPARE(Rig.Lamp(1)->FillColor(), QColor(Qt::black));
    QCOMPARE(Rig.Lamp(2)->FillColor(), QColor(Qt::black));

    // Tab order: the bars, their boxes, hex, swatch, Exit, checks, options.
    const char* Order[] = {"HScroll1", "HScroll2", "HScroll3", "Text1", "Text2", "Text3", "Text5",
                           "Text4", "Command1", "Check1", "Check2", "Option1", "Option2"};
    QWidget* W = Rig.Get<QWidget>(Order[0]);
    for (std::size_t I = 1; I < std::size(Order); ++I) {
        W = W->nextInFocusChain();
        while (W->focusPolicy() == Qt::NoFocus)
            W = W->nextInFocusChain();
        QCOMPARE(W->objectName(), QString::fromLatin1(Order[I]));
    }
}

void tst_Form1::startWithPort1Free()
{
    TRig Rig;
    QCOMPARE(Rig.Link.Log, QStringList({"open 1", "settings 9600,n,8,1"}));
    QCOMPARE(Rig.Link.Sent[1], QByteArray("20\x0A"));
    QVERIFY(Rig.Option(1)->isChecked());
    QVERIFY(!Rig.Option(2)->isChecked());
    QCOMPARE(Rig.Text("Text1"), QStringLiteral("20"));
    QCOMPARE(Rig.Text("Text2"), QStringLiteral("0"));
    QCOMPARE(Rig.Text("Text3"), QStringLiteral("0"));
    QCOMPARE(Rig.Text("Text4"), QString());
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("14"));
    QCOMPARE(Rig.Form->CurrentColor(), 20);
    QCOMPARE(Rig.Swatch(), QColor(20, 0, 0));
    QCOMPARE(Rig.Warnings, QStringList());
    QVERIFY(!Rig.Check(1)->isChecked());
    QVERIFY(!Rig.Check(2)->isChecked());
    // The poll runs and reads the port.
    QTRY_VERIFY(Rig.Link.InputCalls >= 2);
}

void tst_Form1::startFallBack_data()
{
    QTest::addColumn<TOpenResult>("Port1");
    QTest::addColumn<TOpenResult>("Port2");
    QTest::addColumn<QStringList>("Log");
    QTest::addColumn<QStringList>("Warnings");
    QTest::addColumn<bool>("Ended");
    QTest::addColumn<int>("OpenPort");
    QTest::addColumn<int>("Checked"); // option selected, 0 for none

    const QString W1 = QStringLiteral("Warning!: COM1 already in use!");
    const QString W2 = QStringLiteral("Warning!: COM2 already in use!");
    const QString S = QStringLiteral("settings 9600,n,8,1");
    QTest::newRow("port 1 busy, port 2 free")
        << TOpenResult::InUse << TOpenResult::Opened << QStringList{"open 1", "open 2", S, S} << QStringList{W1}
        << false << 2 << 2;
    QTest::newRow("both busy") << TOpenResult::InUse << TOpenResult::InUse << QStringList{"open 1", "open 2"}
                               << QStringList{W1, W2} << true << 0 << 2;
    QTest::newRow("port 1 missing") << TOpenResult::Failed << TOpenResult::Opened << QStringList{"open 1", S}
                                    << QStringList{} << false << 0 << 0;
    QTest::newRow("port 1 busy, port 2 missing")
        << TOpenResult::InUse << TOpenResult::Failed << QStringList{"open 1", "open 2", S, S} << QStringList{W1}
        << false << 0 << 0;
}

void tst_Form1::startFallBack()
{
    QFETCH(TOpenResult, Port1);
    QFETCH(TOpenResult, Port2);
    QFETCH(QStringList, Log);
    QFETCH(QStringList, Warnings);
    QFETCH(bool, Ended);
    QFETCH(int, OpenPort);
    QFETCH(int, Checked);

    TRig Rig(Port1, Port2);
    QCOMPARE(Rig.Link.Log, Log);
    QCOMPARE(Rig.Warnings, Warnings);
    QCOMPARE(Rig.Form->Ended(), Ended);
    QCOMPARE(Rig.Ended->count(), Ended ? 1 : 0);
    QCOMPARE(Rig.Link.Port, OpenPort);
    QCOMPARE(Rig.Option(1)->isChecked(), Checked == 1);
    QCOMPARE(Rig.Option(2)->isChecked(), Checked == 2);
    std::map<int, QByteArray> Sent;
    if (OpenPort)
        Sent[OpenPort] = "20\x0A";
    QCOMPARE(Rig.Link.Sent, Sent);
    // The window is usable after a missing port: the preview still follows.
    if (!Ended)
        QCOMPARE(Rig.Text("Text5"), QStringLiteral("14"));
}

void tst_Form1::noPortKeepsRunningAndRetries()
{
    TRig Rig(TOpenResult::Failed, TOpenResult::Failed);
    Rig.HScroll(2)->setValue(255);
    Rig.Check(1)->click();
    QTest::qWait(150);
    QVERIFY(!Rig.Form->Ended());
    QCOMPARE(Rig.Link.InputCalls, 0);
    QVERIFY(!Rig.Link.Log.contains("output while closed"));
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("FF14"));
    QCOMPARE(Rig.Lamp(1)->FillColor(), QColor(255, 0, 0));

    // Port 2 appears; choosing it opens it and the next movement goes out.
    Rig.Link.Results[2] = TOpenResult::Opened;
    Rig.Option(2)->click();
    QCOMPARE(Rig.Link.Port, 2);
    QVERIFY(Rig.Option(2)->isChecked());
    Rig.HScroll(3)->setValue(7);
    QCOMPARE(Rig.Link.Sent[2], QByteArray("7\x0C"));
    QTRY_VERIFY(Rig.Link.InputCalls > 0);

    // Choosing a missing port closes the open one and selects nothing.
    Rig.Link.Results[1] = TOpenResult::Failed;
    Rig.Option(1)->click();
    QCOMPARE(Rig.Link.Log.mid(Rig.Link.Log.size() - 3),
             QStringList({"close", "open 1", "settings 9600,n,8,1"}));
    QVERIFY(!Rig.Option(1)->isChecked());
    QVERIFY(!Rig.Option(2)->isChecked());
}

void tst_Form1::vanishedPortShowsNoPort()
{
    TRig Rig;
    Rig.Link.Port = 0; // the adapter was pulled; the link closed itself
    QTRY_VERIFY(!Rig.Option(1)->isChecked());
    QVERIFY(!Rig.Option(2)->isChecked());
    Rig.Check(1)->click();
    QTest::qWait(60);
    QVERIFY(!Rig.Form->Ended());
    QCOMPARE(Rig.Link.Sent[1], QByteArray("20\x0A"));
    QVERIFY(!Rig.Link.Log.contains("input while closed"));
}

void tst_Form1::levelChange()
{
    TRig Rig;
    Rig.HScroll(2)->setValue(255);
    QCOMPARE(Rig.Link.Sent[1], QByteArray("20\x0A" "255\x0B"));
    QCOMPARE(Rig.Text("Text2"), QStringLiteral("255"));
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("FF14"));
    QCOMPARE(Rig.Swatch(), QColor(20, 255, 0));

    Rig.HScroll(3)->setValue(255);
    Rig.HScroll(1)->setValue(0);
    QCOMPARE(Rig.Link.Sent[1], QByteArray("20\x0A" "255\x0B" "255\x0C" "0\x0A"));
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("FFFF00"));
    QCOMPARE(Rig.Form->CurrentColor(), 0xFFFF00);

    // The keyboard steps by one.
    Rig.Link.Sent.clear();
    Rig.Form->show();
    QVERIFY(QTest::qWaitForWindowActive(Rig.Form.get()));
    QCOMPARE(QApplication::focusWidget(), Rig.HScroll(1));
    QTest::keyClick(Rig.HScroll(1), Qt::Key_Right);
    QCOMPARE(Rig.Link.Sent[1], QByteArray("1\x0A"));
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("FFFF01"));
}

void tst_Form1::dragSendsEveryStepAndTheLastAgain()
{
    TRig Rig;
    Rig.Link.Sent.clear();
    QScrollBar* Bar = Rig.HScroll(3);
    Bar->setSliderDown(true);
    Bar->setSliderPosition(10);
    QCOMPARE(Rig.Text("Text3"), QStringLiteral("10"));
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("A0014"));
    Bar->setSliderPosition(11);
    Bar->setSliderDown(false);
    QCOMPARE(Rig.Link.Sent[1], QByteArray("10\x0C" "11\x0C" "11\x0C"));
    QCOMPARE(Bar->value(), 11);
}

void tst_Form1::outputs()
{
    TRig Rig;
    Rig.Link.Sent.clear();
    Rig.Check(1)->click();
    QCOMPARE(Rig.Lamp(1)->FillColor(), QColor(255, 0, 0));
    Rig.Check(2)->click();
    QCOMPARE(Rig.Lamp(2)->FillColor(), QColor(255, 0, 0));
    Rig.Check(1)->click();
    QCOMPARE(Rig.Lamp(1)->FillColor(), QColor(Qt::black));
    Rig.Check(2)->click();
    QCOMPARE(Rig.Lamp(2)->FillColor(), QColor(Qt::black));
    QCOMPARE(Rig.Link.Sent[1], QByteArray("\x01\x03\x02\x04"));
}

void tst_Form1::reports_data()
{
    QTest::addColumn<bool>("Check1Before");
    QTest::addColumn<bool>("Check2Before");
    QTest::addColumn<QByteArray>("Received");
    QTest::addColumn<QByteArray>("SentBack");
    QTest::addColumn<bool>("Check1After");
    QTest::addColumn<bool>("Check2After");

    QTest::newRow("3 ticks output 2") << false << false << QByteArray("3") << QByteArray("\x03") << false << true;
    QTest::newRow("1 ticks output 1") << false << false << QByteArray("1") << QByteArray("\x01") << true << false;
    QTest::newRow("2 clears output 1") << true << false << QByteArray("2") << QByteArray("\x02") << false << false;
    QTest::newRow("4 clears output 2") << false << true << QByteArray("4") << QByteArray("\x04") << false << false;
    QTest::newRow("no change sends nothing") << true << false << QByteArray("1") << QByteArray() << true << false;
    QTest::newRow("1 and 4 in one poll") << false << true << QByteArray("14") << QByteArray("\x01\x04") << true << false;
    QTest::newRow("every report in order") << false << false << QByteArray("3412") << QByteArray("\x03\x04\x01\x02")
                                           << false << false;
    QTest::newRow("noise between reports") << false << false << QByteArray(" 0x\r\n9 3") << QByteArray("\x03")
                                           << false << true;
    QTest::newRow("noise only") << true << true << QByteArray("0 5\x01\xff") << QByteArray() << true << true;
}

void tst_Form1::reports()
{
    QFETCH(bool, Check1Before);
    QFETCH(bool, Check2Before);
    QFETCH(QByteArray, Received);
    QFETCH(QByteArray, SentBack);
    QFETCH(bool, Check1After);
    QFETCH(bool, Check2After);

    TRig Rig;
    Rig.Check(1)->setChecked(Check1Before);
    Rig.Check(2)->setChecked(Check2Before);
    Rig.Link.Sent.clear();
    const int Calls = Rig.Link.InputCalls;
    Rig.Link.Pending = Received;
    QTRY_VERIFY(Rig.Link.InputCalls > Calls + 1);
    QCOMPARE(Rig.Link.Sent[1], SentBack);
    QCOMPARE(Rig.Check(1)->isChecked(), Check1After);
    QCOMPARE(Rig.Check(2)->isChecked(), Check2After);
    QCOMPARE(Rig.Lamp(1)->FillColor(), Check1After ? QColor(255, 0, 0) : QColor(Qt::black));
    QCOMPARE(Rig.Lamp(2)->FillColor(), Check2After ? QColor(255, 0, 0) : QColor(Qt::black));
}

void tst_Form1::busyPortLaterFallsBackAfterSuccess()
{
    TRig Rig(TOpenResult::InUse, TOpenResult::Opened);
    QCOMPARE(Rig.Link.Port, 2);
    QCOMPARE(Rig.Form->FailedPort(), 0);

    // Port 1 has become free: the user moves to it.
    Rig.Link.Results[1] = TOpenResult::Opened;
    Rig.Option(1)->click();
    QCOMPARE(Rig.Link.Port, 1);

    // Now port 2 is taken by another program: one warning, back to port 1.
    Rig.Link.Results[2] = TOpenResult::InUse;
    Rig.Link.Log.clear();
    Rig.Option(2)->click();
    QCOMPARE(Rig.Warnings, QStringList({"Warning!: COM1 already in use!", "Warning!: COM2 already in use!"}));
    QVERIFY(!Rig.Form->Ended());
    QCOMPARE(Rig.Link.Port, 1);
    QVERIFY(Rig.Option(1)->isChecked());
    QCOMPARE(Rig.Link.Log, QStringList({"close", "open 2", "open 1", "settings 9600,n,8,1", "settings 9600,n,8,1"}));
    QCOMPARE(Rig.Form->FailedPort(), 0);
}

void tst_Form1::busyPortLaterFallsBackAfterNoPort()
{
    // Port 1 busy and port 2 missing at start: no port at all.
    TRig Rig(TOpenResult::InUse, TOpenResult::Failed);
    QCOMPARE(Rig.Link.Port, 0);

    // Later port 1 is free and port 2 plugged in but taken: choosing port 2
    // warns once and falls back to port 1 instead of ending.
    Rig.Link.Results = {{1, TOpenResult::Opened}, {2, TOpenResult::InUse}};
    Rig.Option(2)->click();
    QCOMPARE(Rig.Warnings, QStringList({"Warning!: COM1 already in use!", "Warning!: COM2 already in use!"}));
    QVERIFY(!Rig.Form->Ended());
    QCOMPARE(Rig.Link.Port, 1);
    QVERIFY(Rig.Option(1)->isChecked());

    // Both taken now: the two warnings of this choice end the program.
    Rig.Link.Results = {{1, TOpenResult::InUse}, {2, TOpenResult::InUse}};
    Rig.Warnings.clear();
    Rig.Option(2)->click();
    QCOMPARE(Rig.Warnings, QStringList({"Warning!: COM2 already in use!", "Warning!: COM1 already in use!"}));
    QVERIFY(Rig.Form->Ended());
}

void tst_Form1::typedLevels_data()
{
    QTest::addColumn<QString>("Box");
    QTest::addColumn<QString>("Typed");
    QTest::addColumn<int>("Bar");    // the bar then moved
    QTest::addColumn<int>("Value");  // to this level
    QTest::addColumn<QString>("Hex"); // red starts at 20, green and blue at 0

    QTest::newRow("blue 16") << "Text3" << "16" << 2 << 1 << "100114";
    QTest::newRow("leading number") << "Text3" << "  7x" << 1 << 21 << "70015";
    QTest::newRow("not a number") << "Text3" << "abc" << 1 << 21 << "15";
    QTest::newRow("empty") << "Text2" << "" << 1 << 21 << "15";
    QTest::newRow("fraction") << "Text3" << "12.5" << 1 << 21 << "C8015";
    QTest::newRow("bare fraction") << "Text3" << ".5" << 1 << 21 << "8015";
    QTest::newRow("exponent") << "Text3" << "1e2" << 1 << 21 << "640015";
    QTest::newRow("255") << "Text3" << "255" << 2 << 255 << "FFFF14";
    QTest::newRow("half rounds to even, down") << "Text1" << "0.5" << 2 << 1 << "100";
    QTest::newRow("half rounds to even, up") << "Text1" << "1.5" << 2 << 1 << "102";
    QTest::newRow("2.5 rounds to 2") << "Text1" << "2.5" << 2 << 1 << "102";
    // Out of 0..255: held to the range.
    QTest::newRow("negative") << "Text3" << "-1" << 1 << 21 << "15";
    QTest::newRow("256") << "Text3" << "256" << 1 << 21 << "FF0015";
    QTest::newRow("overflows 32 bits") << "Text3" << "99999999999" << 1 << 21 << "FF0015";
    QTest::newRow("overflows a double") << "Text2" << "1e400" << 1 << 21 << "FF15";
    QTest::newRow("red overflows") << "Text1" << "4294967296" << 3 << 1 << "100FF";
}

void tst_Form1::typedLevels()
{
    QFETCH(QString, Box);
    QFETCH(QString, Typed);
    QFETCH(int, Bar);
    QFETCH(int, Value);
    QFETCH(QString, Hex);

    TRig Rig;
    Rig.Get<QLineEdit>(Box.toLatin1().constData())->setText(Typed);
    QCOMPARE(Rig.Text("Text5"), QStringLiteral("14")); // read only at the next movement
    Rig.Link.Sent.clear();
    Rig.HScroll(Bar)->setValue(Value);
    QCOMPARE(Rig.Text("Text5"), Hex);
    QCOMPARE(Rig.Form->CurrentColor(), Hex.toInt(nullptr, 16));
    const auto Bgr = static_cast<unsigned>(Rig.Form->CurrentColor());
    QCOMPARE(Rig.Swatch(), QColor(Bgr & 0xFF, (Bgr >> 8) & 0xFF, Bgr >> 16));
    // The device gets the bar's level whatever the boxes hold.
    QCOMPARE(Rig.Link.Sent[1], QByteArray::number(Value) + char(0x09 + Bar));
}

void tst_Form1::exitEndsWithoutClosing()
{
    TRig Rig;
    Rig.Get<QPushButton>("Command1")->click();
    QCOMPARE(Rig.Ended->count(), 1);
    QVERIFY(Rig.Form->Ended());
    QVERIFY(!Rig.Link.Log.contains("close"));
    // Ended means ended: nothing more goes out or is read.
    const int Calls = Rig.Link.InputCalls;
    Rig.Link.Sent.clear();
    Rig.Check(1)->click();
    Rig.HScroll(1)->setValue(3);
    QTest::qWait(120);
    QCOMPARE(Rig.Link.InputCalls, Calls);
    QCOMPARE(Rig.Link.Sent, (std::map<int, QByteArray>()));
}

void tst_Form1::closingWindowClosesPort()
{
    TRig Rig;
    Rig.Form->show();
    QVERIFY(QTest::qWaitForWindowExposed(Rig.Form.get()));
    QVERIFY(Rig.Form->close());
    QCOMPARE(Rig.Link.Log.last(), QStringLiteral("close"));
    QVERIFY(!Rig.Link.IsOpen());
    QCOMPARE(Rig.Ended->count(), 0);
    const int Calls = Rig.Link.InputCalls;
    QTest::qWait(120);
    QCOMPARE(Rig.Link.InputCalls, Calls);
    QVERIFY(!Rig.Link.Log.contains("input while closed"));
}

void tst_Form1::picture()
{
    TRig Rig;
    Rig.HScroll(2)->setValue(128);
    Rig.Check(2)->click();
    Rig.Form->show();
    QVERIFY(QTest::qWaitForWindowExposed(Rig.Form.get()));
    const QImage Image = Rig.Form->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("TINTORA_PICTURE"))
        Image.save(qEnvironmentVariable("TINTORA_PICTURE"));
    const auto At = [&](const char* Name) {
        const QWidget* W = Rig.Get<QWidget>(Name);
        return Image.pixelColor(W->mapTo(Rig.Form.get(), W->rect().center()));
    };
    QCOMPARE(At("Text4"), QColor(20, 128, 0));
    QCOMPARE(At("Shape2"), QColor(255, 0, 0));
    QCOMPARE(At("Shape1"), QColor(Qt::black));
    // The line under the frame, at (1440, 1800) twips.
    QCOMPARE(Image.pixelColor(96, 120), QColor(Qt::black));
}

QTEST_MAIN(tst_Form1)
#include "tst_Form1.moc"
