// The MikroElektronika writers: mikroBasic, mikroPascal and mikroC tables in the
// compilers' own GLCD library layout and in the Vornex layout.
#include "unExportFilters.h"

#include "DwError.h"
#include "PixelBuffer.h"
#include "unExportFiltersEncoding.h"
#include "unHelpers.h"

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace ExportEncoding;

namespace {

struct TMikroLanguage {
    const char* Mark;
    const char* Prefix;
    const char* Declaration; // %s the identifier, %d the size in bytes
    const char* Closing;
};

// Indexed by Language; 0 and anything above 3 write empty strings.
constexpr TMikroLanguage MikroLanguages[] = {
    {"", "", "", ""},
    {"'", "$", "const %s as byte[%d] = (", ")"},
    {"//", "$", "const %s : array[%d] of byte = (", ");"},
    {"//", "0x", "const unsigned short %s[] = {", "};"},
};
constexpr int MikroC = 3;

const QString Indent = QStringLiteral("        ");

// In C a line that ends in a backslash (blanks after it, or the trigraph ??/,
// count too) joins the next line to the comment, swallowing the next data line.
bool JoinsNextLine(QStringView Line)
{
    while (!Line.isEmpty() && Line.back().isSpace())
        Line.chop(1);
    return Line.endsWith(QLatin1Char('\\')) || Line.endsWith(QLatin1StringView("?\?/"));
}

const QString BackslashMark = QStringLiteral(" (backslash)");

QString CommentLine(const QString& Line, bool C)
{
    return C && JoinsNextLine(Line) ? Line + BackslashMark : Line;
}

// Each byte of the table as its text: the prefix, two hex digits and ", ",
// kept in slots of one width so that a byte is one fixed-size copy whatever
// the prefix's length.
class THexTokens {
public:
    explicit THexTokens(const QString& Prefix) : Length(int(Prefix.size()) + 4)
    {
        static constexpr char Digits[] = "0123456789ABCDEF";
        Q_ASSERT(Length <= Slot);
        for (int Byte = 0; Byte < 256; ++Byte) {
            QChar* T = Tokens[Byte];
            std::fill(T, T + Slot, QLatin1Char(' '));
            T = std::copy(Prefix.begin(), Prefix.end(), T);
            *T++ = QLatin1Char(Digits[Byte >> 4]);
            *T++ = QLatin1Char(Digits[Byte & 15]);
            *T = QLatin1Char(',');
        }
    }
    static constexpr int Slot = 8;
    const int Length;
    // Writes the byte's token at Out, which has Slot characters of room.
    QChar* Write(QChar* Out, int Byte) const
    {
        std::memcpy(static_cast<void*>(Out), Tokens[Byte & 255], sizeof(Tokens[0]));
        return Out + Length;
    }

private:
    QChar Tokens[256][Slot];
};

// Appends one character's line to Text: the indent, the data padded to 40,
// the comment. All lines are written straight into the one reserved text.
// Built piece by piece, each line a string of its own joined with '+', the
// mikroBasic table took 3.6 ns per cell and the longer mikroC one 5.4, most
// of it in copies and in memory taken and given back; now both take about
// 0.85 (bench_exporters), the cells' own reading 0.6 of it.
void AppendTableLine(QString& Text, const TPixelBuffer& Grid, int Cols, const QString& Lead,
                     const THexTokens& Hex, bool Last, const QString& Comment, bool C)
{
    const qsizetype Start = Text.size();
    const int DataLength = int(Lead.size()) + Cols * BytesPerColumn(Grid) * Hex.Length;
    const int Padded = std::max(DataLength, 40);
    Text.resize(Start + Indent.size() + Padded + 1 + Comment.size() + BackslashMark.size() + THexTokens::Slot);
    QChar* const LineStart = Text.data() + Start;
    QChar* Out = std::copy(Indent.begin(), Indent.end(), LineStart);
    QChar* const Data = Out;
    Out = std::copy(Lead.begin(), Lead.end(), Out);
    ForEachColumnByte(Grid, Cols, [&](int Byte) { Out = Hex.Write(Out, Byte); });
    // The table's very last byte is followed by two blanks instead.
    if (Last && Out != Data)
        Out -= 2;
    Out = std::fill_n(Out, Padded - (Out - Data), QLatin1Char(' '));
    *Out++ = QLatin1Char(' ');
    Out = std::copy(Comment.begin(), Comment.end(), Out);
    if (C && JoinsNextLine(QStringView(LineStart, Out)))
        Out = std::copy(BackslashMark.begin(), BackslashMark.end(), Out);
    Text.truncate(Out - Text.constData());
}

} // namespace

QString TMikroElektronikaFilter::Execute()
{
    if (Language == 0)
        throw EDotwrightError(QStringLiteral("Language Not Set before call to TMikroElektronikaFilter.Execute()"));
    if (!Font)
        return QString();
    QStringList List;
    BeginExport(List);
    if (!Proportional)
        ExportFixedFont(List);
    else if (UseVornexLib)
        ExportVornexFont(List);
    else
        ExportProportionalFont(List);
    return ListText(std::move(List));
}

void TMikroElektronikaFilter::ExportProportionalFont(QStringList& List) { ExportTable(List, false); }

void TMikroElektronikaFilter::ExportVornexFont(QStringList& List) { ExportTable(List, true); }

// Both layouts write every column of the font's width; Vornex puts the used
// width in front of each character.
void TMikroElektronikaFilter::ExportTable(QStringList& List, bool Vornex)
{
    const TMikroLanguage& Lang = Language < std::size(MikroLanguages) ? MikroLanguages[Language] : MikroLanguages[0];
    CheckRange(FirstChar);
    const bool C = Language == MikroC;
    const QString Mark = QString::fromLatin1(Lang.Mark);
    const QString Prefix = QString::fromLatin1(Lang.Prefix);
    const int N = ExportCount();
    const int W = Font->GetWidth();
    const int B = (Font->GetHeight() + 7) / 8;
    const qint64 Size = qint64(W) * B * N + (Vornex ? N : 0);

    List.clear();
    List << QString() << Mark + QStringLiteral("Font Generated by Dotwright ") << Mark + BannerNotice()
         << Mark + BannerLink() << QString()
         << CommentLine(Mark + QStringLiteral("GLCD FontName : ") + FontName, C)
         << CommentLine(Mark + QStringLiteral("GLCD FontSize : ") + Font->SizeText(), C) << QString();
    // The size first: the identifier may itself hold "%d".
    List << QString::fromLatin1(Lang.Declaration)
                .replace(QLatin1StringView("%d"), QString::number(Size))
                .replace(QLatin1StringView("%s"), SpacesToUnderscores(FontName));

    // The whole text as one item of List, each line with its CR LF but the
    // last, empty one, which ListText ends. Reserved for all of it, the text
    // is written once, in one buffer.
    const THexTokens Hex(Prefix);
    const qsizetype LineRoom = Indent.size() + 40 + qsizetype(W) * B * Hex.Length + 64;
    QString Text;
    Text.reserve(qsizetype(N) * LineRoom + 1024);
    const QString Crlf = QStringLiteral("\r\n");
    for (const QString& L : List)
        Text += L + Crlf;
    TPixelBuffer Grid;
    for (int Code = FirstChar; Code <= LastChar; ++Code) {
        LoadFixedSizeChar(Grid, Code);
        QString Lead;
        if (Vornex) {
            // An empty space still advances by about half the font's width.
            const int Used = Code == 32 && Grid.IsEmpty() ? W / 2 + 1 : Grid.LastUsedCol() + 1;
            Lead = PrefixedHex(Used, Prefix) + QStringLiteral(", ");
        }
        AppendTableLine(Text, Grid, W, Lead, Hex, Code == LastChar,
                        Mark + QStringLiteral(" Code for char ") + CommentChar(Code), C);
        Text += Crlf;
    }
    Text += Indent + QString::fromLatin1(Lang.Closing) + Crlf;
    List = QStringList{std::move(Text)};
}
