#include "NxColumnClasses.h"
#include "NxDisplays.h"
#include "NxTestGrid.h"
#include "NxThemesSupport.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <memory>

namespace {

// Palette entries with distinct values so pixels name their source.
QPalette FixedPalette()
{
    QPalette P;
    P.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));    // clBtnFace
    P.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));      // clBtnShadow
    P.setColor(QPalette::Light, QColor(0xFF, 0xFF, 0xFF));     // clBtnHighlight
    P.setColor(QPalette::Shadow, QColor(0x00, 0x00, 0x00));    // clWindowFrame
    P.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFE));      // clWindow
    P.setColor(QPalette::Text, QColor(0x00, 0x00, 0x00));      // clWindowText
    P.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6D, 0x6D, 0x6D)); // clGrayText
    P.setColor(QPalette::Highlight, QColor(0x0A, 0x24, 0x6A)); // clHighlight
    P.setColor(QPalette::HighlightedText, Qt::white);
    return P;
}

QFont FixedFont()
{
    QFont F(QStringLiteral("DejaVu Sans"));
    F.setPixelSize(11);
    F.setHintingPreference(QFont::PreferFullHinting);
    return F;
}

struct TFixture {
    TTestGrid Grid;
    TNxColumns Columns{&Grid};
    TFixture()
    {
        Grid.FPalette = FixedPalette();
        Grid.FFont = FixedFont();
        QApplication::setPalette(Grid.FPalette);
    }
    TNxTextColumn* Text(const QString& Caption, int Width)
    {
        auto* C = new TNxTextColumn;
        C->Header().SetCaption(Caption);
        C->SetWidth(Width);
        Columns.Add(C);
        return C;
    }
    // Paints the header row of every column with Display into a fresh image.
    QImage Header(TStyleDisplay& Display, int Width = 200, int Height = 18)
    {
        QImage Img(Width, Height, QImage::Format_RGB32);
        Img.fill(Qt::magenta);
        QPainter P(&Img);
        P.setFont(Grid.FFont);
        P.setPen(Qt::black);
        Display.Canvas = &P;
        for (int I = 0; I < Columns.Count(); ++I) {
            auto* C = Columns.Item(I);
            Display.DrawHeaderCell(*C, Rect(C->Left(), 0, C->Left() + C->Width(), Height));
        }
        const int Used = Columns.TotalWidth();
        Display.DrawEmptyHeaderArea(Rect(Used, 0, Width, Height));
        Display.Canvas = nullptr;
        return Img;
    }
};

QRgb Rgb(TColor C)
{
    return ToQColor(C, FixedPalette()).rgb();
}

void Save(const QImage& Img, const QString& Name)
{
    Img.scaled(Img.size() * 3).save(QStringLiteral("/tmp/h5_%1.png").arg(Name));
}

// Rightmost column holding a pixel of Colour within rows Y0..Y1.
int RightmostOf(const QImage& Img, QRgb Colour, int X0, int X1)
{
    int Found = -1;
    for (int X = X0; X < X1; ++X)
        for (int Y = 0; Y < Img.height(); ++Y)
            if (Img.pixel(X, Y) == Colour)
                Found = X;
    return Found;
}

bool HasColourIn(const QImage& Img, QRgb Colour, const QRect& R)
{
    for (int Y = R.top(); Y <= R.bottom(); ++Y)
        for (int X = R.left(); X <= R.right(); ++X)
            if (Img.valid(X, Y) && Img.pixel(X, Y) == Colour)
                return true;
    return false;
}

} // namespace

class tst_NxDisplays : public QObject {
    Q_OBJECT
private slots:
    void ClassicDefaultHeader();
    void ThemedDefaultHeader();
    void StylesFlagsAndIndent();
    void FlatHeader();
    void OldStyleHeader();
    void OutlookHeader();
    void VistaHeader();
    void RightAlignedSortedCaptionMovesLeft();
    void SortMarkNeedsRoom();
    void SortMarkDirectionAndPlace_data();
    void SortMarkDirectionAndPlace();
    void ImageOnlyWithoutGlyphDrawsBackgroundOnly();
    void PressedHeaderInverted();
    void IndicatorAndFooter();
    void FooterFormatMask_data();
    void FooterFormatMask();
    void TextualDisplayJoinsTexts();
    void ImageDisplay();
};

void tst_NxDisplays::ClassicDefaultHeader()
{
    TFixture F;
    F.Text("Char", 40);
    F.Text("Code", 60);
    F.Text("GLCD", 50);
    TDefaultStyleDisplay D(&F.Grid);
    D.Themed = false;
    const QImage Img = F.Header(D);
    Save(Img, "classic");
    const QRgb Hi = Rgb(clBtnHighlight), Sh = Rgb(clBtnShadow), Face = Rgb(clBtnFace), Win = Rgb(clWindow);
    // First column: highlight on top and down the left, shadow pixel-gapped at its right.
    QCOMPARE(Img.pixel(10, 0), Hi);
    QCOMPARE(Img.pixel(0, 5), Hi);
    QCOMPARE(Img.pixel(10, 17), Sh);
    QCOMPARE(Img.pixel(39, 1), Face);
    QCOMPARE(Img.pixel(39, 16), Face);
    QCOMPARE(Img.pixel(39, 5), Sh);
    // Middle column: highlight left edge from T+2 with header-colour corners.
    QCOMPARE(Img.pixel(40, 1), Face);
    QCOMPARE(Img.pixel(40, 2), Hi);
    QCOMPARE(Img.pixel(40, 15), Hi);
    QCOMPARE(Img.pixel(40, 16), Face);
    // Last column: shadow right edge from the top down.
    QCOMPARE(Img.pixel(149, 0), Sh);
    QCOMPARE(Img.pixel(149, 16), Sh);
    // The rest of the strip takes the grid colour.
    QCOMPARE(Img.pixel(180, 9), Win);
    // Caption text is there, in the cell, left-aligned at L + 2.
    QVERIFY(HasColourIn(Img, qRgb(0, 0, 0), QRect(2, 2, 30, 14)));
    QVERIFY(!HasColourIn(Img, qRgb(0, 0, 0), QRect(0, 0, 2, 18)));
}

void tst_NxDisplays::ThemedDefaultHeader()
{
    TFixture F;
    F.Text("Char", 40);
    F.Text("Code", 60);
    TDefaultStyleDisplay D(&F.Grid);
    D.Themed = true;
    QCOMPARE(D.StyleFlags(), 1);
    const QImage Img = F.Header(D);
    Save(Img, "themed");
    // The style paints the whole header; nothing is left unpainted.
    QVERIFY(!HasColourIn(Img, QColor(Qt::magenta).rgb(), Img.rect()));
    QVERIFY(HasColourIn(Img, qRgb(0, 0, 0), QRect(2, 2, 30, 14)));
    // The first header hot or pressed looks other than plain; another column hot leaves it.
    const auto First = [&](int Hot, int Pressed) { F.Grid.FHot = Hot; F.Grid.FPressed = Pressed; return F.Header(D).copy(0, 0, 40, 18); };
    const QImage Plain = Img.copy(0, 0, 40, 18);
    QCOMPARE(First(1, -1), Plain);
    QVERIFY(First(0, -1) != Plain);
    QVERIFY(First(-1, 0) != Plain);
}

void tst_NxDisplays::StylesFlagsAndIndent()
{
    TFixture F;
    auto* C = F.Text("x", 40);
    TDefaultStyleDisplay Def(&F.Grid);
    TFlatStyleDisplay Flat(&F.Grid);
    TOldStyleDisplay Old(&F.Grid);
    TOutlookStyleDisplay Out(&F.Grid);
    TVistaStyleDisplay Vis(&F.Grid);
    QCOMPARE(Def.StyleFlags(), 2);
    QCOMPARE(Flat.StyleFlags(), 0);
    QCOMPARE(Old.StyleFlags(), 2);
    QCOMPARE(Out.StyleFlags(), 2);
    QCOMPARE(Vis.StyleFlags(), 4);
    QCOMPARE(Def.SortMarkIndent(*C), 2);
    Def.Themed = true;
    QCOMPARE(Def.SortMarkIndent(*C), 11);
    C->Header().SetDisplayMode(dmTextAndImage);
    QCOMPARE(Def.SortMarkIndent(*C), 2);
    Def.ShowSortMark = false;
    QCOMPARE(Def.SortMarkIndent(*C), 0);
    TRect R = Rect(0, 0, 10, 10);
    Out.AdjustTextRect(R);
    QCOMPARE(R, Rect(0, 0, 10, 7));
    Vis.AdjustTextRect(R);
    QCOMPARE(R, Rect(2, 0, 10, 7));
    Def.ShowSortMark = true;
    Def.Assign(Flat);
    QVERIFY(Def.ShowSortMark);
}

void tst_NxDisplays::FlatHeader()
{
    TFixture F;
    F.Text("A", 40);
    F.Columns.Item(0)->Header().SetColor(0x00FFFF);
    TFlatStyleDisplay D(&F.Grid);
    const QImage Img = F.Header(D, 60);
    Save(Img, "flat");
    QCOMPARE(Img.pixel(39, 3), Rgb(clGrayText));
    QCOMPARE(Img.pixel(20, 17), Rgb(clGrayText));
    QCOMPARE(Img.pixel(20, 1), qRgb(255, 255, 0));
}

void tst_NxDisplays::OldStyleHeader()
{
    TFixture F;
    F.Text("A", 40);
    TOldStyleDisplay D(&F.Grid);
    const QImage Img = F.Header(D, 60);
    Save(Img, "old");
    QCOMPARE(Img.pixel(0, 0), Rgb(clBtnHighlight));
    QCOMPARE(Img.pixel(39, 5), Rgb(clWindowFrame));
    QCOMPARE(Img.pixel(20, 17), Rgb(clWindowFrame));
    QCOMPARE(Img.pixel(30, 8), Rgb(clBtnFace));
}

void tst_NxDisplays::OutlookHeader()
{
    TFixture F;
    F.Text("A", 40);
    F.Text("B", 40);
    TOutlookStyleDisplay D(&F.Grid);
    const QImage Img = F.Header(D, 100);
    Save(Img, "outlook");
    const QPalette P = FixedPalette();
    // The 3-pixel band under the header colour, darkening downward.
    for (int I = 0; I < 3; ++I)
        QCOMPARE(Img.pixel(20, 15 + I),
                 ToQColor(TGraphicsProvider::BlendColor(clBtnShadow, clBtnFace, 50 * (I + 1), P), P).rgb());
    QCOMPARE(Img.pixel(0, 0), Rgb(clBtnHighlight));   // first column: left line full height
    QCOMPARE(Img.pixel(40, 1), Rgb(clBtnFace));       // second: from T+2
    QCOMPARE(Img.pixel(40, 2), Rgb(clBtnHighlight));
    QCOMPARE(Img.pixel(39, 2), Rgb(clBtnShadow));     // first: right line T+2..B-4
    QCOMPARE(Img.pixel(39, 14), Rgb(clBtnFace));
    QCOMPARE(Img.pixel(79, 0), Rgb(clBtnShadow));     // last: full height
}

void tst_NxDisplays::VistaHeader()
{
    TFixture F;
    auto* A = F.Text("Name", 60);
    F.Text("Size", 60);
    A->SetSorted(true);
    TVistaStyleDisplay D(&F.Grid);
    const QImage Img = F.Header(D, 140);
    Save(Img, "vista");
    QCOMPARE(Img.pixel(0, 5), qRgb(255, 255, 255));
    QCOMPARE(Img.pixel(59, 5), Rgb(clBtnFace));
    QCOMPARE(Img.pixel(5, 0), qRgb(175, 220, 240)); // gradient starts at the top
    QCOMPARE(Img.pixel(55, 16), qRgb(255, 255, 255));
    QCOMPARE(Img.pixel(110, 16), qRgb(240, 240, 240)); // unsorted
    // Its own mark only: a wide sorted column shows no engraved mark beside the caption.
    A->SetWidth(100);
    const QImage Wide = F.Header(D, 180);
    QImage Probe(1, 1, QImage::Format_RGB32);
    QPainter PP(&Probe);
    PP.setFont(F.Grid.FFont);
    const int MarkX = 2 + PP.fontMetrics().horizontalAdvance("Name") + 2 + 19;
    PP.end();
    for (int Y = 6; Y < 14; ++Y)
        for (int X = MarkX; X < MarkX + 8; ++X)
            QCOMPARE(Wide.pixel(X, Y), qRgb(255, 255, 255));
}

void tst_NxDisplays::RightAlignedSortedCaptionMovesLeft()
{
    TFixture F;
    auto* A = F.Text("Ab", 120);
    A->Header().SetAlignment(taRightJustify);
    TFlatStyleDisplay D(&F.Grid);
    D.ShowSortMark = false;
    const QImage Plain = F.Header(D, 120);
    A->SetSorted(true);
    const QImage Sorted = F.Header(D, 120);
    const int X1 = RightmostOf(Plain, qRgb(0, 0, 0), 0, 118);
    const int X2 = RightmostOf(Sorted, qRgb(0, 0, 0), 0, 118);
    QVERIFY(X1 > 60);
    QCOMPARE(X1 - X2, 31);
}

void tst_NxDisplays::SortMarkNeedsRoom()
{
    TFixture F;
    auto* A = F.Text("Ab", 40);
    A->SetSorted(true);
    TFlatStyleDisplay D(&F.Grid);
    QImage Probe(1, 1, QImage::Format_RGB32);
    QPainter PP(&Probe);
    PP.setFont(F.Grid.FFont);
    const int TW = PP.fontMetrics().horizontalAdvance("Ab") + 2;
    PP.end();
    const int X = 2, MarkX = X + TW + 19;
    // X + TextWidth + 27 must stay below the right edge.
    A->SetWidth(X + TW + 27);
    QImage Img = F.Header(D, 120);
    QVERIFY(!HasColourIn(Img, Rgb(clBtnShadow), QRect(MarkX, 0, 8, 18)));
    A->SetWidth(X + TW + 28);
    Img = F.Header(D, 120);
    Save(Img, "sortmark");
    const int MarkY = 9 - 4;
    QCOMPARE(Img.pixel(MarkX, MarkY + 6), Rgb(clBtnShadow));     // base of the ascending mark
    QCOMPARE(Img.pixel(MarkX + 7, MarkY + 5), Rgb(clBtnHighlight));
    A->SetSortKind(skDescending);
    Img = F.Header(D, 120);
    QCOMPARE(Img.pixel(MarkX, MarkY), Rgb(clBtnShadow));
    QCOMPARE(Img.pixel(MarkX + 3, MarkY + 6), Rgb(clBtnShadow));
}

// The mark and a pixel around it: '#' its dark colour, '+' its light one. Engraved and themed, it starts
// 19 pixels right of the caption and 4 above the middle; Vista's own is white at the top centre.
void tst_NxDisplays::SortMarkDirectionAndPlace_data()
{
    QTest::addColumn<int>("Style");
    QTest::addColumn<int>("Kind");
    QTest::addColumn<QString>("Mark"); // rows top to bottom
    QTest::newRow("engraved, ascending") << 0 << int(skAscending)
        << "..........|....#+....|...##++...|...#..+...|..##..++..|..#....+..|.##....++.|.########.|..........";
    QTest::newRow("engraved, descending") << 0 << int(skDescending)
        << "..........|.########.|.##....++.|..#....+..|..##..++..|...#..+...|...##++...|....#+....|..........";
    QTest::newRow("themed, ascending") << 1 << int(skAscending)
        << "..........|.....#....|....###...|...#####..|..#######.|.#########|..........|..........|..........";
    QTest::newRow("themed, descending") << 1 << int(skDescending)
        << "..........|.#########|..#######.|...#####..|....###...|.....#....|..........|..........|..........";
    QTest::newRow("vista, ascending") << 2 << int(skAscending) << "....#....|...###...|..#####..|.#######.|.........";
    QTest::newRow("vista, descending") << 2 << int(skDescending) << ".#######.|..#####..|...###...|....#....|.........";
}

void tst_NxDisplays::SortMarkDirectionAndPlace()
{
    QFETCH(int, Style);
    QFETCH(int, Kind);
    QFETCH(QString, Mark);
    TFixture F;
    auto* A = F.Text("Ab", 100);
    A->SetSorted(true);
    A->SetSortKind(TSortKind(Kind));
    TFlatStyleDisplay Engraved(&F.Grid);
    TDefaultStyleDisplay Themed(&F.Grid);
    Themed.Themed = true;
    TVistaStyleDisplay Vista(&F.Grid);
    const QImage Img = F.Header(*std::array<TStyleDisplay*, 3>{&Engraved, &Themed, &Vista}[Style], 100);
    const int MarkX = 2 + QFontMetrics(F.Grid.FFont).horizontalAdvance("Ab") + 2 + 19, MarkY = 18 / 2 - 4;
    const QRect Box = Style == 2 ? QRect(46, 0, 9, 5) : QRect(MarkX - 1, MarkY - 1, 10, 9);
    const QRgb Dark = Style == 0 ? Rgb(clBtnShadow) : Style == 1 ? Rgb(clGrayText) : qRgb(255, 255, 255);
    QString Got;
    for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
        for (int X = Box.left(); X <= Box.right(); ++X)
            Got += QString(X > Box.left() ? "" : Y > Box.top() ? "|" : "") +
                   (Img.pixel(X, Y) == Dark ? '#' : Style == 0 && Img.pixel(X, Y) == Rgb(clBtnHighlight) ? '+' : '.');
    QCOMPARE(Got, Mark);
}

void tst_NxDisplays::ImageOnlyWithoutGlyphDrawsBackgroundOnly()
{
    TFixture F;
    auto* A = F.Text("Caption", 80);
    A->Header().SetDisplayMode(dmImageOnly);
    TDefaultStyleDisplay D(&F.Grid);
    const QImage Img = F.Header(D, 80);
    QImage Back(80, 18, QImage::Format_RGB32);
    Back.fill(Qt::magenta);
    QPainter P(&Back);
    D.Canvas = &P;
    D.DrawHeaderBackground(*A, Rect(0, 0, 80, 18));
    P.end();
    QCOMPARE(Img, Back);
}

void tst_NxDisplays::PressedHeaderInverted()
{
    TFixture F;
    F.Text("A", 40);
    TOldStyleDisplay D(&F.Grid);
    const QImage Normal = F.Header(D, 40);
    F.Grid.FPressed = 0;
    const QImage Pressed = F.Header(D, 40);
    QCOMPARE(Pressed.pixel(20, 8), Normal.pixel(20, 8) ^ 0x00FFFFFF);
    TFlatStyleDisplay Flat(&F.Grid); // no inversion flag
    QCOMPARE(F.Header(Flat, 40).pixel(20, 8), Rgb(clBtnFace));
}

void tst_NxDisplays::IndicatorAndFooter()
{
    TFixture F;
    auto* A = F.Text("A", 60);
    A->Footer().SetCaption("1234.5");
    A->Footer().SetFormatMask("#,##0.00");
    A->Footer().SetColor(0xE0E0E0);
    TStyleDisplay D(&F.Grid);
    QImage Img(80, 40, QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    QPainter P(&Img);
    P.setPen(Qt::black);
    D.Canvas = &P;
    D.DrawIndicatorCell(Rect(0, 0, 12, 16), 0);
    D.DrawIndicatorMarks(Rect(0, 0, 12, 16), true, false);
    D.DrawFooterCell(*A, Rect(12, 18, 72, 40), false);
    P.end();
    Save(Img, "indicator_footer");
    QCOMPARE(Img.pixel(0, 0), Rgb(clBtnHighlight));
    QCOMPARE(Img.pixel(0, 15), Rgb(clBtnFace));
    QCOMPARE(Img.pixel(11, 5), Rgb(clBtnShadow));
    // The current-row triangle sits in a 6 x 11 box centred in the cell: (3, 3) to (8, 13).
    QCOMPARE(Img.pixel(3, 3), Rgb(clWindowText));
    QCOMPARE(Img.pixel(8, 8), Rgb(clWindowText));
    QCOMPARE(Img.pixel(3, 13), Rgb(clWindowText));
    QCOMPARE(Img.pixel(8, 4), Rgb(clBtnFace));
    // Footer: background less one pixel at the right and bottom, text formatted by the mask.
    QCOMPARE(Img.pixel(70, 20), qRgb(0xE0, 0xE0, 0xE0));
    QCOMPARE(Img.pixel(71, 20), QColor(Qt::magenta).rgb());
    QCOMPARE(Img.pixel(30, 39), QColor(Qt::magenta).rgb());
    QVERIFY(HasColourIn(Img, qRgb(0, 0, 0), QRect(14, 20, 50, 18)));
}

void tst_NxDisplays::TextualDisplayJoinsTexts()
{
    auto Paint = [](const QString& Before, const QString& Value, const QString& After, int Wrapped = -1) {
        TNxTextColumn C;
        C.SetTextBefore(Before);
        C.SetTextAfter(After);
        C.SetWrapKind(Wrapped < 0 ? wkEllipsis : wkWordWrap); // word wrap in Wrapped's vertical alignment
        C.SetVerticalAlignment(Wrapped < 0 ? vaMiddle : TVerticalAlignment(Wrapped));
        QImage Img(80, 16, QImage::Format_RGB32);
        Img.fill(Qt::white);
        QPainter P(&Img);
        P.setFont(FixedFont());
        P.setPen(Qt::black);
        TColumnDisplay* D = C.Display();
        D->Canvas = &P;
        D->CellRect = Rect(0, 0, 80, 16);
        D->AsString = Value;
        D->PaintContent();
        return Img;
    };
    const QImage Joined = Paint("0x", "41", "h");
    Save(Joined, "textual");
    QCOMPARE(Joined, Paint("", "0x41h", ""));
    QVERIFY(Joined != Paint("", "41", ""));
    // Content starts 2 pixels in.
    QVERIFY(!HasColourIn(Joined, qRgb(0, 0, 0), QRect(0, 0, 2, 16)));
    // Text wrapped into more lines than fit starts at the top whatever the vertical alignment.
    const QString Long = "one two three four five six seven eight";
    for (TVerticalAlignment V : {vaMiddle, vaBottom})
        QCOMPARE(Paint("", Long, "", V), Paint("", Long, "", vaTop));
}

void tst_NxDisplays::ImageDisplay()
{
    TNxImageList List(4, 4);
    QPixmap Red(4, 4), Green(4, 4);
    Red.fill(Qt::red);
    Green.fill(Qt::green);
    List.Add(Red);
    List.Add(Green);
    TNxImageColumn C;
    C.SetImages(&List);
    C.SetAlignment(taRightJustify);
    auto Paint = [&](int Value) {
        QImage Img(20, 10, QImage::Format_RGB32);
        Img.fill(Qt::white);
        QPainter P(&Img);
        TColumnDisplay* D = C.Display();
        D->Canvas = &P;
        D->CellRect = Rect(0, 0, 20, 10);
        D->AsInteger = Value;
        D->PaintContent();
        return Img;
    };
    QImage Img = Paint(1);
    // Right-aligned with margin 2, vertically centred: (14, 3) to (17, 6).
    QCOMPARE(Img.pixel(14, 3), qRgb(0, 255, 0));
    QCOMPARE(Img.pixel(17, 6), qRgb(0, 255, 0));
    QCOMPARE(Img.pixel(18, 6), qRgb(255, 255, 255));
    QImage White(20, 10, QImage::Format_RGB32);
    White.fill(Qt::white);
    QCOMPARE(Paint(2), White);  // equal to Count
    QCOMPARE(Paint(-1), White);
    C.SetImages(nullptr);
    QCOMPARE(Paint(0), White);
}

void tst_NxDisplays::FooterFormatMask_data()
{
    QTest::addColumn<QString>("Locale");
    QTest::addColumn<QString>("Mask");
    QTest::addColumn<QString>("Caption");
    QTest::addColumn<QString>("Shown");
    const auto Row = [](const char* Locale, const char* Mask, const char* Caption, const char* Shown) {
        QTest::addRow("%s %s on %s", Locale, Mask, Caption) << Locale << Mask << Caption << Shown;
    };
    Row("C", "#.##", "1.5", "1.5");
    Row("C", "#.##", "0.5", ".5");
    Row("C", "#.##", "0", "");
    Row("C", "0", "0.5", "1");          // halves away from zero
    Row("C", "0.00", "1.005", "1.01");  // as written, not its binary neighbour
    Row("C", "0.##", "999.999", "1000");
    Row("C", "000", "7", "007");
    Row("C", ".00", "12.5", "12.50");
    Row("C", "00-00", "123456", "1234-56");
    Row("C", "0.0 kg", "1.5", "1.5 kg");
    Row("C", "'#'0", "7", "#7");
    Row("C", "\"a;b\" 0", "3", "a;b 3");
    Row("C", "#,##0.00", "1234.5", "1,234.50");
    Row("C", "#,##0.00", "-1234567", "-1,234,567.00");
    Row("C", "#,##0.00;(#,##0.00)", "-1234", "(1,234.00)");
    Row("C", "0.00;(0.00)", "-0.001", "0.00");
    Row("C", "#,##0.00;;Zero", "0", "Zero");
    Row("C", "#,##0.00;;Zero", "-1234", "-1,234.00");
    Row("C", "0.00", "total", "total");
    Row("C", "", "1234.5", "1234.5");
    Row("de_DE", "#,##0.00", "1234,5", "1.234,50");
}

void tst_NxDisplays::FooterFormatMask()
{
    QFETCH(QString, Locale);
    QFETCH(QString, Mask);
    QFETCH(QString, Caption);
    QFETCH(QString, Shown);
    const QLocale Before;
    QLocale::setDefault(Locale == "C" ? QLocale::c() : QLocale(Locale));
    const QString Result = ApplyFormatMask(Caption, Mask);
    QLocale::setDefault(Before);
    QCOMPARE(Result, Shown);
}

QTEST_MAIN(tst_NxDisplays)
#include "tst_NxDisplays.moc"
