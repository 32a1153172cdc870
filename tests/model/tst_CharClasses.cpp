#include "CharClasses.h"
#include "DwError.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

class tst_CharClasses : public QObject {
    Q_OBJECT
private slots:
    void newCharIsAllSet();
    void cellIndexIsColumnMajor();
    void outOfBoundsAccessRaisesAndLeavesCells_data();
    void outOfBoundsAccessRaisesAndLeavesCells();
    void resizeKeepsLinearEntries();
    void negativeSizeIsEmpty();
    void loadFromBitmap();
    void drawToPaintsSquaresWithGaps();
    void freshFontHasNoSize();
    void slotsAreOwnedAndBounded();
};

void tst_CharClasses::newCharIsAllSet()
{
    TCharClass C(65, 3, 2);
    QCOMPARE(C.Code, 65);
    QCOMPARE(C.Cells, std::vector<TColor>(6, 0));
    C.Fill(clClear);
    QCOMPARE(C.Cells, std::vector<TColor>(6, clClear));
    TCharClass Empty(0, 0, 0);
    Empty.Fill(5);
    QVERIFY(Empty.Cells.empty());
}

void tst_CharClasses::cellIndexIsColumnMajor()
{
    TCharClass C(0, 3, 2);
    C.SetCellValue(2, 1, 7);
    C.SetCellValue(1, 0, 9);
    QCOMPARE(C.Cells[5], 7);
    QCOMPARE(C.Cells[2], 9);
    QCOMPARE(C.GetCellValue(2, 1), 7);
}

void tst_CharClasses::outOfBoundsAccessRaisesAndLeavesCells_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("message");
    QTest::newRow("read x = width") << false << 3 << 0
        << "Index (Row:3,Col:0) out of bounds in call to TCharClass.GetCellValue";
    QTest::newRow("read negative") << false << -1 << 1
        << "Index (Row:-1,Col:1) out of bounds in call to TCharClass.GetCellValue";
    QTest::newRow("write y negative") << true << 0 << -1
        << "Index (Row:0,Col:-1) out of bounds in call to TCharClass.SetCellValue";
    QTest::newRow("write y = height") << true << 2 << 2
        << "Index (Row:2,Col:2) out of bounds in call to TCharClass.SetCellValue";
}

void tst_CharClasses::outOfBoundsAccessRaisesAndLeavesCells()
{
    QFETCH(bool, write);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QString, message);
    TCharClass C(0, 3, 2);
    C.Fill(clClear);
    try {
        if (write)
            C.SetCellValue(x, y, 0);
        else
            (void)C.GetCellValue(x, y);
        QFAIL("no exception");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), message);
    }
    QCOMPARE(C.Cells, std::vector<TColor>(6, clClear));
}

void tst_CharClasses::resizeKeepsLinearEntries()
{
    TCharClass C(0, 3, 2);
    for (int I = 0; I < 6; ++I)
        C.Cells[size_t(I)] = I + 1;
    C.SetWidth(4);
    QCOMPARE(C.Cells, (std::vector<TColor>{1, 2, 3, 4, 5, 6, 0, 0}));
    QCOMPARE(C.GetCellValue(2, 1), 6);
    C.SetWidth(3);
    C.SetHeight(3);
    QCOMPARE(C.Cells, (std::vector<TColor>{1, 2, 3, 4, 5, 6, 0, 0, 0}));
    QCOMPARE(C.GetCellValue(1, 0), 4); // the picture shifts between columns
    const auto Before = C.Cells;
    C.SetHeight(3);
    C.SetWidth(3);
    QCOMPARE(C.Cells, Before);
}

void tst_CharClasses::negativeSizeIsEmpty()
{
    TCharClass C(0, -2, 5);
    QCOMPARE(C.Width, 0);
    QVERIFY(C.Cells.empty());
    C.SetWidth(2);
    QCOMPARE(C.Cells.size(), size_t(10));
}

void tst_CharClasses::loadFromBitmap()
{
    TCharClass C(0, 4, 4);
    C.Fill(0x123456);
    C.LoadFromBitmap(nullptr, true);
    QCOMPARE(C.Cells, std::vector<TColor>(16, 0x123456));

    QImage Img(2, 3, QImage::Format_RGB32);
    Img.fill(Qt::black);
    Img.setPixel(1, 2, qRgb(255, 0, 0));
    Img.setPixel(0, 1, qRgb(0x11, 0x22, 0x33));
    C.LoadFromBitmap(&Img, false);
    QCOMPARE(C.Width, 4);
    QCOMPARE(C.GetCellValue(1, 2), 0x0000FF); // red is 0x00BBGGRR
    QCOMPARE(C.GetCellValue(0, 1), 0x332211);
    QCOMPARE(C.GetCellValue(0, 0), 0);
    QCOMPARE(C.GetCellValue(2, 0), clClear);
    QCOMPARE(C.GetCellValue(0, 3), clClear);

    C.LoadFromBitmap(&Img, true);
    QCOMPARE(C.Width, 2);
    QCOMPARE(C.Height, 3);
    QCOMPARE(C.GetCellValue(1, 2), 0x0000FF);
}

void tst_CharClasses::drawToPaintsSquaresWithGaps()
{
    TCharClass C(0, 2, 3);
    C.Fill(clClear);
    C.SetCellValue(1, 2, 0x0000FF);
    QImage Img(30, 30, QImage::Format_RGB32);
    Img.fill(qRgb(0, 255, 0));
    {
        QPainter P(&Img);
        C.DrawTo(&P, 3, 3, 4);
        C.DrawTo(nullptr, 0, 0, 4);
    }
    // cell (1, 2): left 3 + 1 * 5 = 8, top 3 + 2 * 5 = 13, 4 x 4 pixels
    QCOMPARE(Img.pixel(8, 13), qRgb(255, 0, 0));
    QCOMPARE(Img.pixel(11, 16), qRgb(255, 0, 0));
    QCOMPARE(Img.pixel(12, 13), qRgb(0, 255, 0)); // the gap keeps what was there
    QCOMPARE(Img.pixel(8, 17), qRgb(0, 255, 0));
    QCOMPARE(Img.pixel(3, 3), qRgb(255, 255, 255));
    QCOMPARE(Img.pixel(2, 3), qRgb(0, 255, 0));
}

void tst_CharClasses::freshFontHasNoSize()
{
    TGLCDFont F("Untitled");
    QCOMPARE(F.FontName, QString("Untitled"));
    QCOMPARE(F.CharCount(), 1);
    QCOMPARE(F.GetWidth(), -1);
    QCOMPARE(F.GetHeight(), -1);
    QCOMPARE(F.SizeText(), QString("-1 x -1"));
    QCOMPARE(F.SizeTag(), QString("-1x-1"));
    QVERIFY(!F.Proportional);
    QVERIFY(F.FileName.isEmpty());

    F.RangeFrom = 32;
    F.RangeTo = 126;
    F.SetChar(32, std::make_unique<TCharClass>(32, 8, 16));
    QCOMPARE(F.CharCount(), 95);
    QCOMPARE(F.SizeText(), QString("8 x 16"));
    QCOMPARE(F.SizeTag(), QString("8x16"));
}

void tst_CharClasses::slotsAreOwnedAndBounded()
{
    TGLCDFont F("F");
    F.SetChar(65, std::make_unique<TCharClass>(65, 2, 2));
    F.SetChar(65, std::make_unique<TCharClass>(65, 3, 3)); // replaces and frees the first
    QCOMPARE(F.GetChar(65)->Width, 3);
    QCOMPARE(F.GetChar(-1), nullptr);
    QCOMPARE(F.GetChar(256), nullptr);
    QVERIFY_THROWS_EXCEPTION(EDotwrightError, F.SetChar(256, std::make_unique<TCharClass>(0, 1, 1)));
    QVERIFY_THROWS_EXCEPTION(EDotwrightError, F.SetChar(-1, nullptr));
    F.FreeChars();
    for (int Code = 0; Code < 256; ++Code)
        QCOMPARE(F.GetChar(Code), nullptr);
}

QTEST_GUILESS_MAIN(tst_CharClasses)
#include "tst_CharClasses.moc"
