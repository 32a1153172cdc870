#include <QtTest>
class tst_CharClasses : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_CharClasses)
#include "tst_CharClasses.moc"
