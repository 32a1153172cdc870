#include "NxScrollControl.h"

#include <QScrollBar>
#include <QtTest>

namespace {

// Records every content scroll; one step moves the content by 10 pixels.
class TRecordingControl : public TNxScrollControl {
public:
    QStringList Log;
    int VertScrollDelta(int OldPos, int NewPos) override { return (OldPos - NewPos) * 10; }
    int HorzScrollDelta(int OldPos, int NewPos) override { return OldPos - NewPos; }
    void ScrollContent(TNxCustomScrollBar* Bar, int DX, int DY) override
    {
        Log << QString("%1:%2,%3").arg(Bar->Kind()).arg(DX).arg(DY);
        TNxScrollControl::ScrollContent(Bar, DX, DY);
    }
};

} // namespace

class tst_NxScrollControl : public QObject {
    Q_OBJECT
private slots:
    void Positions_data();
    void Positions();
    void LoweredMaxPullsTheContentBack();
    void Messages_data();
    void Messages();
    void PlatformBarFollows();
    void RollScrolling();
};

// Each step: "max N", "pos N", "lock", "unlock"; the result is Max, Position, Visible and the scrolls.
void tst_NxScrollControl::Positions_data()
{
    QTest::addColumn<QStringList>("Steps");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("negative max") << QStringList{"max -3"} << "0 0 hidden []";
    QTest::newRow("beyond max") << QStringList{"max 20", "pos 30"} << "20 20 shown [1:0,-200]";
    QTest::newRow("below zero") << QStringList{"max 20", "pos 5", "pos -1"} << "20 0 shown [1:0,-50 1:0,50]";
    QTest::newRow("locked") << QStringList{"max 20", "lock", "pos 7"} << "20 7 shown []";
    QTest::newRow("max zero resets") << QStringList{"max 20", "lock", "pos 7", "unlock", "max 0"}
                                     << "0 0 hidden [1:0,70]";
}

void tst_NxScrollControl::Positions()
{
    QFETCH(QStringList, Steps);
    QFETCH(QString, Expected);
    TRecordingControl C;
    TNxScrollBar& B = C.VertScrollBar();
    C.Log.clear();
    for (const QString& S : Steps) {
        const QStringList P = S.split(' ');
        if (P[0] == "max")
            B.SetMax(P[1].toInt());
        else if (P[0] == "pos")
            B.SetPosition(P[1].toInt());
        else if (P[0] == "lock")
            B.BeginUpdate();
        else if (P[0] == "unlock")
            B.EndUpdate();
    }
    const QString Got = QString("%1 %2 %3 [%4]")
                            .arg(B.Max())
                            .arg(B.Position())
                            .arg(B.Visible() ? "shown" : "hidden")
                            .arg(C.Log.join(' '));
    QCOMPARE(Got, Expected);
}

void tst_NxScrollControl::LoweredMaxPullsTheContentBack()
{
    TRecordingControl C;
    TNxScrollBar& B = C.VertScrollBar();
    B.SetMax(50);
    B.SetPosition(40);
    C.Log.clear();
    B.SetMax(25);
    QCOMPARE(B.Position(), 25);
    QCOMPARE(B.PrevPosition(), 40);
    QCOMPARE(C.Log, QStringList{"1:0,150"});
    // Raising it again moves nothing.
    C.Log.clear();
    B.SetMax(60);
    QCOMPARE(B.Position(), 25);
    QVERIFY(C.Log.isEmpty());
}

void tst_NxScrollControl::Messages_data()
{
    QTest::addColumn<int>("Code");
    QTest::addColumn<int>("Track");
    QTest::addColumn<int>("Position");
    QTest::addColumn<int>("Kind");
    // From position 10 of 0..100, small change 1, large change 10.
    QTest::newRow("line up") << int(scLineUp) << 0 << 9 << skLine;
    QTest::newRow("line down") << int(scLineDown) << 0 << 11 << skLine;
    QTest::newRow("page up") << int(scPageUp) << 0 << 0 << skPage;
    QTest::newRow("page down") << int(scPageDown) << 0 << 20 << skPage;
    QTest::newRow("thumb") << int(scThumbTrack) << 77 << 77 << skThumb;
    QTest::newRow("thumb far") << int(scThumbPosition) << 70000 << 100 << skThumb;
    QTest::newRow("top") << int(scTop) << 0 << 0 << skTopBottom;
    QTest::newRow("bottom") << int(scBottom) << 0 << 100 << skTopBottom;
    QTest::newRow("end scroll") << int(scEndScroll) << 0 << 10 << 0;
}

void tst_NxScrollControl::Messages()
{
    QFETCH(int, Code);
    QFETCH(int, Track);
    QFETCH(int, Position);
    QFETCH(int, Kind);
    TRecordingControl C;
    TNxScrollBar& B = C.VertScrollBar();
    B.LargeChange = 10;
    B.SetMax(100);
    B.SetPosition(10);
    int Reported = -1;
    C.OnVerticalScroll = [&](TNxScrollControl*, int P) { Reported = P; };
    C.WMVScroll(Code, Track);
    QCOMPARE(B.Position(), Position);
    QCOMPARE(B.LastScrollKind, Kind);
    QCOMPARE(Reported, Position);
}

void tst_NxScrollControl::PlatformBarFollows()
{
    TRecordingControl C;
    C.resize(200, 150);
    TNxScrollBar& B = C.VertScrollBar();
    B.SetMax(30);
    B.SetPosition(12);
    QScrollBar* P = C.verticalScrollBar();
    QCOMPARE(P->maximum(), 30);
    QCOMPARE(P->value(), 12);
    // A click on the bar's page area takes the message path and the bar shows the result.
    B.LargeChange = 5;
    B.UpdateBar();
    P->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(B.Position(), 17);
    QCOMPARE(P->value(), 17);
    // Line requests do nothing on a bar without range.
    B.SetMax(0);
    C.Log.clear();
    B.LineDown();
    QCOMPARE(B.Position(), 0);
    QVERIFY(C.Log.isEmpty());
    // A bar given a range while the control was hidden shows with it, and goes with its range.
    for (int Max : {0, 30, 0}) {
        C.hide();
        B.SetMax(Max);
        C.show();
        QCOMPARE(P->isVisible(), Max > 0);
    }
}

void tst_NxScrollControl::RollScrolling()
{
    TRecordingControl C;
    C.resize(200, 200);
    C.show();
    TNxScrollBar& B = C.VertScrollBar();
    B.SetMax(100);
    B.SetPosition(40);
    QWidget* V = C.viewport();
    // Pressed and released without moving: no scroll.
    QTest::mousePress(V, Qt::MiddleButton, {}, QPoint(50, 100));
    QVERIFY(C.Rolling());
    C.RollTimerTick(QPoint(50, 100));
    QTest::mouseRelease(V, Qt::MiddleButton, {}, QPoint(50, 100));
    QVERIFY(!C.Rolling());
    QCOMPARE(B.Position(), 40);
    // 50 pixels above the origin: a line up per tick, every 50 ms.
    QTest::mousePress(V, Qt::MiddleButton, {}, QPoint(50, 100));
    QTest::mouseMove(V, QPoint(50, 50));
    QCOMPARE(C.RollDirection(), -1);
    C.RollTimerTick(QPoint(50, 50));
    QCOMPARE(B.Position(), 39);
    QCOMPARE(C.RollInterval(), 50);
    // Inside the dead zone nothing scrolls; far below, one line down each millisecond.
    QTest::mouseMove(V, QPoint(50, 105));
    C.RollTimerTick(QPoint(50, 105));
    QCOMPARE(B.Position(), 39);
    QTest::mouseMove(V, QPoint(50, 106));
    C.RollTimerTick(QPoint(50, 300));
    QCOMPARE(B.Position(), 40);
    QCOMPARE(C.RollInterval(), 1);
    QTest::mouseRelease(V, Qt::LeftButton, {}, QPoint(50, 106));
    QVERIFY(!C.Rolling());
}

QTEST_MAIN(tst_NxScrollControl)
#include "tst_NxScrollControl.moc"
