#pragma once

#include "core/FileStamp.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// Reading files' content, in two depths: a file's edges (the first and last
// EdgeBytes, or the whole file when that is all there is) into a digest, and
// a group of files of one size read whole side by side, which tells both
// each file's digest and which of them hold the same bytes. A file is read
// only when it is a regular file reached without following a link; it fails
// when it changes while it is read or its content is not exactly the size
// its stamp gives. bytesRead grows as the reading advances, so another
// thread can show how far it got.
namespace FileContent {

inline constexpr qint64 EdgeBytes = 4096;

// Whether the edges are the whole file.
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

// Turns the XXH3-128 of the bytes read from a file into the digest its
// reading reports; empty reports it as it is. It is called once the bytes
// are read, before the reading checks the file ends as it was opened.
// Tests hand in one that makes other content collide.
using Digester = std::function<Digest(const QString &path, const Digest &bytes)>;

struct Reading
{
    bool ok = false;
    Digest digest;
    FileStamp stamp; // the file as it was read
};

Reading readEdges(const QString &path, const Digester &digester, std::atomic<qint64> &bytesRead);

// A file to read whole, with its stamp when its edges were read: a file
// that no longer has it is not the one that was grouped.
struct Member
{
    QString path;
    FileStamp stamp;
};

struct Comparison
{
    QList<Reading> readings; // one per member, in order
    // Per member read: the first member whose bytes are the same as its
    // own, itself when there is none before it; -1 for a failed reading.
    QList<int> sameAs;
};

// Reads every member once, chunk by chunk, comparing each chunk with the
// chunk of the first member that was the same so far. Stops early, failing
// every member, once cancel is set.
Comparison readSideBySide(const QList<Member> &members, const Digester &digester,
    const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead);

size_t qHash(const Digest &digest, size_t seed = 0) noexcept;

} // namespace FileContent
