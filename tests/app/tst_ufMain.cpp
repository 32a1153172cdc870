#include "MainTestSupport.h"
#include "../FullDisk.h"
#include "udmGlobal.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QToolButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

using namespace MainTest;

namespace {

// Every menu of the window, as MenuLines writes it.
const char* const MenuTree = R"(&File >
  &New Font >
    New Font From Scratch
    Import An Existing System Font
  Open Font
  Save Font
  -
  Save Char
  -
  Export >
    Export for Swordfish Basic
    Export for Proton Basic
    Export for MikroElektronika
    -
    Custom Export Strategy
  -
  &Quit
&Edit >
  Undo
  -
  Copy
  Paste
  -
  Clear All Pixels
Effe&cts >
  &Invert
  Out&line Char
  -
  &Horizontal Mirror
  &Vertical Mirror
  -
  &Shift >
    Shift Up
    Shift Down
    -
    Shift Left
    Shift Right
    -
    Roll Over
  -
  S&nap To Borders >
    Snap Top
    Snap Bottom
    -
    Snap Left
    Snap Right
&Batch >
  Invert all chars
  Outline all chars
  -
  &Columns >
    Ins Col Left
    Ins Col Right
    -
    Del First Col
    Del Last Col
  &Rows >
    Ins Row Top
    Ins Row Bottom
    -
    Del First Row
    Del Last Row
  -
  &Mirror all chars >
    Horizontal
    Vertical
  &Shift all chars >
    Shift Up
    Shift Down
    -
    Shift Left
    Shift Right
    -
    Roll Over
  S&nap all chars to Border >
    Snap Top
    Snap Bottom
    -
    Snap Left
    Snap Right
  -
  &Optimize
&Tools >
  Quick Help Panel
  Preview Panel
  Tools Panel
  -
  Font Project Toolbar
  Char Editing Toolbar
&Help >
  Help
  -
  About...
)";

// A menu as one line per item: "-" a separator, "Caption >" a submenu followed
// by its items indented.
void MenuLines(const QMenu& M, const QString& Indent, QStringList& Out)
{
    for (QAction* A : M.actions()) {
        if (A->isSeparator())
            Out << Indent + QStringLiteral("-");
        else if (A->menu()) {
            Out << Indent + A->text() + QStringLiteral(" >");
            MenuLines(*A->menu(), Indent + QStringLiteral("  "), Out);
        } else
            Out << Indent + A->text().section(QLatin1Char('\t'), 0, 0);
    }
}

// '1' where enabled: the New Font Project and Export drop-downs, the File menu's New Font and Export.
QString DropDowns(const QWidget& M)
{
    const auto On = [&](const char* Button) { return M.findChild<QWidget*>(Button)->isEnabled() ? '1' : '0'; };
    const auto MenuOn = [&](const char* Menu) { return M.findChild<QMenu*>(Menu)->menuAction()->isEnabled() ? '1' : '0'; };
    return QString() + On("btnNewFontProject") + On("btnExport") + MenuOn("mnuNewFont") + MenuOn("mnuExport");
}

} // namespace

class tst_ufMain : public QObject {
    Q_OBJECT

    TWindowFixture Fx;

    TfrmMain& Main() { return Fx.Main(); }
    TfrmMain& MainWithProject(int W = 8, int H = 8)
    {
        Main().ShowProject(MakeFont(QStringLiteral("Untitled"), 32, 126, W, H), false);
        return *Fx.Window;
    }
    QPoint CellCentre(int Col, int Row)
    {
        const int CW = Fx.Window->CharEditor()->CellWidth();
        return QPoint(Col * CW + CW / 2, Row * CW + CW / 2);
    }
    void Click(Qt::MouseButton B, Qt::KeyboardModifiers M, int Col, int Row)
    {
        QTest::mousePress(Fx.Window->CharEditor(), B, M, CellCentre(Col, Row));
        QTest::mouseRelease(Fx.Window->CharEditor(), B, M, CellCentre(Col, Row));
    }
    QSettings Ini() { return QSettings(TfrmMain::GetSettingsFileName(), QSettings::IniFormat); }

private slots:
    void initTestCase()
    {
        QVERIFY(Fx.Config.isValid());
        Fx.Start();
    }
    void cleanupTestCase() { Fx.Stop(); }
    void init()
    {
        QDir(Fx.Config.path() + QStringLiteral("/Dotwright")).removeRecursively();
        Fx.Messages = TScriptedMessageService();
    }
    void cleanup()
    {
        Fx.Window.reset();
        QVERIFY2(Fx.Messages.Unanswered.isEmpty(), qPrintable(Fx.Messages.Unanswered.join('\n')));
    }

    void startState()
    {
        TfrmMain& M = Main();
        QCOMPARE(M.windowTitle(), QStringLiteral("Dotwright 1.0.0"));
        QCOMPARE(M.size(), QSize(991, 744));
        QVERIFY(!M.CharEditor()->isVisible());
        QVERIFY(!M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->isEnabled());
        QCOMPARE(Label(M, "lblStatusFontName2"), QStringLiteral("No Font Loaded"));
        QCOMPARE(Label(M, "lblStatusFontSize2"), QStringLiteral("?? x ??"));
        QCOMPARE(Label(M, "lblStatusFontRange2"), QStringLiteral("??"));
        QCOMPARE(Label(M, "lblStatusFontCharsCount2"), QStringLiteral("0"));
        QStringList Enabled;
        for (QAction* A : M.Actions())
            if (A->isEnabled())
                Enabled << A->objectName();
        QCOMPARE(Enabled, (QStringList{"actNewFontProject", "actNewFontImport", "actOpenFontProject",
                                       "actApplicationExit", "actHelpFile", "actAbout"}));
        QCOMPARE(DropDowns(M), QStringLiteral("1010")); // as the actions they offer
        QVERIFY(M.RollOver());
        QVERIFY(M.Action("actRollOver")->isChecked());
        QVERIFY(M.ClipboardEmpty());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("pnlBusy"))->isVisible());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("progressStatus"))->isVisible());
    }

    void everyActionHasCaptionIconAndPlace()
    {
        TfrmMain& M = Main();
        QCOMPARE(M.Actions().size(), 51);
        // the image list: one icon for every action and the few the window and dialogs use
        QCOMPARE(dmGlobal().ilActions.size(), size_t(64));
        for (QAction* A : M.Actions())
            QVERIFY2(!A->icon().isNull(), qPrintable(A->objectName()));
        for (const QString& Name : TdmGlobal::IconNames())
            QVERIFY2(!dmGlobal().Icon(Name).isNull(), qPrintable(Name));
        QCOMPARE(M.Action("actSaveModifiedChar")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(M.Action("actVertMirror")->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(M.Action("actExportSWFToFile")->toolTip(), QStringLiteral("Export font for Swordfish Basic(TM)"));
        QCOMPARE(M.Action("actApplicationExit")->text(), QStringLiteral("&Quit"));
        for (const char* B : {"btnScrollUp", "btnSnapLeft"})
            QVERIFY(M.findChild<QToolButton*>(QString::fromLatin1(B))->autoRepeat());
        QVERIFY(!M.findChild<QToolButton*>(QStringLiteral("btnInvert"))->autoRepeat());
        QCOMPARE(M.findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^btn(Add|Del|Roll|Scroll|Horiz|Vert|Invert|Outline|Snap)"))).size(), 21);
    }

    void menusAndToolbars()
    {
        TfrmMain& M = Main();
        QStringList Lines;
        for (QAction* Top : M.menuBar()->actions()) {
            Lines << Top->text() + QStringLiteral(" >");
            MenuLines(*Top->menu(), QStringLiteral("  "), Lines);
        }
        const QStringList Want = QString::fromLatin1(MenuTree).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (int I = 0; I < std::min(Lines.size(), Want.size()); ++I)
            QVERIFY2(Lines[I] == Want[I], qPrintable(QStringLiteral("line %1: '%2' instead of '%3'").arg(I + 1).arg(Lines[I], Want[I])));
        QCOMPARE(Lines.size(), Want.size());

        // The character toolbar: "|" a gap.
        QStringList Items;
        auto* Bar = M.findChild<QToolBar*>(QStringLiteral("tbCharacter"));
        for (QAction* A : Bar->actions())
            Items << (A->objectName().isEmpty() ? QStringLiteral("|") : A->iconText());
        QCOMPARE(Items.join(QLatin1Char(',')),
                 QStringLiteral("Save Char,|,Undo,|,Copy,Paste,|,Clear All Pixels,Invert,Outline Char,|,"
                                "Horizontal Mirror,Vertical Mirror,|,Ins Col Left,Ins Col Right,Ins Row Top,"
                                "Ins Row Bottom,|,Del First Col,Del Last Col,Del First Row,Del Last Row,|,"
                                "Optimize,|,Shift Up,Shift Down,Roll Over,Shift Left,Shift Right"));
    }

    void menuHintsLeaveTheStatusBarValues()
    {
        TfrmMain& M = MainWithProject();
        QMenu* Edit = M.menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit"));
        Edit->popup(M.mapToGlobal(QPoint(20, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(Edit));
        Edit->setActiveAction(M.Action("actCopyCharToClip"));
        QCOMPARE(M.statusBar()->currentMessage(), QString());
        QVERIFY(M.findChild<QLabel*>(QStringLiteral("lblStatusFontName2"))->isVisible());
        Edit->close();
    }

    void projectState()
    {
        TfrmMain& M = MainWithProject();
        QCOMPARE(Label(M, "lblStatusFontName2"), QStringLiteral("Untitled"));
        QCOMPARE(Label(M, "lblStatusFontSize2"), QStringLiteral("8 x 8"));
        QCOMPARE(Label(M, "lblStatusFontRange2"), QStringLiteral("32 - 126"));
        QCOMPARE(Label(M, "lblStatusFontCharsCount2"), QStringLiteral("95"));
        QVERIFY(M.CharEditor()->isVisible());
        QCOMPARE(M.CurrentFont()->CurrentChar, 32);
        QCOMPARE(M.CharEditor()->HorizCellCount(), 8);
        QVERIFY(M.Action("actShowGrid")->isEnabled());
        QStringList Disabled;
        for (QAction* A : M.Actions())
            if (!A->isEnabled())
                Disabled << A->objectName();
        QCOMPARE(Disabled, (QStringList{"actUndo", "actPasteCharFromClip"}));

        M.SetBusy(true);
        QVERIFY(!M.Action("actInvertGrid")->isEnabled());
        QVERIFY(!M.Action("actNewFontProject")->isEnabled());
        QVERIFY(M.Action("actAbout")->isEnabled());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("pnlEditor"))->isEnabled());
        QCOMPARE(DropDowns(M), QStringLiteral("0000"));
        M.SetBusy(false);
        QVERIFY(M.Action("actInvertGrid")->isEnabled());
        QCOMPARE(DropDowns(M), QStringLiteral("1111"));
        // Undo follows its own rule alone.
        Click(Qt::LeftButton, {}, 0, 0);
        M.SetBusy(true);
        QVERIFY(M.Action("actUndo")->isEnabled());
        M.SetBusy(false);
        // A font's name is shown as typed: no markup, no picture, no taller status bar.
        const QString Name = QStringLiteral("<h1>Huge</h1><img src=\":/pictures/about.svg\"><b>Bold</b> font");
        auto* L = Fx.MainWith(MakeFont(Name, 32, 33, 8, 8)).findChild<QLabel*>(QStringLiteral("lblStatusFontName2"));
        QCOMPARE(L->sizeHint().height(), M.findChild<QLabel*>(QStringLiteral("lblStatusFontSize2"))->sizeHint().height());
        QVERIFY(L->sizeHint().width() >= L->fontMetrics().horizontalAdvance(Name)); // tags and all
        // A name of any length is shown bounded.
        Fx.MainWith(MakeFont(QStringLiteral("Long") + QString(50 << 20, u'n') + QStringLiteral("end"), 32, 33, 8, 8));
        QCOMPARE(L->text(), QStringLiteral("Long") + QString(27, u'n') + QChar(0x2026) + QString(29, u'n') + "end");
    }

    void shortcutsReachTheActions()
    {
        TfrmMain& M = MainWithProject(2, 1);
        M.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&M));
        QTest::keyClick(&M, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("##"));
        QTest::keyClick(&M, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral(".."));
        QTest::keyClick(&M, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(M.ProjectModified());
    }

    void emptyRangeDisablesCharacterCommands()
    {
        TfrmMain& M = MainWithProject(2, 1);
        const QImage Blank = M.CharEditor()->CharViewer()->grab().toImage();
        Click(Qt::LeftButton, {}, 0, 0); // a lit dot in the preview, of a project about to go
        M.ShowProject(MakeFont(QStringLiteral("Empty"), 100, 50, 8, 8), true);
        QCOMPARE(M.CharEditor()->CharViewer()->grab().toImage(), Blank);
        QVERIFY(!M.Action("actInvertGrid")->isEnabled());
        QVERIFY(M.Action("actOpenFontProject")->isEnabled());
        QCOMPARE(Label(M, "lblStatusFontSize2"), QStringLiteral("?? x ??"));
        QCOMPARE(Label(M, "lblStatusFontCharsCount2"), QStringLiteral("0"));
    }

    void strokes_data()
    {
        QTest::addColumn<int>("Button");
        QTest::addColumn<int>("Modifiers");
        QTest::addColumn<QString>("Start");
        QTest::addColumn<QString>("Expected");
        const QString Blank = QStringLiteral("....|....|....");
        const QString Full = QStringLiteral("####|####|####");
        // every click lands on cell (1, 1)
        QTest::newRow("left") << int(Qt::LeftButton) << 0 << Blank << QStringLiteral("....|.#..|....");
        QTest::newRow("right") << int(Qt::RightButton) << 0 << Full << QStringLiteral("####|#.##|####");
        QTest::newRow("ctrl left column") << int(Qt::LeftButton) << int(Qt::ControlModifier) << Blank
                                          << QStringLiteral(".#..|.#..|.#..");
        QTest::newRow("ctrl right column") << int(Qt::RightButton) << int(Qt::ControlModifier) << Full
                                           << QStringLiteral("#.##|#.##|#.##");
        QTest::newRow("shift left row") << int(Qt::LeftButton) << int(Qt::ShiftModifier) << Blank
                                        << QStringLiteral("....|####|....");
        QTest::newRow("shift right row") << int(Qt::RightButton) << int(Qt::ShiftModifier) << Full
                                         << QStringLiteral("####|....|####");
        QTest::newRow("ctrl shift left") << int(Qt::LeftButton)
                                         << int(Qt::ControlModifier | Qt::ShiftModifier) << Blank
                                         << QStringLiteral(".#..|####|.#..");
        QTest::newRow("middle paints nothing") << int(Qt::MiddleButton) << 0 << Blank << Blank;
    }
    void strokes()
    {
        QFETCH(int, Button);
        QFETCH(int, Modifiers);
        QFETCH(QString, Start);
        QFETCH(QString, Expected);
        TfrmMain& M = MainWithProject(4, 3);
        Draw(*M.CharEditor(), Start);
        M.CharEditor()->SetModified(false);
        Click(Qt::MouseButton(Button), Qt::KeyboardModifiers(Modifiers), 1, 1);
        QCOMPARE(Picture(*M.CharEditor()), Expected);
        QVERIFY(M.CharEditor()->Modified());
        QCOMPARE(M.UndoMgr().Count(), 1);
        QVERIFY(M.Action("actUndo")->isEnabled());
        M.Action("actUndo")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), Start);
    }

    void dragPaintsEveryCellOnceAndIsOneUndoStep()
    {
        TfrmMain& M = MainWithProject(5, 2);
        TPixelGrid* G = M.CharEditor();
        QTest::mousePress(G, Qt::LeftButton, {}, CellCentre(0, 0));
        for (int X = 1; X < 4; ++X) {
            QMouseEvent Move(QEvent::MouseMove, CellCentre(X, 0), G->mapToGlobal(CellCentre(X, 0)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(G, &Move);
        }
        for (QPoint Past : {CellCentre(5, 0), CellCentre(4, 2)}) { // past the right and the bottom edge
            QMouseEvent Move(QEvent::MouseMove, Past, G->mapToGlobal(Past), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(G, &Move);
        }
        // Shift pressed in the middle of the stroke paints the row from there on.
        QMouseEvent Move(QEvent::MouseMove, CellCentre(4, 1), G->mapToGlobal(CellCentre(4, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(G, &Move);
        // Outside the grid nothing happens.
        QMouseEvent Out(QEvent::MouseMove, QPoint(-30, 5), G->mapToGlobal(QPoint(-30, 5)), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(G, &Out);
        QTest::mouseRelease(G, Qt::LeftButton, {}, CellCentre(4, 1));
        QCOMPARE(Picture(*G), QStringLiteral("####.|#####"));
        QCOMPARE(M.UndoMgr().Count(), 1);
        // After the stroke, moves paint nothing.
        QMouseEvent After(QEvent::MouseMove, CellCentre(4, 0), G->mapToGlobal(CellCentre(4, 0)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(G, &After);
        QCOMPARE(Picture(*G), QStringLiteral("####.|#####"));
        // The next stroke may start on the cell where the last one ended.
        Click(Qt::RightButton, {}, 4, 1);
        QCOMPARE(Picture(*G), QStringLiteral("####.|####."));
        // A stroke whose release went elsewhere ends at the first move without its button.
        QTest::mousePress(G, Qt::LeftButton, {}, CellCentre(4, 1));
        for (Qt::MouseButtons Held : {Qt::MouseButtons(), Qt::MouseButtons(Qt::LeftButton)}) {
            QMouseEvent Lost(QEvent::MouseMove, CellCentre(4, 0), G->mapToGlobal(CellCentre(4, 0)), Qt::NoButton, Held, {});
            QApplication::sendEvent(G, &Lost);
        }
        QCOMPARE(Picture(*G), QStringLiteral("####.|#####"));
    }

    void fiftyOneStrokesLeaveFifty()
    {
        TfrmMain& M = MainWithProject(8, 8);
        for (int I = 0; I < 51; ++I)
            Click(Qt::LeftButton, {}, I % 8, I / 8);
        QCOMPARE(M.UndoMgr().Count(), 50);
        for (int I = 0; I < 50; ++I)
            M.Action("actUndo")->trigger();
        // The first stroke can no longer be undone.
        QCOMPARE(Picture(*M.CharEditor()),
                 QStringLiteral("#.......|........|........|........|........|........|........|........"));
        QVERIFY(!M.Action("actUndo")->isEnabled());
    }

    void charCommands_data()
    {
        QTest::addColumn<QString>("Action");
        QTest::addColumn<bool>("Roll");
        QTest::addColumn<QString>("Start");
        QTest::addColumn<QString>("Expected");
        const QString S = QStringLiteral("#...|##..|....");
        QTest::newRow("invert") << "actInvertGrid" << true << S << QStringLiteral(".###|..##|####");
        QTest::newRow("horiz mirror") << "actHorizMirror" << true << S << QStringLiteral("...#|..##|....");
        QTest::newRow("vert mirror") << "actVertMirror" << true << S << QStringLiteral("....|##..|#...");
        QTest::newRow("left roll") << "actScrollLeft" << true << S << QStringLiteral("...#|#..#|....");
        QTest::newRow("left lose") << "actScrollLeft" << false << S << QStringLiteral("....|#...|....");
        QTest::newRow("right") << "actScrollRight" << true << S << QStringLiteral(".#..|.##.|....");
        QTest::newRow("up roll") << "actScrollUp" << true << S << QStringLiteral("##..|....|#...");
        QTest::newRow("up lose") << "actScrollUp" << false << S << QStringLiteral("##..|....|....");
        QTest::newRow("down") << "actScrollDown" << true << S << QStringLiteral("....|#...|##..");
        QTest::newRow("snap right") << "actSnapRight" << true << S << QStringLiteral("..#.|..##|....");
        QTest::newRow("snap bottom") << "actSnapBottom" << true << S << QStringLiteral("....|#...|##..");
        QTest::newRow("snap left touching") << "actSnapLeft" << true << S << S;
        QTest::newRow("snap top touching") << "actSnapTop" << true << S << S;
        QTest::newRow("snap bottom blank") << "actSnapBottom" << true << "....|....|...." << "....|....|....";
    }
    void charCommands()
    {
        QFETCH(QString, Action);
        QFETCH(bool, Roll);
        QFETCH(QString, Start);
        QFETCH(QString, Expected);
        TfrmMain& M = MainWithProject(4, 3);
        if (!Roll)
            M.Action("actRollOver")->trigger();
        QCOMPARE(M.RollOver(), Roll);
        QCOMPARE(M.Action("actRollOver")->isChecked(), Roll);
        Draw(*M.CharEditor(), Start);
        M.CharEditor()->SetModified(false);
        M.Action(Action)->trigger();
        QCOMPARE(Picture(*M.CharEditor()), Expected);
        QCOMPARE(M.CharEditor()->Modified(), Expected != Start || !Action.startsWith("actSnap")); // a snap moving nothing
        QCOMPARE(M.UndoMgr().Count(), 1);
        M.Action("actUndo")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), Start);
    }

    void outlineIsOneUndoStep()
    {
        TfrmMain& M = MainWithProject(5, 5);
        Draw(*M.CharEditor(), QStringLiteral(".....|.###.|.###.|.###.|....."));
        M.Action("actOutlineChar")->trigger();
        QVERIFY(Picture(*M.CharEditor()) != QStringLiteral(".....|.###.|.###.|.###.|....."));
        M.Action("actUndo")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral(".....|.###.|.###.|.###.|....."));
    }

    void saveCharStoresAndMarksModified()
    {
        TfrmMain& M = MainWithProject(3, 2);
        QVERIFY(!M.ProjectModified());
        M.Action("actSaveModifiedChar")->trigger();
        QVERIFY(M.ProjectModified()); // even when nothing changed
        Click(Qt::LeftButton, {}, 2, 1);
        QVERIFY(M.CharEditor()->Modified());
        M.Action("actSaveModifiedChar")->trigger();
        QVERIFY(!M.CharEditor()->Modified());
        const TCharClass* C = M.CurrentFont()->GetChar(32);
        QCOMPARE(C->GetCellValue(2, 1), clInk);
        QCOMPARE(C->GetCellValue(0, 0), clClear);
        // The undo history is kept; the undo reaches the font only by another store.
        QCOMPARE(M.UndoMgr().Count(), 1);
        M.Action("actUndo")->trigger();
        QCOMPARE(C->GetCellValue(2, 1), clInk);
        QVERIFY(Fx.Messages.Log.isEmpty());
    }

    void saveCharIntoEmptySlotShowsError()
    {
        TfrmMain& M = Main();
        auto F = MakeFont(QStringLiteral("Holes"), 65, 66, 4, 4);
        F->SetChar(65, nullptr);
        M.ShowProject(std::move(F), false);
        Fx.Messages.Answer(TModalResult::mrOk);
        M.Action("actSaveModifiedChar")->trigger();
        QCOMPARE(Fx.Messages.Log, QStringList{"Error: Cannot save to nil char in TPixelGrid.SaveToChar"});
        QVERIFY(!M.ProjectModified());
    }

    void copyPaste()
    {
        TfrmMain& M = MainWithProject(4, 2);
        QVERIFY(!M.Action("actPasteCharFromClip")->isEnabled());
        Draw(*M.CharEditor(), QStringLiteral("#...|.#.."));
        M.Action("actCopyCharToClip")->trigger();
        QVERIFY(!M.ClipboardEmpty());
        QVERIFY(M.Action("actPasteCharFromClip")->isEnabled());
        QCOMPARE(M.UndoMgr().Count(), 0); // copy changes nothing
        Click(Qt::LeftButton, {}, 3, 1);
        M.Action("actPasteCharFromClip")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("#...|.#.."));
        QVERIFY(M.CharEditor()->Modified());
        M.Action("actUndo")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("#...|.#.#"));
        QCOMPARE(M.ClipChar().Width, 4);
    }

    void pasteOfAnotherSizeIsRefused()
    {
        TfrmMain& M = MainWithProject(4, 2);
        Draw(*M.CharEditor(), QStringLiteral("####|####"));
        M.Action("actCopyCharToClip")->trigger();
        // A project of another size keeps the clipboard, but it does not fit.
        M.ShowProject(MakeFont(QStringLiteral("Small"), 48, 57, 3, 2), false);
        QVERIFY(!M.ClipboardEmpty());
        QVERIFY(!M.Action("actPasteCharFromClip")->isEnabled());
        M.Action("actPasteCharFromClip")->activate(QAction::Trigger);
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|..."));
        // The same size again: it fits.
        M.ShowProject(MakeFont(QStringLiteral("Again"), 48, 57, 4, 2), false);
        QVERIFY(M.Action("actPasteCharFromClip")->isEnabled());
    }

    void clearAllPixels()
    {
        TfrmMain& M = MainWithProject(3, 2);
        Draw(*M.CharEditor(), QStringLiteral("##.|.##"));
        M.CharEditor()->SetModified(false);
        Fx.Messages.Answer(TModalResult::mrCancel);
        M.Action("actClearAllPixels")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("##.|.##"));
        QCOMPARE(M.UndoMgr().Count(), 0);
        QVERIFY(!M.CharEditor()->Modified());
        Fx.Messages.Answer(TModalResult::mrOk);
        M.Action("actClearAllPixels")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("...|..."));
        QVERIFY(M.CharEditor()->Modified());
        QVERIFY(!M.Busy());
        QCOMPARE(Fx.Messages.Log, (QStringList{"Confirm: Clear all char's pixels?", "Confirm: Clear all char's pixels?"}));
        M.Action("actUndo")->trigger();
        QCOMPARE(Picture(*M.CharEditor()), QStringLiteral("##.|.##"));
    }

    void showGrid()
    {
        TfrmMain& M = MainWithProject();
        QVERIFY(M.CharEditor()->GridVisible());
        M.Action("actShowGrid")->trigger();
        QVERIFY(!M.Action("actShowGrid")->isChecked());
        QVERIFY(!M.CharEditor()->GridVisible());
    }

    void editorPainting()
    {
        TfrmMain& M = MainWithProject(3, 2);
        M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->setValue(10);
        Click(Qt::LeftButton, {}, 1, 0);
        QImage Img = M.CharEditor()->grab().toImage();
        QCOMPARE(Img.size(), QSize(30, 20));
        QCOMPARE(Img.pixelColor(15, 5), QColor(Qt::black));        // ink cell
        QCOMPARE(Img.pixelColor(5, 15), QColor(Qt::white));        // paper cell
        QCOMPARE(Img.pixelColor(20, 15), QColor(0x80, 0x80, 0x80)); // grid line
        QCOMPARE(Img.pixelColor(5, 10), QColor(0x80, 0x80, 0x80));
        QCOMPARE(Img.pixelColor(0, 15), QColor(Qt::black));         // border
        M.Action("actShowGrid")->trigger();
        Img = M.CharEditor()->grab().toImage();
        QCOMPARE(Img.pixelColor(20, 15), QColor(Qt::white));
        QCOMPARE(Img.pixelColor(10, 5), QColor(Qt::black));
    }

    void gridSizeRescalesEditor()
    {
        TfrmMain& M = MainWithProject(8, 8);
        auto* Spin = M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"));
        QCOMPARE(Spin->minimum(), 5);
        Spin->setValue(20);
        QCOMPARE(M.CharEditor()->CellWidth(), 20);
        QCOMPARE(M.CharEditor()->size(), QSize(160, 160));
    }

    void previewSchemes_data()
    {
        QTest::addColumn<int>("Index");
        QTest::addColumn<int>("Inactive");
        QTest::addColumn<int>("Active");
        QTest::newRow("Blue") << 0 << 0x808000 << 0xFFFF00;
        QTest::newRow("Green") << 1 << 0x008000 << 0x00FF00;
        QTest::newRow("Pink") << 2 << 0x800080 << 0xFF00FF;
        QTest::newRow("Red") << 3 << 0x000080 << 0x0000FF;
        QTest::newRow("Yellow") << 4 << 0x008080 << 0x00FFFF;
    }
    void previewSchemes()
    {
        QFETCH(int, Index);
        QFETCH(int, Inactive);
        QFETCH(int, Active);
        TfrmMain& M = MainWithProject(2, 1);
        auto* Box = M.findChild<QComboBox*>(QStringLiteral("cbPreviewColorScheme"));
        Box->setCurrentIndex(Index == 0 ? 1 : 0);
        Box->setCurrentIndex(Index);
        TSingleCharViewer* V = M.CharEditor()->CharViewer();
        QCOMPARE(V->objectName(), QStringLiteral("LiveGLCSViewer"));
        QCOMPARE(V->InactiveDotColor(), Inactive);
        QCOMPARE(V->ActiveDotColor(), Active);
        QCOMPARE(V->BackGroundColor(), 0);
        // A set pixel shows the active colour, a clear one the inactive colour.
        Click(Qt::LeftButton, {}, 0, 0);
        const QImage Img = V->PaintChar();
        const int Offset = V->BorderWidth() + V->Padding();
        QCOMPARE(Img.pixelColor(Offset, Offset), ModelToQColor(Active));
        QCOMPARE(Img.pixelColor(Offset + V->DotSize() + 1, Offset), ModelToQColor(Inactive));
        QCOMPARE(Img.pixelColor(Offset + V->DotSize(), Offset), QColor(Qt::black));
        M.ApplyPreviewColorScheme(-1); // ignored
        M.ApplyPreviewColorScheme(5);
        QCOMPARE(V->ActiveDotColor(), Active);
    }

    // The panels hidden and shown again from the Tools menu, in turn, come back at the sizes they had.
    void panelsComeBackAtTheirSize()
    {
        MainWithProject();
        const auto Size = [&](const char* Panel) { QApplication::processEvents(); return Fx.Window->findChild<QWidget*>(Panel)->size(); };
        const auto Sizes = [&] { return QList<QSize>{Size("pnlFontChars"), Size("pnlPreview"), Size("pnlTools")}; };
        const QList<QSize> Before = Sizes();
        // P the preview panel, T the tools panel, | a restart: each, both shown in the same order and in the other, one twice
        for (const char* Toggles : {"PP", "TT", "PTPT", "TPPT", "PPPP", "T|T", "TP||PT"}) {
            for (const char* A = Toggles; *A; ++A, QApplication::processEvents()) // each laid out before the next
                *A == '|' ? (Fx.Window.reset(), void(MainWithProject()))
                          : Fx.Window->findChild<QAction*>(*A == 'P' ? "actPreviewPanel" : "actToolsPanel")->trigger();
            QVERIFY2(Sizes() == Before, Toggles);
        }
        QVERIFY(Fx.Window->findChild<QAction*>("actPreviewPanel")->isChecked() && Fx.Window->findChild<QAction*>("actToolsPanel")->isChecked());
    }

    // Shrunk, below the least size too (no window manager stops that), and grown back: no panel lies over
    // another or the status bar, nor the preview over the tools, and the list and the tools take their room back.
    void shrinkAndGrowBack()
    {
        TfrmMain& M = MainWithProject(8, 25);
        QWidget* List = M.findChild<QWidget*>(QStringLiteral("pnlFontChars"));
        const int Width = M.findChild<QAbstractScrollArea*>("grdFontViewer")->verticalScrollBar()->sizeHint().width() + 40 + 40 + 48 + 5;
        QTRY_COMPARE(List->width(), Width);
        QVERIFY(M.minimumSize().boundedTo(QSize(400, 300)) == M.minimumSize());
        for (const QSize Size : {QSize(400, 300), QSize(400, 222), QSize(250, 150), QSize(600, 450), QSize(991, 744)}) {
            M.windowHandle()->resize(Size);
            QTRY_COMPARE(M.size(), Size);
            const QRect Tools = M.findChild<QWidget*>(QStringLiteral("pnlTools"))->geometry();
            QVERIFY(Size.height() < M.minimumHeight() || (!Tools.intersects(M.findChild<QWidget*>("pnlPreview")->geometry()) &&
                                                          Tools.bottom() < M.statusBar()->geometry().top()));
            const QImage Shot = M.grab(Tools).toImage(); // no dot of the blank preview
            for (int Y = 0; Y < Shot.height(); ++Y)
                for (int X = 0; X < Shot.width(); ++X)
                    QVERIFY(Shot.pixelColor(X, Y) != QColor(0, 128, 128));
        }
        QTRY_COMPARE(List->width(), Width);
        const auto* Tools = M.findChild<QScrollArea*>(QStringLiteral("scrTools"));
        QTRY_VERIFY(Tools->viewport()->height() >= Tools->widget()->minimumSizeHint().height());
    }

    void closeAndQuitRefusedWhileBusy()
    {
        TfrmMain& M = MainWithProject();
        M.SetBusy(true);
        QVERIFY(!M.close());
        M.Action("actApplicationExit")->trigger();
        QVERIFY(M.isVisible());
        M.SetBusy(false);
        M.Action("actApplicationExit")->trigger();
        QVERIFY(!M.isVisible());
    }

    // A box during the work is the window's, over the normal pointer, the busy one gone after; the file asked first sets none.
    void boxesDuringWorkShowTheNormalPointer_data()
    {
        QTest::addColumn<QString>("Action"); // on a font of 1 x 1 characters
        QTest::addColumn<QString>("Box");
        const QString Missing = QStringLiteral("/nonexistent-folder/a.lcd");
        QTest::newRow("pass, character question") << "actBatchInvert" << "Confirm: Current Char has been changed. Save?";
        QTest::newRow("refused delete") << "actDeleteFirstCol" << "Error: Cannot delete more columns";
        QTest::newRow("open error") << "actOpenFontProject" << "Error: File " + Missing + " does not exists.";
        QTest::newRow("save error") << "actSaveFontProject" << "Error: Error saving font\n" + Missing + ": No such file or directory";
    }
    void boxesDuringWorkShowTheNormalPointer()
    {
        QFETCH(QString, Action);
        QFETCH(QString, Box);
        TfrmMain& M = MainWithProject(1, 1);
        const bool Pass = Action == "actBatchInvert", File = Action.endsWith("FontProject");
        if (Pass) Click(Qt::LeftButton, Qt::NoModifier, 0, 0); // a character edited, for the pass to ask about
        Fx.Messages.AnswerFile(QStringLiteral("/nonexistent-folder/a.lcd")); // for Open and Save
        Fx.Messages.Answer(Pass ? TModalResult::mrNo : TModalResult::mrOk);
        M.Action(Action)->trigger();
        QCOMPARE(Fx.Messages.Log.last(), Box);
        QCOMPARE(Fx.Messages.Asked.last().Owner, &M);
        QCOMPARE(Fx.Messages.Asked.last().Pointer, std::optional(Qt::ArrowCursor));
        QCOMPARE(Fx.Messages.Asked.first().Pointer, File ? std::nullopt : std::optional(Qt::ArrowCursor));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void aboutBoxLinksGoToTheOpener()
    {
        TfrmMain& M = Main();
        Fx.Messages.AnswerDialog([](QDialog* D) {
            // Measures the picture, whatever the form said.
            if (D->size() != QSize(540, 376))
                return -1;
            const QList<std::pair<const char*, QPoint>> Places = {
                {"Label8", {445, 62}}, {"Label4", {318, 137}}, {"lblEmail", {318, 154}},
                {"lblUrl", {318, 171}}, {"imgStandaloneApp", {24, 160}}};
            for (const auto& [Name, Pos] : Places)
                if (D->findChild<QWidget*>(QString::fromLatin1(Name))->pos() != Pos)
                    return -2;
            if (D->findChild<QLabel*>(QStringLiteral("Label8"))->text() != QStringLiteral("Version 1.0.0"))
                return -3;
            for (const char* Name : {"lblEmail", "lblUrl"}) {
                auto* L = D->findChild<QLabel*>(QString::fromLatin1(Name));
                QTest::mouseClick(L, Qt::LeftButton);
            }
            // No close box; Enter presses the default button.
            if (!(D->windowFlags() & Qt::FramelessWindowHint))
                return -4;
            D->show();
            QTest::keyClick(D, Qt::Key_Return);
            return D->isVisible() ? -5 : D->result();
        });
        M.Action("actAbout")->trigger();
        QVERIFY(Fx.Messages.AllUsed());
        QCOMPARE(Fx.Messages.Log, (QStringList{"dialog: frmAbout", "shell: mailto:info@dotwright.example",
                                             "shell: https://dotwright.example"}));
    }

    void settingsWrittenAtCloseAndRestored()
    {
        {
            TfrmMain& M = MainWithProject();
            M.findChild<QComboBox*>(QStringLiteral("cbPreviewColorScheme"))->setCurrentIndex(3);
            M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->setValue(22);
            M.Action("actShowGrid")->trigger();
            M.findChild<QAction*>(QStringLiteral("actQuickHelpPanel"))->trigger();
            M.findChild<QAction*>(QStringLiteral("actFontToolbar"))->trigger();
            M.setGeometry(40, 50, 1010, 760);
            Fx.Window.reset();
        }
        QVERIFY(QFile::exists(Fx.Config.path() + QStringLiteral("/Dotwright/Dotwright.ini")));
        QSettings S = Ini();
        S.beginGroup(QStringLiteral("ToolBarItems"));
        QCOMPARE(S.childKeys().size(), 9);
        QCOMPARE(S.value("PreviewPnl_ColorScheme").toString(), QStringLiteral("3"));
        QCOMPARE(S.value("EditorGrid_Size").toString(), QStringLiteral("22"));
        QCOMPARE(S.value("EditorGrid_Visible").toString(), QStringLiteral("0"));
        QCOMPARE(S.value("QuickHelpPnl_Visible").toString(), QStringLiteral("0"));
        QCOMPARE(S.value("MainWinPos_WSTATE").toString(), QStringLiteral("0"));
        QCOMPARE(S.value("MainWinPos_Width").toString(), QStringLiteral("1010"));
        QCOMPARE(S.value("MainWinPos_Height").toString(), QStringLiteral("760"));
        QCOMPARE(S.value("MainWinPos_Left").toString(), QStringLiteral("40"));
        QCOMPARE(S.value("MainWinPos_Top").toString(), QStringLiteral("50"));
        S.endGroup();
        for (const char* Section : {"TBX_tbFont", "TBX_tbCharacter", "TBX_pnlPreview", "TBX_pnlTools", "TBX_frmMain"})
            QVERIFY2(S.childGroups().contains(QString::fromLatin1(Section)), Section);
        QCOMPARE(S.value("TBX_tbFont/Visible").toString(), QStringLiteral("0"));

        TfrmMain& M = Main();
        QCOMPARE(M.findChild<QComboBox*>(QStringLiteral("cbPreviewColorScheme"))->currentIndex(), 3);
        QCOMPARE(M.CharEditor()->CharViewer()->ActiveDotColor(), 0x0000FF);
        QCOMPARE(M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->value(), 22);
        QCOMPARE(M.CharEditor()->CellWidth(), 22);
        QVERIFY(!M.Action("actShowGrid")->isChecked());
        QVERIFY(!M.CharEditor()->GridVisible());
        QVERIFY(M.findChild<QWidget*>(QStringLiteral("pnlQuickHelp"))->isHidden());
        QVERIFY(M.findChild<QWidget*>(QStringLiteral("tbFont"))->isHidden());
        QCOMPARE(M.geometry(), QRect(40, 50, 1010, 760));
        QVERIFY(!M.findChild<QAbstractScrollArea*>("grdFontViewer")->horizontalScrollBar()->isVisible()); // empty, at the start width
    }

    void firstStartDefaults()
    {
        TfrmMain& M = Main();
        // The folder is made at start, the file only at close.
        QVERIFY(QDir(TfrmMain::GetSettingsFolder()).exists());
        QVERIFY(!QFile::exists(TfrmMain::GetSettingsFileName()));
        QCOMPARE(M.findChild<QComboBox*>(QStringLiteral("cbPreviewColorScheme"))->currentIndex(), 0);
        QCOMPARE(M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->value(), 15);
        QVERIFY(M.Action("actShowGrid")->isChecked());
        QVERIFY(!M.findChild<QWidget*>(QStringLiteral("pnlQuickHelp"))->isHidden());
        // centred on the screen
        const QRect Screen = M.screen()->availableGeometry();
        // within the frame's width, which is known only once shown
        QVERIFY(qAbs(M.frameGeometry().center().x() - Screen.center().x()) <= 3);
        QVERIFY(qAbs(M.frameGeometry().center().y() - Screen.center().y()) <= 3);
    }

    void badSettingsAreCorrected_data()
    {
        QTest::addColumn<QString>("Key");
        QTest::addColumn<QString>("Value");
        QTest::newRow("grid size below 5") << "EditorGrid_Size" << "4";
        QTest::newRow("grid size not a number") << "EditorGrid_Size" << "abc";
        QTest::newRow("scheme too high") << "PreviewPnl_ColorScheme" << "5";
        QTest::newRow("scheme negative") << "PreviewPnl_ColorScheme" << "-1";
        QTest::newRow("minimised") << "MainWinPos_WSTATE" << "1";
        QTest::newRow("off every screen") << "MainWinPos_Left" << "-20000";
    }
    void badSettingsAreCorrected()
    {
        QFETCH(QString, Key);
        QFETCH(QString, Value);
        {
            QDir().mkpath(TfrmMain::GetSettingsFolder());
            QSettings S = Ini();
            S.setValue(QStringLiteral("ToolBarItems/MainWinPos_Left"), 100);
            S.setValue(QStringLiteral("ToolBarItems/MainWinPos_Top"), 100);
            S.setValue(QStringLiteral("ToolBarItems/") + Key, Value);
        }
        TfrmMain& M = Main();
        QCOMPARE(M.findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->value(), 15);
        QCOMPARE(M.findChild<QComboBox*>(QStringLiteral("cbPreviewColorScheme"))->currentIndex(), 0);
        QVERIFY(!M.isMinimized());
        QVERIFY(M.screen()->availableGeometry().intersects(M.frameGeometry()));
    }

    // A settings file Qt cannot fully parse, changed in the session (the save reads it again), is still written.
    void unparsableSettingsFileIsWritten()
    {
        const QByteArray Old("\xEF\xBB\xBF[Other\r\n[ToolBarItems]\r\nbroken line\r\nEditorGrid_Size=9\r\n");
        Main().findChild<QSpinBox*>(QStringLiteral("edtGridSize"))->setValue(21);
        QFile F(TfrmMain::GetSettingsFileName());
        QVERIFY(F.open(QIODevice::WriteOnly) && F.write(Old) == Old.size() && F.flush());
        Fx.Window.reset(); // no error box: none is answered
        QCOMPARE(Ini().value("ToolBarItems/EditorGrid_Size").toString(), QStringLiteral("21"));
        QVERIFY(Ini().childGroups().contains(QStringLiteral("TBX_frmMain"))); // the layout too
    }

    // The client area from the file's place and size: inside the tests' 1600 x 1000 screen, no larger (a frame of 2).
    void windowPlaceFromSettings_data()
    {
        QTest::addColumn<QString>("Stored"); // of MainWinPos_Left, _Top, _Width and _Height
        QTest::addColumn<QRect>("Expected");
        QTest::newRow("huge") << "Left=100 Top=100 Width=100000 Height=100000" << QRect(2, 2, 1596, 996);
        QTest::newRow("tall, no place") << "Height=3000" << QRect(304, 2, 991, 996);
        QTest::newRow("extreme") << "Left=2147483647 Width=-2147483648" << QRect(304, 128, 991, 744);
        QTest::newRow("partly off") << "Left=1500 Top=900 Width=1010 Height=0" << QRect(588, 254, 1010, 744);
    }
    void windowPlaceFromSettings()
    {
        QFETCH(QString, Stored);
        QFETCH(QRect, Expected);
        QVERIFY(QDir().mkpath(TfrmMain::GetSettingsFolder()));
        for (const QString& KV : Stored.split(u' '))
            Ini().setValue("ToolBarItems/MainWinPos_" + KV.section(u'=', 0, 0), KV.section(u'=', 1));
        QCOMPARE(Main().geometry(), Expected);
        Fx.Window.reset(); // and the file gets what the window got
        QCOMPARE(Ini().value("ToolBarItems/MainWinPos_Height").toInt(), Expected.height());
    }

    void settingsFolderThatCannotBeMade()
    {
        const QString Blocker = Fx.Config.path() + QStringLiteral("/blocker");
        QFile F(Blocker);
        QVERIFY(F.open(QIODevice::WriteOnly));
        F.close();
        qputenv("XDG_CONFIG_HOME", Blocker.toLocal8Bit());
        Fx.Messages.Answer(TModalResult::mrOk);
        Fx.Messages.Answer(TModalResult::mrOk);
        Main();
        Fx.Window.reset(); // the write fails, and says so
        qputenv("XDG_CONFIG_HOME", Fx.Config.path().toLocal8Bit());
        QCOMPARE(Fx.Messages.Log,
                 (QStringList{QStringLiteral("Error: Error creating Data Folder to store INI file\r\n"
                                             "Cannot create the folder ") + Blocker + QStringLiteral("/Dotwright"),
                              QStringLiteral("Error: Unable to write to ") + Blocker +
                                  QStringLiteral("/Dotwright/Dotwright.ini\r\nNot a directory")}));
    }

    // A settings path that is no regular file, or another user's link in a shared folder, is neither read nor
    // written (a pipe hung the start), and one box at the end says why, as it does for a write that fails; a link
    // to a file is read and written through (its name's bytes as they are) and stays a link.
    void settingsPathThatIsNoFile_data()
    {
        QTest::addColumn<QString>("Kind"); // as MakeKind names it, or a case of this test's
        QTest::addColumn<int>("Read");     // the grid size read at the start; a file there holds 17
        QTest::addColumn<QString>("Why");  // the box's second line ("%1": the settings file), none when empty
        for (const char* Kind : {"pipe", "link to a device", "folder"})
            QTest::newRow(Kind) << QString::fromLatin1(Kind) << 15 << "%1 is not a regular file";
        QTest::newRow("link to a file") << "link to a file" << 17 << "";
        QTest::newRow("link to a name not in UTF-8") << "link to dw\\351.ini" << 17 << "";
        QTest::newRow("another user's link in a shared folder") << "another user's link" << 15 << "%1 is a link that another user owns in a shared folder";
        const QString TooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
        QTest::newRow("file size limit 0") << "file, size limit 0" << 17 << TooLarge;
        QTest::newRow("file size limit 0, no file") << "no file, size limit 0" << 15 << "Cannot write a temporary copy of the settings: " + TooLarge;
    }
    void settingsPathThatIsNoFile()
    {
        QFETCH(QString, Kind);
        QFETCH(int, Read);
        QFETCH(QString, Why);
        const QString Path = TfrmMain::GetSettingsFileName(), Folder = TfrmMain::GetSettingsFolder();
        const QByteArray P = QFile::encodeName(Path), Held = "[ToolBarItems]\nEditorGrid_Size=17\n";
        QVERIFY(QDir().mkpath(Folder));
        if (Kind == "link to dw\\351.ini")
            QVERIFY(MakeKind(Path, "file", Held) && ::rename(P, QFile::encodeName(Folder) + "/dw\351.ini") == 0 &&
                    ::symlink("dw\351.ini", P) == 0);
        else if (Kind == "another user's link")
            QVERIFY(MakeKind(Path, "link to a file", Held) && ::chmod(QFile::encodeName(Folder), 01777) == 0 &&
                    ::lchown(P, 4243, 4243) == 0);
        else if (!Kind.startsWith("no file"))
            QVERIFY(MakeKind(Path, Kind.section(u',', 0, 0), Held));
        const QStringList Before = Entries(Folder);
        QSpinBox* GridSize = Main().findChild<QSpinBox*>(QStringLiteral("edtGridSize"));
        QCOMPARE(GridSize->value(), Read);
        GridSize->setValue(21);
        if (!Why.isEmpty())
            Fx.Messages.Answer(TModalResult::mrOk);
        rlimit Was{}, Full{0, RLIM_INFINITY};
        QVERIFY(std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::getrlimit(RLIMIT_FSIZE, &Was) == 0 &&
                (!Kind.endsWith("limit 0") || ::setrlimit(RLIMIT_FSIZE, &Full) == 0));
        Fx.Window.reset();
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &Was) == 0);
        QCOMPARE(Fx.Messages.Log, Why.isEmpty() ? QStringList() : QStringList("Error: Unable to write to %1\r\n" + Why).replaceInStrings("%1", Path));
        QCOMPARE(QFileInfo(Path).isSymLink(), Kind.contains(QStringLiteral("link")));
        QCOMPARE(Entries(Folder), Before);
        if (QFileInfo(Path).isFile()) // read only where a file is: a pipe would hang the reader
            QCOMPARE(FileBytes(Path).contains("EditorGrid_Size=21"), Why.isEmpty());
    }

    void maximisedIsKept()
    {
        QDir().mkpath(TfrmMain::GetSettingsFolder());
        Ini().setValue(QStringLiteral("ToolBarItems/MainWinPos_WSTATE"), 2);
        TfrmMain& M = Main();
        QVERIFY(M.windowState() & Qt::WindowMaximized);
        Fx.Window.reset();
        QCOMPARE(Ini().value(QStringLiteral("ToolBarItems/MainWinPos_WSTATE")).toString(), QStringLiteral("2"));
    }
};

QTEST_MAIN(tst_ufMain)
#include "tst_ufMain.moc"
