#include "ufImportFont.h"

#include "mbTBXGroupBox.h"
#include "ufNewFont.h"
#include "unDialogControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

TfrmImportFont::TfrmImportFont(QWidget* Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("frmImportFont"));
    setWindowTitle(QStringLiteral("Import font"));
    setFixedSize(330, 299);

    FPanel = FillWithThemedPanel(*this, "pnlMain");

    auto* NameLabel = new QLabel(QStringLiteral("Font Name"), FPanel);
    NameLabel->setGeometry(16, 16, 64, 16);
    edtFontName = new QLineEdit(FPanel);
    edtFontName->setObjectName(QStringLiteral("edtFontName"));
    edtFontName->setGeometry(88, 13, 226, 22);

    auto* Range = new TmbTBXGroupBox(QStringLiteral(" Range  "), FPanel);
    Range->setObjectName(QStringLiteral("grpRange"));
    Range->setGeometry(16, 44, 298, 56);
    (new QLabel(QStringLiteral("From"), Range))->setGeometry(12, 24, 36, 16);
    edtRangeFrom = CreateSpin(Range, "edtRangeFrom", 0, 255, 32, QRect(52, 21, 64, 22));
    (new QLabel(QStringLiteral("To "), Range))->setGeometry(152, 24, 36, 16);
    edtRangeTo = CreateSpin(Range, "edtRangeTo", 0, 255, 126, QRect(192, 21, 64, 22));

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

    CreateOkCancel(this, FPanel, ButtonsLeft, 262, 84, btnOk, btnCancel);
}

void TfrmImportFont::done(int Result)
{
    if (Result == QDialog::Accepted &&
        !AcceptFontDialogValues(edtFontName->text(), edtRangeFrom->value(), edtRangeTo->value()))
        return;
    QDialog::done(Result);
}
