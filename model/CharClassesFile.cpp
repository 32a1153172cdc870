// The ".lcd" project file of TGLCDFont.
#include "CharClasses.h"

#include "DwError.h"
#include "unHelpers.h"
#include "unXMLParser.h"

#include <QDir>
#include <QLocale>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <qplatformdefs.h>
#include <limits>

namespace {

// Larger cells than this are no font of ours; the limit also bounds what a
// damaged file can make us allocate.
constexpr int MaxCellSize = TGLCDFont::MaxCellSize;

const QString SaveError = QStringLiteral("Error saving font");

// A font project holds at most 261 elements and 517 attributes; a file with
// many more is no project, and reading it all could take any memory.
constexpr qsizetype MaxProjectNodes = 1 << 16;

// What opening a project takes at its peak, per byte of the file, in halves:
// 4.5, a small margin over the 4.03 that bench_open_memory measures at most
// (a long text or attribute value in a file that is not plain Latin-1: the
// file's bytes, then the decoded text and the value; or a font of large
// characters: the value and its cells). Without the limit above, 1 GB of
// "<A/>" would take 41 GB.
constexpr qint64 OpenPeakHalvesPerByte = 9;

[[noreturn]] void Fail(const QString& Why) { throw EDotwrightError(Why); }

// The decimal text of clClear.
constexpr char16_t ClearText[8] = {u'1', u'6', u'7', u'7', u'7', u'2', u'1', u'5'};

// The cells as decimal values joined by commas. Written first into Scratch,
// which serves every character of a save, so that each text is allocated
// once at its exact size: a large font holds megabytes of them.
QString IntArrayToCommaText(const std::vector<TColor>& Cells, std::vector<char16_t>& Scratch)
{
    // Written through a pointer: this runs over millions of values for a large font.
    Scratch.resize(Cells.size() * 12);
    char16_t* const Begin = Scratch.data();
    char16_t* P = Begin;
    for (size_t I = 0; I < Cells.size(); ++I) {
        if (I > 0)
            *P++ = u',';
        if (Cells[I] == clClear) {
            // Clear cells make up most of every file.
            std::memcpy(P, ClearText, sizeof(ClearText));
            P += 8;
            continue;
        }
        qint64 U = Cells[I];
        if (U < 0) {
            *P++ = u'-';
            U = -U;
        }
        char16_t Digits[10];
        int N = 0;
        do {
            Digits[N++] = char16_t(u'0' + U % 10);
            U /= 10;
        } while (U != 0);
        while (N > 0)
            *P++ = Digits[--N];
    }
    return QString(reinterpret_cast<const QChar*>(Begin), P - Begin);
}

[[noreturn]] Q_NEVER_INLINE void NotInteger(int Code, QStringView Item)
{
    Fail(QStringLiteral("PIXELS of character %1 holds \"%2\", which is not an integer")
             .arg(Code)
             .arg(ShortQuote(Item)));
}

[[noreturn]] Q_NEVER_INLINE void TooFewValues(int Code, size_t Count, size_t Needed)
{
    Fail(QStringLiteral("PIXELS of character %1 holds %2 values, %3 needed")
             .arg(Code)
             .arg(Count)
             .arg(Needed));
}

// One quoted item from P on, P at its opening quote; a doubled quote inside
// stands for one. Returns where the item ends, after the closing quote.
Q_NEVER_INLINE const char16_t* ReadQuotedInteger(const char16_t* P, const char16_t* End, int Code,
                                                 TColor& Value)
{
    QString Unquoted;
    ++P;
    while (P < End) {
        if (*P == u'"') {
            if (P + 1 < End && P[1] == u'"') {
                Unquoted += u'"';
                P += 2;
                continue;
            }
            ++P;
            break;
        }
        Unquoted += QChar(*P++);
    }
    if (!TryStrToInt(Unquoted, Value))
        NotInteger(Code, Unquoted);
    return P;
}

// Splits Text as a comma list: commas separate items, characters up to code
// 32 around an item are skipped and also separate items, an item may be in
// double quotes (a doubled quote inside stands for one). Stores the first
// Cells.size() items, each a signed integer; fewer items fail.
// Kept out of line with its rare paths apart so that the loop stays in registers.
Q_NEVER_INLINE void CommaTextToIntArray(QStringView Text, std::vector<TColor>& Cells, int Code)
{
    // Raw pointers: this loop runs over every value of the file.
    const char16_t* const Begin = Text.utf16();
    const char16_t* const End = Begin + Text.size();
    const char16_t* P = Begin;
    TColor* Out = Cells.data();
    TColor* const OutEnd = Out + Cells.size();
    while (P < End && *P <= 32)
        ++P;
    while (P < End && Out < OutEnd) {
        // Clear cells make up most of every file, nearly always as a bare
        // "16777215," with the next item right after the comma.
        if (End - P > 9 && std::memcmp(P, ClearText, sizeof(ClearText)) == 0 && P[8] == u',' &&
            P[9] > 32) {
            *Out++ = clClear;
            P += 9;
            continue;
        }
        if (*P == u'"') {
            P = ReadQuotedInteger(P, End, Code, *Out++);
        } else if (End - P >= 8 && std::memcmp(P, ClearText, sizeof(ClearText)) == 0 &&
                   (End - P == 8 || P[8] <= 32 || P[8] == u',')) {
            *Out++ = clClear;
            P += 8;
        } else {
            const char16_t* const Start = P;
            const bool Negative = *P == u'-';
            if (*P == u'-' || *P == u'+')
                ++P;
            const char16_t* const Digits = P;
            bool Ok = true;
            qint64 Value = 0;
            for (; P < End && *P > 32 && *P != u','; ++P) {
                const unsigned D = unsigned(*P) - u'0';
                if (D > 9)
                    Ok = false;
                else if (Value <= std::numeric_limits<int>::max())
                    Value = Value * 10 + D;
            }
            if (Negative)
                Value = -Value;
            if (!Ok || P == Digits || Value < std::numeric_limits<int>::min() ||
                Value > std::numeric_limits<int>::max())
                NotInteger(Code, QStringView(Start, P));
            *Out++ = TColor(Value);
        }
        while (P < End && *P <= 32)
            ++P;
        if (P < End && *P == u',') {
            ++P;
            // A trailing comma stands for one more, empty, item.
            if (P == End && Out < OutEnd)
                NotInteger(Code, QStringView());
            while (P < End && *P <= 32)
                ++P;
        }
    }
    if (Out < OutEnd)
        TooFewValues(Code, size_t(Out - Cells.data()), Cells.size());
}

TXMLNode& RequiredChild(TXMLNode& Parent, const QString& Name)
{
    TXMLNode* C = Parent.ChildByName(Name);
    if (!C)
        Fail(QStringLiteral("the %1 element is missing").arg(Name));
    return *C;
}

int CodeAttribute(const TXMLNode& Node, const QString& Name, int Default)
{
    const int V = Node.ReadIntAttribute(Name, Default);
    if (V < 0 || V >= TGLCDFont::MaxChars)
        Fail(QStringLiteral("%1 %2 lies outside 0 to 255").arg(Name).arg(V));
    return V;
}

} // namespace

bool TGLCDFont::LoadFromFile(const QString& AFileName, QString* ErrorText)
{
    const QString Name = AFileName.isEmpty() ? FileName : AFileName;
    auto Failed = [ErrorText](const QString& Why) {
        if (ErrorText)
            *ErrorText = Why;
        return false;
    };
    // Looked at before it is opened: a folder, a pipe or a device is no project.
    QT_STATBUF Info;
    if (Name.isEmpty() || QT_STAT(QFile::encodeName(Name).constData(), &Info) != 0) {
        if (!Name.isEmpty() && errno != ENOENT && errno != ENOTDIR)
            return Failed(QStringLiteral("Error loading font: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return Failed(QStringLiteral("File %1 does not exists.").arg(Name));
    }
    if (!S_ISREG(Info.st_mode))
        return Failed(NotARegularFile(Name));
    const QString NoMemory = QStringLiteral("Not enough memory to open %1").arg(QDir::toNativeSeparators(Name));
    const qint64 Available = AvailableMemory(), Needed = (qint64(Info.st_size) * OpenPeakHalvesPerByte + 1) / 2;
    if (Available >= 0 && Needed > Available)
        return Failed(QStringLiteral("%1: opening it takes about %2, %3 are available")
                          .arg(NoMemory, QLocale::c().formattedDataSize(Needed), QLocale::c().formattedDataSize(Available)));

    // Everything is read into these first; the font changes only when all is well.
    QString NewName;
    int NewFrom = 0;
    int NewTo = 0;
    bool NewProportional = false;
    std::array<std::unique_ptr<TCharClass>, MaxChars> NewChars;
    try {
        TXMLDocument Doc(QStringLiteral("FONTFILE"), Name);
        Doc.NodeLimit = MaxProjectNodes;
        QString Why;
        if (!Doc.Load(&Why))
            return Failed(QStringLiteral("Error loading font: %1").arg(Why));
        if (Doc.LimitReached)
            Fail(QStringLiteral("the file holds more than %1 elements and attributes").arg(MaxProjectNodes));
        if (!Doc.Root)
            Fail(QStringLiteral("the file holds no XML element"));
        TXMLNode& Root = *Doc.Root;
        NewName = Root.ReadChildValue(QStringLiteral("FONTNAME"), QString());
        TXMLNode& Range = RequiredChild(Root, QStringLiteral("RANGE"));
        NewFrom = CodeAttribute(Range, QStringLiteral("FROM"), 0);
        NewTo = CodeAttribute(Range, QStringLiteral("TO"), 255);
        TXMLNode& Size = RequiredChild(Root, QStringLiteral("FONTSIZE"));
        NewProportional = Size.ReadBoolAttribute(QStringLiteral("PROPORTIONAL"), false);
        const int W = Size.ReadIntAttribute(QStringLiteral("WIDTH"), 1);
        const int H = Size.ReadIntAttribute(QStringLiteral("HEIGHT"), 1);
        const int Count = std::max(0, NewTo - NewFrom + 1);
        if (Count > 0) {
            if (W < 1 || W > MaxCellSize || H < 1 || H > MaxCellSize)
                Fail(QStringLiteral("the size %1 x %2 lies outside 1 to %3").arg(W).arg(H).arg(MaxCellSize));
            TXMLNode& Chars = RequiredChild(Root, QStringLiteral("CHARS"));
            if (Chars.ChildCount() < Count)
                Fail(QStringLiteral("CHARS holds %1 characters, %2 needed").arg(Chars.ChildCount()).arg(Count));
            std::vector<TColor> Cells(size_t(W) * size_t(H));
            for (int I = 0; I < Count; ++I) {
                // Matched by CODE, not by position: a later duplicate wins.
                const TXMLNode& Char = *Chars.GetChild(I);
                const int Code = CodeAttribute(Char, QStringLiteral("CODE"), 0);
                if (Code < NewFrom || Code > NewTo)
                    Fail(QStringLiteral("CODE %1 lies outside the range %2 to %3").arg(Code).arg(NewFrom).arg(NewTo));
                const TXMLAttribute* Pixels = Char.AttributeByName(QStringLiteral("PIXELS"));
                CommaTextToIntArray(Pixels ? QStringView(Pixels->Value) : QStringView(), Cells, Code);
                auto& Slot = NewChars[size_t(Code)];
                if (!Slot)
                    Slot = std::make_unique<TCharClass>(Code, W, H);
                // Swapped, not copied: Cells keeps a buffer of the right size.
                Slot->Cells.swap(Cells);
            }
            // Codes that no CHAR names keep every cell 0.
            for (int Code = NewFrom; Code <= NewTo; ++Code)
                if (!NewChars[size_t(Code)])
                    NewChars[size_t(Code)] = std::make_unique<TCharClass>(Code, W, H);
        }
    } catch (const EDotwrightError& E) {
        return Failed(QStringLiteral("Error loading font: %1").arg(E.Message()));
    } catch (const std::bad_alloc&) {
        return Failed(NoMemory);
    }

    FileName = Name;
    FontName = NewName;
    RangeFrom = NewFrom;
    RangeTo = NewTo;
    SetProportional(NewProportional);
    Chars = std::move(NewChars);
    return true;
}

bool TGLCDFont::SaveToFile(const QString& AFileName, QString* ErrorText)
{
    // The project takes the new name only once the file is written.
    const QString Name = AFileName.isEmpty() ? FileName : AFileName;
    auto Failed = [ErrorText](const QString& Why) {
        if (ErrorText)
            *ErrorText = Why;
        return false;
    };

    // Only what LoadFromFile reads back is written: every slot of the range
    // filled, all of one size that the reader accepts.
    const int W = GetWidth();
    const int H = GetHeight();
    for (int Code = RangeFrom; Code <= RangeTo; ++Code) {
        const TCharClass* C = GetChar(Code);
        if (!C || C->Width != W || C->Height != H || W < 1 || W > MaxCellSize || H < 1 ||
            H > MaxCellSize)
            return Failed(SaveError);
    }
    if (RangeFrom < 0 || RangeFrom >= MaxChars || RangeTo < 0 || RangeTo >= MaxChars)
        return Failed(SaveError);

    TXMLDocument Doc(QStringLiteral("FONTFILE"), QString());
    Doc.Root = std::make_unique<TXMLNode>(QStringLiteral("FONT"), QString(), nullptr);
    TXMLNode& Root = *Doc.Root;
    Root.AddChild(QStringLiteral("FONTNAME"), FontName);
    TXMLNode* Size = Root.AddChild(QStringLiteral("FONTSIZE"), QString());
    Size->AddIntAttribute(QStringLiteral("WIDTH"), W);
    Size->AddIntAttribute(QStringLiteral("HEIGHT"), H);
    Size->AddBoolAttribute(QStringLiteral("PROPORTIONAL"), Proportional);
    TXMLNode* Range = Root.AddChild(QStringLiteral("RANGE"), QString());
    Range->AddIntAttribute(QStringLiteral("FROM"), RangeFrom);
    Range->AddIntAttribute(QStringLiteral("TO"), RangeTo);
    TXMLNode* CharsNode = Root.AddChild(QStringLiteral("CHARS"), QString());
    std::vector<char16_t> Scratch;
    for (int Code = RangeFrom; Code <= RangeTo; ++Code) {
        TXMLNode* Char = CharsNode->AddChild(QStringLiteral("CHAR"), QString());
        Char->AddIntAttribute(QStringLiteral("CODE"), Code);
        Char->AddAttribute(QStringLiteral("PIXELS"), IntArrayToCommaText(GetChar(Code)->Cells, Scratch));
    }
    Doc.SetDefaultHeader();

    QString Why;
    if (Name.isEmpty())
        return Failed(SaveError + QStringLiteral(": no file name"));
    if (!Doc.SaveToFile(Name, &Why))
        return Failed(QStringLiteral("Error saving font to %1: %2").arg(Name, Why));
    FileName = Name;
    return true;
}
