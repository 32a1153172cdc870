// The one writer of every file the program writes, the reader of the
// settings file, and the memory an open may take.
#include "unHelpers.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <utility>
#include <vector>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/xattr.h>
#include <qplatformdefs.h>

const TWriterCalls SystemWriterCalls{
    [](const char* Path, int Flags, mode_t Mode) { return int(QT_OPEN(Path, Flags, Mode)); },
    [](int Fd) {
        int Result;
        while ((Result = ::flock(Fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        return Result;
    },
    [](int Fd, off_t Size) { return ::posix_fallocate(Fd, 0, Size); },
    [](int Fd, const void* Data, size_t Size, off_t Offset) {
        return Offset < 0 ? ::write(Fd, Data, Size) : ::pwrite(Fd, Data, Size, Offset);
    },
    [](int Fd, const char* Name, const void* Value, size_t Size) { return ::fsetxattr(Fd, Name, Value, Size, 0); },
    [](int Fd) { return ::fsync(Fd); },
    [](int Fd, const char* Name) {
        // The way to name an unnamed file without privileges.
        const QByteArray Self = "/proc/self/fd/" + QByteArray::number(Fd);
        return ::linkat(AT_FDCWD, Self.constData(), AT_FDCWD, Name, AT_SYMLINK_FOLLOW);
    },
    [](const char* From, const char* To) { return ::rename(From, To); },
};
TWriterCalls WriterCalls = SystemWriterCalls;

namespace {

// The system's text for an errno value ("No space left on device").
QString SystemError(int Errno) { return QString::fromLocal8Bit(std::strerror(Errno)); }

QByteArray Joined(const QByteArray& Folder, const QByteArray& Name)
{
    return Folder.isEmpty() ? Name : Folder.endsWith('/') ? Folder + Name : Folder + '/' + Name;
}

// Where FileName leads once every link on the way is followed (Info then
// holds the end's lstat, st_mode 0 when it does not exist yet). A link is
// followed as the kernel's rule for shared folders would follow it, whatever
// the system's setting: in a sticky folder that anyone may write to, only a
// link of the follower's own or of the folder's owner, so that another user
// there cannot steer a write onto the follower's files. Nullopt with Why when
// it leads to something other than a regular file or cannot be followed.
std::optional<QByteArray> FollowLinks(const QString& FileName, QT_STATBUF& Info, QString& Why)
{
    const QByteArray Path = QFile::encodeName(FileName);
    std::vector<QByteArray> Names; // still to walk, the next one last
    const auto Push = [&Names](const QByteArray& Part) {
        const QList<QByteArray> Split = Part.split('/');
        for (auto It = Split.crbegin(); It != Split.crend(); ++It)
            if (!It->isEmpty() && *It != ".")
                Names.push_back(*It);
    };
    Push(Path);
    // Walked, and holds no link: its parent is found by name.
    QByteArray Done = Path.startsWith('/') ? QByteArray("/") : QByteArray();
    for (int Links = 0; !Names.empty();) {
        const QByteArray Name = Names.back();
        Names.pop_back();
        if (Name == "..") {
            const qsizetype Slash = Done.lastIndexOf('/');
            if (Done.isEmpty() || Done == ".." || Done.endsWith("/.."))
                Done = Joined(Done, Name);
            else if (Done != "/")
                Done = Slash < 0 ? QByteArray() : Done.left(std::max<qsizetype>(Slash, 1));
            continue;
        }
        const QByteArray Next = Joined(Done, Name);
        if (QT_LSTAT(Next.constData(), &Info) != 0) {
            Info.st_mode = 0; // missing (or unreachable): the write says why
            for (Done = Next; !Names.empty(); Names.pop_back())
                Done = Joined(Done, Names.back());
            return Done;
        }
        if (!S_ISLNK(Info.st_mode)) {
            if (!S_ISDIR(Info.st_mode) && !Names.empty()) {
                Why = SystemError(ENOTDIR);
                return std::nullopt;
            }
            Done = Next;
            continue;
        }
        QT_STATBUF Folder;
        if (++Links > 40 || QT_STAT(Done.isEmpty() ? "." : Done.constData(), &Folder) != 0) {
            Why = SystemError(Links > 40 ? ELOOP : errno);
            return std::nullopt;
        }
        if ((Folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH) && Info.st_uid != ::geteuid() &&
            Info.st_uid != Folder.st_uid) {
            Why = QStringLiteral("%1 is a link that another user owns in a shared folder")
                      .arg(QDir::toNativeSeparators(QFile::decodeName(Next)));
            return std::nullopt;
        }
        QByteArray Target(PATH_MAX, Qt::Uninitialized);
        const ssize_t Size = ::readlink(Next.constData(), Target.data(), size_t(Target.size()));
        if (Size < 0) {
            Why = SystemError(errno);
            return std::nullopt;
        }
        Target.truncate(Size);
        // A relative link is relative to its own folder, which Done is.
        if (Target.startsWith('/'))
            Done = "/";
        Push(Target);
    }
    if (QT_LSTAT(Done.isEmpty() ? "." : Done.constData(), &Info) != 0)
        Info.st_mode = 0;
    if (Info.st_mode != 0 && !S_ISREG(Info.st_mode)) {
        Why = NotARegularFile(FileName);
        return std::nullopt;
    }
    return Done;
}

// Writes all of Bytes at Offset (< 0: at the file's position), retrying what
// a signal or a short write cut; 0 or the errno of the failure. Written: the
// bytes that went out.
int WriteAll(int Fd, const QByteArray& Bytes, qint64 Offset, qint64& Written)
{
    Written = 0;
    while (Written < Bytes.size()) {
        const ssize_t Done = WriterCalls.Write(Fd, Bytes.constData() + Written, size_t(Bytes.size() - Written),
                                               Offset < 0 ? -1 : Offset + Written);
        if (Done > 0)
            Written += Done;
        else if (Done == 0 || errno != EINTR)
            return Done == 0 ? EIO : errno;
    }
    return 0;
}

// A hidden name beside the target, short enough for any folder that holds a
// name of the longest kind: ".dw-" and 6 letters.
QByteArray TemporaryName(const QByteArray& Folder)
{
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray Name = Folder + "/.dw-";
    for (int I = 0; I < 6; ++I)
        Name += Letters[QRandomGenerator::global()->bounded(int(sizeof(Letters) - 1))];
    return Name;
}

// The new file, in the target's folder until it takes the target's place:
// closed, and its name (if it has one yet) removed, unless it got there.
struct TNewFile {
    int Fd = -1;
    QByteArray Name;
    ~TNewFile()
    {
        if (Fd >= 0)
            ::close(Fd);
        if (!Name.isEmpty())
            ::unlink(Name.constData());
    }
};

// Makes New in Folder: without a name where the file system allows it, so
// that a killed save leaves nothing behind; else with a hidden one. Mode as
// open() takes it (the umask applies). False with errno set.
bool CreateNew(TNewFile& New, const QByteArray& Folder, mode_t Mode)
{
    // An unnamed file is named through /proc.
    if (::access("/proc/self/fd", X_OK) == 0) {
        New.Fd = WriterCalls.Open(Folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, Mode);
        if (New.Fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
            return New.Fd >= 0;
    }
    for (int Try = 0; Try < 100; ++Try) {
        const QByteArray Name = TemporaryName(Folder);
        New.Fd = WriterCalls.Open(Name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Mode);
        if (New.Fd >= 0)
            New.Name = Name;
        if (New.Fd >= 0 || errno != EEXIST)
            return New.Fd >= 0;
    }
    return false;
}

// Gives New a hidden name, where it has none, for the rename that puts it in
// the target's place at once; 0 or an errno.
int GiveName(TNewFile& New, const QByteArray& Folder)
{
    for (int Try = 0; New.Name.isEmpty() && Try < 100; ++Try) {
        const QByteArray Name = TemporaryName(Folder);
        if (WriterCalls.Link(New.Fd, Name.constData()) == 0)
            New.Name = Name;
        else if (errno != EEXIST)
            return errno;
    }
    return New.Name.isEmpty() ? EEXIST : 0;
}

constexpr char AccessList[] = "system.posix_acl_access";

// What an extended attribute call gives (Call(Buffer, Size)), asked for its
// size first and again should it grow meanwhile; nullopt with errno set.
template <class TCall> std::optional<QByteArray> AttributeBytes(TCall Call)
{
    for (int Try = 0; Try < 10; ++Try) {
        const ssize_t Size = Call(nullptr, 0);
        if (Size < 0)
            return std::nullopt;
        QByteArray Bytes(Size, Qt::Uninitialized);
        const ssize_t Got = Call(Bytes.data(), size_t(Size));
        if (Got >= 0)
            return Bytes.left(Got);
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

// An access list as the kernel keeps it (a 4-byte version, then 8-byte
// entries of tag, permissions and id, little endian) with the file's group
// let do nothing, named users and groups and the mask as they were.
QByteArray WithoutOwningGroup(QByteArray List)
{
    for (qsizetype At = 4; At + 8 <= List.size(); At += 8)
        if (qFromLittleEndian<quint16>(List.constData() + At) == 0x04) // ACL_GROUP_OBJ
            qToLittleEndian<quint16>(0, List.data() + At + 2);
    return List;
}

// Gives the new file Fd the extended attributes of the old one (at Path),
// its access control list among them. Called once the mode is set, so that
// the list's mask stands. An attribute the new file cannot take fails the
// save rather than widen access or lose anything unseen; the system's own
// labels (security.*) are the system's to give. Where the new file could not
// take the old one's group, the list gives the group it has instead nothing.
// Empty, or why not.
QString KeepAttributes(int Fd, const QByteArray& Path, bool GroupKept)
{
    const auto Names = AttributeBytes([&](char* To, size_t Size) { return ::llistxattr(Path.constData(), To, Size); });
    if (!Names)
        return errno == EOPNOTSUPP ? QString() : SystemError(errno); // none on this file system
    bool Listed = false;
    for (const QByteArray& Name : Names->split('\0')) {
        if (Name.isEmpty() || Name.startsWith("security."))
            continue;
        const auto Value = AttributeBytes(
            [&](char* To, size_t Size) { return ::lgetxattr(Path.constData(), Name.constData(), To, Size); });
        if (!Value && errno == ENODATA) // gone meanwhile
            continue;
        const bool List = Name == AccessList;
        const QByteArray Given =
            List && !GroupKept && Value ? WithoutOwningGroup(*Value) : Value.value_or(QByteArray());
        if (!Value || WriterCalls.SetAttribute(Fd, Name.constData(), Given.constData(), size_t(Given.size())) != 0) {
            const QString Why = SystemError(errno);
            return List ? QStringLiteral("The access control list cannot be kept: ") + Why
                        : QStringLiteral("The extended attribute %1 cannot be kept: %2").arg(QString::fromUtf8(Name), Why);
        }
        Listed |= List;
    }
    // A list that the folder's default gave the new file would give access the old one did not.
    if (!Listed && ::fremovexattr(Fd, AccessList) != 0 && errno != ENODATA && errno != EOPNOTSUPP)
        return SystemError(errno);
    return QString();
}

// Syncs the folder, so that a rename in it outlasts a power cut. A folder the
// user may not open for reading cannot be synced, and a file system that
// cannot sync folders says EINVAL: neither is a failure of the write.
int SyncFolder(const QByteArray& Folder)
{
    const int Fd = WriterCalls.Open(Folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (Fd < 0)
        return 0;
    const int Error = WriterCalls.Sync(Fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(Fd);
    return Error;
}

// The old file rewritten where it stands, for a folder in which no new file
// may be made. It is locked for the whole write, so that a second writer
// waits instead of mixing its bytes in. Nothing of it changes until the room
// for the new bytes is reserved, so a full disk or a size limit fails first,
// and a failure before the first byte gives the old length back; only a
// failure or a crash while the bytes go out can leave it part old, part new.
// Old: what the links led to. Empty, or why not.
QString WriteInPlace(const QByteArray& Path, const QT_STATBUF& Old, const QByteArray& Bytes)
{
    // A file size limit stops a write below the old end of the file too,
    // where no reservation is needed: it is checked first.
    rlimit Limit{};
    if (::getrlimit(RLIMIT_FSIZE, &Limit) == 0 && Limit.rlim_cur != RLIM_INFINITY &&
        rlim_t(Bytes.size()) > Limit.rlim_cur)
        return SystemError(EFBIG);
    // Read access lets the C library reserve by hand where the file system cannot.
    // Path is where the links led: a link there now was put in its place since
    // (in a sticky folder, by the other user who owns the file) and is not followed.
    const int Flags = O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
    int Fd = WriterCalls.Open(Path.constData(), O_RDWR | Flags, 0);
    if (Fd < 0 && errno == EACCES)
        Fd = WriterCalls.Open(Path.constData(), O_WRONLY | Flags, 0);
    if (Fd < 0)
        return SystemError(errno);
    // Where the fs.protected_hardlinks setting is off, another user may have
    // put a hard link to a file of the saver's there since.
    QT_STATBUF Info;
    if (QT_FSTAT(Fd, &Info) == 0 && (Info.st_dev != Old.st_dev || Info.st_ino != Old.st_ino)) {
        ::close(Fd);
        return QStringLiteral("%1 was replaced by another file while it was being saved")
            .arg(QDir::toNativeSeparators(QFile::decodeName(Path)));
    }
    // The old length as the lock leaves it: another writer may have changed it.
    int Error = WriterCalls.Lock(Fd) != 0 ? errno : QT_FSTAT(Fd, &Info) != 0 ? errno : S_ISREG(Info.st_mode) ? 0 : EINVAL;
    const bool Reserving = !Error && !Bytes.isEmpty();
    if (Reserving)
        Error = WriterCalls.Reserve(Fd, Bytes.size());
    qint64 Written = 0;
    if (!Error)
        Error = WriteAll(Fd, Bytes, 0, Written);
    // The reservation (or its half, where room ran out: ext4, or the C
    // library's own) lengthened the file with zeros; they go again.
    QT_STATBUF Now;
    if (Error && Reserving && QT_FSTAT(Fd, &Now) == 0 && Now.st_size > std::max<qint64>(Info.st_size, Written)) {
        [[maybe_unused]] const int Cut = QT_FTRUNCATE(Fd, std::max<qint64>(Info.st_size, Written));
    }
    if (!Error && QT_FTRUNCATE(Fd, Bytes.size()) != 0)
        Error = errno;
    if (!Error && WriterCalls.Sync(Fd) != 0)
        Error = errno;
    if (::close(Fd) != 0 && !Error) // the lock ends here
        Error = errno;
    return Error ? SystemError(Error) : QString();
}

} // namespace

QString NotARegularFile(const QString& FileName)
{
    return QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(FileName));
}

std::optional<QByteArray> ReadWholeFile(const QString& FileName, QString* ErrorText)
{
    const auto Fail = [ErrorText](const QString& Why) -> std::optional<QByteArray> {
        if (ErrorText)
            *ErrorText = Why;
        return std::nullopt;
    };
    QT_STATBUF Info;
    QString Why;
    const std::optional<QByteArray> Path = FollowLinks(FileName, Info, Why);
    if (!Path)
        return Fail(Why);
    // Not blocking: a pipe put there meanwhile would hang the reader.
    const int Fd = QT_OPEN(Path->constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd < 0)
        return Info.st_mode == 0 && errno == ENOENT ? QByteArray() : Fail(SystemError(errno));
    QFile File;
    if (!File.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(Fd);
        return Fail(File.errorString());
    }
    const QByteArray Bytes = File.readAll();
    return File.error() == QFileDevice::NoError ? std::optional(Bytes) : Fail(File.errorString());
}

bool WriteWholeFile(const QString& FileName, const QByteArray& Bytes, QString* ErrorText)
{
    auto Fail = [ErrorText](const QString& Why) {
        if (ErrorText)
            *ErrorText = Why;
        return false;
    };
    if (FileName.isEmpty())
        return Fail(QStringLiteral("No file name"));
    // A link is written through and stays a link. A pipe or a device is never
    // replaced by a regular file (and a pipe with no reader would wait for ever).
    QT_STATBUF Old;
    QString Why;
    const std::optional<QByteArray> Found = FollowLinks(FileName, Old, Why);
    if (!Found)
        return Fail(Why);
    const QByteArray& Path = *Found;
    const bool Exists = S_ISREG(Old.st_mode);
    // A file the user made read-only is not replaced behind that.
    if (Exists && ::access(Path.constData(), W_OK) != 0)
        return Fail(SystemError(errno));
    const qsizetype Slash = Path.lastIndexOf('/');
    const QByteArray Folder = Slash < 0 ? QByteArray(".") : Slash == 0 ? QByteArray("/") : Path.left(Slash);

    const auto InPlace = [&] {
        const QString Failed = WriteInPlace(Path, Old, Bytes);
        return Failed.isEmpty() || Fail(Failed);
    };
    TNewFile New;
    // The new file starts private and takes the old one's owner, mode and attributes.
    if (!CreateNew(New, Folder, Exists ? 0600 : 0666)) {
        // A folder the user may not write to, holding a file the user may.
        if (Exists && (errno == EACCES || errno == EPERM || errno == EROFS))
            return InPlace();
        return Fail(SystemError(errno));
    }
    if (Exists) {
        // Root gives the owner back; anyone else may still give back a group
        // of theirs, which keeps the file writable for the others in it.
        const bool GroupKept =
            ::fchown(New.Fd, Old.st_uid, Old.st_gid) == 0 || ::fchown(New.Fd, uid_t(-1), Old.st_gid) == 0;
        // Else the group the new file has instead gets none of the old one's
        // access (an access list's mask, in the group bits, comes back with the list).
        const mode_t Mode = Old.st_mode & (GroupKept ? 07777 : 07777 & ~(S_ISGID | S_IRWXG));
        const QString Kept = ::fchmod(New.Fd, Mode) != 0 ? SystemError(errno) : KeepAttributes(New.Fd, Path, GroupKept);
        if (!Kept.isEmpty())
            return Fail(Kept);
    }
    qint64 Written = 0;
    int Error = WriteAll(New.Fd, Bytes, -1, Written);
    if (!Error && WriterCalls.Sync(New.Fd) != 0)
        Error = errno;
    if (!Error)
        Error = GiveName(New, Folder);
    if (!Error && ::close(std::exchange(New.Fd, -1)) != 0)
        Error = errno;
    if (!Error && WriterCalls.Rename(New.Name.constData(), Path.constData()) != 0) {
        Error = errno;
        // A sticky folder (/tmp) keeps another user's file from being replaced.
        if (Exists && (Error == EPERM || Error == EACCES)) {
            ::unlink(std::exchange(New.Name, {}).constData());
            return InPlace();
        }
    }
    if (Error)
        return Fail(SystemError(Error));
    New.Name.clear(); // the target's now
    if ((Error = SyncFolder(Folder)) != 0)
        return Fail(SystemError(Error));
    return true;
}

namespace {

std::function<qint64()> MemorySource;

qint64 SystemAvailableMemory()
{
    QFile Info(QStringLiteral("/proc/meminfo"));
    if (!Info.open(QIODevice::ReadOnly))
        return -1;
    // "MemAvailable:   20254868 kB"
    for (const QByteArray& Line : Info.readAll().split('\n'))
        if (Line.startsWith("MemAvailable:")) {
            bool Ok = false;
            const qint64 KiB = Line.mid(13).trimmed().split(' ').constFirst().toLongLong(&Ok);
            return Ok ? KiB * 1024 : -1;
        }
    return -1;
}

} // namespace

qint64 AvailableMemory() { return MemorySource ? MemorySource() : SystemAvailableMemory(); }

void SetAvailableMemorySource(std::function<qint64()> Source) { MemorySource = std::move(Source); }
