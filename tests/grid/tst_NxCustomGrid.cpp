#include "NxTestSurfaceGrid.h"

#include "NxPopupControl.h"

#include <QPainter>
#include <QScrollBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "A fixed", "B noclick", "A nomove", "A edit", "A search", "fixedcols 1",
// "readonly", "wanttabs", "returns", "returns none", "veto", "C numeric".
// "A autoselect", "A input", "selsort" (the first selection sorts by C descending), "more" (30 rows), "tree" (row 1 "kid", a child of row 0; "folded" under it), "D int" (an integer column that edits through a TNxEdit), "rowmove clear|delete".
// "D date", "D bool" (as "D int", of that kind), "tail" (row 10 "kiwi", a child of row 9).
void Setup(TSurfaceGrid& G, const QString& Setup)
{
    for (const QString& S : Setup.split(',', Qt::SkipEmptyParts)) {
        const QStringList T = S.trimmed().split(' ');
        const int C = QString("ABC").indexOf(T[0]);
        auto Add = [&](int O) { G.Col[C]->SetOptions(G.Col[C]->Options() | O); };
        const QString What = T.value(1);
        if (What == "fixed") Add(coFixedSize);
        else if (What == "noclick") G.Col[C]->SetOptions(G.Col[C]->Options() & ~coCanClick);
        else if (What == "nomove") Add(coDisableMoving);
        else if (What == "edit") Add(coEditing);
        else if (What == "search") Add(coSearchColumn);
        else if (What == "numeric") G.Col[C]->SetSortType(stNumeric);
        else if (What == "autoselect") Add(coEditorAutoSelect);
        else if (What == "input") Add(coCanInput);
        else if (T[0] == "D") { auto* D = new TNxTextColumn; D->SetKind(What == "int" ? ckInteger : What == "date" ? ckDateTime : ckBoolean); D->SetName("D"); D->SetOptions(D->Options() | coEditing | coCanInput);
            G.Columns().Add(D)->SetInplaceEdit(new TNxEdit(&G)); }
        else if (T[0] == "more") G.AddRow(30);
        else if (T[0] == "tree" || T[0] == "folded") { G.AddChildRow(0, true); G.SetCells(0, 1, "kid"); G.SetExpanded(0, T[0] == "tree"); }
        else if (T[0] == "tail") { G.AddChildRow(9, true); G.SetCells(0, 10, "kiwi"); }
        else if (T[0] == "selsort") G.OnSelectCell = [&G, Once = std::make_shared<bool>(true)](TNxCustomGridControl*, int, int) { if (std::exchange(*Once, false)) G.Col[2]->SetSortKind(skDescending), G.Col[2]->SetSorted(true); };
        else if (T[0] == "rowmove") G.OnRowMove = [&G, What](TNxCustomGridControl*, int, int, bool&) { What == "clear" ? G.ClearRows() : G.DeleteRow(0); };
        else if (T[0] == "fixedcols") G.SetFixedCols(T[1].toInt());
        else if (T[0] == "readonly") G.SetReadOnly(true);
        else if (T[0] == "wanttabs") G.SetWantTabs(true);
        else if (T[0] == "returns") {
            G.SetWantReturns(true);
            if (What == "none")
                G.SetSelectionMoveDirection(mdNone);
        } else if (T[0] == "veto") {
            G.OnEditAccept = [&G](TNxCustomGridControl*, int C, int R, const QString& V, bool& Accept) {
                G.Events << QString("accept %1 %2 %3").arg(C).arg(R).arg(V);
                Accept = false;
            };
        }
    }
}

struct ReportInto { // errors the grid reports go into Events while this lives; with Modal over a box in a window of its own
    static inline QStringList* Events = nullptr;
    static inline QWidget* Modal = nullptr;
    explicit ReportInto(QStringList& E) { Events = &E; SetGridErrorReporter([](const std::exception& X) { *Events << QString("error %1").arg(X.what()); if (Modal) ShowBox(); }); }
    ~ReportInto() { SetGridErrorReporter(nullptr); Modal = nullptr; }
    static void ShowBox() { // it takes the focus from the window, then gives it back
        QLineEdit Box;
        Box.show(); Box.activateWindow(); Box.setFocus();
        QTRY_VERIFY(QApplication::focusWidget() == &Box);
        Box.hide(); Modal->activateWindow();
        QTRY_VERIFY(Modal->isActiveWindow());
    }
};

QString Rows(TSurfaceGrid& G)
{
    return QString("sel=%1 rows=%2 h0=%3 edit=%4")
        .arg(G.SelectedRow())
        .arg(G.ColumnText(0).section(',', 0, 2))
        .arg(G.RowCount() ? G.GetRowHeight(0) : 0)
        .arg(G.Editing() ? QString("%1,%2").arg(G.EditCol()).arg(G.EditRow()) : "-");
}

// A cell by its column's name and its row's text in C (or "k" and its number); "-" when gone.
QString CellName(TSurfaceGrid& G, int ACol, int ARow)
{
    const QString Id = G.IsValidRow(ARow) ? G.Cells(G.Columns().IndexOf(G.Col[2]), ARow) : "";
    return G.Columns().IsValidIndex(ACol) && G.IsValidRow(ARow) ? G.Columns().Item(ACol)->Name() + "/" + (Id.isEmpty() ? QString("k%1").arg(ARow) : Id) : "-";
}

// The open edit's cell; " astray" when the editor is not over it in the body, " deaf" when it lacks the keys;
// "closed, editor shown" when an editor shows with no edit open.
QString EditAt(TSurfaceGrid& G)
{
    const TNxCustomEdit* E = G.ActiveEditor();
    const QPoint Mid = E ? E->geometry().center() : QPoint();
    const bool Over = E && E->isVisible() && G.GetCellRect(G.EditCol(), G.EditRow()).ToQRect().contains(Mid) && G.GetBodyRect().ToQRect().contains(Mid);
    const auto Shown = G.viewport()->findChildren<TNxCustomEdit*>();
    const bool Stray = std::any_of(Shown.begin(), Shown.end(), [](TNxCustomEdit* S) { return S->isVisible(); });
    return !G.Editing() || !E ? (Stray ? "closed, editor shown" : "closed") : CellName(G, G.EditCol(), G.EditRow()) + (Over && E->height() > 0 ? "" : " astray") + (QApplication::focusWidget() == E ? "" : " deaf");
}

void Step(TSurfaceGrid& G, const QString& Step);
bool* Accepting = nullptr; // the Accept of the handler running, for "refuse"
void Note(bool& Accept) { Accepting = &Accept; }
template <class T> void Note(T&&) {}

// The event's handler, the first time it fires ("Event@N": the N-th time, "Event*": every time), runs the steps Then (split at commas).
void Arm(TSurfaceGrid& G, const QString& Armed, const QString& Then)
{
    const QString Event = Armed.section('@', 0, 0).remove('*');
    const bool Always = Armed.endsWith('*');
    const auto Left = std::make_shared<int>(std::max(Armed.section('@', 1).toInt(), 1));
    const auto H = [&G, Then, Left, Always](auto&&... Args) {
        if (Always || --*Left == 0) {
            (Note(Args), ...);
            for (const QString& S : Then.split(',')) Step(G, S);
        }
    };
    const QMap<QString, std::function<void()>> Events{{"OnMeasuringRowHeight", [&] { G.OnMeasuringRowHeight = H; }}, {"OnEditAccept", [&] { G.OnEditAccept = H; }},
        {"OnCellColoring", [&] { G.OnCellColoring = H; }}, {"OnDeselectCell", [&] { G.OnDeselectCell = H; }}, {"OnEdit", [&] { G.OnEdit = H; }},
        {"OnBeforeEdit", [&] { G.OnBeforeEdit = H; }}};
    Events.value(Event)();
}

// A mouse step (NxTestSurfaceGrid.h) or an operation below: "start A1 text" makes A1 current and opens
// it with the text, "t"/"k" type into the focused widget, "h N" is the horizontal bar, "assign N": A
// takes a column N wide over, "update N" selects row N inside BeginUpdate/EndUpdate (as ClearSelection does),
// "set A1 text" writes A1, "scroll N" is ScrollToRow, "lines N" the grid lines' style, "look N" the appearance options, "header N"/"inputsize N" the header's/input line's height,
// "on Event a, b" arms the event's handler with steps, "edit A1 text" opens A1 without making it current.
void Step(TSurfaceGrid& G, const QString& Step)
{
    const QStringList A = Step.trimmed().split(' ');
    const int N = A.value(1).toInt(), M = A.value(2).toInt(), Col = QString("ABCD").indexOf(A.value(1).left(1)), Row = A.value(1).mid(1).toInt();
    TNxTextColumn Model;
    const QMap<QString, std::function<void()>> Ops{
        {"start", [&] { G.SelectCell(Col, Row); G.StartEdit(Col, Row, A.value(2)); }}, {"t", [&] { QTest::keyClicks(QApplication::focusWidget(), A[1]); }},
        {"k", [&] { QTest::keyClick(QApplication::focusWidget(), QKeySequence(A[1])[0].key()); }}, {"paint", [&] { G.viewport()->repaint(); }},
        {"arrow", [&] { G.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); }}, {"h", [&] { G.HorzScrollBar().SetPosition(N); }},
        {"sel", [&] { G.SetSelectedRow(N); }}, {"resize", [&] { G.resize(N, M); }}, {"clear", [&] { G.ClearRows(); }}, {"leave", [&] { G.clearFocus(); }},
        {"indicator", [&] { G.SetOptions(G.Options() | goIndicator); }}, {"hide", [&] { G.Col[0]->SetVisible(false); }}, {"child", [&] { G.AddChildRow(N, true); }},
        {"exchange", [&] { G.ExchangeRows(N, M); }}, {"fold", [&] { G.SetExpanded(N, false); }}, {"insert", [&] { G.InsertRow(N); }},
        {"delete", [&] { G.DeleteRow(N); }}, {"move", [&] { G.MoveRow(N, M); }}, {"addcol", [&] { G.Columns().Add(new TNxTextColumn); }},
        {"delcol", [&] { delete G.Columns().Item(N); }}, {"colmove", [&] { G.Columns().Move(N, M); }}, {"assign", [&] { Model.SetWidth(N); G.Col[0]->Assign(Model); }},
        {"update", [&] { G.BeginUpdate(); G.SelectCell(0, N); G.EndUpdate(); }}, {"on", [&] { Arm(G, A[1], A.mid(2).join(' ')); }},
        {"edit", [&] { G.StartEdit(Col, Row, A.value(2)); }}, {"endedit", [&] { try { (void)G.EndEdit(); } catch (const std::exception&) {} }},
        {"closeeditor", [&] { G.CloseEditor(); }}, {"width", [&] { G.Col[Col]->SetWidth(M); }}, {"v", [&] { G.VertScrollBar().SetPosition(N); }},
        {"delpos", [&] { delete G.Columns().ItemByPosition(N); }}, {"tall", [&] { G.SetRowHeight(N, 40); }}, {"sort", [&] { G.Col[2]->SetSortKind(skDescending), G.Col[2]->SetSorted(true); }}, {"repaint", [&] { G.repaint(); }}, {"refuse", [&] { *Accepting = false; }}, {"fixedcols", [&] { G.SetFixedCols(N); }},
        {"addrow", [&] { G.AddRow(N); }}, {"set", [&] { G.SetCells(Col, Row, A.value(2)); }}, {"scroll", [&] { G.ScrollToRow(N); }}, {"clearsel", [&] { G.ClearSelection(); }},
        {"fullrow", [&] { G.SetOptions(G.Options() | goSelectFullRow); }}, {"rowsize", [&] { G.SetRowSize(N); }}, {"lines", [&] { G.SetGridLinesStyle(TGridLinesStyle(N)); }},
        {"look", [&] { G.SetAppearanceOptions(TAppearanceOptions(N)); }}, {"header", [&] { G.SetHeaderSize(N); }}, {"inputsize", [&] { G.SetInputSize(N); }}};
    Ops.contains(A[0]) ? Ops.value(A[0])() : G.Run(Step);
}

void SavePng(const QImage& Img, const QString& Name)
{
    if (qEnvironmentVariableIsSet("DW_GRID_PNG"))
        Img.save(QString("%1/%2.png").arg(qEnvironmentVariable("DW_GRID_PNG"), Name));
}

} // namespace

class tst_NxCustomGrid : public QObject {
    Q_OBJECT
private slots:
    void Mouse_data();
    void Mouse();
    void Keys_data();
    void Keys();
    void HitTesting();
    void ColumnEdgeCursor();
    void DoubleClickOnAnEdgeFitsTheColumn();
    void ClickOpensTheEditorOverTheCell();
    void FocusIntoTheEditorKeepsTheEdit();
    void ClosingWithAWidgetBeforeTheGrid_data();
    void ClosingWithAWidgetBeforeTheGrid();
    void EditorFollowsItsCell_data();
    void EditorFollowsItsCell();
    void GridChanges_data();
    void GridChanges();
    void HostileHandlers_data();
    void HostileHandlers();
    void HandlersThatRemoveTheColumn_data();
    void HandlersThatRemoveTheColumn();
    void DragBoxAndArrowsFollowTheDrag();
    void Hints();
    void InputLineAddsARow();
    void ConversionErrorsStayInTheHandlers();
    void ConversionErrorsOfTheEditor_data();
    void ConversionErrorsOfTheEditor();
    void ColumnsOwnTheirEditors();
    void HandlerThatReplacesItself_data();
    void HandlerThatReplacesItself();
    void UsersEditorOutlivesTheGrid_data();
    void UsersEditorOutlivesTheGrid();
};

// Extra grid options, column set-up, a mouse script (NxTestSurfaceGrid.h); then the
// order, widths and visibility of the columns, the rows, and the events fired.
void tst_NxCustomGrid::Mouse_data()
{
    QTest::addColumn<int>("Extra");
    QTest::addColumn<QString>("Setup");
    QTest::addColumn<QString>("Script");
    QTest::addColumn<QString>("Layout");
    QTest::addColumn<QString>("RowState");
    QTest::addColumn<QString>("Events");
    const QString Plain = "sel=0 rows=apple,Banana,cherry h0=16 edit=-";
    const QString Sorted = "sel=2 rows=Banana,Cranberry,apple h0=16 edit=-";
    QTest::newRow("edge dragged right") << 0 << "" << "p 110,5; m 120,5; m 140,5; r 140,5" << "ABC 50,90,70 111" << Plain << "resize 1";
    QTest::newRow("edge stops at 8 pixels") << 0 << "" << "p 110,5; m 20,5; r 20,5" << "ABC 50,8,70 111" << Plain << "resize 1";
    QTest::newRow("grip reaches 2 right") << 0 << "" << "p 112,5; m 132,5; r 132,5" << "ABC 50,82,70 111" << Plain << "resize 1";
    QTest::newRow("grip reaches 3 left") << 0 << "" << "p 107,5; m 117,5; r 117,5" << "ABC 50,67,70 111" << Plain << "resize 1";
    QTest::newRow("fixed size has no grip") << 0 << "B fixed" << "p 110,5; r 110,5" << "ABC 50,60,70 111" << Plain << "hclick 2|sort 2 asc";
    QTest::newRow("sort cycle") << 0 << "" << "p 25,5; r 25,5; p 25,5; r 25,5; p 25,5; r 25,5" << "ABC 50,60,70 111"
                                << Sorted << "hclick 0|sort 0 asc|hclick 0|sort 0 desc|hclick 0|sort 0 asc";
    QTest::newRow("no coCanClick: nothing") << 0 << "A noclick" << "p 25,5; r 25,5" << "ABC 50,60,70 111" << Plain << "";
    QTest::newRow("A onto right half of B") << 0 << "" << "p 25,5; m 30,5; m 90,5; r 90,5" << "BAC 50,60,70 111" << Plain << "move 0 0 1";
    QTest::newRow("A onto left half of C") << 0 << "" << "p 25,5; m 30,5; m 120,5; r 120,5" << "BAC 50,60,70 111" << Plain << "move 0 0 1";
    QTest::newRow("A onto right half of C") << 0 << "" << "p 25,5; m 30,5; m 170,5; r 170,5" << "BCA 50,60,70 111" << Plain << "move 0 0 2";
    QTest::newRow("C onto right half of A") << 0 << "" << "p 145,5; m 140,5; m 40,5; r 40,5" << "ACB 50,60,70 111" << Plain << "move 2 2 1";
    QTest::newRow("C onto left half of A") << 0 << "" << "p 145,5; m 140,5; m 10,5; r 10,5" << "CAB 50,60,70 111" << Plain << "move 2 2 0";
    QTest::newRow("A onto left half of B stays") << 0 << "" << "p 25,5; m 30,5; m 60,5; r 60,5" << "ABC 50,60,70 111" << Plain << "";
    QTest::newRow("3 pixels is a click") << 0 << "" << "p 25,5; m 28,5; r 28,5" << "ABC 50,60,70 111" << Sorted << "hclick 0|sort 0 asc";
    QTest::newRow("drop below hides") << int(goCanHideColumn) << "" << "p 25,5; m 30,5; m 30,100; r 30,100" << "ABC 50,60,70 011" << Plain << "";
    QTest::newRow("drop below without goCanHideColumn") << 0 << "" << "p 25,5; m 30,5; m 30,100; r 30,100" << "ABC 50,60,70 111" << Plain << "";
    QTest::newRow("goLockFixedCols refuses the fixed place") << int(goLockFixedCols) << "fixedcols 1"
                                                             << "p 145,5; m 140,5; m 10,5; r 10,5" << "ABC 50,60,70 111" << Plain << "";
    QTest::newRow("goLockFixedCols keeps a fixed column") << int(goLockFixedCols) << "fixedcols 1"
                                                          << "p 25,5; m 30,5; m 170,5; r 170,5" << "ABC 50,60,70 111" << Plain << "";
    QTest::newRow("fixed place without the lock") << 0 << "fixedcols 1" << "p 145,5; m 140,5; m 10,5; r 10,5" << "CAB 50,60,70 111" << Plain << "move 2 2 0";
    QTest::newRow("goDisableColumnMoving") << int(goDisableColumnMoving) << "" << "p 25,5; m 30,5; m 90,5; r 90,5" << "ABC 50,60,70 111" << Plain << "hclick 0";
    QTest::newRow("coDisableMoving") << 0 << "A nomove" << "p 25,5; m 30,5; m 90,5; r 90,5" << "ABC 50,60,70 111" << Plain << "hclick 0";
    QTest::newRow("right release keeps the drag") << 0 << "" << "p 25,5; m 30,5; m 90,5; R 90,5; m 95,5; r 95,5" << "BAC 50,60,70 111" << Plain << "move 0 0 1";
    QTest::newRow("row dragged down") << int(goRowMoving) << "" << "p 25,20; m 25,60; r 25,60" << "ABC 50,60,70 111"
                                      << "sel=2 rows=Banana,cherry,apple h0=16 edit=-" << "rowmove 0 2";
    QTest::newRow("row dragged up") << int(goRowMoving) << "" << "p 25,60; m 25,22; r 25,22" << "ABC 50,60,70 111"
                                    << "sel=0 rows=cherry,apple,Banana h0=16 edit=-" << "rowmove 2 0";
    QTest::newRow("row sorted away as it is pressed, then dragged") << int(goRowMoving) << "selsort" << "p 25,60; m 25,22; r 25,22" << "ABC 50,60,70 111"
                                    << "sel=0 rows=cherry,fig,elder h0=16 edit=-" << "sort 2 desc|rowmove 7 0";
    QTest::newRow("row moved 5 pixels is a click") << int(goRowMoving) << "" << "p 25,20; m 25,25; r 25,25" << "ABC 50,60,70 111"
                                                   << Plain << "click 0 0";
    QTest::newRow("row edge dragged") << int(goIndicator | goRowResizing) << "" << "p 5,33; m 5,60; r 5,60" << "ABC 50,60,70 111"
                                      << "sel=0 rows=apple,Banana,cherry h0=42 edit=-" << "";
    QTest::newRow("row keeps 8 pixels") << int(goIndicator | goRowResizing) << "" << "p 5,33; m 5,10; r 5,10" << "ABC 50,60,70 111"
                                        << "sel=0 rows=apple,Banana,cherry h0=8 edit=-" << "";
    QTest::newRow("click opens the editor") << 0 << "A edit" << "p 25,40; r 25,40" << "ABC 50,60,70 111"
                                            << "sel=1 rows=apple,Banana,cherry h0=16 edit=0,1" << "click 0 1";
    QTest::newRow("release on another cell edits nothing") << 0 << "A edit" << "p 25,40; r 25,60" << "ABC 50,60,70 111"
                                                           << "sel=1 rows=apple,Banana,cherry h0=16 edit=-" << "";
    QTest::newRow("column without coEditing") << 0 << "" << "p 25,40; r 25,40" << "ABC 50,60,70 111"
                                              << "sel=1 rows=apple,Banana,cherry h0=16 edit=-" << "click 0 1";
    QTest::newRow("header double click") << 0 << "" << "d 25,5" << "ABC 50,60,70 111" << Sorted << "hclick 0|sort 0 asc|hdbl 0";
    QTest::newRow("click on the cut bottom row") << 0 << "A edit, more" << "p 25,196; r 25,196" << "ABC 50,60,70 111" << "sel=11 rows=apple,Banana,cherry h0=16 edit=0,11" << "click 0 11";
    QTest::newRow("click below a folded row") << 0 << "folded" << "p 25,40; r 25,40" << "ABC 50,60,70 111" << "sel=2 rows=apple,kid,Banana h0=16 edit=-" << "click 0 2";
    QTest::newRow("OnRowMove clears the rows") << int(goRowMoving) << "rowmove clear" << "p 25,20; m 25,60; r 25,60" << "ABC 50,60,70 111" << "sel=0 rows= h0=0 edit=-" << "";
    QTest::newRow("OnRowMove deletes the row") << int(goRowMoving) << "rowmove delete" << "p 25,20; m 25,60; r 25,60" << "ABC 50,60,70 111" << "sel=2 rows=Banana,cherry,apricot h0=16 edit=-" << "";
}

void tst_NxCustomGrid::Mouse()
{
    QFETCH(int, Extra);
    QFETCH(QString, Setup);
    QFETCH(QString, Script);
    QFETCH(QString, Layout);
    QFETCH(QString, RowState);
    QFETCH(QString, Events);
    TSurfaceGrid G(Extra);
    ::Setup(G, Setup);
    G.Events.clear();
    ReportInto Errors(G.Events);
    G.Run(Script);
    QCOMPARE(G.Layout(), Layout);
    QCOMPARE(Rows(G), RowState);
    QCOMPARE(G.Events.join('|'), Events);
    // Every interaction has ended.
    QVERIFY(!G.ColumnResizing() && !G.ColumnDragging() && !G.RowDragging() && !G.RowResizing());
    QVERIFY(!G.UpperArrow()->isVisible() && !G.DragBox()->isVisible());
}

// Column set-up, extra options, keys ("t text" typed, "k Key", "w ms" wait,
// "sel N" select a row, "away" another window active, "kg Key" sent to the grid itself, "p x,y"/"r x,y" mouse, "v N" scroll, "fold N" collapse, "delcol N", "modal" errors in a box, "focus grid|other"); then selection, edit state (hidden: not in view), cell text and events
// (without the OnEdit of every typed character).
void tst_NxCustomGrid::Keys_data()
{
    QTest::addColumn<QString>("Setup");
    QTest::addColumn<int>("Extra");
    QTest::addColumn<QString>("Script");
    QTest::addColumn<QString>("Expected");
    QTest::addColumn<QString>("Events");
    QTest::newRow("search ap") << "A search" << 0 << "t ap" << "sel=3 col=0 edit=- A1=Banana search=ap" << "";
    QTest::newRow("search wraps to the top") << "A search" << 0 << "sel 5; t ap" << "sel=0 col=0 edit=- A1=Banana search=ap" << "";
    QTest::newRow("search folds case") << "A search" << 0 << "t BA" << "sel=1 col=0 edit=- A1=Banana search=BA" << "";
    QTest::newRow("search of a lower-case upper text") << "A search" << 0 << "t cr" << "sel=6 col=0 edit=- A1=Banana search=cr" << "";
    QTest::newRow("a and b together find nothing") << "A search" << 0 << "t ab" << "sel=3 col=0 edit=- A1=Banana search=ab" << "";
    QTest::newRow("a pause starts over") << "A search" << 0 << "t a; w 650; t b" << "sel=4 col=0 edit=- A1=Banana search=b" << "";
    QTest::newRow("search after the current column went") << "A search" << 0 << "p 150,40; r 150,40; delcol 2; t ap" << "sel=3 col=0 edit=- A1=Banana search=ap" << "click 2 1";
    QTest::newRow("search column elsewhere") << "B search" << 0 << "t 5" << "sel=5 col=0 edit=- A1=Banana search=5" << "";
    QTest::newRow("no search column") << "" << 0 << "t ap" << "sel=0 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("typing starts an edit") << "A edit" << 0 << "sel 1; t xy" << "sel=1 col=0 edit=0,1:xy A1=Banana search=" << "";
    QTest::newRow("Enter commits and moves down") << "A edit" << 0 << "sel 1; t xy; k Return"
                                                  << "sel=2 col=0 edit=- A1=xy search=" << "accept 0 1 xy|after 0 1 xy";
    QTest::newRow("unchanged text writes nothing") << "A edit" << 0 << "sel 1; t Banana; k Return"
                                                   << "sel=2 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("Escape discards") << "A edit" << 0 << "sel 1; t xy; k Escape" << "sel=1 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("Escape with goEscClearEdit") << "A edit" << int(goEscClearEdit) << "sel 1; t xy; k Escape"
                                                << "sel=1 col=0 edit=0,1: A1=Banana search=" << "";
    QTest::newRow("a veto keeps the editor open") << "A edit, veto" << 0 << "sel 1; t xy; k Return"
                                                  << "sel=1 col=0 edit=0,1:xy A1=Banana search=" << "accept 0 1 xy";
    QTest::newRow("Tab commits and moves on") << "A edit, wanttabs" << 0 << "sel 1; t xy; k Tab"
                                              << "sel=1 col=1 edit=- A1=xy search=" << "accept 0 1 xy|after 0 1 xy";
    QTest::newRow("read-only grid") << "A edit, A search, readonly" << 0 << "t ap" << "sel=0 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("WantReturns moves down") << "returns" << 0 << "sel 1; k Return" << "sel=2 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("WantReturns with mdNone") << "returns none" << 0 << "sel 1; k Return" << "sel=1 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("Enter without WantReturns") << "" << 0 << "sel 1; k Return" << "sel=1 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("Up, Down and the page keys stay in the editor") << "A edit, more" << 0 << "sel 1; t xy; k Down; k PgDown; k PgUp; k Up; k Return" << "sel=2 col=0 edit=- A1=xy search=" << "accept 0 1 xy|after 0 1 xy";
    QTest::newRow("editor out of view: Down commits first") << "A edit, more" << 0 << "sel 1; t xy; v 20; k Down" << "sel=2 col=0 edit=- A1=xy search=" << "accept 0 1 xy|after 0 1 xy";
    QTest::newRow("End skips a folded last row") << "tail" << 0 << "fold 9; k End" << "sel=9 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("search finds a shown child") << "A search, tail" << 0 << "t ki" << "sel=10 col=0 edit=- A1=Banana search=ki" << "";
    QTest::newRow("search skips a folded child") << "A search, tail" << 0 << "fold 9; t ki" << "sel=0 col=0 edit=- A1=Banana search=ki" << "";
    QTest::newRow("Down over a folded row") << "tree, more" << 0 << "fold 0; k Down" << "sel=2 col=0 edit=- A1=kid search=" << "";
    QTest::newRow("Down with only folded rows below") << "tail" << 0 << "fold 9; sel 9; k Down" << "sel=9 col=0 edit=- A1=Banana search=" << "";
    QTest::newRow("PgDown over a folded row") << "tree, more" << 0 << "fold 0; k PgDown; k PgDown" << "sel=22 col=0 edit=- A1=kid search=" << "";
    QTest::newRow("PgUp over a folded row") << "tree, more" << 0 << "fold 0; v 20; sel 30; k PgUp; k PgUp" << "sel=10 col=0 edit=- A1=kid search=" << "";
    QTest::newRow("typing after the current row folded away") << "A edit, tree" << 0 << "sel 1; fold 0; t z" << "sel=0 col=0 edit=0,0:z A1=kid search=" << "";
    QTest::newRow("a key the editor leaves, in a window not active") << "A edit" << 0 << "sel 1; away; kg X; kg F5" << "sel=1 col=0 edit=0,1:x A1=Banana search=" << "";
    QTest::newRow("typing on a row scrolled away") << "A edit, more" << 0 << "sel 1; v 3; t z" << "sel=1 col=0 edit=0,1:z A1=Banana search=" << "";
    QTest::newRow("Tab without WantTabs commits") << "A edit" << 0 << "sel 1; t xy; k Tab" << "sel=1 col=0 edit=- A1=xy search=" << "accept 0 1 xy|after 0 1 xy";
    QTest::newRow("autoselect keeps typed keys") << "A edit, A autoselect" << 0 << "sel 1; t refuse" << "sel=1 col=0 edit=0,1:refuse A1=Banana search=" << "";
    QTest::newRow("input line click only selects") << "A input" << int(goInput) << "p 25,25; r 25,25; p 25,60; r 25,60" << "sel=1 col=0 edit=- A1=Banana search=" << "click 0 1";
    QTest::newRow("empty integer input cell") << "A input, D int" << int(goInput) << "p 25,25; r 25,25; t kiwi; k Return" << "sel=0 col=0 edit=0,-1: A1=Banana search=" << "added";
    QTest::newRow("rejected input value adds nothing") << "D int" << int(goInput) << "p 200,25; r 200,25; t x; k Return" << "sel=0 col=3 edit=3,-1:x A1=Banana search=" << "error 'x' is not a valid integer value";
    QTest::newRow("date refused in the input line") << "D date" << int(goInput) << "p 200,25; r 200,25; t tomorrow; k Return; k Escape; k End" << "sel=9 col=3 edit=- A1=Banana search=" << "error 'tomorrow' is not a valid date and time";
    QTest::newRow("Boolean refused in the input line") << "D bool" << int(goInput) << "p 200,25; r 200,25; t maybe; k Return; k Escape; k End" << "sel=9 col=3 edit=- A1=Banana search=" << "error 'maybe' is not a valid boolean value";
    QTest::newRow("Boolean yes taken from the input line") << "D bool" << int(goInput) << "p 200,25; r 200,25; t yes; k Return" << "sel=0 col=3 edit=3,-1: A1=Banana search=" << "added";
    QTest::newRow("Boolean refused in the cell") << "D bool" << 0 << "p 200,40; r 200,40; k Escape; t maybe; k Return" << "sel=1 col=3 edit=3,1:maybe A1=Banana search=" << "click 3 1|accept 3 1 maybe|error 'maybe' is not a valid boolean value";
    QTest::newRow("an error box keeps the rejected value") << "D int" << 0 << "modal; p 200,40; r 200,40; t x; p 200,60; r 200,60; t 1" << "sel=1 col=3 edit=3,1:0x1 A1=Banana search=" << "click 3 1|accept 3 1 0x|error '0x' is not a valid integer value";
    QTest::newRow("rejected value stays to type on; focus leaves") << "D int" << 0 << "p 200,40; r 200,40; t x; p 200,60; r 200,60; t 1; focus grid; focus other" << "sel=1 col=3 edit=- A1=Banana search=" << "click 3 1|accept 3 1 0x|error '0x' is not a valid integer value|accept 3 1 0x1|error '0x1' is not a valid integer value";
}

void tst_NxCustomGrid::Keys()
{
    QFETCH(QString, Setup);
    QFETCH(int, Extra);
    QFETCH(QString, Script);
    QFETCH(QString, Expected);
    QFETCH(QString, Events);
    TSurfaceGrid G(Extra);
    ::Setup(G, Setup);
    QLineEdit Other(&G), Away; // Away: a window of its own
    Other.show();
    G.activateWindow();
    G.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    G.Events.clear();
    ReportInto Errors(G.Events);
    auto Target = [&]() -> QWidget* { return QApplication::focusWidget() ? QApplication::focusWidget() : &G; };
    for (const QString& Step : Script.split(';', Qt::SkipEmptyParts)) {
        const QString S = Step.trimmed();
        const QString Arg = S.section(' ', 1);
        if (S.startsWith("t "))
            for (QChar C : Arg)
                QTest::keyClicks(Target(), QString(C));
        else if (S.startsWith("w ")) QTest::qWait(Arg.toInt());
        else if (S.startsWith("sel ")) G.SetSelectedRow(Arg.toInt());
        else if (S.startsWith("k ")) QTest::keyClick(Target(), QKeySequence(Arg)[0].key());
        else if (S.startsWith("p ") || S.startsWith("r ")) G.Run(S);
        else if (S.startsWith("v ")) G.VertScrollBar().SetPosition(Arg.toInt());
        else if (S.startsWith("delcol ")) delete G.Columns().Item(Arg.toInt());
        else if (S.startsWith("fold ")) G.SetExpanded(Arg.toInt(), false);
        else if (S == "modal") ReportInto::Modal = &G;
        else if (S == "away") { Away.show(); Away.activateWindow(); QVERIFY(QTest::qWaitForWindowActive(&Away)); }
        else if (S.startsWith("kg ")) QTest::keyClick(&G, QKeySequence(Arg)[0].key());
        else (Arg == "grid" ? static_cast<QWidget&>(G) : Other).setFocus();
    }
    const TNxCustomEdit* E = G.ActiveEditor();
    const QString Edit = !E ? "-" : QString("%1,%2:%3%4").arg(G.Editing() ? G.EditCol() : G.InputColumn()).arg(G.EditRow()).arg(E->text(), E->isVisible() && G.viewport()->rect().intersects(E->geometry()) ? "" : " hidden");
    QCOMPARE(QString("sel=%1 col=%2 edit=%3 A1=%4 search=%5")
                 .arg(G.SelectedRow())
                 .arg(G.SelectedColumn())
                 .arg(Edit, G.Cells(0, 1), G.SearchText()),
             Expected);
    QStringList Fired = G.Events.filter(QRegularExpression("^(?!edit )"));
    QCOMPARE(Fired.join('|'), Events);
}

void tst_NxCustomGrid::HitTesting()
{
    TSurfaceGrid G(goFooter | goIndicator);
    // Areas: header, rows, footer, indicator, nothing right of the columns' header.
    QCOMPARE(G.GetAreaAt({20, 5}), int(gaHeader));
    QCOMPARE(G.GetAreaAt({20, 30}), int(gaRows));
    QCOMPARE(G.GetAreaAt({20, G.ClientHeight() - 5}), int(gaFooter));
    QCOMPARE(G.GetAreaAt({5, 30}), int(gaIndicator));
    QCOMPARE(G.GetAreaAt({250, 5}), int(gaNone));
    // Row edges only in the indicator: row 0 ends at 34.
    QCOMPARE(G.GetRowEdgeAt(5, 31), -1);
    QCOMPARE(G.GetRowEdgeAt(5, 32), 0);
    QCOMPARE(G.GetRowEdgeAt(5, 34), 0);
    QCOMPARE(G.GetRowEdgeAt(5, 35), -1);
    QCOMPARE(G.GetRowEdgeAt(20, 33), -1);
    // Column edges (indicator 12 wide): A ends at 62.
    QCOMPARE(G.GetColumnEdgeAt(58), -1);
    QCOMPARE(G.GetColumnEdgeAt(59), 0);
    QCOMPARE(G.GetColumnEdgeAt(64), 0);
    QCOMPARE(G.GetColumnEdgeAt(65), -1);
    // In slides the cell is found by the columns' bounds inside the slide (80 high from 18).
    G.Col[1]->SlideBounds().SetLeft(100);
    G.Col[2]->SlideBounds().SetTop(40);
    G.SetGridStyle(gsSlides);
    QCOMPARE(G.CellColumnAt({20, 18 + 10}), 0);
    QCOMPARE(G.CellColumnAt({110, 18 + 10}), 1);
    QCOMPARE(G.CellColumnAt({20, 18 + 45}), 2);
    QCOMPARE(G.CellColumnAt({20, 18 + 70}), -1);
    QCOMPARE(G.CellColumnAt({20, 18 + 80 + 10}), 0);
    // A row folded away takes no slide.
    G.AddChildRow(0, true);
    G.SetExpanded(0, false);
    QCOMPARE(G.SlideTop(2), 18 + 80);
    QCOMPARE(G.CellColumnAt({20, 18 + 80 + 45}), 2);
}

void tst_NxCustomGrid::ColumnEdgeCursor()
{
    TSurfaceGrid G;
    G.Run("h 110,5");
    QCOMPARE(G.CursorNumber(), 3000);
    G.Run("h 90,5");
    QCOMPARE(G.CursorNumber(), 0);
    G.Col[1]->SetOptions(G.Col[1]->Options() | coFixedSize);
    G.Run("h 110,5");
    QCOMPARE(G.CursorNumber(), 0);
}

void tst_NxCustomGrid::DoubleClickOnAnEdgeFitsTheColumn()
{
    TSurfaceGrid G;
    int Widest = 8;
    for (int R = 0; R < G.RowCount(); ++R)
        Widest = std::max(Widest, G.Col[0]->GetTextWidth(G.Cells(0, R)));
    G.Run("d 50,5");
    QCOMPARE(G.Col[0]->Width(), Widest);
}

void tst_NxCustomGrid::ClickOpensTheEditorOverTheCell()
{
    TSurfaceGrid G;
    G.Col[1]->SetOptions(G.Col[1]->Options() | coEditing);
    G.Col[1]->SetAlignment(taRightJustify);
    G.Run("p 80,40; r 80,40");
    TNxCustomEdit* E = G.ActiveEditor();
    QVERIFY(E);
    QCOMPARE(E, G.Col[1]->OwnEditor());
    // Over the cell (50, 34)-(110, 50), one pixel inside.
    QCOMPARE(E->geometry(), QRect(51, 35, 58, 14));
    QVERIFY(E->isVisible());
    QCOMPARE(E->text(), QString("10"));
    QCOMPARE(E->Alignment(), taRightJustify);
    QCOMPARE(E->BorderStyle(), bsNone);
    QCOMPARE(E->InnerMargins().Left(), 1);
    QCOMPARE(E->WrapKind(), wkEllipsis);
    // A scroll message that moves nothing leaves the edit where it is, typed text and all.
    E->setText("99");
    G.VertScrollBar().LineDown();
    G.WMVScroll(scLineDown);
    QVERIFY(G.Editing() && E->geometry() == QRect(51, 35, 58, 14));
    QCOMPARE(E->text(), QString("99"));
    QCOMPARE(G.Cells(1, 1), QString("10"));
}

void tst_NxCustomGrid::FocusIntoTheEditorKeepsTheEdit()
{
    TSurfaceGrid G;
    G.Col[0]->SetOptions(G.Col[0]->Options() | coEditing);
    G.activateWindow();
    G.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    G.StartEdit(0, 2);
    QVERIFY(G.ActiveEditor()->hasFocus());
    QVERIFY(G.Editing());
    QVERIFY(G.Focused());
    // Focus leaving for another widget commits and closes.
    QLineEdit Other(&G), Away; // Away: a window of its own
    Other.show();
    G.ActiveEditor()->setText("kiwi");
    Other.setFocus();
    QVERIFY(!G.Editing());
    QCOMPARE(G.Cells(0, 2), QString("kiwi"));
}

// A button ahead of the grid in the window takes the focus when a focused
// editor hides; closing the editor must neither crash nor write the text.
void tst_NxCustomGrid::ClosingWithAWidgetBeforeTheGrid_data()
{
    QTest::addColumn<QString>("Action");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("Escape") << "Escape" << "edit=- A0=apple grid focused";
    QTest::newRow("Enter") << "Return" << "edit=- A0=typed grid focused";
    QTest::newRow("Tab") << "Tab" << "edit=- A0=typed grid focused";
    QTest::newRow("row deleted") << "delete" << "edit=- A0=Banana grid focused";
    QTest::newRow("rows cleared") << "clear" << "edit=- A0= grid focused";
    QTest::newRow("column width") << "width" << "edit=0,0:typed A0=apple editor focused";
}

void tst_NxCustomGrid::ClosingWithAWidgetBeforeTheGrid()
{
    QFETCH(QString, Action);
    QFETCH(QString, Expected);
    QWidget W;
    auto* L = new QVBoxLayout(&W);
    L->addWidget(new QPushButton("x", &W));
    auto* G = new TSurfaceGrid;
    L->addWidget(G);
    G->SetWantTabs(true);
    G->Col[0]->SetOptions(G->Col[0]->Options() | coEditing);
    W.resize(300, 300);
    W.show();
    W.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&W));
    G->setFocus();
    G->StartEdit(0, 0, "typed");
    QVERIFY(G->ActiveEditor() && G->ActiveEditor()->hasFocus());
    if (Action == "delete")
        G->DeleteRow(0);
    else if (Action == "clear")
        G->ClearRows();
    else if (Action == "width")
        G->Col[0]->SetWidth(80);
    else
        QTest::keyClick(G->ActiveEditor(), QKeySequence(Action)[0].key());
    const QString Edit = G->Editing() ? QString("%1,%2:%3").arg(G->EditCol()).arg(G->EditRow()).arg(G->ActiveEditor()->text())
                                      : QString("-");
    const QWidget* F = QApplication::focusWidget();
    const QString Focus = F == G ? "grid" : G->ActiveEditor() && F == G->ActiveEditor() ? "editor" : "other";
    QCOMPARE(QString("edit=%1 A0=%2 %3 focused").arg(Edit, G->Cells(0, 0), Focus), Expected);
}

// 40 rows in a grid 120 pixels wide; the edited cell's editor (row -1: the input
// line's; scrolled into view as it opens), or "closed" once its cell left the view, after scrolls ("v N" vertical position, "h N" horizontal, "row N"
// ScrollToRow) and column changes ("w N" column A's width).
void tst_NxCustomGrid::EditorFollowsItsCell_data()
{
    QTest::addColumn<int>("Col");
    QTest::addColumn<int>("Row");
    QTest::addColumn<QString>("Scrolls");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("no scroll") << 0 << 5 << "" << "shown 1,99 48x14 editor";
    QTest::newRow("one row down") << 0 << 5 << "v 1" << "shown 1,83 48x14 editor";
    QTest::newRow("scrolled above the rows") << 0 << 1 << "row 35" << "closed grid";
    QTest::newRow("and back") << 0 << 1 << "row 35; row 0" << "closed grid";
    QTest::newRow("horizontal") << 1 << 2 << "h 20" << "shown 31,51 58x14 editor";
    QTest::newRow("column left of it widens") << 1 << 2 << "w 70" << "shown 67,51 58x14 editor";
    QTest::newRow("scrolled below the rows") << 0 << 30 << "row 0" << "closed grid";
    QTest::newRow("input line") << 1 << -1 << "" << "shown 47,19 58x14 editor";
    QTest::newRow("input line, column left of it widens") << 1 << -1 << "w 70" << "shown 67,19 58x14 editor";
}

void tst_NxCustomGrid::EditorFollowsItsCell()
{
    QFETCH(int, Col);
    QFETCH(int, Row);
    QFETCH(QString, Scrolls);
    QFETCH(QString, Expected);
    TSurfaceGrid G(Row < 0 ? goInput : 0);
    G.AddRow(30);
    G.resize(120, 200);
    G.Col[Col]->SetOptions(G.Col[Col]->Options() | coEditing | coCanInput);
    G.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    G.setFocus();
    if (Row < 0)
        G.StartInputEdit(G.Col[Col]);
    else
        G.StartEdit(Col, Row);
    for (const QString& Step : Scrolls.split(';', Qt::SkipEmptyParts)) {
        const QString S = Step.trimmed();
        const int N = S.section(' ', 1).toInt();
        if (S.startsWith("v "))
            G.VertScrollBar().SetPosition(N);
        else if (S.startsWith("h "))
            G.HorzScrollBar().SetPosition(N);
        else if (S.startsWith("w "))
            G.Col[0]->SetWidth(N);
        else
            G.ScrollToRow(N);
    }
    const TNxCustomEdit* E = G.ActiveEditor();
    QVERIFY(!E || G.EditRow() == Row);
    const QRect R = E ? E->geometry() : QRect();
    const QString Focus = QApplication::focusWidget() == E ? "editor" : QApplication::focusWidget() == &G ? "grid" : "other";
    QCOMPARE(!E ? "closed " + Focus : E->isVisible() ? QString("shown %1,%2 %3x%4 %5").arg(R.x()).arg(R.y()).arg(R.width()).arg(R.height()).arg(Focus)
                            : QString("hidden %1").arg(Focus),
             Expected);
}

// Steps (Step) change the grid; "?" notes where the open edit is (EditAt), "order" whether the sorted column reads in order, "selected" the rows selected, "pixels"
// whether the screen, where only what the grid asked to repaint was painted again,
// shows what a fresh painting shows, and a commit into a hidden cell "written unseen".
// Then the cells that changed and the current cell.
void tst_NxCustomGrid::GridChanges_data()
{
    QTest::addColumn<int>("Extra");
    QTest::addColumn<QString>("Setup");
    QTest::addColumn<QString>("Steps");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("rows, columns and the window change") << 0 << "" << "start A1 typed; exchange 1 4; ?; move 4 6; ?; child 0; ?; insert 0; ?; delete 0; ?; addcol; ?; colmove 0 2; ?; resize 300 180; ?; t more; resize 300 100; ?" << "A/c1 A/c1 A/c1 A/c1 A/c1 A/c1 A/c1 A/c1 closed | A/c1=typedmore | cur=A/c1";
    QTest::newRow("B widened, scrolled, the column before it deleted") << 0 << "" << "start B1 typed; p 50,5; m 80,5; r 80,5; ?; resize 120 200; h 20; ?; delcol 0; ?; t more; k Return" << "B/c1 B/c1 B/c1 | B/c1=typedmore | cur=B/c2";
    QTest::newRow("row edge, header that does not sort, footer") << int(goIndicator | goRowResizing | goFooter) << "B noclick" << "start A1 typed; p 5,33; m 5,60; r 5,60; ?; p 80,5; r 80,5; ?; p 25,190; r 25,190; ?; t more; k Return" << "A/c1 A/c1 A/c1 | A/c1=typedmore | cur=A/c2";
    QTest::newRow("scroll-bar arrow, cell shown, then gone") << 0 << "more" << "start A1 typed; arrow; ?; arrow; ?; t x" << "A/c1 closed | A/c1=typed | cur=A/c1";
    QTest::newRow("sort by header click, row sorted far") << 0 << "more" << "start A1 typed; p 25,5; r 25,5; ?; t m; t ore; k Return" << "closed | A/c1=more | cur=A/c1";
    QTest::newRow("sort takes the edited row from the current one") << 0 << "" << "resize 300 100; start A1 typed; sel 9; p 25,5; r 25,5; ?" << "closed | A/c1=typed | cur=A/c9";
    QTest::newRow("current column hidden") << 0 << "" << "start A1 typed; hide A; ?; t x; k Return" << "closed | A/c1=typed,B/c1=x | cur=B/c2";
    QTest::newRow("current column hidden from code") << 0 << "" << "sel 3; hide A" << " |  | cur=B/c3";
    QTest::newRow("edited row folded away") << 0 << "tree" << "start A1 typed; fold 0; ?" << "closed | A/k1=typed | cur=A/c0";
    QTest::newRow("horizontal scroll, cell gone") << 0 << "" << "resize 120 200; start A1 typed; h 60; ?" << "closed | A/c1=typed | cur=A/c1";
    QTest::newRow("edited row deleted") << 0 << "" << "start A1 typed; delete 1; ?" << "closed |  | cur=A/c2";
    QTest::newRow("rows cleared") << 0 << "" << "start A1 typed; clear; ?" << "closed |  | cur=-";
    QTest::newRow("edited column deleted") << 0 << "" << "start A1 typed; delcol 0; ?" << "closed |  | cur=B/c1";
    QTest::newRow("indicator after EndUpdate") << int(goIndicator | goSelectFullRow) << "" << "sel 2; pixels; update 5; pixels" << "clean clean |  | cur=A/c5";
    QTest::newRow("input line when the focus leaves") << int(goInput) << "A input" << "sel 2; pixels; leave; pixels" << "clean clean |  | cur=A/c2";
    // Handlers that change the grid while an operation runs: the change waits until it is done.
    QTest::newRow("row heights cleared as a child row is added") << 0 << "" << "on OnMeasuringRowHeight clear; child 0; ?" << "closed |  | cur=-";
    QTest::newRow("row heights delete the column whose edit closes") << 0 << "" << "start A1; on OnMeasuringRowHeight delcol 0; edit B2; ?" << "B/c2 |  | cur=B/c1";
    QTest::newRow("a commit while a column goes deletes the first shown") << 0 << "" << "resize 120 200; assign 100; start C1 typed; on OnEditAccept delpos 0; delcol 0; ?" << "C/c1 |  | cur=C/c1";
    QTest::newRow("a colouring handler repaints") << 0 << "" << "on OnCellColoring paint; paint; pixels" << "clean |  | cur=A/c0";
    QTest::newRow("a colouring handler repaints over an open edit") << 0 << "" << "start A1 typed; on OnCellColoring paint; paint; pixels; ?" << "clean A/c1 |  | cur=A/c1";
    QTest::newRow("row heights scroll the cell away as its edit opens") << 0 << "more" << "on OnMeasuringRowHeight@15 v 5; edit A2 typed; ?" << "closed | A/c2=typed | cur=A/c0";
    QTest::newRow("row heights clear the rows as one is made taller") << 0 << "" << "on OnMeasuringRowHeight clear; tall 3; ?" << "closed |  | cur=-";
    QTest::newRow("row heights delete the edited column as the view scrolls") << 0 << "" << "resize 120 200; start B1 typed; on OnMeasuringRowHeight delcol 1; h 20; ?" << "closed |  | cur=C/c1";
    QTest::newRow("deselection opens an edit and commits it") << 0 << "" << "on OnDeselectCell edit A3 new, endedit; sel 2; ?" << "A/c3 | A/c3=new | cur=A/c2";
    QTest::newRow("accept opens another edit") << 0 << "" << "start A1 typed; on OnEditAccept edit A3 new; k Return; ?" << "A/c3 | A/c1=typed | cur=A/c2";
    QTest::newRow("accept opens another edit, fixes a column") << 0 << "D bool" << "start A1 yes; on OnEditAccept edit D3, fixedcols 1; k Return; ?" << "D/c3 | A/c1=yes | cur=A/c2";
    QTest::newRow("accept opens another edit, a click follows") << 0 << "" << "start A1 typed; on OnEditAccept edit A3 new; p 25,60; r 25,60; ?" << "A/c2 | A/c1=typed,A/c3=new | cur=A/c2";
    QTest::newRow("row heights widen a column as the editor closes") << 0 << "" << "start A1 typed; on OnMeasuringRowHeight width B 80; closeeditor; ?; t x; ?" << "closed A/c1 |  | cur=A/c1";
    QTest::newRow("deselection sorts") << int(goSelectFullRow) << "" << "sel 3; on OnDeselectCell sort; k Down; selected" << "c4 |  | cur=A/c4";
    QTest::newRow("typing opens an edit, a row above goes before") << 0 << "" << "sel 3; on OnBeforeEdit delete 0; t x; ?" << "A/c3 |  | cur=A/c3";
    // An edit that cannot be seen, or that a sort would reorder, is committed.
    QTest::newRow("typed, then the header clicked") << 0 << "" << "start A1 zzz; p 25,5; r 25,5; order; ?" << "in order closed | A/c1=zzz | cur=A/c1";
    QTest::newRow("row added above pushes the edit to the edge") << 0 << "more" << "resize 300 195; edit A10 typed; insert 0; ?" << "closed | A/k11=typed | cur=A/c0";
    QTest::newRow("accept scrolls on EndEdit from code") << 0 << "more" << "start A1 typed; on OnEditAccept v 20; endedit; ?" << "closed | A/c1=typed | cur=A/c1";
    QTest::newRow("accept refuses and moves the column away") << 0 << "" << "resize 120 200; start A1 typed; on OnEditAccept refuse, colmove 0 2; endedit; ?" << "closed | A/c1=typed | cur=A/c1";
    QTest::newRow("a value that does not convert, scrolled away") << 0 << "more, D int" << "start D1 x; on OnEditAccept v 20; endedit; ?" << "closed |  | cur=D/c1";
    // What a handler asks for at once, while changes it asked for before wait, takes its turn after them.
    QTest::newRow("clears the rows, then adds three") << 0 << "" << "on OnCellColoring clear, addrow 3; paint; rows" << "3 rows h0=16 |  | cur=A/k0";
    QTest::newRow("commits, then writes the cell") << 0 << "" << "start A1 typed; on OnCellColoring endedit, set A1 x; paint; ?" << "A/c1 | A/c1=x | cur=A/c1";
    QTest::newRow("makes a row taller, then scrolls to a row") << 0 << "more" << "on OnCellColoring tall 15, scroll 18; paint; bars" << "first=10 h=0 |  | cur=A/c0";
    QTest::newRow("inserts a row, then moves the bar") << 0 << "more" << "on OnCellColoring insert 0, v 5; paint; bars" << "first=5 h=0 |  | cur=A/c0";
    QTest::newRow("selects, then selects whole rows") << 0 << "" << "on OnCellColoring sel 3, fullrow; paint; selected" << " |  | cur=A/c3";
    QTest::newRow("opens an edit, then fixes its column") << 0 << "" << "resize 120 200; h 60; on OnCellColoring edit A1, fixedcols 1; paint; bars" << "first=0 h=0 |  | cur=A/c0";
    QTest::newRow("selects, then clears the selection") << 0 << "" << "on OnCellColoring sel 3, clearsel; paint" << " |  | cur=-";
    QTest::newRow("adds a row, then makes new rows taller") << 0 << "" << "on OnCellColoring clear, addrow 1, rowsize 30; paint; rows" << "1 rows h0=16 |  | cur=A/k0";
    QTest::newRow("scrolls, and row heights insert a row on the way") << 0 << "more" << "on OnCellColoring on OnMeasuringRowHeight insert 0, scroll 30; paint; bars" << "first=21 h=0 |  | cur=A/c0";
    QTest::newRow("row heights add a row as one is added") << 0 << "more" << "on OnMeasuringRowHeight addrow 1; addrow 1; range; rows" << "max=31/31 42 rows h0=16 |  | cur=A/c0";
    QTest::newRow("row heights add a column, the body shrinks") << 0 << "more" << "resize 250 200; on OnMeasuringRowHeight addcol; addrow 1; range" << "max=31/31 |  | cur=A/c0";
    QTest::newRow("opens an edit, then makes the header taller") << 0 << "more" << "on OnCellColoring edit A20, header 60; paint; bars" << "first=10 h=0 |  | cur=A/c0";
    QTest::newRow("row heights draw the lines in 3D, every time") << int(goGrid) << "more" << "on OnMeasuringRowHeight* look 1; range" << "max=30/30 |  | cur=A/c0";
    QTest::newRow("a taller input line shrinks the body") << int(goInput) << "more" << "inputsize 57; range" << "max=33/33 |  | cur=A/c0";
    QTest::newRow("row heights end an update, every time") << 0 << "more" << "on OnMeasuringRowHeight* update 5; range" << "max=29/29 |  | cur=A/c0";
    QTest::newRow("row heights make the header taller, every time") << 0 << "more" << "on OnMeasuringRowHeight* header 60; range" << "max=29/29 |  | cur=A/c0";
    QTest::newRow("opens an edit, then drops the row lines") << int(goGrid) << "more" << "on OnCellColoring edit A20, lines 4; paint; bars" << "first=11 h=0 |  | cur=A/c0";
}

void tst_NxCustomGrid::GridChanges()
{
    QFETCH(int, Extra);
    QFETCH(QString, Setup);
    QFETCH(QString, Steps);
    QFETCH(QString, Expected);
    TSurfaceGrid G(Extra);
    ::Setup(G, Setup + ", A edit, B edit, C edit");
    auto Texts = [&](QMap<QString, QString> M = {}) {
        for (int R = 0; R < G.RowCount(); ++R)
            for (int C = 0; C < G.Columns().Count(); ++C) M[CellName(G, C, R)] = G.Cells(C, R);
        return M;
    };
    const QMap<QString, QString> Before = Texts();
    G.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    G.setFocus();
    auto Pixels = [&] {
        QTest::qWait(50);
        const QImage Screen = G.screen()->grabWindow(G.winId(), 0, 0, G.width(), G.height()).toImage().convertToFormat(QImage::Format_RGB32);
        SavePng(Screen, QTest::currentDataTag());
        return Screen == G.grab().toImage().convertToFormat(QImage::Format_RGB32) ? "clean" : "stale";
    };
    QStringList Probes, Changed;
    G.OnEditAccept = [&](TNxCustomGridControl*, int C, int R, const QString&, bool&) { // the user sees what is written
        if (!G.Columns().Item(C)->Visible() || !G.GetRowVisible(R))
            Probes << "written unseen";
    };
    auto InOrder = [&] { // the sorted column's texts
        for (int C = 0; C < G.Columns().Count(); ++C)
            if (G.Columns().Item(C)->Sorted()) {
                QStringList T = G.ColumnText(C).split(','), Sorted = T;
                std::sort(Sorted.begin(), Sorted.end());
                return T == Sorted ? "in order" : "out of order";
            }
        return "unsorted";
    };
    auto Selected = [&] {
        QStringList L;
        for (int R = 0; R < G.RowCount(); ++R)
            if (G.GetRowSelected(R)) L << G.Cells(2, R);
        return L.join(',');
    };
    auto Bars = [&] { return QString("first=%1 h=%2").arg(G.FirstRow()).arg(G.HorzScrollBar().Position()); };
    const QMap<QString, std::function<QString()>> Probe{{"?", [&] { return EditAt(G); }}, {"pixels", Pixels}, {"order", InOrder}, {"selected", Selected},
        {"bars", Bars}, {"range", [&] { return QString("max=%1/%2").arg(G.VertScrollBar().Max()).arg(G.GetVertMax()); }}, {"rows", [&] { return QString("%1 rows h0=%2").arg(G.RowCount()).arg(G.RowCount() ? G.GetRowHeight(0) : 0); }}};
    for (const QString& S : Steps.split(';', Qt::SkipEmptyParts))
        Probe.contains(S.trimmed()) ? void(Probes << Probe.value(S.trimmed())()) : ::Step(G, S);
    for (auto [Cell, Text] : Texts().asKeyValueRange())
        if (Before.value(Cell) != Text) Changed << Cell + "=" + Text;
    QCOMPARE(QString("%1 | %2 | cur=%3").arg(Probes.join(' '), Changed.join(','), CellName(G, G.SelectedColumn(), G.SelectedRow())), Expected);
}

// Every event's handler, the first time, deletes column A, clears the rows or sorts by
// C descending (40 rows; A and B edit, A takes input), the triggers being Steps. Then per
// action what it did ("A gone", "cleared", "by C"; "kept" or "unsorted" when refused or
// undone), the errors, an open edit (EditAt) and A of row c1 when no longer "Banana".
void tst_NxCustomGrid::HostileHandlers_data()
{
    QTest::addColumn<QString>("Events");
    QTest::addColumn<int>("Extra");
    QTest::addColumn<QString>("Trigger");
    QTest::addColumn<QString>("Expected");
    const QString Done = "A gone; cleared; by C";
    QTest::newRow("column resized") << "OnColumnResize" << 0 << "p 50,5; m 80,5; r 80,5" << Done;
    QTest::newRow("column assigned") << "OnColumnResize" << 0 << "assign 90" << Done;
    QTest::newRow("column moved") << "OnColumnMove" << 0 << "p 25,5; m 30,5; m 90,5; r 90,5" << Done;
    QTest::newRow("painting") << "OnCellColoring OnDrawCellBackground OnCustomDrawCell OnCellFormating OnPostDraw" << 0 << "paint" << Done;
    QTest::newRow("row heights") << "OnMeasuringRowHeight" << 0 << "paint; p 25,40; r 25,40" << "A gone edit:B/c1; cleared; by C edit:A/c8";
    QTest::newRow("selection") << "OnSelectCell OnDeselectCell" << 0 << "k Down" << Done;
    QTest::newRow("cell click") << "OnCellClick OnBeforeEdit" << 0 << "p 25,40; r 25,40" << Done;
    QTest::newRow("selected by a click") << "OnSelectCell OnDeselectCell" << 0 << "p 25,60; r 25,60" << Done + " edit:A/c2";
    QTest::newRow("header click") << "OnHeaderClick" << 0 << "p 25,5; r 25,5" << Done;
    QTest::newRow("header sort") << "OnSortColumn" << 0 << "p 25,5; r 25,5" << Done;
    QTest::newRow("header double click") << "OnHeaderDblClick" << 0 << "d 25,5" << Done;
    QTest::newRow("footer click") << "OnFooterClick" << int(goFooter) << "p 25,190; r 25,190" << Done;
    QTest::newRow("row dragged") << "OnRowMove" << int(goRowMoving) << "p 25,20; m 25,60; r 25,60" << Done;
    QTest::newRow("typing and the commit") << "OnEditAccept OnAfterEdit OnChange" << 0 << "start A1 x; t yz; k Return" << Done + " A/c1=xyz";
    QTest::newRow("typing: a sort commits what is typed") << "OnEdit" << 0 << "start A1 x; t yz; k Return" << Done + " A/c1=xy";
    QTest::newRow("input line") << "OnInputSelectCell OnInputAccept OnInputAdded" << int(goInput) << "p 25,25; r 25,25; t kiwi; k Return" << Done;
    QTest::newRow("indicator") << "OnIndicatorChange" << 0 << "indicator" << Done;
    QTest::newRow("compare") << "OnCompare" << 0 << "p 150,5; r 150,5" << Done;
    QTest::newRow("scroll") << "OnVerticalScroll" << 0 << "arrow" << Done;
}

void tst_NxCustomGrid::HostileHandlers()
{
    QFETCH(QString, Events);
    QFETCH(int, Extra);
    QFETCH(QString, Trigger);
    QFETCH(QString, Expected);
    for (const QString& Event : Events.split(' ')) {
        QStringList Outcomes;
        for (const QString Action : {"delete", "clear", "sort"}) {
            TSurfaceGrid G(Extra);
            ::Setup(G, "more, A edit, A input, B edit");
            G.Col[0]->SetDrawingOptions(doCustom);
            ReportInto Errors(G.Events);
            G.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&G));
            G.setFocus();
            int Fired = 0;
            const auto Hostile = [&](auto&&...) {
                if (Fired++ == 0)
                    Action == "delete" ? void(delete G.Columns().Item(0)) : Action == "clear" ? G.ClearRows() : (G.Col[2]->SetSortKind(skDescending), G.Col[2]->SetSorted(true));
            };
#define HOSTILE(Name) if (Event == #Name) G.Name = Hostile;
            HOSTILE(OnColumnResize) HOSTILE(OnColumnMove) HOSTILE(OnCellColoring) HOSTILE(OnDrawCellBackground) HOSTILE(OnCustomDrawCell) HOSTILE(OnCellFormating)
            HOSTILE(OnPostDraw) HOSTILE(OnMeasuringRowHeight) HOSTILE(OnSelectCell) HOSTILE(OnDeselectCell) HOSTILE(OnCellClick) HOSTILE(OnBeforeEdit) HOSTILE(OnHeaderClick)
            HOSTILE(OnSortColumn) HOSTILE(OnHeaderDblClick) HOSTILE(OnFooterClick) HOSTILE(OnRowMove) HOSTILE(OnEdit) HOSTILE(OnEditAccept) HOSTILE(OnAfterEdit)
            HOSTILE(OnChange) HOSTILE(OnInputAccept) HOSTILE(OnInputAdded) HOSTILE(OnInputSelectCell) HOSTILE(OnIndicatorChange) HOSTILE(OnVerticalScroll)
#undef HOSTILE
            if (Event == "OnCompare") // a custom sort asks the handler
                G.Col[2]->SetSortType(stCustom), G.OnCompare = [&](TNextGrid*, TCell* A, TCell* B, int& C) { Hostile(), C = QString::compare(A->AsString(), B->AsString()); };
            for (const QString& S : Trigger.split(';', Qt::SkipEmptyParts)) ::Step(G, S);
            QVERIFY2(Fired > 0, qPrintable(Event));
            // Whatever it did, the grid is whole: it paints to the end and its current column shows.
            bool Painted = false;
            G.OnPostDraw = [&](TNxCustomGridControl*) { Painted = true; };
            G.viewport()->repaint();
            QVERIFY(Painted && (G.SelectedColumn() < 0 || G.Columns().Item(G.SelectedColumn())->Visible()));
            const QStringList Ids = G.ColumnText(G.Columns().IndexOf(G.Col[2])).split(',');
            QString Outcome = Action == "delete" ? (G.Columns().Item(0) == G.Col[1] ? "A gone" : "kept")
                : Action == "clear"              ? (Ids.contains("c5") ? "kept" : "cleared")
                                                 : (Ids.mid(0, 3).join(',') == "c9,c8,c7" ? "by C" : "unsorted");
            const QStringList Reported = G.Events.filter(QRegularExpression("^error "));
            Outcome += (Reported.isEmpty() ? "" : " err:" + Reported.join(',').mid(6)) + (G.Editing() ? " edit:" + EditAt(G) : "");
            const QString C1 = G.Columns().Item(0) == G.Col[0] && Ids.contains("c1") ? G.Cells(0, Ids.indexOf("c1")) : "Banana";
            Outcomes << Outcome + (C1 == "Banana" ? "" : " A/c1=" + C1);
        }
        QCOMPARE(Event + ": " + Outcomes.join("; "), Event + ": " + Expected);
    }
}

// A handler deletes column A (every column edits): no edit opens on, and no click sorts, the column
// that took its place; A's editor is freed once its own key handling has returned.
void tst_NxCustomGrid::HandlersThatRemoveTheColumn_data()
{
    QTest::addColumn<QString>("Start");
    QTest::newRow("before edit") << "start";
    QTest::newRow("typed key") << "key";
    QTest::newRow("input edit") << "input";
    QTest::newRow("OnEdit while typing") << "edit";
    QTest::newRow("OnCellClick") << "p 25,40; r 25,40";
    QTest::newRow("OnHeaderClick") << "p 25,5; r 25,5";
}

void tst_NxCustomGrid::HandlersThatRemoveTheColumn()
{
    QFETCH(QString, Start);
    TSurfaceGrid G(goInput);
    for (TNxTextColumn* C : G.Col)
        C->SetOptions(C->Options() | coEditing);
    auto DeleteA = [](TNxCustomGridControl* Grid) {
        if (Grid->Columns().Count() == 3)
            delete Grid->Columns().Item(0);
    };
    QPointer<TNxCustomEdit> EditorOfA = G.Col[0]->OwnEditor();
    G.OnCellClick = [&](TNxCustomGridControl* Grid, int, int) { DeleteA(Grid); };
    G.OnHeaderClick = [&](TNxCustomGridControl* Grid, int) { DeleteA(Grid); };
    if (Start == "input") {
        G.StartEdit(1, 1, "zz");
        G.OnAfterEdit = [&](TNxCustomGridControl* Grid, int, int, const QString&) { DeleteA(Grid); };
        G.StartInputEdit(G.Col[0]);
        QCOMPARE(G.Cells(0, 1), QString("zz"));
    } else if (Start == "edit") {
        G.StartEdit(0, 1, "x");
        G.OnEdit = [&](TNxCustomGridControl* Grid, int, int, const QString&) { DeleteA(Grid); };
        QTest::keyClicks(G.ActiveEditor(), "yz");
    } else if (Start.startsWith("p ")) {
        G.Run(Start);
    } else {
        G.OnBeforeEdit = [&](TNxCustomGridControl* Grid, int, int, bool&) { DeleteA(Grid); };
        if (Start == "start")
            G.StartEdit(0, 1, "x");
        else
            QTest::keyClicks(&G, "x");
    }
    QCOMPARE(G.Columns().Count(), 2);
    QVERIFY(!G.Editing() && !G.InputEditing());
    QCOMPARE(G.ActiveEditor(), nullptr);
    QVERIFY(!G.Columns().Item(0)->Sorted());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(EditorOfA.isNull());
}

void tst_NxCustomGrid::DragBoxAndArrowsFollowTheDrag()
{
    TSurfaceGrid G;
    G.Run("p 25,5; m 30,5");
    QVERIFY(G.ColumnDragging());
    TColumnDragBox* Box = G.DragBox();
    QVERIFY(Box->isVisible());
    QCOMPARE(Box->Column(), G.Col[0]);
    QCOMPARE(Box->size(), QSize(50, 18));
    G.Run("m 90,5");
    const QPoint S = G.viewport()->mapToGlobal(QPoint(90, 5));
    QCOMPARE(Box->pos(), QPoint(S.x() - 25, S.y() - 18 + 4));
    // A moves right onto B: the arrows mark B's right edge, above and below the header.
    QVERIFY(G.UpperArrow()->isVisible() && G.LowerArrow()->isVisible());
    const QPoint Mark = G.viewport()->mapToGlobal(QPoint(110, 0));
    QCOMPARE(G.UpperArrow()->pos(), QPoint(Mark.x() - 4, Mark.y() - 12));
    QCOMPARE(G.LowerArrow()->pos(), QPoint(Mark.x() - 4, Mark.y() + 17));
    QCOMPARE(G.UpperArrow()->Direction(), 2);
    QCOMPARE(G.LowerArrow()->Direction(), 1);
    // Out of the header: no arrows, the no-drop cursor.
    G.Run("m 90,100");
    QVERIFY(!G.UpperArrow()->isVisible());
    QCOMPARE(G.CursorNumber(), 3001);
    G.Run("m 90,5");
    // The picture: the box, and both arrows drawn where they stand relative to it.
    QImage Img(90, 60, QImage::Format_RGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    P.translate(10, 20);
    Box->PaintTo(P);
    P.resetTransform();
    const QImage Up = G.UpperArrow()->grab().toImage();
    const QImage Down = G.LowerArrow()->grab().toImage();
    P.setClipRegion(G.UpperArrow()->mask().translated(60, 2));
    P.drawImage(60, 2, Up);
    P.setClipRegion(G.LowerArrow()->mask().translated(60, 40));
    P.drawImage(60, 40, Down);
    P.end();
    SavePng(Img, "DragBoxAndArrows");
    // Caption ink in the box, a black right edge, red arrow pixels.
    QCOMPARE(Img.pixelColor(10 + 49, 20 + 5), QColor(Qt::black));
    QCOMPARE(Img.pixelColor(64, 2 + 6), QColor(Qt::red));
    QCOMPARE(Img.pixelColor(64, 40 + 2), QColor(Qt::red));
    G.Run("r 90,5");
    QCOMPARE(G.Layout(), QString("BAC 50,60,70 111"));
}

void tst_NxCustomGrid::Hints()
{
    TSurfaceGrid G;
    TNxGridHintWindow* H = G.HintWindow();
    // It shows under the pointer, so the mouse must go through it to the grid.
    QVERIFY(H->windowFlags() & Qt::WindowTransparentForInput);
    QVERIFY(H->testAttribute(Qt::WA_ShowWithoutActivating));
    // A text too wide for its column shows whole over the cell.
    G.SetCells(0, 0, "a text far too wide for fifty pixels");
    G.Run("h 25,26");
    QVERIFY(H->isVisible());
    QCOMPARE(H->Mode, int(hmTextFit));
    QCOMPARE(H->Text(), G.Cells(0, 0));
    QCOMPARE(H->pos(), G.viewport()->mapToGlobal(QPoint(0, 18)));
    // A fitting text hides it.
    G.Run("h 150,26");
    QVERIFY(!H->isVisible());
    QCOMPARE(H->Mode, int(hmNone));
    // A cell hint: at the cell's right edge, 20 pixels above it, at most 250 wide.
    G.CellStore().GetCell(1, 2)->Hint = "The tenfold of the row number, kept in the middle column; a hint long enough "
                                        "that it has to break over more than one line of text.";
    G.Run("h 80,55");
    QVERIFY(H->isVisible());
    QCOMPARE(H->Mode, int(hmCell));
    QCOMPARE(H->pos(), G.viewport()->mapToGlobal(QPoint(110, 50 - 20)));
    QVERIFY(H->width() <= 250);
    QVERIFY(H->height() > H->fontMetrics().height() * 2);
    QImage Img(H->size(), QImage::Format_RGB32);
    QPainter P(&Img);
    H->PaintTo(P);
    P.end();
    SavePng(Img, "CellHint");
    QCOMPARE(Img.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(Img.pixelColor(2, 2), H->palette().color(QPalette::ToolTipBase));
    // A header hint under the header, at the column's left.
    G.Col[2]->Header().SetHint("Third");
    G.Run("h 150,5");
    QCOMPARE(H->Mode, int(hmHeader));
    QCOMPARE(H->pos(), G.viewport()->mapToGlobal(QPoint(110, 20)));
    // Leaving the grid hides every hint.
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&G, &Leave);
    QVERIFY(!H->isVisible());
}

void tst_NxCustomGrid::InputLineAddsARow()
{
    TSurfaceGrid G(goInput);
    // Tall enough that the new row brings no scroll bar (a resize closes the editor).
    G.resize(300, 300);
    G.Col[2]->SetDefaultValue("dflt");
    G.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    QStringList Fired;
    G.OnInputAdded = [&](TNxCustomGridControl*) { Fired << "added"; };
    G.OnInputSelectCell = [&](TNxCustomGridControl*, int C) { Fired << QString("input %1").arg(C); };
    // The input line lies under the header: (0, 18)-(w, 40).
    G.Run("p 25,25; r 25,25");
    QVERIFY(!G.InputEditing()); // a click selects the input cell, typing opens its editor
    QVERIFY(G.InputSelected());
    for (QChar C : QString("kiwi")) QTest::keyClicks(QApplication::focusWidget(), C);
    QTest::keyClick(G.ActiveEditor(), Qt::Key_Return);
    QCOMPARE(G.RowCount(), 11);
    QCOMPARE(G.Cells(0, 10), QString("kiwi"));
    QCOMPARE(G.Cells(1, 10), QString(""));
    QCOMPARE(G.Cells(2, 10), QString("dflt"));
    // The editor stays in the input line, empty, for the next row.
    QVERIFY(G.InputEditing());
    QCOMPARE(G.ActiveEditor()->text(), QString(""));
    QCOMPARE(Fired, (QStringList{"input 0", "added"}));
}

void tst_NxCustomGrid::ConversionErrorsStayInTheHandlers()
{
    TSurfaceGrid G;
    // A numeric sort by a header click over texts that are no numbers: rows unchanged, column unsorted.
    // Without a reporter installed the error is logged.
    G.Col[2]->SetSortType(stNumeric);
    QTest::ignoreMessage(QtWarningMsg, "'c0' is not a valid floating point value");
    G.Run("p 150,5; r 150,5");
    QVERIFY(!G.Col[2]->Sorted());
    QCOMPARE(G.ColumnText(2).section(',', 0, 2), QString("c0,c1,c2"));
    // What the user did goes to the installed reporter (the application's error box).
    static QStringList Reported;
    Reported.clear();
    SetGridErrorReporter([](const std::exception& E) { Reported << QString::fromUtf8(E.what()); });
    G.Run("p 150,5; r 150,5");
    QCOMPARE(Reported, QStringList{"'c0' is not a valid floating point value"});
    // A selection handler that reads a text as a number.
    G.OnSelectCell = [](TNxCustomGridControl* Grid, int, int R) {
        (void)static_cast<TNextGrid*>(Grid)->Cell(0, R)->GetAsInteger();
    };
    QTest::keyClick(&G, Qt::Key_Down);
    QCOMPARE(G.SelectedRow(), 1);
    QCOMPARE(Reported.value(1), QString("'Banana' is not a valid integer value"));
    // A custom painter that does the same leaves its cell blank and the grid painted.
    G.OnSelectCell = nullptr;
    G.Col[2]->SetDrawingOptions(doCustom);
    G.OnCustomDrawCell = [](TNxCustomGridControl* Grid, int, int R, const TRect&, TCellState) {
        if (R == 3)
            (void)static_cast<TNextGrid*>(Grid)->Cell(0, R)->GetAsFloat();
    };
    QTest::ignoreMessage(QtWarningMsg, "'apricot' is not a valid floating point value");
    QImage Img(G.ClientWidth(), G.ClientHeight(), QImage::Format_RGB32);
    QPainter P(&Img);
    G.PaintTo(P, Img.rect());
    P.end();
    QVERIFY(G.Canvas() == nullptr);
    // A handler that raises at the end of a real paint event.
    G.OnCustomDrawCell = nullptr;
    QVERIFY(QTest::qWaitForWindowExposed(&G));
    G.OnPostDraw = [](TNxCustomGridControl* Grid) {
        (void)static_cast<TNextGrid*>(Grid)->Cell(0, 0)->GetAsDateTime();
    };
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("'apple' is not a valid date"));
    G.viewport()->repaint();
    QVERIFY(G.Canvas() == nullptr);
    G.OnPostDraw = nullptr;
    // Errors of painting are only logged: a box would ask for another paint, and another error.
    QCOMPARE(Reported.size(), 2);
    SetGridErrorReporter(nullptr);
    // A footer sum leaves out the texts that are no numbers: 0 + 10 + ... + 90 less 30.
    G.Col[1]->Footer().SetFormulaKind(fkSum);
    G.SetCells(1, 3, "x");
    G.CalculateFooter();
    QCOMPARE(G.Col[1]->Footer().Caption(), QString("420"));
    G.Col[1]->Footer().SetFormulaKind(fkMaximum);
    G.CalculateFooter();
    QCOMPARE(G.Col[1]->Footer().Caption(), QString("90"));
}

// An image column edited through an editor of the user's is given a text that is
// no image index: the error is reported, the cell keeps its value.
void tst_NxCustomGrid::ConversionErrorsOfTheEditor_data()
{
    QTest::addColumn<QString>("Action");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("Enter keeps the editor open") << "Return" << "edit=3,1:abc";
    QTest::newRow("Tab keeps the editor open") << "Tab" << "edit=3,1:abc";
    QTest::newRow("focus leaving closes it") << "leave" << "edit=-";
}

void tst_NxCustomGrid::ConversionErrorsOfTheEditor()
{
    QFETCH(QString, Action);
    QFETCH(QString, Expected);
    static QStringList Reported;
    Reported.clear();
    SetGridErrorReporter([](const std::exception& E) { Reported << QString::fromUtf8(E.what()); });
    TSurfaceGrid G;
    G.SetWantTabs(true);
    auto* Img = new TNxImageColumn;
    Img->SetOptions(Img->Options() | coEditing);
    QWidget Home;
    Img->SetInplaceEdit(new TNxEdit(&Home));
    G.Columns().Add(Img);
    QLineEdit Other(&G), Away; // Away: a window of its own
    Other.show();
    G.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&G));
    G.SetCells(3, 1, "2");
    G.setFocus();
    G.StartEdit(3, 1, "abc");
    QVERIFY(G.ActiveEditor()->hasFocus());
    if (Action == "leave")
        Other.setFocus();
    else
        QTest::keyClick(G.ActiveEditor(), QKeySequence(Action)[0].key());
    SetGridErrorReporter(nullptr);
    QCOMPARE(Reported, QStringList{"'abc' is not a valid integer value"});
    QCOMPARE(G.Cells(3, 1), QString("2"));
    QCOMPARE(G.Editing() ? QString("edit=%1,%2:%3").arg(G.EditCol()).arg(G.EditRow()).arg(G.ActiveEditor()->text())
                         : QString("edit=-"),
             Expected);
    G.CloseEditor();
}

void tst_NxCustomGrid::ColumnsOwnTheirEditors()
{
    QPointer<TNxCustomEdit> Own;
    {
        TSurfaceGrid G;
        G.Col[0]->SetOptions(G.Col[0]->Options() | coEditing);
        Own = G.Col[0]->OwnEditor();
        QVERIFY(Own);
        QVERIFY(qobject_cast<TNxEdit*>(Own.data()));
        QCOMPARE(G.Col[0]->OwnEditor(), Own.data());
        // A column's InplaceEdit wins over its own editor, and goes back to its owner after.
        QWidget Home;
        auto* Mine = new TNxEdit(&Home);
        G.Col[1]->SetOptions(G.Col[1]->Options() | coEditing);
        G.Col[1]->SetInplaceEdit(Mine);
        G.StartEdit(1, 0);
        QCOMPARE(G.ActiveEditor(), Mine);
        QCOMPARE(Mine->parentWidget(), G.viewport());
        G.CloseEditor();
        QCOMPARE(Mine->parentWidget(), &Home);
        QVERIFY(!Mine->OnChange && !Mine->OnKeyDown);
        // Handlers of its own it has again after the edit.
        QStringList Mined;
        Mine->OnChange = [&](TNxCustomEdit*) { Mined << "change"; };
        Mine->OnKeyDown = [&](TNxCustomEdit*, QKeyEvent*) { Mined << "key"; return false; };
        G.StartEdit(1, 0);
        QCOMPARE(G.ActiveEditor(), Mine);
        G.CloseEditor();
        Mine->setText("x");
        QTest::keyClick(Mine, Qt::Key_A);
        QCOMPARE(Mined, (QStringList{"change", "key", "change"}));
        QCOMPARE(G.Cells(1, 0), QString("0"));
        Mine->OnChange = nullptr;
        Mine->OnKeyDown = nullptr;
        G.Col[1]->SetInplaceEdit(nullptr);
        G.StartEdit(0, 0);
        QCOMPARE(G.ActiveEditor(), Own.data());
        // An image column has no editor and cannot be edited.
        auto* Img = new TNxImageColumn;
        Img->SetOptions(Img->Options() | coEditing);
        G.Columns().Add(Img);
        QCOMPARE(Img->OwnEditor(), nullptr);
        QCOMPARE(Img->GetEditOptions(), 0);
    }
    // Freed with its column and grid.
    QVERIFY(Own.isNull());
    auto Loose = std::make_unique<TNxTextColumn>();
    QPointer<TNxCustomEdit> LooseEditor = Loose->OwnEditor();
    QVERIFY(LooseEditor);
    Loose.reset();
    QVERIFY(LooseEditor.isNull());
}

// A handler that assigns its own event anew keeps what it captured until it
// returns (the token lives only in its closure).
void tst_NxCustomGrid::HandlerThatReplacesItself_data()
{
    QTest::addColumn<QString>("Event");
    QTest::newRow("OnSelectCell") << "select";
    QTest::newRow("OnAfterEdit") << "after";
    QTest::newRow("OnHeaderClick") << "header";
}

void tst_NxCustomGrid::HandlerThatReplacesItself()
{
    QFETCH(QString, Event);
    static std::weak_ptr<int> Token;
    static QStringList Seen;
    Seen.clear();
    auto Kept = std::make_shared<int>(0);
    Token = Kept;
    TSurfaceGrid G;
    G.Col[0]->SetOptions(G.Col[0]->Options() | coEditing);
    // Reads only statics once it has replaced itself.
    auto Replace = [](auto& Handler) {
        Handler = nullptr;
        Seen << (Token.expired() ? "freed" : "alive");
    };
    if (Event == "select") {
        G.OnSelectCell = [Kept, &Replace, &G](TNxCustomGridControl*, int, int) { Replace(G.OnSelectCell); };
        Kept.reset();
        G.SelectCell(0, 3);
    } else if (Event == "after") {
        G.OnAfterEdit = [Kept, &Replace, &G](TNxCustomGridControl*, int, int, const QString&) { Replace(G.OnAfterEdit); };
        Kept.reset();
        G.StartEdit(0, 1, "typed");
        QVERIFY(G.EndEdit());
    } else {
        G.OnHeaderClick = [Kept, &Replace, &G](TNxCustomGridControl*, int) { Replace(G.OnHeaderClick); };
        Kept.reset();
        G.Run("p 25,5; r 25,5");
    }
    QCOMPARE(Seen, QStringList{"alive"});
    QVERIFY(Token.expired());
}

// A grid destroyed in the middle of an edit leaves the user's editor to the
// user: home again, hidden, with its own handlers, and deleted only once.
void tst_NxCustomGrid::UsersEditorOutlivesTheGrid_data()
{
    QTest::addColumn<bool>("WithHome");
    QTest::newRow("editor without a parent") << false;
    QTest::newRow("editor in another widget") << true;
}

void tst_NxCustomGrid::UsersEditorOutlivesTheGrid()
{
    QFETCH(bool, WithHome);
    QWidget Home;
    auto Mine = std::make_unique<TNxEdit>(WithHome ? &Home : nullptr);
    int Exits = 0;
    Mine->OnExit = [&](TNxCustomEdit*) { ++Exits; };
    auto G = std::make_unique<TSurfaceGrid>();
    G->Col[0]->SetOptions(G->Col[0]->Options() | coEditing);
    G->Col[0]->SetInplaceEdit(Mine.get());
    G->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(G.get()));
    G->StartEdit(0, 1, "typed");
    QVERIFY(Mine->hasFocus());
    G.reset();
    QCOMPARE(Mine->parentWidget(), WithHome ? &Home : nullptr);
    QVERIFY(!Mine->isVisible());
    QVERIFY(Mine->OnExit);
    Mine->OnExit(Mine.get());
    QCOMPARE(Exits, 1);
}

QTEST_MAIN(tst_NxCustomGrid)
#include "tst_NxCustomGrid.moc"
