#pragma once

#include <QHash>
#include <QString>

#include <optional>

// What the file system says about a file's identity and state: device and
// inode name the file; size, modification time and status-change time (in
// nanoseconds) tell whether its content may have changed since it was last
// read. The status-change time is the one no program can set back, so a
// rewrite that restores the modification time still shows.
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    bool operator==(const FileStamp &) const = default;
    bool sameFile(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode;
    }

    // The stamp of the file at a path, or none when it can't be read or is
    // not a regular file; a link is not followed, so a link swapped in for
    // a file has no stamp.
    static std::optional<FileStamp> of(const QString &path);
    // The stamp of an open file.
    static std::optional<FileStamp> ofOpen(int fd);
    // The stamp of the file at path while it is still the file recorded for
    // that path, as it was; none when it is gone, a link, unrecorded or
    // changed.
    static std::optional<FileStamp> ifUnchanged(
        const QHash<QString, FileStamp> &recorded, const QString &path);

    // This stamp after the program renamed the file to path. Renaming sets
    // the status-change time; the new one is taken only when the file was
    // as this stamp says right before the rename (before) and is otherwise
    // unchanged after it, so a rewrite is never taken for the rename.
    FileStamp renamedTo(const QString &path, const std::optional<FileStamp> &before) const;
};

size_t qHash(const FileStamp &stamp, size_t seed = 0) noexcept;
