#include "DwError.h"
#include "unApplication.h"
#include "unMessageService.h"

#include <QtTest>

namespace {

class TThrowing : public QObject {
public:
    bool event(QEvent* E) override
    {
        if (E->type() == QEvent::User)
            throw EDotwrightError(QStringLiteral("File x.lcd does not exists."));
        if (E->type() == QEvent::User + 1)
            throw std::runtime_error("plain failure");
        return QObject::event(E);
    }
};

} // namespace

class tst_unApplication : public QObject {
    Q_OBJECT
    TScriptedMessageService FMessages;

private slots:
    void init()
    {
        FMessages = TScriptedMessageService();
        SetMessageService(&FMessages);
    }
    void cleanup() { SetMessageService(nullptr); }

    void exceptionsReachingTheLoopGoToTheErrorBox()
    {
        TThrowing Target;
        QCoreApplication::postEvent(&Target, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&Target, new QEvent(QEvent::Type(QEvent::User + 1)));
        QCoreApplication::processEvents();
        QCOMPARE(FMessages.Log, (QStringList{"Error: File x.lcd does not exists.", "Error: plain failure"}));
    }

    void scriptAnswersInOrderAndRecordsTheRest()
    {
        FMessages.Answer(TModalResult::mrYes);
        FMessages.AnswerFile(QStringLiteral("/tmp/a.lcd"));
        QCOMPARE(MessageService().MessageDlg("Save?", TMsgDlgType::mtConfirmation, mbYes | mbNo),
                 TModalResult::mrYes);
        QString Dir;
        QCOMPARE(MessageService().OpenFileName(nullptr, "GLCD Font files (*.lcd)|*.lcd", Dir),
                 QStringLiteral("/tmp/a.lcd"));
        QCOMPARE(Dir, QStringLiteral("/tmp"));
        QCOMPARE(MessageService().MessageDlg("Again?", TMsgDlgType::mtWarning, mbOK | mbCancel),
                 TModalResult::mrCancel);
        QVERIFY(ShellExecuteAndWait("mailto:a@b.example", "", "", false, 1));
        QCOMPARE(FMessages.Log, (QStringList{"Confirm: Save?", "open file: GLCD Font files (*.lcd)|*.lcd",
                                             "Warning: Again?", "shell: mailto:a@b.example"}));
        QCOMPARE(FMessages.Unanswered, QStringList{"Warning: Again? [OK,Cancel]"});
        FMessages.Unanswered.clear();
    }
};

int main(int argc, char** argv)
{
    TDwApplication App(argc, argv);
    tst_unApplication T;
    return QTest::qExec(&T, argc, argv);
}
#include "tst_unApplication.moc"
