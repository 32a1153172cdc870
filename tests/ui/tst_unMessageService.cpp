// The message seam's shell open.
#include "unMessageService.h"

#include <QStandardPaths>
#include <QtTest>

class tst_unMessageService : public QObject {
    Q_OBJECT
private slots:
    void qtServiceInstalledOpensThroughTheDesktop();
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

QTEST_MAIN(tst_unMessageService)
#include "tst_unMessageService.moc"
