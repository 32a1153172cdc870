// The export filters through Execute: whole generated texts compared with the
// files in tests/data/export, the edge cases of every writer, the errors, and
// the mikroC table compiled by the system's C compiler.
#include "../Golden.h"
#include "CompileSupport.h"
#include "DwError.h"
#include "unExportFilters.h"
#include "unHelpers.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr TColor clRed = 0x0000FF;

using TPicture = std::vector<const char*>;

// Rows top to bottom: '#' ink, 'r' a red pixel (still set), '.' clear.
std::unique_ptr<TCharClass> CharFromPicture(int Code, const TPicture& Rows)
{
    const int H = int(Rows.size());
    const int W = int(qstrlen(Rows[0]));
    auto C = std::make_unique<TCharClass>(Code, W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            C->SetCellValue(X, Y, Rows[Y][X] == '#' ? clInk : Rows[Y][X] == 'r' ? clRed : clClear);
    return C;
}

std::unique_ptr<TGLCDFont> FontFromPictures(const QString& Name, const std::map<int, TPicture>& Chars)
{
    auto F = std::make_unique<TGLCDFont>(Name);
    F->RangeFrom = Chars.begin()->first;
    F->RangeTo = Chars.rbegin()->first;
    for (const auto& [Code, Rows] : Chars)
        F->SetChar(Code, CharFromPicture(Code, Rows));
    return F;
}

// A font of W x H characters for codes From..To; Set(code, x, y) says which pixels are ink.
std::unique_ptr<TGLCDFont> MakeFont(int W, int H, int From, int To,
                                    const std::function<bool(int, int, int)>& Set)
{
    auto F = std::make_unique<TGLCDFont>(QStringLiteral("Generated"));
    F->RangeFrom = From;
    F->RangeTo = To;
    for (int Code = From; Code <= To; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, W, H);
        for (int X = 0; X < W; ++X)
            for (int Y = 0; Y < H; ++Y)
                C->SetCellValue(X, Y, Set(Code, X, Y) ? clInk : clClear);
        F->SetChar(Code, std::move(C));
    }
    return F;
}

std::unique_ptr<TGLCDFont> TestFont(const QString& Id)
{
    if (Id == "Tiny")
        return FontFromPictures(QStringLiteral("Tiny Own"), {
            {32, {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
            {33, {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
            {34, {"####.", "#..#.", "#..#.", "#rr#.", "#..#.", "#..#.", "####."}},
        });
    if (Id == "Eight")
        return FontFromPictures(QStringLiteral("Eight"), {
            {65, {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#", "#..#"}},
            {66, {"#...", "....", "....", "....", "....", "....", "....", "...#"}},
            {67, {"....", "....", "....", "....", "....", "....", "....", "...."}},
        });
    if (Id == "Nine")
        // Column bytes 1,1 / 255,0 / 128,0 and one pixel in the short lower band.
        return FontFromPictures(QStringLiteral("Nine"), {
            {48, {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", ".##", "#.."}},
            {49, {"...", "...", "...", "...", "...", "...", "...", "...", ".r."}},
        });
    if (Id == "Tall") {
        TPicture Space(16, "......"), Diagonal(16, "......");
        Space[0] = "#.....";
        Space[15] = ".....#";
        const char* Steps[] = {"#.....", ".#....", "..#...", "...#..", "....#.", ".....#"};
        for (int I = 0; I < 6; ++I)
            Diagonal[I] = Steps[I];
        return FontFromPictures(QStringLiteral("Tall"), {{32, Space}, {33, Diagonal}});
    }
    // 10 x 16, codes 32..45, used widths 8 to 10, code 41 empty.
    auto F = MakeFont(10, 16, 32, 45, [](int Code, int X, int Y) {
        return Code != 41 && X < 10 - Code % 3 && (X * 3 + Y * 5 + Code) % 4 < 2;
    });
    F->FontName = QStringLiteral("Wide Own");
    return F;
}

enum TWriter { wSwordfish, wProton, wMikro };

std::unique_ptr<TSwordfishBasicFilter> MakeFilter(TWriter Writer, const TGLCDFont* Font, bool Prop, int First,
                                                  int Last, const QString& Name, int Language = 0,
                                                  bool Vornex = false)
{
    switch (Writer) {
    case wSwordfish:
        return std::make_unique<TSwordfishBasicFilter>(Font, Prop, First, Last, Name);
    case wProton:
        return std::make_unique<TProtonBasicFilter>(Font, Prop, First, Last, Name);
    case wMikro: {
        auto M = std::make_unique<TMikroElektronikaFilter>(Font, Prop, First, Last, Name);
        M->SetLanguage(std::uint8_t(Language));
        M->UseVornexLib = Vornex;
        return M;
    }
    }
    return nullptr;
}

QString Run(TWriter Writer, const TGLCDFont* Font, bool Prop, int First, int Last, const QString& Name,
            int Language = 0, bool Vornex = false)
{
    return MakeFilter(Writer, Font, Prop, First, Last, Name, Language, Vornex)->Execute();
}

QStringList Lines(const QString& Text)
{
    QStringList L = Text.split(QStringLiteral("\r\n"));
    if (!L.isEmpty() && L.last().isEmpty())
        L.removeLast();
    return L;
}

QString ErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EDotwrightError& E) {
        return E.Message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class tst_unExportFilters : public QObject {
    Q_OBJECT

private slots:
    void ExpectedTexts_data();
    void ExpectedTexts();
    void NameChoice_data();
    void NameChoice();
    void NoFont();
    void MikroWithoutLanguage();
    void SwordfishFixedWholeAndPartRange();
    void SwordfishProportionalEmptyChars();
    void SwordfishProportional256Codes();
    void SwordfishProportionalOffsetLimit();
    void NegativeCountIsEmptyRange_data();
    void NegativeCountIsEmptyRange();
    void MissingCharacter_data();
    void MissingCharacter();
    void CharacterOfOtherSize();
    void ProtonEmptyCharAndLabelsOnly();
    void MikroSizes_data();
    void MikroSizes();
    void VornexEmptyCharsAndOneColumnFont();
    void CommentsOfControlAnd8BitCodes();
    void MikroCBackslash();
    void WrapAtBreakChars_data();
    void WrapAtBreakChars();
    void MikroCCompiles_data();
    void MikroCCompiles();
};

void tst_unExportFilters::ExpectedTexts_data()
{
    QTest::addColumn<QString>("Font");
    QTest::addColumn<int>("Writer");
    QTest::addColumn<bool>("Prop");
    QTest::addColumn<int>("First");
    QTest::addColumn<int>("Last");
    QTest::addColumn<QString>("Name");
    QTest::addColumn<int>("Language");
    QTest::addColumn<bool>("Vornex");
    QTest::addColumn<QString>("File");

    auto Row = [](const char* File, const char* Font, TWriter W, bool Prop, int First, int Last,
                  const char* Name, int Lang = 0, bool Vornex = false) {
        QTest::newRow(File) << QString::fromLatin1(Font) << int(W) << Prop << First << Last
                            << QString::fromLatin1(Name) << Lang << Vornex
                            << QString::fromLatin1(File) + QStringLiteral(".txt");
    };
    Row("tiny_swordfish_fixed", "Tiny", wSwordfish, false, 32, 34, "Tiny Font");
    Row("tiny_swordfish_prop", "Tiny", wSwordfish, true, 32, 34, "Tiny Font");
    Row("tiny_swordfish_fixed_none", "Tiny", wSwordfish, false, 35, 34, "Tiny Font");
    Row("tiny_swordfish_prop_none", "Tiny", wSwordfish, true, 35, 34, "Tiny Font");
    Row("tiny_proton", "Tiny", wProton, true, 32, 34, "Tiny Font");
    Row("tiny_proton_below32", "Tiny", wProton, true, 32, 31, "Tiny Font");
    Row("tiny_mikrobasic_glcd", "Tiny", wMikro, true, 32, 34, "Tiny Font", 1);
    Row("tiny_mikrobasic_vornex", "Tiny", wMikro, true, 32, 34, "Tiny Font", 1, true);
    Row("eight_swordfish_fixed", "Eight", wSwordfish, false, 65, 67, "Eight");
    Row("eight_mikropascal_glcd", "Eight", wMikro, true, 65, 67, "Eight", 2);
    Row("eight_mikropascal_vornex", "Eight", wMikro, true, 65, 67, "Eight", 2, true);
    Row("eight_mikropascal_one", "Eight", wMikro, true, 66, 66, "Eight", 2);
    Row("nine_swordfish_prop", "Nine", wSwordfish, true, 48, 49, "Nine");
    Row("nine_proton", "Nine", wProton, true, 48, 49, "Nine");
    Row("nine_mikroc_glcd", "Nine", wMikro, true, 48, 49, "Nine", 3);
    Row("nine_mikroc_vornex", "Nine", wMikro, true, 48, 49, "Nine", 3, true);
    Row("tall_swordfish_fixed", "Tall", wSwordfish, false, 32, 33, "Tall");
    Row("tall_swordfish_prop", "Tall", wSwordfish, true, 32, 33, "Tall");
    Row("tall_proton", "Tall", wProton, true, 32, 33, "Tall");
    Row("tall_mikroc_vornex", "Tall", wMikro, true, 32, 33, "Tall", 3, true);
    Row("wide_proton_40_45", "Wide", wProton, true, 40, 45, "Wide Range Font");
    Row("wide_swordfish_prop", "Wide", wSwordfish, true, 32, 45, "Wide Range Font");
}

void tst_unExportFilters::ExpectedTexts()
{
    QFETCH(QString, Font);
    QFETCH(int, Writer);
    QFETCH(bool, Prop);
    QFETCH(int, First);
    QFETCH(int, Last);
    QFETCH(QString, Name);
    QFETCH(int, Language);
    QFETCH(bool, Vornex);
    QFETCH(QString, File);
    const auto F = TestFont(Font);
    CompareWithGolden(ToWin1252(Run(TWriter(Writer), F.get(), Prop, First, Last, Name, Language, Vornex)), File);
}

void tst_unExportFilters::NameChoice_data()
{
    QTest::addColumn<QString>("Name");
    QTest::addColumn<QString>("Own"); // the font's own name
    QTest::addColumn<QString>("Declaration");
    QTest::newRow("typed") << "My Font" << "Tiny Own" << "Public Const My_Font(19) As Byte =";
    QTest::newRow("blanks kept") << " My Font " << "Tiny Own" << "Public Const _My_Font_(19) As Byte =";
    QTest::newRow("blanks only") << "   " << "Tiny Own" << "Public Const Tiny_Own(19) As Byte =";
    QTest::newRow("empty") << "" << "Tiny Own" << "Public Const Tiny_Own(19) As Byte =";
    // A project's name may hold a line break (imported, or "&#10;" in the file).
    QTest::newRow("line break in the font's name") << "" << "Tiny\r\nOwn" << "Public Const TinyOwn(19) As Byte =";
    QTest::newRow("control characters only") << "\x01\t" << "Tiny Own" << "Public Const Tiny_Own(19) As Byte =";
}

void tst_unExportFilters::NameChoice()
{
    QFETCH(QString, Name);
    QFETCH(QString, Own);
    QFETCH(QString, Declaration);
    const auto F = TestFont("Tiny");
    F->FontName = Own;
    TSwordfishBasicFilter Filter(F.get(), false, 32, 34, Name);
    const QStringList Text = Lines(Filter.Execute());
    QCOMPARE(Text.value(1), Declaration);
    QVERIFY(!Text.join(QString()).contains(QRegularExpression(QStringLiteral("[\\x00-\\x1f]")))); // every line ends in CR LF
}

void tst_unExportFilters::NoFont()
{
    QCOMPARE(Run(wSwordfish, nullptr, false, 32, 34, "X"), QString());
    QCOMPARE(Run(wSwordfish, nullptr, true, 32, 34, "X"), QString());
    QCOMPARE(Run(wProton, nullptr, true, 32, 34, "X"), QString());
    QCOMPARE(Run(wMikro, nullptr, true, 32, 34, "X", 3), QString());
    TSwordfishBasicFilter Filter(nullptr, false, 32, 34, "  ");
    QCOMPARE(Filter.FontName, QString());
}

void tst_unExportFilters::MikroWithoutLanguage()
{
    const auto F = TestFont("Tiny");
    const QString Expected = QStringLiteral("Language Not Set before call to TMikroElektronikaFilter.Execute()");
    // Checked before the font.
    QCOMPARE(ErrorOf([&] { (void)Run(wMikro, F.get(), true, 32, 34, "X", 0); }), Expected);
    QCOMPARE(ErrorOf([&] { (void)Run(wMikro, nullptr, true, 32, 34, "X", 0); }), Expected);
    // Proportional false runs the Swordfish fixed-width table.
    QCOMPARE(Run(wMikro, F.get(), false, 32, 34, "Tiny Font", 2), Run(wSwordfish, F.get(), false, 32, 34, "Tiny Font"));
}

void tst_unExportFilters::SwordfishFixedWholeAndPartRange()
{
    const auto F = MakeFont(5, 8, 32, 126, [](int Code, int X, int Y) { return (Code + X * 2 + Y) % 3 == 0; });
    const QStringList Whole = Lines(Run(wSwordfish, F.get(), false, 32, 126, "F"));
    QCOMPARE(Whole.size(), 4 + 95 + 2);
    QCOMPARE(Whole[1], QStringLiteral("Public Const F(479) As Byte ="));
    QCOMPARE(Whole[3], QStringLiteral("   $81,$5F,$05,$08,"));
    const QRegularExpression Data(QStringLiteral("^   (\\$[0-9A-F]{2},){4}\\$[0-9A-F]{2}(,?) +// Code for .$"));
    for (int I = 4; I < 4 + 95; ++I) {
        const auto M = Data.match(Whole[I]);
        QVERIFY2(M.hasMatch(), qPrintable(Whole[I]));
        QCOMPARE(M.captured(2), I < 4 + 94 ? QStringLiteral(",") : QString());
        QCOMPARE(Whole[I].indexOf(QStringLiteral("//")), 83);
    }
    QCOMPARE(Whole.mid(99), QStringList({")", "#endif"}));

    const QStringList Part = Lines(Run(wSwordfish, F.get(), false, 32, 64, "F"));
    QCOMPARE(Part[3], QStringLiteral("   $81,$21,$05,$08,"));
    QCOMPARE(Part.size(), 4 + 33 + 2);
    QVERIFY(Part[4 + 32].endsWith(QStringLiteral("// Code for @")));
    QVERIFY(!Part[4 + 32].left(83).trimmed().endsWith(','));
    QVERIFY(Part[4 + 31].left(83).trimmed().endsWith(','));
}

void tst_unExportFilters::SwordfishProportionalEmptyChars()
{
    // Height 12: two bytes per column; every character is empty, width byte $01.
    const auto F = MakeFont(4, 12, 65, 67, [](int, int, int) { return false; });
    const QStringList L = Lines(Run(wSwordfish, F.get(), true, 65, 67, "E"));
    const QStringList Expected = {
        "#ifndef GLCD_XFONT // scan along y",
        "Public Const E(24) As Byte =",
        "(",
        "   $82,$04,$00,$0C,",
        "   $08,$00, // 1",
        "   $0B,$00, // 2",
        "   $0E,$00, // 3",
        "   $11,$00, // 4",
        "   " + PadRight("$01,$00,$00,", 80, ' ') + "// Code for A",
        "   " + PadRight("$01,$00,$00,", 80, ' ') + "// Code for B",
        "   " + PadRight("$01,$00,$00,", 80, ' ') + "// Code for C",
        "   " + PadRight("$01,$00,$00", 80, ' ') + "// single pixel letter space",
        ")",
        "#endif",
    };
    QCOMPARE(L, Expected);
}

void tst_unExportFilters::SwordfishProportional256Codes()
{
    const auto F = MakeFont(3, 8, 0, 255, [](int Code, int X, int Y) { return X == Code % 3 && Y == 0; });
    const QStringList L = Lines(Run(wSwordfish, F.get(), true, 0, 255, "All"));
    QCOMPARE(L[3], QStringLiteral("   $82,$101,$00,$08,"));
    QCOMPARE(L[4], QStringLiteral("   $02,$02, // 1"));
    // Used widths 1, 2, 3 in turn: 1 + w bytes each.
    QCOMPARE(L[5], QStringLiteral("   $04,$02, // 2"));
    QCOMPARE(L[6], QStringLiteral("   $07,$02, // 3"));
    QCOMPARE(L[4 + 256], QStringLiteral("   $01,$05, // 257"));
    QCOMPARE(L.size(), 4 + 257 + 256 + 3);
}

void tst_unExportFilters::SwordfishProportionalOffsetLimit()
{
    // 256 characters of 50 x 50, all columns used: 1 + 350 bytes each, past 65535.
    const auto F = MakeFont(50, 50, 0, 255, [](int, int X, int Y) { return X == Y; });
    QCOMPARE(ErrorOf([&] { (void)Run(wSwordfish, F.get(), true, 0, 255, "Big"); }),
             QStringLiteral("Cannot export: the font is too large for a proportional table (offsets above 65535)"));
    // 185 characters end at offset 65307; 186 would reach 65660.
    const QStringList L = Lines(Run(wSwordfish, F.get(), true, 0, 184, "Big"));
    QCOMPARE(L[4 + 185], QStringLiteral("   $1B,$FF, // 186"));
    QCOMPARE(ErrorOf([&] { (void)Run(wSwordfish, F.get(), true, 0, 185, "Big"); }).left(14),
             QStringLiteral("Cannot export:"));
    // The fixed table has no offsets.
    QVERIFY(!Run(wSwordfish, F.get(), false, 0, 255, "Big").isEmpty());
}

void tst_unExportFilters::NegativeCountIsEmptyRange_data()
{
    QTest::addColumn<int>("Writer");
    QTest::addColumn<bool>("Prop");
    QTest::addColumn<int>("Language");
    QTest::addColumn<bool>("Vornex");
    QTest::newRow("swordfish fixed") << int(wSwordfish) << false << 0 << false;
    QTest::newRow("swordfish prop") << int(wSwordfish) << true << 0 << false;
    QTest::newRow("proton") << int(wProton) << true << 0 << false;
    QTest::newRow("mikroBasic") << int(wMikro) << true << 1 << false;
    QTest::newRow("mikroC vornex") << int(wMikro) << true << 3 << true;
}

void tst_unExportFilters::NegativeCountIsEmptyRange()
{
    QFETCH(int, Writer);
    QFETCH(bool, Prop);
    QFETCH(int, Language);
    QFETCH(bool, Vornex);
    const auto F = TestFont("Tiny");
    const QString Empty = Run(TWriter(Writer), F.get(), Prop, 35, 34, "T", Language, Vornex);
    QCOMPARE(Run(TWriter(Writer), F.get(), Prop, 200, 34, "T", Language, Vornex), Empty);
    // Proton still labels codes 32 to LastChar, without data.
    QVERIFY(Writer == wProton ? !Empty.contains(QRegularExpression(QStringLiteral("CDATA \\d")))
                              : !Empty.contains(QStringLiteral("Code for")));
    if (Writer == wMikro)
        QVERIFY(Empty.contains(QStringLiteral("[0]")) || Empty.contains(QStringLiteral("[] = {")));
}

void tst_unExportFilters::MissingCharacter_data()
{
    QTest::addColumn<int>("Writer");
    QTest::addColumn<bool>("Prop");
    QTest::addColumn<int>("Language");
    QTest::addColumn<bool>("Vornex");
    QTest::addColumn<int>("First");
    QTest::addColumn<int>("Last");
    QTest::addColumn<int>("Missing");
    QTest::newRow("fixed past the range") << int(wSwordfish) << false << 0 << false << 32 << 40 << 35;
    QTest::newRow("prop before the range") << int(wSwordfish) << true << 0 << false << 30 << 33 << 30;
    QTest::newRow("proton past the range") << int(wProton) << true << 0 << false << 33 << 36 << 35;
    QTest::newRow("proton past 255") << int(wProton) << true << 0 << false << 300 << 299 << 256;
    QTest::newRow("mikro glcd") << int(wMikro) << true << 2 << false << 32 << 255 << 35;
    QTest::newRow("mikro vornex negative code") << int(wMikro) << true << 1 << true << -1 << 33 << -1;
}

void tst_unExportFilters::MissingCharacter()
{
    QFETCH(int, Writer);
    QFETCH(bool, Prop);
    QFETCH(int, Language);
    QFETCH(bool, Vornex);
    QFETCH(int, First);
    QFETCH(int, Last);
    QFETCH(int, Missing);
    const auto F = TestFont("Tiny");
    QCOMPARE(ErrorOf([&] { (void)Run(TWriter(Writer), F.get(), Prop, First, Last, "T", Language, Vornex); }),
             QStringLiteral("Cannot export: the font has no character of code %1").arg(Missing));
}

void tst_unExportFilters::CharacterOfOtherSize()
{
    auto F = TestFont("Eight");
    F->GetChar(66)->SetWidth(3);
    const QString Expected = QStringLiteral("Cannot export: character 66 is 3 x 8, the font is 4 x 8");
    QCOMPARE(ErrorOf([&] { (void)Run(wSwordfish, F.get(), false, 65, 67, "E"); }), Expected);
    QCOMPARE(ErrorOf([&] { (void)Run(wMikro, F.get(), true, 65, 67, "E", 1, true); }), Expected);
    // The proportional tables read each character by its own size.
    QVERIFY(Run(wSwordfish, F.get(), true, 65, 67, "E")
                .contains("   " + PadRight("$01,$01,", 80, ' ') + "// Code for B\r\n"));
    F->SetChar(67, std::make_unique<TCharClass>(67, 0, 0));
    QCOMPARE(ErrorOf([&] { (void)Run(wProton, F.get(), true, 65, 67, "E"); }),
             QStringLiteral("Cannot export: character 67 has no pixels"));
}

void tst_unExportFilters::ProtonEmptyCharAndLabelsOnly()
{
    // One empty 8-high character and one of used width 5.
    const auto F = MakeFont(6, 8, 32, 33, [](int Code, int X, int Y) { return Code == 33 && X < 5 && Y == X; });
    const QStringList L = Lines(Run(wProton, F.get(), true, 32, 33, "My  font"));
    QCOMPARE(L[4], QStringLiteral("'FONT information for 8 pixel MY  FONT"));
    QCOMPARE(L[10], QStringLiteral("MY__FONT:"));
    QCOMPARE(L[11], QStringLiteral("   CDATA Word 8    ' Font is 8 pixels high"));
    QCOMPARE(L[12], QStringLiteral("   CDATA MY__FONT_32,MY__FONT_33"));
    QCOMPARE(L[16], QStringLiteral("'FONT data for 8 pixels My  font"));
    QCOMPARE(L.mid(18), QStringList({
        PadRight("MY__FONT_32:-", 80, ' ') + "' Code for char  ",
        "   CDATA 2,0,0,0",
        PadRight("MY__FONT_33:-", 80, ' ') + "' Code for char !",
        "   CDATA 6,1,2,4,8,16,0,0",
    }));
    // LastChar below 32: the label row alone, no character lines.
    const QStringList Low = Lines(Run(wProton, F.get(), true, 0, 20, "X"));
    QCOMPARE(Low.size(), 18);
    QCOMPARE(Low[12], QStringLiteral("   CDATA "));
}

void tst_unExportFilters::MikroSizes_data()
{
    QTest::addColumn<int>("Language");
    QTest::addColumn<bool>("Vornex");
    QTest::addColumn<QString>("Declaration");
    QTest::addColumn<QString>("Closing");
    QTest::newRow("mikroBasic glcd") << 1 << false << "const F_5x7 as byte[480] = (" << "        )";
    QTest::newRow("mikroBasic vornex") << 1 << true << "const F_5x7 as byte[576] = (" << "        )";
    QTest::newRow("mikroPascal glcd") << 2 << false << "const F_5x7 : array[480] of byte = (" << "        );";
    QTest::newRow("mikroC vornex") << 3 << true << "const unsigned short F_5x7[] = {" << "        };";
    QTest::newRow("language 4") << 4 << false << "" << "        ";
}

void tst_unExportFilters::MikroSizes()
{
    QFETCH(int, Language);
    QFETCH(bool, Vornex);
    QFETCH(QString, Declaration);
    QFETCH(QString, Closing);
    const auto F = MakeFont(5, 7, 32, 127, [](int Code, int X, int Y) { return (Code * X + Y) % 4 == 1; });
    const QStringList L = Lines(Run(wMikro, F.get(), true, 32, 127, "F 5x7", Language, Vornex));
    QCOMPARE(L.size(), 9 + 96 + 2);
    QCOMPARE(L[8], Declaration);
    QCOMPARE(L[9 + 96], Closing);
    QCOMPARE(L[9 + 96 + 1], QString());
}

void tst_unExportFilters::VornexEmptyCharsAndOneColumnFont()
{
    const auto Empty = MakeFont(5, 8, 32, 33, [](int, int, int) { return false; });
    const QStringList L = Lines(Run(wMikro, Empty.get(), true, 32, 33, "E", 3, true));
    QVERIFY(L[9].startsWith(QStringLiteral("        0x03, 0x00, 0x00, 0x00, 0x00, 0x00, ")));
    QVERIFY(L[10].startsWith(QStringLiteral("        0x01, 0x00, 0x00, 0x00, 0x00, 0x00   ")));

    const auto Narrow = MakeFont(1, 8, 65, 67, [](int Code, int, int Y) { return Y == Code - 65; });
    const QStringList N = Lines(Run(wMikro, Narrow.get(), true, 65, 67, "N", 1, true));
    QCOMPARE(N.mid(9, 3), QStringList({
        "        " + PadRight("$01, $01, ", 40, ' ') + " ' Code for char A",
        "        " + PadRight("$01, $02, ", 40, ' ') + " ' Code for char B",
        "        " + PadRight("$01, $04  ", 40, ' ') + " ' Code for char C",
    }));
}

void tst_unExportFilters::CommentsOfControlAnd8BitCodes()
{
    const auto F = MakeFont(2, 8, 0, 255, [](int Code, int X, int) { return X == 0 && Code % 2; });
    for (auto [Writer, Prop, Language] : {std::tuple{wSwordfish, false, 0}, std::tuple{wSwordfish, true, 0},
                                          std::tuple{wProton, true, 0}, std::tuple{wMikro, true, 1},
                                          std::tuple{wMikro, true, 3}}) {
        const QByteArray Bytes = ToWin1252(Run(Writer, F.get(), Prop, 0, 255, "F", Language));
        // No raw control byte: CR only before LF, LF only after CR.
        for (qsizetype I = 0; I < Bytes.size(); ++I) {
            const auto B = static_cast<unsigned char>(Bytes[I]);
            if (B == '\r')
                QVERIFY(I + 1 < Bytes.size() && Bytes[I + 1] == '\n');
            else if (B == '\n')
                QVERIFY(I > 0 && Bytes[I - 1] == '\r');
            else
                QVERIFY2(B >= 32 && B != 127, qPrintable(QStringLiteral("byte %1 at %2").arg(B).arg(I)));
        }
        // Proton starts at code 32.
        for (const char* Shown : {" <NUL>\r\n", " <CR>\r\n", " <LF>\r\n", " <US>\r\n", " <DEL>\r\n"})
            QVERIFY2(Bytes.contains(Shown) || (Writer == wProton && Shown[2] != 'D'), Shown);
        // The 8-bit characters are written as their own byte.
        QVERIFY(Bytes.contains(QByteArray(" \x80\r\n")));
        QVERIFY(Bytes.contains(QByteArray(" \xFF\r\n")));
        QVERIFY(Bytes.contains(QByteArray(" \x81\r\n")));
    }
    QCOMPARE(CommentChar(0), QStringLiteral("<NUL>"));
    QCOMPARE(CommentChar(9), QStringLiteral("<HT>"));
    QCOMPARE(CommentChar(31), QStringLiteral("<US>"));
    QCOMPARE(CommentChar(32), QStringLiteral(" "));
    QCOMPARE(CommentChar(127), QStringLiteral("<DEL>"));
    QCOMPARE(ToWin1252(CommentChar(0x80)), QByteArray("\x80"));
}

void tst_unExportFilters::MikroCBackslash()
{
    const auto F = MakeFont(3, 8, 91, 93, [](int, int X, int Y) { return X == Y; });
    const QStringList C = Lines(Run(wMikro, F.get(), true, 91, 93, "Slash\\", 3));
    QCOMPARE(C[5], QStringLiteral("//GLCD FontName : Slash\\ (backslash)"));
    QCOMPARE(C[10], "        " + PadRight("0x01, 0x02, 0x04, ", 40, ' ') + " // Code for char \\ (backslash)");
    for (const QString& Line : C)
        QVERIFY2(!Line.trimmed().endsWith('\\'), qPrintable(Line));
    // Basic and Pascal comments do not continue; they keep the character alone.
    const QStringList P = Lines(Run(wMikro, F.get(), true, 91, 93, "Slash\\", 2));
    QCOMPARE(P[5], QStringLiteral("//GLCD FontName : Slash\\"));
    QVERIFY(P[10].endsWith(QStringLiteral("// Code for char \\")));
    // A blank after the backslash still continues a C line.
    const QStringList Blank = Lines(Run(wMikro, F.get(), true, 91, 93, "Slash\\ ", 3));
    QCOMPARE(Blank[5], QStringLiteral("//GLCD FontName : Slash\\  (backslash)"));
}

void tst_unExportFilters::WrapAtBreakChars_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<int>("MaxCol");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("comma at the limit") << "AAAA,BBBB,CCCC" << 10 << "AAAA,BBBB,|CCCC";
    QTest::newRow("earlier comma") << "AAAA,BBBBBB,C" << 10 << "AAAA,|BBBBBB,C";
    QTest::newRow("fits") << "AAAA,BBBBB" << 10 << "AAAA,BBBBB";
    QTest::newRow("short") << "A,B" << 10 << "A,B";
    QTest::newRow("empty") << "" << 10 << "";
    QTest::newRow("no comma in reach") << "AAAAAAAAAAAA,B,C" << 10 << "AAAAAAAAAAAA,|B,C";
    QTest::newRow("no comma at all") << "AAAAAAAAAAAAAAA" << 10 << "AAAAAAAAAAAAAAA";
    QTest::newRow("several pieces") << "1,2,3,4,5,6,7,8,9" << 4 << "1,2,|3,4,|5,6,|7,8,|9";
    QTest::newRow("comma inside quotes") << "'A,B,C,D,E',F,G" << 6 << "'A,B,C,D,E',|F,G";
    QTest::newRow("double quotes") << "\"A,B,C\",D,E" << 4 << "\"A,B,C\",|D,E";
    // A name's lone quote: no break once it opens, not even at a comma before it.
    QTest::newRow("quote after a comma, never closed") << "A,'B,C,D" << 4 << "A,'B,C,D";
}

void tst_unExportFilters::WrapAtBreakChars()
{
    QFETCH(QString, Text);
    QFETCH(int, MaxCol);
    QFETCH(QString, Expected);
    QCOMPARE(::WrapAtBreakChars(Text, QStringLiteral("|"), MaxCol), Expected);
}

void tst_unExportFilters::MikroCCompiles_data()
{
    QTest::addColumn<bool>("Vornex");
    QTest::newRow("glcd") << false;
    QTest::newRow("vornex") << true;
}

// The mikroC table of a 95-character font, compiled with the main below; the
// program prints the array's length and bytes.
void tst_unExportFilters::MikroCCompiles()
{
    QFETCH(bool, Vornex);
    const QString Compiler = CompileTest::FindCCompiler();
    QVERIFY2(!Compiler.isEmpty(), "no C compiler found");

    // Column bytes chosen first, pixels made from them; every fourth glyph
    // leaves its right columns blank, the space is empty.
    constexpr int W = 6;
    auto ColumnByte = [](int Code, int X) {
        if (Code == 32 || (Code % 4 == 0 && X >= 3))
            return 0;
        return (Code * 37 + X * 59 + 11) % 255 + 1;
    };
    const auto F = MakeFont(W, 8, 32, 126, [&](int Code, int X, int Y) { return (ColumnByte(Code, X) >> Y) & 1; });
    std::vector<int> Expected;
    for (int Code = 32; Code <= 126; ++Code) {
        if (Vornex)
            Expected.push_back(Code == 32 ? W / 2 + 1 : Code % 4 == 0 ? 3 : W);
        for (int X = 0; X < W; ++X)
            Expected.push_back(ColumnByte(Code, X));
    }

    const QString Text = Run(wMikro, F.get(), true, 32, 126, "Test Font", 3, Vornex);
    // The bytes as the filter wrote them.
    std::vector<int> Written;
    const QRegularExpression Hex(QStringLiteral("0x([0-9A-F]{2})"));
    for (const QString& Line : Lines(Text))
        if (Line.startsWith(QStringLiteral("        0x")))
            for (const auto& M : Hex.globalMatch(Line.section(QStringLiteral("//"), 0, 0)))
                Written.push_back(M.captured(1).toInt(nullptr, 16));
    QCOMPARE(Written, Expected);

    QTemporaryDir Dir;
    QVERIFY(Dir.isValid());
    QFile Table(Dir.filePath("font.c"));
    QVERIFY(Table.open(QIODevice::WriteOnly));
    Table.write(ToWin1252(Text));
    Table.close();
    QList<QByteArray> Out;
    int ExitCode = -1;
    CompileTest::RunTableProgram(Compiler, Dir.path(), Out, ExitCode);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(ExitCode, 0);
    std::vector<int> Compiled;
    for (qsizetype I = 1; I < Out.size(); ++I)
        Compiled.push_back(Out[I].toInt());
    QCOMPARE(Out[0].toInt(), int(Expected.size()));
    QCOMPARE(Compiled, Expected);
}

QTEST_GUILESS_MAIN(tst_unExportFilters)
#include "tst_unExportFilters.moc"
