#pragma once
// The one seam for everything modal the program shows or asks: message boxes,
// file dialogs, the font dialog, modal dialogs and the shell's open. The
// default answers through Qt; a test installs the scripted one and answers
// every question in order.
#include "unHelpers.h"

#include <QFont>
#include <QList>
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

// Dialog results; mrNone is what a closed box without an answer gives. A box
// of Yes and No without Cancel cannot be closed without an answer.
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

QString ModalResultName(TModalResult R);

// Every question is asked through the same steps, whichever service answers
// it: the box belongs to the window that asks (the given parent, else the
// asking window) and is centred on it, and while it is up the normal pointer
// shows instead of the busy one.
class TMessageService : public TShellOpener {
public:
    // Characters of a box's text: a longer text (one that quotes a file) is
    // shown with its middle elided.
    static constexpr qsizetype MaxMessageLength = 1000;
    // One modal line with an icon and buttons; returns the button pressed.
    TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons);
    // Empty when cancelled. Dir is the folder to start in and receives the folder of the choice.
    QString OpenFileName(QWidget* Parent, const QString& Filter, QString& Dir);
    QString SaveFileName(QWidget* Parent, const QString& Filter, QString& Dir);
    // The same with the filter chosen: FilterIndex (from 1) is selected when
    // the dialog opens and receives the one in force when it closes.
    QString SaveFileNameFiltered(QWidget* Parent, const QString& Filter, int& FilterIndex, QString& Dir);
    // Font starts as the last choice and receives the new one; false when cancelled.
    bool ChooseFont(QWidget* Parent, QFont& Font);
    // Shows Dialog modally and returns its result code (QDialog::Accepted/Rejected).
    int ExecModal(QDialog* Dialog);

protected:
    // The same questions, each with the window its box belongs to.
    virtual TModalResult AskMessage(QWidget* Owner, const QString& Text, TMsgDlgType Type,
                                    TMsgDlgButtons Buttons) = 0;
    virtual QString AskOpenFile(QWidget* Owner, const QString& Filter, QString& Dir) = 0;
    virtual QString AskSaveFile(QWidget* Owner, const QString& Filter, QString& Dir) = 0;
    virtual QString AskSaveFileFiltered(QWidget* Owner, const QString& Filter, int& FilterIndex,
                                        QString& Dir) = 0;
    virtual bool AskFont(QWidget* Owner, QFont& Font) = 0;
    virtual int RunModal(QDialog* Dialog) = 0;
};

// The window a box is centred on when the caller names none: the modal dialog
// or window in front, else the program's visible main window (no window is
// active for a moment after a box closes).
QWidget* AskingWindow();

// The service in use: Qt's unless one was installed. Never null.
TMessageService& MessageService();
// Installs Service (not owned; null restores Qt's) and makes it the shell opener too.
void SetMessageService(TMessageService* Service);

class TQtMessageService : public TMessageService {
public:
    bool Open(const QString& FileName, const QString& Params, const QString& Directory,
              bool Wait) override;

protected:
    TModalResult AskMessage(QWidget* Owner, const QString& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    QString AskOpenFile(QWidget* Owner, const QString& Filter, QString& Dir) override;
    QString AskSaveFile(QWidget* Owner, const QString& Filter, QString& Dir) override;
    QString AskSaveFileFiltered(QWidget* Owner, const QString& Filter, int& FilterIndex,
                                QString& Dir) override;
    bool AskFont(QWidget* Owner, QFont& Font) override;
    int RunModal(QDialog* Dialog) override;
};

// Answers from a script, in order, and records every question as one line of
// Log: "<type>: <text>", "open file: <filter>", "save file: <filter>",
// "save file #<filter index>: <filter>", "font", "dialog: <objectName>",
// "shell: <file>". A question without a
// scripted answer is recorded under Unanswered and gets Cancel (or nothing).
// Asked holds, for each question of Log but the shell's, the window its box
// belongs to and the pointer in force while it is asked.
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
    // Whether the next shell open finds a program; without one scripted it does.
    void AnswerShell(bool Opened) { FShellAnswers.push_back(Opened); }

    QStringList Log;
    QStringList Unanswered;
    struct TAsked {
        QWidget* Owner = nullptr;
        // The application's override pointer; none when no override is in force.
        std::optional<Qt::CursorShape> Pointer;
    };
    QList<TAsked> Asked;
    // True when every scripted answer was used.
    bool AllUsed() const
    {
        return FAnswers.empty() && FFiles.empty() && FFonts.empty() && FDialogs.empty() && FShellAnswers.empty();
    }

    bool Open(const QString& FileName, const QString& Params, const QString& Directory,
              bool Wait) override;

protected:
    TModalResult AskMessage(QWidget* Owner, const QString& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    QString AskOpenFile(QWidget* Owner, const QString& Filter, QString& Dir) override;
    QString AskSaveFile(QWidget* Owner, const QString& Filter, QString& Dir) override;
    QString AskSaveFileFiltered(QWidget* Owner, const QString& Filter, int& FilterIndex,
                                QString& Dir) override;
    bool AskFont(QWidget* Owner, QFont& Font) override;
    int RunModal(QDialog* Dialog) override;

private:
    void Record(const QString& Question, QWidget* Owner);
    QString NextFile(const QString& Question, QWidget* Owner, QString& Dir, int* FilterIndex = nullptr);

    std::deque<TModalResult> FAnswers;
    std::deque<QString> FFiles;
    std::deque<int> FFileFilters;
    std::deque<std::optional<QFont>> FFonts;
    std::deque<TDialogScript> FDialogs;
    std::deque<bool> FShellAnswers;
};

QString MsgDlgTypeName(TMsgDlgType Type);

// A name the program completed with an extension after the file dialog closed:
// the dialog asked about the name it was given, not about this one. True when
// the file does not exist or the user agrees to replace it.
bool ConfirmReplaceCompletedName(const QString& FileName);
