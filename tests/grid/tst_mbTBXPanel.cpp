#include "FakeTheme.h"
#include "TBXTheme.h"
#include "mbTBXPanel.h"

#include <QSignalSpy>
#include <QtTest>

class tst_mbTBXPanel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void ThemeRegistry();
    void Defaults();
    void FaceCallsInOrder_data();
    void FaceCallsInOrder();
    void SharedCacheAcrossPanels();
    void CacheKeyedByWhatChangesFace_data();
    void CacheKeyedByWhatChangesFace();
    void ThemeChangeRepaints();
    void RingOnlyWithoutThemeBackground();
    void AluminumLooks();
};

void tst_mbTBXPanel::initTestCase()
{
    TBXRegisterTheme(std::make_unique<TFakeTheme>("Fake"));
    TBXRegisterTheme(std::make_unique<TFakeTheme>("Other"));
}

void tst_mbTBXPanel::init()
{
    QVERIFY(TBXSetTheme("Fake"));
    TFakeThemeLog::Get().Metric5 = false;
}

void tst_mbTBXPanel::ThemeRegistry()
{
    QSignalSpy Spy(&TTBXThemeNotifier::Instance(), &TTBXThemeNotifier::ThemeChanged);
    QVERIFY(TBXSetTheme("aluminum"));
    QCOMPARE(CurrentTheme().Name(), QString("Aluminum"));
    QCOMPARE(Spy.count(), 1);
    QCOMPARE(Spy.at(0).at(0).toInt(), 2);
    QVERIFY(TBXSetTheme("ALUMINUM")); // already current: no notice
    QCOMPARE(Spy.count(), 1);
    QVERIFY(!TBXSetTheme("Nonesuch"));
    QCOMPARE(CurrentTheme().Name(), QString("Aluminum"));
    QVERIFY(!CurrentTheme().GetBooleanMetrics(5));
    QVERIFY(CurrentTheme().GetViewColor(0x1001).isValid());
}

void tst_mbTBXPanel::Defaults()
{
    TmbTBXPanel P;
    QVERIFY(P.Themed());
    QVERIFY(!P.ButtonStyle());
    QVERIFY(!P.ThemeBackground());
}

void tst_mbTBXPanel::FaceCallsInOrder_data()
{
    QTest::addColumn<bool>("ButtonStyle");
    QTest::addColumn<bool>("ThemeBackground");
    QTest::addColumn<bool>("Metric5");
    QTest::addColumn<QStringList>("Calls");
    const QString Btn = "Button(0,0,50,30 e1 p0 h0 s%1)";
    QTest::newRow("toolbar face") << false << false << false
                                  << QStringList{"Frame(0,0,50,30 e1 p0 h0 s0)", "Backgnd(0,0,50,30 #0000c8 1 1001)",
                                                 "Dock(0,0,50,30 0)", "Metric(5)", "Dock(0,0,50,30 0)", Btn.arg(0)};
    QTest::newRow("metric 5 shadow") << false << false << true
                                     << QStringList{"Frame(0,0,50,30 e1 p0 h0 s0)",
                                                    "Backgnd(0,0,50,30 #0000c8 1 1001)", "Dock(0,0,50,30 0)",
                                                    "Metric(5)", "Backgnd(0,0,50,30 #808080 1 1001)", Btn.arg(0)};
    QTest::newRow("button style") << true << false << false << QStringList{Btn.arg(1)};
    QTest::newRow("theme background")
        << false << true << false
        << QStringList{"Frame(0,0,50,30 e1 p0 h0 s0)", "Backgnd(0,0,50,30 #0000c8 1 1001)", "Dock(0,0,50,30 0)",
                       "Metric(5)", "Dock(0,0,50,30 0)", Btn.arg(0),
                       // shrunk by 1, enlarged by 10
                       "Backgnd(-9,-9,68,48 #0000c8 1 1001)", "Dock(-9,-9,68,48 0)", "Metric(5)",
                       "Dock(-9,-9,68,48 0)", "Button(1,1,48,28 e1 p0 h0 s0)"};
    QTest::newRow("button style background") << true << true << false
                                             << QStringList{Btn.arg(1), Btn.arg(1)};
}

void tst_mbTBXPanel::FaceCallsInOrder()
{
    QFETCH(bool, ButtonStyle);
    QFETCH(bool, ThemeBackground);
    QFETCH(bool, Metric5);
    QFETCH(QStringList, Calls);
    TFakeThemeLog::Get().Metric5 = Metric5;
    QPalette Pal;
    Pal.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    TmbTBXPanel P;
    P.setPalette(Pal);
    P.resize(50 + QRandomGenerator::global()->bounded(1), 30); // fresh cache per row
    P.SetButtonStyle(ButtonStyle);
    P.SetThemeBackground(ThemeBackground);
    P.SetCaption(QTest::currentDataTag());
    QCOMPARE(Paint(P), Calls);
}

void tst_mbTBXPanel::SharedCacheAcrossPanels()
{
    TmbTBXPanel A, B, C;
    A.resize(70, 40);
    B.resize(70, 40);
    C.resize(71, 40);
    QVERIFY(ThemeCalls(Paint(A)) > 0);
    QCOMPARE(ThemeCalls(Paint(B)), 0); // same size, same face: from the cache
    QCOMPARE(ThemeCalls(Paint(A)), 0);
    QVERIFY(ThemeCalls(Paint(C)) > 0); // another size rebuilds
    QVERIFY(ThemeCalls(Paint(A)) > 0);
    // Resizing rebuilds at the next paint.
    A.resize(72, 40);
    QVERIFY(ThemeCalls(Paint(A)) > 0);
    QCOMPARE(ThemeCalls(Paint(A)), 0);
}

void tst_mbTBXPanel::CacheKeyedByWhatChangesFace_data()
{
    QTest::addColumn<int>("Change");
    QTest::newRow("ButtonStyle") << 0;
    QTest::newRow("ThemeBackground") << 1;
    QTest::newRow("Enabled") << 2;
    QTest::newRow("Caption") << 3;
    QTest::newRow("theme") << 4;
    QTest::newRow("shadow colour under metric 5") << 5;
}

void tst_mbTBXPanel::CacheKeyedByWhatChangesFace()
{
    QFETCH(int, Change);
    TFakeThemeLog::Get().Metric5 = Change == 5;
    TmbTBXPanel A, B;
    A.resize(60, 30);
    B.resize(60, 30);
    A.SetCaption("x");
    B.SetCaption("x");
    Paint(A);
    QCOMPARE(ThemeCalls(Paint(B)), 0);
    switch (Change) {
    case 0: B.SetButtonStyle(true); break;
    case 1: B.SetThemeBackground(true); break;
    case 2: B.setEnabled(false); break;
    case 3: B.SetCaption("y"); break;
    case 4: QVERIFY(TBXSetTheme("Other")); break;
    case 5: {
        QPalette Pal = B.palette();
        Pal.setColor(QPalette::Dark, QColor(1, 2, 3));
        B.setPalette(Pal);
        break;
    }
    }
    const QStringList Calls = Paint(B);
    QVERIFY(ThemeCalls(Calls) > 0);
    if (Change == 2)
        QVERIFY(Calls.last().contains(" e0 "));
}

void tst_mbTBXPanel::ThemeChangeRepaints()
{
    TmbTBXPanel P;
    P.resize(40, 20);
    P.show();
    QVERIFY(QTest::qWaitForWindowExposed(&P));
    QCoreApplication::processEvents();
    TFakeThemeLog::Get().Calls.clear();
    QVERIFY(TBXSetTheme("Other"));
    QTRY_VERIFY(ThemeCalls(TFakeThemeLog::Get().Calls) > 0);
    // Another parameter of the notice is ignored.
    TFakeThemeLog::Get().Calls.clear();
    emit TTBXThemeNotifier::Instance().ThemeChanged(1);
    QCoreApplication::processEvents();
    QCOMPARE(ThemeCalls(TFakeThemeLog::Get().Calls), 0);
}

void tst_mbTBXPanel::RingOnlyWithoutThemeBackground()
{
    TmbTBXPanel P;
    P.resize(20, 10);
    P.SetColor(0x00FFFF); // yellow
    P.SetCaption(QString());
    const QImage Img = P.grab().toImage();
    // The fake dock paints red; only the outer ring shows it.
    QCOMPARE(Img.pixel(0, 5), qRgb(200, 0, 0));
    QCOMPARE(Img.pixel(19, 9), qRgb(200, 0, 0));
    QCOMPARE(Img.pixel(10, 5), qRgb(255, 255, 0));
    P.SetThemeBackground(true);
    const QImage Full = P.grab().toImage();
    QCOMPARE(Full.pixel(10, 5), qRgb(200, 0, 0));
}

void tst_mbTBXPanel::AluminumLooks()
{
    QVERIFY(TBXSetTheme("Aluminum"));
    TmbTBXPanel Face;
    Face.resize(160, 60);
    Face.SetThemeBackground(true);
    Face.SetCaption("Aluminum face");
    Face.grab().save("/tmp/h5_panel_face.png");
    TmbTBXPanel Button;
    Button.resize(160, 30);
    Button.SetButtonStyle(true);
    Button.SetThemeBackground(true);
    Button.SetCaption("Button style");
    const QImage Img = Button.grab().toImage();
    Img.save("/tmp/h5_panel_button.png");
    QVERIFY(Img.pixel(80, 2) != Img.pixel(80, 27)); // a gradient, top to bottom
}

QTEST_MAIN(tst_mbTBXPanel)
#include "tst_mbTBXPanel.moc"
