#include "FakeTheme.h"
#include "TBXTheme.h"
#include "mbTBXGroupBox.h"
#include "mbTBXPanel.h"

#include <QFontMetrics>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const QRgb Red = qRgb(200, 0, 0);

} // namespace

class tst_mbTBXGroupBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void Defaults();
    void CaptionGeometry();
    void FrameCalls_data();
    void FrameCalls();
    void FrameLineAndCaptionGap();
    void EmptyCaptionGap();
    void SharedCacheAndRename();
    void UnthemedPaintsStandard();
    void AluminumLooks();
};

void tst_mbTBXGroupBox::initTestCase()
{
    TBXRegisterTheme(std::make_unique<TFakeTheme>("Fake"));
}

void tst_mbTBXGroupBox::init()
{
    QVERIFY(TBXSetTheme("Fake"));
    TFakeThemeLog::Get().Metric5 = false;
}

void tst_mbTBXGroupBox::Defaults()
{
    TmbTBXGroupBox G;
    QVERIFY(!G.ThemedBackground());
    QVERIFY(G.Themed());
    QVERIFY(G.GradientBorder());
}

void tst_mbTBXGroupBox::CaptionGeometry()
{
    TmbTBXGroupBox G("Options");
    const QFontMetrics FM(G.font());
    QCOMPARE(G.CaptionTextHeight(), FM.height());
    QCOMPARE(G.CaptionRect(), Rect(6, 0, 6 + FM.horizontalAdvance("Options"), FM.height() + 1));
    G.setTitle(QString());
    QCOMPARE(G.ShownCaption(), QString(" "));
    QCOMPARE(G.CaptionRect().Right, 6 + FM.horizontalAdvance(" "));
}

void tst_mbTBXGroupBox::FrameCalls_data()
{
    QTest::addColumn<bool>("ThemedBackground");
    QTest::addColumn<bool>("GradientBorder");
    QTest::addColumn<QStringList>("Calls");
    const int TH = QFontMetrics(QApplication::font()).height();
    const QString Whole = "Backgnd(0,0,80,50 #0000c8 1 1001)|Dock(0,0,80,50 0)|Metric(5)|Dock(0,0,80,50 0)";
    const QString Line = QString("Backgnd(0,%1,80,%2 #0000c8 1 1001)|Dock(0,%1,80,%2 0)|Metric(5)|Dock(0,%1,80,%2 0)")
                             .arg(TH / 2)
                             .arg(50 - TH / 2);
    QTest::newRow("gradient border") << false << true << Line.split('|');
    QTest::newRow("item frame") << false << false
                                << (Line + QString("|Frame(0,%1,80,%2 e1 p0 h2 s0)").arg(TH / 2).arg(50 - TH / 2))
                                       .split('|');
    QTest::newRow("themed background") << true << true << (Whole + "|" + Line).split('|');
}

void tst_mbTBXGroupBox::FrameCalls()
{
    QFETCH(bool, ThemedBackground);
    QFETCH(bool, GradientBorder);
    QFETCH(QStringList, Calls);
    TmbTBXGroupBox G(QTest::currentDataTag()); // a caption per row: a fresh cache
    G.resize(80, 50);
    G.SetThemedBackground(ThemedBackground);
    G.SetGradientBorder(GradientBorder);
    QCOMPARE(Paint(G), Calls);
}

void tst_mbTBXGroupBox::FrameLineAndCaptionGap()
{
    TmbTBXGroupBox G("Ab");
    G.resize(100, 40);
    const int TH = G.CaptionTextHeight();
    const TRect C = G.CaptionRect();
    const QImage Img = G.grab().toImage();
    G.grab().save("/tmp/h5_group_fake.png");
    const int Y = TH / 2;
    // The frame line runs at y = TH div 2 and stops 2 pixels before the caption.
    QCOMPARE(Img.pixel(2, Y), Red);
    QCOMPARE(Img.pixel(3, Y), Red);
    QVERIFY(Img.pixel(4, Y) != Red);
    QVERIFY(Img.pixel(C.Right - 1, Y) != Red);
    QCOMPARE(Img.pixel(C.Right, Y), Red);
    QCOMPARE(Img.pixel(99, Y), Red);
    QVERIFY(Img.pixel(50, Y - 1) != Red);
    // A one-pixel ring: left, right and bottom edges, nothing inside.
    QCOMPARE(Img.pixel(0, 30), Red);
    QCOMPARE(Img.pixel(99, 30), Red);
    QCOMPARE(Img.pixel(50, 39), Red);
    QVERIFY(Img.pixel(50, 30) != Red);
    QVERIFY(Img.pixel(1, 30) != Red);
}

void tst_mbTBXGroupBox::EmptyCaptionGap()
{
    TmbTBXGroupBox G;
    G.resize(60, 30);
    const int W = QFontMetrics(G.font()).horizontalAdvance(" ");
    const QImage Img = G.grab().toImage();
    const int Y = G.CaptionTextHeight() / 2;
    QCOMPARE(Img.pixel(3, Y), Red);
    for (int X = 4; X < 6 + W; ++X)
        QVERIFY2(Img.pixel(X, Y) != Red, qPrintable(QString::number(X)));
    QCOMPARE(Img.pixel(6 + W, Y), Red);
}

void tst_mbTBXGroupBox::SharedCacheAndRename()
{
    TmbTBXGroupBox A("Same"), B("Same");
    A.resize(90, 50);
    B.resize(90, 50);
    QVERIFY(ThemeCalls(Paint(A)) > 0);
    QCOMPARE(ThemeCalls(Paint(B)), 0);
    B.setTitle("Other");
    QVERIFY(ThemeCalls(Paint(B)) > 0);
    B.setTitle("Same");
    QVERIFY(ThemeCalls(Paint(B)) > 0);
    QCOMPARE(ThemeCalls(Paint(A)), 0);
    // Enabled and GradientBorder change the frame: the cache follows them.
    A.setEnabled(false);
    const QStringList Calls = Paint(A);
    QVERIFY(ThemeCalls(Calls) > 0);
    A.SetGradientBorder(false);
    QVERIFY(Paint(A).last().contains(" e0 "));
    // So do the font, which places the line and the gap, and the shadow colour of metric 5.
    QCOMPARE(ThemeCalls(Paint(A)), 0);
    QFont Big = A.font();
    Big.setPixelSize(30);
    A.setFont(Big);
    QVERIFY(ThemeCalls(Paint(A)) > 0);
    TFakeThemeLog::Get().Metric5 = true;
    QPalette Pal = A.palette();
    Pal.setColor(QPalette::Dark, QColor(1, 2, 3));
    A.setPalette(Pal);
    const int Y = A.CaptionTextHeight() / 2;
    QVERIFY(Paint(A).contains(QString("Backgnd(0,%1,90,%2 #010203 1 1001)").arg(Y).arg(50 - Y)));
}

void tst_mbTBXGroupBox::UnthemedPaintsStandard()
{
    TmbTBXGroupBox G("Plain");
    G.resize(80, 40);
    G.SetThemed(false);
    QCOMPARE(ThemeCalls(Paint(G)), 0);
}

void tst_mbTBXGroupBox::AluminumLooks()
{
    QVERIFY(TBXSetTheme("Aluminum"));
    TmbTBXPanel Face;
    Face.resize(220, 130);
    Face.SetThemeBackground(true);
    auto* L = new QVBoxLayout(&Face);
    auto* G = new TmbTBXGroupBox("Output format", &Face);
    auto* GL = new QVBoxLayout(G);
    GL->addWidget(new QRadioButton("Fixed width", G));
    GL->addWidget(new QRadioButton("Proportional", G));
    L->addWidget(G);
    auto* T = new TmbTBXGroupBox("Themed inside", &Face);
    T->SetThemedBackground(true);
    T->setMinimumHeight(30);
    L->addWidget(T);
    Face.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Face));
    const QImage Img = Face.grab().toImage();
    Img.save("/tmp/h5_group_aluminum.png");
    // The frame line differs from the face beside it.
    const QPoint Top = G->mapTo(&Face, QPoint(G->width() / 2, G->CaptionTextHeight() / 2));
    QVERIFY(Img.pixel(Top) != Img.pixel(Top + QPoint(0, 3)));
}

QTEST_MAIN(tst_mbTBXGroupBox)
#include "tst_mbTBXGroupBox.moc"
