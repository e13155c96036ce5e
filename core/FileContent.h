#pragma once

#include "core/FileStamp.h"

#include <QString>

#include <atomic>

// Reading a file's content into an XXH3-128 digest, in two depths: its
// edges (the first and last EdgeBytes, or the whole file when that is all
// there is) and its whole content. Each reading opens the file once, reads
// sequentially, and fails when the file can't be read to its end or
// changes while it is read. bytesRead grows as the reading advances, so
// another thread can show how far it got.
namespace FileContent {

inline constexpr qint64 EdgeBytes = 4096;

// Whether the edge digest is the digest of the whole file.
inline bool edgesCoverAll(qint64 size)
{
    return size <= 2 * EdgeBytes;
}

struct Digest
{
    quint64 low = 0;
    quint64 high = 0;

    bool operator==(const Digest &) const = default;
};

struct Reading
{
    bool ok = false;
    Digest digest;
    FileStamp stamp; // the file as it was read
};

Reading readEdges(const QString &path, std::atomic<qint64> &bytesRead);
// Stops early, failing, once cancel is set.
Reading readWhole(
    const QString &path, const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead);

size_t qHash(const Digest &digest, size_t seed = 0) noexcept;

} // namespace FileContent
