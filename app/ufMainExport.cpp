// The export and help commands of the main window: each export fills its dialog
// from the project, asks for the file, runs the filter and writes the text.
#include "ufMain.h"

#include "unExportFile.h"
#include "unExportFilters.h"
#include "unHelpers.h"
#include "ufExportCustom.h"
#include "ufExportMikroE.h"
#include "ufExportSwordfishBasic.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Proton's print command reaches 24 pixels, its large variant 32.
constexpr int ProtonPrintHeight = 24;
constexpr int ProtonMaxHeight = 32;

constexpr int SW_SHOWNORMAL = 1;

// The folder of the last export file, where the next save dialog starts.
QString ExportDir;

// Blanks made underscores and the letters a to z capitals, then the height.
QString ProtonFontName(const QString& Name, int Height)
{
    QString R = SpacesToUnderscores(Name);
    for (QChar& C : R)
        if (C >= QLatin1Char('a') && C <= QLatin1Char('z'))
            C = QChar(C.unicode() - 'a' + 'A');
    return R + QString::number(Height);
}

// Both range boxes offer only the codes that have a character, so an export
// never reaches a code the filters cannot read.
void HoldToFontRange(QSpinBox& From, QSpinBox& To, const TGLCDFont& Font)
{
    From.setRange(Font.RangeFrom, Font.RangeTo);
    To.setRange(Font.RangeFrom, Font.RangeTo);
    From.setValue(Font.RangeFrom);
    To.setValue(Font.RangeTo);
}

} // namespace

void TfrmMain::actExportSWFToFileExecute()
{
    // The export reads the font: the character on screen is answered first.
    if (!FCurrentFont || QueryStoreCurrentChar() == TModalResult::mrCancel)
        return;
    const TGLCDFont& Font = *FCurrentFont;
    TfrmExportSwordfishBasic Dialog(this);
    Dialog.ShowSaveButton();
    Dialog.chkAddModuleDecl->setChecked(true);
    Dialog.edtModuleName->setText(SpacesToUnderscores(TrimControls(Font.FontName)) + QStringLiteral("Font"));
    Dialog.grpbTargetPage->hide();
    Dialog.SetExportTarget(TfrmExportSwordfishBasic::etSwordfish);
    Dialog.edtFontName->setText(Font.FontName);
    HoldToFontRange(*Dialog.edtRangeFrom, *Dialog.edtRangeTo, Font);
    if (MessageService().ExecModal(&Dialog) != QDialog::Accepted)
        return;

    int FilterIndex = 1;
    QString FileName = MessageService().SaveFileNameFiltered(
        this, QStringLiteral("Swordfish font files (*.bas)|*.bas|Text files (*.txt)|*.txt|All files (*.*)|*.*"),
        FilterIndex, ExportDir);
    if (FileName.isEmpty())
        return;
    FileName = CompletedExportName(FileName, QStringLiteral(".bas"));
    if (FileName.isEmpty())
        return;

    TSwordfishBasicFilter Filter(&Font, Dialog.rbProportionalFontSize->isChecked(), Dialog.edtRangeFrom->value(),
                                 Dialog.edtRangeTo->value(), Dialog.edtFontName->text());
    TBusyGuard Busy(*this);
    QString Text = Filter.Execute();
    if (Dialog.chkAddModuleDecl->isChecked())
        Text = QStringLiteral("Module ") + Dialog.edtModuleName->text() + Crlf + Text;
    (void)SaveExportFile(FileName, Text);
}

void TfrmMain::actExportProtonToFileExecute()
{
    if (!FCurrentFont)
        return;
    const TGLCDFont& Font = *FCurrentFont;
    const int H = Font.GetHeight();
    if (H > ProtonMaxHeight) {
        MessageService().MessageDlg(QStringLiteral("Your font is %1 pixels height. Sorry but PROTON BASIC \r\n"
                                                   "does not handle fonts sizes larger than 32 Pixels height!")
                                        .arg(H),
                                    TMsgDlgType::mtError, mbOK);
        return;
    }
    if (H > ProtonPrintHeight)
        MessageService().MessageDlg(QStringLiteral("Standard PROTON BASIC PPrint command works up to \r\n"
                                                   "a maximum of 24 pixels height.\r\n"
                                                   "Your font exceeds that (%1 pixels height)! \r\n"
                                                   "Use \"PPrintLarge\" to extend the range to 32 pixels.")
                                        .arg(H),
                                    TMsgDlgType::mtWarning, mbOK);
    if (QueryStoreCurrentChar() == TModalResult::mrCancel)
        return;

    TfrmExportSwordfishBasic Dialog(this);
    Dialog.ShowSaveButton();
    Dialog.SetExportTarget(TfrmExportSwordfishBasic::etProton);
    Dialog.chkAddModuleDecl->setChecked(false);
    Dialog.chkAddModuleDecl->setEnabled(false);
    Dialog.edtModuleName->clear();
    Dialog.edtModuleName->setEnabled(false);
    Dialog.grpbTargetPage->hide();
    Dialog.edtFontName->setText(ProtonFontName(Font.FontName, H));
    HoldToFontRange(*Dialog.edtRangeFrom, *Dialog.edtRangeTo, Font);
    if (MessageService().ExecModal(&Dialog) != QDialog::Accepted)
        return;

    int FilterIndex = 1;
    QString FileName = MessageService().SaveFileNameFiltered(
        this,
        QStringLiteral("Proton font files (*.fnt)|*.fnt|Proton basic files (*.bas)|*.bas|Text files (*.txt)|*.txt|"
                       "All files (*.*)|*.*"),
        FilterIndex, ExportDir);
    if (FileName.isEmpty())
        return;
    const char* const Extensions[] = {".fnt", ".bas", ".txt"};
    FileName = CompletedExportName(
        FileName, QString::fromLatin1(FilterIndex >= 1 && FilterIndex <= 3 ? Extensions[FilterIndex - 1] : ".bas"));
    if (FileName.isEmpty())
        return;

    TProtonBasicFilter Filter(&Font, Dialog.rbProportionalFontSize->isChecked(), Dialog.edtRangeFrom->value(),
                              Dialog.edtRangeTo->value(), Dialog.edtFontName->text());
    TBusyGuard Busy(*this);
    (void)SaveExportFile(FileName, Filter.Execute());
}

void TfrmMain::actExportMikroEExecute()
{
    if (!FCurrentFont || QueryStoreCurrentChar() == TModalResult::mrCancel)
        return;
    const TGLCDFont& Font = *FCurrentFont;
    const int H = Font.GetHeight();
    TfrmMikroEExport Dialog(this);
    // The compilers' own library reads one byte per column.
    Dialog.lblWarnVornexLib->setVisible(H > 8);
    Dialog.ImgWarning->setVisible(H > 8);
    Dialog.rbMikroEGlcdLib->setEnabled(H <= 8);
    Dialog.edtFontName->setText(SpacesToUnderscores(Font.FontName) + Font.SizeTag());
    HoldToFontRange(*Dialog.edtRangeFrom, *Dialog.edtRangeTo, Font);
    Dialog.SetGlcdFont(&Font);
    Dialog.UpdatePreview();
    MessageService().ExecModal(&Dialog);
}

void TfrmMain::actExportCustomExecute()
{
    TfrmExportCustom Dialog(this);
    MessageService().MessageDlg(QStringLiteral("Sorry, this module is not finished yet !!!"), TMsgDlgType::mtWarning,
                                mbOK);
    MessageService().ExecModal(&Dialog);
}

QString TfrmMain::HelpFileNameFor(const QString& ProgramFile)
{
    QString Name = ProgramFile;
    if (Name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        Name.chop(4);
    return Name + QStringLiteral(".chm");
}

void TfrmMain::GetHelpFileName(QString& FileName) const
{
    FileName = HelpFileNameFor(QCoreApplication::applicationFilePath());
}

void TfrmMain::actHelpFileExecute()
{
    QString FileName;
    GetHelpFileName(FileName);
    if (!QFileInfo::exists(FileName)) {
        MessageService().MessageDlg(QStringLiteral("The help file was not found. It is looked for at") + Crlf +
                                        QDir::toNativeSeparators(FileName),
                                    TMsgDlgType::mtInformation, mbOK);
        return;
    }
    if (!ShellExecuteAndWait(FileName, QString(), QString(), false, SW_SHOWNORMAL))
        MessageService().MessageDlg(QStringLiteral("No program opens the help file. It is at") + Crlf +
                                        QDir::toNativeSeparators(FileName),
                                    TMsgDlgType::mtInformation, mbOK);
}
