// The custom export's one working part: the sample value formatted by radix,
// prefix, suffix and data size, and the sample held to the data size.
#include "ufExportCustom.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

class tst_ufExportCustom : public QObject {
    Q_OBJECT
private slots:
    void sampleResult_data();
    void sampleResult();
    void smallerSizeClampsTheSample();
    void sampleSpinBoxSteps();
};

void tst_ufExportCustom::sampleResult_data()
{
    QTest::addColumn<int>("Bits");
    QTest::addColumn<QString>("Radix");
    QTest::addColumn<QString>("Prefix");
    QTest::addColumn<QString>("Suffix");
    QTest::addColumn<qint64>("Sample");
    QTest::addColumn<QString>("Result");

    QTest::newRow("defaults") << 8 << "Hexa" << "$" << "" << qint64(32) << "$20";
    QTest::newRow("binary") << 8 << "Binary" << "$" << "" << qint64(32) << "$00100000";
    QTest::newRow("decimal") << 8 << "Decimal" << "$" << "" << qint64(32) << "$32";
    QTest::newRow("octal") << 8 << "Octal" << "0" << "" << qint64(8) << "0010";
    QTest::newRow("4 bits one digit") << 4 << "Hexa" << "" << "h" << qint64(9) << "9h";
    QTest::newRow("16 bits") << 16 << "Hexa" << "0x" << "" << qint64(1000) << "0x03E8";
    QTest::newRow("32 bits hexa") << 32 << "Hexa" << "$" << "" << qint64(4294967295) << "$FFFFFFFF";
    QTest::newRow("32 bits binary") << 32 << "Binary" << "" << "" << qint64(4294967295) << QString(32, '1');
    QTest::newRow("32 bits decimal") << 32 << "Decimal" << "" << "" << qint64(4294967295) << "4294967295";
}

void tst_ufExportCustom::sampleResult()
{
    QFETCH(int, Bits);
    QFETCH(QString, Radix);
    QFETCH(QString, Prefix);
    QFETCH(QString, Suffix);
    QFETCH(qint64, Sample);
    QFETCH(QString, Result);

    TfrmExportCustom D;
    QCOMPARE(D.edtResultFormat->text(), QStringLiteral("$20")); // shown from the start
    D.findChild<QRadioButton*>(QStringLiteral("rbDataSize%1Bits").arg(Bits))->click();
    D.cbRadix->setCurrentText(Radix);
    D.edtDataPrefix->setText(Prefix);
    D.edtDataSuffix->setText(Suffix);
    D.edtSampleData->setValue(Sample);
    QCOMPARE(D.edtSampleData->value(), Sample);
    QCOMPARE(D.edtResultFormat->text(), Result);
}

void tst_ufExportCustom::smallerSizeClampsTheSample()
{
    TfrmExportCustom D;
    D.rbDataSize16Bits->click();
    D.edtSampleData->setValue(1000);
    D.rbDataSize8Bits->click();
    QCOMPARE(D.edtSampleData->value(), qint64(255));
    QCOMPARE(D.edtResultFormat->text(), QStringLiteral("$FF"));
    D.rbDataSize32Bits->click();
    QCOMPARE(D.edtSampleData->maximum(), qint64(4294967295));
    QCOMPARE(D.edtSampleData->value(), qint64(255));
    D.rbDataSize4Bits->click();
    QCOMPARE(D.edtSampleData->value(), qint64(15));
    QCOMPARE(D.edtResultFormat->text(), QStringLiteral("$F"));
}

void tst_ufExportCustom::sampleSpinBoxSteps()
{
    TInt64SpinBox S;
    S.setRange(0, 4294967295);
    S.setValue(4294967294);
    S.stepBy(5);
    QCOMPARE(S.value(), qint64(4294967295));
    S.stepBy(-3);
    QCOMPARE(S.value(), qint64(4294967292));
    QString Typed = QStringLiteral("4294967296");
    int Pos = 0;
    QCOMPARE(S.validate(Typed, Pos), QValidator::Invalid);
    Typed = QStringLiteral("-1");
    QCOMPARE(S.validate(Typed, Pos), QValidator::Invalid);
}

QTEST_MAIN(tst_ufExportCustom)
#include "tst_ufExportCustom.moc"
