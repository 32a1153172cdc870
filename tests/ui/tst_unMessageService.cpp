// The message seam: the window a box belongs to, the shell open.
#include "unMessageService.h"

#include <QDialog>
#include <QMainWindow>
#include <QStandardPaths>
#include <QtTest>

class tst_unMessageService : public QObject {
    Q_OBJECT
private slots:
    void boxBelongsToTheAskingWindow_data();
    void boxBelongsToTheAskingWindow();
    void qtServiceInstalledOpensThroughTheDesktop();
};

// Right after a box closes no window is active: the next box still belongs
// to the main window, not to the screen.
void tst_unMessageService::boxBelongsToTheAskingWindow_data()
{
    QTest::addColumn<QString>("Shown"); // what is on the screen when the box is asked
    QTest::addColumn<QString>("Owner"); // objectName of the box's owner; empty: none
    QTest::newRow("nothing") << "" << "";
    QTest::newRow("main window, active") << "main active" << "main";
    QTest::newRow("main window, none active") << "main" << "main";
    QTest::newRow("modal dialog over it") << "main dialog" << "dialog";
}

void tst_unMessageService::boxBelongsToTheAskingWindow()
{
    QFETCH(QString, Shown);
    QFETCH(QString, Owner);
    QMainWindow Main;
    Main.setObjectName(QStringLiteral("main"));
    QDialog Dialog(&Main);
    Dialog.setObjectName(QStringLiteral("dialog"));
    if (Shown.contains(QStringLiteral("main"))) {
        Main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Main));
    }
    if (Shown.contains(QStringLiteral("active"))) {
        Main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Main));
    } else {
        QApplication::setActiveWindow(nullptr);
    }
    if (Shown.contains(QStringLiteral("dialog")))
        Dialog.open();
    TScriptedMessageService Script;
    SetMessageService(&Script);
    Script.Answer(TModalResult::mrOk);
    MessageService().MessageDlg(QStringLiteral("Asked"), TMsgDlgType::mtError, mbOK);
    SetMessageService(nullptr);
    QCOMPARE(Script.Asked.size(), 1);
    QCOMPARE(Script.Asked[0].Owner ? Script.Asked[0].Owner->objectName() : QString(), Owner);
}

// A Qt service installed as the opener must not come back to itself.
void tst_unMessageService::qtServiceInstalledOpensThroughTheDesktop()
{
    const QString True = QStandardPaths::findExecutable(QStringLiteral("true"));
    if (True.isEmpty())
        QSKIP("no true program");
    TQtMessageService Qt;
    SetMessageService(&Qt);
    QVERIFY(ShellExecuteAndWait(True, QString(), QString(), true, 1));
    QVERIFY(MessageService().Open(True, QString(), QString(), true));
    SetMessageService(nullptr);
}

QTEST_MAIN(tst_unMessageService)
#include "tst_unMessageService.moc"
