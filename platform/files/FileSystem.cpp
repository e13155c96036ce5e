#include "platform/files/FileSystem.h"

#include "core/DateTimeText.h"
#include "platform/files/FileTypes.h"
#include "platform/files/TrashFolders.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace FileSystem {

namespace {

// The write bit that applies to the program's user, as the permission check
// would choose it, but without the superuser override: a read-only file stays
// read-only for root too.
bool writable(mode_t mode, uid_t owner, gid_t group)
{
    static const uid_t uid = geteuid();
    static const QList<gid_t> groups = [] {
        QList<gid_t> list {getegid()};
        const int n = getgroups(0, nullptr);
        if (n > 0) {
            QList<gid_t> more(n);
            if (getgroups(n, more.data()) == n)
                list += more;
        }
        return list;
    }();
    if (owner == uid)
        return mode & S_IWUSR;
    if (groups.contains(group))
        return mode & S_IWGRP;
    return mode & S_IWOTH;
}

int attributesOf(const QString &name, mode_t mode, uid_t owner, gid_t group)
{
    int attributes = 0;
    if (S_ISLNK(mode))
        attributes = SymbolicLink;
    else if (S_ISDIR(mode))
        attributes = Directory;
    else if (S_ISREG(mode))
        attributes = Archive;
    else
        attributes = System;
    if (name.startsWith(QLatin1Char('.')))
        attributes |= Hidden;
    if (!S_ISLNK(mode) && !writable(mode, owner, group))
        attributes |= ReadOnly;
    return attributes;
}

// folder ends with the separator; the two name the file a failure concerns.
EntryStatus statusAt(
    StatusCall statusCall, int dirFd, const char *path, const QString &folder, const QString &name)
{
    EntryStatus result;
    struct statx st;
    if (statusCall(dirFd, path, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
            STATX_BASIC_STATS | STATX_BTIME, &st)
        != 0) {
        const int error = errno;
        result.outcome = FileOpResult::fromErrno(error, folder + name);
        return result;
    }
    result.attributes = attributesOf(name, st.stx_mode, st.stx_uid, st.stx_gid);
    result.size = static_cast<qint64>(st.stx_size);
    result.created.seconds
        = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec : st.stx_ctime.tv_sec;
    result.modified.seconds = st.stx_mtime.tv_sec;
    result.modified.nanoseconds = std::int32_t(st.stx_mtime.tv_nsec);
    result.accessed.seconds = st.stx_atime.tv_sec;
    result.accessed.nanoseconds = std::int32_t(st.stx_atime.tv_nsec);
    result.changed = {st.stx_ctime.tv_sec, std::int32_t(st.stx_ctime.tv_nsec)};
    result.owner = st.stx_uid;
    result.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    result.inode = st.stx_ino;
    return result;
}

// Decodes a name as the file system delivers it; nullopt for bytes that are
// not valid text, so that such a name is never mangled into another one.
std::optional<QString> decodeName(const char *bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString name = decoder(QByteArrayView(bytes, qsizetype(std::strlen(bytes))));
    if (decoder.hasError())
        return std::nullopt;
    return name;
}

bool listedBefore(const Entry &a, const Entry &b)
{
    const int folded = QString::compare(a.name, b.name, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
}

} // namespace

QString withSeparator(const QString &folder)
{
    if (folder.endsWith(Separator))
        return folder;
    return folder + Separator;
}

Listing readFolder(const QString &folder, StatusCall statusCall)
{
    if (!statusCall)
        statusCall = ::statx;
    Listing listing;
    const QByteArray encoded = QFile::encodeName(folder);
    DIR *dir = opendir(encoded.constData());
    if (!dir) {
        listing.outcome = FileOpResult::fromErrno(errno, folder);
        return listing;
    }
    const int fd = dirfd(dir);
    const QString shownFolder = withSeparator(folder);
    // readdir() tells its end from its failure only by errno, which the status
    // calls in between set for entries of their own.
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(dir);
        if (!entry)
            break;
        const char *raw = entry->d_name;
        if (std::strcmp(raw, ".") == 0 || std::strcmp(raw, "..") == 0)
            continue;
        std::optional<QString> name = decodeName(raw);
        if (!name)
            continue;
        listing.entries.append({*name, statusAt(statusCall, fd, raw, shownFolder, *name)});
    }
    const int readError = errno;
    closedir(dir);
    if (readError != 0) {
        listing.outcome = FileOpResult::fromErrno(readError, folder);
        return listing;
    }
    std::sort(listing.entries.begin(), listing.entries.end(), listedBefore);
    return listing;
}

EntryStatus status(const QString &path)
{
    if (path.contains(QChar(u'\0'))) {
        EntryStatus refused;
        refused.outcome = FileOpResult::fromErrno(EINVAL, path);
        return refused;
    }
    const qsizetype slash = path.lastIndexOf(Separator);
    return statusAt(::statx, AT_FDCWD, QFile::encodeName(path).constData(), path.left(slash + 1),
        path.mid(slash + 1));
}

bool exists(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
    struct stat st;
    return lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool isPresentFile(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
    struct stat st;
    return stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<FileStamp> stampOf(const EntryStatus &status)
{
    if (!status.outcome || !(status.attributes & Archive))
        return std::nullopt;
    const auto ns = [](Timestamp t) { return t.seconds * 1000000000 + t.nanoseconds; };
    return FileStamp {
        status.device, status.inode, status.size, ns(status.modified), ns(status.changed)};
}

QString dateTimeText(Timestamp time)
{
    // tzset once; localtime_r then uses the zone already loaded instead of
    // reading the zone file for every file.
    static std::once_flag zoneLoaded;
    std::call_once(zoneLoaded, [] { tzset(); });
    const time_t seconds = static_cast<time_t>(time.seconds);
    struct tm local;
    if (!localtime_r(&seconds, &local))
        return QString();
    return DateTimeText::format(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
        local.tm_hour, local.tm_min, local.tm_sec);
}

FileDetails details(const QString &name, const EntryStatus &status, FileTypes &types)
{
    return {QString::number(status.size), dateTimeText(status.created),
        dateTimeText(status.modified), dateTimeText(status.accessed), types.textOf(name)};
}

bool isRecycleBin(const TrashFolders &trashes, const QString &folder, const QString &name)
{
    if (name.compare(QLatin1String("RECYCLER"), Qt::CaseInsensitive) == 0)
        return true;
    // Joined as bytes: a folder text starting with ":" is no resource path.
    return trashes.isTrash(QFile::encodeName(folder) + QFile::encodeName(name));
}

} // namespace FileSystem
