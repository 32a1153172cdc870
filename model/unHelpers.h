#pragma once
// Small text and shell helpers shared by the exporters, dialogs and main window.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <sys/types.h>

QString PadRight(const QString& S, int Len, QChar Ch);
QString RepeatString(const QString& S, int N);
QString SpacesToUnderscores(const QString& S);
// Without the blanks and control characters (codes up to 32) at either end.
QString TrimControls(const QString& S);
// Without any control character (codes below 32), wherever it stands.
QString RemoveControls(const QString& S);
// Text from a file as a label or a box shows it: S when it has at most
// MaxLength characters, else its start and end with an ellipsis between,
// MaxLength in all (a surrogate pair is never cut). A name may be any length
// on disk, never on the screen.
QString ElidedText(const QString& S, qsizetype MaxLength);
// Characters of a font name in a label: room for any name a person types,
// while the status bar still fits the window.
constexpr qsizetype MaxShownNameLength = 64;
// Upper-case hex with at least two digits; a negative value as 32-bit two's complement.
QString PrefixedHex(int Value, const QString& Prefix);
// Exactly Digits binary digits; a value wider than Digits keeps its low bits.
QString IntToBin(int Value, int Digits);
// Any character but "1" counts as 0; accumulates unsigned 32-bit.
int BinToInt(const QString& S);
QString AddTrailingBackslash(const QString& Path);
// The first of "Segoe UI", "Tahoma", "Arial" among the installed families
// (compared without case), else "MS Sans Serif".
QString GetUIFontName(const QStringList& InstalledFamilies);
// The same, asking the font database for the installed families.
QString GetUIFontName();

// 8-bit text: files, generated source and the Char column use Windows-1252.
QByteArray ToWin1252(const QString& S);
QString FromWin1252(const QByteArray& Bytes);
QString Win1252Char(int Code);
// The first character of S that Windows-1252 cannot hold (a surrogate pair
// whole), empty when it holds them all.
QString FirstNonWin1252(const QString& S);

// Writes Bytes as the whole content of FileName, through the links that lead
// to it (they stay links; another user's link in a sticky folder anyone may
// write to is refused, as the kernel's rule for shared folders would). A new
// file takes the place of the old one once it is all written and synced, and
// the folder is synced after; it gets the old one's mode and extended
// attributes, its access control list among them, and one it cannot take
// fails the write (the system's own labels, security.*, aside). The owner
// stays where the saver may give it back (root), the group where the saver
// is in it; a group the new file gets instead is given no access. In a
// folder the user may not write to, the file is locked and rewritten in place
// once the room for the new bytes is reserved. A target that is no regular
// file (a folder, a pipe, a device) is refused. False with the system's
// reason in ErrorText ("No space left on device", "<name> is not a regular
// file") when anything fails; the old bytes are then unchanged unless the
// failure came after the first byte written in place.
[[nodiscard]] bool WriteWholeFile(const QString& FileName, const QByteArray& Bytes, QString* ErrorText);
// The system calls WriteWholeFile makes for each of its steps, so that a test
// can fail any one of them or see their order. Each answers as its system
// call does (-1 with errno set); Reserve as posix_fallocate, with the errno.
struct TWriterCalls {
    int (*Open)(const char* Path, int Flags, mode_t Mode);
    int (*Lock)(int Fd); // exclusive, waited for
    int (*Reserve)(int Fd, off_t Size);
    ssize_t (*Write)(int Fd, const void* Data, size_t Size, off_t Offset); // Offset < 0: at the file's position
    int (*SetAttribute)(int Fd, const char* Name, const void* Value, size_t Size);
    int (*Sync)(int Fd);
    int (*Link)(int Fd, const char* Name); // gives an unnamed file its name
    int (*Rename)(const char* From, const char* To);
};
// The system's own calls, and those the writer makes (the same unless a test swapped its own in).
extern const TWriterCalls SystemWriterCalls;
extern TWriterCalls WriterCalls;
// "<name> is not a regular file"
QString NotARegularFile(const QString& FileName);
// The whole content of FileName, read through the links that lead to it as
// WriteWholeFile follows them; empty when no file is there yet. Nullopt with
// the reason in ErrorText when that is no regular file or cannot be read.
[[nodiscard]] std::optional<QByteArray> ReadWholeFile(const QString& FileName, QString* ErrorText);

// The memory the system can still give this program, in bytes (MemAvailable
// of /proc/meminfo); -1 when it is not known.
qint64 AvailableMemory();
// Makes AvailableMemory answer from Source (a test's figure); an empty
// Source restores the system's.
void SetAvailableMemorySource(std::function<qint64()> Source);

// Opens documents, links and programs through the desktop shell. Tests install
// their own opener to see what would be opened.
class TShellOpener {
public:
    virtual ~TShellOpener() = default;
    virtual bool Open(const QString& FileName, const QString& Params, const QString& Directory,
                      bool Wait) = 0;
};

// Installs Opener for ShellExecuteAndWait (null restores the desktop's); not owned.
void SetShellOpener(TShellOpener* Opener);
// The desktop's own opener, whatever is installed. With Wait it returns once
// the started program has ended or the application is shutting down.
TShellOpener& DesktopShellOpener();
bool ShellExecuteAndWait(const QString& FileName, const QString& Params, const QString& Directory,
                         bool Wait, int ShowCmd);
