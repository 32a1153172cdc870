#include <QtTest>
class tst_unUndoRedoMgr : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_unUndoRedoMgr)
#include "tst_unUndoRedoMgr.moc"
