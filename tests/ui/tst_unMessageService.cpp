// The message seam: the window a box belongs to, the shell open.
#include "unMessageService.h"

#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QStandardPaths>
#include <QtTest>

class tst_unMessageService : public QObject {
    Q_OBJECT
private slots:
    void boxBelongsToTheAskingWindow();
    void qtServiceInstalledOpensThroughTheDesktop();
    void qtBoxShowsItsTextAsTyped();
    void longTextIsBounded();
};

// Right after a box closes no window is active: the next box still belongs to the topmost window
// shown (none, the main window, a modal dialog over it), not to the screen.
void tst_unMessageService::boxBelongsToTheAskingWindow()
{
    for (int Shown = 0; Shown < 3; ++Shown) {
        QMainWindow Main;
        QDialog Dialog(&Main);
        Main.setVisible(Shown > 0);
        QVERIFY(Shown == 0 || QTest::qWaitForWindowExposed(&Main));
        QApplication::setActiveWindow(nullptr);
        if (Shown > 1)
            Dialog.open();
        TScriptedMessageService Script;
        SetMessageService(&Script);
        Script.Answer(TModalResult::mrOk);
        MessageService().MessageDlg(QStringLiteral("Asked"), TMsgDlgType::mtError, mbOK);
        SetMessageService(nullptr);
        QCOMPARE(Script.Asked.size(), 1);
        QCOMPARE(Script.Asked[0].Owner, (QList<QWidget*>{nullptr, &Main, &Dialog}[Shown]));
    }
}

// A Qt service installed as the opener must not come back to itself.
void tst_unMessageService::qtServiceInstalledOpensThroughTheDesktop()
{
    const QString True = QStandardPaths::findExecutable(QStringLiteral("true"));
    QVERIFY2(!True.isEmpty(), "no true program");
    TQtMessageService Qt;
    SetMessageService(&Qt);
    QVERIFY(ShellExecuteAndWait(True, QString(), QString(), true, 1));
    QVERIFY(MessageService().Open(True, QString(), QString(), true));
    SetMessageService(nullptr);
}

// A file or font name with tags in it is shown as typed, not formatted.
void tst_unMessageService::qtBoxShowsItsTextAsTyped()
{
    const QString Text = QStringLiteral("Error Saving file <b>x</b><img src=\"a.png\">.lcd.");
    QString Shown;
    QTimer::singleShot(0, [&] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(Box);
        for (QLabel* L : Box->findChildren<QLabel*>())
            if (L->text() == Text && L->textFormat() == Qt::PlainText)
                Shown = L->text();
        Box->accept();
    });
    TQtMessageService Qt;
    SetMessageService(&Qt);
    MessageService().MessageDlg(Text, TMsgDlgType::mtError, mbOK);
    SetMessageService(nullptr);
    QCOMPARE(Shown, Text);
}

// No text from a file can make a box huge: what is longer is shown with its middle elided.
void tst_unMessageService::longTextIsBounded()
{
    TScriptedMessageService Script;
    SetMessageService(&Script);
    Script.Answer(TModalResult::mrOk);
    MessageService().MessageDlg("Box " + QString(50 << 20, u'n') + " end", TMsgDlgType::mtError, mbOK);
    SetMessageService(nullptr);
    QCOMPARE(Script.Log, QStringList("Error: Box " + QString(495, u'n') + QChar(0x2026) + QString(496, u'n') + " end"));
}

QTEST_MAIN(tst_unMessageService)
#include "tst_unMessageService.moc"
