#pragma once
// Generated texts compared byte for byte with the files in tests/data/export.
#include <QFile>
#include <QTest>
#include <algorithm>

// A mismatch names the first differing line.
inline void CompareWithGolden(const QByteArray& Actual, const QString& FileName)
{
    QFile F(QStringLiteral(DW_TEST_DATA "/export/") + FileName);
    QVERIFY2(F.open(QIODevice::ReadOnly), qPrintable(F.fileName()));
    const QByteArray Expected = F.readAll();
    if (Actual == Expected)
        return;
    const QList<QByteArray> A = Actual.split('\n'), E = Expected.split('\n');
    for (qsizetype I = 0; I < std::max(A.size(), E.size()); ++I)
        if (A.value(I) != E.value(I))
            QFAIL(qPrintable(QStringLiteral("%1 line %2\n  actual:   [%3]\n  expected: [%4]")
                                 .arg(FileName)
                                 .arg(I + 1)
                                 .arg(QString::fromLatin1(A.value(I)), QString::fromLatin1(E.value(I)))));
    QFAIL("texts differ");
}
