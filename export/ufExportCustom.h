#pragma once
// The custom export, not finished: it shows the options of a custom byte
// layout, and only its preview of how one sample value is formatted works.
#include <QAbstractSpinBox>
#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QsciScintilla;

// A spin box over 64-bit values: 32-bit samples reach 4294967295.
class TInt64SpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TInt64SpinBox(QWidget* Parent = nullptr);

    qint64 value() const { return FValue; }
    void setValue(qint64 Value);
    qint64 minimum() const { return FMinimum; }
    qint64 maximum() const { return FMaximum; }
    // The value is clamped into the new range.
    void setRange(qint64 Minimum, qint64 Maximum);
    void setMaximum(qint64 Maximum) { setRange(qMin(FMinimum, Maximum), Maximum); }

    void stepBy(int Steps) override;
    QValidator::State validate(QString& Input, int& Pos) const override;
    void fixup(QString& Input) const override;

signals:
    void valueChanged(qint64 Value);

protected:
    StepEnabled stepEnabled() const override;

private:
    void TextEdited(const QString& Text);

    qint64 FMinimum = 0;
    qint64 FMaximum = 99;
    qint64 FValue = 0;
};

class TfrmExportCustom : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExportCustom(QWidget* Parent = nullptr);

    void FormCreate();
    void UpdateSampleResult();
    // Prefix, the value in the chosen radix and data size, suffix.
    QString FormatSampleValue(qint64 Value) const;
    // Bits 4, 8, 16 or 32: the sample's maximum becomes 2^Bits - 1.
    void SetDataSize(int Bits);
    // The checked data size in bits.
    int DataSize() const;

    QTabWidget* pgcMain = nullptr;
    QLineEdit* edtFontName = nullptr;
    QSpinBox* edtRangeFrom = nullptr;
    QSpinBox* edtRangeTo = nullptr;
    QComboBox* cbRadix = nullptr;
    QLineEdit* edtDataPrefix = nullptr;
    QLineEdit* edtDataSuffix = nullptr;
    TInt64SpinBox* edtSampleData = nullptr;
    QLineEdit* edtResultFormat = nullptr;
    QRadioButton* rbDataSize4Bits = nullptr;
    QRadioButton* rbDataSize8Bits = nullptr;
    QRadioButton* rbDataSize16Bits = nullptr;
    QRadioButton* rbDataSize32Bits = nullptr;
    QsciScintilla* SynEditSrc = nullptr;
};
