// The Swordfish and Proton options dialog: its checks on OK, the module name it
// fills in, and what the Proton target changes.
#include "ufExportSwordfishBasic.h"
#include "unMessageService.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class tst_ufExportSwordfishBasic : public QObject {
    Q_OBJECT
    TScriptedMessageService FMessages;

private slots:
    void init()
    {
        FMessages = TScriptedMessageService();
        SetMessageService(&FMessages);
    }
    void cleanup() { SetMessageService(nullptr); }

    void closeChecks_data();
    void closeChecks();
    void moduleBoxFillsTheName();
    void protonTarget();
};

void tst_ufExportSwordfishBasic::closeChecks_data()
{
    QTest::addColumn<int>("Target");
    QTest::addColumn<QString>("FontName");
    QTest::addColumn<bool>("Module");
    QTest::addColumn<QString>("ModuleName");
    QTest::addColumn<QStringList>("Errors");

    const QString NoFont = QStringLiteral("Error: You must give a NAME to the new font");
    const QString Blanks = QStringLiteral("Error: MODULE NAME must not contains blanks");
    QTest::newRow("all given") << 1 << "My Font" << true << "A_B" << QStringList();
    QTest::newRow("no module wanted") << 1 << "My Font" << false << "" << QStringList();
    QTest::newRow("blank name passes") << 1 << " " << false << "" << QStringList();
    QTest::newRow("both missing")
        << 1 << "" << true << ""
        << QStringList{NoFont, "Error: You must give a NAME to the MODULE or uncheck \"Add module declaration\"."};
    QTest::newRow("inner blank") << 1 << "F" << true << "A B" << QStringList{Blanks};
    QTest::newRow("proton caption quoted")
        << 0 << "F" << true << "" << QStringList{"Error: You must give a NAME to the MODULE or uncheck \"Set font filename to\"."};
}

// Save and OK close only once every check passes; each complaint is its own box.
void tst_ufExportSwordfishBasic::closeChecks()
{
    QFETCH(int, Target);
    QFETCH(QString, FontName);
    QFETCH(bool, Module);
    QFETCH(QString, ModuleName);
    QFETCH(QStringList, Errors);

    for (const char* Button : {"btnOk", "btnSave"}) {
        FMessages.Log.clear();
        TfrmExportSwordfishBasic D;
        D.SetExportTarget(std::uint8_t(Target));
        D.ShowSaveButton();
        D.show();
        D.edtFontName->setText(FontName);
        D.chkAddModuleDecl->setChecked(Module);
        D.edtModuleName->setText(ModuleName);
        D.findChild<QPushButton*>(QString::fromLatin1(Button))->click();
        QCOMPARE(FMessages.Log, Errors);
        QCOMPARE(D.isVisible(), !Errors.isEmpty());
        QCOMPARE(D.result(), Errors.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
        // The input stays as it was.
        QCOMPARE(D.edtModuleName->text(), ModuleName);
    }
    // Cancel is never stopped.
    TfrmExportSwordfishBasic D;
    D.show();
    D.edtFontName->clear();
    D.btnCancel->click();
    QVERIFY(!D.isVisible());
    QCOMPARE(D.result(), int(QDialog::Rejected));
}

void tst_ufExportSwordfishBasic::moduleBoxFillsTheName()
{
    TfrmExportSwordfishBasic D;
    QVERIFY(!D.edtModuleName->isEnabled());
    D.edtFontName->setText(QStringLiteral(" My Font "));
    D.chkAddModuleDecl->click();
    QVERIFY(D.edtModuleName->isEnabled());
    QCOMPARE(D.edtModuleName->text(), QStringLiteral("My_FontFont"));
    D.chkAddModuleDecl->click();
    QVERIFY(!D.edtModuleName->isEnabled());
    QCOMPARE(D.edtModuleName->text(), QStringLiteral("My_FontFont"));
    // A name already typed is kept.
    D.edtModuleName->setText(QStringLiteral("Mine"));
    D.chkAddModuleDecl->click();
    QCOMPARE(D.edtModuleName->text(), QStringLiteral("Mine"));
}

void tst_ufExportSwordfishBasic::protonTarget()
{
    TfrmExportSwordfishBasic D;
    QCOMPARE(D.windowTitle(), QStringLiteral("Export for Swordfish Basic(TM)"));
    D.rbFixedFontSize->setChecked(true);
    D.SetExportTarget(TfrmExportSwordfishBasic::etProton);
    QCOMPARE(D.windowTitle(), QStringLiteral("Export for Proton Basic(TM)"));
    QCOMPARE(D.grpbTargetPage->title(), QStringLiteral(" Insert Exported Source in Proton IDE "));
    QCOMPARE(D.chkAddModuleDecl->text(), QStringLiteral("Set font filename to"));
    QVERIFY(D.rbProportionalFontSize->isChecked());
    QVERIFY(!D.rbProportionalFontSize->isEnabled() && !D.rbFixedFontSize->isEnabled());
    QVERIFY(!D.grpbFontSizeType->isEnabled());
    // An unknown target changes nothing.
    D.SetExportTarget(7);
    QCOMPARE(D.windowTitle(), QStringLiteral("Export for Proton Basic(TM)"));
}

QTEST_MAIN(tst_ufExportSwordfishBasic)
#include "tst_ufExportSwordfishBasic.moc"
