#include "unMessageService.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>

namespace {

TQtMessageService& QtService()
{
    static TQtMessageService Service;
    return Service;
}

TMessageService* Installed = nullptr;

// "GLCD Font files (*.lcd)|*.lcd" -> "GLCD Font files (*.lcd)": the pattern part goes.
QString QtFilter(const QString& Filter)
{
    const QStringList Parts = Filter.split(QLatin1Char('|'));
    QStringList Names;
    for (int I = 0; I < Parts.size(); I += 2)
        Names << Parts[I];
    return Names.join(QStringLiteral(";;"));
}

QString ButtonsText(TMsgDlgButtons Buttons)
{
    QStringList L;
    if (Buttons & mbYes)
        L << QStringLiteral("Yes");
    if (Buttons & mbNo)
        L << QStringLiteral("No");
    if (Buttons & mbOK)
        L << QStringLiteral("OK");
    if (Buttons & mbCancel)
        L << QStringLiteral("Cancel");
    return L.join(QLatin1Char(','));
}

} // namespace

QString ModalResultName(TModalResult R)
{
    switch (R) {
    case TModalResult::mrOk: return QStringLiteral("OK");
    case TModalResult::mrCancel: return QStringLiteral("Cancel");
    case TModalResult::mrYes: return QStringLiteral("Yes");
    case TModalResult::mrNo: return QStringLiteral("No");
    case TModalResult::mrNone: break;
    }
    return QStringLiteral("None");
}

QString MsgDlgTypeName(TMsgDlgType Type)
{
    switch (Type) {
    case TMsgDlgType::mtWarning: return QStringLiteral("Warning");
    case TMsgDlgType::mtError: return QStringLiteral("Error");
    case TMsgDlgType::mtInformation: return QStringLiteral("Information");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("Confirm");
    }
    return {};
}

TMessageService& MessageService() { return Installed ? *Installed : QtService(); }

void SetMessageService(TMessageService* Service)
{
    Installed = Service;
    // Qt's service opens through the desktop opener itself.
    SetShellOpener(Service == &QtService() ? nullptr : Service);
}

// --- Qt ----------------------------------------------------------------------

TModalResult TQtMessageService::MessageDlg(const QString& Text, TMsgDlgType Type,
                                           TMsgDlgButtons Buttons)
{
    QMessageBox Box(QApplication::activeWindow());
    Box.setWindowTitle(MsgDlgTypeName(Type));
    Box.setText(Text);
    switch (Type) {
    case TMsgDlgType::mtWarning: Box.setIcon(QMessageBox::Warning); break;
    case TMsgDlgType::mtError: Box.setIcon(QMessageBox::Critical); break;
    case TMsgDlgType::mtInformation: Box.setIcon(QMessageBox::Information); break;
    case TMsgDlgType::mtConfirmation: Box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons Std;
    if (Buttons & mbYes)
        Std |= QMessageBox::Yes;
    if (Buttons & mbNo)
        Std |= QMessageBox::No;
    if (Buttons & mbOK)
        Std |= QMessageBox::Ok;
    if (Buttons & mbCancel)
        Std |= QMessageBox::Cancel;
    Box.setStandardButtons(Std ? Std : QMessageBox::Ok);
    switch (Box.exec()) {
    case QMessageBox::Yes: return TModalResult::mrYes;
    case QMessageBox::No: return TModalResult::mrNo;
    case QMessageBox::Ok: return TModalResult::mrOk;
    case QMessageBox::Cancel: return TModalResult::mrCancel;
    default: return TModalResult::mrNone;
    }
}

QString TQtMessageService::OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir)
{
    const QString Name = QFileDialog::getOpenFileName(Parent, QString(), Dir, QtFilter(Filter));
    if (!Name.isEmpty())
        Dir = QFileInfo(Name).absolutePath();
    return Name;
}

QString TQtMessageService::SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir)
{
    // Qt's dialog asks before overwriting by default.
    const QString Name = QFileDialog::getSaveFileName(Parent, QString(), Dir, QtFilter(Filter));
    if (!Name.isEmpty())
        Dir = QFileInfo(Name).absolutePath();
    return Name;
}

QString TQtMessageService::SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex,
                                               QString& Dir)
{
    const QStringList Names = QtFilter(Filter).split(QStringLiteral(";;"));
    QString Selected = Names.value(FilterIndex - 1);
    const QString Name = QFileDialog::getSaveFileName(Parent, QString(), Dir, QtFilter(Filter), &Selected);
    if (!Name.isEmpty()) {
        Dir = QFileInfo(Name).absolutePath();
        FilterIndex = int(Names.indexOf(Selected)) + 1;
    }
    return Name;
}

bool TQtMessageService::ChooseFont(QWidget* Parent, QFont& Font)
{
    bool Ok = false;
    const QFont Chosen = QFontDialog::getFont(&Ok, Font, Parent);
    if (Ok)
        Font = Chosen;
    return Ok;
}

int TQtMessageService::ExecModal(QDialog* Dialog) { return Dialog ? Dialog->exec() : QDialog::Rejected; }

bool TQtMessageService::Open(const QString& FileName, const QString& Params,
                             const QString& Directory, bool Wait)
{
    // Straight to the desktop: going through ShellExecuteAndWait would come
    // back here whenever this service is the installed opener.
    return DesktopShellOpener().Open(FileName, Params, Directory, Wait);
}

// --- scripted ----------------------------------------------------------------

TModalResult TScriptedMessageService::MessageDlg(const QString& Text, TMsgDlgType Type,
                                                 TMsgDlgButtons Buttons)
{
    const QString Line = MsgDlgTypeName(Type) + QStringLiteral(": ") + Text;
    Log << Line;
    if (FAnswers.empty()) {
        Unanswered << Line + QStringLiteral(" [") + ButtonsText(Buttons) + QLatin1Char(']');
        return (Buttons & mbCancel) ? TModalResult::mrCancel : TModalResult::mrNone;
    }
    const TModalResult R = FAnswers.front();
    FAnswers.pop_front();
    return R;
}

QString TScriptedMessageService::NextFile(const QString& Question, QString& Dir, int* FilterIndex)
{
    Log << Question;
    if (FFiles.empty()) {
        Unanswered << Question;
        return {};
    }
    const QString Name = FFiles.front();
    FFiles.pop_front();
    const int Filter = FFileFilters.front();
    FFileFilters.pop_front();
    if (FilterIndex && Filter > 0 && !Name.isEmpty())
        *FilterIndex = Filter;
    if (!Name.isEmpty())
        Dir = QFileInfo(Name).absolutePath();
    return Name;
}

QString TScriptedMessageService::OpenFileName(QWidget*, const QString& Filter, QString& Dir)
{
    return NextFile(QStringLiteral("open file: ") + Filter, Dir);
}

QString TScriptedMessageService::SaveFileName(QWidget*, const QString& Filter, QString& Dir)
{
    return NextFile(QStringLiteral("save file: ") + Filter, Dir);
}

QString TScriptedMessageService::SaveFileNameFiltered(QWidget*, const QString& Filter, int& FilterIndex,
                                                     QString& Dir)
{
    return NextFile(QStringLiteral("save file #%1: ").arg(FilterIndex) + Filter, Dir, &FilterIndex);
}

bool TScriptedMessageService::ChooseFont(QWidget*, QFont& Font)
{
    Log << QStringLiteral("font");
    if (FFonts.empty()) {
        Unanswered << Log.back();
        return false;
    }
    const std::optional<QFont> F = FFonts.front();
    FFonts.pop_front();
    if (!F)
        return false;
    Font = *F;
    return true;
}

int TScriptedMessageService::ExecModal(QDialog* Dialog)
{
    Log << QStringLiteral("dialog: ") + (Dialog ? Dialog->objectName() : QString());
    if (FDialogs.empty() || !Dialog) {
        Unanswered << Log.back();
        return QDialog::Rejected;
    }
    TDialogScript Script = std::move(FDialogs.front());
    FDialogs.pop_front();
    return Script(Dialog);
}

bool TScriptedMessageService::Open(const QString& FileName, const QString& Params,
                                   const QString& Directory, bool Wait)
{
    QString Line = QStringLiteral("shell: ") + FileName;
    if (!Params.isEmpty())
        Line += QStringLiteral(" params=") + Params;
    if (!Directory.isEmpty())
        Line += QStringLiteral(" dir=") + Directory;
    if (Wait)
        Line += QStringLiteral(" wait");
    Log << Line;
    return true;
}

bool ConfirmReplaceCompletedName(const QString& FileName)
{
    return !QFileInfo::exists(FileName) ||
           MessageService().MessageDlg(QDir::toNativeSeparators(FileName) +
                                           QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                                       TMsgDlgType::mtConfirmation, mbYes | mbNo) == TModalResult::mrYes;
}
