#include "PixelGrid.h"
#include "unUndoRedoMgr.h"

#include <QtTest>

class tst_unUndoRedoMgr : public QObject {
    Q_OBJECT
private slots:
    void limitDropsTheOldest();
    void undoStepsBackToTheStart();
    void snapshotKeepsTheSize();
    void nullGridDoesNothing();
    void zeroLimitKeepsNothing();
};

void tst_unUndoRedoMgr::limitDropsTheOldest()
{
    TPixelGrid G;
    TUndoRedoMgr U(50);
    for (int I = 0; I < 51; ++I) {
        G.SetCellValue(0, 0, I);
        U.SaveState(&G);
    }
    QCOMPARE(U.Count(), 50);
    for (int I = 0; I < 50; ++I)
        U.Undo(&G);
    QCOMPARE(G.GetCellValue(0, 0), 1); // the snapshot of 0 is gone
    QCOMPARE(U.Count(), 0);
}

void tst_unUndoRedoMgr::undoStepsBackToTheStart()
{
    TPixelGrid G;
    G.SetDimensions(3, 1);
    G.SetCellValue(0, 0, clInk);
    TUndoRedoMgr U(50);
    U.SaveState(&G);
    G.ScrollHoriz(1, false);
    U.SaveState(&G);
    G.ScrollHoriz(1, false);
    G.SetModified(false);
    U.Undo(&G);
    QCOMPARE(G.GetCellValue(1, 0), clInk);
    QVERIFY(!G.Modified()); // the caller decides about it
    U.Undo(&G);
    QCOMPARE(G.GetCellValue(0, 0), clInk);
    QCOMPARE(U.Count(), 0);
    U.Undo(&G);
    QCOMPARE(G.GetCellValue(0, 0), clInk);
}

void tst_unUndoRedoMgr::snapshotKeepsTheSize()
{
    TPixelGrid G;
    G.SetDimensions(2, 2);
    G.SetCellValue(1, 1, 0x0000FF);
    TUndoRedoMgr U(50);
    U.SaveState(&G);
    G.InsertColsLeft(2);
    QCOMPARE(G.HorizCellCount(), 4);
    U.Undo(&G);
    QCOMPARE(G.HorizCellCount(), 2);
    QCOMPARE(G.GetCellValue(1, 1), 0x0000FF);
}

void tst_unUndoRedoMgr::nullGridDoesNothing()
{
    TUndoRedoMgr U(50);
    U.SaveState(nullptr);
    QCOMPARE(U.Count(), 0);
    U.Undo(nullptr);
    TPixelGrid G;
    U.SaveState(&G);
    U.Undo(nullptr);
    QCOMPARE(U.Count(), 1);
    U.Clear();
    QCOMPARE(U.Count(), 0);
}

void tst_unUndoRedoMgr::zeroLimitKeepsNothing()
{
    TPixelGrid G;
    TUndoRedoMgr U(0);
    U.SaveState(&G);
    U.SaveState(&G);
    QCOMPARE(U.Count(), 0);
}

QTEST_MAIN(tst_unUndoRedoMgr)
#include "tst_unUndoRedoMgr.moc"
