// The filter framework and the Swordfish Basic writers.
#include "unExportFilters.h"

#include "DwError.h"
#include "PixelBuffer.h"
#include "unExportFiltersEncoding.h"
#include "unHelpers.h"

using namespace ExportEncoding;

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Offsets of the proportional table are 16-bit.
constexpr qint64 MaxTableOffset = 0xFFFF;

const QString Dollar = QStringLiteral("$");

QString Hex(int Value) { return PrefixedHex(Value, Dollar); }

// A data line of either table: the bytes padded to 80 columns, then the comment.
QString DataLine(const QString& Bytes, const QString& Comment)
{
    return QStringLiteral("   ") + PadRight(Bytes, 80, ' ') + Comment;
}

QString CodeComment(int Code) { return QStringLiteral("// Code for ") + CommentChar(Code); }

QString Declaration(const QString& FontName, qint64 Total)
{
    return QStringLiteral("Public Const ") + SpacesToUnderscores(FontName) + '(' + QString::number(Total)
           + QStringLiteral(") As Byte =");
}

// Appends columns 0..Cols-1 of Grid as "$XX," each and counts them into Total.
void AppendBytes(QString& Bytes, const TPixelBuffer& Grid, int Cols, qint64& Total)
{
    ForEachColumnByte(Grid, Cols, [&](int Byte) {
        AppendHexByte(Bytes, Dollar, Byte);
        Bytes += ',';
        ++Total;
    });
}

} // namespace

QString CommentChar(int Code)
{
    static const char* const Names[32] = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
    };
    // A raw control byte would cut or break the generated lines.
    if (Code >= 0 && Code < 32)
        return QLatin1Char('<') + QLatin1StringView(Names[Code]) + QLatin1Char('>');
    if (Code == 127)
        return QStringLiteral("<DEL>");
    return Win1252Char(Code);
}

TSwordfishBasicFilter::TSwordfishBasicFilter(const TGLCDFont* AFont, bool AProportional, int AFirst,
                                             int ALast, const QString& AName)
    : Proportional(AProportional), FirstChar(AFirst), LastChar(ALast), Font(AFont)
{
    // A control character in a name would break a generated line: a
    // project's own name may hold a line break, typed names reach here
    // from callers other than the dialogs.
    const QString Typed = RemoveControls(AName);
    if (!Typed.trimmed().isEmpty())
        FontName = Typed;
    else if (Font)
        FontName = RemoveControls(Font->FontName);
}

QString TSwordfishBasicFilter::Execute()
{
    if (!Font)
        return QString();
    QStringList List;
    BeginExport(List);
    if (Proportional)
        ExportProportionalFont(List);
    else
        ExportFixedFont(List);
    return ListText(List);
}

void TSwordfishBasicFilter::BeginExport(QStringList&) {}

QString TSwordfishBasicFilter::ListText(const QStringList& List) { return ListText(QStringList(List)); }

QString TSwordfishBasicFilter::ListText(QStringList&& List)
{
    if (List.isEmpty())
        return QString();
    qsizetype Size = 0;
    for (const QString& S : std::as_const(List))
        Size += S.size() + 2;
    QString Text = std::move(List.front());
    Text.reserve(Size);
    Text += Crlf;
    for (qsizetype I = 1; I < List.size(); ++I) {
        Text += List.at(I);
        Text += Crlf;
    }
    return Text;
}

int TSwordfishBasicFilter::ExportCount() const
{
    const qint64 N = qint64(LastChar) - qint64(FirstChar) + 1;
    return N > 0 ? int(N) : 0;
}

void TSwordfishBasicFilter::CheckRange(int From) const
{
    for (int Code = From; Code <= LastChar; ++Code)
        if (!Font->GetChar(Code))
            throw EDotwrightError(MissingCharMessage(Code));
}

void TSwordfishBasicFilter::LoadChar(TPixelBuffer& Grid, int Code) const
{
    const TCharClass* C = Font->GetChar(Code);
    if (!C)
        throw EDotwrightError(MissingCharMessage(Code));
    // Loading a character without cells would leave the previous one in the grid.
    if (C->Width < 1 || C->Height < 1)
        throw EDotwrightError(QStringLiteral("Cannot export: character %1 has no pixels").arg(Code));
    Grid.LoadFromChar(*C);
}

void TSwordfishBasicFilter::LoadFixedSizeChar(TPixelBuffer& Grid, int Code) const
{
    LoadChar(Grid, Code);
    if (Grid.HorizCellCount() != Font->GetWidth() || Grid.VertCellCount() != Font->GetHeight())
        throw EDotwrightError(QStringLiteral("Cannot export: character %1 is %2 x %3, the font is %4")
                                  .arg(Code)
                                  .arg(Grid.HorizCellCount())
                                  .arg(Grid.VertCellCount())
                                  .arg(Font->SizeText()));
}

void TSwordfishBasicFilter::ExportFixedFont(QStringList& List)
{
    CheckRange(FirstChar);
    const int N = ExportCount();
    const int W = Font->GetWidth();
    List << QStringLiteral("#ifndef GLCD_XFONT // scan along y");
    const qsizetype DeclarationAt = List.size();
    List << QStringLiteral("(");
    List << QStringLiteral("   $81,") + Hex(N) + ',' + Hex(W) + ',' + Hex(Font->GetHeight()) + ',';
    qint64 Total = 4;

    TPixelBuffer Grid;
    QString Bytes;
    for (int Code = FirstChar; Code <= LastChar; ++Code) {
        LoadFixedSizeChar(Grid, Code);
        Bytes.clear();
        AppendBytes(Bytes, Grid, W, Total);
        if (Code == LastChar)
            Bytes.chop(1);
        List << DataLine(Bytes, CodeComment(Code));
    }
    List << QStringLiteral(")") << QStringLiteral("#endif");
    List.insert(DeclarationAt, Declaration(FontName, Total));
}

void TSwordfishBasicFilter::ExportProportionalFont(QStringList& List)
{
    CheckRange(FirstChar);
    const int N = ExportCount();
    List << QStringLiteral("#ifndef GLCD_XFONT // scan along y");
    const qsizetype DeclarationAt = List.size();
    List << QStringLiteral("(");
    List << QStringLiteral("   $82,") + Hex(N + 1) + QStringLiteral(",$00,") + Hex(Font->GetHeight()) + ',';
    const qsizetype OffsetsAt = List.size();
    qint64 Total = 4;

    // Offsets count from the first byte of the offset table, low byte first.
    qint64 Offset = 2 * (qint64(N) + 1);
    int Entry = 0;
    QString Offsets;
    auto AddOffset = [&] {
        if (Offset > MaxTableOffset)
            throw EDotwrightError(QStringLiteral(
                "Cannot export: the font is too large for a proportional table (offsets above 65535)"));
        if (Entry > 0)
            Offsets += Crlf;
        ++Entry;
        Offsets += QStringLiteral("   ");
        AppendHexByte(Offsets, Dollar, int(Offset % 256));
        Offsets += ',';
        AppendHexByte(Offsets, Dollar, int(Offset / 256 % 256));
        Offsets += QStringLiteral(", // ") + QString::number(Entry);
        Total += 2;
    };
    AddOffset();

    TPixelBuffer Grid;
    int Bpc = 0;
    QString Bytes;
    for (int Code = FirstChar; Code <= LastChar; ++Code) {
        LoadChar(Grid, Code);
        const int Used = Grid.LastUsedCol() + 1;
        Bpc = BytesPerColumn(Grid);
        Offset += qint64(Used) * Bpc + 1;
        AddOffset();
        Bytes = Hex(Used) + ',';
        ++Total;
        AppendBytes(Bytes, Grid, Used, Total);
        List << DataLine(Bytes, CodeComment(Code));
    }

    Total += 1 + Bpc;
    List << DataLine(QStringLiteral("$01") + RepeatString(QStringLiteral(",$00"), Bpc),
                     QStringLiteral("// single pixel letter space"));
    List << QStringLiteral(")") << QStringLiteral("#endif");
    List.insert(OffsetsAt, Offsets);
    List.insert(DeclarationAt, Declaration(FontName, Total));
}
