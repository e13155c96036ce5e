#pragma once

#include "core/FileStamp.h"
#include "platform/files/FileOpResult.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

struct statx;
class FileTypes;
class TrashFolders;

// How this platform's file system stands in for the one the tool was made
// for, kept in one place: the folder separator, the listing order, the
// attribute values the walk tests, the file details and the recycle bins.
namespace FileSystem {

inline constexpr QChar Separator = u'/';

// Attribute values as the walk tests them; "exactly Archive" is a regular,
// writable, not hidden file.
enum Attribute : int {
    ReadOnly = 1,
    Hidden = 2,
    System = 4, // device, fifo or socket
    Directory = 16,
    Archive = 32, // regular file
    SymbolicLink = 1024,
};

struct Timestamp
{
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
};

// What one lstat-like call tells about an entry; never follows a link.
struct EntryStatus
{
    FileOpResult outcome; // Done when the status below was read
    int attributes = 0;
    qint64 size = 0;
    Timestamp created; // birth time, or the status-change time where none is recorded
    Timestamp modified;
    Timestamp accessed;
    Timestamp changed; // status change
    unsigned int owner = 0; // user id
    std::uint64_t device = 0; // as stat() gives it
    std::uint64_t inode = 0;
};

struct Entry
{
    QString name;
    EntryStatus status;
};

struct Listing
{
    FileOpResult outcome; // Done when the whole folder was read
    QList<Entry> entries; // without "." and ".."
};

// The texts of one file's record fields 2 to 6.
struct FileDetails
{
    QString size;
    QString created;
    QString modified;
    QString accessed;
    QString type;
};

// The folder text with a trailing separator; "/" stays "/".
QString withSeparator(const QString &folder);

// The system's statx(), or a stand-in that fails where a test wants it to.
using StatusCall
    = int (*)(int dirFd, const char *name, int flags, unsigned int mask, struct statx *result);

// Lists a folder and reads every entry's status in the same pass, sorted by
// name case-insensitively (ties by exact name), so that a scan's order is the
// same every time. Names whose bytes don't decode are left out. An entry
// whose status can't be read (gone since the listing, refused by its file
// system) is listed with a failed status.outcome; only a failing listing fails.
Listing readFolder(const QString &folder, StatusCall statusCall = nullptr);

// The status of one entry by its full path, read as the scan reads an
// entry of a folder: a link is not followed.
EntryStatus status(const QString &path);

// The program's two questions of whether a file is there, both asked of
// the name's bytes. exists(): whether the name is taken at all, by a file,
// a folder or a link (a dangling one too). isPresentFile(): whether it
// leads to something other than a folder, following links.
bool exists(const QString &path);
bool isPresentFile(const QString &path);

// What the status says of a regular file's identity and state, as
// FileStamp::of() would read it; none for anything else.
std::optional<FileStamp> stampOf(const EntryStatus &status);

// Record texts from a status already read, without touching the disk again:
// decimal size, date-time texts in local time, and the type described by the
// name's extension.
FileDetails details(const QString &name, const EntryStatus &status, FileTypes &types);

// The local date-time text of a time stamp.
QString dateTimeText(Timestamp time);

// Whether a subfolder is a recycle bin the walk neither counts nor enters:
// "RECYCLER" in any letter case, or one of the trash folders, whatever path
// leads to it. folder ends with the separator.
bool isRecycleBin(const TrashFolders &trashes, const QString &folder, const QString &name);

} // namespace FileSystem
