#include "PixelGrid.h"

#include <QtTest>

class tst_PixelGrid : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void mouseMapsToCells();
    void doubleClickCarriesDouble();
    void mouseOutsideTheGrid_data();
    void mouseOutsideTheGrid();
    void sizeFollowsCountsAndCellWidth();
    void paintsCellsGridAndBorder();
    void operationsRefreshThePreview();
    void deleteRefusalIsReturned();
    void viewerFreedBeforeTheGrid();
    void viewerGeometryAndColours();
    void viewerSettersRequestRepaintOnChange();
};

void tst_PixelGrid::defaults()
{
    TPixelGrid G;
    QCOMPARE(G.size(), QSize(160, 160));
    QCOMPARE(G.CellWidth(), 20);
    QCOMPARE(G.GridColor(), 0x808080);
    QCOMPARE(G.BackgroundColor(), 0xFFFFFF);
    QCOMPARE(G.BorderColor(), 0);
    QVERIFY(G.GridVisible());
    QVERIFY(G.BorderVisible());
    QVERIFY(!G.Modified());
    QVERIFY(G.IsEmpty());
    QCOMPARE(G.DownCol, 0);
    QCOMPARE(G.DownRow, 0);
}

void tst_PixelGrid::mouseMapsToCells()
{
    TPixelGrid G;
    G.SetCellWidth(15);
    QStringList Events;
    G.OnCellMouseDown = [&](TPixelGrid* S, Qt::MouseButton B, TShiftState Sh, int C, int R) {
        QCOMPARE(S, &G);
        Events << QString("down %1 %2 %3 ctrl=%4").arg(int(B)).arg(C).arg(R).arg((Sh & TShiftFlag::ssCtrl) ? "true" : "false");
    };
    G.OnCellMouseUp = [&](TPixelGrid*, Qt::MouseButton, TShiftState, int C, int R) {
        Events << QString("up %1 %2").arg(C).arg(R);
    };
    G.OnCellClick = [&](TPixelGrid*, int C, int R) { Events << QString("click %1 %2").arg(C).arg(R); };
    G.OnCellMouseMove = [&](TPixelGrid*, TShiftState Sh, int C, int R) {
        Events << QString("move %1 %2 shift=%3").arg(C).arg(R).arg((Sh & TShiftFlag::ssShift) ? "true" : "false");
    };

    QTest::mousePress(&G, Qt::LeftButton, Qt::ControlModifier, QPoint(29, 30));
    QTest::mouseRelease(&G, Qt::LeftButton, Qt::NoModifier, QPoint(16, 44));
    QTest::mouseRelease(&G, Qt::LeftButton, Qt::NoModifier, QPoint(16, 44));
    QMouseEvent Move(QEvent::MouseMove, QPointF(50, 5), QPointF(50, 5), Qt::NoButton, Qt::NoButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(&G, &Move);
    QTest::mousePress(&G, Qt::RightButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseRelease(&G, Qt::RightButton, Qt::NoModifier, QPoint(40, 1));

    QCOMPARE(Events, QStringList({"down 1 1 2 ctrl=true", "up 1 2", "click 1 2", "up 1 2",
                                  "move 3 0 shift=true", "down 2 0 0 ctrl=false", "up 2 0"}));
    // a mouse-up on another cell resets nothing
    QCOMPARE(G.DownCol, 0);
    QCOMPARE(G.DownRow, 0);
}

void tst_PixelGrid::doubleClickCarriesDouble()
{
    TPixelGrid G;
    QList<TShiftState> Seen;
    G.OnCellMouseDown = [&](TPixelGrid*, Qt::MouseButton, TShiftState Sh, int, int) { Seen << Sh; };
    const QPointF At(5, 5);
    QMouseEvent Press(QEvent::MouseButtonPress, At, At, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent Double(QEvent::MouseButtonDblClick, At, At, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&G, &Press);
    QApplication::sendEvent(&G, &Double);
    QCOMPARE(Seen, (QList<TShiftState>{TShiftFlag::ssLeft, TShiftFlag::ssLeft | TShiftFlag::ssDouble}));
}

void tst_PixelGrid::mouseOutsideTheGrid_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("col");
    QTest::newRow("just left truncates to 0") << -5 << 0;
    QTest::newRow("a cell left") << -20 << -1;
    QTest::newRow("right of the grid") << 8 * 15 + 1 << 8;
}

void tst_PixelGrid::mouseOutsideTheGrid()
{
    QFETCH(int, x);
    QFETCH(int, col);
    TPixelGrid G;
    G.SetCellWidth(15);
    int Seen = -99;
    G.OnCellMouseDown = [&](TPixelGrid*, Qt::MouseButton, TShiftState, int C, int) { Seen = C; };
    QTest::mousePress(&G, Qt::LeftButton, Qt::NoModifier, QPoint(x, 3));
    QCOMPARE(Seen, col);
}

void tst_PixelGrid::sizeFollowsCountsAndCellWidth()
{
    TPixelGrid G;
    G.SetCellWidth(15);
    TCharClass C(66, 5, 7);
    C.Fill(clClear);
    C.SetCellValue(2, 3, clInk);
    G.LoadFromChar(C);
    QCOMPARE(G.size(), QSize(75, 105));
    QCOMPARE(G.GetCellValue(2, 3), clInk);
    G.SetHorizCellCount(5);
    QCOMPARE(G.GetCellValue(2, 3), clInk); // same count keeps the content
    G.SetCellWidth(10);
    QCOMPARE(G.size(), QSize(50, 70));
    QCOMPARE(G.GetCellValue(2, 3), clInk); // cell width keeps the content
    G.SetCellWidth(0);
    QCOMPARE(G.CellWidth(), 1);
    G.SetHorizCellCount(6);
    QVERIFY(G.IsEmpty()); // another count clears
    QCOMPARE(G.size(), QSize(6, 7));
    G.InsertRowsTop(1);
    QCOMPARE(G.size(), QSize(6, 8));
}

void tst_PixelGrid::paintsCellsGridAndBorder()
{
    TPixelGrid G;
    G.SetCellWidth(10);
    G.SetDimensions(3, 2);
    G.SetCellValue(1, 1, 0x0000FF); // model red
    G.SetCellValue(2, 0, clInk);
    QImage Img = G.grab().toImage();
    QCOMPARE(Img.size(), QSize(30, 20));
    QCOMPARE(Img.pixel(15, 15), qRgb(255, 0, 0));
    QCOMPARE(Img.pixel(25, 5), qRgb(0, 0, 0));
    QCOMPARE(Img.pixel(5, 5), qRgb(255, 255, 255));
    QCOMPARE(Img.pixel(10, 5), qRgb(0x80, 0x80, 0x80)); // grid line at CellWidth * 1
    QCOMPARE(Img.pixel(5, 10), qRgb(0x80, 0x80, 0x80));
    QCOMPARE(Img.pixel(0, 5), qRgb(0, 0, 0)); // border
    QCOMPARE(Img.pixel(29, 19), qRgb(0, 0, 0));

    G.SetGridVisible(false);
    G.SetBorderVisible(false);
    Img = G.grab().toImage();
    QCOMPARE(Img.pixel(10, 5), qRgb(255, 255, 255));
    QCOMPARE(Img.pixel(0, 5), qRgb(255, 255, 255));
}

void tst_PixelGrid::operationsRefreshThePreview()
{
    TPixelGrid G;
    TSingleCharViewer V;
    G.SetDimensions(4, 1);
    G.SetCellValue(0, 0, clInk);
    G.SetCharViewer(&V);
    QCOMPARE(V.Char->Width, 4);
    QCOMPARE(V.Char->Cells, (std::vector<TColor>{clInk, clClear, clClear, clClear}));
    G.ScrollHoriz(1, true);
    QVERIFY(G.Modified());
    QCOMPARE(V.Char->Cells, (std::vector<TColor>{clClear, clInk, clClear, clClear}));
    G.InsertColsRight(2);
    QCOMPARE(V.Char->Width, 6);
    G.SetCellValue(5, 0, 0x123456);
    QCOMPARE(V.Char->GetCellValue(5, 0), 0x123456);
    G.SetModified(false);
    G.Clear();
    QVERIFY(!G.Modified());
    QCOMPARE(V.Char->Cells, std::vector<TColor>(6, clClear));
}

void tst_PixelGrid::deleteRefusalIsReturned()
{
    TPixelGrid G;
    TSingleCharViewer V;
    G.SetDimensions(5, 2);
    G.SetCellValue(4, 1, clInk);
    G.SetCharViewer(&V);
    const int Shown = V.RepaintRequests;
    QCOMPARE(G.DeleteLastCols(5), QString("Cannot delete more columns"));
    QCOMPARE(G.DeleteFirstRows(2), QString("Cannot delete more lines"));
    G.BufferFromBuffer({}, 3, 3);
    QCOMPARE(G.HorizCellCount(), 5);
    QVERIFY(!G.Modified());
    QCOMPARE(V.RepaintRequests, Shown); // nothing changed, nothing to show
    QCOMPARE(G.DeleteLastCols(4), QString());
    QCOMPARE(G.HorizCellCount(), 1);
    QCOMPARE(G.width(), 20);
    QVERIFY(G.Modified());
}

void tst_PixelGrid::viewerFreedBeforeTheGrid()
{
    TPixelGrid G;
    auto* V = new TSingleCharViewer;
    G.SetCharViewer(V);
    delete V;
    QCOMPARE(G.CharViewer(), nullptr);
    G.SetCellValue(0, 0, clInk); // must not reach the freed preview
    G.Invert();
    QCOMPARE(G.GetCellValue(0, 0), clClear);
}

void tst_PixelGrid::viewerGeometryAndColours()
{
    TSingleCharViewer V;
    QCOMPARE(V.size(), QSize(4, 4));
    QImage Img = V.PaintChar();
    QCOMPARE(Img.size(), QSize(4, 4));
    for (int X = 0; X < 4; ++X)
        for (int Y = 0; Y < 4; ++Y)
            QCOMPARE(Img.pixel(X, Y), qRgb(0, 0, 0)); // black frame round one black dot

    V.SetDotSize(3);
    V.SetPadding(1);
    V.SetBorderWidth(2);
    V.SetBackGroundColor(0x000000);
    V.SetActiveDotColor(0xFFFF33);
    V.SetInactiveDotColor(0x666600);
    V.SetBorderColor(0x000080);
    TCharClass C(0, 8, 8);
    C.Fill(clClear);
    C.SetCellValue(0, 0, 0x0000FF); // red counts as lit
    V.Char->SetWidth(8);
    V.Char->SetHeight(8);
    V.Char->Cells = C.Cells;
    V.CharChanged();
    QCOMPARE(V.size(), QSize(37, 37));
    Img = V.grab().toImage();
    QCOMPARE(Img.size(), QSize(37, 37));
    const QRgb Lit = qRgb(0x33, 0xFF, 0xFF), Unlit = qRgb(0x00, 0x66, 0x66);
    const QRgb Border = qRgb(0x80, 0, 0), Back = qRgb(0, 0, 0);
    QCOMPARE(Img.pixel(0, 0), Border);
    QCOMPARE(Img.pixel(1, 20), Border);
    QCOMPARE(Img.pixel(36, 36), Border);
    QCOMPARE(Img.pixel(2, 2), Back); // padding
    QCOMPARE(Img.pixel(3, 3), Lit);
    QCOMPARE(Img.pixel(5, 5), Lit);
    QCOMPARE(Img.pixel(6, 3), Back); // gap
    QCOMPARE(Img.pixel(7, 3), Unlit); // second dot
    QCOMPARE(Img.pixel(33, 33), Unlit); // last dot ends at 3 + 7 * 4 + 2
    QCOMPARE(Img.pixel(34, 34), Back);
}

void tst_PixelGrid::viewerSettersRequestRepaintOnChange()
{
    TSingleCharViewer V;
    const int Before = V.RepaintRequests;
    V.SetDotSize(2);
    V.SetBorderWidth(1);
    V.SetPadding(0);
    V.SetActiveDotColor(0);
    V.SetInactiveDotColor(0xFFFFFF);
    V.SetBackGroundColor(0xFFFFFF);
    V.SetBorderColor(0);
    QCOMPARE(V.RepaintRequests, Before);
    V.SetDotSize(4);
    QCOMPARE(V.RepaintRequests, Before + 1);
    QCOMPARE(V.size(), QSize(6, 6));
}

QTEST_MAIN(tst_PixelGrid)
#include "tst_PixelGrid.moc"
