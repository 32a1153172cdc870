// The MikroElektronika dialog: the preview is the filter's text inside the
// chosen wrapper, saved byte for byte, copied whole or in part, and the mikroC
// file it saves compiles.
#include "CompileSupport.h"
#include "ufExportMikroE.h"
#include "unExportFilters.h"
#include "unHelpers.h"
#include "unMessageService.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <memory>

namespace {

constexpr int W = 6;

// Column bytes chosen first, pixels made from them; the space is empty.
int ColumnByte(int Code, int X) { return Code == 32 ? 0 : (Code * 37 + X * 59 + 11) % 255 + 1; }

std::unique_ptr<TGLCDFont> MakeFont(int From, int To, int Height = 8, int Hole = -1)
{
    auto F = std::make_unique<TGLCDFont>(QStringLiteral("Test Font"));
    F->RangeFrom = From;
    F->RangeTo = To;
    for (int Code = From; Code <= To; ++Code) {
        if (Code == Hole)
            continue;
        auto C = std::make_unique<TCharClass>(Code, W, Height);
        for (int X = 0; X < W; ++X)
            for (int Y = 0; Y < Height; ++Y)
                C->SetCellValue(X, Y, Y < 8 && (ColumnByte(Code, X) >> Y) & 1 ? clInk : clClear);
        F->SetChar(Code, std::move(C));
    }
    return F;
}

QString FilterText(const TGLCDFont& F, int Language, bool Vornex, const QString& Name, int From, int To)
{
    TMikroElektronikaFilter Filter(&F, true, From, To, Name);
    Filter.SetLanguage(std::uint8_t(Language));
    Filter.UseVornexLib = Vornex;
    return Filter.Execute();
}

QByteArray ReadFile(const QString& Name)
{
    QFile F(Name);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_ufExportMikroE : public QObject {
    Q_OBJECT
    TScriptedMessageService FMessages;
    QTemporaryDir FDir;

private slots:
    void init()
    {
        FMessages = TScriptedMessageService();
        SetMessageService(&FMessages);
    }
    void cleanup() { SetMessageService(nullptr); }

    void previewAndSavedFile_data();
    void previewAndSavedFile();
    void saveNamesAndFailures();
    void copyToClipboard();
    void moduleControlsFollowTheTab();
    void savedMikroCCompiles();
    void previewErrorIsShown();
    void previewIsHighlighted();
};

void tst_ufExportMikroE::previewAndSavedFile_data()
{
    QTest::addColumn<int>("Tab");
    QTest::addColumn<bool>("Vornex");
    QTest::addColumn<bool>("Module");
    QTest::addColumn<QString>("FontName");
    QTest::addColumn<QString>("Head");
    QTest::addColumn<QString>("Tail");

    const QString VornexBasic = "\r\n'WARNING: This Font Require Vornex Lib.\r\n'         You can not use it with MikroE GLCD Lib.\r\n";
    const QString GlcdPascal = "\r\n//WARNING: This Font is usable only with MikroE GLCD Lib.\r\n"
                               "//         Vornex Lib does not handle this font.\r\n";
    const QString VornexC = "\r\n//WARNING: This Font Require Vornex Lib.\r\n//         You can not use it with MikroE GLCD Lib.\r\n";
    QTest::newRow("basic vornex") << 0 << true << false << "Test_Font6x8" << VornexBasic << "";
    QTest::newRow("basic module") << 0 << true << true << "Test_Font6x8" << "module my_font\r\n" + VornexBasic
                                  << "\r\n\r\nimplements \r\nend.";
    QTest::newRow("pascal glcd unit") << 1 << false << true << "P" << "Unit my_font;\r\n" + GlcdPascal
                                      << "\r\n\r\nimplementation \r\nend.";
    QTest::newRow("c ignores module") << 2 << true << true << "C" << VornexC << "";
    // Characters beyond ASCII reach the file unchanged, control characters never.
    QTest::newRow("8-bit name") << 2 << true << false << QString::fromUtf8("\xE2\x82\xAC t\xC3\xA9st") << VornexC
                                << "";
    QTest::newRow("nul in name") << 0 << true << false << QStringLiteral("A") + QChar(0) + QStringLiteral("B")
                                 << VornexBasic << "";
    QTest::newRow("line break in name") << 0 << true << false << "\tA\r\n B\n" << VornexBasic << "";
}

void tst_ufExportMikroE::previewAndSavedFile()
{
    QFETCH(int, Tab);
    QFETCH(bool, Vornex);
    QFETCH(bool, Module);
    QFETCH(QString, FontName);
    QFETCH(QString, Head);
    QFETCH(QString, Tail);

    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.rbMikroEGlcdLib->setEnabled(true);
    D.SetGlcdFont(F.get());
    D.edtRangeFrom->setValue(40);
    D.edtRangeTo->setValue(50);
    D.show(); // where a click aimed from another tab lands: the controls all tabs share stay in place
    const auto Places = [&] { QApplication::processEvents(); return QList{D.edtFontName->pos(), D.edtRangeFrom->pos(), D.edtRangeTo->pos(), D.rbVornexLib->mapTo(&D, QPoint())}; };
    const QList<QPoint> OnFirstTab = Places();
    D.tbLanguages->setCurrentIndex(Tab);
    QCOMPARE(Places(), OnFirstTab);
    (Vornex ? D.rbVornexLib : D.rbMikroEGlcdLib)->click();
    if (Module) {
        D.chkAddModuleDecl->click();
        D.edtModuleName->setText(QStringLiteral("my font"));
    }
    D.edtFontName->setText(FontName);
    const QString Shown = QString(FontName).remove(QRegularExpression(QStringLiteral("[\\x00-\\x1f]")));
    QCOMPARE(D.edtFontName->text(), Shown);

    const QString Expected = Head + FilterText(*F, Tab + 1, Vornex, Shown, 40, 50) + Tail;
    QCOMPARE(D.EditorText(), Expected);
    QVERIFY(!D.SynEditSrc->isModified());

    const QString Name = FDir.filePath(QStringLiteral("font%1").arg(QTest::currentDataTag()).remove(' '));
    FMessages.AnswerFile(Name);
    D.btnSave->click();
    const char* const Ext[] = {".pbas", ".ppas", ".c"};
    const QByteArray Saved = ReadFile(Name + QLatin1String(Ext[Tab]));
    // The file ends every line in CR LF, the wrapper's last one too.
    const QString Lines = Expected.endsWith(QStringLiteral("\r\n")) ? Expected : Expected + QStringLiteral("\r\n");
    QCOMPARE(Saved, ToWin1252(Lines));
    QVERIFY(!Saved.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(FMessages.Log.size(), 1); // the save question alone: no error box
}

void tst_ufExportMikroE::saveNamesAndFailures()
{
    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.SetGlcdFont(F.get());
    D.UpdatePreview();
    D.show();
    D.tbLanguages->setCurrentIndex(1);
    const QString Filter = QStringLiteral("mikroBasic font files (*.pbas)|*.pbas|mikroPascal font files (*.ppas)|*.ppas|"
                                          "mikroC font files (*.c)|*.c|Text files (*.txt)|*.txt|All files (*.*)|*.*");

    FMessages.AnswerFile(FDir.filePath(QStringLiteral("myfont")));
    FMessages.AnswerFile(FDir.filePath(QStringLiteral("other.txt")));
    FMessages.AnswerFile(QString()); // cancelled
    FMessages.AnswerFile(QStringLiteral("/nonexistent-folder/x"));
    for (int I = 0; I < 4; ++I)
        D.btnSave->click();
    QVERIFY(QFile::exists(FDir.filePath(QStringLiteral("myfont.ppas"))));
    QVERIFY(QFile::exists(FDir.filePath(QStringLiteral("other.txt"))));
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("other.txt.ppas"))));
    QCOMPARE(FMessages.Log.size(), 5);
    // The save dialog opens on the current tab's filter.
    QCOMPARE(FMessages.Log[0], QStringLiteral("save file #2: ") + Filter);
    const QString Failure = FMessages.Log[4];
    QVERIFY2(Failure.startsWith(QStringLiteral("Error: Error Saving file /nonexistent-folder/x.ppas.\r\n")),
             qPrintable(Failure));
    QVERIFY(Failure.size() > int(qstrlen("Error: Error Saving file /nonexistent-folder/x.ppas.\r\n")));
    QVERIFY(D.isVisible()); // the window stays after saves, a cancel and a failure
}

void tst_ufExportMikroE::copyToClipboard()
{
    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.SetGlcdFont(F.get());
    D.UpdatePreview();
    QApplication::clipboard()->clear();
    D.btnCopyToClipboard->click();
    QCOMPARE(QApplication::clipboard()->text(), D.EditorText());
    QVERIFY(D.EditorText().startsWith(QStringLiteral("\r\n'WARNING")));
    QVERIFY(!D.SynEditSrc->hasSelectedText());

    // A selection goes alone, CR LF kept.
    D.SynEditSrc->setSelection(1, 0, 3, 0);
    D.btnCopyToClipboard->click();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("'WARNING: This Font Require Vornex Lib.\r\n'         You can not use it with MikroE GLCD Lib.\r\n"));
}

void tst_ufExportMikroE::moduleControlsFollowTheTab()
{
    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.SetGlcdFont(F.get());
    D.show();
    QVERIFY(!D.edtModuleName->isEnabled());
    QCOMPARE(D.rbMikroEGlcdLib->text(), QStringLiteral("mikroBasic GLCD Lib"));
    QCOMPARE(D.chkAddModuleDecl->text(), QStringLiteral("Add MODULE declaration (+Impl. section)"));
    D.chkAddModuleDecl->click();
    QVERIFY(D.EditorText().startsWith(QStringLiteral("module \r\n")));
    D.tbLanguages->setCurrentIndex(2);
    QCOMPARE(D.Language(), std::uint8_t(3));
    QVERIFY(D.chkAddModuleDecl->isHidden() && D.edtModuleName->isHidden() && D.lblModuleName->isHidden());
    QCOMPARE(D.rbMikroEGlcdLib->text(), QStringLiteral("mikroC GLCD Lib"));
    QVERIFY(D.EditorText().startsWith(QStringLiteral("\r\n//WARNING")));
    D.tbLanguages->setCurrentIndex(1);
    QVERIFY(D.chkAddModuleDecl->isVisible() && D.chkAddModuleDecl->isChecked());
    QCOMPARE(D.chkAddModuleDecl->text(), QStringLiteral("Add UNIT declaration (+Impl. section)"));
    QCOMPARE(D.lblModuleName->text(), QStringLiteral("Unit Name"));

    // Typing a module name with the box unchecked leaves the text alone: an
    // edit made in the editor survives it.
    D.chkAddModuleDecl->click();
    D.SynEditSrc->insertAt(QStringLiteral("// mine\r\n"), 0, 0);
    D.edtModuleName->setText(QStringLiteral("unit1"));
    QVERIFY(D.EditorText().startsWith(QStringLiteral("// mine\r\n")));
    // An edited preview is what gets saved.
    FMessages.AnswerFile(FDir.filePath(QStringLiteral("edited")));
    D.btnSave->click();
    QVERIFY(ReadFile(FDir.filePath(QStringLiteral("edited.ppas"))).startsWith("// mine\r\n\r\n//WARNING"));
    // Any setting rebuilds the text and drops the edit.
    D.edtRangeTo->setValue(39);
    QVERIFY(D.EditorText().startsWith(QStringLiteral("\r\n//WARNING")));
}

// The file saved from the mikroC tab, included by a small program, holds the
// bytes the font was drawn from.
void tst_ufExportMikroE::savedMikroCCompiles()
{
    const QString Compiler = CompileTest::FindCCompiler();
    QVERIFY2(!Compiler.isEmpty(), "no C compiler found");

    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.rbMikroEGlcdLib->setEnabled(true);
    D.SetGlcdFont(F.get());
    D.tbLanguages->setCurrentIndex(2);
    D.rbMikroEGlcdLib->click();
    D.edtFontName->setText(QStringLiteral("Test Font"));
    FMessages.AnswerFile(FDir.filePath(QStringLiteral("font")));
    D.btnSave->click();
    QVERIFY(QFile::exists(FDir.filePath(QStringLiteral("font.c"))));

    QList<QByteArray> Out;
    int ExitCode = -1;
    CompileTest::RunTableProgram(Compiler, FDir.path(), Out, ExitCode);
    if (QTest::currentTestFailed())
        return;
    QList<int> Compiled; // after the count
    for (qsizetype I = 1; I < Out.size(); ++I)
        Compiled << Out[I].toInt();
    QList<int> Expected;
    for (int Code = 32; Code <= 126; ++Code)
        for (int X = 0; X < W; ++X)
            Expected << ColumnByte(Code, X);
    QCOMPARE(Compiled, Expected);
}

void tst_ufExportMikroE::previewErrorIsShown()
{
    const auto F = MakeFont(32, 50, 8, 45);
    TfrmMikroEExport D;
    D.SetGlcdFont(F.get());
    D.edtRangeTo->setValue(44);
    QVERIFY(FMessages.Log.isEmpty());
    D.edtRangeTo->setValue(46);
    QCOMPARE(FMessages.Log, QStringList{"Error: Cannot export: the font has no character of code 45"});
    // No font: an empty preview.
    TfrmMikroEExport Empty;
    Empty.UpdatePreview();
    QCOMPARE(Empty.EditorText(), QString());
}

// Each tab's highlighter marks the banner as a comment and "const" as a keyword.
void tst_ufExportMikroE::previewIsHighlighted()
{
    const auto F = MakeFont(32, 126);
    TfrmMikroEExport D;
    D.SetGlcdFont(F.get());
    D.UpdatePreview();
    for (int Tab : {0, 1, 2}) {
        D.tbLanguages->setCurrentIndex(Tab);
        D.SynEditSrc->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        const QString Text = D.EditorText();
        auto StyleName = [&](const QString& Word) {
            const long Style = D.SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(Text.indexOf(Word)));
            return D.SynEditSrc->lexer()->description(int(Style));
        };
        QVERIFY2(StyleName(QStringLiteral("Font Generated")).contains(QStringLiteral("omment")),
                 qPrintable(StyleName(QStringLiteral("Font Generated"))));
        QVERIFY2(StyleName(QStringLiteral("const ")).contains(QStringLiteral("eyword")),
                 qPrintable(StyleName(QStringLiteral("const "))));
    }
}

QTEST_MAIN(tst_ufExportMikroE)
#include "tst_ufExportMikroE.moc"
