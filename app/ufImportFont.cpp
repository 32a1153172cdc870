#include "ufImportFont.h"

#include "mbTBXGroupBox.h"
#include "mbTBXPanel.h"
#include "udmGlobal.h"
#include "ufNewFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

TfrmImportFont::TfrmImportFont(QWidget* Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("frmImportFont"));
    setWindowTitle(QStringLiteral("Import font"));
    setFixedSize(330, 299);

    FPanel = new TmbTBXPanel(this);
    FPanel->setObjectName(QStringLiteral("pnlMain"));
    FPanel->SetThemeBackground(true);
    FPanel->setGeometry(0, 0, 330, 299);

    auto* NameLabel = new QLabel(QStringLiteral("Font Name"), FPanel);
    NameLabel->setGeometry(16, 16, 64, 16);
    edtFontName = new QLineEdit(FPanel);
    edtFontName->setObjectName(QStringLiteral("edtFontName"));
    edtFontName->setGeometry(88, 13, 226, 22);

    auto* Range = new TmbTBXGroupBox(QStringLiteral(" Range  "), FPanel);
    Range->setObjectName(QStringLiteral("grpRange"));
    Range->setGeometry(16, 44, 298, 56);
    auto Spin = [&](const char* Name, int Left) {
        auto* S = new QSpinBox(Range);
        S->setObjectName(QString::fromLatin1(Name));
        S->setRange(0, 255);
        S->setGeometry(Left, 21, 64, 22);
        return S;
    };
    (new QLabel(QStringLiteral("From"), Range))->setGeometry(12, 24, 36, 16);
    edtRangeFrom = Spin("edtRangeFrom", 52);
    edtRangeFrom->setValue(32);
    (new QLabel(QStringLiteral("To "), Range))->setGeometry(152, 24, 36, 16);
    edtRangeTo = Spin("edtRangeTo", 192);
    edtRangeTo->setValue(126);

    auto* Optimize = new TmbTBXGroupBox(QStringLiteral("Optimize Imported Font "), FPanel);
    Optimize->setObjectName(QStringLiteral("grpOptimize"));
    Boxes.Create(Optimize, QPoint(12, 22), 24, 42);
    // Wide enough for the longest box text.
    const int W = std::max(330, Boxes.RightEdge() + 12 + 32);
    setFixedSize(W, 299);
    FPanel->setGeometry(0, 0, W, 299);
    edtFontName->setGeometry(88, 13, W - 104, 22);
    Range->setGeometry(16, 44, W - 32, 56);
    Optimize->setGeometry(16, 108, W - 32, 144);
    const int ButtonsLeft = (W - 159) / 2;

    btnOk = new QPushButton(dmGlobal().Icon(QStringLiteral("DlgOk")), QStringLiteral("&Ok"), FPanel);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(ButtonsLeft, 262, 75, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = new QPushButton(dmGlobal().Icon(QStringLiteral("DlgCancel")), QStringLiteral("&Cancel"), FPanel);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(ButtonsLeft + 84, 262, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmImportFont::done(int Result)
{
    if (Result == QDialog::Accepted &&
        !AcceptFontDialogValues(edtFontName->text(), edtRangeFrom->value(), edtRangeTo->value()))
        return;
    QDialog::done(Result);
}
