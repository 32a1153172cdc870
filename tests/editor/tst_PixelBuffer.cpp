#include <QtTest>
class tst_PixelBuffer : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_PixelBuffer)
#include "tst_PixelBuffer.moc"
