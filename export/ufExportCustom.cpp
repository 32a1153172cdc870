#include "ufExportCustom.h"

#include "unDialogControls.h"
#include "unHelpers.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

// --- TInt64SpinBox -----------------------------------------------------------

TInt64SpinBox::TInt64SpinBox(QWidget* Parent) : QAbstractSpinBox(Parent)
{
    lineEdit()->setText(QString::number(FValue));
    connect(lineEdit(), &QLineEdit::textEdited, this, &TInt64SpinBox::TextEdited);
}

void TInt64SpinBox::setValue(qint64 Value)
{
    Value = qBound(FMinimum, Value, FMaximum);
    const bool Changed = Value != FValue;
    FValue = Value;
    if (lineEdit()->text() != QString::number(Value))
        lineEdit()->setText(QString::number(Value));
    if (Changed)
        emit valueChanged(Value);
}

void TInt64SpinBox::setRange(qint64 Minimum, qint64 Maximum)
{
    FMinimum = Minimum;
    FMaximum = qMax(Minimum, Maximum);
    setValue(FValue);
}

void TInt64SpinBox::stepBy(int Steps)
{
    // Saturating: a step past either end stops there.
    const qint64 Room = Steps > 0 ? FMaximum - FValue : FValue - FMinimum;
    const qint64 Step = qMin<qint64>(qAbs(qint64(Steps)), Room);
    setValue(FValue + (Steps > 0 ? Step : -Step));
    selectAll();
}

QValidator::State TInt64SpinBox::validate(QString& Input, int&) const
{
    if (Input.isEmpty())
        return QValidator::Intermediate;
    bool Ok = false;
    const qint64 V = Input.toLongLong(&Ok);
    if (!Ok || (FMinimum >= 0 && Input.startsWith(QLatin1Char('-'))))
        return QValidator::Invalid;
    if (V > FMaximum)
        return QValidator::Invalid;
    return V < FMinimum ? QValidator::Intermediate : QValidator::Acceptable;
}

void TInt64SpinBox::fixup(QString& Input) const { Input = QString::number(FValue); }

QAbstractSpinBox::StepEnabled TInt64SpinBox::stepEnabled() const
{
    StepEnabled E;
    if (FValue > FMinimum)
        E |= StepDownEnabled;
    if (FValue < FMaximum)
        E |= StepUpEnabled;
    return E;
}

void TInt64SpinBox::TextEdited(const QString& Text)
{
    bool Ok = false;
    const qint64 V = Text.toLongLong(&Ok);
    if (Ok && V >= FMinimum && V <= FMaximum && V != FValue) {
        FValue = V;
        emit valueChanged(V);
    }
}

// --- TfrmExportCustom --------------------------------------------------------

namespace {

// A themed group of radio buttons in a row; the last one named is checked.
QGroupBox* RadioGroup(const char* Name, const QString& Caption,
                           std::initializer_list<std::pair<const char*, const char*>> Buttons,
                           const char* Checked, QList<QRadioButton*>* Made = nullptr)
{
    auto* G = NewThemedGroupBox(Caption, Name);
    auto* L = new QHBoxLayout(G);
    for (const auto& [ButtonName, Text] : Buttons) {
        auto* R = Named(new QRadioButton(QString::fromLatin1(Text)), ButtonName);
        R->setChecked(qstrcmp(ButtonName, Checked) == 0);
        L->addWidget(R);
        if (Made)
            *Made << R;
    }
    return G;
}

enum TRadix { rxBinary, rxOctal, rxDecimal, rxHexa };

} // namespace

TfrmExportCustom::TfrmExportCustom(QWidget* Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("frmExportCustom"));
    setWindowTitle(QStringLiteral("Custom Export Filter"));
    setSizeGripEnabled(true);
    auto* Panel = FillWithThemedPanel(*this);
    auto* Main = new QVBoxLayout(Panel);
    Main->setContentsMargins(8, 8, 8, 8);

    pgcMain = Named(new QTabWidget, "pgcMain");
    auto* Config = new QWidget;
    auto* Page = new QGridLayout(Config);

    auto* Fields = new QGridLayout;
    edtFontName = NewNameEdit("edtFontName", QStringLiteral("Untitled"));
    AddLabelled(*Fields, 0, 0, "lblFontName", QStringLiteral("Font Name"), edtFontName);
    edtRangeFrom = NewRangeBox("edtRangeFrom", 32);
    edtRangeTo = NewRangeBox("edtRangeTo", 126);
    AddLabelled(*Fields, 1, 0, "lblRangeFrom", QStringLiteral("From Char "), edtRangeFrom);
    AddLabelled(*Fields, 2, 0, "lblRangeTo", QStringLiteral("To Char "), edtRangeTo);
    cbRadix = Named(new QComboBox, "cbRadix");
    cbRadix->addItems({QStringLiteral("Binary"), QStringLiteral("Octal"), QStringLiteral("Decimal"),
                       QStringLiteral("Hexa")});
    cbRadix->setCurrentIndex(rxHexa);
    AddLabelled(*Fields, 3, 0, "lblRadix", QStringLiteral("Radix"), cbRadix);
    edtDataPrefix = Named(new QLineEdit(QStringLiteral("$")), "edtDataPrefix");
    AddLabelled(*Fields, 4, 0, "lblDataPrefix", QStringLiteral("Data Prefix"), edtDataPrefix);
    edtDataSuffix = Named(new QLineEdit, "edtDataSuffix");
    AddLabelled(*Fields, 5, 0, "lblDataSuffix", QStringLiteral("Data Suffix"), edtDataSuffix);
    edtSampleData = Named(new TInt64SpinBox, "edtSampleData");
    edtSampleData->setRange(0, 255);
    edtSampleData->setValue(32);
    AddLabelled(*Fields, 6, 0, "lblSampleData", QStringLiteral("Sample Data"), edtSampleData);
    edtResultFormat = Named(new QLineEdit, "edtResultFormat");
    edtResultFormat->setReadOnly(true);
    edtResultFormat->setAlignment(Qt::AlignCenter);
    QPalette Tip = edtResultFormat->palette();
    Tip.setColor(QPalette::Base, Tip.color(QPalette::ToolTipBase));
    Tip.setColor(QPalette::Text, Tip.color(QPalette::ToolTipText));
    edtResultFormat->setPalette(Tip);
    AddLabelled(*Fields, 7, 0, "lblResultFormat", QStringLiteral("Result :"), edtResultFormat);
    Page->addLayout(Fields, 0, 0);

    QList<QRadioButton*> Sizes;
    auto* Options = new QVBoxLayout;
    Options->addWidget(RadioGroup("grpbDataSize", QStringLiteral(" Data Size (Chunck size) "),
                                  {{"rbDataSize4Bits", "4 bits "},
                                   {"rbDataSize8Bits", "8 bits "},
                                   {"rbDataSize16Bits", "16 bits "},
                                   {"rbDataSize32Bits", "32 bits "}},
                                  "rbDataSize8Bits", &Sizes));
    Options->addWidget(RadioGroup("grpbBitsOrder", QStringLiteral(" Bits Order"),
                                  {{"rbMSBFirst", "MSB first"}, {"rbLSBFirst", "LSB first"}}, "rbLSBFirst"));
    Options->addWidget(RadioGroup("grpbScanDirection", QStringLiteral(" Scan Direction "),
                                  {{"rbScanAlongX", "along X"}, {"rbScanAlongY", "along Y"}}, "rbScanAlongY"));
    Options->addWidget(RadioGroup("grpbChunksOrientation", QStringLiteral(" Data Chuncks Orientation "),
                                  {{"rbChunksRows", "Rows"}, {"rbChunksColumns", "Columns"}}, "rbChunksColumns"));
    Options->addWidget(RadioGroup("grpbPackData", QStringLiteral(" Pack Data "),
                                  {{"rbPackYes", "Yes"}, {"rbPackNo", "No"}}, "rbPackNo"));
    Options->addStretch(1);
    Page->addLayout(Options, 0, 1);
    rbDataSize4Bits = Sizes[0];
    rbDataSize8Bits = Sizes[1];
    rbDataSize16Bits = Sizes[2];
    rbDataSize32Bits = Sizes[3];

    auto* pnlPicture = Named(new QFrame, "pnlPicture");
    pnlPicture->setFrameShape(QFrame::StyledPanel);
    pnlPicture->setMinimumHeight(90);
    auto* Picture = Named(new QLabel(pnlPicture), "imgPicture");
    (new QVBoxLayout(pnlPicture))->addWidget(Picture);
    Page->addWidget(pnlPicture, 1, 0, 1, 2);
    pgcMain->addTab(Config, QStringLiteral(" Custom Filter Configuration"));

    SynEditSrc = Named(new QsciScintilla, "SynEditSrc");
    QFont Mono(QStringLiteral("Courier New"), 10);
    Mono.setStyleHint(QFont::Monospace);
    SynEditSrc->setFont(Mono);
    pgcMain->addTab(SynEditSrc, QStringLiteral(" Source Code "));
    Main->addWidget(pgcMain, 1);

    // Save and Copy come with the finished module; only Close works.
    (void)AddSourceButtons(*this, *Main);

    connect(cbRadix, &QComboBox::currentIndexChanged, this, [this] { UpdateSampleResult(); });
    connect(edtDataPrefix, &QLineEdit::textChanged, this, [this] { UpdateSampleResult(); });
    connect(edtDataSuffix, &QLineEdit::textChanged, this, [this] { UpdateSampleResult(); });
    connect(edtSampleData, &TInt64SpinBox::valueChanged, this, [this] { UpdateSampleResult(); });
    const int Bits[] = {4, 8, 16, 32};
    for (int I = 0; I < 4; ++I)
        connect(Sizes[I], &QRadioButton::clicked, this, [this, B = Bits[I]] { SetDataSize(B); });

    FormCreate();
    resize(637, 521);
}

void TfrmExportCustom::FormCreate()
{
    ApplyUIFont(*this);
    // The result shows the defaults from the start.
    UpdateSampleResult();
}

int TfrmExportCustom::DataSize() const
{
    if (rbDataSize4Bits->isChecked())
        return 4;
    if (rbDataSize16Bits->isChecked())
        return 16;
    if (rbDataSize32Bits->isChecked())
        return 32;
    return 8;
}

QString TfrmExportCustom::FormatSampleValue(qint64 Value) const
{
    const int Size = DataSize();
    const quint64 Bits = quint64(Value) & ((quint64(1) << Size) - 1);
    QString Digits;
    switch (cbRadix->currentIndex()) {
    case rxBinary:
        Digits = Bits <= quint64(INT_MAX) ? IntToBin(int(Bits), Size)
                                          : QString::number(Bits, 2).rightJustified(Size, QLatin1Char('0'));
        break;
    case rxOctal:
        // As many octal digits as the data size can fill.
        Digits = QString::number(Bits, 8).rightJustified((Size + 2) / 3, QLatin1Char('0'));
        break;
    case rxDecimal:
        Digits = QString::number(Value);
        break;
    default:
        Digits = QString::number(Bits, 16).toUpper().rightJustified(Size / 4, QLatin1Char('0'));
        break;
    }
    return edtDataPrefix->text() + Digits + edtDataSuffix->text();
}

void TfrmExportCustom::UpdateSampleResult() { edtResultFormat->setText(FormatSampleValue(edtSampleData->value())); }

void TfrmExportCustom::SetDataSize(int Bits)
{
    edtSampleData->setMaximum((qint64(1) << Bits) - 1);
    UpdateSampleResult();
}
