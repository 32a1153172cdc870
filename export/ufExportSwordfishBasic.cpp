#include "ufExportSwordfishBasic.h"

#include "unDialogControls.h"
#include "unHelpers.h"
#include "unMessageService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmExportSwordfishBasic::TfrmExportSwordfishBasic(QWidget* Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("frmExportSwordfishBasic"));
    setWindowTitle(QStringLiteral("Export for Swordfish Basic(TM)"));
    FPanel = FillWithThemedPanel(*this);
    auto* Main = new QVBoxLayout(FPanel);
    Main->setContentsMargins(10, 10, 10, 10);
    Main->setSpacing(6);

    auto* Names = new QGridLayout;
    edtFontName = NewNameEdit("edtFontName", QStringLiteral("Untitled"));
    AddLabelled(*Names, 0, 0, "lblFontName", QStringLiteral("Font Name"), edtFontName);
    chkAddModuleDecl = Named(new QCheckBox(QStringLiteral("Add module declaration")), "chkAddModuleDecl");
    Names->addWidget(chkAddModuleDecl, 1, 0, 1, 2);
    edtModuleName = NewNameEdit("edtModuleName");
    lblModuleName = AddLabelled(*Names, 2, 0, "lblModuleName", QStringLiteral("Module Name"), edtModuleName);
    Main->addLayout(Names);

    auto* grpbRange = NewThemedGroupBox(QStringLiteral(" Range "), "grpbRange");
    auto* RangeGrid = new QGridLayout(grpbRange);
    edtRangeFrom = NewRangeBox("edtRangeFrom", 32);
    edtRangeTo = NewRangeBox("edtRangeTo", 126);
    AddLabelled(*RangeGrid, 0, 0, "lblRangeFrom", QStringLiteral("From"), edtRangeFrom);
    AddLabelled(*RangeGrid, 0, 2, "lblRangeTo", QStringLiteral("To "), edtRangeTo);
    Main->addWidget(grpbRange);

    grpbFontSizeType = NewThemedGroupBox(QStringLiteral(" Font Size Type "), "grpbFontSizeType");
    auto* SizeType = new QHBoxLayout(grpbFontSizeType);
    rbFixedFontSize = Named(new QRadioButton(QStringLiteral("Fixed font size")), "rbFixedFontSize");
    rbProportionalFontSize =
        Named(new QRadioButton(QStringLiteral("Proportional font size")), "rbProportionalFontSize");
    rbProportionalFontSize->setChecked(true);
    SizeType->addWidget(rbFixedFontSize);
    SizeType->addWidget(rbProportionalFontSize);
    Main->addWidget(grpbFontSizeType);

    grpbTargetPage = NewThemedGroupBox(QStringLiteral(" Insert Exported Source in Swordfish IDE "), "grpbTargetPage");
    auto* Target = new QHBoxLayout(grpbTargetPage);
    auto* rbCurrentPage = Named(new QRadioButton(QStringLiteral("in CURRENT page")), "rbCurrentPage");
    auto* rbNewPage = Named(new QRadioButton(QStringLiteral("in a NEW page")), "rbNewPage");
    rbNewPage->setChecked(true);
    Target->addWidget(rbCurrentPage);
    Target->addWidget(rbNewPage);
    Main->addWidget(grpbTargetPage);
    Main->addStretch(1);

    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch(1);
    btnOk = NewButton("btnOk", QStringLiteral("&Ok"), "DlgOk");
    btnSave = NewButton("btnSave", QStringLiteral(" &Save   "), "DlgSaveToFile");
    btnCancel = NewButton("btnCancel", QStringLiteral("&Cancel"), "DlgCancel");
    btnOk->setDefault(true);
    btnSave->hide();
    Buttons->addWidget(btnOk);
    Buttons->addWidget(btnSave);
    Buttons->addWidget(btnCancel);
    Main->addLayout(Buttons);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // A tick set by code counts as a click too: the commands tick the box.
    connect(chkAddModuleDecl, &QCheckBox::toggled, this, [this] { chkAddModuleDeclClick(); });

    setFixedSize(317, 311);
    FormCreate();
    edtModuleName->setEnabled(false);
}

void TfrmExportSwordfishBasic::FormCreate() { ApplyUIFont(*this); }

void TfrmExportSwordfishBasic::chkAddModuleDeclClick()
{
    edtModuleName->setEnabled(chkAddModuleDecl->isChecked());
    const QString FontName = edtFontName->text().trimmed();
    if (edtModuleName->text().trimmed().isEmpty() && !FontName.isEmpty())
        edtModuleName->setText(SpacesToUnderscores(FontName) + QStringLiteral("Font"));
}

void TfrmExportSwordfishBasic::TntFormCloseQuery(bool& CanClose)
{
    // The file is Windows-1252: any other character would be written as "?".
    const QString File = QStringLiteral("an export file");
    auto Refuse = [&](const QString& Text) {
        MessageService().MessageDlg(Text, TMsgDlgType::mtError, mbOK);
        CanClose = false;
    };
    if (edtFontName->text().isEmpty())
        Refuse(QStringLiteral("You must give a NAME to the new font"));
    if (chkAddModuleDecl->isChecked()) {
        if (edtModuleName->text().isEmpty())
            Refuse(QStringLiteral("You must give a NAME to the MODULE or uncheck \"") + chkAddModuleDecl->text() +
                   QStringLiteral("\"."));
        else if (edtModuleName->text().contains(QLatin1Char(' ')))
            Refuse(QStringLiteral("MODULE NAME must not contains blanks"));
        else if (RefuseNonWin1252(QStringLiteral("module name"), edtModuleName->text(), File))
            CanClose = false;
    }
    // One of these at a time, after the checks above: an empty range would
    // write an empty table.
    if (CanClose && (RefuseNonWin1252(QStringLiteral("font name"), edtFontName->text(), File) ||
                     RefuseEmptyRange(edtRangeFrom->value(), edtRangeTo->value())))
        CanClose = false;
}

void TfrmExportSwordfishBasic::SetTargetCaptions(const QString& CompilerName)
{
    setWindowTitle(QStringLiteral("Export for %1 Basic(TM)").arg(CompilerName));
    grpbTargetPage->setTitle(QStringLiteral(" Insert Exported Source in %1 IDE ").arg(CompilerName));
}

void TfrmExportSwordfishBasic::SetExportTarget(std::uint8_t Target)
{
    switch (Target) {
    case etProton:
        SetTargetCaptions(QStringLiteral("Proton"));
        grpbFontSizeType->setEnabled(false);
        rbProportionalFontSize->setChecked(true);
        rbProportionalFontSize->setEnabled(false);
        rbFixedFontSize->setEnabled(false);
        chkAddModuleDecl->setText(QStringLiteral("Set font filename to"));
        break;
    case etSwordfish:
        SetTargetCaptions(QStringLiteral("Swordfish"));
        break;
    default:
        break;
    }
}

void TfrmExportSwordfishBasic::ShowSaveButton()
{
    btnOk->hide();
    btnOk->setDefault(false);
    btnSave->show();
    btnSave->setDefault(true);
}

void TfrmExportSwordfishBasic::done(int Result)
{
    if (Result == QDialog::Accepted) {
        bool CanClose = true;
        TntFormCloseQuery(CanClose);
        if (!CanClose)
            return;
    }
    QDialog::done(Result);
}
