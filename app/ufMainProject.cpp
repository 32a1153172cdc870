// The project commands: New, Import, Open and Save of a whole font, and the
// save questions asked before a project is replaced or the program ends.
#include "ufMain.h"

#include "ufImportFont.h"
#include "ufNewFont.h"
#include "unHelpers.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>

namespace {

const QString LcdFilter = QStringLiteral("GLCD Font files (*.lcd)|*.lcd");
const QString SaveErrorTitle = QStringLiteral("Error saving font");

// The extension from the last dot of the file's own name on, "" without one.
QString ExtractFileExt(const QString& Name)
{
    const QString File = QFileInfo(Name).fileName();
    const qsizetype Dot = File.lastIndexOf(QLatin1Char('.'));
    return Dot < 0 ? QString() : File.mid(Dot);
}

// The second line of the save error: why, without the model's own lead-in.
QString SaveFailureReason(const QString& Why)
{
    QString Reason = Why;
    if (Reason.startsWith(SaveErrorTitle)) {
        Reason = Reason.mid(SaveErrorTitle.size());
        while (Reason.startsWith(QLatin1Char(':')) || Reason.startsWith(QLatin1Char(' ')))
            Reason.remove(0, 1);
        if (Reason.startsWith(QStringLiteral("to ")))
            Reason.remove(0, 3);
    }
    if (Reason.isEmpty())
        Reason = QStringLiteral("A character of the range is missing or differs in size from the others.");
    return Reason;
}

unsigned StyleOf(const QFont& F)
{
    unsigned Style = 0;
    if (F.bold())
        Style |= TFontStyle::fsBold;
    if (F.italic())
        Style |= TFontStyle::fsItalic;
    if (F.underline())
        Style |= TFontStyle::fsUnderline;
    if (F.strikeOut())
        Style |= TFontStyle::fsStrikeOut;
    return Style;
}

// The size in points of a font the font dialog gave; a pixel size is taken at 96 dpi.
int PointsOf(const QFont& F)
{
    if (F.pointSize() > 0)
        return F.pointSize();
    return std::max(1, F.pixelSize() * 72 / 96);
}

} // namespace

// --- save questions ------------------------------------------------------------------

TModalResult TfrmMain::QuerySaveChanges()
{
    const TModalResult Char = QueryStoreCurrentChar();
    if (Char == TModalResult::mrCancel)
        return TModalResult::mrCancel;
    if (Char == TModalResult::mrYes)
        FUndoMgr->Clear();
    if (!FProjectModified)
        return TModalResult::mrYes;
    const TModalResult Answer =
        MessageService().MessageDlg(QStringLiteral("Current font project has been modified.\r\n"
                                                   "Do you want to save changes?"),
                                    TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    switch (Answer) {
    case TModalResult::mrYes:
        // Work that was not written is never given up for it. The character
        // was answered just now.
        return SaveFontProjectFile() ? TModalResult::mrYes : TModalResult::mrCancel;
    case TModalResult::mrNo:
        return TModalResult::mrNo;
    default:
        return TModalResult::mrCancel;
    }
}

// --- New ----------------------------------------------------------------------------

void TfrmMain::actNewFontProjectExecute()
{
    if (QuerySaveChanges() == TModalResult::mrCancel)
        return;
    TfrmNewFont Dialog(this);
    if (MessageService().ExecModal(&Dialog) != QDialog::Accepted)
        return;
    TBusyGuard Busy(*this);
    const QString Name = TrimControls(Dialog.edtFontName->text());
    auto Font = std::make_unique<TGLCDFont>(Name);
    Font->RangeFrom = Dialog.edtRangeFrom->value();
    Font->RangeTo = Dialog.edtRangeTo->value();
    Font->SetProportional(false);
    for (int Code = Font->RangeFrom; Code <= Font->RangeTo; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, Dialog.edtFontWidth->value(), Dialog.edtFontHeight->value());
        C->Fill(clClear);
        Font->SetChar(Code, std::move(C));
    }
    ShowProject(std::move(Font), true);
}

// --- Import -------------------------------------------------------------------------

void TfrmMain::actNewFontImportExecute()
{
    if (QuerySaveChanges() == TModalResult::mrCancel)
        return;
    QFont Chosen = FImportFont;
    if (!MessageService().ChooseFont(this, Chosen))
        return;
    FImportFont = Chosen;
    TfrmImportFont Dialog(this);
    Dialog.edtFontName->setText(Chosen.family());
    if (MessageService().ExecModal(&Dialog) != QDialog::Accepted)
        return;
    const int From = Dialog.edtRangeFrom->value(), To = Dialog.edtRangeTo->value();
    const int Points = PointsOf(Chosen);
    const unsigned Style = StyleOf(Chosen);

    // Measured before anything is replaced: Save could not write larger characters.
    const QSize Cell = TGLCDFont::ImportCellSize(Chosen.family(), Points, Style, From, To);
    if (Cell.width() > TGLCDFont::MaxCellSize || Cell.height() > TGLCDFont::MaxCellSize) {
        MessageService().MessageDlg(
            QStringLiteral("%1 at %2 points gives characters of %3 x %4 pixels; a font project holds "
                           "characters of at most %5 x %5 pixels.")
                .arg(Chosen.family())
                .arg(Points)
                .arg(Cell.width())
                .arg(Cell.height())
                .arg(TGLCDFont::MaxCellSize),
            TMsgDlgType::mtError, mbOK);
        return;
    }

    TBusyGuard Busy(*this);
    auto Font = std::make_unique<TGLCDFont>(Dialog.edtFontName->text());
    Font->ImportSystemFont(Chosen.family(), Points, Style, From, To);
    ShowProject(std::move(Font), true);
    const TOptimizeChoice Choice = Dialog.Boxes.Choice();
    if (Choice.Any())
        RemoveBlankMargins(Choice);
    FProjectModified = true;
    setWindowTitle(AppTitle);
}

// --- Open ---------------------------------------------------------------------------

void TfrmMain::actOpenFontProjectExecute()
{
    if (QuerySaveChanges() == TModalResult::mrCancel)
        return;
    const QString Name = MessageService().OpenFileName(this, LcdFilter, FOpenDir);
    if (Name.isEmpty())
        return;
    TBusyGuard Busy(*this);
    // Read into a font of its own: a file that fails leaves the open project as it was.
    auto Font = std::make_unique<TGLCDFont>(QString());
    QString Why;
    if (!Font->LoadFromFile(Name, &Why)) {
        MessageService().MessageDlg(Why, TMsgDlgType::mtError, mbOK);
        return;
    }
    FClipboardEmpty = true;
    FUndoMgr->Clear();
    ShowProject(std::move(Font), false);
    setWindowTitle(AppTitle + QStringLiteral(" - ") + QDir::toNativeSeparators(QFileInfo(Name).absoluteFilePath()));
}

// --- Save ---------------------------------------------------------------------------

bool TfrmMain::SaveFontProject()
{
    if (!FCurrentFont || QueryStoreCurrentChar() == TModalResult::mrCancel)
        return false;
    return SaveFontProjectFile();
}

bool TfrmMain::SaveFontProjectFile()
{
    if (!FCurrentFont)
        return false;
    QString Name = MessageService().SaveFileName(this, LcdFilter, FSaveDir);
    if (Name.isEmpty())
        return false;
    if (ExtractFileExt(Name).toUpper() != QStringLiteral(".LCD")) {
        Name += QStringLiteral(".lcd");
        if (!ConfirmReplaceCompletedName(Name))
            return false;
    }
    TBusyGuard Busy(*this);
    QString Why;
    if (!FCurrentFont->SaveToFile(Name, &Why)) {
        MessageService().MessageDlg(SaveErrorTitle + QLatin1Char('\n') + SaveFailureReason(Why),
                                    TMsgDlgType::mtError, mbOK);
        return false;
    }
    setWindowTitle(AppTitle + QStringLiteral(" - ") + QDir::toNativeSeparators(QFileInfo(Name).absoluteFilePath()));
    FProjectModified = false;
    return true;
}
