#include "CharClasses.h"
#include "DwError.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

int Ink(const TCharClass& C)
{
    return int(std::count(C.Cells.begin(), C.Cells.end(), clInk));
}

// Ink in column X.
int ColumnInk(const TCharClass& C, int X)
{
    int N = 0;
    for (int Y = 0; Y < C.Height; ++Y)
        N += C.GetCellValue(X, Y) == clInk;
    return N;
}

// The slots From..To as cells, to compare two imports at once.
std::vector<TColor> AllCells(const TGLCDFont& F, int From, int To)
{
    std::vector<TColor> R;
    for (int Code = From; Code <= To; ++Code)
        R.insert(R.end(), F.GetChar(Code)->Cells.begin(), F.GetChar(Code)->Cells.end());
    return R;
}

// Shows a glyph as text in a failure message.
QString Picture(const TCharClass& C)
{
    QString S;
    for (int Y = 0; Y < C.Height; ++Y) {
        for (int X = 0; X < C.Width; ++X)
            S += C.GetCellValue(X, Y) == clInk ? u'#' : u'.';
        S += u'\n';
    }
    return S;
}

} // namespace

class tst_ImportSystemFont : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fillsTheRangeWithOneSize_data();
    void fillsTheRangeWithOneSize();
    void glyphShapes();
    void stylesChangeTheInk();
    void wholeGlyphIsThePaintersPicture_data();
    void wholeGlyphIsThePaintersPicture();
    void emptyAndBadRanges();
};

void tst_ImportSystemFont::initTestCase()
{
    const QStringList Families = QFontDatabase::families();
    QVERIFY2(Families.contains(QStringLiteral("DejaVu Sans")), "DejaVu Sans is not installed");
    QVERIFY(Families.contains(QStringLiteral("DejaVu Sans Mono")));
}

void tst_ImportSystemFont::fillsTheRangeWithOneSize_data()
{
    QTest::addColumn<QString>("Face");
    QTest::addColumn<int>("Size");
    QTest::addColumn<int>("From");
    QTest::addColumn<int>("To");
    QTest::newRow("sans 12, 32..255") << "DejaVu Sans" << 12 << 32 << 255;
    QTest::newRow("mono 9, 0..127") << "DejaVu Sans Mono" << 9 << 0 << 127;
    QTest::newRow("sans 1 point") << "DejaVu Sans" << 1 << 65 << 70;
    QTest::newRow("one code") << "DejaVu Sans" << 20 << 65 << 65;
}

void tst_ImportSystemFont::fillsTheRangeWithOneSize()
{
    QFETCH(QString, Face);
    QFETCH(int, Size);
    QFETCH(int, From);
    QFETCH(int, To);
    TGLCDFont Font(QStringLiteral("mine"));
    Font.FileName = QStringLiteral("f.lcd");
    Font.CurrentChar = 7;
    Font.SetChar(3, std::make_unique<TCharClass>(3, 1, 1));
    Font.ImportSystemFont(Face, Size, 0, From, To);

    QCOMPARE(Font.RangeFrom, From);
    QCOMPARE(Font.RangeTo, To);
    QCOMPARE(Font.FontName, QStringLiteral("mine"));
    QCOMPARE(Font.FileName, QStringLiteral("f.lcd"));
    QCOMPARE(Font.CurrentChar, 7);
    QCOMPARE(Font.Proportional, false);
    QVERIFY(Font.GetWidth() >= 1);
    QVERIFY(Font.GetHeight() >= 1);
    int Widest = 0;
    for (int Code = 0; Code < TGLCDFont::MaxChars; ++Code) {
        const TCharClass* C = Font.GetChar(Code);
        if (Code < From || Code > To) {
            QCOMPARE(C, nullptr);
            continue;
        }
        QVERIFY(C);
        QCOMPARE(C->Code, Code);
        QCOMPARE(C->Width, Font.GetWidth());
        QCOMPARE(C->Height, Font.GetHeight());
        QVERIFY(std::all_of(C->Cells.begin(), C->Cells.end(),
                            [](TColor V) { return V == clInk || V == clClear; }));
        for (int X = C->Width - 1; X >= 0; --X)
            if (ColumnInk(*C, X) > 0) {
                Widest = std::max(Widest, X + 1);
                break;
            }
    }
    if (From <= 32 && To >= 32)
        QCOMPARE(Ink(*Font.GetChar(32)), 0);
    // The cell is no wider than the widest glyph needs, give or take its side bearing.
    QVERIFY2(Size < 5 || Widest >= Font.GetWidth() - 3,
             qPrintable(QStringLiteral("%1 wide, ink to %2").arg(Font.GetWidth()).arg(Widest)));

    TGLCDFont Again(QString{});
    Again.ImportSystemFont(Face, Size, 0, From, To);
    QVERIFY(AllCells(Again, From, To) == AllCells(Font, From, To));
}

void tst_ImportSystemFont::glyphShapes()
{
    TGLCDFont Font(QString{});
    Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 24, 0, 32, 255);
    const TCharClass& Bar = *Font.GetChar('|');
    const TCharClass& I = *Font.GetChar('i');
    // 32 px: the cell is as wide as the widest glyph and tall as the font.
    QVERIFY2(Font.GetHeight() >= 32 && Font.GetHeight() <= 40, qPrintable(Font.SizeText()));
    QVERIFY(Font.GetWidth() >= 20);
    // A bar is tall.
    int BarRows = 0;
    for (int Y = 0; Y < Bar.Height; ++Y)
        for (int X = 0; X < Bar.Width; ++X)
            if (Bar.GetCellValue(X, Y) == clInk) {
                ++BarRows;
                break;
            }
    QVERIFY2(BarRows > Bar.Height / 2, qPrintable(Picture(Bar)));
    // Glyphs sit at the left: a narrow glyph leaves the right half clear.
    for (int X = I.Width / 2; X < I.Width; ++X)
        QCOMPARE(ColumnInk(I, X), 0);
    // Different letters give different pictures.
    QVERIFY(Font.GetChar('A')->Cells != Font.GetChar('B')->Cells);
}

void tst_ImportSystemFont::stylesChangeTheInk()
{
    const QString Face = QStringLiteral("DejaVu Sans Mono");
    TGLCDFont Plain(QString{});
    Plain.ImportSystemFont(Face, 16, 0, 65, 90);
    TGLCDFont Bold(QString{});
    Bold.ImportSystemFont(Face, 16, TFontStyle::fsBold, 65, 90);
    TGLCDFont Under(QString{});
    Under.ImportSystemFont(Face, 16, TFontStyle::fsUnderline, 65, 90);
    TGLCDFont Strike(QString{});
    Strike.ImportSystemFont(Face, 16, TFontStyle::fsStrikeOut | TFontStyle::fsItalic, 65, 90);
    for (int Code = 65; Code <= 90; ++Code) {
        const int P = Ink(*Plain.GetChar(Code));
        QVERIFY2(Ink(*Bold.GetChar(Code)) > P, qPrintable(Picture(*Bold.GetChar(Code))));
        QVERIFY2(Ink(*Under.GetChar(Code)) > P, qPrintable(Picture(*Under.GetChar(Code))));
        QVERIFY(Strike.GetChar(Code)->Cells != Plain.GetChar(Code)->Cells);
    }
    // An underline runs along one row under the glyph.
    const TCharClass& U = *Under.GetChar('O');
    bool FullRow = false;
    for (int Y = U.Height / 2; Y < U.Height && !FullRow; ++Y) {
        int N = 0;
        for (int X = 0; X < U.Width; ++X)
            N += U.GetCellValue(X, Y) == clInk;
        FullRow = N >= U.Width - 1;
    }
    QVERIFY2(FullRow, qPrintable(Picture(U)));
}

void tst_ImportSystemFont::wholeGlyphIsThePaintersPicture_data()
{
    QTest::addColumn<QString>("Face");
    QTest::addColumn<int>("Size");
    QTest::addColumn<unsigned>("Style");
    QTest::addColumn<int>("Code"); // Latin-1, the same character in Win1252
    QTest::newRow("g, 28 pt") << "DejaVu Sans" << 28 << 0u << int('g');
    QTest::newRow("@, mono 9 pt") << "DejaVu Sans Mono" << 9 << 0u << int('@');
    QTest::newRow("e acute, bold italic") << "DejaVu Sans" << 15 << (TFontStyle::fsBold | TFontStyle::fsItalic) << 0xE9;
    QTest::newRow("W, underlined") << "DejaVu Sans" << 20 << unsigned(TFontStyle::fsUnderline) << int('W');
}

// Every cell of one imported glyph against the glyph QPainter draws in the
// same font and cell.
void tst_ImportSystemFont::wholeGlyphIsThePaintersPicture()
{
    QFETCH(QString, Face);
    QFETCH(int, Size);
    QFETCH(unsigned, Style);
    QFETCH(int, Code);
    TGLCDFont Font(QString{});
    Font.ImportSystemFont(Face, Size, Style, 32, 255);
    QFont F(Face, -1, Style & TFontStyle::fsBold ? QFont::Bold : QFont::Normal, Style & TFontStyle::fsItalic);
    F.setPixelSize(int(std::lround(Size * 96.0 / 72.0)));
    F.setUnderline(Style & TFontStyle::fsUnderline);
    F.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    QImage Img(TGLCDFont::ImportCellSize(Face, Size, Style, 32, 255), QImage::Format_ARGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    P.setFont(F);
    P.drawText(0, QFontMetrics(F).ascent(), QString(QChar(Code)));
    TCharClass Expected(Code, Img.width(), Img.height());
    for (int X = 0; X < Img.width(); ++X)
        for (int Y = 0; Y < Img.height(); ++Y)
            Expected.SetCellValue(X, Y, qGray(Img.pixel(X, Y)) < 128 ? clInk : clClear);
    QVERIFY2(Ink(Expected) > 0 && Font.GetChar(Code)->Cells == Expected.Cells,
             qPrintable(Picture(*Font.GetChar(Code)) + "expected:\n" + Picture(Expected)));
}

void tst_ImportSystemFont::emptyAndBadRanges()
{
    TGLCDFont Font(QStringLiteral("n"));
    Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 12, 0, 65, 66);
    Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 12, 0, 66, 65);
    QCOMPARE(Font.RangeFrom, 66);
    QCOMPARE(Font.RangeTo, 65);
    for (int Code = 0; Code < TGLCDFont::MaxChars; ++Code)
        QCOMPARE(Font.GetChar(Code), nullptr);

    Font.ImportSystemFont(QStringLiteral("No Such Face At All"), 12, 0, 65, 65);
    QVERIFY(Font.GetWidth() >= 1);
    QVERIFY(Ink(*Font.GetChar(65)) > 0);

    QVERIFY_THROWS_EXCEPTION(EDotwrightError, Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 12, 0, -1, 5));
    QVERIFY_THROWS_EXCEPTION(EDotwrightError, Font.ImportSystemFont(QStringLiteral("DejaVu Sans"), 12, 0, 0, 256));
    QCOMPARE(Font.RangeFrom, 65); // a refused import changes nothing
    QVERIFY(Font.GetChar(65));
}

QTEST_MAIN(tst_ImportSystemFont)
#include "tst_ImportSystemFont.moc"
