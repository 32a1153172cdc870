#include <QtTest>
class tst_unHelpers : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_unHelpers)
#include "tst_unHelpers.moc"
