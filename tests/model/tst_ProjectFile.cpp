#include "CharClasses.h"
#include "unHelpers.h"
#include "../FullDisk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReadBytes(const QString& Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteBytes(const QString& Path, const QByteArray& Bytes)
{
    QFile F(Path);
    QVERIFY(F.open(QIODevice::WriteOnly));
    QCOMPARE(F.write(Bytes), Bytes.size());
}

// Compares whole files; on a mismatch names the first differing line.
void CompareBytes(const QByteArray& Actual, const QByteArray& Expected)
{
    if (Actual == Expected)
        return;
    const QList<QByteArray> A = Actual.split('\n');
    const QList<QByteArray> E = Expected.split('\n');
    for (qsizetype I = 0; I < std::max(A.size(), E.size()); ++I) {
        const QByteArray LA = I < A.size() ? A[I] : "<end of file>";
        const QByteArray LE = I < E.size() ? E[I] : "<end of file>";
        if (LA != LE)
            QFAIL(qPrintable(QStringLiteral("line %1 differs:\n  actual:   %2\n  expected: %3")
                                 .arg(I + 1)
                                 .arg(QString::fromLatin1(LA.left(200)), QString::fromLatin1(LE.left(200)))));
    }
    QFAIL("files differ");
}

// What the New command makes: every slot of the range filled, every cell clear.
void MakeNew(TGLCDFont& Font, int From, int To, int W, int H)
{
    Font.FreeChars();
    Font.RangeFrom = From;
    Font.RangeTo = To;
    for (int Code = From; Code <= To; ++Code) {
        auto C = std::make_unique<TCharClass>(Code, W, H);
        C->Fill(clClear);
        Font.SetChar(Code, std::move(C));
    }
}

// The whole font as one text, to compare fonts at once.
QString Dump(const TGLCDFont& Font)
{
    QString S = QStringLiteral("name=[%1] file=[%2] range=%3..%4 prop=%5\n")
                    .arg(Font.FontName, Font.FileName)
                    .arg(Font.RangeFrom)
                    .arg(Font.RangeTo)
                    .arg(Font.Proportional);
    for (int Code = 0; Code < TGLCDFont::MaxChars; ++Code)
        if (const TCharClass* C = Font.GetChar(Code)) {
            S += QStringLiteral("%1 code=%2 %3x%4:").arg(Code).arg(C->Code).arg(C->Width).arg(C->Height);
            for (TColor V : C->Cells)
                S += u' ' + QString::number(V);
            S += u'\n';
        }
    return S;
}

// A small valid file around the given CHARS children and attributes.
QByteArray Lcd(const QByteArray& Size, const QByteArray& Range, const QByteArray& Chars)
{
    return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<FONT>\r\n<FONTNAME>F</FONTNAME>\r\n"
           "<FONTSIZE " + Size + "/>\r\n<RANGE " + Range + "/>\r\n" + Chars + "\r\n</FONT>\r\n";
}

} // namespace

class tst_ProjectFile : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(Dir.isValid()); }
    void newFontIsWrittenExactly();
    void escapedNameIsWrittenExactly();
    void emptyRangeWritesShortChars();
    void roundTripKeepsEverything_data();
    void roundTripKeepsEverything();
    void loadsValidVariants_data();
    void loadsValidVariants();
    void badFileFailsAndChangesNothing_data();
    void badFileFailsAndChangesNothing();
    void missingFileFails();
    void openRefusesWhatIsNoProject();
    void refusedSaveKeepsOldFile_data();
    void refusedSaveKeepsOldFile();
    void failedWriteIsReported();

private:
    QTemporaryDir Dir;
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
};

void tst_ProjectFile::newFontIsWrittenExactly()
{
    TGLCDFont Font(QStringLiteral("Untitled"));
    MakeNew(Font, 32, 126, 8, 8);
    QString Error;
    QVERIFY(Font.SaveToFile(Path("new.lcd"), &Error));
    QCOMPARE(Font.FileName, Path("new.lcd"));
    const QByteArray Bytes = ReadBytes(Path("new.lcd"));
    QCOMPARE(Bytes.size(), 58574);
    QCOMPARE(Bytes.count("\r\n"), 103);
    CompareBytes(Bytes, ReadBytes(DW_TEST_DATA "/model/untitled_8x8.lcd"));
}

void tst_ProjectFile::escapedNameIsWrittenExactly()
{
    TGLCDFont Font(QStringLiteral("A&B <\"\u00e9's\">"));
    MakeNew(Font, 65, 66, 2, 3);
    Font.SetProportional(true);
    Font.GetChar(65)->Cells = {0, clClear, clClear, clClear, clClear, 0};
    Font.GetChar(66)->Cells = {0, 0, 0, 0x0000FF, 0x00FF00, 0xFF0000};
    QVERIFY(Font.SaveToFile(Path("esc.lcd")));
    const QByteArray Expected = ReadBytes(DW_TEST_DATA "/model/escaped_name.lcd");
    CompareBytes(ReadBytes(Path("esc.lcd")), Expected);
    // The name is 8-bit Windows-1252 in the file.
    QVERIFY(Expected.contains("&quot;\xe9&apos;"));

    TGLCDFont Back(QString{});
    QVERIFY(Back.LoadFromFile(DW_TEST_DATA "/model/escaped_name.lcd"));
    Font.FileName = DW_TEST_DATA "/model/escaped_name.lcd";
    QCOMPARE(Dump(Back), Dump(Font));
}

void tst_ProjectFile::emptyRangeWritesShortChars()
{
    TGLCDFont Font(QString{});
    Font.RangeFrom = 5;
    Font.RangeTo = 4;
    QVERIFY(Font.SaveToFile(Path("empty.lcd")));
    CompareBytes(ReadBytes(Path("empty.lcd")),
                 "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<FONT>\r\n     <FONTNAME/>\r\n"
                 "     <FONTSIZE WIDTH=\"-1\" HEIGHT=\"-1\" PROPORTIONAL=\"0\"/>\r\n"
                 "     <RANGE FROM=\"5\" TO=\"4\"/>\r\n     <CHARS/>\r\n</FONT>\r\n");
    TGLCDFont Back(QStringLiteral("old"));
    QVERIFY(Back.LoadFromFile(Path("empty.lcd")));
    QCOMPARE(Back.FontName, QString());
    QCOMPARE(Back.CharCount(), 0);
    QCOMPARE(Back.GetChar(5), nullptr);
}

void tst_ProjectFile::roundTripKeepsEverything_data()
{
    QTest::addColumn<QString>("Name");
    QTest::addColumn<QString>("NameBack");
    QTest::addColumn<int>("From");
    QTest::addColumn<int>("To");
    QTest::addColumn<int>("Width");
    QTest::addColumn<int>("Height");
    QTest::newRow("plain") << "Big" << "Big" << 0 << 255 << 5 << 7;
    QTest::newRow("one code") << "x" << "x" << 255 << 255 << 1 << 1;
    QTest::newRow("leading blanks go, trailing stay") << "  ab  " << "ab  " << 65 << 70 << 3 << 2;
    QTest::newRow("blanks only") << "   " << "" << 65 << 65 << 2 << 2;
    QTest::newRow("cp1252 and line feed") << "\u20ac\u00e9\u00ff\nz" << "\u20ac\u00e9\u00ff\nz" << 10 << 12
                                        << 4 << 4;
    QTest::newRow("largest cell") << "L" << "L" << 1 << 2 << 1024 << 3;
}

void tst_ProjectFile::roundTripKeepsEverything()
{
    QFETCH(QString, Name);
    QFETCH(QString, NameBack);
    QFETCH(int, From);
    QFETCH(int, To);
    QFETCH(int, Width);
    QFETCH(int, Height);
    TGLCDFont Font(Name);
    MakeNew(Font, From, To, Width, Height);
    Font.SetProportional(From % 2 == 0);
    // Every colour a cell may hold, not only ink and clear.
    for (int Code = From; Code <= To; ++Code) {
        auto& Cells = Font.GetChar(Code)->Cells;
        for (size_t I = 0; I < Cells.size(); ++I)
            Cells[I] = TColor((I * 7919 + size_t(Code) * 104729) % 0x1000000) - (I % 5 == 0 ? 0x40000000 : 0);
    }
    QVERIFY(Font.SaveToFile(Path("rt.lcd")));
    TGLCDFont Back(QStringLiteral("other"));
    QString Error;
    QVERIFY2(Back.LoadFromFile(Path("rt.lcd"), &Error), qPrintable(Error));
    Font.FontName = NameBack;
    QCOMPARE(Dump(Back), Dump(Font));
}

void tst_ProjectFile::loadsValidVariants_data()
{
    QTest::addColumn<QByteArray>("File");
    QTest::addColumn<QString>("Expected"); // Dump without the first line

    const QByteArray Size = "WIDTH=\"1\" HEIGHT=\"2\"";
    QTest::newRow("no PROPORTIONAL: fixed, ascending")
        << Lcd(Size, "FROM=\"1\" TO=\"2\"",
               "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "prop=0|1 code=1 1x2: 1 2|2 code=2 1x2: 3 4|";
    QTest::newRow("descending order, PROPORTIONAL 1")
        << Lcd(Size + " PROPORTIONAL=\"1\"", "FROM=\"1\" TO=\"2\"",
               "<CHARS><CHAR CODE=\"2\" PIXELS=\"3,4\"/><CHAR CODE=\"1\" PIXELS=\"1,2\"/></CHARS>")
        << "prop=1|1 code=1 1x2: 1 2|2 code=2 1x2: 3 4|";
    QTest::newRow("PROPORTIONAL true is fixed; duplicate: later wins, unnamed slot all set")
        << Lcd(Size + " PROPORTIONAL=\"true\"", "FROM=\"1\" TO=\"2\"",
               "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"1\" PIXELS=\"5,6\"/></CHARS>")
        << "prop=0|1 code=1 1x2: 5 6|2 code=2 1x2: 0 0|";
    QTest::newRow("extra items and extra CHARs ignored, any element name")
        << Lcd(Size, "FROM=\"7\" TO=\"7\"",
               "<CHARS><X CODE=\"7\" PIXELS=\"1,2,junk,\"/><CHAR CODE=\"99\" PIXELS=\"\"/></CHARS>")
        << "prop=0|7 code=7 1x2: 1 2|";
    QTest::newRow("comma text: blanks, quotes, line breaks, signs")
        << Lcd("WIDTH=\"2\" HEIGHT=\"2\"", "FROM=\"0\" TO=\"0\"",
               "<CHARS><CHAR CODE=\"0\" PIXELS=\" &quot;1&quot; ,&quot;-2&quot;\r\n+3\t4\"/></CHARS>")
        << "prop=0|0 code=0 2x2: 1 -2 3 4|";
    QTest::newRow("no FONTNAME, missing CODE means 0, no width means 1")
        << QByteArray("<FONT><FONTSIZE/><RANGE FROM=\"0\" TO=\"0\"/><CHARS><CHAR PIXELS=\"-2147483648\"/>"
                      "</CHARS></FONT>")
        << "prop=0|0 code=0 1x1: -2147483648|";
    QTest::newRow("range wider than the size check when empty")
        << Lcd("WIDTH=\"0\" HEIGHT=\"5000\"", "FROM=\"9\" TO=\"3\"", "") << "prop=0|";
}

void tst_ProjectFile::loadsValidVariants()
{
    QFETCH(QByteArray, File);
    QFETCH(QString, Expected);
    WriteBytes(Path("v.lcd"), File);
    TGLCDFont Font(QStringLiteral("before"));
    MakeNew(Font, 100, 200, 3, 3);
    QString Error;
    QVERIFY2(Font.LoadFromFile(Path("v.lcd"), &Error), qPrintable(Error));
    QString Got = Dump(Font);
    Got.replace(u'\n', u'|');
    Got = Got.mid(Got.indexOf(QStringLiteral("prop=")));
    QCOMPARE(Got, Expected);
}

void tst_ProjectFile::badFileFailsAndChangesNothing_data()
{
    QTest::addColumn<QByteArray>("File");
    QTest::addColumn<QString>("Message");

    const QByteArray Size = "WIDTH=\"1\" HEIGHT=\"2\"";
    const QByteArray Range = "FROM=\"1\" TO=\"2\"";
    const QByteArray Two = "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>";
    QTest::newRow("empty file") << QByteArray() << "Error loading font: the file holds no XML element";
    QTest::newRow("not XML") << QByteArray("hello") << "Error loading font: the file holds no XML element";
    QTest::newRow("no RANGE") << QByteArray("<FONT><FONTSIZE/></FONT>")
                              << "Error loading font: the RANGE element is missing";
    QTest::newRow("no FONTSIZE") << QByteArray("<FONT><RANGE/></FONT>")
                                 << "Error loading font: the FONTSIZE element is missing";
    QTest::newRow("no CHARS") << Lcd(Size, Range, "") << "Error loading font: the CHARS element is missing";
    QTest::newRow("range without FROM and TO needs 256")
        << Lcd(Size, "", Two) << "Error loading font: CHARS holds 2 characters, 256 needed";
    QTest::newRow("FROM below 0") << Lcd(Size, "FROM=\"-1\" TO=\"2\"", Two)
                                  << "Error loading font: FROM -1 lies outside 0 to 255";
    QTest::newRow("TO above 255") << Lcd(Size, "FROM=\"1\" TO=\"256\"", Two)
                                  << "Error loading font: TO 256 lies outside 0 to 255";
    QTest::newRow("FROM not an integer") << Lcd(Size, "FROM=\"1.0\" TO=\"2\"", Two)
                                         << "Error loading font: FROM value \"1.0\" is not an integer";
    QTest::newRow("TO overflows") << Lcd(Size, "FROM=\"1\" TO=\"4294967298\"", Two)
                                  << "Error loading font: TO value \"4294967298\" is not an integer";
    QTest::newRow("WIDTH with a blank") << Lcd("WIDTH=\" 1\" HEIGHT=\"2\"", Range, Two)
                                        << "Error loading font: WIDTH value \" 1\" is not an integer";
    QTest::newRow("WIDTH 0") << Lcd("WIDTH=\"0\" HEIGHT=\"2\"", Range, Two)
                             << "Error loading font: the size 0 x 2 lies outside 1 to 1024";
    QTest::newRow("HEIGHT 1025") << Lcd("WIDTH=\"1\" HEIGHT=\"1025\"", Range, Two)
                                 << "Error loading font: the size 1 x 1025 lies outside 1 to 1024";
    QTest::newRow("too few CHARs")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/></CHARS>")
        << "Error loading font: CHARS holds 1 characters, 2 needed";
    QTest::newRow("CODE outside the range")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"3\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: CODE 3 lies outside the range 1 to 2";
    QTest::newRow("CODE below the range")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"0\" PIXELS=\"1,2\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: CODE 0 lies outside the range 1 to 2";
    QTest::newRow("CODE 300")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"300\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: CODE 300 lies outside 0 to 255";
    QTest::newRow("one item too few")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2\"/><CHAR CODE=\"2\" PIXELS=\"3\"/></CHARS>")
        << "Error loading font: PIXELS of character 2 holds 1 values, 2 needed";
    QTest::newRow("missing PIXELS")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: PIXELS of character 1 holds 0 values, 2 needed";
    QTest::newRow("two commas")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,,2\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: PIXELS of character 1 holds \"\", which is not an integer";
    QTest::newRow("trailing comma")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: PIXELS of character 1 holds \"\", which is not an integer";
    QTest::newRow("item not an integer")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,0x2\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: PIXELS of character 1 holds \"0x2\", which is not an integer";
    QTest::newRow("item overflows")
        << Lcd(Size, Range, "<CHARS><CHAR CODE=\"1\" PIXELS=\"1,2147483648\"/><CHAR CODE=\"2\" PIXELS=\"3,4\"/></CHARS>")
        << "Error loading font: PIXELS of character 1 holds \"2147483648\", which is not an integer";
    // A file cut inside the last value must not load a shortened number.
    QTest::newRow("cut inside a value")
        << QByteArray("<FONT><FONTSIZE WIDTH=\"1\" HEIGHT=\"1\"/><RANGE FROM=\"0\" TO=\"0\"/><CHARS>"
                      "<CHAR CODE=\"0\" PIXELS=\"16777")
        << "Error loading font: PIXELS of character 0 holds 0 values, 1 needed";
}

void tst_ProjectFile::badFileFailsAndChangesNothing()
{
    QFETCH(QByteArray, File);
    QFETCH(QString, Message);
    WriteBytes(Path("bad.lcd"), File);
    TGLCDFont Font(QStringLiteral("current"));
    MakeNew(Font, 1, 2, 1, 2);
    Font.FileName = QStringLiteral("current.lcd");
    const QString Before = Dump(Font);
    QString Error;
    QVERIFY(!Font.LoadFromFile(Path("bad.lcd"), &Error));
    QCOMPARE(Error, Message);
    QCOMPARE(Dump(Font), Before);
}

void tst_ProjectFile::missingFileFails()
{
    TGLCDFont Font(QStringLiteral("kept"));
    QString Error;
    QVERIFY(!Font.LoadFromFile(Path("nothing.lcd"), &Error));
    QCOMPARE(Error, QStringLiteral("File %1 does not exists.").arg(Path("nothing.lcd")));
    QCOMPARE(Font.FontName, QStringLiteral("kept"));
    QCOMPARE(Font.FileName, QString());
}

// Each is looked at before it is read (a pipe would hang the reader, so each case runs in a child), or
// refused before it can take more memory than there is; the font stays as it was. A long name is kept.
void tst_ProjectFile::openRefusesWhatIsNoProject()
{
    const QByteArray Long(20 << 20, 'n');
    const QString NotRegular = "%1 is not a regular file|kept", NoMemory = "Not enough memory to open %1|kept";
    // Made at the path (as MakeKind names it; a file holds Bytes), the memory left (-1: not known; 0: not known,
    // and too little address space), and the error and the font's name, or the length of the name read.
    const struct { const char* Kind; QByteArray Bytes; int Memory; QString Want; } Rows[] = {
        {"folder", {}, -1, NotRegular}, {"link to a pipe", {}, -1, NotRegular}, {"device", {}, -1, NotRegular},
        // Opening takes 4.03 times the file at most: 4.5 times it is enough.
        {"file", QByteArray(1000, ' '), 4030,
         "Not enough memory to open %1: opening it takes about 4.39 KiB, 3.94 KiB are available|kept"},
        {"file", QByteArray(1000, ' '), 4500, "Error loading font: the file holds no XML element|kept"},
#ifndef DW_SANITIZE // whose allocator ends the program where the C++ one throws
        {"file", "<FONT><FONTNAME>" + Long + "</FONTNAME></FONT>", 0, NoMemory},
#endif
        {"file", "<FONT>" + QByteArray("<A/>").repeated(1 << 16) + "</FONT>", -1,
         "Error loading font: the file holds more than 65536 elements and attributes|kept"},
        {"file", Lcd("", "FROM=\"1\" TO=\"0\"", "").replace("<FONTNAME>F", "<FONTNAME>" + Long), -1, QString::number(Long.size())}};
    QStringList Got, Want;
    for (const auto& R : Rows) {
        QTemporaryDir Dir;
        const QString Name = Dir.filePath("opened.lcd");
        QVERIFY(MakeKind(Name, R.Kind, R.Bytes));
        Want << QString(R.Want).replace("%1", Name);
        Got << QString::fromUtf8(InChild(false, -1, [&] {
            SetAvailableMemorySource([&] { return qint64(R.Memory > 0 ? R.Memory : -1); });
            if (R.Memory == 0) { // room for the program, not for the file
                QFile Pages(QStringLiteral("/proc/self/statm")); // the address space in pages first
                const qint64 Used = Pages.open(QIODevice::ReadOnly) ? Pages.readLine().split(' ')[0].toLongLong() : 0;
                const rlimit Room{rlim_t(Used * ::getpagesize() + (8 << 20)), RLIM_INFINITY};
                ::setrlimit(RLIMIT_AS, &Room);
            }
            TGLCDFont Font(QStringLiteral("kept"));
            QString Error;
            return Font.LoadFromFile(Name, &Error) ? QByteArray::number(Font.FontName.size())
                                                   : (Error + "|" + Font.FontName).toUtf8();
        }));
    }
    QCOMPARE(Got, Want);
}

void tst_ProjectFile::refusedSaveKeepsOldFile_data()
{
    QTest::addColumn<int>("Fault");
    QTest::newRow("empty slot") << 0;
    QTest::newRow("one character wider") << 1;
    QTest::newRow("one character taller") << 2;
    QTest::newRow("cells wider than the reader takes") << 3;
    QTest::newRow("range beyond 255") << 4;
}

void tst_ProjectFile::refusedSaveKeepsOldFile()
{
    QFETCH(int, Fault);
    WriteBytes(Path("old.lcd"), "old contents");
    TGLCDFont Font(QStringLiteral("F"));
    MakeNew(Font, 10, 20, 4, 4);
    switch (Fault) {
    case 0: Font.SetChar(15, nullptr); break;
    case 1: Font.GetChar(20)->SetWidth(5); break;
    case 2: Font.GetChar(11)->SetHeight(3); break;
    case 3: MakeNew(Font, 10, 10, 1025, 1); break;
    case 4: Font.RangeTo = 256; break;
    }
    QString Error;
    QVERIFY(!Font.SaveToFile(Path("old.lcd"), &Error));
    QCOMPARE(Error, QStringLiteral("Error saving font"));
    QCOMPARE(ReadBytes(Path("old.lcd")), QByteArray("old contents"));
}

void tst_ProjectFile::failedWriteIsReported()
{
    TGLCDFont Font(QStringLiteral("F"));
    MakeNew(Font, 65, 65, 2, 2);
    QString Error;
    QVERIFY(!Font.SaveToFile(QString(), &Error));
    QCOMPARE(Error, QStringLiteral("Error saving font: no file name"));

    const QString Missing = Path("no/such/folder/f.lcd");
    QVERIFY(!Font.SaveToFile(Missing, &Error));
    QVERIFY2(Error.startsWith(QStringLiteral("Error saving font to %1: ").arg(Missing)), qPrintable(Error));
    QVERIFY(!Error.contains(u'\n'));
    QVERIFY(!QFile::exists(Missing));
    QCOMPARE(Font.FileName, QString()); // the project keeps its name until a save succeeds
    QVERIFY(Font.SaveToFile(Path("f.lcd"), &Error));
    QCOMPARE(Font.FileName, Path("f.lcd"));
    QVERIFY(!Font.SaveToFile(Missing, &Error));
    QCOMPARE(Font.FileName, Path("f.lcd"));
}

QTEST_GUILESS_MAIN(tst_ProjectFile)
#include "tst_ProjectFile.moc"
