#include "DwError.h"
#include "GridText.h"

#include <QtTest>
#include <functional>

using TOperation = std::function<QString(TPixelBuffer&)>;
Q_DECLARE_METATYPE(TOperation)

namespace {
TOperation Op(std::function<void(TPixelBuffer&)> F)
{
    return [F](TPixelBuffer& B) {
        F(B);
        return QString();
    };
}
} // namespace

class tst_PixelBuffer : public QObject {
    Q_OBJECT
private slots:
    void newBufferIsClear();
    void operations_data();
    void operations();
    void twiceGivesBackTheStart_data();
    void twiceGivesBackTheStart();
    void usedExtent();
    void cellAccessIsBounded();
    void bufferFromBuffer();
    void charExchange();
    void countSetters();
};

void tst_PixelBuffer::newBufferIsClear()
{
    TPixelBuffer B;
    QCOMPARE(B.HorizCellCount(), 8);
    QCOMPARE(B.VertCellCount(), 8);
    QCOMPARE(B.Cells(), std::vector<TColor>(64, clClear));
    QVERIFY(!B.Modified);
    QVERIFY(B.IsEmpty());
    QCOMPARE(B.FirstUsedCol(), 7);
    QCOMPARE(B.LastUsedCol(), 0);
    QCOMPARE(B.FirstUsedRow(), 7);
    QCOMPARE(B.LastUsedRow(), 0);
}

void tst_PixelBuffer::operations_data()
{
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<TOperation>("operation");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("refusal");

    const QStringList ABCD{"ABCD"};
    auto Row = [&](const char* Name, QStringList Start, TOperation O, QStringList Expected,
                   bool Modified = true, QString Refusal = QString()) {
        QTest::newRow(Name) << Start << O << Expected << Modified << Refusal;
    };

    // shifts on a 4 x 1 row
    Row("right", ABCD, Op([](auto& B) { B.ScrollHoriz(1, false); }), {".ABC"});
    Row("right roll", ABCD, Op([](auto& B) { B.ScrollHoriz(1, true); }), {"DABC"});
    Row("left roll", ABCD, Op([](auto& B) { B.ScrollHoriz(-1, true); }), {"BCDA"});
    Row("left", ABCD, Op([](auto& B) { B.ScrollHoriz(-1, false); }), {"BCD."});
    Row("roll by width", ABCD, Op([](auto& B) { B.ScrollHoriz(4, true); }), ABCD);
    Row("past width", ABCD, Op([](auto& B) { B.ScrollHoriz(5, false); }), {"...."});
    Row("far left", ABCD, Op([](auto& B) { B.ScrollHoriz(-9, false); }), {"...."});
    Row("int min", ABCD, Op([](auto& B) { B.ScrollHoriz(INT_MIN, false); }), {"...."});
    Row("roll 6 is roll 2", ABCD, Op([](auto& B) { B.ScrollHoriz(6, true); }), {"CDAB"});
    Row("roll -5 is roll -1", ABCD, Op([](auto& B) { B.ScrollHoriz(-5, true); }), {"BCDA"});
    Row("zero", ABCD, Op([](auto& B) { B.ScrollHoriz(0, false); }), ABCD);

    const QStringList Column{"A", "B", "C"};
    Row("down", Column, Op([](auto& B) { B.ScrollVert(1, false); }), {".", "A", "B"});
    Row("up roll", Column, Op([](auto& B) { B.ScrollVert(-1, true); }), {"B", "C", "A"});
    Row("down roll", Column, Op([](auto& B) { B.ScrollVert(1, true); }), {"C", "A", "B"});
    Row("up", Column, Op([](auto& B) { B.ScrollVert(-2, false); }), {"C", ".", "."});
    Row("up roll far", Column, Op([](auto& B) { B.ScrollVert(-7, true); }), {"B", "C", "A"});

    // mirrors
    Row("horiz mirror", {"AB.", "C.D"}, Op([](auto& B) { B.HorizMirror(); }), {".BA", "D.C"});
    Row("vert mirror", {"AB.", "C.D"}, Op([](auto& B) { B.VertMirror(); }), {"C.D", "AB."});

    // invert: exactly black and exactly white swap; any other colour stays
    Row("invert", {"#.r", "A#."}, Op([](auto& B) { B.Invert(); }), {".#r", "A.#"});
    Row("invert other background", {"#.r"}, Op([](auto& B) {
            B.SetBackgroundColor(0x00FF00);
            B.Invert();
        }), {".#r"});

    // outline
    Row("outline 5x5", {"#####", "#####", "#####", "#####", "#####"}, Op([](auto& B) { B.Outline(); }),
        {"#####", "#...#", "#...#", "#...#", "#####"});
    Row("outline 3x3", {"###", "###", "###"}, Op([](auto& B) { B.Outline(); }), {"###", "#.#", "###"});
    Row("outline keeps edge-touching", {"#####", "#####", "###.#", "#####"}, Op([](auto& B) { B.Outline(); }),
        {"#####", "#..##", "#.#.#", "#####"});
    Row("outline ignores diagonals", {".#.", "###", ".#."}, Op([](auto& B) { B.Outline(); }),
        {".#.", "#.#", ".#."});
    Row("outline 2 wide", {"##", "##", "##"}, Op([](auto& B) { B.Outline(); }), {"##", "##", "##"});
    Row("outline non-black", {"AAA", "AAA", "AAA"}, Op([](auto& B) { B.Outline(); }), {"AAA", "AAA", "AAA"});

    // insert and delete
    const QStringList Pic{"AB", "CD"};
    Row("ins cols left 2", Pic, Op([](auto& B) { B.InsertColsLeft(2); }), {"..AB", "..CD"});
    Row("ins cols right", Pic, Op([](auto& B) { B.InsertColsRight(1); }), {"AB.", "CD."});
    Row("ins rows top", Pic, Op([](auto& B) { B.InsertRowsTop(1); }), {"..", "AB", "CD"});
    Row("ins rows bottom 2", Pic, Op([](auto& B) { B.InsertRowsBottom(2); }), {"AB", "CD", "..", ".."});
    Row("ins 0 still modifies", Pic, Op([](auto& B) { B.InsertColsLeft(0); }), Pic);
    Row("ins negative does nothing", Pic, Op([](auto& B) { B.InsertRowsTop(-3); }), Pic, false);
    Row("del first col", {"ABC", "DEF"}, [](auto& B) { return B.DeleteFirstCols(1); }, {"BC", "EF"});
    Row("del last cols", {"ABC", "DEF"}, [](auto& B) { return B.DeleteLastCols(2); }, {"A", "D"});
    Row("del first row", {"AB", "CD", "EF"}, [](auto& B) { return B.DeleteFirstRows(1); }, {"CD", "EF"});
    Row("del last rows", {"AB", "CD", "EF"}, [](auto& B) { return B.DeleteLastRows(2); }, {"AB"});
    Row("del all cols refused", {"ABC"}, [](auto& B) { return B.DeleteLastCols(3); }, {"ABC"}, false,
        "Cannot delete more columns");
    Row("del first cols refused", {"ABC"}, [](auto& B) { return B.DeleteFirstCols(4); }, {"ABC"}, false,
        "Cannot delete more columns");
    Row("del all rows refused", {"A", "B"}, [](auto& B) { return B.DeleteFirstRows(2); }, {"A", "B"}, false,
        "Cannot delete more lines");
    Row("del last rows refused", {"A", "B"}, [](auto& B) { return B.DeleteLastRows(5); }, {"A", "B"}, false,
        "Cannot delete more lines");
    Row("del negative does nothing", {"ABC"}, [](auto& B) { return B.DeleteLastCols(-1); }, {"ABC"}, false);

    // snaps
    Row("snap left", {"...A.", "....B"}, Op([](auto& B) { B.SnapLeft(); }), {"A....", ".B..."});
    Row("snap left at edge", {"A....", "....B"}, Op([](auto& B) { B.SnapLeft(); }), {"A....", "....B"}, false);
    Row("snap right", {".A...", "B...."}, Op([](auto& B) { B.SnapRight(); }), {"....A", "...B."});
    Row("snap top", {"..", ".A", "B."}, Op([](auto& B) { B.SnapTop(); }), {".A", "B.", ".."});
    Row("snap bottom", {".A", "B.", ".."}, Op([](auto& B) { B.SnapBottom(); }), {"..", ".A", "B."});
    Row("snap left clear grid", {"....", "...."}, Op([](auto& B) { B.SnapLeft(); }), {"....", "...."});
    Row("snap right clear grid", {"....", "...."}, Op([](auto& B) { B.SnapRight(); }), {"....", "...."});
    Row("snap clear 1 wide", {".", "."}, Op([](auto& B) { B.SnapLeft(); }), {".", "."}, false);

    // clear leaves Modified alone
    Row("clear", {"A#", "r."}, Op([](auto& B) { B.Clear(); }), {"..", ".."}, false);
}

void tst_PixelBuffer::operations()
{
    QFETCH(QStringList, start);
    QFETCH(TOperation, operation);
    QFETCH(QStringList, expected);
    QFETCH(bool, modified);
    QFETCH(QString, refusal);

    TPixelBuffer B;
    FillFromText(B, start);
    QVERIFY(!B.Modified);
    const QString Refusal = operation(B);
    QCOMPARE(TextOf(B), expected);
    QCOMPARE(B.Modified, modified);
    QCOMPARE(Refusal, refusal);
}

void tst_PixelBuffer::twiceGivesBackTheStart_data()
{
    QTest::addColumn<TOperation>("operation");
    QTest::newRow("horiz mirror") << Op([](auto& B) { B.HorizMirror(); });
    QTest::newRow("vert mirror") << Op([](auto& B) { B.VertMirror(); });
    QTest::newRow("invert") << Op([](auto& B) { B.Invert(); });
}

void tst_PixelBuffer::twiceGivesBackTheStart()
{
    QFETCH(TOperation, operation);
    const QStringList Start{"#..r.", "A#.#.", "..##B", "#...#", ".#.#.", "..#..", "#####"};
    TPixelBuffer B;
    FillFromText(B, Start);
    operation(B);
    QVERIFY(TextOf(B) != Start);
    operation(B);
    QCOMPARE(TextOf(B), Start);
}

void tst_PixelBuffer::usedExtent()
{
    TPixelBuffer B;
    B.SetCellValue(3, 5, clInk);
    QCOMPARE(B.FirstUsedCol(), 3);
    QCOMPARE(B.LastUsedCol(), 3);
    QCOMPARE(B.FirstUsedRow(), 5);
    QCOMPARE(B.LastUsedRow(), 5);
    QCOMPARE(B.GetPixel(3, 5), 1);
    QCOMPARE(B.GetPixel(3, 4), 0);
    QVERIFY(!B.IsEmpty());

    // a 5 x 7 picture: insert two columns left, delete them again
    const QStringList Pic{"#...#", ".#.#.", "..#..", "..#..", ".#.#.", "#...#", "#####"};
    FillFromText(B, Pic);
    B.InsertColsLeft(2);
    QCOMPARE(B.HorizCellCount(), 7);
    QCOMPARE(B.FirstUsedCol(), 2);
    QCOMPARE(B.LastUsedCol(), 6);
    QVERIFY(B.DeleteFirstCols(2).isEmpty());
    QCOMPARE(TextOf(B), Pic);
    QVERIFY(B.DeleteLastCols(4).isEmpty());
    QCOMPARE(B.HorizCellCount(), 1);

    // the background colour decides what counts as used
    B.SetBackgroundColor(clInk);
    QCOMPARE(B.GetPixel(0, 6), 0);
    QCOMPARE(B.GetPixel(0, 1), 1);
}

void tst_PixelBuffer::cellAccessIsBounded()
{
    TPixelBuffer B;
    try {
        (void)B.GetCellValue(8, 0);
        QFAIL("no exception");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), QString("Index (Row:8,Col:0) out of bounds in call to TPixelGrid.GetCellValue"));
    }
    try {
        B.SetCellValue(0, -1, 0);
        QFAIL("no exception");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), QString("Index (Row:0,Col:-1) out of bounds in call to TPixelGrid.SetCellValue"));
    }
    QVERIFY_THROWS_EXCEPTION(EDotwrightError, B.GetPixel(-1, 0));
    QVERIFY(B.IsEmpty());
}

void tst_PixelBuffer::bufferFromBuffer()
{
    TPixelBuffer B;
    FillFromText(B, {"AB", "CD"});
    B.BufferFromBuffer({}, 4, 4);
    QCOMPARE(TextOf(B), QStringList({"AB", "CD"}));
    try {
        B.BufferFromBuffer(std::vector<TColor>(15, 0), 4, 4);
        QFAIL("no exception");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), QString("Invalid Buffer Size in call to function TPixelGrid.BufferFromBuffer"));
    }
    QCOMPARE(TextOf(B), QStringList({"AB", "CD"}));
    QVERIFY(!B.Modified);
}

void tst_PixelBuffer::charExchange()
{
    TCharClass C(66, 5, 7);
    C.Fill(clClear);
    C.SetCellValue(4, 6, clInk);
    C.SetCellValue(1, 2, 0x0000FF);
    TPixelBuffer B;
    B.LoadFromChar(C);
    QCOMPARE(B.HorizCellCount(), 5);
    QCOMPARE(B.VertCellCount(), 7);
    QCOMPARE(B.GetCellValue(4, 6), clInk);
    QCOMPARE(B.GetCellValue(1, 2), 0x0000FF);

    TCharClass Out(9, 10, 10);
    B.SaveToChar(&Out);
    QCOMPARE(Out.Code, 9);
    QCOMPARE(Out.Width, 5);
    QCOMPARE(Out.Height, 7);
    QCOMPARE(Out.Cells, C.Cells);
    try {
        B.SaveToChar(nullptr);
        QFAIL("no exception");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), QString("Cannot save to nil char in TPixelGrid.SaveToChar"));
    }
}

void tst_PixelBuffer::countSetters()
{
    TPixelBuffer B;
    B.SetCellValue(1, 1, clInk);
    B.SetHorizCellCount(8);
    QCOMPARE(B.GetCellValue(1, 1), clInk); // the same count keeps the content
    B.SetHorizCellCount(6);
    QVERIFY(B.IsEmpty());
    QCOMPARE(B.Cells().size(), size_t(48));
    B.SetVertCellCount(0); // a degenerate count is clamped
    QCOMPARE(B.VertCellCount(), 1);
    B.SetDimensions(-3, 2);
    QCOMPARE(B.HorizCellCount(), 1);
    QCOMPARE(B.Cells().size(), size_t(2));
    QVERIFY(!B.Modified);
}

QTEST_GUILESS_MAIN(tst_PixelBuffer)
#include "tst_PixelBuffer.moc"
