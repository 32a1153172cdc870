// The message seam: the window a box belongs to, the shell open.
#include "unMessageService.h"

#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class tst_unMessageService : public QObject {
    Q_OBJECT
private slots:
    void boxBelongsToTheAskingWindow();
    void qtServiceInstalledOpensThroughTheDesktop();
    void qtBoxShowsItsTextAsTyped();
    void longTextIsBounded();
    void qtBoxAsTheUserSeesIt_data();
    void qtBoxAsTheUserSeesIt();
    void replaceNeedsYes();
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

// What a box shows (its buttons in their order on screen, * the default) and what Return, Escape,
// the close button and the program ending under it answer ("stays": the box waits for an answer).
void tst_unMessageService::qtBoxAsTheUserSeesIt_data()
{
    QTest::addColumn<int>("Type");
    QTest::addColumn<uint>("Buttons");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QString>("Seen");
    QTest::addColumn<QStringList>("Answers");
    using enum TMsgDlgType;
    const QString Long = QStringLiteral("/folder").repeated(700);
    const QString Replace = QStringLiteral("/f.bas already exists.\r\nDo you want to replace it?");
    QTest::newRow("error, long") << int(mtError) << uint(mbOK) << Long
                                 << "Error|critical|" + Long.left(499) + QChar(0x2026) + Long.right(500) + "|OK*"
                                 << QStringList{"OK", "OK", "OK", "None"};
    QTest::newRow("warning") << int(mtWarning) << uint(mbOK | mbCancel) << "W" << "Warning|warning|W|OK*|Cancel"
                             << QStringList{"OK", "Cancel", "Cancel", "None"};
    QTest::newRow("information") << int(mtInformation) << uint(mbOK) << "I" << "Information|information|I|OK*"
                                 << QStringList{"OK", "OK", "OK", "None"};
    QTest::newRow("yes no") << int(mtConfirmation) << uint(mbYes | mbNo) << Replace
                            << "Confirm|question|" + Replace + "|&Yes*|&No"
                            << QStringList{"Yes", "stays", "stays", "None"};
    QTest::newRow("yes no cancel") << int(mtConfirmation) << uint(mbYes | mbNo | mbCancel) << "Q"
                                   << "Confirm|question|Q|&Yes*|&No|Cancel"
                                   << QStringList{"Yes", "Cancel", "Cancel", "None"};
}

void tst_unMessageService::qtBoxAsTheUserSeesIt()
{
    QFETCH(int, Type);
    QFETCH(uint, Buttons);
    QFETCH(QString, Text);
    QFETCH(QString, Seen);
    QFETCH(QStringList, Answers);
    TQtMessageService Qt;
    SetMessageService(&Qt);
    QString Shown;
    QStringList Got;
    for (int Way = 0; Way < 4; ++Way) {
        bool Stayed = false;
        QTimer::singleShot(0, [&] {
            auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(Box);
            QList<QPushButton*> Pushed = Box->findChildren<QPushButton*>();
            std::sort(Pushed.begin(), Pushed.end(), [](auto* A, auto* B) { return A->x() < B->x(); });
            const char* Icons[] = {"none", "information", "warning", "critical", "question"};
            Shown = Box->windowTitle() + '|' + Icons[Box->icon()] + '|' + Box->text();
            for (QPushButton* B : Pushed)
                Shown += '|' + B->text() + (B->isDefault() ? "*" : "");
            if (Way == 3)
                return QCoreApplication::exit();
            Way == 2 ? void(Box->close()) : QTest::keyClick(Box, Way ? Qt::Key_Escape : Qt::Key_Return);
            if ((Stayed = Box->isVisible()))
                Box->button(QMessageBox::No)->click();
        });
        const TModalResult R = MessageService().MessageDlg(Text, TMsgDlgType(Type), Buttons);
        Got << (Stayed ? QStringLiteral("stays") : ModalResultName(R));
    }
    // After the program's end no loop runs until the next exec: one more lets later boxes run.
    QTimer::singleShot(0, [] { QCoreApplication::exit(); });
    QCoreApplication::exec();
    SetMessageService(nullptr);
    QCOMPARE(Shown, Seen);
    QCOMPARE(Got, Answers);
}

// Only Yes replaces: a question that ends without an answer (None, as above) keeps the file.
void tst_unMessageService::replaceNeedsYes()
{
    QTemporaryDir Dir;
    const QString Name = Dir.filePath(QStringLiteral("out.bas"));
    TScriptedMessageService Script;
    SetMessageService(&Script);
    QList<bool> Got{ConfirmReplaceCompletedName(Name)}; // not asked about a missing file
    QFile Old(Name);
    QVERIFY(Old.open(QIODevice::WriteOnly));
    for (TModalResult R : {TModalResult::mrYes, TModalResult::mrNo, TModalResult::mrNone})
        Script.Answer(R), Got << ConfirmReplaceCompletedName(Name);
    SetMessageService(nullptr);
    QCOMPARE(Got, (QList<bool>{true, true, false, false}));
    QCOMPARE(Script.Log.size(), 3);
}

QTEST_MAIN(tst_unMessageService)
#include "tst_unMessageService.moc"
