#include "NxCells.h"

#include "DwError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <unordered_map>
#include <climits>
#include <cmath>
#include <variant>

namespace {

[[noreturn]] void ListIndexError(int Index)
{
    throw EDotwrightError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

const QDate DateBase(1899, 12, 30);

// Date and time are kept apart, never as one local QDateTime: a clock
// change's gap would make such a value invalid.
struct TDateAndTime {
    QDate Date;
    QTime Time;
};

// 1 Jan 0001 and 31 Dec 9999 as day numbers: the dates a date text can name and read back.
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958466.0;

TDateAndTime SplitDateTime(TDateTime Value)
{
    // Beyond these the day number does not fit the date arithmetic (NaN and infinity neither).
    if (!(Value >= MinDateTime && Value < MaxDateTime))
        throw EDotwrightError(QStringLiteral("'%1' is not a valid date and time").arg(NxCellConvert::FloatToStr(Value)));
    const double Day = std::floor(Value);
    double Frac = std::fabs(Value - Day);
    if (Value < 0 && Frac > 0) // negative values keep the time as a positive fraction
        Frac = std::fabs(Value - std::ceil(Value));
    const QDate D = DateBase.addDays(static_cast<qint64>(Value < 0 ? std::ceil(Value) : Day));
    const qint64 Ms = std::llround(Frac * 86400000.0);
    return {D, QTime(0, 0).addMSecs(static_cast<int>(std::min<qint64>(Ms, 86399999)))};
}

TDateTime JoinDateTime(QDate D, QTime T)
{
    const double Days = static_cast<double>(DateBase.daysTo(D));
    const double Frac = T.msecsSinceStartOfDay() / 86400000.0;
    return Days >= 0 ? Days + Frac : Days - Frac;
}

QString LongTimeFormat()
{
    // The locale's long time without the zone name.
    QString F = QLocale().timeFormat(QLocale::LongFormat);
    F.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return F.trimmed();
}

// The format with a two-digit year ("yy") widened to four digits, so that a
// date's text names its century whatever the locale.
QString FourDigitYears(QString Format)
{
    static const QRegularExpression TwoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return Format.replace(TwoDigitYear, QStringLiteral("yyyy"));
}

// A two-digit year, which the parser reads as 19yy, moved into the hundred
// years from 50 years before the current one.
QDate InCenturyWindow(QDate D)
{
    const int Base = QDate::currentDate().year() - 50;
    return QDate(Base + ((D.year() - Base) % 100 + 100) % 100, D.month(), D.day());
}

// T as a date in DF alone (at midnight), or followed by a blank and a time in
// one of TimeFormats.
bool ReadDateAndTime(const QLocale& L, const QString& T, const QString& DF, const QStringList& TimeFormats,
                     TDateAndTime& Out)
{
    Out = {L.toDate(T, DF), QTime(0, 0)};
    if (Out.Date.isValid())
        return true;
    for (const QString& TF : TimeFormats)
        // The date's own format may hold blanks: each one is tried as the divide.
        for (qsizetype I = T.indexOf(u' '); I > 0; I = T.indexOf(u' ', I + 1)) {
            Out = {L.toDate(T.left(I), DF), QTime()};
            if (Out.Date.isValid())
                Out.Time = L.toTime(T.mid(I + 1), TF);
            if (Out.Time.isValid())
                return true;
        }
    return false;
}

} // namespace

namespace NxCellConvert {

int StrToInt(const QString& Text)
{
    static const QRegularExpression Re(QStringLiteral("^\\s*[+-]?[0-9]+$"));
    if (Re.match(Text).hasMatch()) {
        bool Ok = false;
        const qlonglong V = Text.trimmed().toLongLong(&Ok);
        if (Ok && V >= INT_MIN && V <= INT_MAX)
            return static_cast<int>(V);
    }
    throw EDotwrightError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
}

namespace {
bool TryStrToFloat(const QString& Text, double& Value)
{
    QLocale L;
    L.setNumberOptions(QLocale::RejectGroupSeparator);
    const QString T = Text.trimmed();
    if (T.isEmpty())
        return false;
    bool Ok = false;
    Value = L.toDouble(T, &Ok);
    return Ok && std::isfinite(Value);
}
} // namespace

double StrToFloat(const QString& Text)
{
    double V = 0;
    if (TryStrToFloat(Text, V))
        return V;
    throw EDotwrightError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
}

TDateTime StrToDateTime(const QString& Text)
{
    const QString T = Text.trimmed();
    if (!T.isEmpty()) {
        const QLocale L;
        for (auto Fmt : {QLocale::ShortFormat, QLocale::LongFormat}) {
            const QString Own = L.dateFormat(Fmt);
            const QString Wide = FourDigitYears(Own);
            // Four-digit years first: that is how a cell writes its text.
            for (const QString& DF : Own == Wide ? QStringList{Own} : QStringList{Wide, Own}) {
                TDateAndTime DT;
                if (ReadDateAndTime(L, T, DF, {L.timeFormat(Fmt), LongTimeFormat(), L.timeFormat(QLocale::ShortFormat)}, DT))
                    return JoinDateTime(DF == Wide ? DT.Date : InCenturyWindow(DT.Date), DT.Time);
            }
            for (const QString& TF : {L.timeFormat(Fmt), LongTimeFormat()}) {
                const QTime Tm = L.toTime(T, TF);
                if (Tm.isValid())
                    return Tm.msecsSinceStartOfDay() / 86400000.0;
            }
        }
    }
    throw EDotwrightError(QStringLiteral("'%1' is not a valid date and time").arg(Text));
}

bool StrToBool(const QString& Text)
{
    double V = 0;
    if (TryStrToFloat(Text, V))
        return V != 0;
    if (Text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    throw EDotwrightError(QStringLiteral("'%1' is not a valid boolean value").arg(Text));
}

bool ReadBoolean(const QString& Text)
{
    if (Text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
        return false;
    return StrToBool(Text);
}

QString FloatToStr(double Value)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // 15 significant digits; fixed unless the exponent is below -4 or above 14.
    QString S = QString::asprintf("%.15g", Value);
    const int E = S.indexOf(QLatin1Char('e'));
    if (E >= 0) {
        QString Mant = S.left(E);
        const QString Exp = S.mid(E + 1);
        const bool Neg = Exp.startsWith(QLatin1Char('-'));
        const int Digits = Exp.mid(1).toInt();
        S = Mant + QLatin1Char('E') + (Neg ? QStringLiteral("-") : QString()) + QString::number(Digits);
    }
    const QChar Dec = QLocale().decimalPoint().isEmpty() ? QLatin1Char('.') : QLocale().decimalPoint().at(0);
    S.replace(QLatin1Char('.'), Dec);
    return S;
}

QString DateTimeToStr(TDateTime Value)
{
    const TDateAndTime DT = SplitDateTime(Value);
    QString S = QLocale().toString(DT.Date, FourDigitYears(QLocale().dateFormat(QLocale::ShortFormat)));
    if (DT.Time != QTime(0, 0))
        S += QLatin1Char(' ') + QLocale().toString(DT.Time, LongTimeFormat());
    return S;
}

int RoundToInt(double Value)
{
    if (std::isnan(Value))
        return 0;
    const double R = std::nearbyint(Value); // halves to even
    if (R <= INT_MIN)
        return INT_MIN;
    if (R >= INT_MAX)
        return INT_MAX;
    return static_cast<int>(R);
}

TDateTime Today()
{
    return static_cast<double>(DateBase.daysTo(QDate::currentDate()));
}

std::array<int, 4> StrToIPParts(const QString& Text)
{
    std::array<int, 4> Parts{0, 0, 0, 0};
    int Count = 0;
    qint64 Number = 0;
    auto Close = [&] {
        if (Count < 4)
            Parts[static_cast<size_t>(Count)] = static_cast<int>(Number);
        ++Count;
        Number = 0;
    };
    for (int I = 0; I < Text.size(); ++I) {
        const QChar C = Text.at(I);
        if (C >= QLatin1Char('0') && C <= QLatin1Char('9'))
            Number = std::min<qint64>(Number * 10 + (C.unicode() - '0'), INT_MAX);
        if (C == QLatin1Char('.') || I == Text.size() - 1)
            Close(); // an empty part reads 0
    }
    return Parts;
}

} // namespace NxCellConvert

using namespace NxCellConvert;

// ---- TCell ----

TCell::TCell(TCells* Owner)
    : FOwner(Owner)
{
}

void TCell::SetColor(TColor Value)
{
    FColor = Value;
    if (!Creating)
        Changed();
}

TColor TCell::GetDrawColor() const
{
    if (FOwner && FOwner->Grid())
        return FOwner->Grid()->GetCellDrawColor(FOwner->LastCol(), FOwner->LastRow());
    return FColor;
}

TColor TCell::GetDrawTextColor() const
{
    if (FOwner && FOwner->Grid())
        return FOwner->Grid()->GetCellDrawTextColor(FOwner->LastCol(), FOwner->LastRow());
    return clWindowText;
}

void TCell::Changed()
{
    if (FOwner)
        FOwner->DoCellChange();
}

void TCell::SetAsBoolean(bool) { Changed(); }
void TCell::SetAsDateTime(TDateTime) { Changed(); }
void TCell::SetAsFloat(double) { Changed(); }
void TCell::SetAsInteger(int) { Changed(); }
void TCell::SetAsString(const QString&) { Changed(); }

// ---- TBooleanCell ----

QString TBooleanCell::GetAsString() const
{
    return FValue ? QStringLiteral("True") : QStringLiteral("False");
}

void TBooleanCell::SetAsBoolean(bool Value) { FValue = Value; TCell::SetAsBoolean(Value); }
void TBooleanCell::SetAsDateTime(TDateTime Value) { FValue = false; TCell::SetAsDateTime(Value); }
void TBooleanCell::SetAsFloat(double Value) { FValue = Value != 0; TCell::SetAsFloat(Value); }
void TBooleanCell::SetAsInteger(int Value) { FValue = Value != 0; TCell::SetAsInteger(Value); }

// A text that names no truth value is refused and the cell keeps its value; an
// empty one clears it.
void TBooleanCell::SetAsString(const QString& Value)
{
    FValue = !Value.isEmpty() && ReadBoolean(Value);
    TCell::SetAsString(Value);
}

// ---- TDoubleValueCell, TDateTimeCell, TFloatCell ----

int TDoubleValueCell::GetAsInteger() const { return RoundToInt(FValue); }
void TDoubleValueCell::SetAsDateTime(TDateTime Value) { FValue = Value; TCell::SetAsDateTime(Value); }
void TDoubleValueCell::SetAsFloat(double Value) { FValue = Value; TCell::SetAsFloat(Value); }
void TDoubleValueCell::SetAsInteger(int Value) { FValue = Value; TCell::SetAsInteger(Value); }

QString TDateTimeCell::GetAsString() const { return DateTimeToStr(FValue); }
void TDateTimeCell::SetAsBoolean(bool Value) { FValue = Today(); TCell::SetAsBoolean(Value); }

// A text that is no date is refused and the cell keeps its value; an empty one clears it.
void TDateTimeCell::SetAsString(const QString& Value)
{
    FValue = Value.isEmpty() ? 0 : StrToDateTime(Value);
    TCell::SetAsString(Value);
}

QString TFloatCell::GetAsString() const { return FloatToStr(FValue); }
void TFloatCell::SetAsBoolean(bool Value) { FValue = 0; TCell::SetAsBoolean(Value); }
void TFloatCell::SetAsString(const QString& Value) { FValue = StrToFloat(Value); TCell::SetAsString(Value); }

// ---- TIntegerCell ----

void TIntegerCell::SetAsBoolean(bool Value) { FValue = Value ? 1 : 0; TCell::SetAsBoolean(Value); }
void TIntegerCell::SetAsDateTime(TDateTime Value) { FValue = 0; TCell::SetAsDateTime(Value); }
void TIntegerCell::SetAsFloat(double Value) { FValue = RoundToInt(Value); TCell::SetAsFloat(Value); }
void TIntegerCell::SetAsInteger(int Value) { FValue = Value; TCell::SetAsInteger(Value); }

void TIntegerCell::SetAsString(const QString& Value)
{
    FValue = Value.isEmpty() ? 0 : StrToInt(Value);
    TCell::SetAsString(Value);
}

// ---- TStringCell ----

bool TStringCell::GetAsBoolean() const { return StrToBool(FValue); }
TDateTime TStringCell::GetAsDateTime() const { return FValue.isEmpty() ? 0 : StrToDateTime(FValue); }
double TStringCell::GetAsFloat() const { return StrToFloat(FValue); }
int TStringCell::GetAsInteger() const { return StrToInt(FValue); }

void TStringCell::SetAsBoolean(bool Value)
{
    FValue = Value ? QStringLiteral("True") : QStringLiteral("False");
    TCell::SetAsBoolean(Value);
}

void TStringCell::SetAsDateTime(TDateTime Value) { FValue = DateTimeToStr(Value); TCell::SetAsDateTime(Value); }
void TStringCell::SetAsFloat(double Value) { FValue = FloatToStr(Value); TCell::SetAsFloat(Value); }
void TStringCell::SetAsInteger(int Value) { FValue = QString::number(Value); TCell::SetAsInteger(Value); }
void TStringCell::SetAsString(const QString& Value) { FValue = Value; TCell::SetAsString(Value); }

// ---- TIncrementCell ----

double TIncrementCell::GetAsFloat() const { return FOwner ? FOwner->LastRow() + 1 : 1; }
int TIncrementCell::GetAsInteger() const { return FOwner ? FOwner->LastRow() + 1 : 1; }
QString TIncrementCell::GetAsString() const { return QString::number(GetAsInteger()); }

// ---- TVirtualCell ----

QString TVirtualCell::GetAsString() const
{
    if (!Column || !FOwner)
        return {};
    return Column->GetVirtualText(FOwner->LastCol(), FOwner->LastRow());
}

bool TVirtualCell::GetAsBoolean() const { return StrToBool(GetAsString()); }
TDateTime TVirtualCell::GetAsDateTime() const { return StrToDateTime(GetAsString()); }
double TVirtualCell::GetAsFloat() const { return StrToFloat(GetAsString()); }
int TVirtualCell::GetAsInteger() const { return StrToInt(GetAsString()); }
void TVirtualCell::SetAsBoolean(bool Value) { SetAsString(Value ? QStringLiteral("True") : QStringLiteral("False")); }
void TVirtualCell::SetAsDateTime(TDateTime Value) { SetAsString(DateTimeToStr(Value)); }
void TVirtualCell::SetAsFloat(double Value) { SetAsString(FloatToStr(Value)); }
void TVirtualCell::SetAsInteger(int Value) { SetAsString(QString::number(Value)); }

void TVirtualCell::SetAsString(const QString& Value)
{
    if (Column && FOwner)
        Column->SetVirtualText(FOwner->LastCol(), FOwner->LastRow(), Value);
    TCell::SetAsString(Value);
}

// ---- TCells ----

struct TCells::TSortKey {
    QString S;
    QByteArray B;
    double F = 0;
    bool Bo = false;
    std::array<int, 4> Ip{};
};

TCells::TCells(TNxGridLink* Grid, TNxColumns* Columns)
    : FColumns(Columns)
    , FLists(std::make_unique<std::array<TCellList, MaxCellColumns + 1>>())
    , FGrid(Grid)
{
}

TCells::~TCells()
{
    ClearRows();
    ClearColumns();
}

TNxCustomColumn* TCells::ColumnAt(int Index) const
{
    if (!FColumns)
        ListIndexError(Index);
    return FColumns->Item(Index);
}

void TCells::CheckRow(int Index, int Limit) const
{
    if (Index < 0 || Index > Limit)
        ListIndexError(Index);
}

std::unique_ptr<TCell> TCells::MakeCell(TNxCustomColumn* Column, bool ForInsert)
{
    std::unique_ptr<TCell> C;
    switch (Column->Kind()) {
    case ckIncrement:
        if (ForInsert)
            C = std::make_unique<TIntegerCell>(this);
        else
            C = std::make_unique<TIncrementCell>(this);
        break;
    case ckBoolean: C = std::make_unique<TBooleanCell>(this); break;
    case ckDateTime: C = std::make_unique<TDateTimeCell>(this); break;
    case ckFloat: C = std::make_unique<TFloatCell>(this); break;
    case ckInteger: C = std::make_unique<TIntegerCell>(this); break;
    case ckVirtual: {
        auto V = std::make_unique<TVirtualCell>(this);
        V->Column = Column;
        C = std::move(V);
        break;
    }
    default: C = std::make_unique<TStringCell>(this); break;
    }
    C->FontStyle = FontStyleOf(Column->Font());
    C->SetColor(Column->Color()); // still Creating: no notification
    C->Creating = false;
    return C;
}

std::unique_ptr<TCell> TCells::CreateCell(TNxCustomColumn* Column)
{
    return MakeCell(Column, false);
}

TCell* TCells::GetCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= FColumnCount)
        ListIndexError(ACol);
    if (ARow < 0 || ARow >= FRowCount)
        ListIndexError(ARow);
    FLastCol = ACol;
    FLastRow = ARow;
    return (*FLists)[static_cast<size_t>(ACol)][static_cast<size_t>(ARow)].get();
}

TRow* TCells::GetRow(int Index) const
{
    CheckRow(Index, FRowCount - 1);
    return FRows[static_cast<size_t>(Index)].get();
}

int TCells::IndexOfRow(const TRow* Row) const
{
    for (size_t I = 0; I < FRows.size(); ++I)
        if (FRows[I].get() == Row)
            return static_cast<int>(I);
    return -1;
}

namespace {
// Marks of TRow::FDescendants while the rows are counted or deleted, and of a
// row whose descendants run to the last row.
constexpr int OpenRow = -1, UnseenRow = -2, DyingRow = -3, ToEndRow = -4;
} // namespace

void TCells::AddRows(int Count)
{
    if (Count > 0)
        CloseRowsToEnd(nullptr);
    for (int N = 0; N < Count; ++N) {
        RowMade();
        auto R = std::make_unique<TRow>();
        R->Height = DefaultRowHeight;
        ++FVisibleRowCount;
        FRows.push_back(std::move(R));
        for (int C = 0; C < FColumnCount; ++C)
            (*FLists)[static_cast<size_t>(C)].push_back(CreateCell(ColumnAt(C)));
        ++FRowCount;
        ShownRowAppended(*FRows.back());
    }
    // Rows without a parent at the end leave every count of descendants as it was.
    FIsSorted = false;
}

void TCells::AddChildRow(int ParentIndex, int Position)
{
    CheckRow(ParentIndex, FRowCount - 1);
    CheckRow(Position, FRowCount);
    TRow* Parent = FRows[static_cast<size_t>(ParentIndex)].get();
    // Right after the parent or after its descendants, in a tree in order, the
    // new row adds one descendant to the parent and to each of its ancestors.
    const bool Counted = FDescendantsKnown && FTreeInOrder
        && (Position == ParentIndex + 1 || Position == ParentIndex + 1 + DescendantsOf(ParentIndex));
    const bool AtEnd = Position == FRowCount;
    if (Counted && AtEnd) {
        // The parent and its ancestors run to the new last row: marked so, they
        // count it without a walk up; the marked rows below the parent end here.
        CloseRowsToEnd(Parent);
        OpenRowsToEnd(ParentIndex);
    }
    RowMade();
    auto R = std::make_unique<TRow>();
    R->ParentRow = Parent;
    // A child shows only under a parent that shows and is expanded.
    R->Visible = Parent->Expanded && Parent->Visible;
    R->Height = DefaultRowHeight;
    R->Level = Parent->Level + 1;
    Parent->IncChildCount();
    const bool Vis = R->Visible;
    FRows.insert(FRows.begin() + Position, std::move(R));
    ++FRowCount;
    if (Vis)
        ++FVisibleRowCount;
    for (int C = 0; C < FColumnCount; ++C) {
        auto& L = (*FLists)[static_cast<size_t>(C)];
        L.insert(L.begin() + Position, CreateCell(ColumnAt(C)));
    }
    if (!Counted) {
        FDescendantsKnown = false;
        FRowsToEnd.clear();
    } else if (!AtEnd) {
        // Ancestors marked as running to the last row count the new row already.
        for (TRow* A = Parent; A && A->FDescendants != ToEndRow; A = A->ParentRow)
            ++A->FDescendants;
        ShiftRowsToEnd(Position, 1);
    }
    if (AtEnd)
        ShownRowAppended(*FRows.back());
    else
        FShownKnown = false;
    RangeRowsInserted(Position, 1);
    FIsSorted = false;
}

// One pass over the rows with the chain of rows whose descendants still go on:
// a row ends those it does not descend from. Only the rows' own parents are
// looked at while every child row follows its parent's other descendants.
void TCells::CountDescendants() const
{
    for (const auto& R : FRows)
        R->FDescendants = UnseenRow;
    std::vector<int> Open;
    bool InOrder = true;
    for (int I = 0; I < FRowCount; ++I) {
        TRow* R = FRows[static_cast<size_t>(I)].get();
        // The nearest ancestor whose descendants go on to this row.
        TRow* A = R->ParentRow;
        while (A && A->FDescendants != OpenRow)
            A = A->ParentRow;
        while (!Open.empty() && FRows[static_cast<size_t>(Open.back())].get() != A) {
            FRows[static_cast<size_t>(Open.back())]->FDescendants = I - Open.back() - 1;
            Open.pop_back();
        }
        InOrder = InOrder && A == R->ParentRow;
        R->FDescendants = OpenRow;
        Open.push_back(I);
    }
    for (int I : Open)
        FRows[static_cast<size_t>(I)]->FDescendants = FRowCount - I - 1;
    FDescendantsKnown = true;
    FRowsToEnd.clear();
    FTreeInOrder = InOrder;
}

int TCells::GetDescendantCount(int Index) const
{
    CheckRow(Index, FRowCount - 1);
    if (!FDescendantsKnown)
        CountDescendants();
    return DescendantsOf(Index);
}

int TCells::DescendantsOf(int Index) const
{
    const int D = FRows[static_cast<size_t>(Index)]->FDescendants;
    return D == ToEndRow ? FRowCount - Index - 1 : D;
}

void TCells::CloseRowsToEnd(const TRow* Keep)
{
    // The marked rows are the last row's ancestors from the top down: below a
    // Keep that is not marked there are none; one that is keeps those above it.
    if (Keep && Keep->FDescendants != ToEndRow)
        return;
    while (!FRowsToEnd.empty() && FRows[static_cast<size_t>(FRowsToEnd.back())].get() != Keep) {
        const int I = FRowsToEnd.back();
        FRows[static_cast<size_t>(I)]->FDescendants = FRowCount - I - 1;
        FRowsToEnd.pop_back();
    }
}

void TCells::OpenRowsToEnd(int Index)
{
    // In a tree in order the ancestors lie above, each before its descendants.
    const size_t Marked = FRowsToEnd.size();
    int I = Index;
    for (TRow* A = FRows[static_cast<size_t>(Index)].get(); A && A->FDescendants != ToEndRow; A = A->ParentRow) {
        while (I >= 0 && FRows[static_cast<size_t>(I)].get() != A)
            --I;
        if (I < 0)
            break;
        A->FDescendants = ToEndRow;
        FRowsToEnd.push_back(I);
    }
    std::reverse(FRowsToEnd.begin() + static_cast<std::ptrdiff_t>(Marked), FRowsToEnd.end());
}

void TCells::ShiftRowsToEnd(int Index, int Count)
{
    auto From = std::lower_bound(FRowsToEnd.begin(), FRowsToEnd.end(), Index);
    if (Count < 0)
        From = FRowsToEnd.erase(From, std::lower_bound(From, FRowsToEnd.end(), Index - Count));
    for (; From != FRowsToEnd.end(); ++From)
        *From += Count;
}

void TCells::InsertRow(int Index)
{
    CheckRow(Index, FRowCount);
    // A row without a parent splits no one's descendants when the row it goes
    // before has no parent either, in a tree in order.
    const bool Counted = FDescendantsKnown && FTreeInOrder
        && (Index == FRowCount || !FRows[static_cast<size_t>(Index)]->ParentRow);
    if (!Counted)
        FRowsToEnd.clear();
    else if (Index == FRowCount)
        CloseRowsToEnd(nullptr);
    else
        ShiftRowsToEnd(Index, 1);
    RowMade();
    auto R = std::make_unique<TRow>();
    R->Height = DefaultRowHeight;
    FRows.insert(FRows.begin() + Index, std::move(R));
    for (int C = 0; C < FColumnCount; ++C) {
        auto& L = (*FLists)[static_cast<size_t>(C)];
        L.insert(L.begin() + Index, MakeCell(ColumnAt(C), true));
    }
    ++FRowCount;
    ++FVisibleRowCount;
    FDescendantsKnown = Counted;
    if (Index == FRowCount - 1)
        ShownRowAppended(*FRows.back());
    else
        FShownKnown = false;
    RangeRowsInserted(Index, 1);
    FIsSorted = false;
}

void TCells::DeleteRows(int Index, int Count)
{
    CheckRow(Index, FRowCount - 1);
    if (Count < 1)
        return;
    if (Count > FRowCount - Index)
        ListIndexError(FRowCount);
    const int End = Index + Count;
    if (!FDescendantsKnown)
        CountDescendants();
    // Rows that may point at a deleted parent: in a tree in order only the
    // deleted rows' own descendants, which end where the last of them ends.
    int ScanTo = FRowCount;
    if (FTreeInOrder) {
        ScanTo = End;
        for (int I = Index; I < End; ++I)
            ScanTo = std::max(ScanTo, I + 1 + DescendantsOf(I));
    }
    // A whole subtree keeps the tree in order: its ancestors lose its rows.
    TRow* First = FRows[static_cast<size_t>(Index)].get();
    const bool Subtree = FTreeInOrder && Count == 1 + DescendantsOf(Index);
    // Ancestors marked as running to the last row lose the rows with it.
    if (Subtree) {
        for (TRow* A = First->ParentRow; A && A->FDescendants != ToEndRow; A = A->ParentRow)
            A->FDescendants -= Count;
        ShiftRowsToEnd(Index, -Count);
    } else {
        FRowsToEnd.clear();
    }
    int Visible = 0, Selected = 0;
    for (int I = Index; I < End; ++I) {
        TRow* R = FRows[static_cast<size_t>(I)].get();
        R->FDescendants = DyingRow;
        Visible += R->Visible ? 1 : 0;
        Selected += R->Selected ? 1 : 0;
        FOtherHeights -= R->Height != FAlikeHeight ? 1 : 0;
    }
    // No row may keep pointing at a freed parent.
    auto Orphan = [this](int From, int To) {
        for (int I = From; I < To; ++I) {
            TRow* R = FRows[static_cast<size_t>(I)].get();
            if (R->ParentRow && R->ParentRow->FDescendants == DyingRow)
                R->ParentRow = nullptr;
        }
    };
    Orphan(0, FTreeInOrder ? 0 : Index);
    Orphan(End, ScanTo);
    for (int C = 0; C < FColumnCount; ++C) {
        auto& L = (*FLists)[static_cast<size_t>(C)];
        L.erase(L.begin() + Index, L.begin() + End);
    }
    FRows.erase(FRows.begin() + Index, FRows.begin() + End);
    FRowCount -= Count;
    FVisibleRowCount -= Visible;
    FDescendantsKnown = Subtree;
    if (End == FRowCount + Count)
        ShownRowsTruncated();
    else
        FShownKnown = false;
    RangeRowsRemoved(Index, Count, Selected);
}

void TCells::ClearRows()
{
    for (int C = 0; C < FColumnCount; ++C)
        (*FLists)[static_cast<size_t>(C)].clear();
    RowsCleared();
}

void TCells::RowsCleared()
{
    FRows.clear();
    FRowCount = 0;
    FVisibleRowCount = 0;
    FOtherHeights = 0;
    FIsSorted = false;
    FSelectedCount = 0;
    ForgetSelectedRange();
    FDescendantsKnown = FTreeInOrder = true;
    FRowsToEnd.clear();
    FShownKnown = false;
}

void TCells::RowsReordered()
{
    FDescendantsKnown = false;
    FRowsToEnd.clear();
    FShownKnown = false;
    ForgetSelectedRange();
}

TCells::TShownSum TCells::ShownPart(const TRow& R) const
{
    if (!R.Visible)
        return {};
    return {1, R.Height > 0 ? qint64{R.Height} + FRowSpacing : 0};
}

void TCells::BuildShownSums() const
{
    // Each node passes its sum on to the one node above it: linear.
    FShownSums.assign(static_cast<size_t>(FRowCount) + 1, {});
    for (int I = 1; I <= FRowCount; ++I) {
        const TShownSum& Node = FShownSums[static_cast<size_t>(I)] += ShownPart(*FRows[static_cast<size_t>(I - 1)]);
        const int Up = I + (I & -I);
        if (Up <= FRowCount)
            FShownSums[static_cast<size_t>(Up)] += Node;
    }
    FShownKnown = true;
}

void TCells::ShownRowAppended(const TRow& Row)
{
    if (!FShownKnown)
        return;
    // The new node I sums its own row and the nodes that end below it.
    const int I = static_cast<int>(FShownSums.size());
    TShownSum Sum = ShownPart(Row);
    for (int J = I - 1; J > I - (I & -I); J -= J & -J)
        Sum += FShownSums[static_cast<size_t>(J)];
    FShownSums.push_back(Sum);
}

void TCells::ShownRowsTruncated()
{
    // A node sums only rows at or below its own.
    if (FShownKnown)
        FShownSums.resize(static_cast<size_t>(FRowCount) + 1);
}

void TCells::AddToShownSums(int Index, const TShownSum& Delta)
{
    if (!FShownKnown)
        return;
    for (int I = Index + 1; I <= FRowCount; I += I & -I)
        FShownSums[static_cast<size_t>(I)] += Delta;
}

int TCells::ShownRowsBefore(int Index) const
{
    CheckRow(Index, FRowCount);
    if (FVisibleRowCount == FRowCount)
        return Index;
    if (!FShownKnown)
        BuildShownSums();
    int N = 0;
    for (int I = Index; I > 0; I -= I & -I)
        N += FShownSums[static_cast<size_t>(I)].Rows;
    return N;
}

int TCells::ShownRowAt(int Pos) const
{
    if (FVisibleRowCount == FRowCount || FVisibleRowCount == 0)
        return FVisibleRowCount == 0 ? 0 : std::clamp(Pos, 0, FRowCount - 1);
    if (!FShownKnown)
        BuildShownSums();
    // Down the tree to the row whose shown rows, itself included, first come to Pos + 1.
    int Left = std::clamp(Pos, 0, FVisibleRowCount - 1) + 1, Row = 0;
    int Step = 1;
    while (Step * 2 <= FRowCount)
        Step *= 2;
    for (; Step > 0; Step /= 2)
        if (Row + Step <= FRowCount && FShownSums[static_cast<size_t>(Row + Step)].Rows < Left) {
            Row += Step;
            Left -= FShownSums[static_cast<size_t>(Row)].Rows;
        }
    return Row;
}

qint64 TCells::ShownPixelsBefore(int Index) const
{
    CheckRow(Index, FRowCount);
    if (RowsAlike())
        return Index * AlikeStep();
    if (!FShownKnown)
        BuildShownSums();
    qint64 N = 0;
    for (int I = Index; I > 0; I -= I & -I)
        N += FShownSums[static_cast<size_t>(I)].Pixels;
    return N;
}

int TCells::RowAtPixel(qint64 Pixel) const
{
    if (RowsAlike()) {
        const qint64 Step = AlikeStep();
        return Step > 0 ? static_cast<int>(std::clamp<qint64>(Pixel / Step, 0, FRowCount)) : FRowCount;
    }
    if (!FShownKnown)
        BuildShownSums();
    // Down the tree past every row whose pixels, its own included, end at or above Pixel.
    int Row = 0, Step = 1;
    while (Step * 2 <= FRowCount)
        Step *= 2;
    for (; Step > 0; Step /= 2)
        if (Row + Step <= FRowCount && FShownSums[static_cast<size_t>(Row + Step)].Pixels <= Pixel) {
            Row += Step;
            Pixel -= FShownSums[static_cast<size_t>(Row)].Pixels;
        }
    return Row;
}

void TCells::ForgetSelectedRange()
{
    // Nothing selected is a range wherever the rows went.
    FRangeKnown = FSelectedCount == 0;
    FRangeLo = 0;
    FRangeHi = -1;
}

void TCells::RangeRowsInserted(int Index, int Count)
{
    if (!FRangeKnown || FRangeLo > FRangeHi || Index > FRangeHi)
        return;
    if (Index <= FRangeLo) {
        FRangeLo += Count;
        FRangeHi += Count;
    } else {
        FRangeKnown = false; // unselected rows inside the range
    }
}

void TCells::RangeRowsRemoved(int Index, int Count, int Selected)
{
    FSelectedCount -= Selected;
    if (FSelectedCount == 0) {
        ForgetSelectedRange();
        return;
    }
    if (!FRangeKnown)
        return;
    // The rows removed at or before X.
    auto Before = [Index, Count](int X) { return std::clamp(X - Index + 1, 0, Count); };
    FRangeHi -= Before(FRangeHi);
    FRangeLo -= Before(FRangeLo - 1);
}

void TCells::MoveRow(int FromIndex, int ToIndex)
{
    CheckRow(FromIndex, FRowCount - 1);
    CheckRow(ToIndex, FRowCount - 1);
    auto MoveIn = [FromIndex, ToIndex](auto& V) {
        auto Item = std::move(V[static_cast<size_t>(FromIndex)]);
        V.erase(V.begin() + FromIndex);
        V.insert(V.begin() + ToIndex, std::move(Item));
    };
    MoveIn(FRows);
    for (int C = 0; C < FColumnCount; ++C)
        MoveIn((*FLists)[static_cast<size_t>(C)]);
    RowsReordered();
    FIsSorted = false;
}

void TCells::SwapRows(int A, int B)
{
    std::swap(FRows[static_cast<size_t>(A)], FRows[static_cast<size_t>(B)]);
    for (int C = 0; C < FColumnCount; ++C) {
        auto& L = (*FLists)[static_cast<size_t>(C)];
        std::swap(L[static_cast<size_t>(A)], L[static_cast<size_t>(B)]);
    }
    if (FKeys)
        std::swap((*FKeys)[static_cast<size_t>(A)], (*FKeys)[static_cast<size_t>(B)]);
    RowsReordered();
}

void TCells::ExchangeRows(int Index1, int Index2)
{
    CheckRow(Index1, FRowCount - 1);
    CheckRow(Index2, FRowCount - 1);
    SwapRows(Index1, Index2);
    FIsSorted = false;
}

void TCells::SetRowVisible(int Index, bool Value)
{
    TRow* R = GetRow(Index);
    if (R->Visible == Value)
        return;
    const TShownSum Was = ShownPart(*R);
    R->Visible = Value;
    FVisibleRowCount += Value ? 1 : -1;
    AddToShownSums(Index, ShownPart(*R) - Was);
}

void TCells::SetRowHeight(int Index, int Value)
{
    TRow* R = GetRow(Index);
    if (R->Height == Value)
        return;
    const TShownSum Was = ShownPart(*R);
    FOtherHeights += (Value != FAlikeHeight ? 1 : 0) - (R->Height != FAlikeHeight ? 1 : 0);
    R->Height = Value;
    AddToShownSums(Index, ShownPart(*R) - Was);
}

void TCells::RowMade()
{
    // An empty store takes the height its rows are made with now.
    if (FRowCount == 0) {
        FAlikeHeight = DefaultRowHeight;
        FOtherHeights = 0;
    }
    FOtherHeights += DefaultRowHeight != FAlikeHeight ? 1 : 0;
}

void TCells::SetRowSpacing(int Value)
{
    if (Value == FRowSpacing)
        return;
    FRowSpacing = Value;
    FShownKnown = false;
}

bool TCells::TreeInOrder() const
{
    if (!FDescendantsKnown)
        CountDescendants();
    return FTreeInOrder;
}

void TCells::ShowByAncestors()
{
    // Whether a row's children show (it shows and is expanded), found once per row:
    // up its chain to a row already known, then down again.
    enum : char { Unknown, Open, Shut };
    std::unordered_map<const TRow*, char> Known;
    Known.reserve(FRows.size());
    std::vector<const TRow*> Chain;
    for (int I = 0; I < FRowCount; ++I) {
        const TRow* A = FRows[static_cast<size_t>(I)]->ParentRow;
        while (A && Known[A] == Unknown) {
            Chain.push_back(A);
            Known[A] = Shut; // a chain that loops back here ends shut
            A = A->ParentRow;
        }
        bool Shows = !A || Known[A] == Open;
        for (auto It = Chain.rbegin(); It != Chain.rend(); ++It) {
            Shows = Shows && (*It)->Expanded;
            Known[*It] = Shows ? Open : Shut;
        }
        Chain.clear();
        SetRowVisible(I, !FRows[static_cast<size_t>(I)]->ParentRow || Shows);
    }
}

void TCells::SetRowSelected(int Index, bool Value)
{
    TRow* R = GetRow(Index);
    if (R->Selected == Value)
        return;
    R->Selected = Value;
    FSelectedCount += Value ? 1 : -1;
    // The range stays known while the row grows or shrinks it at one end.
    if (FSelectedCount == 0)
        ForgetSelectedRange();
    else if (!FRangeKnown)
        return;
    else if (Value && FRangeLo > FRangeHi)
        FRangeLo = FRangeHi = Index;
    else if (Value && Index == FRangeHi + 1)
        ++FRangeHi;
    else if (Value && Index == FRangeLo - 1)
        --FRangeLo;
    else if (!Value && Index == FRangeLo)
        ++FRangeLo;
    else if (!Value && Index == FRangeHi)
        --FRangeHi;
    else
        FRangeKnown = false;
}

void TCells::SelectRange(int Lo, int Hi, const std::function<void(int)>& Changed)
{
    Lo = std::max(Lo, 0);
    Hi = std::min(Hi, FRowCount - 1);
    if (Lo > Hi) {
        Lo = 0;
        Hi = -1;
    }
    auto Set = [&](int From, int To, bool Value) {
        for (int I = From; I <= To; ++I) {
            TRow* R = FRows[static_cast<size_t>(I)].get();
            if (R->Selected == Value)
                continue;
            R->Selected = Value;
            FSelectedCount += Value ? 1 : -1;
            if (Changed)
                Changed(I);
        }
    };
    if (FRangeKnown && FRangeLo <= FRangeHi && Lo <= Hi) {
        // Only the rows between the old ends and the new ones change.
        Set(FRangeLo, std::min(FRangeHi, Lo - 1), false);
        Set(std::max(FRangeLo, Hi + 1), FRangeHi, false);
        Set(Lo, std::min(Hi, FRangeLo - 1), true);
        Set(std::max(Lo, FRangeHi + 1), Hi, true);
    } else {
        if (FRangeKnown) {
            Set(FRangeLo, FRangeHi, false);
        } else {
            Set(0, Lo - 1, false);
            Set(Hi + 1, FRowCount - 1, false);
        }
        Set(Lo, Hi, true);
    }
    FRangeKnown = true;
    FRangeLo = Lo;
    FRangeHi = Hi;
}

void TCells::AddColumn()
{
    if (FColumnCount >= MaxCellColumns)
        ListIndexError(FColumnCount);
    TNxCustomColumn* Col = ColumnAt(FColumns->Count() - 1);
    auto& L = (*FLists)[static_cast<size_t>(FColumnCount)];
    L.clear();
    for (int R = 0; R < FRowCount; ++R)
        L.push_back(CreateCell(Col));
    ++FColumnCount;
}

void TCells::InsertColumn(int Index)
{
    if (FColumnCount >= MaxCellColumns)
        ListIndexError(FColumnCount);
    if (Index < 0 || Index > FColumnCount)
        ListIndexError(Index);
    TNxCustomColumn* Col = ColumnAt(Index);
    TCellList L;
    for (int R = 0; R < FRowCount; ++R)
        L.push_back(MakeCell(Col, true));
    ++FColumnCount;
    FIsSorted = false;
    for (int C = FColumnCount - 1; C > Index; --C)
        (*FLists)[static_cast<size_t>(C)] = std::move((*FLists)[static_cast<size_t>(C - 1)]);
    (*FLists)[static_cast<size_t>(Index)] = std::move(L);
}

void TCells::DeleteColumn(int Index)
{
    if (Index < 0 || Index >= FColumnCount)
        ListIndexError(Index);
    for (int C = Index; C < FColumnCount - 1; ++C)
        (*FLists)[static_cast<size_t>(C)] = std::move((*FLists)[static_cast<size_t>(C + 1)]);
    (*FLists)[static_cast<size_t>(FColumnCount - 1)].clear();
    --FColumnCount;
    FIsSorted = false; // SortedColumn may now name another column
    if (FColumnCount == 0)
        ClearColumns();
}

void TCells::ClearColumns()
{
    for (auto& L : *FLists)
        L.clear();
    FColumnCount = 0;
    RowsCleared();
}

void TCells::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= FColumnCount)
        ListIndexError(FromIndex);
    if (ToIndex < 0 || ToIndex >= FColumnCount)
        ListIndexError(ToIndex);
    auto& Lists = *FLists;
    TCellList Taken = std::move(Lists[static_cast<size_t>(FromIndex)]);
    if (FromIndex < ToIndex)
        for (int C = FromIndex; C < ToIndex; ++C)
            Lists[static_cast<size_t>(C)] = std::move(Lists[static_cast<size_t>(C + 1)]);
    else
        for (int C = FromIndex; C > ToIndex; --C)
            Lists[static_cast<size_t>(C)] = std::move(Lists[static_cast<size_t>(C - 1)]);
    Lists[static_cast<size_t>(ToIndex)] = std::move(Taken);
    if (FromIndex != ToIndex)
        FIsSorted = false; // SortedColumn may now name another column
}

void TCells::ColumnNotify(int Operation, int Index, int Index2)
{
    switch (Operation & 0x7F) {
    case cnoAddColumn: AddColumn(); break;
    case cnoDeleteColumn: DeleteColumn(Index); break;
    case cnoClearColumns: ClearColumns(); break;
    case cnoInsertColumn: InsertColumn(Index); break;
    case cnoMoveColumn: MoveColumn(Index, Index2); break;
    default: break;
    }
}

void TCells::DoCellChange()
{
    if (OnCellChange)
        OnCellChange(this, FLastCol, FLastRow);
    FIsSorted = false;
}

void TCells::DoCompare(TCell* Cell1, TCell* Cell2, int& Compare)
{
    if (OnCompare)
        OnCompare(this, Cell1, Cell2, Compare);
}

std::vector<TCells::TSortKey> TCells::ReadSortKeys(int ACol, TSortType SortType)
{
    std::vector<TSortKey> Keys;
    if (SortType == stCustom)
        return Keys;
    Keys.resize(static_cast<size_t>(FRowCount));
    for (int R = 0; R < FRowCount; ++R) {
        TCell* C = GetCell(ACol, R);
        TSortKey& K = Keys[static_cast<size_t>(R)];
        switch (SortType) {
        case stAlphabetic: K.S = C->AsString(); break;
        case stCaseInsensitive: {
            K.B = C->AsString().toLocal8Bit();
            for (char& Ch : K.B)
                if (Ch >= 'A' && Ch <= 'Z')
                    Ch = static_cast<char>(Ch + 32);
            break;
        }
        case stBoolean: K.Bo = C->AsBoolean(); break;
        case stNumeric: K.F = C->AsFloat(); break;
        case stDate: K.F = C->AsDateTime(); break;
        case stIP: K.Ip = StrToIPParts(C->AsString()); break;
        case stCustom: break;
        }
    }
    return Keys;
}

// The sign of row P against row X by the sort's key (the keys are by row index),
// or by the compare handler for a custom sort.
int TCells::CompareRows(int P, int X)
{
    ++FComparisons;
    int Cmp = 0;
    if (FSortType == stCustom) {
        auto& L = (*FLists)[static_cast<size_t>(FSortCol)];
        FLastCol = FSortCol;
        FLastRow = X;
        DoCompare(L[static_cast<size_t>(P)].get(), L[static_cast<size_t>(X)].get(), Cmp);
        return Cmp;
    }
    const TSortKey& A = P < 0 ? *FPivotKey : (*FKeys)[static_cast<size_t>(P)];
    const TSortKey& B = (*FKeys)[static_cast<size_t>(X)];
    switch (FSortType) {
    case stAlphabetic: return A.S < B.S ? -1 : (B.S < A.S ? 1 : 0);
    case stCaseInsensitive: return A.B < B.B ? -1 : (B.B < A.B ? 1 : 0);
    case stBoolean: return static_cast<int>(A.Bo) - static_cast<int>(B.Bo);
    case stNumeric:
    case stDate: return A.F < B.F ? -1 : (B.F < A.F ? 1 : 0);
    case stIP: return A.Ip < B.Ip ? -1 : (B.Ip < A.Ip ? 1 : 0);
    case stCustom: break;
    }
    return 0;
}

// Left test: ascending LE(P, X), descending GE(P, X); the right test is the other one.
bool TCells::RowTest(bool Left, int Index)
{
    const bool WantLE = Left != FSortDescending;
    int Cmp = 0; // sign of P against X
    if (FSortType == stCustom) {
        ++FComparisons;
        TCell* X = (*FLists)[static_cast<size_t>(FSortCol)][static_cast<size_t>(Index)].get();
        FLastCol = FSortCol;
        FLastRow = Index;
        DoCompare(FPivotCell, X, Cmp);
    } else {
        Cmp = CompareRows(-1, Index);
    }
    return WantLE ? Cmp <= 0 : Cmp >= 0;
}

// Siblings are sorted among themselves and every row keeps its descendants
// right below it, however the rows were scattered before.
void TCells::SortTree()
{
    const size_t N = FRows.size();
    std::unordered_map<const TRow*, size_t> IndexOf;
    for (size_t I = 0; I < N; ++I)
        IndexOf.emplace(FRows[I].get(), I);
    // Children in their present order; a row whose parent is not in the store is a top one.
    const size_t Top = N;
    std::vector<std::vector<int>> Children(N + 1);
    for (size_t I = 0; I < N; ++I) {
        const auto P = FRows[I]->ParentRow ? IndexOf.find(FRows[I]->ParentRow) : IndexOf.end();
        Children[P == IndexOf.end() ? Top : P->second].push_back(static_cast<int>(I));
    }
    // A bottom-up merge sort: stable, and it stays inside its ranges even when a
    // compare handler gives no consistent order.
    auto Before = [this](int A, int B) {
        const int Cmp = CompareRows(A, B);
        return FSortDescending ? Cmp > 0 : Cmp < 0;
    };
    std::vector<int> Merged;
    for (std::vector<int>& V : Children) {
        Merged.resize(V.size());
        for (size_t W = 1; W < V.size(); W *= 2) {
            for (size_t Lo = 0; Lo < V.size(); Lo += 2 * W) {
                const size_t Mid = std::min(Lo + W, V.size()), Hi = std::min(Lo + 2 * W, V.size());
                size_t I = Lo, J = Mid, K = Lo;
                while (I < Mid && J < Hi)
                    Merged[K++] = Before(V[J], V[I]) ? V[J++] : V[I++];
                while (I < Mid)
                    Merged[K++] = V[I++];
                while (J < Hi)
                    Merged[K++] = V[J++];
            }
            V.swap(Merged);
        }
    }
    // Depth first: each row, then its sorted children with theirs.
    std::vector<int> Order;
    Order.reserve(N);
    std::vector<std::pair<size_t, size_t>> Stack{{Top, 0}};
    while (!Stack.empty()) {
        auto& [Parent, Next] = Stack.back();
        if (Next == Children[Parent].size()) {
            Stack.pop_back();
            continue;
        }
        const int Row = Children[Parent][Next++];
        Order.push_back(Row);
        Stack.emplace_back(static_cast<size_t>(Row), 0);
    }
    // A parent chain that loops has no top row: such rows keep their place at the end.
    std::vector<char> Placed(N, 0);
    for (int R : Order)
        Placed[static_cast<size_t>(R)] = 1;
    for (size_t I = 0; I < N; ++I)
        if (!Placed[I])
            Order.push_back(static_cast<int>(I));
    // Whole rows into their new places, as the quick sort swaps them.
    FKeys = nullptr;
    std::vector<int> At(N), Pos(N);
    for (size_t I = 0; I < N; ++I)
        At[I] = Pos[I] = static_cast<int>(I);
    for (int I = 0; I < static_cast<int>(N); ++I) {
        const int Want = Order[static_cast<size_t>(I)];
        const int P = Pos[static_cast<size_t>(Want)];
        if (P == I)
            continue;
        SwapRows(I, P);
        const int Displaced = At[static_cast<size_t>(I)];
        Pos[static_cast<size_t>(Displaced)] = P;
        At[static_cast<size_t>(P)] = Displaced;
        At[static_cast<size_t>(I)] = Want;
        Pos[static_cast<size_t>(Want)] = I;
    }
}

int TCells::Partition(int Lo, int Hi)
{
    const int PivotIndex = static_cast<int>(QRandomGenerator::global()->bounded(Lo + 1, Hi + 1));
    FPivotCell = (*FLists)[static_cast<size_t>(FSortCol)][static_cast<size_t>(PivotIndex)].get();
    TSortKey PivotKey;
    if (FKeys)
        PivotKey = (*FKeys)[static_cast<size_t>(PivotIndex)];
    FPivotKey = &PivotKey;
    int I = Lo - 1, J = Hi + 1;
    // The scans stop at the ends of the range even when a custom order is not consistent.
    do {
        do
            ++I;
        while (I < Hi && !RowTest(true, I));
        do
            --J;
        while (J > Lo && !RowTest(false, J));
        if (I != J)
            SwapRows(I, J);
    } while (I < J);
    if (I != J)
        SwapRows(I, J);
    FPivotKey = nullptr;
    return std::clamp(I, Lo + 1, Hi);
}

void TCells::QuickSortRows(int Lo, int Hi)
{
    // Recurse into the smaller part, loop over the larger: the stack stays shallow.
    while (Hi > Lo) {
        const int P = Partition(Lo, Hi);
        if (P - 1 - Lo < Hi - P) {
            QuickSortRows(Lo, P - 1);
            Lo = P;
        } else {
            QuickSortRows(P, Hi);
            Hi = P - 1;
        }
    }
}

void TCells::Sort(int ACol, TSortType SortType, bool Descending)
{
    // However the rows went, also when a comparison failed half-way.
    struct TAfterSort {
        TCells* Cells;
        ~TAfterSort() { Cells->RowsReordered(); }
    } AfterSort{this};
    FComparisons = 0;
    if (FRowCount > 0 && (ACol < 0 || ACol >= FColumnCount))
        ListIndexError(ACol);
    // Child rows keep to their parents: a reversal of the whole list would put them above.
    const bool Tree = std::any_of(FRows.begin(), FRows.end(), [](const auto& R) { return R->ParentRow != nullptr; });
    // Only a change of direction on the same column and key reverses; another sort type sorts anew.
    if (!Tree && FSortedColumn == ACol && FSortedType == SortType && FIsSorted && FSortDescending != Descending) {
        FSortDescending = Descending;
        for (int I = 0; I < FRowCount / 2; ++I)
            SwapRows(I, FRowCount - 1 - I);
    } else if (FRowCount > 1) {
        // Every key is read before a row moves: a failing conversion leaves the order as it was.
        std::vector<TSortKey> Keys = ReadSortKeys(ACol, SortType);
        FSortDescending = Descending;
        FSortCol = ACol;
        FSortType = SortType;
        FKeys = SortType != stCustom ? &Keys : nullptr;
        try {
            if (Tree)
                SortTree();
            else
                QuickSortRows(0, FRowCount - 1);
        } catch (...) {
            FKeys = nullptr;
            FIsSorted = false;
            throw;
        }
        FKeys = nullptr;
    } else {
        FSortDescending = Descending;
    }
    FSortedColumn = ACol;
    FSortedType = SortType;
    FIsSorted = true;
}
