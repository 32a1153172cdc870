#include "NxTestGrid.h"
#include "NxTestListGrid.h"

#include <QtTest>

class tst_NextGrid : public QObject {
    Q_OBJECT
private slots:
    void AddRow_data();
    void AddRow();
    void CellsOutOfBounds();
    void CellClassesAndChanges();
    void DeleteAndInsert();
    void RowsAboveTheViewKeepTheView_data();
    void RowsAboveTheViewKeepTheView();
    void ScrollState_data();
    void ScrollState();
    void SortKeepsTheCurrentRow();
    void CalculateFooter();
    void ChildRows();
    void DeletedParentIsForgotten();
    void TreeLinks_data();
    void TreeLinks();
};

// Steps: "add N", "clear", "defaults"; then RowCount and LastAddedRow.
void tst_NextGrid::AddRow_data()
{
    QTest::addColumn<QStringList>("Steps");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("one on an empty grid") << QStringList{"add 1"} << "1 0";
    QTest::newRow("zero and negative change nothing") << QStringList{"add 2", "add 0", "add -3"} << "2 1";
    QTest::newRow("clear keeps LastAddedRow") << QStringList{"add 3", "clear"} << "0 2";
    QTest::newRow("clear then one") << QStringList{"add 3", "clear", "add 1"} << "1 0";
    QTest::newRow("several at once") << QStringList{"add 1", "add 4"} << "5 4";
}

void tst_NextGrid::AddRow()
{
    QFETCH(QStringList, Steps);
    QFETCH(QString, Expected);
    TListGrid G;
    QStringList Selected;
    for (const QString& S : Steps) {
        const QStringList P = S.split(' ');
        if (P[0] == "add")
            G.AddRow(P[1].toInt());
        else if (P[0] == "clear")
            G.ClearRows();
    }
    QCOMPARE(QString("%1 %2").arg(G.RowCount()).arg(G.LastAddedRow), Expected);
    QVERIFY(G.Events.isEmpty()); // adding rows fires no selection event
    QCOMPARE(QString("%1 %2 %3").arg(G.SelectedColumn()).arg(G.SelectedRow()).arg(G.FirstRow()), QString("0 0 0"));
}

void tst_NextGrid::CellsOutOfBounds()
{
    TListGrid G(3);
    G.SetCells(1, 2, "x");
    QCOMPARE(G.Cells(1, 2), QString("x"));
    G.SetCells(0, 3, "y");
    G.SetCells(3, 0, "y");
    G.SetCells(-1, 0, "y");
    QCOMPARE(G.Cells(-1, 0), QString());
    QCOMPARE(G.Cells(0, 3), QString());
    for (int R = 0; R < 3; ++R)
        for (int C = 0; C < 3; ++C)
            QVERIFY(G.Cells(C, R) != "y");
    // With default values the image column's new cell reads "0".
    G.SetOptions(G.Options() | goUseDefaultValues);
    G.AddRow(1);
    QCOMPARE(G.Cells(2, 3), QString("0"));
    QCOMPARE(G.Cells(0, 3), QString());
}

void tst_NextGrid::CellClassesAndChanges()
{
    TListGrid G(1);
    QVERIFY(dynamic_cast<TStringCell*>(G.Cell(0, 0)));
    QVERIFY(dynamic_cast<TStringCell*>(G.Cell(1, 0)));
    QVERIFY(dynamic_cast<TIntegerCell*>(G.Cell(2, 0)));
    QStringList Changes;
    G.OnChange = [&](TNxCustomGridControl*, int C, int R) { Changes << QString("%1 %2").arg(C).arg(R); };
    G.Cell(1, 0)->SetAsInteger(65);
    QCOMPARE(G.Cell(1, 0)->AsInteger(), 65);
    G.BeginUpdate();
    G.Cell(0, 0)->SetAsString("A");
    G.EndUpdate();
    QCOMPARE(Changes, QStringList{"1 0"});
}

void tst_NextGrid::DeleteAndInsert()
{
    TListGrid G(5);
    G.SetSelectedRow(4);
    G.DeleteRow(4);
    QCOMPARE(G.RowCount(), 4);
    QCOMPARE(G.SelectedRow(), 3);
    QCOMPARE(G.Cell(1, 3)->AsInteger(), 35);
    G.DeleteRow(0);
    QCOMPARE(G.Cell(1, 0)->AsInteger(), 33);
    QCOMPARE(G.CellStore().VisibleRowCount(), 3);
    G.InsertRow(1);
    QCOMPARE(G.RowCount(), 4);
    QCOMPARE(G.Cells(1, 1), QString());
    QCOMPARE(G.Cell(1, 2)->AsInteger(), 34);
}

// 30 rows of which 10 fit, scrolled to row 5 (code 37); then the first shown
// row, the bar's position and the code shown at the top.
void tst_NextGrid::RowsAboveTheViewKeepTheView_data()
{
    QTest::addColumn<QString>("Step");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("insert above") << "insert 2" << "6 6 37";
    QTest::newRow("delete above") << "delete 2" << "4 4 37";
    QTest::newRow("delete the first shown") << "delete 5" << "5 5 38";
    QTest::newRow("delete below") << "delete 9" << "5 5 37";
}

void tst_NextGrid::RowsAboveTheViewKeepTheView()
{
    QFETCH(QString, Step);
    QFETCH(QString, Expected);
    TListGrid G(30);
    G.VertScrollBar().SetPosition(5);
    const QStringList P = Step.split(' ');
    if (P[0] == "insert")
        G.InsertRow(P[1].toInt());
    else
        G.DeleteRow(P[1].toInt());
    const QString Got = QString("%1 %2 %3")
                            .arg(G.FirstRow())
                            .arg(G.VertScrollBar().Position())
                            .arg(G.Cell(1, G.FirstRow())->AsInteger());
    QCOMPARE(Got, Expected);
}

// Rows x height in a 160-pixel body, then steps (name:argument, or a key; "kids:N" N children of row 0, "tall:N" 64 pixels high, "move:N" to the top, "swap:N" with the last, "measure:N" odd rows
// measured N high, "slides" slides of 80, "grid" grid lines on, "lines:N" their style); then the first
// shown row, the bar's position and maximum, the rows wholly shown / that show. The bar works when it can move.
void tst_NextGrid::ScrollState_data()
{
    QTest::addColumn<QString>("Steps");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("rows shrink at the end") << "30x16 End heights:8" << "10 10 10 20/30";
    QTest::newRow("grid grows at the end") << "30x16 End client:338" << "10 10 10 20/30";
    QTest::newRow("insert above after deletes") << "20x16 scroll:19 del:19 del:18 ins:0" << "9 9 9 10/19";
    QTest::newRow("delete down to the first shown") << "30x16 End del:29 del:28 del:27 del:26 del:25 del:24 del:23 del:22 del:21 del:20" << "10 10 10 10/20";
    QTest::newRow("collapsed: scroll to a row") << "30x16 kids:5 collapse:0 scroll:34" << "25 20 20 10/30";
    QTest::newRow("collapsed: up above the view") << "30x16 kids:5 collapse:0 pos:3 select:8 Up" << "7 2 20 10/30";
    QTest::newRow("collapsed above the view") << "30x16 kids:5 pos:10 collapse:0" << "10 5 20 10/30";
    QTest::newRow("child of a hidden row") << "3x16 child:0 collapse:0 child:1" << "0 0 0 3/3";
    QTest::newRow("cut row clicked") << "10x45 click:3" << "1 1 7 3/10";
    QTest::newRow("cut row selected") << "10x45 select:3" << "1 1 7 3/10";
    QTest::newRow("down onto a cut row") << "10x45 select:2 Down" << "1 1 7 3/10";
    QTest::newRow("row out of sight selected") << "10x45 select:6" << "0 0 7 3/10";
    QTest::newRow("bar shown again") << "3x16 hidebar:0 hidebar:1 add:30" << "0 0 23 10/33";
    QTest::newRow("scroll to a row added in an update") << "3x16 begin add:30 scroll:32 end" << "23 23 23 10/33";
    QTest::newRow("tall row dragged from the end") << "30x16 tall:29 move:29 End" << "20 20 20 10/30";
    QTest::newRow("tall row sorted from the end") << "30x16 tall:29 sortdesc:0 End" << "20 20 20 10/30";
    QTest::newRow("child of a collapsed row above the view") << "30x16 kids:5 collapse:0 pos:10 child:0" << "16 10 20 10/30";
    QTest::newRow("tall row exchanged to the end") << "30x16 tall:0 swap:0 End" << "23 23 23 7/30";
    QTest::newRow("heights a handler measures") << "30x16 measure:32 End" << "24 24 24 6/30";
    QTest::newRow("slides below a folded row") << "30x16 kids:5 collapse:0 slides End" << "33 28 28 2/30";
    QTest::newRow("grid lines that make the rows higher") << "30x16 lines:4 grid lines:3 End" << "21 21 21 9/30";
    QTest::newRow("child of a collapsed row where the first shown row was") << "30x16 kids:1 collapse:0 child:15 pos:1 child:0 collapse:16" << "3 1 20 10/30";
    QTest::newRow("one of two collapsed rows expanded") << "30x16 kids:5 collapse:0 child:20 collapse:20 scroll:35 expand:0" << "26 25 25 10/35";
}

void tst_NextGrid::ScrollState()
{
    QFETCH(QString, Steps);
    QFETCH(QString, Expected);
    TListGrid G(Steps.section('x', 0, 0).toInt(), Steps.section(' ', 0, 0).section('x', 1).toInt());
    int N = 0;
    const QMap<QString, std::function<void()>> Ops{
        {"scroll", [&] { G.ScrollToRow(N); }}, {"select", [&] { G.SetSelectedRow(N); }}, {"del", [&] { G.DeleteRow(N); }},
        {"ins", [&] { G.InsertRow(N); }}, {"add", [&] { G.AddRow(N); }}, {"pos", [&] { G.VertScrollBar().SetPosition(N); }},
        {"client", [&] { G.resize(G.width(), N); }}, {"child", [&] { G.AddChildRow(N, true); }}, {"collapse", [&] { G.SetExpanded(N, false); }}, {"expand", [&] { G.SetExpanded(N, true); }},
        {"hidebar", [&] { G.SetHideScrollBar(N); }}, {"tall", [&] { G.SetRowHeight(N, 64); }}, {"move", [&] { G.MoveRow(N, 0); }}, {"swap", [&] { G.ExchangeRows(N, G.RowCount() - 1); }}, {"slides", [&] { G.SetGridStyle(gsSlides); }},
        {"grid", [&] { G.SetOptions(G.Options() | goGrid); }}, {"lines", [&] { G.SetGridLinesStyle(TGridLinesStyle(N)); }},
        {"measure", [&] { G.OnMeasuringRowHeight = [N](TNxCustomGridControl*, int R, int& H) { H = R % 2 ? N : H; }; G.UpdateVertScrollBar(); }},
        {"sortdesc", [&] { G.CodeCol->SetSortType(stNumeric); G.CodeCol->SetSortKind(skDescending); G.CodeCol->SetSorted(true); }},
        {"begin", [&] { G.BeginUpdate(); }}, {"end", [&] { G.EndUpdate(); }}, {"kids", [&] { for (int I = 0; I < N; ++I) G.AddChildRow(0, true); }},
        {"click", [&] { QTest::mouseClick(G.viewport(), Qt::LeftButton, {}, QPoint(60, G.RowTop(N) + 2)); }},
        {"heights", [&] { G.SetRowSize(N); for (int R = 0; R < G.RowCount(); ++R) G.SetRowHeight(R, N); }}};
    for (const QString& S : Steps.split(' ').mid(1)) {
        N = S.section(':', 1).toInt();
        Ops.contains(S.section(':', 0, 0)) ? Ops.value(S.section(':', 0, 0))() : QTest::keyClick(&G, QKeySequence(S)[0].key());
    }
    QCOMPARE(QString("%1 %2 %3 %4/%5").arg(G.FirstRow()).arg(G.VertScrollBar().Position()).arg(G.VertScrollBar().Max()).arg(G.GetVisibleRowCount()).arg(G.GetVisibleRowTotal()), Expected);
    QCOMPARE(G.verticalScrollBar()->isEnabled(), G.VertScrollBar().Max() > 0);
}

void tst_NextGrid::SortKeepsTheCurrentRow()
{
    TListGrid G(30);
    G.CodeCol->SetSortType(stNumeric);
    G.SetSelectedRow(3); // code 35
    G.CodeCol->SetSortKind(skDescending);
    G.CodeCol->SetSorted(true);
    QCOMPARE(G.Cell(1, 0)->AsInteger(), 61);
    QCOMPARE(G.Cell(1, G.SelectedRow())->AsInteger(), 35);
    QCOMPARE(G.SelectedRow(), 26);
    // The sorted row is scrolled into view.
    QVERIFY(G.SelectedRow() >= G.FirstRow() && G.SelectedRow() < G.FirstRow() + G.GetVisibleRowCount());
    // A sort that fails leaves the column unsorted.
    G.CodeCol->SetSorted(false);
    G.Cell(1, 2)->SetAsString("x");
    QCOMPARE(ErrorOf([&] { G.CodeCol->SetSorted(true); }), QString("'x' is not a valid floating point value"));
    QVERIFY(!G.CodeCol->Sorted());
}

void tst_NextGrid::CalculateFooter()
{
    TListGrid G;
    G.CodeCol->Footer().SetFormulaKind(fkAverage);
    G.LCDCol->Footer().SetFormulaKind(fkMinimum);
    G.CalculateFooter();
    QCOMPARE(G.CodeCol->Footer().Caption(), QString("0"));
    QCOMPARE(G.LCDCol->Footer().Caption(), QString("0"));
    for (int V : {2, 4, 9}) {
        G.AddRow(1);
        G.Cell(1, G.LastAddedRow)->SetAsInteger(V);
        G.Cell(2, G.LastAddedRow)->SetAsInteger(V);
    }
    G.CalculateFooter();
    QCOMPARE(G.CodeCol->Footer().Caption(), QString(" 5")); // the column's own text before the value
    QCOMPARE(G.LCDCol->Footer().Caption(), QString("2"));
}

void tst_NextGrid::ChildRows()
{
    TListGrid G(3);
    G.AddChildRow(0, true);
    G.AddChildRow(0, true);
    G.AddChildRow(1, true);
    // 0, its children 1 (with child 2) and 3, then the old rows 1 and 2.
    QCOMPARE(G.RowCount(), 6);
    QCOMPARE(G.LastAddedRow, 2);
    QCOMPARE(G.CellStore().GetDescendantCount(0), 3);
    G.SetExpanded(1, false);
    QCOMPARE(G.CellStore().VisibleRowCount(), 5);
    G.SetExpanded(0, false);
    QCOMPARE(G.CellStore().VisibleRowCount(), 3);
    G.SetExpanded(0, true);
    QCOMPARE(G.CellStore().VisibleRowCount(), 5); // row 2 stays under its collapsed parent
    G.DeleteRow(0);
    QCOMPARE(G.RowCount(), 2);
    QCOMPARE(G.Cell(1, 0)->AsInteger(), 33);
    // A grandchild left under its grandparent when its parent moves goes with the grandparent.
    G.AddChildRow(0, true);
    G.AddChildRow(1, true); // row 2, a child of row 1
    TRow* Parent = G.CellStore().GetRow(1);
    G.MoveRow(1, 3);
    G.DeleteRow(0);
    QCOMPARE(G.CellStore().GetRow(1), Parent);
    QCOMPARE(Parent->ChildCount, 0);
}

void tst_NextGrid::DeletedParentIsForgotten()
{
    TListGrid G(2);
    G.AddChildRow(0, true); // row 1, a child of row 0
    TRow* Child = G.CellStore().GetRow(1);
    G.CellStore().DeleteRow(0); // the store alone: the child stays
    QCOMPARE(Child->ParentRow, nullptr);
    // The orphan, one level deeper than the row before it, is not that row's descendant.
    G.CellStore().MoveRow(0, 1);
    QCOMPARE(G.CellStore().GetRow(1), Child);
    QCOMPARE(G.CellStore().GetDescendantCount(0), 0);
    G.DeleteRow(0);
    QCOMPARE(G.RowCount(), 1);
}

// Rows x, then steps: "kid:P" and "first:P" add a last and a first child of row P
// (codes 100, 101, ...), "del:R" DeleteRow, "sdel:R" the store's DeleteRow, "ins:R",
// "move:A>B", "swap:A>B", "asc"/"desc" sort by the code ("chars" descending by the character,
// which every child leaves empty), "fold:R"/"open:R". Then each
// row: code ("_" none), "^" parent's code, "#" child count, ":" descendants; the rows shown.
void tst_NextGrid::TreeLinks_data()
{
    QTest::addColumn<QString>("Steps");
    QTest::addColumn<QString>("Expected");
    const QString Built = "2x kid:0 kid:0 first:0 kid:1";
    QTest::newRow("children at both ends") << Built << "32#3:4 102^32#1:1 103^102:0 100^32:0 101^32:0 33:0";
    QTest::newRow("subtree deleted") << Built + " del:1" << "32#2:2 100^32:0 101^32:0 33:0";
    QTest::newRow("subtree deep inside deleted") << "1x kid:0 kid:1 kid:2 kid:0 del:2" << "32#2:2 100^32:0 103^32:0";
    QTest::newRow("parent deleted, its child moved below") << "3x kid:0 kid:0 move:2>4 del:0" << "33:0 34:0 101:0";
    QTest::newRow("parent deleted, its child moved above") << "3x kid:1 move:2>0 del:2" << "100:0 32:0 34:0";
    // The store alone leaves the child counts to the grid.
    QTest::newRow("parent deleted in the store alone") << "2x kid:0 kid:1 sdel:1 kid:0" << "32#2:1 102^32:0 101:0 33:0";
    QTest::newRow("row inserted among the children") << "2x kid:0 kid:0 ins:2 kid:0" << "32#3:2 100^32:0 102^32:0 _:0 101^32:0 33:0";
    // A chain of last children counts each new one in its ancestors, also once rows come or go around it.
    QTest::newRow("chain, then a row after it and a child inside") << "1x kid:0 kid:1 kid:2 ins:4 kid:3" << "32#1:4 100^32#1:3 101^100#1:2 102^101#1:1 103^102:0 _:0";
    QTest::newRow("chain cut at the end and grown again") << "1x kid:0 kid:1 kid:2 del:3 kid:2 del:2 kid:1" << "32#1:2 100^32#1:1 104^100:0";
    QTest::newRow("first child under a chain, then a row after it") << "2x kid:1 kid:2 first:1 ins:5" << "32:0 33#2:3 102^33:0 100^33#1:1 101^100:0 _:0";
    QTest::newRow("rows above a chain inserted and deleted, then a row after it") << "2x kid:1 kid:2 ins:1 del:0 ins:4" << "_:0 33#1:2 100^33#1:1 101^100:0 _:0";
    QTest::newRow("child swapped away") << "3x kid:0 swap:1>3 kid:0" << "32#2:1 101^32:0 34:0 33:0 100^32:0";
    // A sort orders each row's children among themselves, under it; folded or not.
    const QString Tree = "2x first:0 first:0 first:3 first:3 first:4 first:4", Desc = "33#2:4 103^33#2:2 105^103:0 104^103:0 102^33:0 32#2:2 101^32:0 100^32:0";
    QTest::newRow("sorted ascending") << Tree + " asc" << "32#2:2 100^32:0 101^32:0 33#2:4 102^33:0 103^33#2:2 104^103:0 105^103:0";
    QTest::newRow("sorted one way, then the other") << Tree + " asc desc" << Desc;
    QTest::newRow("sorted folded") << Tree + " fold:4 fold:3 desc" << Desc + " | 4 shown";
    QTest::newRow("children of equal keys keep their order") << "2x kid:0 kid:0 kid:0 kid:1 chars" << "33:0 32#3:4 100^32#1:1 103^100:0 101^32:0 102^32:0";
    QTest::newRow("sorted folded, then opened") << Tree + " fold:4 fold:3 desc open:0" << Desc + " | 6 shown";
    // A row shows when all its ancestors are expanded, wherever it was moved.
    QTest::newRow("child moved away, parent folded") << "2x kid:0 move:1>2 fold:0" << "32#1:0 33:0 100^32:0 | 2 shown";
    QTest::newRow("child moved away, parent folded, sorted") << "2x kid:0 move:1>2 fold:0 asc" << "32#1:1 100^32:0 33:0 | 2 shown";
    QTest::newRow("folded, child moved away, opened") << "2x kid:0 fold:0 move:1>2 open:0" << "32#1:0 33:0 100^32:0";
    QTest::newRow("folded, child moved away, parent deleted") << "2x kid:0 fold:0 move:1>2 del:0" << "33:0 100:0";
}

void tst_NextGrid::TreeLinks()
{
    QFETCH(QString, Steps);
    QFETCH(QString, Expected);
    TListGrid G(Steps.section('x', 0, 0).toInt());
    int Code = 100;
    for (const QString& S : Steps.split(' ').mid(1)) {
        const QString Op = S.section(':', 0, 0);
        const int A = S.section(':', 1).section('>', 0, 0).toInt(), B = S.section('>', 1).toInt();
        Op == "kid" || Op == "first" ? (G.AddChildRow(A, Op == "kid"), G.Cell(1, G.LastAddedRow)->SetAsInteger(Code++)) : Op == "del" ? G.DeleteRow(A) : Op == "sdel" ? G.CellStore().DeleteRow(A) : Op == "ins" ? G.InsertRow(A)
            : Op == "move" ? G.MoveRow(A, B) : Op == "swap" ? G.ExchangeRows(A, B) : Op == "asc" || Op == "desc" || Op == "chars" ? G.SortColumn(Op == "chars" ? G.CharCol : G.CodeCol, Op == "asc")
            : Op == "fold" || Op == "open" ? G.SetExpanded(A, Op == "open") : void();
    }
    QStringList Got;
    for (int R = 0; R < G.RowCount(); ++R) {
        const TRow* Row = G.CellStore().GetRow(R);
        const int P = G.CellStore().IndexOfRow(Row->ParentRow);
        // A parent that is no row any more shows as "^gone".
        Got << (G.Cells(1, R).isEmpty() ? "_" : G.Cells(1, R)) + (P >= 0 ? "^" + G.Cells(1, P) : Row->ParentRow ? "^gone" : "")
                + (Row->ChildCount ? QString("#%1").arg(Row->ChildCount) : "") + QString(":%1").arg(G.CellStore().GetDescendantCount(R));
    }
    const int Shown = G.CellStore().VisibleRowCount();
    QCOMPARE(Got.join(' ') + (Shown < G.RowCount() ? QString(" | %1 shown").arg(Shown) : ""), Expected);
}

QTEST_MAIN(tst_NextGrid)
#include "tst_NextGrid.moc"
