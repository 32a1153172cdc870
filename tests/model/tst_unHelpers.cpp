#include "unHelpers.h"
#include "../FullDisk.h"

#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

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
    void writeStepFails_data();
    void writeStepFails();
    void shellGoesThroughOpener();
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
// Access control lists as the kernel keeps them (a version, then each entry's tag, permissions and id): the
// group shut out and user 4243 let read (GroupList: the group let read too); as a folder's default, 4243 let write too.
const QByteArray ReadList = QByteArray::fromHex("02000000 01000600ffffffff 0200040093100000 04000000ffffffff "
                                                "10000400ffffffff 20000000ffffffff");
const QByteArray GroupList = QByteArray::fromHex("02000000 01000600ffffffff 0200040093100000 04000400ffffffff "
                                                 "10000400ffffffff 20000000ffffffff");
constexpr gid_t LeftGroup = 4243; // one the ordinary user is not in
const QByteArray DefaultList = QByteArray::fromHex("02000000 01000700ffffffff 0200070093100000 04000500ffffffff "
                                                   "10000700ffffffff 20000500ffffffff");

// The extended attributes of Path, "name=value in hex" each, sorted.
QStringList AttributesOf(const QString& Path)
{
    const QByteArray File = QFile::encodeName(Path);
    QByteArray Names(4096, 0), Value(4096, 0);
    QStringList Found;
    for (const QByteArray& Name : Names.left(std::max<ssize_t>(0, ::listxattr(File, Names.data(), 4096))).split('\0'))
        if (!Name.isEmpty())
            Found << Name + '=' + Value.left(std::max<ssize_t>(0, ::getxattr(File, Name, Value.data(), 4096))).toHex();
    Found.sort();
    return Found;
}

// A target (a file holds 3000 old bytes) in a folder; each row names Why, the last field, for GCC's sake.
struct TWrite {
    QString Kind = QStringLiteral("file"); // as MakeKind names it
    mode_t Folder = 0755, File = 0640;
    int NameLength = 8, NewSize = 6000, Fits = -1; // Fits: percent of the new file that fits on the disk
    gid_t Group = OrdinaryUser; // the old file's, owned by root where it is the user's other group
    int Lists = 0; // 1 (3): the file has ReadList (GroupList) and an attribute of the user's; 2: the folder DefaultList
    uid_t LinkOwner = 0;
    QStringList Given = {}; // the new file's mode, group and attributes where not the old one's
    QString Why; // "%1": the path written to
};
} // namespace

// Written by an ordinary user: the old bytes and mode stay unless all is written, the reason is the system's.
void tst_unHelpers::writeKeepsOldBytesUnlessAllIsWritten_data()
{
    QTest::addColumn<TWrite>("W");
    const QString Denied = QString::fromLocal8Bit(std::strerror(EACCES)), NotRegular = "%1 is not a regular file";
    QTest::newRow("255-byte name") << TWrite{.NameLength = 255, .Why = {}};
    QTest::newRow("link to a file") << TWrite{.Kind = "link to a file", .Why = {}};
    QTest::newRow("folder") << TWrite{.Kind = "folder", .Why = NotRegular};
    QTest::newRow("link to a pipe") << TWrite{.Kind = "link to a pipe", .Why = NotRegular};
    for (int Fits : {0, 50, 99, 100})
        QTest::addRow("read-only folder, %d%% fits", Fits)
            << TWrite{.Folder = 0555, .Fits = Fits, .Why = Fits < 100 ? TFileSizeLimit::Reason() : ""};
    // Shorter than the old file: a size limit stops a write below its end too.
    QTest::newRow("read-only folder, shorter") << TWrite{.Folder = 0555, .NewSize = 1000, .Why = {}};
    QTest::newRow("read-only folder, shorter, 50% fits")
        << TWrite{.Folder = 0555, .NewSize = 1000, .Fits = 50, .Why = TFileSizeLimit::Reason()};
    QTest::newRow("read-only file") << TWrite{.File = 0440, .Why = Denied}; // not replaced by a new one
    QTest::newRow("root's file, a shared group's to write") << TWrite{.File = 0660, .Group = OrdinaryUsersOtherGroup, .Why = {}};
    const QString Foreign = "%1 is a link that another user owns in a shared folder";
    QTest::newRow("another user's link in a shared folder") << TWrite{.Kind = "link to a file", .Folder = 01777, .Why = Foreign};
    QTest::newRow("own link in a shared folder") << TWrite{.Kind = "link to a file", .Folder = 01777, .LinkOwner = OrdinaryUser, .Why = {}};
    QTest::newRow("another user's link, a sticky folder of the user's") << TWrite{.Kind = "link to a file", .Folder = 01755, .Why = {}};
    QTest::newRow("access list and attribute") << TWrite{.Lists = 1, .Why = {}};
    QTest::newRow("access list and attribute, read-only folder") << TWrite{.Folder = 0555, .Lists = 1, .Why = {}};
    QTest::newRow("no access list, the folder's default") << TWrite{.Lists = 2, .Why = {}};
    // A group the user left cannot be kept: the user's own, in its place, gets none of its access.
    QTest::newRow("a group the user left") << TWrite{.Group = LeftGroup, .Given = {"600", "65534"}, .Why = {}};
    QTest::newRow("a group the user left, access list") << TWrite{.Group = LeftGroup, .Lists = 3,
        .Given = {"640", "65534", "system.posix_acl_access=" + ReadList.toHex(), "user.note=6b657074"}, .Why = {}};
}

void tst_unHelpers::writeKeepsOldBytesUnlessAllIsWritten()
{
    QFETCH(TWrite, W);
    TUserDir Dir;
    const QString Path = Dir.filePath(QString(W.NameLength - 4, u'a') + ".lcd");
    const QByteArray Old(3000, 'o'), New(W.NewSize, 'n'), Folder = QFile::encodeName(Dir.path());
    const bool File = W.Kind.endsWith(QStringLiteral("file"));
    QVERIFY(MakeKind(Path, W.Kind, Old, W.File));
    QVERIFY(W.Group == OrdinaryUser || ::chown(QFile::encodeName(Path), W.Group == LeftGroup ? -1 : 0, W.Group) == 0);
    QVERIFY(W.Lists % 2 == 0 || (::setxattr(QFile::encodeName(Path), "system.posix_acl_access",
                                            W.Lists == 3 ? GroupList : ReadList, ReadList.size(), 0) |
                             ::setxattr(QFile::encodeName(Path), "user.note", "kept", 4, 0)) == 0);
    QVERIFY(!QFileInfo(Path).isSymLink() || ::lchown(QFile::encodeName(Path), W.LinkOwner, W.LinkOwner) == 0);
    QVERIFY(W.Lists != 2 || ::setxattr(Folder, "system.posix_acl_default", DefaultList, DefaultList.size(), 0) == 0);
    const QStringList Before = Entries(Dir.path()), Attributes = AttributesOf(Path);
    QVERIFY(::chmod(Folder.constData(), W.Folder) == 0);
    const QByteArray Got = InChild(true, W.Fits < 0 ? -1 : W.NewSize * W.Fits / 100, [&] {
        QString Reason;
        return WriteWholeFile(Path, New, &Reason) ? QByteArray() : Reason.toUtf8();
    });
    QVERIFY(::chmod(Folder.constData(), 0755) == 0);
    QCOMPARE(QString::fromUtf8(Got), W.Why.replace(QStringLiteral("%1"), Path));
    QCOMPARE(Entries(Dir.path()), Before);
    QCOMPARE(QFileInfo(Path).isSymLink(), W.Kind.startsWith(QStringLiteral("link")));
    QCOMPARE(QFileInfo(Path).isFile(), File);
    if (File) { // read only where a file is: a pipe would hang the reader
        struct stat Info {};
        QCOMPARE(FileBytes(Path), W.Why.isEmpty() ? New : Old);
        QVERIFY(::stat(QFile::encodeName(Path).constData(), &Info) == 0);
        const auto Facts = [](mode_t Mode, gid_t Group) { return QStringList{QString::number(Mode & 07777, 8), QString::number(Group)}; };
        const QStringList Kept = W.Given.isEmpty() ? Facts(W.File, W.Group) + Attributes : W.Given;
        QCOMPARE(Facts(Info.st_mode, Info.st_gid) + AttributesOf(Path), Kept);
    }
}

namespace {
// The writer's calls as a test makes them: each is logged as the step it is, the Nth call of step Fails fails
// with Errno (-1: the writer is killed there), and a write takes at most 1000 bytes, so that a later one can fail.
// Swap: the target becomes a link (1) or a hard link (2) to victim.lcd beside it just before the file is opened to
// be written in place.
struct { QString Fails; int Nth, Errno; QStringList Log; int Swap; } Injected;

bool Injects(const char* Step)
{
    Injected.Log << Step;
    errno = Injected.Errno;
    const bool Fails = Injected.Fails == Step && Injected.Log.count(Step) == Injected.Nth;
    return Fails && Injected.Errno < 0 ? ::raise(SIGKILL) : Fails;
}

const TWriterCalls Injecting{
    [](const char* Path, int Flags, mode_t Mode) {
        if (Injected.Swap && !(Flags & (O_CREAT | O_DIRECTORY))) {
            const QByteArray Folder = QFile::encodeName(QFileInfo(QFile::decodeName(Path)).path());
            if (::chmod(Folder, 0755) != 0 || ::unlink(Path) != 0 ||
                (Injected.Swap == 1 ? ::symlink("victim.lcd", Path) : ::link(Folder + "/victim.lcd", Path)) != 0)
                return -1;
        }
        return Injects((Flags & O_TMPFILE) == O_TMPFILE ? "unnamed" : Flags & O_CREAT ? "named"
                       : Flags & O_DIRECTORY ? "open-folder" : "open") ? -1 : SystemWriterCalls.Open(Path, Flags, Mode);
    },
    [](int Fd) { return Injects("lock") ? -1 : SystemWriterCalls.Lock(Fd); },
    [](int Fd, off_t Size) { return Injects("reserve") ? errno : SystemWriterCalls.Reserve(Fd, Size); },
    [](int Fd, const void* Data, size_t Size, off_t At) {
        return Injects("write") ? -1 : SystemWriterCalls.Write(Fd, Data, std::min<size_t>(Size, 1000), At); },
    [](int Fd, const char* Name, const void* Value, size_t Size) {
        return Injects(std::strcmp(Name, "system.posix_acl_access") ? "xattr" : "acl") ? -1
               : SystemWriterCalls.SetAttribute(Fd, Name, Value, Size); },
    [](int Fd) {
        struct stat Info {};
        return Injects(::fstat(Fd, &Info) || !S_ISDIR(Info.st_mode) ? "fsync" : "fsync-folder") ? -1 : SystemWriterCalls.Sync(Fd);
    },
    [](int Fd, const char* Name) { return Injects("link") ? -1 : SystemWriterCalls.Link(Fd, Name); },
    [](const char* From, const char* To) { return Injects("rename") ? -1 : SystemWriterCalls.Rename(From, To); },
};

// In a folder the user may not write to or not; the step that fails ("": none) at its Nth call, with Errno; all the
// writer's calls in order; the file's bytes after; the reason's lead ("%1": the path) before the system's text (null:
// none). Swapped: the target becomes a link (1) or a hard link (2) to another file of the user's (victim.lcd) as it is
// opened to be written in place.
struct TStep { bool InPlace; const char* Fails; int Nth, Errno; const char* Calls; QByteArray After; const char* Lead = ""; int Swapped = 0; };
} // namespace

// Written by an ordinary user over 1500 old bytes with an access list: every step's failure gives its reason
// and leaves no new name.
void tst_unHelpers::writeStepFails_data()
{
    QTest::addColumn<TStep>("S");
    const QByteArray Old(1500, 'o'), New(2500, 'n');
    const char* Whole = "unnamed acl write write write fsync link rename open-folder fsync-folder";
    const char* InPlace = "unnamed open lock reserve write write write fsync";
    QTest::newRow("fsync, then name and rename") << TStep{false, "", 0, 0, Whole, New};
    QTest::newRow("unnamed file refused")
        << TStep{false, "unnamed", 1, EOPNOTSUPP, "unnamed named acl write write write fsync rename open-folder fsync-folder", New, nullptr};
    QTest::newRow("access list") << TStep{false, "acl", 1, EOPNOTSUPP, "unnamed acl", Old, "The access control list cannot be kept: "};
    QTest::newRow("first write") << TStep{false, "write", 1, ENOSPC, "unnamed acl write", Old};
    QTest::newRow("later write") << TStep{false, "write", 2, ENOSPC, "unnamed acl write write", Old};
    QTest::newRow("fsync") << TStep{false, "fsync", 1, EIO, "unnamed acl write write write fsync", Old};
    QTest::newRow("naming") << TStep{false, "link", 1, EIO, "unnamed acl write write write fsync link", Old};
    QTest::newRow("rename") << TStep{false, "rename", 1, EIO, "unnamed acl write write write fsync link rename", Old};
    QTest::newRow("folder fsync") << TStep{false, "fsync-folder", 1, EIO, Whole, New};
    QTest::newRow("killed while writing") << TStep{false, "write", 2, -1, "", Old};
    QTest::newRow("in place: lock, reserve, write") << TStep{true, "", 0, 0, InPlace, New};
    QTest::newRow("in place: lock") << TStep{true, "lock", 1, ENOLCK, "unnamed open lock", Old};
    QTest::newRow("in place: reservation") << TStep{true, "reserve", 1, ENOSPC, "unnamed open lock reserve", Old};
    QTest::newRow("in place: first write") << TStep{true, "write", 1, EIO, "unnamed open lock reserve write", Old};
    QTest::newRow("in place: later write") << TStep{true, "write", 2, EIO, "unnamed open lock reserve write write", New.left(1000) + Old.mid(1000)};
    QTest::newRow("in place: fsync") << TStep{true, "fsync", 1, EIO, InPlace, New};
    QTest::newRow("in place: the target became a link meanwhile") << TStep{true, "", 0, ELOOP, "unnamed open", "victim", "", 1};
    QTest::newRow("in place: the target became a hard link meanwhile")
        << TStep{true, "", 0, 0, "unnamed open", "victim", "%1 was replaced by another file while it was being saved", 2};
}

void tst_unHelpers::writeStepFails()
{
    QFETCH(TStep, S);
    TUserDir Dir;
    const QString Path = Dir.filePath("font.lcd");
    const QByteArray Folder = QFile::encodeName(Dir.path());
    QVERIFY(MakeKind(Path, "file", QByteArray(1500, 'o')));
    QVERIFY(::setxattr(QFile::encodeName(Path), "system.posix_acl_access", ReadList, ReadList.size(), 0) == 0);
    QVERIFY(!S.Swapped || MakeKind(Dir.filePath("victim.lcd"), "file", "victim"));
    const QStringList Before = Entries(Dir.path());
    QVERIFY(::chmod(Folder, S.InPlace ? 0555 : 0755) == 0);
    const QByteArray Got = InChild(true, -1, [&] {
        WriterCalls = Injecting;
        Injected = {S.Fails, S.Nth, S.Errno, {}, S.Swapped};
        QString Why; // set only when the write fails
        (void)WriteWholeFile(Path, QByteArray(2500, 'n'), &Why);
        return (Injected.Log.join(' ') + '|' + Why).toUtf8();
    });
    QVERIFY(::chmod(Folder, 0755) == 0);
    QCOMPARE(FileBytes(Path), S.After);
    const QString Why = !S.Lead ? "" : QString(S.Lead).replace("%1", Path) + QString::fromLocal8Bit(S.Errno > 0 ? std::strerror(S.Errno) : "");
    QCOMPARE(QString::fromUtf8(Got), S.Errno < 0 ? "<child ended: 9>" : S.Calls + ('|' + Why));
    QCOMPARE(Entries(Dir.path()), Before);
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

// The desktop's opener is an xdg-open of the test's own, first on the path (or none at all): a program
// took the file when the opener ends well or still runs after a moment (it may run the viewer itself).
void tst_unHelpers::documentOpenerSaysWhetherAProgramTookIt()
{
    QTemporaryDir Dir;
    const QString Help = Dir.filePath("Dotwright.chm"), Seen = Dir.filePath("seen");
    const QByteArray Path = qgetenv("PATH");
    QStringList Verdicts; // the opener's script, Open's answer, the file the opener was given
    for (const QString Script : {"exit 3", "exit 0", "", "sleep 3"}) {
        const QString Opener = QStringLiteral("#!/bin/sh\necho \"$1\" > %1\n%2\n").arg(Seen, Script);
        QVERIFY(MakeKind(Dir.filePath("xdg-open"), "file", Opener.toLocal8Bit(), 0700));
        QFile::remove(Seen);
        qputenv("PATH", Script.isEmpty() ? QByteArray("/nonexistent") : Dir.path().toLocal8Bit() + ":" + Path);
        const bool Took = DesktopShellOpener().Open(Help, QString(), QString(), false);
        Verdicts << Script + (Took ? ": took " : ": not taken ") + FileBytes(Seen).trimmed();
    }
    qputenv("PATH", Path);
    QCOMPARE(Verdicts, (QStringList{"exit 3: not taken " + Help, "exit 0: took " + Help, ": not taken <missing>",
                                    "sleep 3: took " + Help}));
}

// A modal box opened during the wait runs its own loop, which sees the
// program's end first; the wait must still end once the box is gone.
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
