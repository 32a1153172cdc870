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
    void SortKeepsTheCurrentRow();
    void CalculateFooter();
    void ChildRows();
    void DeletedParentIsForgotten();
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

QTEST_MAIN(tst_NextGrid)
#include "tst_NextGrid.moc"
