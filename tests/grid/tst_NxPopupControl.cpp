#include "NxColumnClasses.h"
#include "NxPopupControl.h"
#include "NxScrollControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

class tst_NxPopupControl : public QObject {
    Q_OBJECT
private slots:
    void RollShadowCoversThePoint();
    void ArrowShapes_data();
    void ArrowShapes();
    void DragBoxFollowsThePointer();
    void RollScrollingShowsTheShadow();
};

void tst_NxPopupControl::RollShadowCoversThePoint()
{
    TRollShadow S;
    S.ShowAt({100, 100});
    QCOMPARE(S.pos(), QPoint(93, 89));
    QCOMPARE(S.size(), QSize(32, 32));
    QCOMPARE(S.Position(), QPoint(100, 100));
    // The dot's middle is the pressed point; the triangles lie above and below it.
    const QRegion M = S.mask();
    QVERIFY(M.contains(QPoint(7, 11)));
    QVERIFY(M.contains(QPoint(7, 3)));
    QVERIFY(M.contains(QPoint(6, 18)));
    QVERIFY(!M.contains(QPoint(20, 11)));
    QVERIFY(!M.contains(QPoint(1, 11)));
    QImage Img(32, 32, QImage::Format_RGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    P.setClipRegion(M);
    P.drawImage(0, 0, S.grab().toImage());
    P.end();
    if (qEnvironmentVariableIsSet("DW_GRID_PNG"))
        Img.scaled(128, 128).save(qEnvironmentVariable("DW_GRID_PNG") + "/RollShadow.png");
    QCOMPARE(Img.pixelColor(7, 11), S.palette().color(QPalette::Disabled, QPalette::Text));
}

// Direction; points inside and outside the arrow's shape.
void tst_NxPopupControl::ArrowShapes_data()
{
    QTest::addColumn<int>("Direction");
    QTest::addColumn<QPoint>("Inside");
    QTest::addColumn<QPoint>("Outside");
    QTest::newRow("up: tip at the top") << 1 << QPoint(4, 1) << QPoint(1, 8);
    QTest::newRow("down: tip at the bottom") << 2 << QPoint(4, 7) << QPoint(1, 1);
}

void tst_NxPopupControl::ArrowShapes()
{
    QFETCH(int, Direction);
    QFETCH(QPoint, Inside);
    QFETCH(QPoint, Outside);
    TDragArrow A;
    A.SetDirection(Direction);
    QVERIFY(A.mask().contains(Inside));
    QVERIFY(!A.mask().contains(Outside));
    QVERIFY(A.mask().contains(QPoint(4, 4)));
}

void tst_NxPopupControl::DragBoxFollowsThePointer()
{
    TNxGridLink Link;
    TColumnDragBox Box(&Link);
    TNxTextColumn C;
    C.Header().SetCaption("Width");
    Box.resize(80, 18);
    QStringList Seen;
    Box.OnMoving = [&](TColumnDragBox*, int X, int Y) { Seen << QString("move %1 %2").arg(X).arg(Y); };
    Box.OnDrop = [&](TColumnDragBox*, int X, int Y) { Seen << QString("drop %1 %2").arg(X).arg(Y); };
    Box.BeginDrag(200, 300, false, &C);
    QVERIFY(Box.isVisible());
    QVERIFY(!Box.Display().ShowSortMark);
    Box.DragMove({200, 300});
    // Centred over the pointer, its bottom edge 4 pixels below it.
    QCOMPARE(Box.pos(), QPoint(160, 286));
    // Only the left button drops.
    Box.DragRelease({210, 300}, Qt::RightButton);
    QVERIFY(Box.Dragging());
    Box.DragRelease({210, 300}, Qt::LeftButton);
    QVERIFY(!Box.isVisible());
    QCOMPARE(Seen, (QStringList{"move 200 300", "drop 210 300"}));
    QImage Img(80, 18, QImage::Format_RGB32);
    QPainter P(&Img);
    Box.PaintTo(P);
    P.end();
    QCOMPARE(Img.pixelColor(79, 5), QColor(Qt::black));
    QCOMPARE(Img.pixelColor(40, 17), QColor(Qt::black));
}

void tst_NxPopupControl::RollScrollingShowsTheShadow()
{
    TNxScrollControl S;
    S.resize(200, 200);
    S.show();
    QTest::mousePress(S.viewport(), Qt::MiddleButton, {}, QPoint(50, 60));
    QVERIFY(S.Rolling());
    QVERIFY(S.RollShadow()->isVisible());
    QCOMPARE(S.RollShadow()->Position(), S.viewport()->mapToGlobal(QPoint(50, 60)));
    QTest::mouseRelease(S.viewport(), Qt::MiddleButton, {}, QPoint(50, 60));
    QVERIFY(!S.RollShadow()->isVisible());
}

QTEST_MAIN(tst_NxPopupControl)
#include "tst_NxPopupControl.moc"
