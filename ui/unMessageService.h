#pragma once
// The one seam for everything modal the program shows or asks: message boxes,
// file dialogs, the font dialog, modal dialogs and the shell's open. The
// default answers through Qt; a test installs the scripted one and answers
// every question in order.
#include "unHelpers.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;

// Dialog results; mrNone is what a closed box without an answer gives.
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

QString ModalResultName(TModalResult R);

class TMessageService : public TShellOpener {
public:
    // One modal line with an icon and buttons; returns the button pressed.
    virtual TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) = 0;
    // Empty when cancelled. Dir is the folder to start in and receives the folder of the choice.
    virtual QString OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir) = 0;
    virtual QString SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir) = 0;
    // The same with the filter chosen: FilterIndex (from 1) is selected when
    // the dialog opens and receives the one in force when it closes.
    virtual QString SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex,
                                         QString& Dir) = 0;
    // Font starts as the last choice and receives the new one; false when cancelled.
    virtual bool ChooseFont(QWidget* Parent, QFont& Font) = 0;
    // Shows Dialog modally and returns its result code (QDialog::Accepted/Rejected).
    virtual int ExecModal(QDialog* Dialog) = 0;
};

// The service in use: Qt's unless one was installed. Never null.
TMessageService& MessageService();
// Installs Service (not owned; null restores Qt's) and makes it the shell opener too.
void SetMessageService(TMessageService* Service);

class TQtMessageService : public TMessageService {
public:
    TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) override;
    QString OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir) override;
    QString SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir) override;
    QString SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex,
                                 QString& Dir) override;
    bool ChooseFont(QWidget* Parent, QFont& Font) override;
    int ExecModal(QDialog* Dialog) override;
    bool Open(const QString& FileName, const QString& Params, const QString& Directory,
              bool Wait) override;
};

// Answers from a script, in order, and records every question as one line of
// Log: "<type>: <text>", "open file: <filter>", "save file: <filter>",
// "save file #<filter index>: <filter>", "font", "dialog: <objectName>",
// "shell: <file>". A question without a
// scripted answer is recorded under Unanswered and gets Cancel (or nothing).
class TScriptedMessageService : public TMessageService {
public:
    using TDialogScript = std::function<int(QDialog*)>;

    void Answer(TModalResult R) { FAnswers.push_back(R); }
    // FilterIndex 0 leaves the filter the caller selected.
    void AnswerFile(const QString& FileName, int FilterIndex = 0)
    {
        FFiles.push_back(FileName);
        FFileFilters.push_back(FilterIndex);
    }
    void AnswerFont(std::optional<QFont> Font) { FFonts.push_back(Font); }
    // The script may fill the dialog's controls and must return its result.
    void AnswerDialog(TDialogScript Script) { FDialogs.push_back(std::move(Script)); }

    QStringList Log;
    QStringList Unanswered;
    // True when every scripted answer was used.
    bool AllUsed() const
    {
        return FAnswers.empty() && FFiles.empty() && FFonts.empty() && FDialogs.empty();
    }

    TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) override;
    QString OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir) override;
    QString SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir) override;
    QString SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex,
                                 QString& Dir) override;
    bool ChooseFont(QWidget* Parent, QFont& Font) override;
    int ExecModal(QDialog* Dialog) override;
    bool Open(const QString& FileName, const QString& Params, const QString& Directory,
              bool Wait) override;

private:
    QString NextFile(const QString& Question, QString& Dir, int* FilterIndex = nullptr);

    std::deque<TModalResult> FAnswers;
    std::deque<QString> FFiles;
    std::deque<int> FFileFilters;
    std::deque<std::optional<QFont>> FFonts;
    std::deque<TDialogScript> FDialogs;
};

QString MsgDlgTypeName(TMsgDlgType Type);

// A name the program completed with an extension after the file dialog closed:
// the dialog asked about the name it was given, not about this one. True when
// the file does not exist or the user agrees to replace it.
bool ConfirmReplaceCompletedName(const QString& FileName);
