#include "NxColumnClasses.h"
#include "NxColumns.h"
#include "NxDisplays.h"
#include "NxTestGrid.h"
#include "DwError.h"

#include <QPainter>
#include <QtTest>

namespace {

struct TFixture {
    TTestGrid Grid;
    TNxColumns Columns{&Grid};
    QStringList Log; // "name:code:value" and "before/after:op:index"
    TFixture()
    {
        Columns.OnColumnNotification = [this](TNxCustomColumn* C, int Code, int Value) {
            Log << QString("%1:%2:%3").arg(C->Name()).arg(Code).arg(Value);
        };
        Columns.OnColumnsChanged = [this](int Op, int, int, int I) { Log << QString("before:%1:%2").arg(Op).arg(I); };
        Columns.OnColumnChanged = [this](int Op, int, int, int I) { Log << QString("after:%1:%2").arg(Op).arg(I); };
    }
    TNxCustomColumn* Add(const QString& Name, int Width, bool Auto = false)
    {
        auto* C = new TNxTextColumn;
        C->SetName(Name);
        if (Auto)
            C->SetOptions(C->Options() | coAutoSize);
        C->SetWidth(Width);
        return Columns.Add(C);
    }
    QString Lefts() const
    {
        QStringList L;
        for (int I = 0; I < Columns.Count(); ++I) {
            auto* C = Columns.Item(I);
            L << QString("%1@%2#%3").arg(C->Width()).arg(C->Left()).arg(C->VisibleIndex());
        }
        return L.join(' ');
    }
};

} // namespace

class tst_NxColumns : public QObject {
    Q_OBJECT
private slots:
    void Defaults();
    void LayOut();
    void LayOutWithIndicatorAndFixed();
    void AutoSize();
    void AutoSizeAfterWidthChange();
    void WidthMinimumAndNotification();
    void SortedIsExclusive();
    void SearchColumnIsExclusive();
    void PositionAndMove();
    void RemoveOnDestroy();
    void PartsAndAssign();
    void FontColorFollowsParentFont();
    void FormatTextAndWidths();
    void EditOptions();
    void PlaceAndNeighbours();
    void IndexErrors();
};

void tst_NxColumns::Defaults()
{
    TNxTextColumn T;
    QCOMPARE(int(T.Options()), 1038 | int(coShowTextFitHint));
    QCOMPARE(T.Kind(), ckString);
    QCOMPARE(T.Width(), 80);
    QCOMPARE(T.Position(), -1);
    QCOMPARE(T.SortType(), stAlphabetic);
    QCOMPARE(T.Header().Color(), clBtnFace);
    QCOMPARE(T.Footer().Color(), clWindow);
    QCOMPARE(T.Color(), clWindow);
    QCOMPARE(T.GetColumnStyle(), 26);
    QVERIFY(dynamic_cast<TTextualColumnDisplay*>(T.Display()) != nullptr);
    QCOMPARE(T.SlideBounds().Right(), 88);
    QCOMPARE(T.SlideBounds().Bottom(), 24);
    TNxImageColumn I;
    QCOMPARE(int(I.Options()), 1038);
    QCOMPARE(I.Kind(), ckInteger);
    QCOMPARE(I.SortType(), stNumeric);
    QCOMPARE(I.DefaultValue(), QString("0"));
    QVERIFY(I.Transparent());
}

void tst_NxColumns::LayOut()
{
    TFixture F;
    F.Add("a", 40);
    F.Add("b", 40);
    F.Add("c", 120);
    QCOMPARE(F.Lefts(), QString("40@0#0 40@40#1 120@80#2"));
    QCOMPARE(F.Columns.TotalWidth(), 200);
    F.Columns.Item(1)->SetVisible(false);
    QCOMPARE(F.Lefts(), QString("40@0#0 40@40#-1 120@40#1"));
    QCOMPARE(F.Columns.VisibleCount(), 2);
    QCOMPARE(F.Columns.TotalWidth(), 160);
    QVERIFY(F.Log.endsWith("b:7:-1"));
}

void tst_NxColumns::LayOutWithIndicatorAndFixed()
{
    TFixture F;
    F.Grid.FIndicator = 12;
    F.Add("a", 40);
    F.Add("b", 50);
    F.Add("c", 60);
    QCOMPARE(F.Lefts(), QString("40@12#0 50@52#1 60@102#2"));
    F.Columns.SetFixedCols(2);
    QCOMPARE(F.Columns.FixedWidth(), 90);
    F.Grid.FFixedCols = 2;
    F.Grid.FScroll = 30;
    QCOMPARE(F.Columns.Item(1)->ScreenLeft(), 52);  // fixed: does not scroll
    QCOMPARE(F.Columns.Item(2)->ScreenLeft(), 72);
    QCOMPARE(F.Columns.Item(2)->PartRect(caFooter), Rect(72, 104, 132, 122));
    QCOMPARE(F.Columns.Item(2)->PartRect(caInput), Rect(72, 18, 132, 35));
}

void tst_NxColumns::AutoSize()
{
    TFixture F;
    F.Grid.FClientWidth = 600;
    F.Grid.FLoading = true; // as read from a form: sized once after loading
    F.Add("a", 100, true);
    F.Add("b", 300, true);
    F.Add("c", 100);
    F.Grid.FLoading = false;
    F.Columns.AutoSize();
    QCOMPARE(F.Lefts(), QString("125@0#0 375@125#1 100@500#2"));
    // A hidden auto-size column gives its share to the others.
    F.Columns.Item(0)->SetVisible(false);
    QCOMPARE(F.Columns.Item(1)->Width(), 500);
}

void tst_NxColumns::AutoSizeAfterWidthChange()
{
    TFixture F;
    F.Grid.FClientWidth = 400;
    F.Grid.FLoading = true;
    F.Add("a", 100);
    F.Add("b", 100, true);
    F.Add("c", 100, true);
    F.Grid.FLoading = false;
    F.Columns.AutoSize();
    QCOMPARE(F.Lefts(), QString("100@0#0 150@100#1 150@250#2"));
    // Widening "a" shares what is left among the auto-size columns after it.
    F.Columns.Item(0)->SetWidth(200);
    QCOMPARE(F.Lefts(), QString("200@0#0 100@200#1 100@300#2"));
}

void tst_NxColumns::WidthMinimumAndNotification()
{
    TFixture F;
    F.Grid.FDesign = true;
    TNxCustomColumn* A = F.Add("a", 40);
    F.Log.clear();
    A->SetWidth(3);
    QCOMPARE(A->Width(), 8);
    QCOMPARE(A->RequestedWidth(), 3);
    QCOMPARE(A->DefaultWidth(), 8);
    QCOMPARE(F.Log, QStringList({"a:9:-32"}));
}

void tst_NxColumns::SortedIsExclusive()
{
    TFixture F;
    auto* A = F.Add("a", 40);
    auto* B = F.Add("b", 40);
    A->SetSorted(true);
    F.Log.clear();
    B->SetSorted(true);
    QCOMPARE(F.Log, QStringList({"a:8:-1", "b:4:-1"}));
    QVERIFY(!A->Sorted());
    QVERIFY(B->Sorted());
    F.Log.clear();
    B->SetSortKind(skDescending);
    B->SetSortType(stIP);
    QCOMPARE(F.Log, QStringList({"b:5:-1", "b:5:-1"}));
}

void tst_NxColumns::SearchColumnIsExclusive()
{
    TFixture F;
    auto* A = F.Add("a", 40);
    auto* B = F.Add("b", 40);
    A->SetOptions(A->Options() | coSearchColumn);
    B->SetOptions(B->Options() | coSearchColumn);
    QVERIFY(!(A->Options() & coSearchColumn));
    QVERIFY(B->Options() & coSearchColumn);
}

void tst_NxColumns::PositionAndMove()
{
    TFixture F;
    auto* A = F.Add("a", 10);
    auto* B = F.Add("b", 20);
    auto* C = F.Add("c", 30);
    F.Log.clear();
    B->SetPosition(1);
    QCOMPARE(F.Log, QStringList({"b:2:-1"}));
    F.Log.clear();
    A->SetPosition(2);
    QCOMPARE(F.Log, QStringList({"a:2:0", "a:2:-1"}));
    QCOMPARE(B->Position(), 0);
    QCOMPARE(C->Position(), 1);
    QCOMPARE(A->Position(), 2);
    QCOMPARE(F.Columns.ItemByPosition(0), B);
    QCOMPARE(F.Lefts(), QString("10@50#2 20@0#0 30@20#1"));
    // Creation order is untouched.
    QCOMPARE(F.Columns.Item(0), A);
    QCOMPARE(F.Columns.FirstVisible(), B);
    QCOMPARE(F.Columns.LastVisible(), A);
}

void tst_NxColumns::RemoveOnDestroy()
{
    TFixture F;
    F.Add("a", 10);
    auto* B = F.Add("b", 20);
    F.Add("c", 30);
    F.Log.clear();
    delete B;
    QCOMPARE(F.Log, QStringList({"before:1:1", "after:1:1"}));
    QCOMPARE(F.Columns.Count(), 2);
    QCOMPARE(F.Lefts(), QString("10@0#0 30@10#1"));
    QCOMPARE(F.Columns.Item(1)->Position(), 1);
    F.Log.clear();
    F.Add("d", 5);
    QCOMPARE(F.Log.mid(F.Log.size() - 2), QStringList({"before:0:-1", "after:0:-1"}));
}

void tst_NxColumns::PartsAndAssign()
{
    TFixture F;
    auto* A = F.Add("a", 10);
    auto* B = F.Add("b", 20);
    F.Log.clear();
    A->Footer().SetFormulaKind(fkSum);
    A->Footer().SetCaption("total");
    A->Header().SetDisplayMode(dmTextAndImage);
    QCOMPARE(F.Log, QStringList({"a:6:-1", "a:6:-1"}));
    B->Footer().SetCaption("keep");
    B->SetFooter(A->Footer());
    QCOMPARE(B->Footer().FormulaKind(), fkSum);
    QCOMPARE(B->Footer().Caption(), QString("keep"));
    // A glyph without alpha turns its bottom-left colour transparent.
    QImage G(3, 2, QImage::Format_RGB32);
    G.fill(qRgb(255, 0, 255));
    G.setPixel(1, 0, qRgb(0, 0, 0));
    A->Header().SetGlyph(G);
    QCOMPARE(qAlpha(A->Header().Glyph().pixel(0, 1)), 0);
    QCOMPARE(A->Header().Glyph().pixel(1, 0), qRgb(0, 0, 0));
    // Column assignment copies settings but not SortType.
    auto* T = static_cast<TNxTextColumn*>(A);
    T->SetTextBefore("<");
    A->SetAlignment(taRightJustify);
    A->SetSortType(stIP);
    TNxTextColumn Copy;
    Copy.Assign(*A);
    QCOMPARE(Copy.Alignment(), taRightJustify);
    QCOMPARE(Copy.TextBefore(), QString("<"));
    QCOMPARE(Copy.SortType(), stAlphabetic);
    QCOMPARE(Copy.Header().DisplayMode(), dmTextAndImage);
}

void tst_NxColumns::FontColorFollowsParentFont()
{
    TFixture F;
    F.Grid.FFontColor = 0x123456;
    auto* A = F.Add("a", 10);
    QCOMPARE(A->FontColor(), 0x123456);
    QVERIFY(A->ParentFont());
    F.Log.clear();
    A->SetFontColor(clRed);
    QVERIFY(!A->ParentFont());
    QVERIFY(F.Log.contains("a:6:-1"));
    F.Grid.FFontColor = clBlue;
    A->SetParentFont(true);
    QCOMPARE(A->FontColor(), clBlue);
    QVERIFY(A->ParentFont());
    TNxTextColumn Copy;
    A->SetFontColor(0x00AA00);
    Copy.Assign(*A);
    QCOMPARE(Copy.FontColor(), 0x00AA00);
    // The footer writes its caption in the column's colour, not in the last pen.
    A->Footer().SetCaption("WWWW");
    A->Footer().SetColor(clWhite);
    QImage Img(60, 22, QImage::Format_RGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    P.setPen(Qt::blue);
    TDefaultStyleDisplay D(&F.Grid);
    D.Canvas = &P;
    D.DrawFooterCell(*A, Rect(0, 0, 60, 22), false);
    P.end();
    int Green = 0, Blue = 0;
    for (int Y = 0; Y < Img.height(); ++Y)
        for (int X = 0; X < Img.width(); ++X) {
            const QColor C = Img.pixelColor(X, Y);
            Green += C.green() > 100 && C.red() < 100 && C.blue() < 100;
            Blue += C.blue() > 150 && C.red() < 100 && C.green() < 100;
        }
    QVERIFY(Green > 5);
    QCOMPARE(Blue, 0);
}

void tst_NxColumns::FormatTextAndWidths()
{
    TNxTextColumn T;
    T.SetTextBefore("0x");
    T.SetTextAfter("h");
    QCOMPARE(T.FormatText("41"), QString("0x41h"));
    const int W = QFontMetrics(T.Font()).horizontalAdvance("abc");
    QCOMPARE(T.GetTextWidth("abc"), W + 5);
    TNxImageColumn I;
    QCOMPARE(I.GetTextWidth(""), 8);
    QCOMPARE(I.GetTextWidth("abc"), std::max(W + 6, 8));
    QCOMPARE(I.FormatText("7"), QString("7"));
    QVERIFY(T.IsEditKey(QChar('a')));
    QVERIFY(!T.IsEditKey(QChar(' ')));
    QVERIFY(!I.IsEditKey(QChar('a')));
}

void tst_NxColumns::EditOptions()
{
    TNxTextColumn T;
    TNxImageColumn I;
    T.SetOptions(T.Options() | coEditing);
    QCOMPARE(T.GetEditOptions(), 3); // has its own editor class
    QCOMPARE(I.GetEditOptions(), 0); // neither own editor nor InplaceEdit
    QWidget Ed;
    I.SetInplaceEdit(&Ed);
    QCOMPARE(I.GetEditOptions(), 2);
    T.SetEnabled(false);
    QCOMPARE(T.GetEditOptions(), 0);
}

void tst_NxColumns::PlaceAndNeighbours()
{
    TFixture F;
    auto* A = F.Add("a", 10);
    auto* B = F.Add("b", 10);
    auto* C = F.Add("c", 10);
    QCOMPARE(A->PlaceAmongVisible(), 1);
    QCOMPARE(B->PlaceAmongVisible(), 2);
    QCOMPARE(C->PlaceAmongVisible(), 3);
    B->SetEnabled(false);
    QCOMPARE(A->NextEnabledVisible(), C);
    QCOMPARE(C->PreviousEnabledVisible(), A);
    QCOMPARE(C->NextEnabledVisible(), C);
    A->SetVisible(false);
    C->SetVisible(false);
    QCOMPARE(B->PlaceAmongVisible(), 0);
    QVERIFY(B->IsOnlyVisible());
    F.Grid.FCurrent = 1;
    F.Grid.FPressed = 2;
    QVERIFY(B->IsCurrent());
    QVERIFY(C->IsPressedHeader());
}

void tst_NxColumns::IndexErrors()
{
    TFixture F;
    auto* A = F.Add("a", 10);
    F.Add("b", 10);
    QCOMPARE(ErrorOf([&] { F.Columns.Item(2); }), QString("List index out of bounds (2)"));
    QCOMPARE(ErrorOf([&] { F.Columns.Item(-1); }), QString("List index out of bounds (-1)"));
    QCOMPARE(ErrorOf([&] { A->SetPosition(5); }), QString("List index out of bounds (5)"));
    QCOMPARE(A->Position(), 0);
    QCOMPARE(ErrorOf([&] { F.Columns.Move(0, 2); }), QString("List index out of bounds (2)"));
    QVERIFY(F.Columns.IsValidIndex(1));
    QVERIFY(!F.Columns.IsValidIndex(2));
    // A column outside any collection just stores its position.
    TNxTextColumn Loose;
    Loose.SetPosition(7);
    QCOMPARE(Loose.Position(), 7);
}

QTEST_MAIN(tst_NxColumns)
#include "tst_NxColumns.moc"
