#include "unMessageService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <memory>

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

// While a box is up the normal pointer shows over it: the busy pointer a
// window set for its work comes back when the box closes. Without a busy
// pointer nothing is set, so the box's own fields keep theirs.
class TArrowWhileAsking {
public:
    TArrowWhileAsking() : FPushed(QApplication::overrideCursor() != nullptr)
    {
        if (FPushed)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~TArrowWhileAsking()
    {
        if (FPushed)
            QApplication::restoreOverrideCursor();
    }
    TArrowWhileAsking(const TArrowWhileAsking&) = delete;
    TArrowWhileAsking& operator=(const TArrowWhileAsking&) = delete;

private:
    bool FPushed;
};

// A question answered only by Yes or No: neither Escape nor the close button
// may stand for an answer (the box would take No for them).
class TAnswerOnlyBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* Event) override
    {
        if (Event->matches(QKeySequence::Cancel))
            Event->accept();
        else
            QMessageBox::keyPressEvent(Event);
    }
    void closeEvent(QCloseEvent* Event) override { Event->ignore(); }
};

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

QWidget* AskingWindow()
{
    if (QWidget* W = QApplication::activeModalWidget())
        return W;
    if (QWidget* W = QApplication::activeWindow())
        return W;
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->isVisible() && qobject_cast<QMainWindow*>(W))
            return W;
    return nullptr;
}

// --- every service -----------------------------------------------------------

TModalResult TMessageService::MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons)
{
    TArrowWhileAsking Arrow;
    return AskMessage(AskingWindow(), ElidedText(Text, MaxMessageLength), Type, Buttons);
}

QString TMessageService::OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir)
{
    TArrowWhileAsking Arrow;
    return AskOpenFile(Parent ? Parent : AskingWindow(), Filter, Dir);
}

QString TMessageService::SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir)
{
    TArrowWhileAsking Arrow;
    return AskSaveFile(Parent ? Parent : AskingWindow(), Filter, Dir);
}

QString TMessageService::SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex,
                                              QString& Dir)
{
    TArrowWhileAsking Arrow;
    return AskSaveFileFiltered(Parent ? Parent : AskingWindow(), Filter, FilterIndex, Dir);
}

bool TMessageService::ChooseFont(QWidget* Parent, QFont& Font)
{
    TArrowWhileAsking Arrow;
    return AskFont(Parent ? Parent : AskingWindow(), Font);
}

int TMessageService::ExecModal(QDialog* Dialog)
{
    TArrowWhileAsking Arrow;
    return RunModal(Dialog);
}

// --- Qt ----------------------------------------------------------------------

TModalResult TQtMessageService::AskMessage(QWidget* Owner, const QString& Text, TMsgDlgType Type,
                                           TMsgDlgButtons Buttons)
{
    // Escape and the close button are Cancel where the box has one; a box of
    // Yes and No waits for one of them.
    const bool AnswerOnly = (Buttons & (mbYes | mbNo)) == (mbYes | mbNo) && !(Buttons & mbCancel);
    std::unique_ptr<QMessageBox> Owned = AnswerOnly ? std::make_unique<TAnswerOnlyBox>(Owner)
                                                    : std::make_unique<QMessageBox>(Owner);
    QMessageBox& Box = *Owned;
    if (AnswerOnly)
        Box.setWindowFlags((Box.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                           ~Qt::WindowCloseButtonHint);
    Box.setWindowTitle(MsgDlgTypeName(Type));
    // Texts carry file and font names as the user typed them: never markup.
    Box.setTextFormat(Qt::PlainText);
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

QString TQtMessageService::AskOpenFile(QWidget* Owner, const QString& Filter, QString& Dir)
{
    const QString Name = QFileDialog::getOpenFileName(Owner, QString(), Dir, QtFilter(Filter));
    if (!Name.isEmpty())
        Dir = QFileInfo(Name).absolutePath();
    return Name;
}

QString TQtMessageService::AskSaveFile(QWidget* Owner, const QString& Filter, QString& Dir)
{
    // Qt's dialog asks before overwriting by default.
    const QString Name = QFileDialog::getSaveFileName(Owner, QString(), Dir, QtFilter(Filter));
    if (!Name.isEmpty())
        Dir = QFileInfo(Name).absolutePath();
    return Name;
}

QString TQtMessageService::AskSaveFileFiltered(QWidget* Owner, const QString& Filter, int& FilterIndex,
                                              QString& Dir)
{
    const QStringList Names = QtFilter(Filter).split(QStringLiteral(";;"));
    QString Selected = Names.value(FilterIndex - 1);
    const QString Name = QFileDialog::getSaveFileName(Owner, QString(), Dir, QtFilter(Filter), &Selected);
    if (!Name.isEmpty()) {
        Dir = QFileInfo(Name).absolutePath();
        FilterIndex = int(Names.indexOf(Selected)) + 1;
    }
    return Name;
}

bool TQtMessageService::AskFont(QWidget* Owner, QFont& Font)
{
    bool Ok = false;
    const QFont Chosen = QFontDialog::getFont(&Ok, Font, Owner);
    if (Ok)
        Font = Chosen;
    return Ok;
}

int TQtMessageService::RunModal(QDialog* Dialog) { return Dialog ? Dialog->exec() : QDialog::Rejected; }

bool TQtMessageService::Open(const QString& FileName, const QString& Params,
                             const QString& Directory, bool Wait)
{
    // Straight to the desktop: going through ShellExecuteAndWait would come
    // back here whenever this service is the installed opener.
    return DesktopShellOpener().Open(FileName, Params, Directory, Wait);
}

// --- scripted ----------------------------------------------------------------

void TScriptedMessageService::Record(const QString& Question, QWidget* Owner)
{
    Log << Question;
    const QCursor* Pointer = QApplication::overrideCursor();
    Asked.push_back({Owner, Pointer ? std::optional(Pointer->shape()) : std::nullopt});
}

TModalResult TScriptedMessageService::AskMessage(QWidget* Owner, const QString& Text, TMsgDlgType Type,
                                                 TMsgDlgButtons Buttons)
{
    const QString Line = MsgDlgTypeName(Type) + QStringLiteral(": ") + Text;
    Record(Line, Owner);
    if (FAnswers.empty()) {
        Unanswered << Line + QStringLiteral(" [") + ButtonsText(Buttons) + QLatin1Char(']');
        return (Buttons & mbCancel) ? TModalResult::mrCancel : TModalResult::mrNone;
    }
    const TModalResult R = FAnswers.front();
    FAnswers.pop_front();
    return R;
}

QString TScriptedMessageService::NextFile(const QString& Question, QWidget* Owner, QString& Dir,
                                          int* FilterIndex)
{
    Record(Question, Owner);
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

QString TScriptedMessageService::AskOpenFile(QWidget* Owner, const QString& Filter, QString& Dir)
{
    return NextFile(QStringLiteral("open file: ") + Filter, Owner, Dir);
}

QString TScriptedMessageService::AskSaveFile(QWidget* Owner, const QString& Filter, QString& Dir)
{
    return NextFile(QStringLiteral("save file: ") + Filter, Owner, Dir);
}

QString TScriptedMessageService::AskSaveFileFiltered(QWidget* Owner, const QString& Filter, int& FilterIndex,
                                                     QString& Dir)
{
    return NextFile(QStringLiteral("save file #%1: ").arg(FilterIndex) + Filter, Owner, Dir, &FilterIndex);
}

bool TScriptedMessageService::AskFont(QWidget* Owner, QFont& Font)
{
    Record(QStringLiteral("font"), Owner);
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

int TScriptedMessageService::RunModal(QDialog* Dialog)
{
    Record(QStringLiteral("dialog: ") + (Dialog ? Dialog->objectName() : QString()),
           Dialog ? Dialog->parentWidget() : nullptr);
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
    if (FShellAnswers.empty())
        return true;
    const bool Opened = FShellAnswers.front();
    FShellAnswers.pop_front();
    return Opened;
}

bool ConfirmReplaceCompletedName(const QString& FileName)
{
    return !QFileInfo::exists(FileName) ||
           MessageService().MessageDlg(QDir::toNativeSeparators(FileName) +
                                           QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                                       TMsgDlgType::mtConfirmation, mbYes | mbNo) == TModalResult::mrYes;
}
