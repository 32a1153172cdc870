#include "unXMLParser.h"

#include "DwError.h"
#include "unHelpers.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <qplatformdefs.h>
#include <algorithm>
#include <cstring>
#include <limits>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

struct TEscape {
    QChar Ch;
    QLatin1StringView Entity;
};

// Order matters: "&" must be escaped first.
const TEscape EscapeTable[] = {
    {u'&', QLatin1StringView("&amp;")},   {u'<', QLatin1StringView("&lt;")},
    {u'>', QLatin1StringView("&gt;")},    {u'"', QLatin1StringView("&quot;")},
    {u'\'', QLatin1StringView("&apos;")}, {u'\n', QLatin1StringView("&#10;")},
};

bool IsWhite(char16_t U) { return U == 9 || U == 10 || U == 13 || U == 32; }

bool IsLetter(char16_t U) { return (U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z'); }

bool IsNameChar(char16_t U)
{
    return IsLetter(U) || (U >= '0' && U <= '9') || U == '_' || U == '-';
}

const QString CRLF = QStringLiteral("\r\n");

// Only 0x80..0x9F differ between Windows-1252 and Latin-1.
bool IsPlainLatin1(const QByteArray& Bytes)
{
    // Mostly the text is ASCII, so look at 32 bytes at a time first.
    const char* P = Bytes.constData();
    const char* const End = P + Bytes.size();
    bool Plain = true;
    for (; Plain && End - P >= 32; P += 32) {
        quint64 Words[4];
        std::memcpy(Words, P, sizeof(Words));
        if ((Words[0] | Words[1] | Words[2] | Words[3]) & 0x8080808080808080ULL)
            for (int I = 0; I < 32; ++I)
                Plain = Plain && (static_cast<unsigned char>(P[I]) & 0xE0) != 0x80;
    }
    for (; Plain && P < End; ++P)
        Plain = (static_cast<unsigned char>(*P) & 0xE0) != 0x80;
    return Plain;
}

// Whether U is written as an entity of the escape table.
bool IsEscaped(char16_t U)
{
    // Bit N is set for each character N of the escape table.
    constexpr quint64 Special = (1ULL << '&') | (1ULL << '<') | (1ULL << '>') | (1ULL << '"') |
                                (1ULL << '\'') | (1ULL << '\n');
    return U < 64 && ((Special >> U) & 1) != 0;
}

const TEscape& EscapeOf(char16_t U)
{
    return *std::find_if(std::begin(EscapeTable), std::end(EscapeTable),
                         [U](const TEscape& E) { return E.Ch == U; });
}

// Characters a file holds as the same single byte.
bool IsPlainByte(char16_t U)
{
    return U != u'\r' && U != u'\n' && (U < 0x80 || (U >= 0xA0 && U < 0x100));
}

// Writing hands the text to a sink piece by piece (Put as it is, PutEscaped
// with entities), so that one walk of the tree gives the text, its size, or
// the file's bytes, without a copy in between.

// Appends to a string.
struct TTextSink {
    QString& Text;
    void Put(QStringView V) { Text.append(V); }
    void Put(QLatin1StringView V) { Text.append(V); }
    void PutBlanks(qsizetype N) { Text.resize(Text.size() + N, u' '); }
    void PutEscaped(QStringView V)
    {
        const char16_t* const End = V.utf16() + V.size();
        const char16_t* Run = V.utf16();
        for (const char16_t* P = Run; P < End; ++P)
            if (IsEscaped(*P)) {
                Put(QStringView(Run, P));
                Put(EscapeOf(*P).Entity);
                Run = P + 1;
            }
        Put(QStringView(Run, End));
    }
};

// Counts characters, an entity as the one character it stands for: the rare
// value that holds one grows a buffer reserved to this size once more.
struct TSizeSink {
    qsizetype Size = 0;
    void Put(QStringView V) { Size += V.size(); }
    void Put(QLatin1StringView V) { Size += V.size(); }
    void PutBlanks(qsizetype N) { Size += N; }
    void PutEscaped(QStringView V) { Size += V.size(); }
};

// Narrows into W the leading units of [Begin, End) that the file holds as the
// same byte and that need no entity; returns how many. Nearly every byte of a
// project file comes this way: eight units at a time halve the time to save
// a 5.3 MB project (14.4 to 7.9 ms of CPU).
qsizetype NarrowPlainRun(const char16_t* const Begin, const char16_t* const End, char* W)
{
    const char16_t* P = Begin;
    while (P < End) {
#ifdef __SSE2__
        // Eight units at a time while all are ASCII and none is special.
        const __m128i High = _mm_set1_epi16(short(0xFF80));
        const auto Is = [](__m128i V, char16_t C) { return _mm_cmpeq_epi16(V, _mm_set1_epi16(short(C))); };
        for (; End - P >= 8; P += 8, W += 8) {
            const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
            const __m128i Ascii = _mm_cmpeq_epi16(_mm_and_si128(V, High), _mm_setzero_si128());
            const __m128i Special = _mm_or_si128(
                _mm_or_si128(_mm_or_si128(Is(V, u'&'), Is(V, u'<')), _mm_or_si128(Is(V, u'>'), Is(V, u'"'))),
                _mm_or_si128(_mm_or_si128(Is(V, u'\''), Is(V, u'\n')), Is(V, u'\r')));
            if (_mm_movemask_epi8(_mm_andnot_si128(Special, Ascii)) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(W), _mm_packus_epi16(V, V));
        }
#endif
        // A unit at a time through the block that stopped the above (or the tail).
        for (const char16_t* const BlockEnd = std::min(End, P + 8); P < BlockEnd; ++P) {
            if (!IsPlainByte(*P) || IsEscaped(*P))
                return P - Begin;
            *W++ = char(*P);
        }
    }
    return P - Begin;
}

// The file's bytes: Windows-1252, every line (CR LF, CR or LF ends one) ended
// by CR LF, the last line too.
class TFileBytesSink {
public:
    explicit TFileBytesSink(qsizetype Reserve) { Bytes.reserve(Reserve); }

    void Put(QLatin1StringView V)
    {
        // Only the writer's own ASCII markup comes this way, CR LF as a pair.
        if (V.isEmpty())
            return;
        Bytes.append(V.data(), V.size());
        AfterCR = false;
        AfterLineEnd = V.back() == u'\n';
    }

    void Put(QStringView V) { Write(V, false); }
    void PutEscaped(QStringView V) { Write(V, true); }

    void PutBlanks(qsizetype N)
    {
        if (N <= 0)
            return;
        Bytes.append(N, ' ');
        AfterCR = false;
        AfterLineEnd = false;
    }

    QByteArray Finish()
    {
        if (!Bytes.isEmpty() && !AfterLineEnd)
            Bytes.append("\r\n", 2);
        return std::move(Bytes);
    }

private:
    QByteArray Bytes;
    bool AfterCR = false;      // the last character written was a CR
    bool AfterLineEnd = false; // the last character written ended a line

    void Write(QStringView V, bool Escape)
    {
        const char16_t* P = V.utf16();
        const char16_t* const End = P + V.size();
        while (P < End) {
            // Room for the rest as one byte each; an entity or a line end grows it.
            const qsizetype Old = Bytes.size();
            Bytes.resize(Old + (End - P));
            const qsizetype Run = NarrowPlainRun(P, End, Bytes.data() + Old);
            Bytes.truncate(Old + Run);
            P += Run;
            if (Run > 0)
                AfterCR = AfterLineEnd = false;
            if (P == End)
                break;
            const char16_t U = *P++;
            if (Escape && IsEscaped(U)) {
                Bytes.append(EscapeOf(U).Entity);
                AfterCR = AfterLineEnd = false;
                continue;
            }
            // The LF of a CR LF pair was written with its CR.
            if (U == u'\r' || (U == u'\n' && !AfterCR))
                Bytes.append("\r\n", 2);
            else if (IsPlainByte(U))
                Bytes.append(char(U));
            else if (U != u'\n')
                Bytes.append(ToWin1252(QString(QChar(U))));
            AfterCR = U == u'\r';
            AfterLineEnd = U == u'\r' || U == u'\n';
        }
    }
};

const QLatin1StringView CRLFText("\r\n");

// The element and its subtree at Level; no line end after the last line.
template <typename TSink> void PutNode(TSink& Out, const TXMLNode& N, int Level)
{
    const auto Indent = [](int L) { return qsizetype(std::max(0, L)) * std::max(0, IndentSize); };
    Out.PutBlanks(Indent(Level));
    Out.Put(QLatin1StringView("<"));
    Out.Put(N.Name);
    if (N.Attributes)
        for (const auto& A : *N.Attributes) {
            Out.Put(QLatin1StringView(" "));
            Out.Put(A->Name);
            Out.Put(QLatin1StringView("=\""));
            Out.PutEscaped(A->Value);
            Out.Put(QLatin1StringView("\""));
        }
    if (N.Children) {
        Out.Put(QLatin1StringView(">"));
        Out.Put(CRLFText);
        if (!N.Value.isEmpty()) {
            Out.PutBlanks(Indent(Level + 1));
            Out.PutEscaped(N.Value);
            Out.Put(CRLFText);
        }
        for (const auto& C : *N.Children) {
            PutNode(Out, *C, Level + 1);
            Out.Put(CRLFText);
        }
        Out.PutBlanks(Indent(Level));
        Out.Put(QLatin1StringView("</"));
        Out.Put(N.Name);
        Out.Put(QLatin1StringView(">"));
    } else if (!N.Value.isEmpty() || !N.ShortEmptyTag) {
        Out.Put(QLatin1StringView(">"));
        Out.PutEscaped(N.Value);
        Out.Put(QLatin1StringView("</"));
        Out.Put(N.Name);
        Out.Put(QLatin1StringView(">"));
    } else {
        Out.Put(QLatin1StringView("/>"));
    }
}

// The header tag, then the root element on the next line.
template <typename TSink> void PutDocument(TSink& Out, const TXMLDocument& Doc)
{
    const QString Tag = Doc.GetHeaderTag();
    Out.Put(Tag);
    if (Doc.Root) {
        if (!Tag.isEmpty())
            Out.Put(CRLFText);
        PutNode(Out, *Doc.Root, Doc.Root->GetLevel());
    }
}

} // namespace

QString XMLEscape(const QString& S)
{
    // Most values need nothing: the shared string is returned as it is.
    if (std::none_of(S.cbegin(), S.cend(), [](QChar C) { return IsEscaped(C.unicode()); }))
        return S;
    QString R;
    TTextSink{R}.PutEscaped(S);
    return R;
}

namespace {

// Replaces each entity of the escape table in S by its character, in one
// pass over S's own buffer (a character never takes more room than its
// entity). This equals replacing the entities one after the other, "&amp;"
// last: no two entities overlap and no character they stand for but "&"
// begins one, so the order matters only for "&amp;" followed by the text of
// another entity, which comes back as that text either way.
void UnescapeInPlace(QString& S)
{
    char16_t* const Begin = reinterpret_cast<char16_t*>(S.data());
    const char16_t* const End = Begin + S.size();
    char16_t* W = Begin;
    for (const char16_t* Q = Begin; Q < End;) {
        if (*Q == u'&') {
            const QStringView Rest(Q, End);
            const auto E = std::find_if(std::begin(EscapeTable), std::end(EscapeTable),
                                        [&](const TEscape& T) { return Rest.startsWith(T.Entity); });
            if (E != std::end(EscapeTable)) {
                *W++ = E->Ch.unicode();
                Q += E->Entity.size();
                continue;
            }
        }
        *W++ = *Q++;
    }
    S.truncate(W - Begin);
}

} // namespace

QString XMLUnescape(const QString& S)
{
    if (!S.contains(u'&'))
        return S;
    QString R = S;
    UnescapeInPlace(R);
    return R;
}

bool TryStrToInt(QStringView S, int& Value)
{
    qsizetype I = 0;
    bool Negative = false;
    if (I < S.size() && (S[I] == u'-' || S[I] == u'+')) {
        Negative = S[I] == u'-';
        ++I;
    }
    if (I >= S.size())
        return false;
    // Accumulated negatively so that the lowest value fits.
    qint64 R = 0;
    for (; I < S.size(); ++I) {
        const char16_t U = S[I].unicode();
        if (U < '0' || U > '9')
            return false;
        R = R * 10 - (U - '0');
        if (R < qint64(std::numeric_limits<int>::min()))
            return false;
    }
    if (!Negative) {
        R = -R;
        if (R > std::numeric_limits<int>::max())
            return false;
    }
    Value = int(R);
    return true;
}

QString ShortQuote(QStringView S)
{
    constexpr qsizetype Max = 20;
    return S.size() <= Max ? S.toString() : S.left(Max).toString() + QStringLiteral("...");
}

QString IndentString(int Level)
{
    return QString(std::max(0, Level) * std::max(0, IndentSize), u' ');
}

QString DecodeFileText(const QByteArray& Bytes)
{
    return IsPlainLatin1(Bytes) ? QString::fromLatin1(Bytes) : FromWin1252(Bytes);
}

// ---- TXMLAttribute ----

TXMLAttribute::TXMLAttribute(const QString& AName, const QString& AValue, TXMLNode* ANode)
    : Name(AName), Node(ANode), Value(AValue)
{
}

QString TXMLAttribute::AsXML() const
{
    return Name + QLatin1StringView("=\"") + XMLEscape(Value) + u'"';
}

// ---- TXMLNode ----

TXMLNode::TXMLNode(const QString& AName, const QString& AValue, TXMLNode* AParent)
    : Name(AName), Parent(AParent), Value(AValue)
{
}

TXMLNode::~TXMLNode() = default;

TXMLAttribute* TXMLNode::AddAttribute(const QString& AName, const QString& AValue)
{
    return AttachAttribute(std::make_unique<TXMLAttribute>(AName, AValue, this));
}

TXMLAttribute* TXMLNode::AddIntAttribute(const QString& AName, int AValue)
{
    return AddAttribute(AName, QString::number(AValue));
}

TXMLAttribute* TXMLNode::AddBoolAttribute(const QString& AName, bool AValue)
{
    return AddAttribute(AName, AValue ? QStringLiteral("1") : QStringLiteral("0"));
}

TXMLAttribute* TXMLNode::AttachAttribute(std::unique_ptr<TXMLAttribute> A)
{
    if (!Attributes)
        Attributes = std::make_unique<TAttributeList>();
    if (!A)
        return nullptr;
    A->Node = this;
    Attributes->push_back(std::move(A));
    return Attributes->back().get();
}

TXMLNode* TXMLNode::AddChild(const QString& AName, const QString& AValue)
{
    return AttachChild(std::make_unique<TXMLNode>(AName, AValue, this));
}

TXMLNode* TXMLNode::AddBoolChild(const QString& AName, bool AValue)
{
    return AddChild(AName, AValue ? QStringLiteral("1") : QStringLiteral("0"));
}

TXMLNode* TXMLNode::AddIntChild(const QString& AName, int AValue)
{
    return AddChild(AName, QString::number(AValue));
}

TXMLNode* TXMLNode::AttachChild(std::unique_ptr<TXMLNode> N)
{
    if (!Children)
        Children = std::make_unique<TNodeList>();
    if (!N)
        return nullptr;
    N->Parent = this;
    Children->push_back(std::move(N));
    return Children->back().get();
}

void TXMLNode::DeleteAttribute(const QString& AName)
{
    TXMLAttribute* A = AttributeByName(AName);
    if (!A)
        return;
    auto It = std::find_if(Attributes->begin(), Attributes->end(),
                           [A](const auto& P) { return P.get() == A; });
    Attributes->erase(It);
}

void TXMLNode::DeleteChild(TXMLNode* N)
{
    if (!N || !Children)
        return;
    auto It = std::find_if(Children->begin(), Children->end(),
                           [N](const auto& P) { return P.get() == N; });
    if (It == Children->end())
        return;
    while (N->Children && !N->Children->empty())
        N->DeleteChild(N->Children->back().get());
    const int Index = int(It - Children->begin());
    // Keep the search position pointing at a live child.
    if (Current == N) {
        Current = nullptr;
        CurrentIndex = -1;
    } else if (Index < CurrentIndex) {
        --CurrentIndex;
    }
    Children->erase(It);
}

bool TXMLNode::Search(int Start, const QString& AName, const QString* AValue)
{
    Current = nullptr;
    CurrentIndex = -1;
    if (!Children)
        return false;
    for (int I = std::max(0, Start); I < int(Children->size()); ++I) {
        TXMLNode* C = (*Children)[size_t(I)].get();
        if (C->Name == AName && (!AValue || C->Value == *AValue)) {
            Current = C;
            CurrentIndex = I;
            return true;
        }
    }
    return false;
}

bool TXMLNode::FindFirst(const QString& AName) { return Search(0, AName, nullptr); }

bool TXMLNode::FindFirstWithValue(const QString& AName, const QString& AValue)
{
    return Search(0, AName, &AValue);
}

bool TXMLNode::FindNext(const QString& AName) { return Search(CurrentIndex + 1, AName, nullptr); }

bool TXMLNode::FindNextWithValue(const QString& AName, const QString& AValue)
{
    return Search(CurrentIndex + 1, AName, &AValue);
}

QString TXMLNode::GetPath() const
{
    return (Parent ? Parent->GetPath() : QString()) + u'\\' + Name;
}

int TXMLNode::GetLevel() const
{
    int Level = 0;
    for (const TXMLNode* P = Parent; P; P = P->Parent)
        ++Level;
    return Level;
}

TXMLAttribute* TXMLNode::AttributeByName(const QString& AName) const
{
    if (!Attributes)
        return nullptr;
    for (auto It = Attributes->rbegin(); It != Attributes->rend(); ++It)
        if ((*It)->Name == AName)
            return It->get();
    return nullptr;
}

TXMLAttribute* TXMLNode::GetAttribute(int Index) const
{
    if (!Attributes || Index < 0 || Index >= int(Attributes->size()))
        return nullptr;
    return (*Attributes)[size_t(Index)].get();
}

TXMLNode* TXMLNode::GetChild(int Index) const
{
    if (!Children || Index < 0 || Index >= int(Children->size()))
        return nullptr;
    return (*Children)[size_t(Index)].get();
}

int TXMLNode::AttributeCount() const { return Attributes ? int(Attributes->size()) : 0; }

int TXMLNode::ChildCount() const { return Children ? int(Children->size()) : 0; }

TXMLNode* TXMLNode::ChildByName(const QString& AName)
{
    if (!Children)
        return nullptr;
    return FindFirst(AName) ? Current : nullptr;
}

QString TXMLNode::ReadAttribute(const QString& AName, const QString& Default) const
{
    const TXMLAttribute* A = AttributeByName(AName);
    return A ? A->Value : Default;
}

int TXMLNode::ReadIntAttribute(const QString& AName, int Default) const
{
    const TXMLAttribute* A = AttributeByName(AName);
    if (!A)
        return Default;
    int R = 0;
    if (!TryStrToInt(A->Value, R))
        throw EDotwrightError(QStringLiteral("%1 value \"%2\" is not an integer")
                                  .arg(AName, ShortQuote(A->Value)));
    return R;
}

bool TXMLNode::ReadBoolAttribute(const QString& AName, bool Default) const
{
    const TXMLAttribute* A = AttributeByName(AName);
    return A ? A->Value == u"1" : Default;
}

QString TXMLNode::ReadChildValue(const QString& AName, const QString& Default)
{
    const TXMLNode* C = ChildByName(AName);
    return C ? C->Value : Default;
}

QString TXMLNode::GetXML() const
{
    QString Out;
    AppendXML(Out, GetLevel());
    return Out;
}

void TXMLNode::AppendXML(QString& Out, int Level) const
{
    TSizeSink Size;
    PutNode(Size, *this, Level);
    Out.reserve(Out.size() + Size.Size);
    TTextSink Text{Out};
    PutNode(Text, *this, Level);
}

// ---- the parser ----

namespace {

// Reads with a cursor: nothing is ever removed from the front of the text.
// Unit is char16_t for a QString, or uchar for file bytes that are plain
// Latin-1 (each byte then is its own character), which spares a decoded
// copy of the whole file.
template <typename Unit>
class TXMLReader {
public:
    TXMLReader(TXMLDocument& ADoc, const Unit* AText, qsizetype ASize)
        : Doc(ADoc), T(AText), N(ASize)
    {
    }

    void Run()
    {
        Doc.LimitReached = false;
        TXMLNode* Current = Doc.Root.get();
        int Depth = Current ? Current->GetLevel() : -1;
        SkipWhite();
        SkipToTag();
        while (!AtEnd()) {
            if (T[P] != u'<') {
                // Text we cannot place (e.g. after a child element) is dropped.
                SkipToTag();
                continue;
            }
            ++P;
            if (AtEnd())
                break;
            const char16_t C = T[P];
            if (C == u'/') {
                ++P;
                ReadName();
                if (!AtEnd() && T[P] == u'>')
                    ++P;
                // An end tag with no open element ends the parse.
                if (!Current)
                    break;
                Current = Current->Parent;
                --Depth;
            } else if (C == u'?') {
                QString H;
                if (ReadUpTo(u'>', H))
                    Doc.Header = H;
                Skip(1);
            } else if (C == u'!') {
                QString Dropped;
                ReadUpTo(u'>', Dropped);
                Skip(1);
            } else {
                const QString Name = ReadName();
                // A second top-level element, or nesting beyond reason, ends the parse.
                if ((!Current && Doc.Root) || Depth + 1 >= MaxXMLDepth || !Admit())
                    break;
                if (!Current) {
                    Doc.Root = std::make_unique<TXMLNode>(Name, QString(), nullptr);
                    Current = Doc.Root.get();
                } else {
                    Current = Current->AddChild(Name, QString());
                }
                ++Depth;
                if (!ReadAttributes(*Current))
                    continue;
                if (AtEnd())
                    break;
                if (T[P] == u'/') {
                    ++P;
                    if (!AtEnd() && T[P] == u'>')
                        ++P;
                    Current = Current->Parent;
                    --Depth;
                } else if (T[P] == u'>') {
                    ++P;
                    SkipWhite();
                    QString V;
                    // Text cut off by the end of the file is not kept.
                    if (!AtEnd() && T[P] != u'<' && ReadUpTo(u'<', V, true))
                        Current->Value = V;
                }
            }
            SkipWhite();
        }
    }

private:
    TXMLDocument& Doc;
    const Unit* const T;
    const qsizetype N;
    qsizetype P = 0;

    qsizetype Nodes = 0; // elements and attributes read

    bool AtEnd() const { return P >= N; }

    // Counts one more element or attribute; at the document's limit the parse ends instead.
    bool Admit()
    {
        if (Doc.NodeLimit < 0 || Nodes < Doc.NodeLimit) {
            ++Nodes;
            return true;
        }
        Doc.LimitReached = true;
        P = N;
        return false;
    }
    void Skip(qsizetype Count) { P = std::min(N, P + Count); }

    // The characters [Start, Start + Length) as a string.
    QString Text(qsizetype Start, qsizetype Length) const
    {
        if constexpr (sizeof(Unit) == 1)
            return QString::fromLatin1(reinterpret_cast<const char*>(T + Start), Length);
        else
            return QString(reinterpret_cast<const QChar*>(T + Start), Length);
    }

    void SkipWhite()
    {
        while (!AtEnd() && IsWhite(T[P]))
            ++P;
    }

    void SkipToTag() { P = ScanUpTo(u'<').Stop; }

    QString ReadName()
    {
        const qsizetype Start = P;
        while (!AtEnd() && IsNameChar(T[P]))
            ++P;
        return Text(Start, P - Start);
    }

    // Where the next C lies (N when there is none), noting on the way
    // whether a CR, LF or '&' comes before it. One pass, as the values hold
    // most of a project file.
    struct TScan {
        qsizetype Stop = 0;
        bool LineEnds = false;
        bool Ampersand = false;
    };

    TScan ScanUpTo(char16_t C) const
    {
        TScan R;
        const Unit* const End = T + N;
        const Unit* Q = T + P;
        // Units in 16 bytes.
        constexpr qsizetype Block = 16 / sizeof(Unit);
        while (Q < End) {
#ifdef __SSE2__
            // Skip a block at a time while none of its units is of interest.
            for (; End - Q >= Block; Q += Block) {
                const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Q));
                const __m128i Hit = _mm_or_si128(_mm_or_si128(Equal(V, C), Equal(V, u'\r')),
                                                 _mm_or_si128(Equal(V, u'\n'), Equal(V, u'&')));
                if (_mm_movemask_epi8(Hit) != 0)
                    break;
            }
#endif
            // One unit at a time through the block that held a hit (or the tail).
            for (const Unit* const BlockEnd = std::min(End, Q + Block); Q < BlockEnd; ++Q) {
                if (*Q == C) {
                    R.Stop = Q - T;
                    return R;
                }
                R.LineEnds = R.LineEnds || *Q == u'\r' || *Q == u'\n';
                R.Ampersand = R.Ampersand || *Q == u'&';
            }
        }
        R.Stop = N;
        return R;
    }

#ifdef __SSE2__
    // Each unit of V that equals the ASCII character U as all bits set.
    static __m128i Equal(__m128i V, char16_t U)
    {
        if constexpr (sizeof(Unit) == 1)
            return _mm_cmpeq_epi8(V, _mm_set1_epi8(char(U)));
        else
            return _mm_cmpeq_epi16(V, _mm_set1_epi16(short(U)));
    }
#endif

    // Everything before the next C, without CR and LF; C stays. False when
    // the text ends first (Out then holds the rest). With Unescape the
    // entities are replaced as well.
    bool ReadUpTo(char16_t C, QString& Out, bool Unescape = false)
    {
        const TScan S = ScanUpTo(C);
        if (!S.LineEnds) {
            Out = Text(P, S.Stop - P);
        } else {
            Out.resize(S.Stop - P);
            char16_t* const Begin = reinterpret_cast<char16_t*>(Out.data());
            char16_t* W = Begin;
            for (const Unit* Q = T + P; Q < T + S.Stop; ++Q)
                if (*Q != u'\r' && *Q != u'\n')
                    *W++ = *Q;
            Out.truncate(W - Begin);
        }
        P = S.Stop;
        if (Unescape && S.Ampersand)
            UnescapeInPlace(Out);
        return S.Stop < N;
    }

    // Name="value" pairs; false when the rest of the tag cannot be read, after
    // skipping to the next tag.
    bool ReadAttributes(TXMLNode& Node)
    {
        SkipWhite();
        while (!AtEnd() && IsLetter(T[P])) {
            const QString Name = ReadName();
            if (P + 1 >= N || T[P] != u'=' || T[P + 1] != u'"') {
                SkipToTag();
                return false;
            }
            P += 2;
            QString V;
            // A value cut off by the end of the file is not kept.
            if (!ReadUpTo(u'"', V, true) || !Admit())
                return false;
            ++P;
            Node.AddAttribute(Name, V);
            SkipWhite();
        }
        return true;
    }
};

} // namespace

// ---- TXMLDocument ----

TXMLDocument::TXMLDocument(const QString& AName, const QString& AFileName)
    : Name(AName), FileName(AFileName)
{
}

TXMLDocument::~TXMLDocument() { Clear(); }

void TXMLDocument::Clear()
{
    Root.reset();
    CurrentNode = nullptr;
}

bool TXMLDocument::Load(QString* ErrorText)
{
    if (FileName.isEmpty())
        return false;
    Clear();
    auto Fail = [ErrorText](const QString& Why) {
        if (ErrorText)
            *ErrorText = Why;
        return false;
    };
    // Opened without waiting and looked at before any read: a pipe would
    // wait for a writer for ever, and a device may never end.
    const int Fd = QT_OPEN(QFile::encodeName(FileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0)
        return Fail(QString::fromLocal8Bit(std::strerror(errno)));
    QT_STATBUF Info;
    if (QT_FSTAT(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
        ::close(Fd);
        return Fail(NotARegularFile(FileName));
    }
    QFile F;
    if (!F.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(Fd);
        return Fail(F.errorString());
    }
    QByteArray Bytes = F.readAll();
    if (F.error() != QFileDevice::NoError)
        return Fail(F.errorString());
    if (IsPlainLatin1(Bytes)) {
        TXMLReader<uchar>(*this, reinterpret_cast<const uchar*>(Bytes.constData()), Bytes.size()).Run();
    } else {
        const QString Text = FromWin1252(Bytes);
        Bytes = QByteArray(); // the file's bytes are not held beside the text while it is read
        ParseText(Text);
    }
    return true;
}

void TXMLDocument::LoadFromXML(const QString& S)
{
    if (S.isEmpty())
        return;
    Clear();
    ParseText(S);
}

void TXMLDocument::Parse(const QStringList& Lines)
{
    QString Text;
    for (const QString& L : Lines) {
        Text += L;
        Text += CRLF;
    }
    ParseText(Text);
}

void TXMLDocument::ParseText(QStringView Text)
{
    TXMLReader<char16_t>(*this, Text.utf16(), Text.size()).Run();
}

QByteArray TXMLDocument::GetFileBytes() const
{
    // Sized first, so that the bytes are made once in a buffer that never
    // grows: a project file runs to megabytes. Only a name or value holding a
    // lone CR or LF needs room beyond the text's length.
    TSizeSink Size;
    PutDocument(Size, *this);
    TFileBytesSink Out(Size.Size + 2);
    PutDocument(Out, *this);
    return Out.Finish();
}

bool TXMLDocument::Save(QString* ErrorText)
{
    return WriteWholeFile(FileName, GetFileBytes(), ErrorText);
}

bool TXMLDocument::SaveToFile(const QString& AFileName, QString* ErrorText)
{
    if (AFileName.isEmpty()) {
        if (ErrorText)
            *ErrorText = QStringLiteral("No file name");
        return false;
    }
    FileName = AFileName;
    return Save(ErrorText);
}

bool TXMLDocument::SelectPath(const QString& Path)
{
    CurrentNode = nullptr;
    if (Path.isEmpty())
        return false;
    QString Rest = Path;
    if (!Rest.startsWith(u'\\'))
        Rest.prepend(u'\\');
    if (!Rest.endsWith(u'\\'))
        Rest.append(u'\\');
    qsizetype P = 0;
    while (Rest.size() - P >= 2) {
        ++P; // the leading backslash
        qsizetype Q = Rest.indexOf(u'\\', P);
        const QString Segment = Rest.mid(P, Q - P);
        P = Q;
        if (!CurrentNode) {
            if (!Root || Root->Name != Segment)
                return false;
            CurrentNode = Root.get();
        } else if (CurrentNode->FindFirst(Segment)) {
            CurrentNode = CurrentNode->Current;
        } else {
            CurrentNode = nullptr;
            return false;
        }
    }
    return true;
}

void TXMLDocument::SetDefaultHeader()
{
    Header = QStringLiteral("?xml version=\"1.0\" encoding=\"iso-8859-1\"?");
}

QString TXMLDocument::GetHeaderTag() const
{
    if (std::all_of(Header.cbegin(), Header.cend(), [](QChar C) { return C == u' '; }))
        return QString();
    return u'<' + Header + u'>';
}

QString TXMLDocument::GetXML() const
{
    TSizeSink Size;
    PutDocument(Size, *this);
    QString Out;
    Out.reserve(Size.Size);
    TTextSink Text{Out};
    PutDocument(Text, *this);
    return Out;
}
