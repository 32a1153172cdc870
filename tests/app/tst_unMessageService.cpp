// The message seam's shell open and its save question with a filter.
#include "unMessageService.h"

#include <QStandardPaths>
#include <QtTest>

class tst_unMessageService : public QObject {
    Q_OBJECT
private slots:
    void qtServiceInstalledOpensThroughTheDesktop();
    void scriptedSaveReportsTheFilter();
};

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

void tst_unMessageService::scriptedSaveReportsTheFilter()
{
    TScriptedMessageService S;
    S.AnswerFile(QStringLiteral("/tmp/a"), 3);
    S.AnswerFile(QStringLiteral("/tmp/b"));
    S.AnswerFile(QString(), 2);
    QString Dir;
    int Index = 1;
    QCOMPARE(S.SaveFileNameFiltered(nullptr, QStringLiteral("A|*.a|B|*.b|C|*.c"), Index, Dir), QStringLiteral("/tmp/a"));
    QCOMPARE(Index, 3);
    QCOMPARE(S.SaveFileNameFiltered(nullptr, QStringLiteral("A|*.a"), Index, Dir), QStringLiteral("/tmp/b"));
    QCOMPARE(Index, 3); // no filter scripted: the caller's stays
    // A cancelled question leaves the index alone.
    QCOMPARE(S.SaveFileNameFiltered(nullptr, QStringLiteral("A|*.a"), Index, Dir), QString());
    QCOMPARE(Index, 3);
    QCOMPARE(S.Log, (QStringList{"save file #1: A|*.a|B|*.b|C|*.c", "save file #3: A|*.a", "save file #3: A|*.a"}));
}

QTEST_MAIN(tst_unMessageService)
#include "tst_unMessageService.moc"
