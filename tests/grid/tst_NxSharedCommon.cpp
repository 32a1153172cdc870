#include "NxSharedCommon.h"
#include "NxSharedDraw.h"
#include "DwError.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

class tst_NxSharedCommon : public QObject {
    Q_OBJECT
private slots:
    void BlendColor_data();
    void BlendColor();
    void BlendColorSystemColour();
    void BlendColorAlphaOutOfRange();
    void MixColors();
    void BlendChannel_data();
    void BlendChannel();
    void PlaceInRect_data();
    void PlaceInRect();
    void RectArithmetic();
    void VerticalGradient();
    void ButtonBox();
    void AlphaBitmaps();
};

void tst_NxSharedCommon::BlendColor_data()
{
    QTest::addColumn<int>("C1");
    QTest::addColumn<int>("C2");
    QTest::addColumn<int>("Alpha");
    QTest::addColumn<int>("Expected");
    QTest::newRow("white over black 255") << clWhite << clBlack << 255 << 0xFEFEFE;
    QTest::newRow("white over black 0") << clWhite << clBlack << 0 << 0x000000;
    QTest::newRow("black over white 0") << clBlack << clWhite << 0 << 0xFEFEFE;
    QTest::newRow("red over blue 128") << clRed << clBlue << 128 << 0x7E007F;
    QTest::newRow("sorted shade 10") << 0x808080 << clWhite << 10 << 0xF9F9F9;
    QTest::newRow("channels apart") << 0x102030 << 0x403020 << 100 << 0x2D2926; // 9760, 10640, 11520 div 256
}

void tst_NxSharedCommon::BlendColor()
{
    QFETCH(int, C1);
    QFETCH(int, C2);
    QFETCH(int, Alpha);
    QFETCH(int, Expected);
    QCOMPARE(TGraphicsProvider::BlendColor(C1, C2, Alpha), Expected);
    QCOMPARE(TMaskProvider::BlendColor(C1, C2, Alpha), Expected);
    QCOMPARE(NxSharedDraw::BlendColor(C1, C2, Alpha), Expected);
}

void tst_NxSharedCommon::BlendColorSystemColour()
{
    QPalette P;
    P.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
    // clBtnFace reads as 0x302010 before blending.
    QCOMPARE(TGraphicsProvider::BlendColor(clBtnFace, clBlack, 255, P), 0x2F1F0F);
    QCOMPARE(ColorToRGB(clBtnFace, P), 0x302010);
    QCOMPARE(ColorToRGB(0x123456, P), 0x123456);
}

void tst_NxSharedCommon::BlendColorAlphaOutOfRange()
{
    for (int A : {-1, 256}) {
        try {
            TGraphicsProvider::BlendColor(clWhite, clBlack, A);
            QFAIL("no assertion");
        } catch (const EDotwrightError& E) {
            QCOMPARE(E.Message(), QString("Assertion failure"));
        }
    }
}

void tst_NxSharedCommon::MixColors()
{
    QCOMPARE(TGraphicsProvider::MixColors(0x102030, 0xF0E0D0, 0), 0x102030);
    QCOMPARE(TGraphicsProvider::MixColors(0x102030, 0xF0E0D0, 1), 0xF0E0D0);
    // A quarter of the way: red 48 + 40 = 88, green 32 + 48 = 80, blue 16 + 56 = 72.
    QCOMPARE(TGraphicsProvider::MixColors(0x102030, 0xF0E0D0, 0.25), 0x485058);
    QCOMPARE(TGraphicsProvider::MixColors(clBlack, 0x010101, 0.5), 0x000000); // halves to even
}

void tst_NxSharedCommon::BlendChannel_data()
{
    QTest::addColumn<int>("Src");
    QTest::addColumn<int>("Dst");
    QTest::addColumn<int>("Alpha");
    QTest::addColumn<int>("Expected");
    QTest::newRow("opaque") << 200 << 10 << 255 << 200;
    QTest::newRow("clear") << 200 << 10 << 0 << 10;
    QTest::newRow("half") << 255 << 255 << 128 << 255; // 128 + 127 rounded separately
    QTest::newRow("mid") << 100 << 50 << 51 << 60;
}

void tst_NxSharedCommon::BlendChannel()
{
    QFETCH(int, Src);
    QFETCH(int, Dst);
    QFETCH(int, Alpha);
    QFETCH(int, Expected);
    QCOMPARE(int(::BlendChannel(Src, Dst, Alpha)), Expected);
}

void tst_NxSharedCommon::PlaceInRect_data()
{
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("V");
    QTest::addColumn<int>("Margin");
    QTest::addColumn<QPoint>("Expected");
    QTest::newRow("centre") << int(taCenter) << int(vaMiddle) << 2 << QPoint(45, 20);
    QTest::newRow("right top") << int(taRightJustify) << int(vaTop) << 2 << QPoint(89, 2);
    QTest::newRow("left bottom") << int(taLeftJustify) << int(vaBottom) << 3 << QPoint(3, 38);
}

void tst_NxSharedCommon::PlaceInRect()
{
    QFETCH(int, H);
    QFETCH(int, V);
    QFETCH(int, Margin);
    QFETCH(QPoint, Expected);
    QCOMPARE(TCalcProvider::PlaceInRect(10, 10, TAlignment(H), TVerticalAlignment(V), Rect(0, 0, 101, 51), Margin),
             Expected);
}

void tst_NxSharedCommon::RectArithmetic()
{
    QVERIFY(RectsIntersect(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
    QVERIFY(!RectsIntersect(Rect(0, 0, 10, 10), Rect(11, 0, 20, 10)));
    QVERIFY(!RectsIntersect(Rect(0, 0, 10, 10), Rect(0, -20, 10, -1)));
    QVERIFY(!PointOutsideBox(QPoint(5, 5), QPoint(0, 0), 5));
    QVERIFY(PointOutsideBox(QPoint(6, 5), QPoint(0, 0), 5));
    QVERIFY(PointOutsideBox(QPoint(0, -6), QPoint(0, 0), 5));
    QCOMPARE(TCalcProvider::ResizeRect(Rect(10, 10, 20, 20), 2, -1, -2, 3), Rect(12, 9, 18, 23));
}

void tst_NxSharedCommon::VerticalGradient()
{
    QImage Img(4, 6, QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    {
        QPainter P(&Img);
        NxSharedDraw::DrawVerticalGradient(P, Rect(0, 1, 3, 5), clBlack, 0xC8C8C8);
        NxSharedDraw::DrawVerticalGradient(P, Rect(0, 5, 3, 5), clWhite, clWhite); // no height
    }
    // Ratios 0, 0.25, 0.5, 0.75 of 200.
    const int Expected[4] = {0, 50, 100, 150};
    for (int Y = 0; Y < 4; ++Y) {
        QCOMPARE(qRed(Img.pixel(0, Y + 1)), Expected[Y]);
        QCOMPARE(qRed(Img.pixel(2, Y + 1)), Expected[Y]);
        QCOMPARE(Img.pixel(3, Y + 1), QColor(Qt::magenta).rgb()); // right edge excluded
    }
    QCOMPARE(Img.pixel(0, 0), QColor(Qt::magenta).rgb());
    QCOMPARE(Img.pixel(0, 5), QColor(Qt::magenta).rgb());
}

void tst_NxSharedCommon::ButtonBox()
{
    QPalette Pal;
    Pal.setColor(QPalette::Button, QColor(1, 1, 1));
    Pal.setColor(QPalette::Light, QColor(2, 2, 2));
    Pal.setColor(QPalette::Dark, QColor(3, 3, 3));
    Pal.setColor(QPalette::Shadow, QColor(4, 4, 4));
    for (bool Dark : {false, true}) {
        QImage Img(6, 5, QImage::Format_RGB32);
        Img.fill(Qt::white);
        QPainter P(&Img);
        TDrawProvider::DrawButtonBox(P, Rect(0, 0, 6, 5), Dark, Pal);
        P.end();
        const int Sh = Dark ? 4 : 3;
        const char* Rows[5] = {"222223", "211113", "211113", "211113", "SSSSSS"};
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 6; ++X) {
                const char Ch = Rows[Y][X];
                const int Want = Ch == 'S' ? Sh : (Ch == '3' ? Sh : Ch - '0');
                QCOMPARE(qRed(Img.pixel(X, Y)), Want);
            }
    }
}

void tst_NxSharedCommon::AlphaBitmaps()
{
    QImage Glyph(2, 1, QImage::Format_ARGB32);
    Glyph.setPixel(0, 0, qRgba(255, 0, 0, 255));
    Glyph.setPixel(1, 0, qRgba(255, 255, 255, 128));
    QImage Back(2, 1, QImage::Format_RGB32);
    Back.fill(qRgb(0, 0, 0));
    QImage Back2 = Back;
    {
        QPainter P(&Back);
        NxSharedDraw::DrawBitmap(P, 0, 0, Glyph);
        QPainter P2(&Back2);
        TDrawProvider::DrawBitmap(P2, 0, 0, Glyph);
    }
    // The div-256 blend: opaque red reads 254; white at 128 over black reads 127.
    QCOMPARE(Back.pixel(0, 0), qRgb(254, 0, 0));
    QCOMPARE(Back.pixel(1, 0), qRgb(127, 127, 127));
    // The rounded channel blend: opaque stays 255; white at 128 gives 128.
    QCOMPARE(Back2.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(Back2.pixel(1, 0), qRgb(128, 128, 128));
}

QTEST_MAIN(tst_NxSharedCommon)
#include "tst_NxSharedCommon.moc"
