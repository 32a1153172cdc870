#include "NxTestListGrid.h"
#include "NxThemesSupport.h"

#include <QPainter>
#include <QtTest>

namespace {

// The grid painted off-screen, focused, with colours that the checks can tell apart.
QImage Render(TListGrid& G)
{
    QImage Img(G.ClientWidth(), G.ClientHeight(), QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    QPainter P(&Img);
    G.PaintTo(P, Img.rect());
    P.end();
    if (qEnvironmentVariableIsSet("DW_GRID_PNG"))
        Img.save(QString("%1/%2.png").arg(qEnvironmentVariable("DW_GRID_PNG"), QTest::currentTestFunction()));
    return Img;
}

// Pixels in R that are close to Ink (text is smoothed at its edges).
int InkIn(const QImage& Img, const QRect& R, QRgb Ink)
{
    int N = 0;
    for (int Y = R.top(); Y <= R.bottom(); ++Y)
        for (int X = R.left(); X <= R.right(); ++X) {
            const QRgb P = Img.pixel(X, Y);
            N += qAbs(qRed(P) - qRed(Ink)) + qAbs(qGreen(P) - qGreen(Ink)) + qAbs(qBlue(P) - qBlue(Ink)) < 150;
        }
    return N;
}

} // namespace

class tst_NxCustomGridControl : public QObject {
    Q_OBJECT
private slots:
    void Geometry_data();
    void Geometry();
    void ScrollToRow_data();
    void ScrollToRow();
    void Selection_data();
    void Selection();
    void Keys_data();
    void Keys();
    void ClicksAndWheel();
    void RowSizeBelowOneIsIgnored();
    void ColumnChangesKeepTheStoreInStep();
    void ColumnsFollowTheGridFont();
    void PaintsTheList();
    void PaintsTheCaptionOfAnEmptyGrid();
    void PaintsEveryPixel();
};

// Options beyond the list's, row height, client height, rows, first shown row;
// then the body's left, top and bottom, the whole rows that fit, and RowTop of rows 0 to 3.
void tst_NxCustomGridControl::Geometry_data()
{
    QTest::addColumn<int>("Extra");
    QTest::addColumn<int>("RowHeight");
    QTest::addColumn<int>("Height");
    QTest::addColumn<int>("First");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("45-pixel rows in 100") << 0 << 45 << 118 << 0 << "0 18 118 | 2 | 18 63 108 153";
    QTest::newRow("16-pixel rows") << 0 << 16 << 178 << 0 << "0 18 178 | 10 | 18 34 50 66";
    QTest::newRow("indicator") << int(goIndicator) << 16 << 178 << 0 << "12 18 178 | 10 | 18 34 50 66";
    QTest::newRow("footer band") << int(goFooter) << 16 << 178 << 0 << "0 18 156 | 8 | 18 34 50 66";
    QTest::newRow("grid lines add spacing") << int(goGrid) << 16 << 178 << 0 << "0 18 178 | 9 | 18 35 52 69";
    QTest::newRow("input line") << int(goInput) << 16 << 178 << 0 << "0 40 178 | 8 | 40 56 72 88";
    QTest::newRow("rows above the first lie above") << 0 << 16 << 178 << 3 << "0 18 178 | 10 | -30 -14 2 18";
    // 32 rows of 2^27 pixels are 2^32 pixels: too far to place, never wrapped onto the screen.
    QTest::newRow("rows too far above to count in an int") << 0 << (1 << 27) << 118 << 32 << "0 18 118 | 0 | -1073741824 -1073741824 -1073741824 -1073741824";
}

void tst_NxCustomGridControl::Geometry()
{
    QFETCH(int, Extra);
    QFETCH(int, RowHeight);
    QFETCH(int, Height);
    QFETCH(int, First);
    QFETCH(QString, Expected);
    TListGrid G(40, RowHeight, Height);
    G.SetOptions(G.Options() | Extra);
    G.VertScrollBar().SetPosition(First);
    QCOMPARE(G.FirstRow(), First);
    const TRect B = G.GetBodyRect();
    const QString Got = QString("%1 %2 %3 | %4 | %5 %6 %7 %8")
                            .arg(B.Left).arg(B.Top).arg(B.Bottom)
                            .arg(G.GetVisibleRowCount())
                            .arg(G.RowTop(0)).arg(G.RowTop(1)).arg(G.RowTop(2)).arg(G.RowTop(3));
    QCOMPARE(Got, Expected);
}

// 100 rows, 10 of them fit.
void tst_NxCustomGridControl::ScrollToRow_data()
{
    QTest::addColumn<int>("Start");
    QTest::addColumn<int>("Row");
    QTest::addColumn<int>("Position");
    QTest::newRow("below the view") << 0 << 25 << 16;
    QTest::newRow("already shown") << 0 << 5 << 0;
    QTest::newRow("last shown") << 20 << 29 << 20;
    QTest::newRow("above the view") << 20 << 3 << 3;
    QTest::newRow("row 0 from below") << 20 << 0 << 0;
    QTest::newRow("last row") << 0 << 99 << 90;
}

void tst_NxCustomGridControl::ScrollToRow()
{
    QFETCH(int, Start);
    QFETCH(int, Row);
    QFETCH(int, Position);
    TListGrid G(100);
    QCOMPARE(G.GetVisibleRowCount(), 10);
    QCOMPARE(G.VertScrollBar().Max(), 90);
    G.VertScrollBar().SetPosition(Start);
    G.ScrollToRow(Row);
    QCOMPARE(G.VertScrollBar().Position(), Position);
    QCOMPARE(G.FirstRow(), Position);
    QVERIFY(Row >= G.FirstRow() && Row < G.FirstRow() + G.GetVisibleRowCount());
}

// Steps: "row N" (SetSelectedRow), "cell C R" (SelectCell), "ctrl R", "clear", "disable C", "delcol C", "down", "shift R", "del R", "swap A B",
// "kid P" (a last child of row P), "ctrlclick R" (a click with Ctrl on the row's Code cell).
void tst_NxCustomGridControl::Selection_data()
{
    QTest::addColumn<QStringList>("Steps");
    QTest::addColumn<QStringList>("Events");
    QTest::addColumn<QString>("Current");
    QTest::addColumn<QString>("Selected");
    QTest::newRow("row 0 again fires select") << QStringList{"row 0"} << QStringList{"select 0 0"} << "0 0" << "0";
    QTest::newRow("deselect before select") << QStringList{"row 0", "row 3"}
                                            << QStringList{"select 0 0", "deselect 0 0", "select 0 3"} << "0 3" << "3";
    QTest::newRow("row -1 does nothing") << QStringList{"row 2", "row -1"}
                                         << QStringList{"deselect 0 0", "select 0 2"} << "0 2" << "2";
    QTest::newRow("row count does nothing") << QStringList{"row 20"} << QStringList{} << "0 0" << "";
    QTest::newRow("cell of no row does nothing") << QStringList{"row 1", "multi", "ctrl 3", "cell 1 20", "cell 1 -1"}
                                                 << QStringList{"deselect 0 0", "select 0 1", "deselect 0 1", "select 0 3"} << "0 3" << "1,3";
    QTest::newRow("column that does not exist") << QStringList{"row 1", "cell 7 4"}
                                                << QStringList{"deselect 0 0", "select 0 1"} << "0 1" << "1";
    QTest::newRow("after clear nothing is current") << QStringList{"row 1", "clear", "row 4"}
                                                    << QStringList{"deselect 0 0", "select 0 1", "deselect -1 -1", "select 0 4"} << "0 4" << "4";
    QTest::newRow("down after clear") << QStringList{"row 1", "clear", "down"} << QStringList{"deselect 0 0", "select 0 1", "deselect -1 -1", "select 0 0"} << "0 0" << "0";
    QTest::newRow("down after the current column went") << QStringList{"cell 2 1", "delcol 2", "down"} << QStringList{"deselect 0 0", "select 2 1", "deselect 2 1", "select 0 2"} << "0 2" << "2";
    QTest::newRow("disabled column") << QStringList{"disable 1", "cell 1 5"} << QStringList{} << "0 0" << "";
    QTest::newRow("plain selection ends a multi-selection")
        << QStringList{"multi", "row 1", "ctrl 4", "cell 0 6"}
        << QStringList{"deselect 0 0", "select 0 1", "deselect 0 1", "select 0 4", "deselect -1 -1", "select 0 6"}
        << "0 6" << "6";
    // A Shift range replaces the whole selection, however the rows changed since the last one.
    const QStringList Shift{"multi", "row 2", "shift 5"}, Fired{"deselect 0 0", "select 0 2", "deselect 0 2", "select 0 5"};
    auto To = [&Fired](int Row, const QString& From = "0 5") { return Fired + QStringList{"deselect " + From, QString("select 0 %1").arg(Row)}; };
    QTest::newRow("shift range shrunk") << Shift + QStringList{"shift 3"} << To(3) << "0 3" << "2,3";
    QTest::newRow("shift range past the anchor") << Shift + QStringList{"shift 0"} << To(0) << "0 0" << "0,1,2";
    QTest::newRow("shift after a hole made with ctrl") << Shift + QStringList{"ctrl 4", "shift 7"} << To(4) + QStringList{"deselect 0 4", "select 0 7"} << "0 7" << "4,5,6,7";
    QTest::newRow("shift after a row of the range went") << Shift + QStringList{"del 3", "shift 6"} << To(6) << "0 6" << "2,3,4,5,6";
    QTest::newRow("shift after a row above went") << Shift + QStringList{"del 0", "shift 6"} << To(6) << "0 6" << "2,3,4,5,6";
    QTest::newRow("shift after the range went") << Shift + QStringList{"del 2", "del 2", "del 2", "del 2", "shift 3"} << To(3) << "0 3" << "2,3";
    QTest::newRow("shift after a selected row moved away") << Shift + QStringList{"swap 3 9", "shift 4"} << To(4) << "0 4" << "2,3,4";
    QTest::newRow("shift after rows above went with their parent") << Shift + QStringList{"kid 0", "kid 0", "del 0", "shift 6"} << To(6) << "0 6" << "2,3,4,5,6";
    QTest::newRow("shift after the range's last row went") << Shift + QStringList{"del 5", "shift 7"} << To(7) << "0 7" << "2,3,4,5,6,7";
    QTest::newRow("ctrl click deselects") << QStringList{"multi", "row 1", "ctrlclick 4", "ctrlclick 1"}
                                         << QStringList{"deselect 0 0", "select 0 1", "deselect 0 1", "select 1 4", "deselect 1 4", "select 1 1"} << "1 1" << "4";
    QTest::newRow("shift after clear") << Shift + QStringList{"clear", "shift 4"} << To(4, "-1 -1") << "0 4" << "2,3,4";
}

void tst_NxCustomGridControl::Selection()
{
    QFETCH(QStringList, Steps);
    QFETCH(QStringList, Events);
    QFETCH(QString, Current);
    QFETCH(QString, Selected);
    TListGrid G(20);
    for (const QString& S : Steps) {
        const QStringList P = S.split(' ');
        if (P[0] == "row")
            G.SetSelectedRow(P[1].toInt());
        else if (P[0] == "cell")
            G.SelectCell(P[1].toInt(), P[2].toInt());
        else if (P[0] == "ctrl")
            G.SelectCell(0, P[1].toInt(), ssCtrl);
        else if (P[0] == "clear")
            G.ClearSelection();
        else if (P[0] == "disable")
            G.Columns().Item(P[1].toInt())->SetEnabled(false);
        else if (P[0] == "multi")
            G.SetOptions(G.Options() | goMultiSelect);
        else if (P[0] == "delcol")
            delete G.Columns().Item(P[1].toInt());
        else if (P[0] == "down")
            QTest::keyClick(&G, Qt::Key_Down);
        else if (P[0] == "kid")
            G.AddChildRow(P[1].toInt(), true);
        else if (P[0] == "ctrlclick")
            QTest::mouseClick(G.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(60, G.RowTop(P[1].toInt()) + 2));
        else if (P[0] == "shift" || P[0] == "del" || P[0] == "swap")
            P[0] == "shift" ? G.SelectCell(0, P[1].toInt(), ssShift) : P[0] == "del" ? G.DeleteRow(P[1].toInt()) : G.ExchangeRows(P[1].toInt(), P[2].toInt());
    }
    QCOMPARE(G.Events, Events);
    QCOMPARE(QString("%1 %2").arg(G.SelectedColumn()).arg(G.SelectedRow()), Current);
    QCOMPARE(G.SelectedRows(), Selected);
}

// Rows, start row, start position, key; then the selected row and the position (10 rows fit).
void tst_NxCustomGridControl::Keys_data()
{
    QTest::addColumn<int>("Rows");
    QTest::addColumn<int>("Row");
    QTest::addColumn<int>("Position");
    QTest::addColumn<int>("Key");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("down") << 100 << 0 << 0 << int(Qt::Key_Down) << "1 0";
    QTest::newRow("down past the view") << 100 << 9 << 0 << int(Qt::Key_Down) << "10 1";
    QTest::newRow("down on the last row") << 100 << 99 << 90 << int(Qt::Key_Down) << "99 90";
    QTest::newRow("up on row 0") << 100 << 0 << 0 << int(Qt::Key_Up) << "0 0";
    QTest::newRow("up above the view") << 100 << 20 << 20 << int(Qt::Key_Up) << "19 19";
    QTest::newRow("page down to the view's end") << 100 << 0 << 0 << int(Qt::Key_PageDown) << "9 0";
    QTest::newRow("page down a page") << 100 << 9 << 0 << int(Qt::Key_PageDown) << "19 10";
    QTest::newRow("page down in a short list") << 5 << 0 << 0 << int(Qt::Key_PageDown) << "4 0";
    QTest::newRow("page down near the end") << 100 << 85 << 85 << int(Qt::Key_PageDown) << "94 85";
    QTest::newRow("page up to the view's top") << 100 << 15 << 10 << int(Qt::Key_PageUp) << "10 10";
    QTest::newRow("page up a page") << 100 << 10 << 10 << int(Qt::Key_PageUp) << "0 0";
    QTest::newRow("home") << 100 << 50 << 45 << int(Qt::Key_Home) << "0 0";
    QTest::newRow("end") << 100 << 3 << 0 << int(Qt::Key_End) << "99 90";
}

void tst_NxCustomGridControl::Keys()
{
    QFETCH(int, Rows);
    QFETCH(int, Row);
    QFETCH(int, Position);
    QFETCH(int, Key);
    QFETCH(QString, Expected);
    TListGrid G(Rows);
    G.SetSelectedRow(Row);
    G.VertScrollBar().SetPosition(Position);
    QTest::keyClick(&G, Qt::Key(Key));
    QCOMPARE(QString("%1 %2").arg(G.SelectedRow()).arg(G.VertScrollBar().Position()), Expected);
    QCOMPARE(G.SelectedRows(), QString::number(G.SelectedRow()));
    QCOMPARE(G.FirstRow(), G.VertScrollBar().Position());
}

void tst_NxCustomGridControl::ClicksAndWheel()
{
    TListGrid G(100);
    QStringList Clicks;
    G.OnCellClick = [&](TNxCustomGridControl*, int C, int R) { Clicks << QString("%1 %2").arg(C).arg(R); };
    QTest::mouseClick(G.viewport(), Qt::LeftButton, {}, QPoint(60, 18 + 3 * 16 + 5));
    QCOMPARE(G.SelectedRow(), 3);
    QCOMPARE(G.Events.last(), QString("select 1 3"));
    QCOMPARE(Clicks, QStringList{"1 3"});
    // A click in the header of a column that does not sort selects nothing.
    G.CodeCol->SetOptions(G.CodeCol->Options() & ~coCanSort);
    G.Events.clear();
    QTest::mouseClick(G.viewport(), Qt::LeftButton, {}, QPoint(60, 5));
    QVERIFY(G.Events.isEmpty());
    // Two notches down scroll two rows; with Ctrl one notch scrolls a page.
    auto Wheel = [&](int Delta, Qt::KeyboardModifiers Mods) {
        QWheelEvent E(QPointF(50, 50), G.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, Delta), Qt::NoButton, Mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(G.viewport(), &E);
    };
    Wheel(-240, {});
    QCOMPARE(G.VertScrollBar().Position(), 2);
    Wheel(-120, Qt::ControlModifier);
    QCOMPARE(G.VertScrollBar().Position(), 12);
    Wheel(120, {});
    QCOMPARE(G.VertScrollBar().Position(), 11);
    QCOMPARE(G.FirstRow(), 11);
    // A click on a scrolled view selects the row under the pointer.
    QTest::mouseClick(G.viewport(), Qt::LeftButton, {}, QPoint(10, 18 + 5));
    QCOMPARE(G.SelectedRow(), 11);
    // The scroll bar's own page step takes the same path.
    G.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(G.VertScrollBar().Position(), 21);
    QCOMPARE(G.FirstRow(), 21);
}

void tst_NxCustomGridControl::RowSizeBelowOneIsIgnored()
{
    TListGrid G(2, 45);
    G.SetRowSize(0);
    G.SetRowSize(-4);
    QCOMPARE(G.RowSize(), 45);
    G.AddRow(1);
    QCOMPARE(G.GetRowHeight(2), 45);
    G.SetRowSize(20);
    G.AddRow(1);
    QCOMPARE(G.GetRowHeight(0), 45);
    QCOMPARE(G.GetRowHeight(3), 20);
}

void tst_NxCustomGridControl::ColumnChangesKeepTheStoreInStep()
{
    TListGrid G(3);
    G.FClosedEditors = 0;
    // With no edit open nothing closes: an edit follows its cell through column changes.
    auto* C = G.Columns().Add(new TNxTextColumn);
    QCOMPARE(G.CellStore().ColumnCount(), 4);
    delete C;
    QCOMPARE(G.FClosedEditors, 0);
    QCOMPARE(G.CellStore().ColumnCount(), 3);
}

void tst_NxCustomGridControl::ColumnsFollowTheGridFont()
{
    TListGrid G(1);
    G.CharCol->SetFont(QFont("Arial", 12));
    QFont F = G.font();
    F.setPointSize(21);
    G.setFont(F);
    QCOMPARE(G.CodeCol->Font().pointSize(), 21);
    QCOMPARE(G.CharCol->Font().pointSize(), 12);
    G.SetFontColor(0x336699);
    QCOMPARE(G.CodeCol->FontColor(), 0x336699);
    QCOMPARE(G.CharCol->FontColor(), clWindowText);
}

void tst_NxCustomGridControl::PaintsTheList()
{
    TListGrid G(12, 30);
    G.SetOptions(G.Options() | goGrid);
    G.SetGridLinesColor(0x00FF00);
    G.SetSelectionColor(0x804000);
    G.SetHighlightedTextColor(0xFFFFFF);
    G.CharCol->SetFontColor(0x000000);
    G.CodeCol->SetFontColor(0x000000);
    G.Cell(1, 0)->SetAsInteger(88);
    G.Cell(1, 1)->SetAsInteger(88);
    QStringList Flags; // what the column's display was handed: row, Selected, Current, highlighted text
    G.OnCustomDrawCell = [&](TNxCustomGridControl* S, int, int Row, const TRect& R, TCellState) {
        const TColumnDisplay* D = G.LCDCol->Display();
        if (Row < 2)
            Flags << QString("%1 %2 %3 %4").arg(Row).arg(D->Selected).arg(D->Current).arg(D->HighlightedTextColor, 0, 16);
        for (int Y = 0; Y < 4; ++Y)
            for (int X = 0; X < 4; ++X)
                S->Canvas()->fillRect(R.Left + 3 + X * 5, R.Top + 3 + Y * 5, 4, 4, Qt::black);
    };
    G.SetSelectedRow(1);
    const QImage Img = Render(G);
    const QRgb Window = ToQColor(clWindow, G.palette()).rgb();
    const QRgb Sel = qRgb(0x00, 0x40, 0x80);
    // Header band: the header painter drew something other than the window colour.
    QVERIFY(Img.pixel(20, 9) != Window && Img.pixel(20, 9) != qRgb(255, 0, 255));
    // Rows start below the header: row 0 at 18, row 1 at 49 (30 + the line).
    QCOMPARE(Img.pixel(2, 20), Window);
    QCOMPARE(Img.pixel(2, 50), Sel);
    // Horizontal lines only, in the line colour, under each row; no vertical line between columns.
    QCOMPARE(Img.pixel(20, 48), qRgb(0, 255, 0));
    QCOMPARE(Img.pixel(39, 30), Window);
    // The selected row's text is in the highlighted colour and bold: more ink than the same text unselected.
    const int Plain = InkIn(Img, QRect(40, 18, 40, 30), qRgb(0, 0, 0));
    const int Bold = InkIn(Img, QRect(40, 49, 40, 30), qRgb(255, 255, 255));
    QVERIFY2(Plain > 10 && Bold > Plain, qPrintable(QString("%1 %2").arg(Plain).arg(Bold)));
    // The custom-drawn column: background, then 4x4 dots every 5 pixels from (Left + 3, Top + 3).
    QCOMPARE(Img.pixel(80 + 3, 18 + 3), qRgb(0, 0, 0));
    QCOMPARE(Img.pixel(80 + 6, 18 + 6), qRgb(0, 0, 0));
    QCOMPARE(Img.pixel(80 + 7, 18 + 3), Window);
    QCOMPARE(Img.pixel(80 + 2, 49 + 2), Sel);
    QCOMPARE(Img.pixel(80 + 3, 49 + 3), qRgb(0, 0, 0));
    QCOMPARE(Flags, QStringList({"0 0 0 ffffff", "1 1 0 ffffff"}));
    // The cell that is current in its row gets the Current flag.
    G.SelectCell(2, 1);
    Flags.clear();
    Render(G);
    QCOMPARE(Flags, QStringList({"0 0 0 ffffff", "1 1 1 ffffff"}));
    // Without the focus the selection turns button face and the text keeps its colour.
    G.FFocus = false;
    const QImage Unfocused = Render(G);
    QCOMPARE(Unfocused.pixel(2, 50), ToQColor(clBtnFace, G.palette()).rgb());
    QVERIFY(InkIn(Unfocused, QRect(40, 49, 40, 30), qRgb(0, 0, 0)) > 10);
    // Right of the columns the window colour fills the rows.
    QCOMPARE(Img.pixel(G.ClientWidth() - 3, 100), Window);
}

void tst_NxCustomGridControl::PaintsTheCaptionOfAnEmptyGrid()
{
    TListGrid G(0, 16, 120);
    G.SetCaption("No characters");
    const QImage Img = Render(G);
    const QRgb Text = ToQColor(clWindowText, G.palette()).rgb();
    const QFontMetrics FM(G.font());
    // One line from 4 pixels under the header band, centred across the client width.
    const int W = FM.horizontalAdvance("No characters");
    const QRect Band((G.ClientWidth() - W) / 2 - 2, 22, W + 4, FM.height());
    QVERIFY(InkIn(Img, Band, Text) > 20);
    QCOMPARE(InkIn(Img, QRect(0, 22, Band.left(), FM.height()), Text), 0);
    QCOMPARE(InkIn(Img, QRect(0, 22 + FM.height(), G.ClientWidth(), 40), Text), 0);
    // The empty rows below the header are drawn in the window colour.
    QCOMPARE(Img.pixel(20, 110), ToQColor(clWindow, G.palette()).rgb());
}

// Themed and classic with grid lines: no client pixel left unpainted (the image starts magenta), no focus frame of a cut row on the footer.
void tst_NxCustomGridControl::PaintsEveryPixel()
{
    const auto Restore = qScopeGuard([] { SetThemesAvailable(true); });
    for (bool Themed : {true, false}) {
        SetThemesAvailable(Themed);
        TListGrid G(40, 21);
        G.SetOptions(G.Options() | goInput | goFooter | goIndicator | (Themed ? 0 : goGrid));
        G.VertScrollBar().SetPosition(1);
        G.SetCurrentCell(0, G.FirstRow() + G.GetVisibleRowCount());
        const QImage Img = Render(G);
        QCOMPARE(InkIn(Img, Img.rect(), qRgb(255, 0, 255)), 0);
        G.FFocus = false;
        QCOMPARE(Render(G).copy(G.GetFooterRect().ToQRect()), Img.copy(G.GetFooterRect().ToQRect()));
    }
}

QTEST_MAIN(tst_NxCustomGridControl)
#include "tst_NxCustomGridControl.moc"
