#include <QtTest>
class tst_PixelGrid : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_PixelGrid)
#include "tst_PixelGrid.moc"
