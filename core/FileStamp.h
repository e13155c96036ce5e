#pragma once

#include <QString>

#include <optional>

// What the file system says about a file's identity and state: device and
// inode name the file, size and modification time (in nanoseconds) tell
// whether its content may have changed since it was last read.
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileStamp &) const = default;
    bool sameSizeAndTime(const FileStamp &other) const
    {
        return size == other.size && modifiedNs == other.modifiedNs;
    }

    // The stamp of the file a path leads to (links followed), or none when
    // it can't be read or is not a regular file.
    static std::optional<FileStamp> of(const QString &path);
    // The stamp of an open file.
    static std::optional<FileStamp> ofOpen(int fd);
};

size_t qHash(const FileStamp &stamp, size_t seed = 0) noexcept;
