// Bytes as a sequence of grid operations, user events and handlers that change
// the grid while it works. After each step the grid is whole: a row shows exactly
// when its ancestors are expanded, the counts and sums over the rows match a walk,
// the current row exists, the bar reaches the last row, and an open edit has its
// editor over its cell. DW_FUZZ_TRACE=1 prints the steps as they run.
#include "NextGrid.h"
#include "NxColumnClasses.h"
#include "NxEdit.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unordered_map>

namespace {

// What the checks read of the grid's own state.
class TFuzzGrid : public TNextGrid {
public:
    using TNextGrid::CellShown;
    using TNextGrid::RowStepsSummed;
    using TNextGrid::WaitingChanges;
    const TNxCustomColumn* EditColumn() const { return FEditColumn; }
    const void* EditRowKey() const { return FEditRowKey; }
};

TFuzzGrid* G = nullptr;
const uint8_t* Data = nullptr;
size_t Left = 0;
bool Trace = false;

int Byte() { return Left ? (--Left, *Data++) : 0; }
int Pick(int N) { return N > 0 ? ((Byte() << 8) | Byte()) % N : 0; }

[[noreturn]] void Fail(const QString& Why)
{
    fprintf(stderr, "grid broken: %s\n", qPrintable(Why));
    abort();
}

void Expect(bool Holds, const QString& Why)
{
    if (!Holds)
        Fail(Why);
}

// A handler does something once the event it is armed for has fired Countdown more times.
struct {
    int Event = -1, Countdown = 0;
} Armed;
int Depth = 0;
bool Checking = false, Measuring = false;

void Op(bool FromHandler);

void Hostile(int Event, bool* Accept = nullptr)
{
    if (Checking || Depth >= 2 || Armed.Event != Event || Armed.Countdown-- > 0)
        return;
    Armed.Event = -1;
    ++Depth;
    if (Trace)
        fprintf(stderr, "%*s[handler %d]\n", Depth * 2, "", Event);
    if (Accept && Byte() % 4 == 0)
        *Accept = false;
    for (int N = 1 + Byte() % 2; N > 0; --N)
        Op(true);
    --Depth;
}

int AnyRow() { return Pick(G->RowCount() + 2) - 1; }
int SomeRow() { return G->RowCount() > 0 ? Pick(G->RowCount()) : -1; }
int AnyCol() { return Pick(G->Columns().Count() + 2) - 1; }
int SomeCol() { return Pick(G->Columns().Count()); }

void AddColumn()
{
    auto* C = new TNxTextColumn;
    C->SetOptions(C->Options() | coEditing | coCanSort | coCanInput);
    if (Byte() % 3 == 0)
        C->SetSortType(stNumeric);
    if (G->Columns().Add(C) && G->Columns().IndexOf(C) >= 0)
        C->SetWidth(30 + Byte() % 60);
}

void Key(Qt::Key K)
{
    QWidget* W = QApplication::focusWidget();
    QTest::keyClick(W ? W : G, K);
}

QPoint Somewhere(int Top = 0)
{
    return {Pick(G->viewport()->width()), Top + Pick(std::max(G->viewport()->height() - Top, 1))};
}

void Op(bool FromHandler)
{
    const int Rows = G->RowCount(), Cols = G->Columns().Count();
    int Kind = Byte() % (FromHandler ? 35 : 48);
    auto Do = [](const char* Name, int A, int B, const std::function<void()>& F) {
        if (Trace)
            fprintf(stderr, "%*s%s %d %d\n", Depth * 2, "", Name, A, B);
        try {
            F();
        } catch (const std::exception&) {
            // Refusals (a row index out of bounds, a value that does not convert) are the grid's answer.
        }
    };
    switch (Kind) {
    case 0: { const int N = 1 + Byte() % 4; if (Rows < 400) Do("AddRow", N, 0, [&] { G->AddRow(N); if (G->IsValidRow(G->LastAddedRow)) G->SetCells(0, G->LastAddedRow, QString::number(Byte())); }); break; }
    case 1: { const int R = Pick(Rows + 1); if (Rows < 400) Do("InsertRow", R, 0, [&] { G->InsertRow(R); }); break; }
    case 2: { const int R = SomeRow(); if (R >= 0) Do("DeleteRow", R, 0, [&] { G->DeleteRow(R); }); break; }
    case 3: { const int A = SomeRow(), B = SomeRow(); if (A >= 0) Do("MoveRow", A, B, [&] { G->MoveRow(A, B); }); break; }
    case 4: { const int A = SomeRow(), B = SomeRow(); if (A >= 0) Do("ExchangeRows", A, B, [&] { G->ExchangeRows(A, B); }); break; }
    case 5: { const int R = SomeRow(); const bool Last = Byte() % 2; if (R >= 0 && Rows < 400) Do("AddChildRow", R, Last, [&] { G->AddChildRow(R, Last); if (G->IsValidRow(G->LastAddedRow)) G->SetCells(0, G->LastAddedRow, QString::number(Byte())); }); break; }
    case 6: { const int R = SomeRow(); const bool V = Byte() % 2; if (R >= 0) Do("SetExpanded", R, V, [&] { G->SetExpanded(R, V); }); break; }
    case 7: { const int R = SomeRow(); const int Hs[] = {0, 1, 2, 16, 40, 200, 3000}; const int H = Hs[Byte() % 7]; if (R >= 0) Do("SetRowHeight", R, H, [&] { G->SetRowHeight(R, H); }); break; }
    case 8: if (Byte() % 4 == 0) Do("ClearRows", 0, 0, [&] { G->ClearRows(); }); break;
    case 9: { const int C = SomeCol(); const bool Asc = Byte() % 2; if (Cols) Do("SortColumn", C, Asc, [&] { G->SortColumn(G->Columns().Item(C), Asc); }); break; }
    case 10: { const int R = AnyRow(); Do("SetSelectedRow", R, 0, [&] { G->SetSelectedRow(R); }); break; }
    case 11: { const int R = AnyRow(); Do("ScrollToRow", R, 0, [&] { G->ScrollToRow(R); }); break; }
    case 12: { const int C = AnyCol(), R = AnyRow(); const TShiftState S = Byte() % 4 == 0 ? ssShift : 0; Do("SelectCell", C, R, [&] { G->SelectCell(C, R, S); }); break; }
    case 13: { const int C = AnyCol(), R = AnyRow(); const bool Typed = Byte() % 2; Do("StartEdit", C, R, [&] { G->StartEdit(C, R, Typed ? QString("e%1").arg(Byte()) : QString()); }); break; }
    case 14: Do("EndEdit", 0, 0, [&] { (void)G->EndEdit(); }); break;
    case 15: Do("CloseEditor", 0, 0, [&] { G->CloseEditor(); }); break;
    case 16: { const int C = AnyCol(), R = AnyRow(); Do("SetCells", C, R, [&] { G->SetCells(C, R, QString::number(Byte())); }); break; }
    case 17: { const int P = Pick(G->VertScrollBar().Max() + 2); Do("VertPosition", P, 0, [&] { G->VertScrollBar().SetPosition(P); }); break; }
    case 18: { const int P = Pick(G->HorzScrollBar().Max() + 2); Do("HorzPosition", P, 0, [&] { G->HorzScrollBar().SetPosition(P); }); break; }
    case 19: { const int C = SomeCol(), W = Byte() % 120; if (Cols) Do("ColumnWidth", C, W, [&] { G->Columns().Item(C)->SetWidth(W); }); break; }
    case 20: { const int C = SomeCol(); const bool V = Byte() % 3; if (Cols) Do("ColumnVisible", C, V, [&] { G->Columns().Item(C)->SetVisible(V); }); break; }
    case 21: { const int C = SomeCol(); if (Cols > 1 && Byte() % 3 == 0) Do("DeleteColumn", C, 0, [&] { delete G->Columns().Item(C); }); break; }
    case 22: if (Cols < 5) Do("AddColumn", 0, 0, [&] { AddColumn(); }); break;
    case 23: { const int A = SomeCol(), B = SomeCol(); if (Cols) Do("MoveColumn", A, B, [&] { G->Columns().Move(A, B); }); break; }
    case 24: { const int C = SomeCol(); const bool Asc = Byte() % 2; if (Cols) Do("SetSorted", C, Asc, [&] { G->Columns().Item(C)->SetSortKind(Asc ? skAscending : skDescending); G->Columns().Item(C)->SetSorted(true); }); break; }
    case 25: { const int F = Byte() % 3; Do("SetFixedCols", F, 0, [&] { G->SetFixedCols(F); }); break; }
    case 26: { const TGridOptions O = std::array{goGrid, goIndicator, goMultiSelect, goRowMoving, goSelectFullRow, goInput}[Byte() % 6]; Do("ToggleOption", O, 0, [&] { G->SetOptions(G->Options() ^ O); }); break; }
    case 27: { const int L = Byte() % 8; // the lines' style, their 3D look, or the header's and the input line's heights
        if (L < 5) Do("SetGridLinesStyle", L, 0, [&] { G->SetGridLinesStyle(TGridLinesStyle(L)); });
        else if (L == 5) Do("Toggle3DLines", 0, 0, [&] { G->SetAppearanceOptions(G->AppearanceOptions() ^ ao3DGridLines); });
        else { const int H = 8 + Byte() % 60; Do(L == 6 ? "SetHeaderSize" : "SetInputSize", H, 0, [&] { L == 6 ? G->SetHeaderSize(H) : G->SetInputSize(H); }); }
        break; }
    case 28: { const int S = 1 + Byte() % 30; Do("SetRowSize", S, 0, [&] { G->SetRowSize(S); }); break; }
    case 29: Do("repaint", 0, 0, [&] { G->viewport()->repaint(); }); break;
    case 30: Do("update", 0, 0, [&] { G->update(); }); break;
    case 31: Do("ToggleMeasuring", 0, 0, [&] { Measuring = !Measuring; }); break;
    case 32: Do("ClearSelection", 0, 0, [&] { G->ClearSelection(); }); break;
    case 33: case 34: { const int E = Byte() % 19, N = Byte() % 8; Do("Arm", E, N, [&] { Armed = {E, N}; }); break; }
    // Only from the top: the user's input and the event loop.
    case 35: Do("Down", 0, 0, [&] { Key(Qt::Key_Down); }); break;
    case 36: Do("Up", 0, 0, [&] { Key(Qt::Key_Up); }); break;
    case 37: { const Qt::Key K = std::array{Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Right, Qt::Key_Left, Qt::Key_F2}[Byte() % 10]; Do("Key", K, 0, [&] { Key(K); }); break; }
    case 38: { const QString T = QString::number(Byte()); Do("Type", T.toInt(), 0, [&] { QWidget* W = QApplication::focusWidget(); QTest::keyClicks(W ? W : G, T); }); break; }
    case 39: case 40: { const QPoint P = Somewhere(); Do("Click", P.x(), P.y(), [&] { QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, P); }); break; }
    case 41: { const QPoint P(Pick(G->viewport()->width()), Byte() % 18); Do("HeaderClick", P.x(), P.y(), [&] { QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, P); }); break; }
    case 42: { const int W = 80 + Byte() % 300, H = 30 + Byte() % 300; Do("Resize", W, H, [&] { G->resize(W, H); }); break; }
    case 43: Do("BeginUpdate", 0, 0, [&] { G->BeginUpdate(); Op(false); G->EndUpdate(); }); break;
    case 44: { const QPoint A = Somewhere(18), B(A.x(), Somewhere(18).y()); Do("Drag", A.y(), B.y(), [&] {
        QTest::mousePress(G->viewport(), Qt::LeftButton, {}, A);
        QMouseEvent Move(QEvent::MouseMove, B, G->viewport()->mapToGlobal(B), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(G->viewport(), &Move);
        QTest::mouseRelease(G->viewport(), Qt::LeftButton, {}, B); }); break; }
    case 45: { const auto A = Byte() % 2 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderPageStepAdd; Do("Arrow", A, 0, [&] { G->verticalScrollBar()->triggerAction(A); }); break; }
    case 46: Do("processEvents", 0, 0, [] { QApplication::processEvents(); }); break;
    case 47: { const int C = SomeCol(); if (Cols) Do("InputEdit", C, 0, [&] { G->StartInputEdit(G->Columns().Item(C), "i"); }); break; }
    default: break;
    }
}

void CheckNow()
{
    TCells& C = G->CellStore();
    const int N = G->RowCount();
    Expect(!G->Busy() && G->WaitingChanges() == 0, QString("changes left waiting: %1").arg(G->WaitingChanges()));
    std::unordered_map<const TRow*, int> Index;
    for (int R = 0; R < N; ++R)
        Index[C.GetRow(R)] = R;
    auto ParentOf = [&](int R) {
        const TRow* P = C.GetRow(R)->ParentRow;
        Expect(!P || Index.count(P), QString("row %1: its parent is not in the store").arg(R));
        return P ? Index[P] : -1;
    };
    // A row shows exactly when its ancestors are all expanded.
    std::vector<int> Shows(N, -1), Kids(N, 0);
    std::function<bool(int, int)> ShowsOf = [&](int R, int Guard) -> bool {
        Expect(Guard <= N, "the parents make a loop");
        if (Shows[R] < 0) {
            const int P = ParentOf(R);
            Shows[R] = P < 0 || (ShowsOf(P, Guard + 1) && C.GetRow(P)->Expanded);
        }
        return Shows[R];
    };
    int Shown = 0, Selected = 0;
    for (int R = 0; R < N; ++R) {
        Expect(C.GetRow(R)->Visible == ShowsOf(R, 0), QString("row %1 shown %2, its ancestors say %3").arg(R).arg(C.GetRow(R)->Visible).arg(Shows[R]));
        Shown += Shows[R];
        Selected += C.GetRow(R)->Selected;
        if (ParentOf(R) >= 0)
            ++Kids[ParentOf(R)];
    }
    for (int R = 0; R < N; ++R)
        Expect(C.GetRow(R)->ChildCount == Kids[R], QString("row %1 counts %2 children of %3").arg(R).arg(C.GetRow(R)->ChildCount).arg(Kids[R]));
    Expect(C.VisibleRowCount() == Shown && C.SelectedCount() == Selected, "the counts of shown or selected rows");
    // In tree order each row's parent is among the open ancestors of the row before it;
    // a row's descendants end where it is closed.
    std::vector<int> Open, Descendants(N, 0);
    bool InOrder = true;
    for (int R = 0; R <= N; ++R) {
        const int P = R < N ? ParentOf(R) : -2;
        while (!Open.empty() && Open.back() != P) {
            Descendants[Open.back()] = R - Open.back() - 1;
            Open.pop_back();
        }
        InOrder = InOrder && (P < 0 || !Open.empty());
        Open.push_back(R);
    }
    Expect(C.TreeInOrder() == InOrder, QString("tree in order %1, the rows say %2").arg(C.TreeInOrder()).arg(InOrder));
    for (int R = 0; R < N && InOrder; ++R)
        Expect(C.GetDescendantCount(R) == Descendants[R], QString("row %1 has %2 descendants, not %3").arg(R).arg(Descendants[R]).arg(C.GetDescendantCount(R)));
    // The sums of the shown rows and their pixels.
    if (G->RowStepsSummed())
        Expect(C.RowSpacing() == G->LineWidths().RowSpacing, "the row spacing summed");
    qint64 Pixels = 0;
    for (int R = 0, Before = 0; R <= N; ++R) {
        Expect(C.ShownRowsBefore(R) == Before && C.ShownPixelsBefore(R) == Pixels, QString("the sums before row %1").arg(R));
        if (R < N && Shows[R]) {
            ++Before;
            Pixels += C.GetRow(R)->Height > 0 ? C.GetRow(R)->Height + C.RowSpacing() : 0;
        }
    }
    Expect(G->SelectedRow() >= -1 && G->SelectedRow() < std::max(N, 1), QString("current row %1 of %2").arg(G->SelectedRow()).arg(N));
    if (N > 0) {
        Expect(Shown == 0 || G->GetRowVisible(G->FirstRow()), QString("first row %1 is hidden").arg(G->FirstRow()));
        Expect(G->VertScrollBar().Max() == G->GetVertMax(), QString("bar maximum %1, not %2").arg(G->VertScrollBar().Max()).arg(G->GetVertMax()));
        Expect(Shown == 0 || G->VertScrollBar().Position() == G->PositionOfRow(G->FirstRow()), "the bar is not at the first row");
    } else {
        Expect(G->FirstRow() == 0, "a first row with no rows");
    }
    // One editor shows, over its cell, exactly while an edit is open.
    int Editors = 0;
    for (TNxCustomEdit* E : G->viewport()->findChildren<TNxCustomEdit*>())
        Editors += E->isVisible() && !E->Dying();
    if (G->Editing()) {
        const int Col = G->EditCol(), Row = G->EditRow();
        Expect(G->Columns().IsValidIndex(Col) && G->IsValidRow(Row) && G->Columns().Item(Col) == G->EditColumn() && G->RowKey(Row) == G->EditRowKey(), "the edit lost its cell");
        Expect(G->CellShown(Col, Row) && G->ActiveEditor() && G->ActiveEditor()->isVisible(), QString("an edit on a cell not shown %1,%2").arg(Col).arg(Row));
        Expect(G->GetCellRect(Col, Row).ToQRect().contains(G->ActiveEditor()->geometry().center()), "the editor is not over its cell");
        Expect(Editors == 1, QString("%1 editors shown").arg(Editors));
    } else if (!G->InputEditing()) {
        Expect(!G->ActiveEditor() && Editors == 0, "an editor with no edit");
    }
}

void Check()
{
    // What waits for the event loop runs there.
    for (int Tries = 0; Tries < 5 && G->WaitingChanges() > 0; ++Tries)
        QApplication::processEvents();
    Checking = true;
    CheckNow();
    Checking = false;
}

void Messages(QtMsgType, const QMessageLogContext&, const QString& Message)
{
    // Painting inside a paint is a fault of the grid's; other warnings are Qt's own business.
    if (Message.contains("Recursive repaint") || Message.contains("QPainter") || Message.contains("endPaint"))
        Fail(Message);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(Messages);
    static int Argc = 1;
    static char Name[] = "fuzz_grid";
    static char* Argv[] = {Name, nullptr};
    new QApplication(Argc, Argv);
    Trace = qEnvironmentVariableIsSet("DW_FUZZ_TRACE");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size)
{
    Data = Bytes;
    Left = Size;
    Armed = {};
    Measuring = false;
    G = new TFuzzGrid;
    G->SetBorderStyle(bsNone);
    G->SetOptions(goHeader | (Byte() % 2 ? goIndicator : 0) | (Byte() % 2 ? goSelectFullRow : 0) | (Byte() % 3 ? 0 : goGrid));
    for (int I = 0; I < 3; ++I)
        AddColumn();
    G->resize(300, 200);
    G->show();
    G->activateWindow();
    G->setFocus();
    for (int R = 0; R < 10; ++R) {
        G->AddRow(1);
        G->SetCells(0, R, QString::number(Byte()));
    }
    // The events' numbers are those Arm picks; 0 measures rows.
    G->OnSelectCell = [](TNxCustomGridControl*, int, int) { Hostile(1); };
    G->OnDeselectCell = [](TNxCustomGridControl*, int, int) { Hostile(2); };
    G->OnCellColoring = [](TNxCustomGridControl*, int, int, TColor&, TColor&, TCellState) { Hostile(3); };
    G->OnCustomDrawCell = [](TNxCustomGridControl*, int, int, const TRect&, TCellState) { Hostile(4); };
    G->OnEditAccept = [](TNxCustomGridControl*, int, int, const QString&, bool& Accept) { Hostile(5, &Accept); };
    G->OnAfterEdit = [](TNxCustomGridControl*, int, int, const QString&) { Hostile(6); };
    G->OnChange = [](TNxCustomGridControl*, int, int) { Hostile(7); };
    G->OnEdit = [](TNxCustomGridControl*, int, int, const QString&) { Hostile(8); };
    G->OnBeforeEdit = [](TNxCustomGridControl*, int, int, bool& Accept) { Hostile(9, &Accept); };
    G->OnCellClick = [](TNxCustomGridControl*, int, int) { Hostile(10); };
    G->OnHeaderClick = [](TNxCustomGridControl*, int) { Hostile(11); };
    G->OnRowMove = [](TNxCustomGridControl*, int, int, bool& Accept) { Hostile(12, &Accept); };
    G->OnVerticalScroll = [](TNxScrollControl*, int) { Hostile(13); };
    G->OnColumnResize = [](TNxCustomGridControl*, int) { Hostile(14); };
    G->OnColumnMove = [](TNxCustomGridControl*, int, int, int) { Hostile(15); };
    G->OnPostDraw = [](TNxCustomGridControl*) { Hostile(16); };
    G->OnSortColumn = [](TNxCustomGridControl*, int, bool) { Hostile(17); };
    G->OnCellFormating = [](TNextGrid*, int, int, TColor&, int&, TCellState) { Hostile(18); };
    Check();
    while (Left > 0) {
        const bool WasMeasuring = Measuring;
        Op(false);
        if (Measuring != WasMeasuring) {
            if (Measuring)
                G->OnMeasuringRowHeight = [](TNxCustomGridControl*, int R, int& H) { H += R % 3 == 0 ? 5 : 0; Hostile(0); };
            else
                G->OnMeasuringRowHeight = nullptr;
            G->UpdateVertScrollBar();
            G->GridChanged();
        }
        Check();
    }
    delete G;
    G = nullptr;
    QApplication::processEvents();
    return 0;
}
