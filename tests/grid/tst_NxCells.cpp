#include "NxCells.h"
#include "NxColumnClasses.h"
#include "NxTestGrid.h"
#include "DwError.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A store on a column collection, wired the way the grid wires them.
struct TFixture {
    TTestGrid Grid;
    TNxColumns Columns{&Grid};
    TCells Cells{&Grid, &Columns};
    TFixture()
    {
        Columns.OnColumnsChanged = [this](int Op, int, int, int Index) { Cells.ColumnNotify(Op, Index, -1); };
    }
    TNxCustomColumn* Add(int Kind)
    {
        auto* C = new TNxCustomColumn;
        C->SetKind(Kind);
        return Columns.Add(C);
    }
    QStringList Column(int C)
    {
        QStringList L;
        for (int R = 0; R < Cells.RowCount(); ++R)
            L << Cells.GetCell(C, R)->AsString();
        return L;
    }
};

} // namespace

class tst_NxCells : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void Conversions_data();
    void Conversions();
    void ConversionErrorKeepsValue();
    void CellClassesByKind();
    void IncrementCellReadsRowNumber();
    void DateTimeCellSetBooleanGivesToday();
    void FloatText_data();
    void FloatText();
    void DateTimeTextRoundTrip();
    void DateTextInLocales_data();
    void DateTextInLocales();
    void RowOperations();
    void ChildRows();
    void ShownRows_data();
    void ShownRows();
    void ExchangeAndMoveClearIsSorted();
    void ColumnOperations();
    void DeleteOnlyColumnEmptiesStore();
    void CellChangeReportsCoordinates();
    void IndexErrors();
    void TooManyColumns();
    void Sort_data();
    void Sort();
    void SortDirectionFlipMakesNoComparisons();
    void SortAfterWriteSortsAgain();
    void SortAgainAfterColumnShiftOrNewType();
    void SortEmptyAndSingle();
    void SortFailingConversionLeavesOrder();
    void InconsistentCustomCompareStaysInRange();
    void CustomCompare();
    void IPParts_data();
    void IPParts();
    void VirtualCellsAskTheColumn();
};

namespace {
// A column that keeps its values itself, keyed by (column, row).
class TMapColumn : public TNxCustomColumn {
public:
    TMapColumn() { SetKind(ckVirtual); }
    QMap<QPair<int, int>, QString> Values;
    QString GetVirtualText(int C, int R) const override { return Values.value({C, R}, "?"); }
    void SetVirtualText(int C, int R, const QString& V) override { Values[{C, R}] = V; }
};
} // namespace

void tst_NxCells::VirtualCellsAskTheColumn()
{
    TFixture F;
    F.Add(ckString);
    auto* M = new TMapColumn;
    F.Columns.Add(M);
    F.Cells.AddRows(3);
    QVERIFY(dynamic_cast<TVirtualCell*>(F.Cells.GetCell(1, 0)));
    int Changes = 0;
    F.Cells.OnCellChange = [&](TCells*, int, int) { ++Changes; };
    F.Cells.GetCell(1, 2)->SetAsInteger(42);
    F.Cells.GetCell(1, 0)->SetAsBoolean(true);
    QCOMPARE(M->Values.value({1, 2}), QString("42"));
    QCOMPARE(F.Cells.GetCell(1, 2)->AsInteger(), 42);
    QCOMPARE(F.Cells.GetCell(1, 0)->AsString(), QString("True"));
    QVERIFY(F.Cells.GetCell(1, 0)->AsBoolean());
    QCOMPARE(F.Cells.GetCell(1, 1)->AsString(), QString("?"));
    QCOMPARE(ErrorOf([&] { F.Cells.GetCell(1, 1)->AsInteger(); }), QString("'?' is not a valid integer value"));
    QCOMPARE(Changes, 2);
}

// Cell kind, operation "set:View=value" then read view; expected text or error message.
void tst_NxCells::Conversions_data()
{
    QTest::addColumn<int>("Kind");
    QTest::addColumn<QString>("Setter");
    QTest::addColumn<QString>("Value");
    QTest::addColumn<QString>("Getter");
    QTest::addColumn<QString>("Expected");

    QTest::newRow("string int 65") << ckString << "Integer" << "65" << "Integer" << "65";
    QTest::newRow("string int text") << ckString << "Integer" << "65" << "String" << "65";
    QTest::newRow("string empty as int") << ckString << "String" << "" << "Integer"
                                         << "'' is not a valid integer value";
    QTest::newRow("string abc as int") << ckString << "String" << "abc" << "Integer"
                                       << "'abc' is not a valid integer value";
    QTest::newRow("string 1.5 as int") << ckString << "String" << "1.5" << "Integer"
                                       << "'1.5' is not a valid integer value";
    QTest::newRow("string x as float") << ckString << "String" << "x" << "Float"
                                       << "'x' is not a valid floating point value";
    QTest::newRow("string 2.5 as float") << ckString << "String" << "2.5" << "Float" << "2.5";
    QTest::newRow("string empty as date") << ckString << "String" << "" << "DateTime" << "0";
    QTest::newRow("string bad date") << ckString << "String" << "31.31.31" << "DateTime"
                                     << "'31.31.31' is not a valid date and time";
    QTest::newRow("string yes as bool") << ckString << "String" << "yes" << "Boolean"
                                        << "'yes' is not a valid boolean value";
    QTest::newRow("string empty as bool") << ckString << "String" << "" << "Boolean"
                                          << "'' is not a valid boolean value";
    QTest::newRow("string TRUE as bool") << ckString << "String" << "TRUE" << "Boolean" << "1";
    QTest::newRow("string 0 as bool") << ckString << "String" << "0" << "Boolean" << "0";
    QTest::newRow("string -2 as bool") << ckString << "String" << "-2" << "Boolean" << "1";
    QTest::newRow("string set bool") << ckString << "Boolean" << "1" << "String" << "True";
    QTest::newRow("string set float") << ckString << "Float" << "0.1" << "String" << "0.1";

    QTest::newRow("int -3 as bool") << ckInteger << "Integer" << "-3" << "Boolean" << "0";
    QTest::newRow("int 0 as bool") << ckInteger << "Integer" << "0" << "Boolean" << "0";
    QTest::newRow("int 3 as bool") << ckInteger << "Integer" << "3" << "Boolean" << "1";
    QTest::newRow("int as date") << ckInteger << "Integer" << "3" << "DateTime" << "0";
    QTest::newRow("int float 2.5 rounds even") << ckInteger << "Float" << "2.5" << "Integer" << "2";
    QTest::newRow("int float 3.5 rounds even") << ckInteger << "Float" << "3.5" << "Integer" << "4";
    QTest::newRow("int empty text") << ckInteger << "String" << "" << "Integer" << "0";
    QTest::newRow("int bad text") << ckInteger << "String" << "1x" << "Integer"
                                  << "'1x' is not a valid integer value";
    QTest::newRow("int set bool") << ckInteger << "Boolean" << "1" << "Integer" << "1";
    QTest::newRow("int set date") << ckInteger << "DateTime" << "5" << "Integer" << "0";

    QTest::newRow("bool TRUE") << ckBoolean << "String" << "TRUE" << "Boolean" << "1";
    QTest::newRow("bool yes") << ckBoolean << "String" << "yes" << "Boolean" << "1";
    QTest::newRow("bool No") << ckBoolean << "String" << "No" << "Boolean" << "0";
    QTest::newRow("bool 1") << ckBoolean << "String" << "1" << "Boolean" << "1";
    QTest::newRow("bool maybe is refused") << ckBoolean << "String" << "maybe" << "Boolean" << "'maybe' is not a valid boolean value";
    QTest::newRow("bool empty clears") << ckBoolean << "String" << "" << "String" << "False";
    QTest::newRow("bool text") << ckBoolean << "Integer" << "7" << "String" << "True";
    QTest::newRow("bool float") << ckBoolean << "Integer" << "7" << "Float" << "1";
    QTest::newRow("bool float 0") << ckBoolean << "Float" << "0" << "String" << "False";
    QTest::newRow("bool date") << ckBoolean << "DateTime" << "3" << "Boolean" << "0";

    QTest::newRow("float bool") << ckFloat << "Boolean" << "1" << "Float" << "0";
    QTest::newRow("float rounds") << ckFloat << "Float" << "-1.5" << "Integer" << "-2";
    QTest::newRow("float text") << ckFloat << "String" << "1.25" << "String" << "1.25";
    QTest::newRow("float bad text") << ckFloat << "String" << "1,25" << "Float"
                                    << "'1,25' is not a valid floating point value";
    QTest::newRow("float as bool") << ckFloat << "Float" << "3" << "Boolean" << "0";

    QTest::newRow("date tomorrow is refused") << ckDateTime << "String" << "tomorrow" << "Float" << "'tomorrow' is not a valid date and time";
    QTest::newRow("date empty clears") << ckDateTime << "String" << "" << "Float" << "0";
    QTest::newRow("date int") << ckDateTime << "Integer" << "40000" << "Float" << "40000";
    QTest::newRow("date rounds") << ckDateTime << "Float" << "2.5" << "Integer" << "2";
    QTest::newRow("date as bool") << ckDateTime << "Float" << "2.5" << "Boolean" << "0";
    QTest::newRow("date far beyond as text") << ckDateTime << "Float" << "1e20" << "String" << "'1E20' is not a valid date and time";
    QTest::newRow("date after 9999 as text") << ckDateTime << "Float" << "2958466" << "String" << "'2958466' is not a valid date and time";
    QTest::newRow("date before year 1 as text") << ckDateTime << "Float" << "-693594" << "String" << "'-693594' is not a valid date and time";
    QTest::newRow("date not a number as text") << ckDateTime << "Float" << "nan" << "String" << "'NAN' is not a valid date and time";
    QTest::newRow("date infinite as text") << ckDateTime << "Float" << "-inf" << "String" << "'-INF' is not a valid date and time";
    QTest::newRow("string set a date far beyond") << ckString << "DateTime" << "1e20" << "String" << "'1E20' is not a valid date and time";
}

static void SetView(TCell* C, const QString& Setter, const QString& V)
{
    if (Setter == "Integer")
        C->SetAsInteger(V.toInt());
    else if (Setter == "Float")
        C->SetAsFloat(V.toDouble());
    else if (Setter == "Boolean")
        C->SetAsBoolean(V == "1");
    else if (Setter == "DateTime")
        C->SetAsDateTime(V.toDouble());
    else
        C->SetAsString(V);
}

static QString GetView(TCell* C, const QString& Getter)
{
    if (Getter == "Integer")
        return QString::number(C->AsInteger());
    if (Getter == "Float")
        return QString::number(C->AsFloat());
    if (Getter == "Boolean")
        return C->AsBoolean() ? "1" : "0";
    if (Getter == "DateTime")
        return QString::number(C->AsDateTime());
    return C->AsString();
}

void tst_NxCells::Conversions()
{
    QFETCH(int, Kind);
    QFETCH(QString, Setter);
    QFETCH(QString, Value);
    QFETCH(QString, Getter);
    QFETCH(QString, Expected);
    TFixture F;
    F.Add(Kind);
    F.Cells.AddRows(1);
    QString Got;
    const QString Err = ErrorOf([&] {
        TCell* C = F.Cells.GetCell(0, 0);
        SetView(C, Setter, Value);
        Got = GetView(C, Getter);
    });
    QCOMPARE(Err == "(no error)" ? Got : Err, Expected);
}

void tst_NxCells::ConversionErrorKeepsValue()
{
    TFixture F;
    F.Add(ckInteger);
    F.Add(ckFloat);
    F.Add(ckDateTime);
    F.Add(ckBoolean);
    F.Cells.AddRows(1);
    F.Cells.GetCell(2, 0)->SetAsFloat(40000);
    F.Cells.GetCell(3, 0)->SetAsBoolean(true);
    QVERIFY(ErrorOf([&] { F.Cells.GetCell(2, 0)->SetAsString("tomorrow"); }) != "(no error)" && ErrorOf([&] { F.Cells.GetCell(3, 0)->SetAsString("si"); }) != "(no error)");
    QVERIFY(F.Cells.GetCell(2, 0)->AsFloat() == 40000 && F.Cells.GetCell(3, 0)->AsBoolean());
    F.Cells.GetCell(0, 0)->SetAsInteger(12);
    QCOMPARE(ErrorOf([&] { F.Cells.GetCell(0, 0)->SetAsString("zz"); }), QString("'zz' is not a valid integer value"));
    QCOMPARE(F.Cells.GetCell(0, 0)->AsInteger(), 12);
    F.Cells.GetCell(1, 0)->SetAsFloat(1.5);
    QVERIFY(ErrorOf([&] { F.Cells.GetCell(1, 0)->SetAsString(""); }) != "(no error)");
    QCOMPARE(F.Cells.GetCell(1, 0)->AsFloat(), 1.5);
}

void tst_NxCells::CellClassesByKind()
{
    TFixture F;
    F.Columns.Add(new TNxTextColumn);
    F.Columns.Add(new TNxTextColumn);
    F.Columns.Add(new TNxImageColumn);
    F.Add(ckIncrement);
    F.Add(ckBoolean);
    F.Add(ckDateTime);
    F.Add(ckFloat);
    F.Add(42);
    F.Cells.AddRows(1);
    QVERIFY(dynamic_cast<TStringCell*>(F.Cells.GetCell(0, 0)));
    QVERIFY(dynamic_cast<TStringCell*>(F.Cells.GetCell(1, 0)));
    QVERIFY(dynamic_cast<TIntegerCell*>(F.Cells.GetCell(2, 0)));
    QVERIFY(dynamic_cast<TIncrementCell*>(F.Cells.GetCell(3, 0)));
    QVERIFY(dynamic_cast<TBooleanCell*>(F.Cells.GetCell(4, 0)));
    QVERIFY(dynamic_cast<TDateTimeCell*>(F.Cells.GetCell(5, 0)));
    QVERIFY(dynamic_cast<TFloatCell*>(F.Cells.GetCell(6, 0)));
    QVERIFY(dynamic_cast<TStringCell*>(F.Cells.GetCell(7, 0)));
    // InsertRow makes integer cells for an increment column.
    F.Cells.InsertRow(0);
    QVERIFY(dynamic_cast<TIntegerCell*>(F.Cells.GetCell(3, 0)));
    QVERIFY(dynamic_cast<TIncrementCell*>(F.Cells.GetCell(3, 1)));
    // Style and colour come from the column.
    QFont Bold;
    Bold.setBold(true);
    F.Columns.Item(0)->SetFont(Bold);
    F.Columns.Item(0)->SetColor(clRed);
    F.Cells.AddRows(1);
    QCOMPARE(F.Cells.GetCell(0, 2)->FontStyle, int(fsBold));
    QCOMPARE(F.Cells.GetCell(0, 2)->Color(), clRed);
    QVERIFY(!F.Cells.GetCell(0, 2)->Creating);
}

void tst_NxCells::IncrementCellReadsRowNumber()
{
    TFixture F;
    F.Add(ckIncrement);
    F.Cells.AddRows(5);
    QCOMPARE(F.Cells.GetCell(0, 3)->AsString(), QString("4"));
    QCOMPARE(F.Cells.GetCell(0, 0)->AsInteger(), 1);
    QCOMPARE(F.Cells.GetCell(0, 4)->AsFloat(), 5.0);
}

void tst_NxCells::DateTimeCellSetBooleanGivesToday()
{
    TFixture F;
    F.Add(ckDateTime);
    F.Cells.AddRows(1);
    F.Cells.GetCell(0, 0)->SetAsBoolean(false);
    QCOMPARE(F.Cells.GetCell(0, 0)->AsDateTime(), double(QDate(1899, 12, 30).daysTo(QDate::currentDate())));
}

void tst_NxCells::FloatText_data()
{
    QTest::addColumn<double>("Value");
    QTest::addColumn<QString>("Text");
    QTest::newRow("int") << 3.0 << "3";
    QTest::newRow("fraction") << 0.1 << "0.1";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("small fixed") << 0.0001 << "0.0001";
    QTest::newRow("small exp") << 0.00001 << "1E-5";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("big exp") << 1e15 << "1E15";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
}

void tst_NxCells::FloatText()
{
    QFETCH(double, Value);
    QFETCH(QString, Text);
    QCOMPARE(NxCellConvert::FloatToStr(Value), Text);
}

void tst_NxCells::DateTimeTextRoundTrip()
{
    TFixture F;
    F.Add(ckDateTime);
    F.Add(ckString);
    F.Cells.AddRows(1);
    const double V = 45000.5; // noon
    F.Cells.GetCell(1, 0)->SetAsDateTime(V);
    const QString Text = F.Cells.GetCell(1, 0)->AsString();
    QVERIFY(!Text.isEmpty());
    F.Cells.GetCell(0, 0)->SetAsString(Text);
    QCOMPARE(F.Cells.GetCell(0, 0)->AsDateTime(), V);
    // Midnight shows the date alone.
    F.Cells.GetCell(0, 0)->SetAsDateTime(45000);
    QVERIFY(F.Cells.GetCell(0, 0)->AsString().size() < Text.size());
}

void tst_NxCells::DateTextInLocales_data()
{
    // Written: the cell's own text for Value, "" for text a user types.
    QTest::addColumn<QString>("Locale");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QDateTime>("Value");
    QTest::addColumn<bool>("Written");
    const QDate May1(2024, 5, 1);
    const QDateTime Noonish(May1, QTime(13, 4, 5));
    QTest::newRow("C") << "C" << "1 May 2024" << QDateTime(May1, QTime(0, 0)) << true;
    QTest::newRow("en_US date") << "en_US" << "5/1/2024" << QDateTime(May1, QTime(0, 0)) << true;
    QTest::newRow("en_US date and time") << "en_US" << "5/1/2024 1:04:05 PM" << Noonish << true;
    QTest::newRow("en_US before any window") << "en_US" << "1/1/1850" << QDateTime(QDate(1850, 1, 1), QTime(0, 0)) << true;
    QTest::newRow("de_DE date") << "de_DE" << "01.05.2024" << QDateTime(May1, QTime(0, 0)) << true;
    QTest::newRow("de_DE date and time") << "de_DE" << "01.05.2024 13:04:05" << Noonish << true;
    QTest::newRow("de_DE in the spring clock gap") << "de_DE" << "31.03.2024 02:30:00"
                                                   << QDateTime(QDate(2024, 3, 31), QTime(2, 30)) << true;
    QTest::newRow("en_US typed short year") << "en_US" << "5/1/24" << QDateTime(May1, QTime(0, 0)) << false;
    QTest::newRow("de_DE typed short year and time") << "de_DE" << "01.05.24 13:04" << QDateTime(May1, QTime(13, 4)) << false;
    // Two-digit years fall within 50 years of today, either side.
    const int Year = QDate::currentDate().year();
    for (const int Y : {Year - 49, Year + 49})
        QTest::addRow("en_US typed %d", Y) << "en_US" << QStringLiteral("1/2/%1").arg(Y % 100, 2, 10, QLatin1Char('0'))
                                           << QDateTime(QDate(Y, 1, 2), QTime(0, 0)) << false;
}

void tst_NxCells::DateTextInLocales()
{
    QFETCH(QString, Locale);
    QFETCH(QString, Text);
    QFETCH(QDateTime, Value);
    QFETCH(bool, Written);
    // Berlin, for a local time that its clocks skip in spring.
    const QByteArray OldTZ = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    QLocale::setDefault(Locale == "C" ? QLocale::c() : QLocale(Locale));
    const auto Restore = qScopeGuard([&] {
        QLocale::setDefault(QLocale::c());
        if (OldTZ.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", OldTZ);
    });
    const double V = QDate(1899, 12, 30).daysTo(Value.date()) + Value.time().msecsSinceStartOfDay() / 86400000.0;
    TFixture F;
    F.Add(ckDateTime);
    F.Cells.AddRows(1);
    TCell* Cell = F.Cells.GetCell(0, 0);
    if (Written) {
        Cell->SetAsDateTime(V);
        QCOMPARE(Cell->AsString(), Text);
        Cell->SetAsDateTime(0);
    }
    Cell->SetAsString(Text);
    QCOMPARE(Cell->AsDateTime(), V);
}

void tst_NxCells::RowOperations()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.DefaultRowHeight = 21;
    F.Cells.AddRows(3);
    for (int R = 0; R < 3; ++R)
        F.Cells.GetCell(0, R)->SetAsString(QString("r%1").arg(R));
    QCOMPARE(F.Cells.RowCount(), 3);
    QCOMPARE(F.Cells.VisibleRowCount(), 3);
    QCOMPARE(F.Cells.GetRow(2)->Height, 21);

    F.Cells.InsertRow(1);
    QCOMPARE(F.Column(0), QStringList({"r0", "", "r1", "r2"}));
    F.Cells.MoveRow(0, 3);
    QCOMPARE(F.Column(0), QStringList({"", "r1", "r2", "r0"}));
    TRow* Row = F.Cells.GetRow(3);
    F.Cells.ExchangeRows(0, 3);
    QCOMPARE(F.Column(0), QStringList({"r0", "r1", "r2", ""}));
    QCOMPARE(F.Cells.IndexOfRow(Row), 0);
    F.Cells.SetRowVisible(1, false);
    F.Cells.SetRowVisible(1, false);
    QCOMPARE(F.Cells.VisibleRowCount(), 3);
    F.Cells.DeleteRow(1);
    QCOMPARE(F.Column(0), QStringList({"r0", "r2", ""}));
    QCOMPARE(F.Cells.VisibleRowCount(), 3);
    F.Cells.DeleteRow(2);
    QCOMPARE(F.Cells.VisibleRowCount(), 2);
    QCOMPARE(F.Cells.IndexOfRow(nullptr), -1);
    F.Cells.ClearRows();
    QCOMPARE(F.Cells.RowCount(), 0);
    QCOMPARE(F.Cells.VisibleRowCount(), 0);
    QCOMPARE(F.Cells.ColumnCount(), 1);
}

void tst_NxCells::ChildRows()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(2);
    F.Cells.GetRow(0)->Expanded = false;
    F.Cells.AddChildRow(0, 1);
    F.Cells.AddChildRow(0, 2);
    F.Cells.AddChildRow(1, 2);
    QCOMPARE(F.Cells.RowCount(), 5);
    QCOMPARE(F.Cells.GetRow(0)->ChildCount, 2);
    QCOMPARE(F.Cells.GetRow(1)->Level, 1);
    QCOMPARE(F.Cells.GetRow(2)->Level, 2);
    QVERIFY(!F.Cells.GetRow(1)->Visible); // the parent is collapsed
    QVERIFY(!F.Cells.GetRow(2)->Visible); // expanded, but under a hidden parent
    QCOMPARE(F.Cells.GetRow(2)->ParentRow, F.Cells.GetRow(1));
    QCOMPARE(F.Cells.VisibleRowCount(), 2); // the two top rows
    QCOMPARE(F.Cells.GetDescendantCount(0), 3);
    QCOMPARE(F.Cells.GetDescendantCount(1), 1);
    QCOMPARE(F.Cells.GetDescendantCount(4), 0);
}

// Six rows, then steps: "hide:R", "show:R", "ask" (the sums looked up), "add:N", "ins:R", "del:R", "move:A>B",
// "tall:R" (40 pixels high, the others 16). Then the row shown at each position from -1 to one past the last, and
// "|" the shown rows before each row up to RowCount; with "tall", "|" their pixels and "|" the row at those pixels.
void tst_NxCells::ShownRows_data()
{
    QTest::addColumn<QString>("Steps");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("rows added and hidden after a look-up") << "hide:1 ask add:4 hide:6" << "0,0,2,3,4,5,7,8,9,9|0,1,1,2,3,4,5,5,6,7,8";
    QTest::newRow("rows deleted at the end, one added") << "hide:1 hide:4 ask del:5 del:4 add:1" << "0,0,2,3,4,4|0,1,1,2,3,4";
    QTest::newRow("row deleted inside") << "hide:1 hide:4 ask del:2" << "0,0,2,4,4|0,1,1,2,2,3";
    QTest::newRow("all shown again") << "hide:1 ask show:1" << "0,0,1,2,3,4,5,5|0,1,2,3,4,5,6";
    QTest::newRow("hidden row moved to the end") << "hide:0 ask move:0>5" << "0,0,1,2,3,4,4|0,1,2,3,4,5,5";
    QTest::newRow("all hidden") << "hide:0 hide:1 hide:2 hide:3 hide:4 hide:5" << "0,0|0,0,0,0,0,0,0";
    QTest::newRow("row inserted in the middle") << "hide:1 ask ins:3" << "0,0,2,3,4,5,6,6|0,1,1,2,3,4,5,6";
    QTest::newRow("rows hidden at 8 rows") << "add:2 ask hide:1 hide:5" << "0,0,2,3,4,6,7,7|0,1,1,2,3,4,4,5,6";
    QTest::newRow("rows added past 16") << "hide:1 ask add:10 hide:14 add:1 hide:16" << "0,0,2,3,4,5,6,7,8,9,10,11,12,13,15,15|0,1,1,2,3,4,5,6,7,8,9,10,11,12,13,13,14,14";
    QTest::newRow("heights at 8 rows") << "ask add:2 tall:3 hide:1 tall:1 hide:5" << "0,0,2,3,4,6,7,7|0,1,1,2,3,4,4,5,6|0,16,16,32,72,88,88,104,120|0,2,2,3,4,6,6,7,8";
    QTest::newRow("heights, a row inserted above") << "tall:4 ask ins:0 hide:2 tall:6" << "0,0,1,3,4,5,6,6|0,1,2,2,3,4,5,6|0,16,32,32,48,64,104,144|0,1,3,3,4,5,6,7";
}

void tst_NxCells::ShownRows()
{
    QFETCH(QString, Steps);
    QFETCH(QString, Expected);
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(6);
    for (const QString& S : Steps.split(' ')) {
        const QString Op = S.section(':', 0, 0);
        const int A = S.section(':', 1).section('>', 0, 0).toInt(), B = S.section('>', 1).toInt();
        Op == "hide" || Op == "show" ? F.Cells.SetRowVisible(A, Op == "show") : Op == "ask" ? void(F.Cells.ShownPixelsBefore(1))
            : Op == "add" ? F.Cells.AddRows(A) : Op == "ins" ? F.Cells.InsertRow(A) : Op == "del" ? F.Cells.DeleteRow(A)
            : Op == "tall" ? F.Cells.SetRowHeight(A, 40) : F.Cells.MoveRow(A, B);
    }
    QStringList At, Before, Pixels, Rows;
    for (int P = -1; P <= F.Cells.VisibleRowCount(); ++P) At << QString::number(F.Cells.ShownRowAt(P));
    for (int R = 0; R <= F.Cells.RowCount(); ++R) {
        Before << QString::number(F.Cells.ShownRowsBefore(R));
        Pixels << QString::number(F.Cells.ShownPixelsBefore(R));
        Rows << QString::number(F.Cells.RowAtPixel(F.Cells.ShownPixelsBefore(R)));
    }
    const QString Heights = Steps.contains("tall") ? '|' + Pixels.join(',') + '|' + Rows.join(',') : "";
    QCOMPARE(At.join(',') + '|' + Before.join(',') + Heights, Expected);
}

void tst_NxCells::ExchangeAndMoveClearIsSorted()
{
    TFixture F;
    F.Add(ckInteger);
    F.Cells.AddRows(3);
    const std::vector<std::function<void()>> Changes = {
        [&] { F.Cells.ExchangeRows(0, 1); }, [&] { F.Cells.MoveRow(0, 2); },
        [&] { F.Cells.AddChildRow(0, 1); }, [&] { F.Cells.InsertRow(0); },
        [&] { F.Cells.AddRows(1); },        [&] { F.Cells.GetCell(0, 0)->SetAsInteger(5); },
        [&] { F.Cells.GetCell(0, 0)->SetColor(clRed); },
    };
    for (size_t I = 0; I < Changes.size(); ++I) {
        F.Cells.Sort(0, stNumeric, false);
        QVERIFY(F.Cells.IsSorted());
        Changes[I]();
        QVERIFY2(!F.Cells.IsSorted(), qPrintable(QString::number(I)));
    }
}

void tst_NxCells::ColumnOperations()
{
    TFixture F;
    F.Add(ckString);
    F.Add(ckString);
    F.Cells.AddRows(2);
    for (int C = 0; C < 2; ++C)
        for (int R = 0; R < 2; ++R)
            F.Cells.GetCell(C, R)->SetAsString(QString("%1%2").arg(QChar('a' + C)).arg(R));
    // A column added later gets a cell per row.
    F.Add(ckInteger);
    QCOMPARE(F.Cells.ColumnCount(), 3);
    QCOMPARE(F.Column(2), QStringList({"0", "0"}));
    F.Cells.ColumnNotify(cnoMoveColumn, 0, 2);
    QCOMPARE(F.Column(0), QStringList({"b0", "b1"}));
    QCOMPARE(F.Column(2), QStringList({"a0", "a1"}));
    F.Cells.ColumnNotify(cnoMoveColumn, 2, 0);
    QCOMPARE(F.Column(0), QStringList({"a0", "a1"}));
    F.Cells.ColumnNotify(cnoDeleteColumn | 0x80, 0, -1); // only the low 7 bits count
    QCOMPARE(F.Cells.ColumnCount(), 2);
    QCOMPARE(F.Column(0), QStringList({"b0", "b1"}));
    F.Cells.Sort(0, stAlphabetic, false);
    F.Cells.ColumnNotify(cnoInsertColumn, 0, -1); // made for column 0 of the collection
    QCOMPARE(F.Cells.ColumnCount(), 3);
    QVERIFY(!F.Cells.IsSorted());
    QCOMPARE(F.Column(0), QStringList({"", ""}));
    QCOMPARE(F.Column(1), QStringList({"b0", "b1"}));
    F.Cells.ColumnNotify(99, 0, 0);
    QCOMPARE(F.Cells.ColumnCount(), 3);
    F.Cells.ColumnNotify(cnoClearColumns, -1, -1);
    QCOMPARE(F.Cells.ColumnCount(), 0);
    QCOMPARE(F.Cells.RowCount(), 0);
    QCOMPARE(F.Cells.VisibleRowCount(), 0);
}

void tst_NxCells::DeleteOnlyColumnEmptiesStore()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(4);
    TNxCustomColumn* C = F.Columns.Item(0);
    delete C; // the collection forwards the removal
    QCOMPARE(F.Cells.ColumnCount(), 0);
    QCOMPARE(F.Cells.RowCount(), 0);
    QVERIFY(ErrorOf([&] { F.Cells.GetRow(0); }) == "List index out of bounds (0)");
}

void tst_NxCells::CellChangeReportsCoordinates()
{
    TFixture F;
    F.Add(ckString);
    F.Add(ckString);
    F.Cells.AddRows(3);
    QList<QPoint> Seen;
    F.Cells.OnCellChange = [&](TCells* S, int C, int R) {
        QCOMPARE(S, &F.Cells);
        Seen << QPoint(C, R);
    };
    F.Cells.GetCell(1, 2)->SetAsString("x");
    F.Cells.GetCell(0, 1)->SetAsInteger(3);
    F.Cells.GetCell(1, 0)->SetColor(clRed);
    QCOMPARE(Seen, QList<QPoint>({{1, 2}, {0, 1}, {1, 0}}));
}

void tst_NxCells::IndexErrors()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(2);
    QCOMPARE(ErrorOf([&] { F.Cells.GetCell(1, 0); }), QString("List index out of bounds (1)"));
    QCOMPARE(ErrorOf([&] { F.Cells.GetCell(-1, 0); }), QString("List index out of bounds (-1)"));
    QCOMPARE(ErrorOf([&] { F.Cells.GetCell(0, 2); }), QString("List index out of bounds (2)"));
    QCOMPARE(ErrorOf([&] { F.Cells.DeleteRow(5); }), QString("List index out of bounds (5)"));
    QCOMPARE(ErrorOf([&] { F.Cells.MoveRow(0, 2); }), QString("List index out of bounds (2)"));
    QCOMPARE(ErrorOf([&] { F.Cells.ExchangeRows(-1, 0); }), QString("List index out of bounds (-1)"));
    QCOMPARE(ErrorOf([&] { F.Cells.InsertRow(3); }), QString("List index out of bounds (3)"));
    QCOMPARE(ErrorOf([&] { F.Cells.AddChildRow(0, 4); }), QString("List index out of bounds (4)"));
    QCOMPARE(ErrorOf([&] { F.Cells.Sort(3, stAlphabetic, false); }), QString("List index out of bounds (3)"));
    QCOMPARE(ErrorOf([&] { F.Cells.ColumnNotify(cnoMoveColumn, 0, 1); }), QString("List index out of bounds (1)"));
    QCOMPARE(F.Cells.RowCount(), 2);
}

void tst_NxCells::TooManyColumns()
{
    TFixture F;
    for (int I = 0; I < MaxCellColumns; ++I)
        F.Add(ckInteger);
    F.Cells.AddRows(1);
    QCOMPARE(F.Cells.ColumnCount(), 1024);
    // Add frees a column it refuses, but leaves one of another collection there.
    auto* Extra = new TNxCustomColumn;
    QCOMPARE(ErrorOf([&] { F.Columns.Add(Extra); }), QString("List index out of bounds (1024)"));
    TFixture Other;
    QCOMPARE(ErrorOf([&] { F.Columns.Add(Other.Add(ckInteger)); }), QString("List index out of bounds (1024)"));
    QCOMPARE(Other.Columns.Count(), 1);
    QCOMPARE(ErrorOf([&] { F.Cells.ColumnNotify(cnoInsertColumn, 0, -1); }),
             QString("List index out of bounds (1024)"));
    QCOMPARE(F.Cells.ColumnCount(), 1024);
    QCOMPARE(F.Cells.GetCell(1023, 0)->AsInteger(), 0);
}

void tst_NxCells::Sort_data()
{
    QTest::addColumn<int>("Kind");
    QTest::addColumn<int>("Type");
    QTest::addColumn<bool>("Descending");
    QTest::addColumn<QStringList>("Values");
    QTest::addColumn<QStringList>("Expected");

    const QStringList Words{"b", "B", "a", "_", "A", "c"};
    QTest::newRow("alphabetic asc") << ckString << int(stAlphabetic) << false << Words
                                    << QStringList{"A", "B", "_", "a", "b", "c"};
    QTest::newRow("alphabetic desc") << ckString << int(stAlphabetic) << true << Words
                                     << QStringList{"c", "b", "a", "_", "B", "A"};
    QTest::newRow("case-insensitive asc")
        << ckString << int(stCaseInsensitive) << false << QStringList{"b", "C", "a", "_"}
        << QStringList{"_", "a", "b", "C"};
    QTest::newRow("numeric asc") << ckString << int(stNumeric) << false << QStringList{"10", "9", "-1", "2.5"}
                                 << QStringList{"-1", "2.5", "9", "10"};
    QTest::newRow("numeric desc") << ckInteger << int(stNumeric) << true << QStringList{"10", "9", "-1", "25"}
                                  << QStringList{"25", "10", "9", "-1"};
    QTest::newRow("boolean asc") << ckBoolean << int(stBoolean) << false
                                 << QStringList{"True", "False", "True", "False"}
                                 << QStringList{"False", "False", "True", "True"};
    QTest::newRow("date asc") << ckFloat << int(stDate) << false << QStringList{"3", "1.5", "2"}
                              << QStringList{"1.5", "2", "3"};
    QTest::newRow("ip asc") << ckString << int(stIP) << false
                            << QStringList{"10.0.0.1", "9.0.0.2", "1.2.3", "9.0.0.10", "1..2"}
                            << QStringList{"1..2", "1.2.3", "9.0.0.2", "9.0.0.10", "10.0.0.1"};
    QTest::newRow("ip desc") << ckString << int(stIP) << true << QStringList{"10.0.0.1", "9.0.0.2", "192.168.0.1"}
                             << QStringList{"192.168.0.1", "10.0.0.1", "9.0.0.2"};
    QStringList Many, ManySorted;
    for (int I = 0; I < 200; ++I)
        Many << QString::number((I * 7919) % 200);
    for (int I = 0; I < 200; ++I)
        ManySorted << QString::number(I);
    QTest::newRow("numeric 200") << ckInteger << int(stNumeric) << false << Many << ManySorted;
    QStringList Dups{"2", "1", "2", "1", "2", "2", "1"};
    QTest::newRow("duplicates") << ckInteger << int(stNumeric) << false << Dups
                                << QStringList{"1", "1", "1", "2", "2", "2", "2"};
}

void tst_NxCells::Sort()
{
    QFETCH(int, Kind);
    QFETCH(int, Type);
    QFETCH(bool, Descending);
    QFETCH(QStringList, Values);
    QFETCH(QStringList, Expected);
    TFixture F;
    F.Add(Kind);
    F.Add(ckInteger);
    F.Cells.AddRows(static_cast<int>(Values.size()));
    for (int R = 0; R < Values.size(); ++R) {
        F.Cells.GetCell(0, R)->SetAsString(Values[R]);
        F.Cells.GetCell(1, R)->SetAsInteger(R); // whole rows move together
    }
    F.Cells.Sort(0, TSortType(Type), Descending);
    QCOMPARE(F.Column(0), Expected);
    for (int R = 0; R < Values.size(); ++R)
        QCOMPARE(Values[F.Cells.GetCell(1, R)->AsInteger()], Expected[R]);
    QVERIFY(F.Cells.IsSorted());
    QCOMPARE(F.Cells.SortedColumn(), 0);
    QCOMPARE(F.Cells.SortDescending(), Descending);
}

void tst_NxCells::SortDirectionFlipMakesNoComparisons()
{
    for (TSortType T : {stNumeric, stCustom}) {
        TFixture F;
        F.Add(ckInteger);
        F.Cells.AddRows(5);
        for (int R = 0; R < 5; ++R)
            F.Cells.GetCell(0, R)->SetAsInteger((R * 3) % 5);
        int Calls = 0;
        F.Cells.OnCompare = [&](TCells*, TCell* A, TCell* B, int& Cmp) {
            ++Calls;
            Cmp = A->AsInteger() - B->AsInteger();
        };
        F.Cells.Sort(0, T, false);
        QCOMPARE(F.Column(0), QStringList({"0", "1", "2", "3", "4"}));
        QVERIFY(F.Cells.LastSortComparisons() > 0);
        Calls = 0;
        F.Cells.Sort(0, T, true);
        QCOMPARE(F.Column(0), QStringList({"4", "3", "2", "1", "0"}));
        QCOMPARE(F.Cells.LastSortComparisons(), 0);
        QCOMPARE(Calls, 0);
        // The same direction again sorts again.
        F.Cells.Sort(0, T, true);
        QVERIFY(F.Cells.LastSortComparisons() > 0);
    }
}

void tst_NxCells::SortAfterWriteSortsAgain()
{
    TFixture F;
    F.Add(ckInteger);
    F.Cells.AddRows(4);
    for (int R = 0; R < 4; ++R)
        F.Cells.GetCell(0, R)->SetAsInteger(R);
    F.Cells.Sort(0, stNumeric, false);
    F.Cells.GetCell(0, 0)->SetAsInteger(10);
    F.Cells.Sort(0, stNumeric, true);
    QVERIFY(F.Cells.LastSortComparisons() > 0);
    QCOMPARE(F.Column(0), QStringList({"10", "3", "2", "1"}));
}

void tst_NxCells::SortAgainAfterColumnShiftOrNewType()
{
    // Reversing is right only for the very column and key of the last sort.
    TFixture F;
    F.Add(ckString);
    F.Add(ckString);
    F.Add(ckString);
    F.Cells.AddRows(4);
    const QStringList Numbers{"3", "10", "1", "2"}, Letters{"b", "d", "a", "c"};
    for (int R = 0; R < 4; ++R) {
        F.Cells.GetCell(0, R)->SetAsString(Numbers[R]);
        F.Cells.GetCell(1, R)->SetAsString(Letters[R]);
        F.Cells.GetCell(2, R)->SetAsString(Letters[R]);
    }
    const QStringList AlphaDesc{"3", "2", "10", "1"};
    F.Cells.Sort(0, stNumeric, false);
    QCOMPARE(F.Column(0), QStringList({"1", "2", "3", "10"}));
    F.Cells.Sort(0, stAlphabetic, true);
    QCOMPARE(F.Column(0), AlphaDesc);

    // Column 1 sorted, then the numbers moved into slot 1.
    F.Cells.Sort(1, stAlphabetic, false);
    F.Cells.ColumnNotify(cnoMoveColumn, 0, 1);
    QVERIFY(!F.Cells.IsSorted());
    F.Cells.Sort(1, stAlphabetic, true);
    QCOMPARE(F.Column(1), AlphaDesc);

    // Slot 1 (the numbers) sorted, then slot 0 deleted: slot 1 now holds letters.
    F.Cells.Sort(1, stAlphabetic, false);
    delete F.Columns.Item(0);
    QVERIFY(!F.Cells.IsSorted());
    F.Cells.Sort(1, stAlphabetic, true);
    QCOMPARE(F.Column(1), QStringList({"d", "c", "b", "a"}));
}

void tst_NxCells::SortEmptyAndSingle()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.Sort(0, stAlphabetic, false);
    QVERIFY(F.Cells.IsSorted());
    F.Cells.AddRows(1);
    F.Cells.GetCell(0, 0)->SetAsString("x");
    QVERIFY(!F.Cells.IsSorted());
    F.Cells.Sort(0, stNumeric, false); // "x" is never read as a number
    QVERIFY(F.Cells.IsSorted());
    QCOMPARE(F.Column(0), QStringList({"x"}));
}

void tst_NxCells::SortFailingConversionLeavesOrder()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(4);
    const QStringList V{"3", "1", "x", "2"};
    for (int R = 0; R < 4; ++R)
        F.Cells.GetCell(0, R)->SetAsString(V[R]);
    QCOMPARE(ErrorOf([&] { F.Cells.Sort(0, stNumeric, false); }), QString("'x' is not a valid floating point value"));
    QCOMPARE(F.Column(0), V);
    QVERIFY(!F.Cells.IsSorted());
}

void tst_NxCells::InconsistentCustomCompareStaysInRange()
{
    TFixture F;
    F.Add(ckInteger);
    F.Cells.AddRows(60);
    for (int R = 0; R < 60; ++R)
        F.Cells.GetCell(0, R)->SetAsInteger(R);
    for (int Mode = 0; Mode < 3; ++Mode) {
        F.Cells.OnCompare = [Mode](TCells*, TCell*, TCell*, int& Cmp) {
            if (Mode == 0)
                Cmp = QRandomGenerator::global()->bounded(3) - 1;
            else
                Cmp = Mode == 1 ? 1 : -1; // everything after, or everything before
        };
        F.Cells.Sort(0, stCustom, Mode == 2);
        QStringList Got = F.Column(0);
        std::sort(Got.begin(), Got.end(), [](const QString& A, const QString& B) { return A.toInt() < B.toInt(); });
        QStringList All;
        for (int R = 0; R < 60; ++R)
            All << QString::number(R);
        QCOMPARE(Got, All); // still a permutation of the rows
    }
}

void tst_NxCells::CustomCompare()
{
    TFixture F;
    F.Add(ckString);
    F.Cells.AddRows(4);
    const QStringList V{"ccc", "a", "bb", "dddd"};
    for (int R = 0; R < 4; ++R)
        F.Cells.GetCell(0, R)->SetAsString(V[R]);
    // No handler: all rows compare equal.
    F.Cells.Sort(0, stCustom, false);
    QCOMPARE(F.Column(0).size(), 4);
    F.Cells.OnCompare = [](TCells*, TCell* A, TCell* B, int& Cmp) {
        QCOMPARE(Cmp, 0);
        Cmp = int(A->AsString().size()) - int(B->AsString().size());
    };
    F.Cells.Sort(0, stCustom, false);
    QCOMPARE(F.Column(0), QStringList({"a", "bb", "ccc", "dddd"}));
}

void tst_NxCells::IPParts_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QString>("Parts");
    QTest::newRow("full") << "192.168.0.1" << "192 168 0 1";
    QTest::newRow("three") << "1.2.3" << "1 2 3 0";
    QTest::newRow("empty") << "" << "0 0 0 0";
    QTest::newRow("double dot") << "1..2" << "1 0 2 0";
    QTest::newRow("leading dot") << ".5" << "0 5 0 0";
    QTest::newRow("trailing dot") << "7." << "7 0 0 0";
    QTest::newRow("five parts") << "1.2.3.4.5" << "1 2 3 4";
    QTest::newRow("letters skipped") << "a1b.2x" << "1 2 0 0";
    QTest::newRow("huge part") << "99999999999.1" << "2147483647 1 0 0";
}

void tst_NxCells::IPParts()
{
    QFETCH(QString, Text);
    QFETCH(QString, Parts);
    const auto P = NxCellConvert::StrToIPParts(Text);
    QCOMPARE(QString("%1 %2 %3 %4").arg(P[0]).arg(P[1]).arg(P[2]).arg(P[3]), Parts);
}

QTEST_GUILESS_MAIN(tst_NxCells)
#include "tst_NxCells.moc"
