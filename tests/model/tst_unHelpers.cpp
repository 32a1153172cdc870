#include "unHelpers.h"
#include "../FullDisk.h"

#include <QtTest>
#include <sys/stat.h>

class tst_unHelpers : public QObject {
    Q_OBJECT
private slots:
    void stringHelpers();
    void prefixedHex_data();
    void prefixedHex();
    void intToBin_data();
    void intToBin();
    void binToInt_data();
    void binToInt();
    void addTrailingBackslash();
    void uiFontName();
    void win1252RoundTrip();
    void writeOnFullDisk_data();
    void writeOnFullDisk();
    void writeRefusesNonRegularTarget();
    void writeKeepsOldBytesUnlessAllIsWritten_data();
    void writeKeepsOldBytesUnlessAllIsWritten();
    void shellGoesThroughOpener();
    void documentOpenerSaysWhetherAProgramTookIt_data();
    void documentOpenerSaysWhetherAProgramTookIt();
    void shellWaitOutlivesANestedLoop();
    void shellWaitEndsWhenTheApplicationQuits();
};

void tst_unHelpers::stringHelpers()
{
    QCOMPARE(PadRight("abc", 5, '*'), QString("abc**"));
    QCOMPARE(PadRight("abc", 2, '*'), QString("abc"));
    QCOMPARE(PadRight("", 3, ' '), QString("   "));
    QCOMPARE(RepeatString("ab", 3), QString("ababab"));
    QCOMPARE(RepeatString("ab", 0), QString());
    QCOMPARE(RepeatString("ab", -1), QString());
    QCOMPARE(SpacesToUnderscores("My Big Font"), QString("My_Big_Font"));
    QCOMPARE(SpacesToUnderscores("a\tb c"), QString("a\tb_c"));
    QCOMPARE(ElidedText(QStringLiteral("abcdef"), 6), QStringLiteral("abcdef"));
    QCOMPARE(ElidedText(QStringLiteral("abcdefg"), 6), QStringLiteral("ab\u2026efg"));
    QCOMPARE(ElidedText(QString(50 << 20, u'n'), 200).size(), 200);
    // A pair of surrogates stays whole or goes whole.
    QCOMPARE(ElidedText(QStringLiteral("a\U0001F600bcd\U0001F600"), 6), QStringLiteral("a\u2026d\U0001F600"));
    QCOMPARE(TrimControls(QStringLiteral("\t My Font \r\n")), QStringLiteral("My Font"));
    QCOMPARE(TrimControls(QStringLiteral(" \x01\x1f ")), QString());
    QCOMPARE(TrimControls(QStringLiteral("\x7f!\xa0")), QStringLiteral("\x7f!\xa0"));
    QCOMPARE(RemoveControls(QStringLiteral("\tA\r\nB C\x1f\x7f")), QStringLiteral("AB C\x7f"));
}

void tst_unHelpers::prefixedHex_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("5") << 5 << "0x" << "0x05";
    QTest::newRow("10") << 10 << "$" << "$0A";
    QTest::newRow("255") << 255 << "$" << "$FF";
    QTest::newRow("256") << 256 << "$" << "$100";
    QTest::newRow("0") << 0 << "" << "00";
    QTest::newRow("-1") << -1 << "$" << "$FFFFFFFF";
    QTest::newRow("min") << int(0x80000000) << "$" << "$80000000";
}

void tst_unHelpers::prefixedHex()
{
    QFETCH(int, value);
    QFETCH(QString, prefix);
    QFETCH(QString, expected);
    QCOMPARE(PrefixedHex(value, prefix), expected);
}

void tst_unHelpers::intToBin_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("5 in 8") << 5 << 8 << "00000101";
    QTest::newRow("0 in 4") << 0 << 4 << "0000";
    QTest::newRow("-3 in 4") << -3 << 4 << "0000";
    QTest::newRow("255 in 8") << 255 << 8 << "11111111";
    QTest::newRow("wider keeps low bits") << 0x1F5 << 4 << "0101";
    QTest::newRow("32 bits") << 0x7FFFFFFF << 32 << "01111111111111111111111111111111";
    QTest::newRow("no digits") << 5 << 0 << "";
}

void tst_unHelpers::intToBin()
{
    QFETCH(int, value);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(IntToBin(value, digits), expected);
}

void tst_unHelpers::binToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("00000101") << "00000101" << 5;
    QTest::newRow("000") << "000" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("1a1") << "1a1" << 5;
    QTest::newRow("top bit is the sign") << ("1" + QString(31, '0')) << int(0x80000000);
    QTest::newRow("33 digits keep the low 32") << ("11" + QString(31, '0')) << int(0x80000000);
}

void tst_unHelpers::binToInt()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(BinToInt(text), expected);
}

void tst_unHelpers::addTrailingBackslash()
{
    QCOMPARE(AddTrailingBackslash("C:"), QString("C:"));
    QCOMPARE(AddTrailingBackslash("C:\\Fonts"), QString("C:\\Fonts\\"));
    QCOMPARE(AddTrailingBackslash("C:\\Fonts\\"), QString("C:\\Fonts\\"));
    QCOMPARE(AddTrailingBackslash(""), QString());
}

void tst_unHelpers::uiFontName()
{
    QCOMPARE(GetUIFontName({"Arial", "segoe ui"}), QString("Segoe UI"));
    QCOMPARE(GetUIFontName({"Arial", "Tahoma"}), QString("Tahoma"));
    QCOMPARE(GetUIFontName({"DejaVu Sans", "ARIAL"}), QString("Arial"));
    QCOMPARE(GetUIFontName({"DejaVu Sans"}), QString("MS Sans Serif"));
    QCOMPARE(GetUIFontName(QStringList()), QString("MS Sans Serif"));
}

void tst_unHelpers::win1252RoundTrip()
{
    QByteArray All;
    for (int B = 0; B < 256; ++B)
        All.append(char(B));
    QCOMPARE(ToWin1252(FromWin1252(All)), All);
    QCOMPARE(ToWin1252(QString::fromUtf8("caf\xC3\xA9")), QByteArray("caf\xE9"));
    QCOMPARE(FromWin1252(QByteArray("\x80\x99")), QString::fromUtf8("\xE2\x82\xAC\xE2\x84\xA2"));
    QCOMPARE(Win1252Char(0x80), QString(QChar(0x20AC)));
    QCOMPARE(ToWin1252(QString(QChar(0x4E2D))), QByteArray("?")); // not in the code page
    QCOMPARE(FirstNonWin1252(QStringLiteral("T\u00EBst \u20AC \u2603 \u041F")), QStringLiteral("\u2603"));
    QCOMPARE(FirstNonWin1252(QStringLiteral("a\U0001F600")), QStringLiteral("\U0001F600"));
    QCOMPARE(FirstNonWin1252(FromWin1252(All)), QString());
}

// Old bytes stay until the whole new file is there, below and above the
// 16 KiB that QSaveFile buffers.
void tst_unHelpers::writeOnFullDisk_data()
{
    QTest::addColumn<int>("Size");
    QTest::addColumn<int>("Percent"); // of the file that fits
    for (int Size : {5000, 11000, 40000})
        for (int Percent : {0, 37, 41, 50, 99, 100})
            QTest::addRow("%d, %d%%", Size, Percent) << Size << Percent;
}

void tst_unHelpers::writeOnFullDisk()
{
    QFETCH(int, Size);
    QFETCH(int, Percent);
    QTemporaryDir Dir;
    QString Why;
    const auto Write = [&](const QString& To) { (void)WriteWholeFile(To, QByteArray(Size, 'n'), &Why); };
    QCOMPARE(SaveOntoFullDisk(Dir.filePath("out.txt"), Percent, Write), Size);
    QCOMPARE(Why, Percent == 100 ? QString() : TFileSizeLimit::Reason());
    QCOMPARE(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"out.txt", "probe-out.txt"}));
}

// A pipe or a device is never replaced by a regular file, and a pipe with no
// reader does not hang the save.
void tst_unHelpers::writeRefusesNonRegularTarget()
{
    QTemporaryDir Dir;
    QVERIFY(mkfifo(QFile::encodeName(Dir.filePath("pipe")).constData(), 0600) == 0);
    for (const QString& Name : {Dir.filePath("pipe"), QStringLiteral("/dev/null")}) {
        QString Why;
        QVERIFY(!WriteWholeFile(Name, "text", &Why));
        QCOMPARE(Why, Name + " is not a regular file");
        QVERIFY(!QFileInfo(Name).isFile() && QFileInfo::exists(Name));
    }
}

namespace {

enum TTarget { OldFile, OldFileInReadOnlyFolder, ReadOnlyFileAndFolder, NoFileInReadOnlyFolder, LinkToOldFile,
               Folder, LinkToPipe };

const QByteArray OldBytes(3000, 'o');

QStringList Entries(const QString& Dir)
{
    return QDir(Dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

// Every kind of target, written by an ordinary user, on a disk that takes
// Fits percent of the new file: the old bytes stay unless the whole new file
// is there, the reason is the system's, and nothing is left beside the file.
void tst_unHelpers::writeKeepsOldBytesUnlessAllIsWritten_data()
{
    QTest::addColumn<QString>("Name");
    QTest::addColumn<int>("Target");
    QTest::addColumn<int>("NewSize");
    QTest::addColumn<int>("Fits"); // -1: no limit
    QTest::addColumn<QString>("Why"); // "%1": the path written to
    const QString Name = QStringLiteral("kept.lcd"), Denied = QString::fromLocal8Bit(std::strerror(EACCES));
    const QString TooLarge = TFileSizeLimit::Reason(), NotRegular = QStringLiteral("%1 is not a regular file");
    QTest::newRow("over a file") << Name << int(OldFile) << 6000 << -1 << "";
    QTest::newRow("250-byte name") << QString(246, u'a') + ".lcd" << int(OldFile) << 6000 << -1 << "";
    QTest::newRow("255-byte name") << QString(251, u'a') + ".lcd" << int(OldFile) << 6000 << -1 << "";
    QTest::newRow("read-only folder") << Name << int(OldFileInReadOnlyFolder) << 6000 << -1 << "";
    QTest::newRow("read-only folder, shorter") << Name << int(OldFileInReadOnlyFolder) << 1000 << -1 << "";
    // A limit applies to a write below the end of the file too.
    QTest::newRow("read-only folder, shorter, full disk at 50%")
        << Name << int(OldFileInReadOnlyFolder) << 1000 << 50 << TooLarge;
    for (int Fits : {0, 50, 99, 100})
        QTest::addRow("read-only folder, full disk at %d%%", Fits)
            << Name << int(OldFileInReadOnlyFolder) << 6000 << Fits << (Fits < 100 ? TooLarge : QString());
    QTest::newRow("read-only file and folder") << Name << int(ReadOnlyFileAndFolder) << 6000 << -1 << Denied;
    QTest::newRow("new file, read-only folder") << Name << int(NoFileInReadOnlyFolder) << 6000 << -1 << Denied;
    QTest::newRow("link to a file") << QStringLiteral("link.lcd") << int(LinkToOldFile) << 6000 << -1 << "";
    QTest::newRow("folder") << Name << int(Folder) << 6000 << -1 << NotRegular;
    QTest::newRow("link to a pipe") << QStringLiteral("link.lcd") << int(LinkToPipe) << 6000 << -1 << NotRegular;
}

void tst_unHelpers::writeKeepsOldBytesUnlessAllIsWritten()
{
    QFETCH(QString, Name);
    QFETCH(int, Target);
    QFETCH(int, NewSize);
    QFETCH(int, Fits);
    QFETCH(QString, Why);
    TUserDir Dir;
    const QString Path = Dir.filePath(Name), Real = Dir.filePath(QStringLiteral("real.lcd"));
    const QByteArray P = QFile::encodeName(Path), R = QFile::encodeName(Real);
    const bool Link = Target == LinkToOldFile || Target == LinkToPipe;
    if (Target == Folder)
        QVERIFY(::mkdir(P.constData(), 0755) == 0);
    else if (Target == LinkToPipe)
        QVERIFY(::mkfifo(R.constData(), 0644) == 0);
    else if (Target != NoFileInReadOnlyFolder) {
        QFile Old(Link ? Real : Path);
        QVERIFY(Old.open(QIODevice::WriteOnly) && Old.write(OldBytes) == OldBytes.size() && Old.flush());
        const mode_t Mode = Target == ReadOnlyFileAndFolder ? 0440 : 0640;
        QVERIFY(::chmod(QFile::encodeName(Old.fileName()).constData(), Mode) == 0);
    }
    if (Link)
        QVERIFY(::symlink("real.lcd", P.constData()) == 0);
    const QStringList Before = Entries(Dir.path());
    for (const QString& F : Before)
        TUserDir::GiveToUser(Dir.filePath(F));
    const bool ReadOnly =
        Target == OldFileInReadOnlyFolder || Target == ReadOnlyFileAndFolder || Target == NoFileInReadOnlyFolder;
    QVERIFY(::chmod(QFile::encodeName(Dir.path()).constData(), ReadOnly ? 0555 : 0755) == 0);

    const QByteArray New(NewSize, 'n');
    const QByteArray Got = InChild(true, Fits < 0 ? -1 : qint64(NewSize) * Fits / 100, [&] {
        QString Reason;
        return WriteWholeFile(Path, New, &Reason) ? QByteArray() : Reason.toUtf8();
    });
    QVERIFY(::chmod(QFile::encodeName(Dir.path()).constData(), 0755) == 0);
    QCOMPARE(QString::fromUtf8(Got), QString(Why).replace(QStringLiteral("%1"), Path));
    QCOMPARE(Entries(Dir.path()), Before);
    QCOMPARE(QFileInfo(Path).isSymLink(), Link);
    struct stat Info {};
    if (Target == Folder || Target == LinkToPipe) { // untouched, and never opened: a pipe would hang the reader
        QVERIFY(::stat(P.constData(), &Info) == 0 && !S_ISREG(Info.st_mode));
        return;
    }
    QCOMPARE(FileBytes(Path), !Why.isEmpty() ? (Target == NoFileInReadOnlyFolder ? "<missing>" : OldBytes) : New);
    if (Target != NoFileInReadOnlyFolder)
        QCOMPARE(::stat(P.constData(), &Info) == 0 ? Info.st_mode & 07777 : 0u,
                 Target == ReadOnlyFileAndFolder ? 0440u : 0640u);
}

namespace {
class TRecordingOpener : public TShellOpener {
public:
    QStringList Opened;
    bool Answer = true;
    bool Open(const QString& FileName, const QString& Params, const QString& Directory, bool Wait) override
    {
        Opened << QString("%1|%2|%3|%4").arg(FileName, Params, Directory).arg(Wait);
        return Answer;
    }
};
} // namespace

void tst_unHelpers::shellGoesThroughOpener()
{
    TRecordingOpener Opener;
    SetShellOpener(&Opener);
    QVERIFY(ShellExecuteAndWait("https://dotwright.example/", "", "", false, 1));
    Opener.Answer = false;
    QVERIFY(!ShellExecuteAndWait("/tmp/x.chm", "", "", false, 1));
    SetShellOpener(nullptr);
    QCOMPARE(Opener.Opened, QStringList({"https://dotwright.example/|||0", "/tmp/x.chm|||0"}));
}

namespace {

QString SleepProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("sleep"));
}

// A wait that never ends would hang the run: end it loudly instead.
struct TWatchdog {
    QTimer Timer;
    explicit TWatchdog(int Ms)
    {
        Timer.setSingleShot(true);
        QObject::connect(&Timer, &QTimer::timeout, [] { qFatal("the shell's wait did not end"); });
        Timer.start(Ms);
    }
};

} // namespace

// A modal box opened during the wait runs its own loop, which sees the
// program's end first; the wait must still end once the box is gone.
void tst_unHelpers::documentOpenerSaysWhetherAProgramTookIt_data()
{
    QTest::addColumn<QString>("Script");
    QTest::addColumn<bool>("Opened");
    QTest::newRow("no program for the type") << "exit 3" << false;
    QTest::newRow("handed over") << "exit 0" << true;
    QTest::newRow("runs the viewer itself") << "sleep 3" << true;
    QTest::newRow("no opener at all") << "" << false;
}

// The desktop's opener is an xdg-open of the test's own, first on the path.
void tst_unHelpers::documentOpenerSaysWhetherAProgramTookIt()
{
    QFETCH(QString, Script);
    QFETCH(bool, Opened);
    QTemporaryDir Dir;
    const QString Seen = Dir.filePath("seen");
    if (!Script.isEmpty()) {
        QFile Opener(Dir.filePath("xdg-open"));
        QVERIFY(Opener.open(QIODevice::WriteOnly));
        Opener.write(QStringLiteral("#!/bin/sh\necho \"$1\" > %1\n%2\n").arg(Seen, Script).toLocal8Bit());
        Opener.close();
        QVERIFY(Opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    }
    const QByteArray Path = qgetenv("PATH");
    qputenv("PATH", Dir.path().toLocal8Bit() + (Script.isEmpty() ? QByteArray() : ":" + Path));
    const QString Help = Dir.filePath("Dotwright.chm");
    const bool Answer = DesktopShellOpener().Open(Help, QString(), QString(), false);
    qputenv("PATH", Path);
    QCOMPARE(Answer, Opened);
    QCOMPARE(FileBytes(Seen).trimmed(), Script.isEmpty() ? QByteArray("<missing>") : Help.toLocal8Bit());
}

void tst_unHelpers::shellWaitOutlivesANestedLoop()
{
    QVERIFY2(!SleepProgram().isEmpty(), "no sleep program");
    TWatchdog Watchdog(20000);
    bool NestedDone = false;
    QTimer::singleShot(10, [&] {
        QEventLoop Nested;
        QTimer::singleShot(700, &Nested, &QEventLoop::quit);
        Nested.exec();
        NestedDone = true;
    });
    QElapsedTimer T;
    T.start();
    QVERIFY(ShellExecuteAndWait(SleepProgram(), QStringLiteral("0.2"), QString(), true, 1));
    QVERIFY(NestedDone);
    QVERIFY2(T.elapsed() < 5000, qPrintable(QString::number(T.elapsed())));
}

// Quitting the application ends the wait although the program still runs.
void tst_unHelpers::shellWaitEndsWhenTheApplicationQuits()
{
    QVERIFY2(!SleepProgram().isEmpty(), "no sleep program");
    TWatchdog Watchdog(20000);
    qint64 Waited = -1;
    bool Answer = false;
    QTimer::singleShot(0, [&] {
        QElapsedTimer T;
        T.start();
        Answer = ShellExecuteAndWait(SleepProgram(), QStringLiteral("3"), QString(), true, 1);
        Waited = T.elapsed();
    });
    QTimer::singleShot(200, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    QVERIFY(Answer);
    QVERIFY2(Waited >= 0 && Waited < 2500, qPrintable(QString::number(Waited)));
}

QTEST_GUILESS_MAIN(tst_unHelpers)
#include "tst_unHelpers.moc"
