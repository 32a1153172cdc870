// The export and help commands of the main window, driven on a project shown
// with ShowProject: what each dialog is filled with, the files written byte for
// byte, the file names, the Proton height checks and the help file.
#include "../FullDisk.h"
#include "../Golden.h"
#include "MainTestSupport.h"
#include "ufExportMikroE.h"
#include "ufExportSwordfishBasic.h"
#include "unHelpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every character inked in a pattern of its own, narrower by up to two columns.
std::unique_ptr<TGLCDFont> PatternFont(const QString& Name, int From, int To, int W, int H)
{
    auto F = MainTest::MakeFont(Name, From, To, W, H);
    for (int C = From; C <= To; ++C)
        for (int X = 0; X < W; ++X)
            for (int Y = 0; Y < H; ++Y)
                F->GetChar(C)->SetCellValue(X, Y, (X * 3 + Y * 5 + C) % 7 < 3 && X < W - C % 3 ? clInk : clClear);
    return F;
}

QByteArray ReadFile(const QString& Name)
{
    QFile F(Name);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

const QString SwordfishFilter = QStringLiteral("Swordfish font files (*.bas)|*.bas|Text files (*.txt)|*.txt|All files (*.*)|*.*");
const QString ProtonFilter = QStringLiteral("Proton font files (*.fnt)|*.fnt|Proton basic files (*.bas)|*.bas|"
                                            "Text files (*.txt)|*.txt|All files (*.*)|*.*");

template <class T> T* Child(QDialog* D, const char* Name)
{
    T* W = D->findChild<T*>(QString::fromLatin1(Name));
    if (!W)
        qFatal("no control %s", Name);
    return W;
}

} // namespace

class tst_ufMainExport : public QObject {
    Q_OBJECT

    QTemporaryDir FConfig;
    QTemporaryDir FOut;
    TScriptedMessageService FMessages;
    std::unique_ptr<TfrmMain> FMain;

    TfrmMain& WithProject(const QString& Name, int W, int H, int From = 32, int To = 126)
    {
        FMain = std::make_unique<TfrmMain>();
        FMain->show();
        FMain->ShowProject(PatternFont(Name, From, To, W, H), false);
        return *FMain;
    }
    QString Out(const QString& Name) const { return FOut.filePath(Name); }

private slots:
    void initTestCase()
    {
        QVERIFY(FConfig.isValid() && FOut.isValid());
        qputenv("XDG_CONFIG_HOME", FConfig.path().toLocal8Bit());
        SetMessageService(&FMessages);
    }
    void cleanupTestCase() { SetMessageService(nullptr); }
    void init() { FMessages = TScriptedMessageService(); }
    void cleanup()
    {
        if (FMain)
            QVERIFY(!FMain->Busy());
        FMain.reset();
        QVERIFY2(FMessages.Unanswered.isEmpty(), qPrintable(FMessages.Unanswered.join('\n')));
    }

    void swordfishExport_data();
    void swordfishExport();
    void failedWriteIsReported();
    void saveOntoFullDisk_data();
    void saveOntoFullDisk();
    void completedNameIsNotOverwrittenUnasked();
    void protonHeightChecks_data();
    void protonHeightChecks();
    void protonFileNames_data();
    void protonFileNames();
    void mikroEDialogFilledFromTheFont_data();
    void mikroEDialogFilledFromTheFont();
    void customExport();
    void helpFile();
    void editedCharacterAskedFirst_data();
    void editedCharacterAskedFirst();
    void namesAndRangesTheFileCannotHold();
};

void tst_ufMainExport::swordfishExport_data()
{
    QTest::addColumn<bool>("Proportional");
    QTest::addColumn<bool>("Module");
    QTest::addColumn<QString>("Answer");
    QTest::addColumn<QString>("Written");
    QTest::newRow("module, no extension") << true << true << "out" << "out.bas";
    QTest::newRow("fixed, text file") << false << false << "fixed.txt" << "fixed.txt";
    QTest::newRow("dot only") << true << false << "odd." << "odd.";
}

void tst_ufMainExport::swordfishExport()
{
    QFETCH(bool, Proportional);
    QFETCH(bool, Module);
    QFETCH(QString, Answer);
    QFETCH(QString, Written);

    TfrmMain& M = WithProject(QStringLiteral(" My Font "), 6, 9, 40, 100);
    FMessages.AnswerDialog([&](QDialog* D) {
        auto* S = qobject_cast<TfrmExportSwordfishBasic*>(D);
        if (!S)
            return int(QDialog::Rejected);
        [&] {
            QVERIFY(S->chkAddModuleDecl->isChecked() && S->edtModuleName->isEnabled());
            QCOMPARE(S->edtModuleName->text(), QStringLiteral("My_FontFont"));
            QCOMPARE(S->edtFontName->text(), QStringLiteral(" My Font "));
            QVERIFY(S->btnOk->isHidden() && !S->btnSave->isHidden() && S->grpbTargetPage->isHidden());
            QCOMPARE(S->windowTitle(), QStringLiteral("Export for Swordfish Basic(TM)"));
            // Both boxes are held to the project's codes.
            for (QSpinBox* B : {S->edtRangeFrom, S->edtRangeTo})
                QCOMPARE(std::pair(B->minimum(), B->maximum()), std::pair(40, 100));
            QCOMPARE(std::pair(S->edtRangeFrom->value(), S->edtRangeTo->value()), std::pair(40, 100));
            S->edtRangeTo->setValue(300);
            QCOMPARE(S->edtRangeTo->value(), 100);
        }();
        S->edtRangeFrom->setValue(60);
        S->edtRangeTo->setValue(70);
        (Proportional ? S->rbProportionalFontSize : S->rbFixedFontSize)->setChecked(true);
        S->chkAddModuleDecl->setChecked(Module);
        S->btnSave->click();
        return S->result();
    });
    FMessages.AnswerFile(Out(Answer));
    M.Action(QStringLiteral("actExportSWFToFile"))->trigger();

    QCOMPARE(FMessages.Log,
             (QStringList{"dialog: frmExportSwordfishBasic", QStringLiteral("save file #1: ") + SwordfishFilter}));
    const QByteArray Bytes = ReadFile(Out(Written));
    QCOMPARE(Bytes.startsWith("Module My_FontFont\r\n"), Module);
    CompareWithGolden(Bytes.mid(Module ? 20 : 0),
                      Proportional ? "window_swordfish_prop.txt" : "window_swordfish_fixed.txt");
}

void tst_ufMainExport::failedWriteIsReported()
{
    TfrmMain& M = WithProject(QStringLiteral("F"), 5, 7);
    FMessages.AnswerDialog([](QDialog* D) {
        Child<QPushButton>(D, "btnSave")->click();
        return D->result();
    });
    FMessages.AnswerFile(QStringLiteral("/nonexistent-folder/out"));
    FMessages.Answer(TModalResult::mrOk);
    M.Action(QStringLiteral("actExportSWFToFile"))->trigger();
    QCOMPARE(FMessages.Log.size(), 3);
    const QString Prefix = QStringLiteral("Error: Error Saving file /nonexistent-folder/out.bas.\r\n");
    QVERIFY2(FMessages.Log[2].startsWith(Prefix) && FMessages.Log[2].size() > Prefix.size(),
             qPrintable(FMessages.Log[2]));

    // Cancelling the dialog or the file question writes nothing.
    FMessages.AnswerDialog([](QDialog*) { return int(QDialog::Rejected); });
    FMessages.AnswerDialog([](QDialog* D) {
        Child<QPushButton>(D, "btnSave")->click();
        return D->result();
    });
    FMessages.AnswerFile(QString());
    M.Action(QStringLiteral("actExportSWFToFile"))->trigger();
    M.Action(QStringLiteral("actExportSWFToFile"))->trigger();
    QCOMPARE(FMessages.Log.size(), 6);
    QVERIFY(FMessages.AllUsed());
}

// A disk that fills during the project's Save or an export (the MikroElektronika dialog saves itself): the reason
// is shown, the old file, modified flag and caption stay. No control character of the name reaches an export.
void tst_ufMainExport::saveOntoFullDisk_data()
{
    QTest::addColumn<QString>("Action");
    QTest::addColumn<int>("Cell"); // 4: a file below 16 KiB, 24: above
    QTest::addColumn<int>("Percent"); // of the file that fits
    for (const char* Action : {"actSaveFontProject", "actExportSWFToFile", "actExportProtonToFile", "actExportMikroE"})
        for (int Cell : {4, 24})
            for (int Percent : {0, 50, 99, 100})
                QTest::addRow("%s, %d, %d%%", Action, Cell, Percent) << QString::fromLatin1(Action) << Cell << Percent;
}

void tst_ufMainExport::saveOntoFullDisk()
{
    QFETCH(QString, Action);
    QFETCH(int, Cell);
    QFETCH(int, Percent);
    const bool Project = Action == "actSaveFontProject";
    TfrmMain& M = WithProject(QStringLiteral("\tA\r\nB C\x01"), Cell, Cell, Cell == 4 ? 65 : 32, Cell == 4 ? 70 : 126);
    const QString Name = Out(QStringLiteral("full.lcd"));
    const qint64 Size = SaveOntoFullDisk(Name, Percent, [&](const QString& Target) {
        M.Action(QStringLiteral("actSaveModifiedChar"))->trigger(); // the project modified
        if (!Project)
            FMessages.AnswerDialog([](QDialog* D) { Child<QPushButton>(D, "btnSave")->click(); return D->result(); });
        FMessages.AnswerFile(Target);
        if (Target == Name && Percent < 100) FMessages.Answer(TModalResult::mrOk); // the error box
        M.Action(Action)->trigger();
    });
    QVERIFY(Size > 0 && FMessages.AllUsed());
    QCOMPARE(Size > 16384, Cell == 24);
    QCOMPARE(FMessages.Log.last().endsWith(Name + (Project ? ": " : ".\r\n") + TFileSizeLimit::Reason()), Percent < 100);
    QCOMPARE(M.ProjectModified(), !Project || Percent < 100);
    QCOMPARE(M.windowTitle().endsWith(Name), Project && Percent == 100);
    const QByteArray Lines = FileBytes(Out(QStringLiteral("probe-full.lcd"))).replace("\r\n", "");
    QVERIFY(Project || (Lines.contains(" AB_C") && std::none_of(Lines.begin(), Lines.end(), [](char C) { return uchar(C) < 32; })));
}

// "out" became "out.bas" after the file dialog closed: the dialog never asked about that file.
void tst_ufMainExport::completedNameIsNotOverwrittenUnasked()
{
    TfrmMain& M = WithProject(QStringLiteral("F"), 5, 7);
    const QString Name = FOut.filePath(QStringLiteral("out"));
    QFile Old(Name + QStringLiteral(".bas"));
    QVERIFY(Old.open(QIODevice::WriteOnly) && Old.write("old") == 3);
    Old.close();
    for (const TModalResult Answer : {TModalResult::mrNo, TModalResult::mrYes}) {
        FMessages.AnswerDialog([](QDialog* D) {
            Child<QPushButton>(D, "btnSave")->click();
            return D->result();
        });
        FMessages.AnswerFile(Name);
        FMessages.Answer(Answer);
        M.Action(QStringLiteral("actExportSWFToFile"))->trigger();
        QVERIFY(FMessages.Log.last().endsWith(QStringLiteral("out.bas already exists.\r\nDo you want to replace it?")));
        QCOMPARE(ReadFile(Name + QStringLiteral(".bas")) == "old", Answer == TModalResult::mrNo);
    }
}

void tst_ufMainExport::protonHeightChecks_data()
{
    QTest::addColumn<int>("Height");
    QTest::addColumn<QStringList>("Log");
    QTest::newRow("24") << 24 << QStringList{"dialog: frmExportSwordfishBasic"};
    QTest::newRow("25") << 25
                        << QStringList{"Warning: Standard PROTON BASIC PPrint command works up to \r\na maximum of 24 "
                                       "pixels height.\r\nYour font exceeds that (25 pixels height)! \r\nUse "
                                       "\"PPrintLarge\" to extend the range to 32 pixels.",
                                       "dialog: frmExportSwordfishBasic"};
    QTest::newRow("32") << 32
                        << QStringList{"Warning: Standard PROTON BASIC PPrint command works up to \r\na maximum of 24 "
                                       "pixels height.\r\nYour font exceeds that (32 pixels height)! \r\nUse "
                                       "\"PPrintLarge\" to extend the range to 32 pixels.",
                                       "dialog: frmExportSwordfishBasic"};
    QTest::newRow("33") << 33
                        << QStringList{"Error: Your font is 33 pixels height. Sorry but PROTON BASIC \r\ndoes not "
                                       "handle fonts sizes larger than 32 Pixels height!"};
}

void tst_ufMainExport::protonHeightChecks()
{
    QFETCH(int, Height);
    QFETCH(QStringList, Log);
    TfrmMain& M = WithProject(QStringLiteral("P"), 4, Height, 65, 66);
    if (Height > 24)
        FMessages.Answer(TModalResult::mrOk);
    if (Height <= 32)
        FMessages.AnswerDialog([](QDialog*) { return int(QDialog::Rejected); });
    M.Action(QStringLiteral("actExportProtonToFile"))->trigger();
    QCOMPARE(FMessages.Log, Log);
}

void tst_ufMainExport::protonFileNames_data()
{
    QTest::addColumn<int>("FilterIndex");
    QTest::addColumn<QString>("Answer");
    QTest::addColumn<QString>("Written");
    QTest::newRow("font files") << 1 << "font" << "font.fnt";
    QTest::newRow("basic files") << 2 << "font" << "font.bas";
    QTest::newRow("text files") << 3 << "font" << "font.txt";
    QTest::newRow("all files") << 4 << "font" << "font.bas";
    QTest::newRow("own extension") << 2 << "font.inc" << "font.inc";
    QTest::newRow("in a dotted.folder") << 1 << "font" << "font.fnt";
}

void tst_ufMainExport::protonFileNames()
{
    QFETCH(int, FilterIndex);
    QFETCH(QString, Answer);
    QFETCH(QString, Written);
    const QString Dir = Out(QString::fromLatin1(QTest::currentDataTag()).remove(' '));
    QVERIFY(QDir().mkpath(Dir));

    TfrmMain& M = WithProject(QStringLiteral("My font"), 5, 8, 30, 90);
    FMessages.AnswerDialog([](QDialog* D) {
        auto* S = qobject_cast<TfrmExportSwordfishBasic*>(D);
        [&] {
            QVERIFY(S);
            QCOMPARE(S->windowTitle(), QStringLiteral("Export for Proton Basic(TM)"));
            QCOMPARE(S->edtFontName->text(), QStringLiteral("MY_FONT8"));
            QVERIFY(!S->chkAddModuleDecl->isChecked() && !S->chkAddModuleDecl->isEnabled());
            QVERIFY(S->edtModuleName->text().isEmpty() && !S->edtModuleName->isEnabled());
            QVERIFY(S->rbProportionalFontSize->isChecked());
            QCOMPARE(std::pair(S->edtRangeFrom->minimum(), S->edtRangeTo->maximum()), std::pair(30, 90));
        }();
        if (!S)
            return int(QDialog::Rejected);
        S->btnSave->click();
        return S->result();
    });
    FMessages.AnswerFile(Dir + QLatin1Char('/') + Answer, FilterIndex);
    M.Action(QStringLiteral("actExportProtonToFile"))->trigger();
    QCOMPARE(FMessages.Log[1], QStringLiteral("save file #1: ") + ProtonFilter);
    CompareWithGolden(ReadFile(Dir + QLatin1Char('/') + Written), QStringLiteral("window_proton.txt"));
    QCOMPARE(QDir(Dir).entryList(QDir::Files), QStringList{Written});
}

void tst_ufMainExport::mikroEDialogFilledFromTheFont_data()
{
    QTest::addColumn<int>("Height");
    QTest::addColumn<bool>("Warned");
    QTest::newRow("12 high") << 12 << true;
    QTest::newRow("8 high") << 8 << false;
}

void tst_ufMainExport::mikroEDialogFilledFromTheFont()
{
    QFETCH(int, Height);
    QFETCH(bool, Warned);
    TfrmMain& M = WithProject(QStringLiteral("My Font"), 8, Height, 33, 99);
    QString Preview;
    FMessages.AnswerDialog([&](QDialog* D) {
        auto* E = qobject_cast<TfrmMikroEExport*>(D);
        if (!E)
            return int(QDialog::Rejected);
        [&] {
            QCOMPARE(E->lblWarnVornexLib->isHidden(), !Warned);
            QCOMPARE(E->ImgWarning->isHidden(), !Warned);
            QCOMPARE(E->rbMikroEGlcdLib->isEnabled(), !Warned);
            QCOMPARE(E->edtFontName->text(), QStringLiteral("My_Font8x%1").arg(Height));
            QCOMPARE(std::pair(E->edtRangeFrom->minimum(), E->edtRangeFrom->maximum()), std::pair(33, 99));
            QCOMPARE(std::pair(E->edtRangeTo->value(), E->edtRangeTo->maximum()), std::pair(99, 99));
        }();
        Preview = E->EditorText();
        E->btnCancel->click();
        return E->result();
    });
    M.Action(QStringLiteral("actExportMikroE"))->trigger();
    CompareWithGolden(ToWin1252(Preview), QStringLiteral("window_mikrobasic_8x%1.txt").arg(Height));
    QCOMPARE(FMessages.Log, QStringList{"dialog: frmMikroEExport"});
}

void tst_ufMainExport::customExport()
{
    TfrmMain& M = WithProject(QStringLiteral("C"), 5, 7);
    FMessages.Answer(TModalResult::mrOk);
    FMessages.AnswerDialog([](QDialog* D) { return D->objectName() == "frmExportCustom" ? 0 : 1; });
    M.Action(QStringLiteral("actExportCustom"))->trigger();
    QCOMPARE(FMessages.Log,
             (QStringList{"Warning: Sorry, this module is not finished yet !!!", "dialog: frmExportCustom"}));
}

void tst_ufMainExport::helpFile()
{
    QCOMPARE(TfrmMain::HelpFileNameFor(QStringLiteral("/opt/dw/Editor.EXE")), QStringLiteral("/opt/dw/Editor.chm"));
    QCOMPARE(TfrmMain::HelpFileNameFor(QStringLiteral("/opt/dw/Dotwright")), QStringLiteral("/opt/dw/Dotwright.chm"));
    QCOMPARE(TfrmMain::HelpFileNameFor(QStringLiteral("/opt/a.exe.d/prog")), QStringLiteral("/opt/a.exe.d/prog.chm"));

    FMain = std::make_unique<TfrmMain>();
    QString Help;
    FMain->GetHelpFileName(Help);
    QCOMPARE(Help, QCoreApplication::applicationFilePath() + QStringLiteral(".chm"));
    QVERIFY(!QFile::exists(Help));
    FMessages.Answer(TModalResult::mrOk);
    FMain->Action(QStringLiteral("actHelpFile"))->trigger();
    QFile Made(Help);
    QVERIFY(Made.open(QIODevice::WriteOnly));
    Made.close();
    FMain->Action(QStringLiteral("actHelpFile"))->trigger();
    FMessages.AnswerShell(false); // no program for the file
    FMessages.Answer(TModalResult::mrOk);
    FMain->Action(QStringLiteral("actHelpFile"))->trigger();
    QFile::remove(Help);
    QCOMPARE(FMessages.Log, (QStringList{"Information: The help file was not found. It is looked for at\r\n" + Help,
                                         "shell: " + Help, "shell: " + Help,
                                         "Information: No program opens the help file. It is at\r\n" + Help}));
}

// Save Font and each export read the font: the character on screen is asked about first, as a
// pass asks. Yes: the file has the edit; No: it lacks it, the editor keeps it; Cancel: nothing written.
void tst_ufMainExport::editedCharacterAskedFirst_data()
{
    QTest::addColumn<QString>("Action");
    QTest::addColumn<TModalResult>("Answer");
    for (const char* A : {"actSaveFontProject", "actExportSWFToFile", "actExportProtonToFile", "actExportMikroE"})
        for (TModalResult R : {TModalResult::mrYes, TModalResult::mrNo, TModalResult::mrCancel})
            QTest::addRow("%s, %s", A, qPrintable(ModalResultName(R))) << QString::fromLatin1(A) << R;
}

void tst_ufMainExport::editedCharacterAskedFirst()
{
    QFETCH(QString, Action);
    QFETCH(TModalResult, Answer);
    TfrmMain& M = WithProject(QStringLiteral("Q"), 5, 7, 34, 40);
    const QString File = Out(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(" %1.lcd"));
    for (int Run : {1, 2}) { // before and after a pixel is set on code 34, at (0, 0)
        if (Run == 2)
            QTest::mouseClick(M.CharEditor(), Qt::LeftButton, {}, QPoint(4, 4)), FMessages.Answer(Answer);
        if (Action != QStringLiteral("actSaveFontProject"))
            FMessages.AnswerDialog([](QDialog* D) { Child<QPushButton>(D, "btnSave")->click(); return D->result(); });
        FMessages.AnswerFile(File.arg(Run));
        M.Action(Action)->trigger();
    }
    QCOMPARE(FMessages.Log.filter(QStringLiteral("Current Char has been changed. Save?")).size(), 1);
    QCOMPARE(M.CurrentFont()->GetChar(34)->GetCellValue(0, 0) == clInk, Answer == TModalResult::mrYes);
    QCOMPARE(M.CharEditor()->GetCellValue(0, 0), clInk);
    QCOMPARE(M.CharEditor()->Modified(), Answer != TModalResult::mrYes);
    const QByteArray Before = ReadFile(File.arg(1)), After = ReadFile(File.arg(2));
    QCOMPARE(After == "<missing>", Answer == TModalResult::mrCancel);
    QCOMPARE(After == Before, Answer == TModalResult::mrNo);
}

// A name the file cannot hold, and a range without a character, are refused with the dialog left open
// (Swordfish's also serves Proton); put right, the same dialog saves.
void tst_ufMainExport::namesAndRangesTheFileCannotHold()
{
    const QString Name = QStringLiteral("Error: The %1 name cannot hold the character \"\u2603\": an export file stores only "
                                        "the characters of Windows-1252.");
    const QString Range = QStringLiteral("Error: The range From 50 To 40 holds no character: From must not be above To.");
    // The action, the button pressed on each refused value and the tab (1: mikroPascal's unit, not a module).
    struct TCase { const char *Action, *Button; int Tab; };
    for (const TCase& Case : {TCase{"actExportSWFToFile", "btnSave", 0}, {"actExportMikroE", "btnSave", 0},
                              {"actExportMikroE", "btnCopyToClipboard", 0}, {"actExportMikroE", "btnSave", 1}}) {
        const char *Action = Case.Action, *Button = Case.Button;
        TfrmMain& M = WithProject(QStringLiteral("DV 12"), 5, 7, 30, 60);
        const QString File = Out(QString::fromLatin1(Action) + Button + QStringLiteral(".txt"));
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        FMessages = TScriptedMessageService();
        FMessages.AnswerDialog([&](QDialog* D) {
            if (auto* Tabs = D->findChild<QTabBar*>()) Tabs->setCurrentIndex(Case.Tab);
            Child<QCheckBox>(D, "chkAddModuleDecl")->setChecked(true);
            for (const char* Field : {"edtFontName", "edtModuleName", "range"}) {
                FMessages.Answer(TModalResult::mrOk); // the refusal
                auto* Edit = D->findChild<QLineEdit*>(Field); // none for the range: From above To
                const QString Good = Edit ? Edit->text() : QString();
                Edit ? Edit->setText(QStringLiteral("DV\u2603_12")) : Child<QSpinBox>(D, "edtRangeTo")->setValue(40);
                Child<QSpinBox>(D, "edtRangeFrom")->setValue(50);
                Child<QPushButton>(D, Button)->click();
                if (D->result() == QDialog::Accepted || QApplication::clipboard()->text() != QStringLiteral("kept"))
                    return -1; // went on
                Edit ? Edit->setText(Good) : Child<QSpinBox>(D, "edtRangeTo")->setValue(50); // one character
            }
            Child<QPushButton>(D, "btnSave")->click();
            return D->result();
        });
        FMessages.AnswerFile(File);
        M.Action(Action)->trigger();
        QCOMPARE(FMessages.Log.mid(1, 3), (QStringList{Name.arg("font"), Name.arg(Case.Tab ? "unit" : "module"), Range}));
        QVERIFY(FMessages.Log.value(4).startsWith(QStringLiteral("save file #")));
        QVERIFY2(ReadFile(File).contains("DV_12") && !ReadFile(File).contains('?'), ReadFile(File).constData());
    }
}

QTEST_MAIN(tst_ufMainExport)
#include "tst_ufMainExport.moc"
