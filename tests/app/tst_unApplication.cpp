#include "DwError.h"
#include "unApplication.h"
#include "ufMain.h"
#include "unMessageService.h"
#include "NxCustomGridControl.h"
#include "../FullDisk.h"

#include <QProcess>
#include <QTemporaryDir>
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
        if (E->type() == QEvent::User + 2)
            throw std::bad_alloc();
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
        QCoreApplication::postEvent(&Target, new QEvent(QEvent::Type(QEvent::User + 2)));
        QCoreApplication::processEvents();
        QCOMPARE(FMessages.Log, (QStringList{"Error: File x.lcd does not exists.", "Error: plain failure",
                                             "Error: Not enough memory"}));
        // The grid catches errors in its own handlers and hands them on.
        ReportGridError(EDotwrightError(QStringLiteral("Cannot sort")));
        QCOMPARE(FMessages.Log.last(), QStringLiteral("Error: Cannot sort"));
    }

    void startUpShowsTheSplashBeforeTheMainWindow()
    {
        QTemporaryDir Config;
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        // The splash is up while it holds, and no main window exists yet.
        QStringList SeenDuringHold;
        QTimer::singleShot(30, [&] {
            for (QWidget* W : QApplication::topLevelWidgets())
                if (W->isVisible())
                    SeenDuringHold << W->objectName();
        });
        QElapsedTimer T;
        T.start();
        std::unique_ptr<TfrmMain> Main = ProgramMain(120);
        QVERIFY(T.elapsed() >= 120);
        QCOMPARE(SeenDuringHold, QStringList{"frmSplash"});
        QVERIFY(Main->isVisible());
        QCOMPARE(Main->windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        QApplication::processEvents();
        for (QWidget* W : QApplication::topLevelWidgets())
            QVERIFY2(W->objectName() != QStringLiteral("frmSplash") || !W->isVisible(), "splash still up");
        Main.reset();
        QVERIFY(FMessages.Log.isEmpty());
    }

    // The program ignores SIGXFSZ from its start: a save past the file size limit fails as a write.
    void programOutlivesTheFileSizeLimit()
    {
        QTemporaryDir Config;
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        QProcess Program;
        Program.start(QStringLiteral(DOTWRIGHT_EXE), {});
        QVERIFY(Program.waitForStarted(5000));
        QTRY_VERIFY(IgnoresFileSizeSignal(Program.processId()));
        Program.close(); // killed
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
