// The character list of the main window: its rows, thumbnails, geometry and
// what selecting a row does to the editor.
#include "MainTestSupport.h"
#include "NxColumnClasses.h"

#include <QAction>
#include <QDockWidget>
#include <QScrollBar>

using namespace MainTest;

namespace {

TNextGrid* List(TfrmMain& W) { return W.findChild<TNextGrid*>(QStringLiteral("grdFontViewer")); }

// The centre of row ARow's code cell, in viewport coordinates.
QPoint RowPoint(TNextGrid* G, int ARow)
{
    return QPoint(60, G->RowTop(ARow) + G->GetRowHeight(ARow) / 2);
}

} // namespace

class tst_ufMainCharList : public TWindowTestCase {
    Q_OBJECT

private slots:
    void rowsAndGeometry()
    {
        auto Font = MakeFont(QStringLiteral("List"), 32, 255, 8, 8);
        TfrmMain& W = Fx.MainWith(std::move(Font));
        TNextGrid* G = List(W);
        QVERIFY(G);
        QCOMPARE(G->RowCount(), 224);
        QCOMPARE(G->GetRowHeight(0), 48);
        QCOMPARE(G->Columns().Item(2)->Width(), 48);
        const int Panel = G->verticalScrollBar()->sizeHint().width() + 40 + 40 + 48 + 5;
        QTRY_COMPARE(W.findChild<QDockWidget*>(QStringLiteral("pnlFontChars"))->width(), Panel);
        // Windows-1252 characters, and the code with one blank before it.
        QCOMPARE(G->Cells(0, 0), QStringLiteral(" "));
        QCOMPARE(G->Cells(0, 65 - 32), QStringLiteral("A"));
        QCOMPARE(G->Cells(0, 128 - 32), QString(QChar(0x20AC)));
        QCOMPARE(G->Cells(0, 233 - 32), QString(QChar(0xE9)));
        QCOMPARE(G->Cell(1, 10)->AsInteger(), 42);
        QCOMPARE(G->Columns().Item(1)->FormatText(G->Cell(1, 10)->AsString()), QStringLiteral(" 42"));
        QCOMPARE(G->Columns().Item(0)->Font().family(), QStringLiteral("Arial"));
        // The first row is selected, current and loaded.
        QCOMPARE(G->SelectedRow(), 0);
        QCOMPARE(W.CurrentFont()->CurrentChar, 32);
        QVERIFY(W.CharEditor()->isVisible());
        QCOMPARE(W.UndoMgr().Count(), 0);
    }

    void emptyRangeHidesTheEditor()
    {
        auto Font = std::make_unique<TGLCDFont>(QStringLiteral("Empty"));
        Font->RangeFrom = 40;
        Font->RangeTo = 39;
        TfrmMain& W = Fx.MainWith(std::move(Font));
        QCOMPARE(List(W)->RowCount(), 0);
        QVERIFY(!W.CharEditor()->isVisible());
        QCOMPARE(Label(W, "lblStatusFontCharsCount2"), QStringLiteral("0"));
        QVERIFY(!W.Action(QStringLiteral("actSaveModifiedChar"))->isEnabled());
    }

    // A click on another row (or the same one) with the editor modified or not.
    void selection_data()
    {
        QTest::addColumn<bool>("Modified");
        QTest::addColumn<int>("Target");   // the row clicked
        QTest::addColumn<int>("Answer");   // to the character question; -1 none asked
        QTest::addColumn<QString>("Left"); // the character left, as stored afterwards
        QTest::addColumn<bool>("ProjectModified");
        QTest::newRow("clean, other row") << false << 2 << -1 << "..|.." << false;
        QTest::newRow("modified, Yes stores") << true << 2 << int(TModalResult::mrYes) << "#.|.." << true;
        QTest::newRow("modified, No drops") << true << 2 << int(TModalResult::mrNo) << "..|.." << false;
        QTest::newRow("modified, same row, No reloads") << true << 0 << int(TModalResult::mrNo) << "..|.."
                                                        << false;
    }
    void selection()
    {
        QFETCH(bool, Modified);
        QFETCH(int, Target);
        QFETCH(int, Answer);
        QFETCH(QString, Left);
        QFETCH(bool, ProjectModified);
        auto Font = MakeFont(QStringLiteral("Sel"), 65, 70, 2, 2);
        Draw(*Font->GetChar(67), QStringLiteral("##|##"));
        TfrmMain& W = Fx.MainWith(std::move(Font));
        TNextGrid* G = List(W);
        if (Modified)
            Fx.Click(0, 0);
        if (Answer >= 0)
            Fx.Messages.Answer(TModalResult(Answer));
        QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, RowPoint(G, Target));
        QCOMPARE(Fx.Messages.Log.filter(QStringLiteral("Current Char has been changed. Save?")).size(),
                 Answer >= 0 ? 1 : 0);
        QCOMPARE(Picture(*W.CurrentFont()->GetChar(65)), Left);
        QCOMPARE(W.ProjectModified(), ProjectModified);
        QCOMPARE(W.CurrentFont()->CurrentChar, 65 + Target);
        QCOMPARE(Picture(*W.CharEditor()), Target == 2 ? QStringLiteral("##|##") : QStringLiteral("..|.."));
        QVERIFY(!W.CharEditor()->Modified());
        QCOMPARE(W.UndoMgr().Count(), 0);
        QVERIFY(!W.Action(QStringLiteral("actUndo"))->isEnabled());
    }

    void keysMoveTheSelection()
    {
        TfrmMain& W = Fx.MainWith(MakeFont(QStringLiteral("Keys"), 32, 126, 8, 8));
        TNextGrid* G = List(W);
        G->setFocus();
        QTest::keyClick(G, Qt::Key_Down);
        QCOMPARE(W.CurrentFont()->CurrentChar, 33);
        QTest::keyClick(G, Qt::Key_End);
        QCOMPARE(W.CurrentFont()->CurrentChar, 126);
        QVERIFY(G->verticalScrollBar()->value() > 0);
        QTest::keyClick(G, Qt::Key_Home);
        QCOMPARE(W.CurrentFont()->CurrentChar, 32);
        QCOMPARE(G->verticalScrollBar()->value(), 0);
    }

    // Drawing leaves the keyboard with the list: the next key moves to the next character.
    void drawingKeepsTheKeysOnTheList_data()
    {
        QTest::addColumn<int>("Button");
        QTest::addColumn<int>("Modifiers");
        QTest::newRow("left") << int(Qt::LeftButton) << 0;
        QTest::newRow("right") << int(Qt::RightButton) << 0;
        QTest::newRow("ctrl left") << int(Qt::LeftButton) << int(Qt::ControlModifier);
        QTest::newRow("middle") << int(Qt::MiddleButton) << 0;
    }
    void drawingKeepsTheKeysOnTheList()
    {
        QFETCH(int, Button);
        QFETCH(int, Modifiers);
        TfrmMain& W = Fx.MainWith(MakeFont(QStringLiteral("Keys"), 32, 126, 8, 8));
        W.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W));
        TNextGrid* G = List(W); // has the keyboard from the start
        TPixelGrid* E = W.CharEditor();
        QTest::mouseClick(E, Qt::MouseButton(Button), Qt::KeyboardModifiers(Modifiers), QPoint(20, 20));
        QCOMPARE(QApplication::focusWidget(), G);
        // The key goes where the window sends it, not to a chosen widget.
        Fx.Messages.Answer(TModalResult::mrNo);
        QTest::keyClick(W.windowHandle(), Qt::Key_Down);
        QCOMPARE(W.CurrentFont()->CurrentChar, 33);
        QCOMPARE(G->SelectedRow(), 1);
        // and the window's own shortcuts still reach their actions
        QTest::keyClick(W.windowHandle(), Qt::Key_I, Qt::ControlModifier);
        QVERIFY(W.CharEditor()->Modified());
    }

    // The list may be sorted by a header click: the code always comes from the row's code cell.
    void sortedListSelectsByCode()
    {
        TfrmMain& W = Fx.MainWith(MakeFont(QStringLiteral("Sort"), 32, 126, 8, 8));
        TNextGrid* G = List(W);
        G->SortColumn(G->Columns().Item(1), false);
        // The code column holds text: "99" sorts first, "98" second.
        QCOMPARE(G->Cell(1, 0)->AsInteger(), 99);
        G->setFocus();
        QTest::keyClick(G, Qt::Key_Home);
        QTest::keyClick(G, Qt::Key_Down);
        QCOMPARE(W.CurrentFont()->CurrentChar, 98);
        QCOMPARE(G->Cells(0, 1), QStringLiteral("b"));
    }

    // Thumbnails: 4 x 4 dots every 5 pixels from (3, 3) inside the cell, in the
    // pixel's own colour; the row's background shows through the gaps.
    void thumbnails()
    {
        auto Font = MakeFont(QStringLiteral("Thumb"), 65, 66, 3, 2);
        Draw(*Font->GetChar(66), QStringLiteral("#..|..#"));
        TfrmMain& W = Fx.MainWith(std::move(Font));
        TNextGrid* G = List(W);
        const QImage Img = G->viewport()->grab().toImage();
        const int Left = 40 + 40 + 3, Top = G->RowTop(1) + 3;
        auto Px = [&](int X, int Y) { return QColor(Img.pixel(X, Y)); };
        QCOMPARE(Px(Left + 1, Top + 1), QColor(Qt::black));        // (0, 0) ink
        QCOMPARE(Px(Left + 5 + 1, Top + 1), QColor(Qt::white));    // (1, 0) paper
        QCOMPARE(Px(Left + 10 + 3, Top + 5 + 3), QColor(Qt::black)); // (2, 1) ink
        QVERIFY(Px(Left + 4, Top + 1) != QColor(Qt::black));       // the gap
    }

    // One font after another: the window keeps its size, the list's panel
    // starts at the width its columns want (as far as the window allows) and
    // may still be narrowed, and the preview stays centred in its panel.
    void windowKeepsItsSize_data()
    {
        QTest::addColumn<QList<int>>("Sizes"); // square fonts, shown in this order
        QTest::newRow("50 then 8") << QList<int>{50, 8};
        QTest::newRow("8 then 50") << QList<int>{8, 50};
        QTest::newRow("120 then 1") << QList<int>{120, 1};
    }
    void windowKeepsItsSize()
    {
        QFETCH(QList<int>, Sizes);
        TfrmMain& W = Fx.Main();
        const QSize Before = W.size();
        auto* Chars = W.findChild<QDockWidget*>(QStringLiteral("pnlFontChars"));
        auto* Preview = W.findChild<QDockWidget*>(QStringLiteral("pnlPreview"));
        const int PreviewWidth = Preview->width();
        for (int Size : Sizes) {
            W.ShowProject(MakeFont(QStringLiteral("Grow"), 32, 40, Size, Size), false);
            QTest::qWait(20);
            QCOMPARE(W.size(), Before);
            QCOMPARE(Preview->width(), PreviewWidth);
            const int Wanted = List(W)->verticalScrollBar()->sizeHint().width() + 40 + 40 + Size * 5 + 8 + 5;
            QVERIFY2(Chars->width() <= Wanted, qPrintable(QString::number(Chars->width())));
            QVERIFY(Chars->minimumSizeHint().width() < 100);
            auto* Viewer = W.findChild<QWidget*>(QStringLiteral("LiveGLCSViewer"));
            QCOMPARE(Viewer->x(), (Viewer->parentWidget()->width() - Viewer->width()) / 2);
            // also after a change of the character's size
            W.Action(QStringLiteral("actInsetColLeft"))->trigger();
            QCOMPARE(Viewer->x(), (Viewer->parentWidget()->width() - Viewer->width()) / 2);
            if (Size == 120) {
                const QImage Shot = W.grab().toImage();
                if (!qEnvironmentVariableIsEmpty("DW_WINDOW_PICTURE"))
                    Shot.save(qEnvironmentVariable("DW_WINDOW_PICTURE"));
            }
        }
    }

    void sizeChangeResizesTheList()
    {
        TfrmMain& W = Fx.MainWith(MakeFont(QStringLiteral("Grow"), 32, 40, 8, 8));
        TNextGrid* G = List(W);
        W.Action(QStringLiteral("actInsetColLeft"))->trigger();
        QCOMPARE(G->Columns().Item(2)->Width(), 53);
        QCOMPARE(G->GetRowHeight(3), 48);
        W.Action(QStringLiteral("actInsertRowTop"))->trigger();
        QCOMPARE(G->GetRowHeight(3), 53);
        QCOMPARE(G->RowSize(), 53);
    }
};

QTEST_MAIN(tst_ufMainCharList)
#include "tst_ufMainCharList.moc"
