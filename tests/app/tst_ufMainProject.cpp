// The project commands of the main window: the save questions on close and
// Quit, New, Import, Open and Save with their dialogs, and the window's
// shortcuts against a focused control.
#include "MainTestSupport.h"
#include "../FullDisk.h"
#include "ufImportFont.h"
#include "ufNewFont.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

using namespace MainTest;

namespace {

const QString CharQuestion = QStringLiteral("Confirm: Current Char has been changed. Save?");
const QString ProjectQuestion =
    QStringLiteral("Confirm: Current font project has been modified.\r\nDo you want to save changes?");
const QString SaveDialog = QStringLiteral("save file: GLCD Font files (*.lcd)|*.lcd");
const QString OpenDialog = QStringLiteral("open file: GLCD Font files (*.lcd)|*.lcd");

// Log lines compared whole, or by their start when the wanted one ends in '*'.
void CompareLog(const QStringList& Got, const QStringList& Want)
{
    const QString Both = QStringLiteral("\ngot:\n  ") + Got.join(QStringLiteral("\n  ")) +
                         QStringLiteral("\nwanted:\n  ") + Want.join(QStringLiteral("\n  "));
    QVERIFY2(Got.size() == Want.size(), qPrintable(Both));
    for (int I = 0; I < Want.size(); ++I) {
        const bool Prefix = Want[I].endsWith(QLatin1Char('*'));
        const bool Same = Prefix ? Got[I].startsWith(Want[I].chopped(1)) : Got[I] == Want[I];
        QVERIFY2(Same, qPrintable(Both));
    }
}

// Fills the New Font dialog and presses OK; the dialog's own result comes back.
TScriptedMessageService::TDialogScript NewFont(const QString& Name, int From, int To, int W, int H)
{
    return [=](QDialog* D) {
        auto* F = qobject_cast<TfrmNewFont*>(D);
        if (!F)
            return -1;
        F->edtFontName->setText(Name);
        F->edtRangeFrom->setValue(From);
        F->edtRangeTo->setValue(To);
        F->edtFontWidth->setValue(W);
        F->edtFontHeight->setValue(H);
        F->btnOk->click();
        return F->result();
    };
}

} // namespace

class tst_ufMainProject : public TWindowTestCase {
    Q_OBJECT

    QTemporaryDir Files;

    QString File(const QString& Name) const { return Files.path() + QLatin1Char('/') + Name; }

private slots:
    void initTestCase()
    {
        QVERIFY(Files.isValid());
        TWindowTestCase::initTestCase();
    }

    // Closing the window and Quit, every way the questions can be answered.
    void closeAndQuitQuestions_data()
    {
        QTest::addColumn<bool>("Quit");
        QTest::addColumn<bool>("CharEdited");
        QTest::addColumn<bool>("ProjectModified");
        QTest::addColumn<QList<TModalResult>>("Answers");
        QTest::addColumn<QString>("SaveAs"); // "" no save dialog; "-" cancelled; else a file name
        QTest::addColumn<bool>("EmptySlot");
        QTest::addColumn<bool>("Closes");
        QTest::addColumn<QStringList>("Log");
        QTest::addColumn<bool>("Stored");          // the edits reached the font
        QTest::addColumn<bool>("ModifiedAfter");   // the project still counts as modified
        using L = QList<TModalResult>;
        const auto Yes = TModalResult::mrYes, No = TModalResult::mrNo, Cancel = TModalResult::mrCancel;
        const QString Err = QStringLiteral("Error: Error saving font\n");

        QTest::newRow("nothing changed") << false << false << false << L{} << "" << false << true
                                         << QStringList{} << false << false;
        QTest::newRow("char yes, project no") << false << true << false << L{Yes, No} << "" << false << true
                                              << QStringList{CharQuestion, ProjectQuestion} << true << true;
        QTest::newRow("char no, project clean") << false << true << false << L{No} << "" << false << true
                                                << QStringList{CharQuestion} << false << false;
        QTest::newRow("char no, project cancel") << false << true << true << L{No, Cancel} << "" << false
                                                 << false << QStringList{CharQuestion, ProjectQuestion}
                                                 << false << true;
        QTest::newRow("char yes, project cancel") << false << true << false << L{Yes, Cancel} << "" << false
                                                  << false << QStringList{CharQuestion, ProjectQuestion}
                                                  << true << true;
        QTest::newRow("project yes, saved") << false << false << true << L{Yes} << "saved" << false << true
                                            << QStringList{ProjectQuestion, SaveDialog} << false << false;
        QTest::newRow("project yes, save cancelled") << false << false << true << L{Yes} << "-" << false
                                                     << false << QStringList{ProjectQuestion, SaveDialog}
                                                     << false << true;
        QTest::newRow("project yes, no folder") << false << false << true << L{Yes, TModalResult::mrOk}
                                                << "missing/folder/font" << false << false
                                                << QStringList{ProjectQuestion, SaveDialog, Err + "*"}
                                                << false << true;
        QTest::newRow("project yes, empty slot") << false << false << true << L{Yes, TModalResult::mrOk}
                                                 << "slot" << true << false
                                                 << QStringList{ProjectQuestion, SaveDialog,
                                                                Err + "A character of the range is missing or "
                                                                      "differs in size from the others."}
                                                 << false << true;
        QTest::newRow("project no") << false << false << true << L{No} << "" << false << true
                                    << QStringList{ProjectQuestion} << false << true;
        QTest::newRow("quit: nothing changed") << true << false << false << L{} << "" << false << true
                                               << QStringList{} << false << false;
        QTest::newRow("quit: char yes, project yes, saved") << true << true << false << L{Yes, Yes} << "quit"
                                                            << false << true
                                                            << QStringList{CharQuestion, ProjectQuestion, SaveDialog}
                                                            << true << false;
        QTest::newRow("quit: project cancel") << true << false << true << L{Cancel} << "" << false << false
                                              << QStringList{ProjectQuestion} << false << true;
        QTest::newRow("quit: project no") << true << false << true << L{No} << "" << false << true
                                          << QStringList{ProjectQuestion} << false << true;
        QTest::newRow("quit: save fails") << true << false << true << L{Yes, TModalResult::mrOk}
                                          << "missing/folder/font" << false << false
                                          << QStringList{ProjectQuestion, SaveDialog, Err + "*"} << false << true;
    }
    void closeAndQuitQuestions()
    {
        QFETCH(bool, Quit);
        QFETCH(bool, CharEdited);
        QFETCH(bool, ProjectModified);
        QFETCH(QList<TModalResult>, Answers);
        QFETCH(QString, SaveAs);
        QFETCH(bool, EmptySlot);
        QFETCH(bool, Closes);
        QFETCH(QStringList, Log);
        QFETCH(bool, Stored);
        QFETCH(bool, ModifiedAfter);

        auto Font = MakeFont(QStringLiteral("Matrix"), 65, 67, 3, 2);
        if (EmptySlot)
            Font->SetChar(66, nullptr);
        TfrmMain& M = Fx.MainWith(std::move(Font), ProjectModified);
        const QString Caption = M.windowTitle();
        if (CharEdited)
            Fx.Click(1, 0);
        for (TModalResult A : Answers)
            Fx.Messages.Answer(A);
        const QString Target = SaveAs == QStringLiteral("-") ? QString() : File(SaveAs);
        if (!SaveAs.isEmpty())
            Fx.Messages.AnswerFile(Target);

        if (Quit)
            M.Action(QStringLiteral("actApplicationExit"))->trigger();
        else
            M.close();

        CompareLog(Fx.Messages.Log, Log);
        QCOMPARE(!M.isVisible(), Closes);
        QCOMPARE(M.ProjectModified(), ModifiedAfter);
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(65)), Stored ? QStringLiteral(".#.|...") : QStringLiteral("...|..."));
        // Edits that were not stored stay in the editor, marked, unless the window went.
        if (CharEdited && !Stored && !Closes) {
            QVERIFY(M.CharEditor()->Modified());
            QCOMPARE(Picture(*M.CharEditor()), QStringLiteral(".#.|..."));
        }
        const bool Written = !Target.isEmpty() && !SaveAs.isEmpty() && !ModifiedAfter;
        QCOMPARE(QFile::exists(Target + QStringLiteral(".lcd")), Written);
        if (Written)
            QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0 - ") + Target + QStringLiteral(".lcd"));
        else
            QCOMPARE(M.windowTitle(), Caption);
        QFile::remove(Target + QStringLiteral(".lcd"));
    }

    // Qt's own boxes: Escape or the close button on the character question is Cancel where the
    // command can stop; the list has moved on already, so there the Yes/No box waits for an answer.
    void escapeNeverDropsTheEdit_data()
    {
        QTest::addColumn<QString>("Command"); // "Down" in the list, "close" the window, else an action
        QTest::addColumn<bool>("Escape");     // else the box's close button
        QTest::addColumn<int>("Then");        // pressed where the box stays up, as only the list's may
        QTest::newRow("list, escape, then yes") << "Down" << true << int(QMessageBox::Yes);
        QTest::newRow("list, close, then no") << "Down" << false << int(QMessageBox::No);
        for (const char* C : {"actApplicationExit", "close", "actBatchInvert"})
            QTest::newRow(C) << C << (*C != 'c') << int(QMessageBox::No);
    }
    void escapeNeverDropsTheEdit()
    {
        QFETCH(QString, Command);
        QFETCH(bool, Escape);
        QFETCH(int, Then);
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Keys"), 65, 67, 3, 2));
        Fx.Click(1, 0);
        QStringList Seen; // every box that came up
        QTimer Poll;
        Poll.callOnTimeout([&] {
            auto* B = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!B)
                return;
            Escape ? QTest::keyClick(B, Qt::Key_Escape) : void(B->close());
            Seen << B->text() + (B->isVisible() ? QStringLiteral(" stays") : QString());
            if (B->isVisible())
                B->button(QMessageBox::StandardButton(Then))->click();
        });
        Poll.start(5);
        SetMessageService(nullptr);
        Command == "Down"    ? QTest::keyClick(M.findChild<QWidget*>("grdFontViewer"), Qt::Key_Down)
        : Command == "close" ? void(M.close()) : M.Action(Command)->trigger();
        SetMessageService(&Fx.Messages);
        const bool List = Command == "Down";
        QCOMPARE(Seen, QStringList{QStringLiteral("Current Char has been changed. Save?") + (List ? " stays" : "")});
        QVERIFY(M.isVisible());
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(65)), Then == QMessageBox::Yes ? ".#.|..." : "...|...");
        if (!List) // cancelled: the edit stays on screen, still to be saved
            QVERIFY(M.CharEditor()->Modified() && Picture(*M.CharEditor()) == ".#.|...");
    }

    void newFontDefaults()
    {
        TfrmMain& M = Fx.Main();
        Fx.Messages.AnswerDialog([](QDialog* D) {
            auto* F = qobject_cast<TfrmNewFont*>(D);
            if (!F || F->windowTitle() != QStringLiteral("New Font") || F->size() != QSize(327, 179))
                return -1;
            if (F->edtRangeFrom->maximum() != 255 || F->edtFontWidth->minimum() != 1 ||
                F->edtFontHeight->maximum() != 50)
                return -2;
            F->btnOk->click();
            return F->result();
        });
        M.Action(QStringLiteral("actNewFontProject"))->trigger();
        CompareLog(Fx.Messages.Log, {QStringLiteral("dialog: frmNewFont")});
        const TGLCDFont* F = M.CurrentFont();
        QVERIFY(F);
        QCOMPARE(F->FontName, QStringLiteral("Untitled"));
        QCOMPARE(F->RangeFrom, 32);
        QCOMPARE(F->RangeTo, 126);
        QCOMPARE(F->CharCount(), 95);
        QVERIFY(!F->Proportional);
        for (int C = 32; C <= 126; ++C)
            QCOMPARE(Picture(*F->GetChar(C)), QStringLiteral("........|........|........|........|........|........|........|........"));
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        QVERIFY(M.ProjectModified());
        QVERIFY(M.CharEditor()->isVisible());
        QCOMPARE(Label(M, "lblStatusFontSize2"), QStringLiteral("8 x 8"));
        QVERIFY(M.Action(QStringLiteral("actSaveFontProject"))->isEnabled());
        // Quit asks the project question; No ends the program.
        Fx.Messages.Answer(TModalResult::mrNo);
        M.Action(QStringLiteral("actApplicationExit"))->trigger();
        QVERIFY(!M.isVisible());
    }

    // The dialogs refuse an empty name and an empty range and stay open; a range of one character is taken.
    void dialogsRefuseBadValues_data()
    {
        QTest::addColumn<bool>("Import");
        QTest::addColumn<QString>("Name");
        QTest::addColumn<int>("From");
        QTest::addColumn<int>("To");
        QTest::addColumn<QString>("Message");
        const QString NoName = QStringLiteral("Error: You must give a NAME to the new font");
        const QString Range = QStringLiteral("Error: The range From 90 To 80 holds no character: From must not be above To.");
        QTest::newRow("new, no name") << false << "" << 32 << 126 << NoName;
        QTest::newRow("new, from above to") << false << "A" << 90 << 80 << Range;
        QTest::newRow("import, from above to") << true << "A" << 90 << 80 << Range;
        QTest::newRow("new, one character") << false << "A" << 80 << 80 << "";
        QTest::newRow("import, one character") << true << "A" << 80 << 80 << "";
        // The project file is Windows-1252: the first character it cannot store is named.
        const QString Cannot = QStringLiteral("Error: The font name cannot hold the character \"%1\": a font project "
                                              "stores only the characters of Windows-1252.");
        const QString Snowman = QStringLiteral("\u2603"), Smiley = QStringLiteral("\U0001F600");
        QTest::newRow("new, snowman") << false << QStringLiteral("T\u00EBst \u2603 \u041F\u0440") << 32 << 126 << Cannot.arg(Snowman);
        QTest::newRow("import, snowman") << true << QStringLiteral("\u20AC\u2603") << 32 << 126 << Cannot.arg(Snowman);
        QTest::newRow("import, outside the BMP") << true << "a" + Smiley << 32 << 126 << Cannot.arg(Smiley);
    }
    void dialogsRefuseBadValues()
    {
        QFETCH(bool, Import);
        QFETCH(QString, Name);
        QFETCH(int, From);
        QFETCH(int, To);
        QFETCH(QString, Message);
        std::unique_ptr<QDialog> D(Import ? static_cast<QDialog*>(new TfrmImportFont) : new TfrmNewFont);
        D->findChild<QLineEdit*>(QStringLiteral("edtFontName"))->setText(Name);
        D->findChild<QSpinBox*>(QStringLiteral("edtRangeFrom"))->setValue(From);
        D->findChild<QSpinBox*>(QStringLiteral("edtRangeTo"))->setValue(To);
        D->show();
        if (!Message.isEmpty())
            Fx.Messages.Answer(TModalResult::mrOk);
        D->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        CompareLog(Fx.Messages.Log, Message.isEmpty() ? QStringList() : QStringList{Message});
        QCOMPARE(D->result(), int(Message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        if (Message.isEmpty())
            return;
        QVERIFY(D->isVisible());
        // Cancel is never refused.
        D->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        QVERIFY(!D->isVisible());
        QCOMPARE(D->result(), int(QDialog::Rejected));
    }

    // After No to the character question the new project's first character is
    // neither asked about again nor overwritten by the old edits.
    void newAfterCharacterNo()
    {
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Old"), 65, 66, 3, 2));
        Fx.Click(0, 0);
        Fx.Messages.Answer(TModalResult::mrNo);
        Fx.Messages.AnswerDialog(NewFont(QStringLiteral("Fresh"), 48, 49, 3, 2));
        M.Action(QStringLiteral("actNewFontProject"))->trigger();
        CompareLog(Fx.Messages.Log, {CharQuestion, QStringLiteral("dialog: frmNewFont")});
        QCOMPARE(M.CurrentFont()->FontName, QStringLiteral("Fresh"));
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(48)), QStringLiteral("...|..."));
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|..."));
        QVERIFY(!M.CharEditor()->Modified());
        QCOMPARE(M.UndoMgr().Count(), 0);
    }

    // New, a few pixels, Save, Open of what was saved.
    void newSaveOpenRoundTrip()
    {
        TfrmMain& M = Fx.Main();
        Fx.Messages.AnswerDialog(NewFont(QStringLiteral("Round & Trip"), 65, 67, 4, 3));
        M.Action(QStringLiteral("actNewFontProject"))->trigger();
        Fx.Click(0, 0);
        Fx.Click(3, 2);
        M.Action(QStringLiteral("actSaveModifiedChar"))->trigger();
        M.Action(QStringLiteral("actCopyCharToClip"))->trigger();
        Fx.Messages.AnswerFile(File(QStringLiteral("round")));
        M.Action(QStringLiteral("actSaveFontProject"))->trigger();
        const QString Saved = File(QStringLiteral("round.lcd"));
        QVERIFY(QFile::exists(Saved));
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0 - ") + Saved);
        QVERIFY(!M.ProjectModified());

        Fx.Messages.AnswerDialog(NewFont(QStringLiteral("Other"), 32, 33, 2, 2));
        M.Action(QStringLiteral("actNewFontProject"))->trigger();
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        QVERIFY(!M.ClipboardEmpty()); // New keeps the clipboard

        Fx.Messages.Answer(TModalResult::mrNo); // the new project is not kept
        Fx.Messages.AnswerFile(Saved);
        M.Action(QStringLiteral("actOpenFontProject"))->trigger();
        const TGLCDFont* F = M.CurrentFont();
        QCOMPARE(F->FontName, QStringLiteral("Round & Trip"));
        QCOMPARE(F->RangeFrom, 65);
        QCOMPARE(F->RangeTo, 67);
        QCOMPARE(Picture(*F->GetChar(65)), QStringLiteral("#...|....|...#"));
        QCOMPARE(Picture(*F->GetChar(66)), QStringLiteral("....|....|...."));
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("#...|....|...#"));
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0 - ") + Saved);
        QVERIFY(M.ClipboardEmpty());
        QVERIFY(!M.Action(QStringLiteral("actPasteCharFromClip"))->isEnabled());
        QVERIFY(!M.Action(QStringLiteral("actUndo"))->isEnabled());
        QVERIFY(!M.ProjectModified());
        CompareLog(Fx.Messages.Log, {QStringLiteral("dialog: frmNewFont"), SaveDialog, QStringLiteral("dialog: frmNewFont"),
                                     ProjectQuestion, OpenDialog});
        M.close(); // nothing to ask
        QVERIFY(!M.isVisible());
    }

    void openFailureKeepsProject_data()
    {
        QTest::addColumn<QByteArray>("Content"); // empty: no file at all
        QTest::addColumn<QString>("Message");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Error: File %1 does not exists.");
        QTest::newRow("not xml") << QByteArray("garbage") << QStringLiteral("Error: Error loading font: *");
        QTest::newRow("too few values")
            << QByteArray("<FONT><FONTSIZE WIDTH=\"2\" HEIGHT=\"1\"/><RANGE FROM=\"65\" TO=\"65\"/>"
                          "<CHARS><CHAR CODE=\"65\" PIXELS=\"0\"/></CHARS></FONT>")
            << QStringLiteral("Error: Error loading font: PIXELS of character 65 holds 1 values, 2 needed");
    }
    void openFailureKeepsProject()
    {
        QFETCH(QByteArray, Content);
        QFETCH(QString, Message);
        const QString Name = File(QStringLiteral("broken.lcd"));
        QFile::remove(Name);
        if (!Content.isEmpty()) {
            QFile F(Name);
            QVERIFY(F.open(QIODevice::WriteOnly));
            F.write(Content);
        }
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Current"), 65, 66, 3, 2), true);
        Fx.Click(2, 1);
        M.Action(QStringLiteral("actSaveModifiedChar"))->trigger();
        M.Action(QStringLiteral("actCopyCharToClip"))->trigger();
        const TGLCDFont* Before = M.CurrentFont();
        Fx.Messages.Answer(TModalResult::mrNo); // the project question
        Fx.Messages.AnswerFile(Name);
        Fx.Messages.Answer(TModalResult::mrOk);
        M.Action(QStringLiteral("actOpenFontProject"))->trigger();
        CompareLog(Fx.Messages.Log, {ProjectQuestion, OpenDialog, QString(Message).replace(QStringLiteral("%1"), Name)});
        QCOMPARE(M.CurrentFont(), Before);
        QCOMPARE(M.CurrentFont()->FontName, QStringLiteral("Current"));
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(65)), QStringLiteral("...|..#"));
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|..#"));
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        QVERIFY(M.ProjectModified());
        QVERIFY(!M.ClipboardEmpty());
        QVERIFY(!M.Busy());
    }

    // The ".lcd" ending, and the question for a name that was lengthened onto a file.
    void saveNames_data()
    {
        QTest::addColumn<QString>("Chosen");
        QTest::addColumn<QString>("Written");
        QTest::addColumn<bool>("Exists");
        QTest::addColumn<int>("Overwrite"); // answer to the question; 0 none asked
        QTest::newRow("abc") << "abc" << "abc.lcd" << false << 0;
        QTest::newRow("abc.LCD") << "abc.LCD" << "abc.LCD" << false << 0;
        QTest::newRow("abc.Lcd") << "abc.Lcd" << "abc.Lcd" << false << 0;
        QTest::newRow("abc.txt") << "abc.txt" << "abc.txt.lcd" << false << 0;
        QTest::newRow("appended onto a file, kept") << "abc" << "abc.lcd" << true << int(TModalResult::mrNo);
        QTest::newRow("appended onto a file, replaced") << "abc" << "abc.lcd" << true << int(TModalResult::mrYes);
        QTest::newRow("chosen file, the dialog asked") << "abc.lcd" << "abc.lcd" << true << 0;
    }
    void saveNames()
    {
        QFETCH(QString, Chosen);
        QFETCH(QString, Written);
        QFETCH(bool, Exists);
        QFETCH(int, Overwrite);
        QTemporaryDir Dir;
        const QString Target = Dir.path() + QLatin1Char('/') + Written;
        if (Exists) {
            QFile F(Target);
            QVERIFY(F.open(QIODevice::WriteOnly));
            F.write("old");
        }
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Names"), 65, 65, 2, 2), true);
        Fx.Messages.AnswerFile(Dir.path() + QLatin1Char('/') + Chosen);
        if (Overwrite)
            Fx.Messages.Answer(TModalResult(Overwrite));
        const bool Saved = M.SaveFontProject();
        const bool Replaced = !Exists || Overwrite == 0 || Overwrite == int(TModalResult::mrYes);
        QCOMPARE(Saved, Replaced);
        QStringList Log{SaveDialog};
        if (Overwrite)
            Log << QStringLiteral("Confirm: ") + Target + QStringLiteral(" already exists.\r\nDo you want to replace it?");
        CompareLog(Fx.Messages.Log, Log);
        QFile F(Target);
        QVERIFY(F.open(QIODevice::ReadOnly));
        const QByteArray Bytes = F.readAll();
        QCOMPARE(Bytes == "old", !Replaced);
        QCOMPARE(QDir(Dir.path()).entryList(QDir::Files).size(), 1);
        QCOMPARE(M.ProjectModified(), !Replaced);
    }

    // A file the user may write, in a folder the user may not, is saved in place.
    void saveIntoFolderWithoutWriteRight()
    {
        TUserDir Dir; // the user's, in a child as an ordinary user
        const QString Name = Dir.path() + QStringLiteral("/kept.lcd");
        QVERIFY(MakeKind(Name, "file", "old"));
        QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("InPlace"), 65, 65, 2, 2), true);
        M.hide(); // the child has none of Qt's painting threads: nothing may paint in it
        QCoreApplication::processEvents();
        const QByteArray Saved = InChild(true, -1, [&] {
            Fx.Messages.AnswerFile(Name); // here, where it is used
            return M.SaveFontProject() ? "" : Fx.Messages.Log.join('\n').toUtf8();
        });
        QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Saved, QByteArray());
        TGLCDFont Back{QString()};
        QVERIFY(Back.LoadFromFile(Name));
        QCOMPARE(Back.FontName, QStringLiteral("InPlace"));
    }

    void importFont_data()
    {
        QTest::addColumn<bool>("Optimize");
        QTest::newRow("boxes cleared") << false;
        QTest::newRow("all boxes") << true;
    }
    void importFont()
    {
        QFETCH(bool, Optimize);
        const QFont Chosen(QStringLiteral("DejaVu Sans Mono"), 12);
        const QSize Raster = TGLCDFont::ImportCellSize(Chosen.family(), 12, 0, 48, 57);
        TfrmMain& M = Fx.Main();
        Fx.Messages.AnswerFont(Chosen);
        Fx.Messages.AnswerDialog([Optimize](QDialog* D) {
            auto* F = qobject_cast<TfrmImportFont*>(D);
            if (!F || F->edtFontName->text() != QStringLiteral("DejaVu Sans Mono"))
                return -1;
            F->edtFontName->setText(QStringLiteral("Digits"));
            F->edtRangeFrom->setValue(48);
            F->edtRangeTo->setValue(57);
            for (QCheckBox* B : F->findChildren<QCheckBox*>())
                B->setChecked(Optimize);
            F->btnOk->click();
            return F->result();
        });
        M.Action(QStringLiteral("actNewFontImport"))->trigger();
        const TGLCDFont* F = M.CurrentFont();
        QVERIFY(F);
        QCOMPARE(F->FontName, QStringLiteral("Digits"));
        QCOMPARE(F->CharCount(), 10);
        QVERIFY(M.ProjectModified());
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        if (!Optimize) {
            QCOMPARE(QSize(F->GetWidth(), F->GetHeight()), Raster);
            return;
        }
        // Every side now touches ink in some character.
        QVERIFY(F->GetWidth() < Raster.width() && F->GetHeight() < Raster.height());
        int L = -1, R = -1, T = -1, B = -1;
        M.ComputeOptimizations(L, R, T, B);
        QCOMPARE(QList<int>({L, R, T, B}), QList<int>({0, 0, 0, 0}));
        QCOMPARE(Picture(*M.CharEditor()), Picture(*F->GetChar(48)));
    }

    // A font and size whose characters the project file cannot hold is refused first.
    void importBeyondTheCellLimit()
    {
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Kept"), 65, 66, 3, 2), true);
        const TGLCDFont* Before = M.CurrentFont();
        Fx.Messages.Answer(TModalResult::mrNo); // the project question
        Fx.Messages.AnswerFont(QFont(QStringLiteral("DejaVu Sans"), 900));
        Fx.Messages.AnswerDialog([](QDialog* D) {
            auto* F = qobject_cast<TfrmImportFont*>(D);
            F->btnOk->click();
            return F->result();
        });
        Fx.Messages.Answer(TModalResult::mrOk);
        M.Action(QStringLiteral("actNewFontImport"))->trigger();
        CompareLog(Fx.Messages.Log, {ProjectQuestion, QStringLiteral("font"), QStringLiteral("dialog: frmImportFont"),
                                     QStringLiteral("Error: DejaVu Sans at 900 points gives characters of *")});
        QVERIFY2(Fx.Messages.Log.last().endsWith(
                     QStringLiteral("pixels; a font project holds characters of at most 1024 x 1024 pixels.")),
                 qPrintable(Fx.Messages.Log.last()));
        QCOMPARE(M.CurrentFont(), Before);
        QCOMPARE(M.CurrentFont()->CharCount(), 2);
    }

    // The window's shortcuts reach their actions although a control has the focus.
    void shortcutsWinOverFocusedControl()
    {
        TfrmMain& M = Fx.MainWith(MakeFont(QStringLiteral("Keys"), 65, 66, 3, 2));
        M.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&M));
        auto* Spin = M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"));
        auto* Text = Spin->findChild<QLineEdit*>();
        const int Size = Spin->value();
        QTest::mouseClick(Text, Qt::LeftButton);
        Text->selectAll();
        QVERIFY(Text->hasFocus());
        Fx.Click(1, 1);
        Spin->setFocus();
        QVERIFY(Text->hasFocus());
        QTest::keyClick(Text, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!M.ClipboardEmpty());
        QCOMPARE(Picture(M.ClipChar()), QStringLiteral("...|.#."));
        QTest::keyClick(Text, Qt::Key_H, Qt::ControlModifier); // horizontal mirror, not a backspace
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|.#.")); // symmetric: the same
        QTest::keyClick(Text, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("###|#.#"));
        QTest::keyClick(Text, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|.#."));
        QTest::keyClick(Text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("###|#.#"));
        QCOMPARE(Spin->value(), Size);
    }
};

QTEST_MAIN(tst_ufMainProject)
#include "tst_ufMainProject.moc"
