// The passes over all characters and the optimizer, driven through the
// window's actions.
#include "MainTestSupport.h"
#include "ufOptimizeFont.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QProgressBar>
#include <QPushButton>

using namespace MainTest;

namespace {

// A font of codes From..To, every character drawn from Pic.
std::unique_ptr<TGLCDFont> FontOf(const QString& Pic, int From, int To)
{
    const QStringList Rows = Pic.split(QLatin1Char('|'));
    auto F = MakeFont(QStringLiteral("Batch"), From, To, int(Rows[0].size()), int(Rows.size()));
    for (int C = From; C <= To; ++C)
        Draw(*F->GetChar(C), Pic);
    return F;
}

} // namespace

class tst_ufMainBatch : public TWindowTestCase {
    Q_OBJECT

private slots:
    void passes_data()
    {
        QTest::addColumn<QString>("Action");
        QTest::addColumn<bool>("Roll");
        QTest::addColumn<int>("Last"); // the range is 65..Last
        QTest::addColumn<QString>("Start");
        QTest::addColumn<QString>("Want");
        QTest::addColumn<QString>("Text");    // the busy text
        QTest::addColumn<QString>("Refusal"); // shown once instead of the pass
        const QString P = QStringLiteral(".#..|##..|....");
        auto Row = [](const char* Name, const char* Action, bool Roll, int Last, const QString& Start,
                      const char* Want, const char* Text, const char* Refusal = "") {
            QTest::newRow(Name) << QString::fromLatin1(Action) << Roll << Last << Start << QString::fromLatin1(Want)
                                << QString::fromLatin1(Text) << QString::fromLatin1(Refusal);
        };
        Row("ins col left, 8 wide", "actInsetColLeft", true, 66, QStringLiteral("#.......|.......#"),
            ".#.......|........#", "Inserting columns at left.");
        Row("ins col right", "actInsertColRight", true, 66, P, ".#...|##...|.....", "Inserting columns at right.");
        Row("ins row top", "actInsertRowTop", true, 66, P, "....|.#..|##..|....", "Inserting rows at top.");
        Row("ins row bottom", "actInsertRowBottom", true, 66, P, ".#..|##..|....|....", "Inserting rows at bottom.");
        Row("del first col", "actDeleteFirstCol", true, 66, P, "#..|#..|...", "Removing columns from left.");
        Row("del last col", "actDeleteLastCol", true, 66, P, ".#.|##.|...", "Removing columns from right.");
        Row("del first row", "actDeleteFirstRow", true, 66, P, "##..|....", "Removing rows from top.");
        Row("del last row", "actDeleteLastRow", true, 66, P, ".#..|##..", "Removing rows from bottom.");
        Row("shift left, roll", "actBatchHorizShiftLeft", true, 66, P, "#...|#..#|....", "Shifting chars 1 columns left.");
        Row("shift left, no roll", "actBatchHorizShiftLeft", false, 66, P, "#...|#...|....", "Shifting chars 1 columns left.");
        Row("shift right", "actBatchHorizShiftRight", true, 66, P, "..#.|.##.|....", "Shifting chars 1 columns right.");
        Row("shift up, roll", "actBatchVertShiftUp", true, 66, P, "##..|....|.#..", "Shifting chars 1 rows top.");
        Row("shift down, roll", "actBatchVertShiftDown", true, 66, P, "....|.#..|##..", "Shifting chars 1 rows bottom.");
        Row("invert", "actBatchInvert", true, 66, P, "#.##|..##|####", "Inverting chars.");
        Row("outline", "actBatchOutline", true, 66, QStringLiteral("###.|###.|###."), "###.|#.#.|###.", "Outlining chars.");
        Row("mirror horizontal", "actBatchHMirror", true, 66, P, "..#.|..##|....", "Mirroring chars horizontally.");
        Row("mirror vertical", "actBatchVMirror", true, 66, P, "....|##..|.#..", "Mirroring chars vertically.");
        Row("snap left", "actBatchSnapLeft", true, 66, QStringLiteral("..#.|.##.|...."), ".#..|##..|....", "Snapping chars to left border");
        Row("snap right", "actBatchSnapRight", true, 66, P, "...#|..##|....", "Snapping chars to right border");
        Row("snap top", "actBatchSnapTop", true, 66, QStringLiteral("....|.#..|##.."), ".#..|##..|....", "Snapping chars to top border");
        Row("snap bottom", "actBatchSnapBottom", true, 66, P, "....|.#..|##..", "Snapping chars to bottom border");
        Row("one char", "actBatchInvert", true, 65, P, "#.##|..##|####", "Inverting chars.");
        Row("del first col, 1 wide", "actDeleteFirstCol", true, 66, QStringLiteral("#|."), "#|.", "", "Cannot delete more columns");
        Row("del last col, 1 wide, one char", "actDeleteLastCol", true, 65, QStringLiteral("#|."), "#|.", "", "Cannot delete more columns");
        Row("del last row, 1 high", "actDeleteLastRow", true, 66, QStringLiteral("#."), "#.", "", "Cannot delete more lines");
        Row("del first row, 1 high", "actDeleteFirstRow", true, 66, QStringLiteral("#."), "#.", "", "Cannot delete more lines");
        // The largest character the project file holds is 1024 x 1024.
        const QString Wide = QString(1024, QLatin1Char('.')), High = QStringLiteral(".|").repeated(1023) + QLatin1Char('#');
        const char* Cols = "Cannot insert more columns: a character is at most 1024 pixels wide.";
        const char* Lines = "Cannot insert more lines: a character is at most 1024 pixels high.";
        Row("ins col right, 1024 wide", "actInsertColRight", true, 66, Wide, qPrintable(Wide), "", Cols);
        Row("ins row bottom, 1024 high", "actInsertRowBottom", true, 65, High, qPrintable(High), "", Lines);
        Row("ins col right, 1023 wide", "actInsertColRight", true, 65, Wide.mid(1), qPrintable(Wide), "Inserting columns at right.");
    }
    void passes()
    {
        QFETCH(QString, Action);
        QFETCH(bool, Roll);
        QFETCH(int, Last);
        QFETCH(QString, Start);
        QFETCH(QString, Want);
        QFETCH(QString, Text);
        QFETCH(QString, Refusal);
        TfrmMain& M = Fx.MainWith(FontOf(Start, 65, Last));
        if (!Roll)
            M.Action(QStringLiteral("actRollOver"))->trigger();
        QCOMPARE(M.RollOver(), Roll);
        if (!Refusal.isEmpty())
            Fx.Messages.Answer(TModalResult::mrOk);
        QAction* A = M.Action(Action);
        QVERIFY(A->isEnabled());
        A->trigger();

        for (int C = 65; C <= Last; ++C)
            QCOMPARE(Picture(*M.CurrentFont()->GetChar(C)), Want);
        QCOMPARE(Picture(*M.CharEditor()), Want);
        QCOMPARE(M.ProjectModified(), Refusal.isEmpty());
        QCOMPARE(Fx.Messages.Log, Refusal.isEmpty() ? QStringList() : QStringList{QStringLiteral("Error: ") + Refusal});
        if (!Text.isEmpty())
            QCOMPARE(Label(M, "lblBusyText"), Text);
        const QStringList Rows = Want.split(QLatin1Char('|'));
        QCOMPARE(Label(M, "lblStatusFontSize2"), QStringLiteral("%1 x %2").arg(Rows[0].size()).arg(Rows.size()));
        QVERIFY(!M.Busy());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("pnlBusy"))->isVisible());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("progressStatus"))->isVisible());
        QVERIFY(A->isEnabled());
    }

    // The progress bar counts the characters, whatever the first code.
    void progressGrowsPerCharacter()
    {
        TfrmMain& M = Fx.MainWith(FontOf(QStringLiteral("#."), 200, 203));
        auto* Bar = M.findChild<QProgressBar*>(QStringLiteral("progressStatus"));
        QStringList Seen;
        connect(Bar, &QProgressBar::valueChanged, this, [&](int V) {
            Seen << QStringLiteral("%1/%2%3").arg(V).arg(Bar->maximum()).arg(Bar->isVisible() ? "" : " hidden");
        });
        M.Action(QStringLiteral("actBatchInvert"))->trigger();
        QCOMPARE(Seen.mid(Seen.size() - 4), (QStringList{"1/4", "2/4", "3/4", "4/4"}));
    }

    // Edits that were not stored are asked about before a pass reloads the editor.
    void passAsksAboutEditedCharacter_data()
    {
        QTest::addColumn<TModalResult>("Answer");
        QTest::addColumn<QString>("Want"); // character 65 after Invert all chars
        QTest::newRow("yes: stored, then inverted") << TModalResult::mrYes << ".#|##";
        QTest::newRow("no: dropped") << TModalResult::mrNo << "##|##";
    }
    void passAsksAboutEditedCharacter()
    {
        QFETCH(TModalResult, Answer);
        QFETCH(QString, Want);
        TfrmMain& M = Fx.MainWith(FontOf(QStringLiteral("..|.."), 65, 66));
        Fx.Click(0, 0);
        Fx.Messages.Answer(Answer);
        M.Action(QStringLiteral("actBatchInvert"))->trigger();
        QCOMPARE(Fx.Messages.Log, QStringList{QStringLiteral("Confirm: Current Char has been changed. Save?")});
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(65)), Want);
        QCOMPARE(Picture(*M.CurrentFont()->GetChar(66)), QStringLiteral("##|##"));
        QCOMPARE(Picture(*M.CharEditor()), Want);
        QVERIFY(!M.CharEditor()->Modified());
    }

    // Snapshots of the old size would bring a character of another size back.
    void undoAfterPasses()
    {
        TfrmMain& M = Fx.MainWith(FontOf(QStringLiteral("..|.."), 65, 66));
        M.Action(QStringLiteral("actInvertGrid"))->trigger();
        M.Action(QStringLiteral("actSaveModifiedChar"))->trigger();
        QCOMPARE(M.UndoMgr().Count(), 1);
        M.Action(QStringLiteral("actBatchVMirror"))->trigger();
        QCOMPARE(M.UndoMgr().Count(), 1);
        M.Action(QStringLiteral("actInsertRowTop"))->trigger();
        QCOMPARE(M.UndoMgr().Count(), 0);
        QVERIFY(!M.Action(QStringLiteral("actUndo"))->isEnabled());
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("..|##|##"));
    }

    void optimizer_data()
    {
        QTest::addColumn<bool>("Ink");
        QTest::addColumn<int>("Result"); // of the dialog
        QTest::addColumn<QString>("Ticks"); // L R T B
        QTest::addColumn<QList<int>>("Counts");
        QTest::addColumn<QSize>("Size");
        QTest::addColumn<bool>("Modified");
        QTest::addColumn<QString>("Text"); // the last busy text
        QTest::newRow("all sides") << true << int(QDialog::Accepted) << "LRTB" << QList<int>{2, 2, 3, 2}
                                   << QSize(8, 11) << true << "Removing rows from bottom.";
        QTest::newRow("top only") << true << int(QDialog::Accepted) << "T" << QList<int>{2, 2, 3, 2}
                                  << QSize(12, 13) << true << "Removing rows from top.";
        QTest::newRow("nothing ticked") << true << int(QDialog::Accepted) << "" << QList<int>{2, 2, 3, 2}
                                        << QSize(12, 16) << false << "";
        QTest::newRow("cancelled") << true << int(QDialog::Rejected) << "LRTB" << QList<int>{2, 2, 3, 2}
                                   << QSize(12, 16) << false << "";
        QTest::newRow("no ink at all") << false << int(QDialog::Accepted) << "LRTB" << QList<int>{0, 0, 0, 0}
                                       << QSize(12, 16) << true << "Removing rows from bottom.";
    }
    void optimizer()
    {
        QFETCH(bool, Ink);
        QFETCH(int, Result);
        QFETCH(QString, Ticks);
        QFETCH(QList<int>, Counts);
        QFETCH(QSize, Size);
        QFETCH(bool, Modified);
        QFETCH(QString, Text);
        // Glyphs within columns 2..9 and rows 3..13 of 12 x 16, and a blank space.
        auto Font = MakeFont(QStringLiteral("Margins"), 32, 34, 12, 16);
        if (Ink) {
            Font->GetChar(33)->SetCellValue(2, 5, clInk);
            Font->GetChar(33)->SetCellValue(5, 13, clInk);
            Font->GetChar(34)->SetCellValue(9, 3, clInk);
        }
        TfrmMain& M = Fx.MainWith(std::move(Font));
        int L = -1, R = -1, T = -1, B = -1;
        M.ComputeOptimizations(L, R, T, B);
        QCOMPARE(QList<int>({L, R, T, B}), Counts);
        QCOMPARE(Label(M, "lblBusyText"), QStringLiteral("Computing Optimizations."));

        Fx.Messages.AnswerDialog([&](QDialog* D) {
            auto* O = qobject_cast<TfrmOptimizeFont*>(D);
            if (!O || O->windowTitle() != QStringLiteral("Optimize font") || O->height() != 213 || O->width() < 307)
                return -1;
            // No box text is cut off at the dialog's edge.
            for (QCheckBox* Box : O->findChildren<QCheckBox*>())
                if (Box->mapTo(O, QPoint(Box->sizeHint().width(), 0)).x() > O->width())
                    return -2;
            O->Boxes.chkBlankColsLeft->setChecked(Ticks.contains(QLatin1Char('L')));
            O->Boxes.chkBlankColsRight->setChecked(Ticks.contains(QLatin1Char('R')));
            O->Boxes.chkBlankRowsTop->setChecked(Ticks.contains(QLatin1Char('T')));
            O->Boxes.chkBlankRowsBottom->setChecked(Ticks.contains(QLatin1Char('B')));
            O->findChild<QPushButton*>(Result == QDialog::Accepted ? "btnOk" : "btnCancel")->click();
            return O->result();
        });
        M.Action(QStringLiteral("actOptimize"))->trigger();
        const TGLCDFont* F = M.CurrentFont();
        QCOMPARE(QSize(F->GetWidth(), F->GetHeight()), Size);
        for (int C = 32; C <= 34; ++C)
            QCOMPARE(QSize(F->GetChar(C)->Width, F->GetChar(C)->Height), Size);
        QCOMPARE(M.ProjectModified(), Modified);
        if (!Text.isEmpty())
            QCOMPARE(Label(M, "lblBusyText"), Text);
        if (Ink && Size == QSize(8, 11)) {
            QCOMPARE(F->GetChar(34)->GetCellValue(7, 0), clInk);
            QCOMPARE(F->GetChar(33)->GetCellValue(0, 2), clInk);
            QCOMPARE(F->GetChar(33)->GetCellValue(3, 10), clInk);
        }
        QVERIFY(!M.Busy());
    }
};

QTEST_MAIN(tst_ufMainBatch)
#include "tst_ufMainBatch.moc"
