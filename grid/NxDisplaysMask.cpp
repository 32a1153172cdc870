// The footer's float-format mask.
#include "NxDisplays.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A mask holds up to three sections split by ';': for positive values, for
// negative ones and for zero; an empty or missing section falls back to the
// first, which then writes a minus sign before a negative value. In a section
// '0' is a digit always written, '#' a digit written only when significant,
// the first '.' places the decimal point (later ones are dropped), any ','
// groups the integer digits by thousands, text in single or double quotes is
// copied without them, and every other character is copied as it is.

struct TMaskToken {
    enum TKind { Digit, Point, Literal } Kind;
    QString Text; // of a literal
};

struct TMaskSection {
    std::vector<TMaskToken> Tokens;
    int IntPlaces = 0;   // digit places before the point
    int MinInt = 0;      // integer digits always written: from the first '0' on
    int Decimals = 0;    // digit places after the point
    int MinDecimals = 0; // fraction digits always written: up to the last '0'
    bool Thousands = false;
};

// The sections of Mask; a ';' inside quotes is text.
QStringList SplitSections(const QString& Mask)
{
    QStringList Sections{QString()};
    QChar Quote;
    for (const QChar C : Mask) {
        if (Quote.isNull() && C == u';') {
            Sections.append(QString());
            continue;
        }
        if (C == Quote)
            Quote = QChar();
        else if (Quote.isNull() && (C == u'\'' || C == u'"'))
            Quote = C;
        Sections.last() += C;
    }
    return Sections;
}

TMaskSection ReadSection(const QString& Text)
{
    TMaskSection S;
    bool AfterPoint = false;
    int FirstZero = -1; // among the integer places
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C == u'0' || C == u'#') {
            S.Tokens.push_back({TMaskToken::Digit, {}});
            if (AfterPoint) {
                ++S.Decimals;
                if (C == u'0')
                    S.MinDecimals = S.Decimals;
            } else {
                if (C == u'0' && FirstZero < 0)
                    FirstZero = S.IntPlaces;
                ++S.IntPlaces;
            }
        } else if (C == u'.') {
            if (!AfterPoint)
                S.Tokens.push_back({TMaskToken::Point, {}});
            AfterPoint = true;
        } else if (C == u',') {
            S.Thousands = true;
        } else if (C == u'\'' || C == u'"') {
            const qsizetype End = Text.indexOf(C, I + 1);
            const qsizetype Stop = End < 0 ? Text.size() : End;
            S.Tokens.push_back({TMaskToken::Literal, Text.mid(I + 1, Stop - I - 1)});
            I = Stop;
        } else {
            S.Tokens.push_back({TMaskToken::Literal, QString(C)});
        }
    }
    S.MinInt = FirstZero < 0 ? 0 : S.IntPlaces - FirstZero;
    return S;
}

// A non-negative finite value in decimal digits, rounded half away from zero
// to Decimals places from its 15 significant digits, so that 1.005 rounds as
// it is written and not as its binary neighbour just below. Int holds no
// leading zero (it is empty for a value below 1).
struct TDecimalDigits {
    QString Int;
    QString Frac;
};

TDecimalDigits RoundedDigits(double Value, int Decimals)
{
    const QString E = QString::number(Value, 'e', 14);
    const qsizetype Exp = E.indexOf(u'e');
    QString Digits = E.left(1) + E.mid(2, Exp - 2);
    qsizetype Point = E.mid(Exp + 1).toInt() + 1; // digits before the decimal point
    if (Point < 0) {
        Digits.prepend(QString(-Point, u'0'));
        Point = 0;
    }
    const qsizetype Keep = Point + Decimals;
    const bool Up = Keep < Digits.size() && Digits[Keep] >= u'5';
    QString Kept = Digits.left(Keep);
    Kept += QString(Keep - Kept.size(), u'0');
    if (Up) {
        qsizetype I = Kept.size() - 1;
        for (; I >= 0 && Kept[I] == u'9'; --I)
            Kept[I] = u'0';
        if (I < 0)
            Kept.prepend(u'1');
        else
            Kept[I] = QChar(Kept[I].unicode() + 1);
    }
    TDecimalDigits R{Kept.left(Kept.size() - Decimals), Kept.right(Decimals)};
    qsizetype Lead = 0;
    while (Lead < R.Int.size() && R.Int[Lead] == u'0')
        ++Lead;
    R.Int.remove(0, Lead);
    return R;
}

QString FormatSection(const TMaskSection& S, TDecimalDigits D, bool Minus)
{
    const QLocale L;
    QString Out = Minus ? QStringLiteral("-") : QString();
    if (S.IntPlaces + S.Decimals == 0) {
        for (const TMaskToken& T : S.Tokens)
            Out += T.Text;
        return Out;
    }
    D.Int.prepend(QString(std::max<qsizetype>(0, S.MinInt - D.Int.size()), u'0'));
    qsizetype FracSize = D.Frac.size();
    while (FracSize > S.MinDecimals && D.Frac[FracSize - 1] == u'0')
        --FracSize;
    const auto PutInt = [&](qsizetype From, qsizetype To) {
        for (qsizetype J = std::max<qsizetype>(0, From); J < To; ++J) {
            Out += D.Int[J];
            const qsizetype Left = D.Int.size() - 1 - J;
            if (S.Thousands && Left > 0 && Left % 3 == 0)
                Out += L.groupSeparator();
        }
    };
    // The integer digits beyond the places all go to the first place; with
    // no integer place at all they stand where the fraction begins.
    const qsizetype Lead = D.Int.size() - S.IntPlaces;
    bool IntDone = S.IntPlaces > 0;
    int IntPlace = 0, FracPlace = 0;
    for (const TMaskToken& T : S.Tokens) {
        const bool InFraction = T.Kind == TMaskToken::Point || (T.Kind == TMaskToken::Digit && IntPlace == S.IntPlaces);
        if (!IntDone && InFraction) {
            PutInt(0, D.Int.size());
            IntDone = true;
        }
        if (T.Kind == TMaskToken::Literal) {
            Out += T.Text;
        } else if (T.Kind == TMaskToken::Point) {
            if (FracSize > 0)
                Out += L.decimalPoint();
        } else if (IntPlace < S.IntPlaces) {
            PutInt(IntPlace == 0 ? 0 : Lead + IntPlace, Lead + IntPlace + 1);
            ++IntPlace;
        } else {
            if (FracPlace < FracSize)
                Out += D.Frac[FracPlace];
            ++FracPlace;
        }
    }
    if (!IntDone)
        PutInt(0, D.Int.size());
    return Out;
}

} // namespace

QString ApplyFormatMask(const QString& Caption, const QString& Mask)
{
    bool Ok = false;
    const double V = QLocale().toDouble(Caption, &Ok);
    if (Mask.isEmpty() || !Ok || !std::isfinite(V))
        return Caption;
    const QStringList Sections = SplitSections(Mask);
    const auto Given = [&](int I) { return I < Sections.size() && !Sections[I].isEmpty(); };
    const TMaskSection Positive = ReadSection(Sections[0]);
    const TDecimalDigits Digits = RoundedDigits(std::fabs(V), Positive.Decimals);
    // Zero is what the first section would write as zero.
    if (Digits.Int.isEmpty() && std::all_of(Digits.Frac.cbegin(), Digits.Frac.cend(), [](QChar C) { return C == u'0'; })) {
        if (!Given(2))
            return FormatSection(Positive, Digits, false);
        const TMaskSection Zero = ReadSection(Sections[2]);
        return FormatSection(Zero, RoundedDigits(0, Zero.Decimals), false);
    }
    if (V < 0 && Given(1)) {
        const TMaskSection Negative = ReadSection(Sections[1]);
        return FormatSection(Negative, RoundedDigits(-V, Negative.Decimals), false);
    }
    return FormatSection(Positive, Digits, V < 0);
}
