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
        W.activateWindow(); // the list has the keys from the start, and keeps them while the user draws
        QVERIFY(QTest::qWaitForWindowActive(&W));
        Fx.Click(1, 1);
        Fx.Messages.Answer(TModalResult::mrNo);
        QTest::keyClick(W.windowHandle(), Qt::Key_Down);
        QCOMPARE(W.CurrentFont()->CurrentChar, 33);
        QTest::keyClick(G, Qt::Key_End);
        QCOMPARE(W.CurrentFont()->CurrentChar, 126);
        QVERIFY(G->verticalScrollBar()->value() > 0);
        QTest::keyClick(G, Qt::Key_Home);
        QCOMPARE(W.CurrentFont()->CurrentChar, 32);
        QCOMPARE(G->verticalScrollBar()->value(), 0);
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

    // Rows made shorter while scrolled to the end pull the list back: it stays full, the last row at its bottom.
    void shorterRowsAtTheEndFillTheList()
    {
        TfrmMain& W = Fx.MainWith(MakeFont(QStringLiteral("Short"), 32, 126, 8, 8));
        TNextGrid* G = List(W);
        QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, RowPoint(G, 0));
        QTest::keyClick(G, Qt::Key_End);
        for (int I = 0; I < 5; ++I)
            W.Action(QStringLiteral("actDeleteLastRow"))->trigger();
        const int Last = G->RowCount() - 1, H = G->GetRowHeight(Last), Bottom = G->RowTop(Last) + H;
        QVERIFY(Bottom <= G->GetBodyRect().Bottom && Bottom > G->GetBodyRect().Bottom - H);
        QCOMPARE(G->verticalScrollBar()->value(), G->FirstRow());
        QCOMPARE(G->viewport()->grab().toImage().pixelColor(2, Bottom - 2), G->palette().color(QPalette::Highlight));
    }

    // The window keeps its size from font to font; the preview stays centred, clipped when wider.
    void windowKeepsItsSize()
    {
        TfrmMain& W = Fx.Main();
        const QSize Before = W.size();
        for (int Size : {50, 8, 120}) {
            W.ShowProject(MakeFont(QStringLiteral("Size"), 32, 40, Size, Size), false);
            QTest::qWait(20);
            QCOMPARE(W.size(), Before);
            auto* Viewer = W.findChild<QWidget*>(QStringLiteral("LiveGLCSViewer"));
            QCOMPARE(Viewer->x(), (Viewer->parentWidget()->width() - Viewer->width()) / 2);
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
