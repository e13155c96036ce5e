#include "core/FileContent.h"

#include <QFile>
#include <QHash>
#include <QHashFunctions>

#include <xxhash.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace FileContent {

namespace {

// Small enough that the chunks a reading compares are still in the
// processor's cache when they are hashed and compared.
constexpr qint64 ChunkBytes = 256 * 1024;
constexpr qint64 SmallestChunkBytes = 64 * 1024;
// What the chunks of one side-by-side reading may take together.
constexpr qint64 GroupBufferBytes = 16 * ChunkBytes;
// The files one reading keeps open at once; a larger group is read in
// parts, well within the open files a process may have even with every
// reading thread at work.
constexpr int OpenMembers = 64;

// Holes of sparse files read as zeros; they are taken from here instead of
// being copied out of the kernel.
char Zeros[ChunkBytes];

// A file opened for reading, with its stamp as it was opened; no stamp when
// it could not be opened or is no regular file. Opening never waits: a
// named pipe swapped in for the file would otherwise block until a writer
// came, and a link swapped in is not followed.
class OpenFile
{
public:
    explicit OpenFile(const QString &path)
        : m_fd(open(
            QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC))
        , m_stamp(m_fd >= 0 ? FileStamp::ofOpen(m_fd) : std::nullopt)
    {
    }
    ~OpenFile()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;
    int fd() const { return m_fd; }
    const std::optional<FileStamp> &stamp() const { return m_stamp; }

    // Whether the file holds nothing past its size and its stamp at opening
    // still holds: a file written meanwhile was not read as one piece, and
    // one whose size is not its content (as in /proc) was not read at all.
    bool endsAsOpened() const
    {
        char byte = 0;
        ssize_t got = 0;
        do {
            got = pread(m_fd, &byte, 1, m_stamp->size);
        } while (got < 0 && errno == EINTR);
        if (got != 0)
            return false;
        const std::optional<FileStamp> now = FileStamp::ofOpen(m_fd);
        return now && *now == *m_stamp;
    }

private:
    int m_fd;
    std::optional<FileStamp> m_stamp;
};

// Reads exactly count bytes at offset; false on an error or an early end.
bool readAt(int fd, char *buffer, qint64 count, qint64 offset)
{
    while (count > 0) {
        const ssize_t got = pread(fd, buffer, static_cast<size_t>(count), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        count -= got;
        offset += got;
    }
    return true;
}

Digest reported(const Digester &digester, const QString &path, const XXH128_hash_t &h)
{
    const Digest bytes {h.low64, h.high64};
    return digester ? digester(path, bytes) : bytes;
}

class Hasher
{
public:
    Hasher()
        : m_state(XXH3_createState(), &XXH3_freeState)
    {
        XXH3_128bits_reset(m_state.get());
    }
    void add(const char *data, qint64 size)
    {
        XXH3_128bits_update(m_state.get(), data, static_cast<size_t>(size));
    }
    XXH128_hash_t digest() const { return XXH3_128bits_digest(m_state.get()); }
    void copyFrom(const Hasher &other) { XXH3_copyState(m_state.get(), other.m_state.get()); }

private:
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t *)> m_state;
};

// One member of a side-by-side reading: its open file, the hash of what was
// read so far (kept by the first of the members that are the same), and
// where its data lies, so that holes are not read.
class Source
{
public:
    // buffer holds a chunk.
    Source(const Member &member, char *buffer)
        : m_path(member.path)
        , m_file(member.path)
        , m_live(m_file.stamp() && *m_file.stamp() == member.stamp)
        , m_buffer(buffer)
    {
        if (m_live)
            posix_fadvise(m_file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }

    bool live() const { return m_live; }
    const char *chunk() const { return m_chunk; }
    Hasher &hasher() { return m_hasher; }

    // Reads [position, position + count) into chunk(); false and no longer
    // live when that fails.
    bool read(qint64 position, qint64 count)
    {
        if (position >= m_dataEnd)
            locateData(position);
        if (position + count <= m_dataStart) {
            m_chunk = Zeros;
        } else if (readAt(m_file.fd(), m_buffer, count, position)) {
            m_chunk = m_buffer;
        } else {
            m_live = false;
            return false;
        }
        return true;
    }

    // The reading, once every chunk was read; hash is that of its bytes.
    Reading finish(const Digester &digester, const XXH128_hash_t &hash)
    {
        Reading reading;
        if (!m_live)
            return reading;
        reading.digest = reported(digester, m_path, hash);
        if (!m_file.endsAsOpened()) {
            m_live = false;
            return {};
        }
        reading.ok = true;
        reading.stamp = *m_file.stamp();
        return reading;
    }

private:
    // Where the data at or after position starts and ends, where the file
    // system tells data and holes apart; otherwise all of it is data.
    void locateData(qint64 position)
    {
        const qint64 size = m_file.stamp()->size;
        m_dataStart = position;
        m_dataEnd = size;
#if defined(SEEK_DATA) && defined(SEEK_HOLE)
        const off_t data = lseek(m_file.fd(), position, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                m_dataStart = size; // only a hole is left
            return;
        }
        m_dataStart = qMin<qint64>(data, size);
        const off_t hole = lseek(m_file.fd(), data, SEEK_HOLE);
        if (hole > data)
            m_dataEnd = qMin<qint64>(hole, size);
#endif
    }

    QString m_path;
    OpenFile m_file;
    bool m_live;
    Hasher m_hasher;
    char *m_buffer;
    const char *m_chunk = nullptr;
    qint64 m_dataStart = 0;
    qint64 m_dataEnd = 0;
};

bool sameBytes(const char *a, const char *b, qint64 count)
{
    return a == b || std::memcmp(a, b, static_cast<size_t>(count)) == 0;
}

} // namespace

Reading readEdges(const QString &path, const Digester &digester, std::atomic<qint64> &bytesRead)
{
    const OpenFile file(path);
    if (!file.stamp())
        return {};
    const qint64 size = file.stamp()->size;
    std::array<char, 2 * EdgeBytes> buffer {};
    bool read = true;
    qint64 hashed = size;
    if (edgesCoverAll(size)) {
        read = readAt(file.fd(), buffer.data(), size, 0);
    } else {
        read = readAt(file.fd(), buffer.data(), EdgeBytes, 0)
            && readAt(file.fd(), buffer.data() + EdgeBytes, EdgeBytes, size - EdgeBytes);
        hashed = 2 * EdgeBytes;
    }
    if (!read)
        return {};
    Reading reading;
    reading.digest
        = reported(digester, path, XXH3_128bits(buffer.data(), static_cast<size_t>(hashed)));
    if (!file.endsAsOpened())
        return {};
    bytesRead.fetch_add(hashed, std::memory_order_relaxed);
    reading.ok = true;
    reading.stamp = *file.stamp();
    return reading;
}

namespace {

Comparison failed(int count)
{
    return Comparison {QList<Reading>(count), QList<int>(count, -1)};
}

// The side-by-side reading of members that may all be open at once.
Comparison readOpen(const QList<Member> &members, const Digester &digester,
    const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead)
{
    const auto count = static_cast<int>(members.size());
    Comparison comparison;
    comparison.readings.resize(count);
    comparison.sameAs.fill(-1, count);
    if (count == 0)
        return comparison;
    const qint64 size = members.first().stamp.size;
    const qint64 chunkBytes
        = qBound(SmallestChunkBytes, GroupBufferBytes / qMax(1, count), ChunkBytes);
    // Kept by the reading thread from one group to the next: fresh memory
    // for every file costs more than copying it out of the page cache.
    thread_local std::vector<char> buffers;
    const qint64 chunk = qMin(size, chunkBytes);
    if (buffers.size() < static_cast<size_t>(chunk * count))
        buffers.resize(static_cast<size_t>(chunk * count));
    std::vector<std::unique_ptr<Source>> sources;
    sources.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        sources.push_back(std::make_unique<Source>(members.at(i), buffers.data() + chunk * i));

    // sameAs[i] names the first member whose bytes were the same as i's so
    // far; every chunk splits those that differ from it off to a new first.
    // Only firsts hash: a new first takes over the hash of the one it
    // split from, which is the hash of its own bytes up to this chunk.
    QList<int> &sameAs = comparison.sameAs;
    std::vector<int> before(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (members.at(i).stamp.size == size && sources[size_t(i)]->live())
            sameAs[i] = 0;
    }
    std::vector<std::vector<int>> firsts(static_cast<size_t>(count));
    for (qint64 position = 0; position < size; position += chunkBytes) {
        if (cancel.load(std::memory_order_relaxed))
            return failed(count);
        const qint64 step = qMin(chunkBytes, size - position);
        for (auto &f : firsts)
            f.clear();
        for (int i = 0; i < count; ++i) {
            Source &source = *sources[size_t(i)];
            if (sameAs[i] < 0)
                continue;
            before[size_t(i)] = sameAs[i];
            if (!source.read(position, step)) {
                sameAs[i] = -1;
                continue;
            }
            bytesRead.fetch_add(step, std::memory_order_relaxed);
            std::vector<int> &candidates = firsts[size_t(before[size_t(i)])];
            sameAs[i] = i;
            for (const int first : candidates) {
                if (sameBytes(sources[size_t(first)]->chunk(), source.chunk(), step)) {
                    sameAs[i] = first;
                    break;
                }
            }
            if (sameAs[i] == i)
                candidates.push_back(i);
        }
        for (int i = 0; i < count; ++i) {
            if (sameAs[i] == i && before[size_t(i)] != i)
                sources[size_t(i)]->hasher().copyFrom(sources[size_t(before[size_t(i)])]->hasher());
        }
        for (int i = 0; i < count; ++i) {
            if (sameAs[i] == i)
                sources[size_t(i)]->hasher().add(sources[size_t(i)]->chunk(), step);
        }
    }
    for (int i = 0; i < count; ++i) {
        if (sameAs[i] >= 0) {
            const XXH128_hash_t hash = sources[size_t(sameAs[i])]->hasher().digest();
            comparison.readings[i] = sources[size_t(i)]->finish(digester, hash);
        }
    }
    // A first that failed at the end leaves its followers to the next of
    // them.
    QList<int> firstRead(count, -1);
    for (int i = 0; i < count; ++i) {
        if (!comparison.readings.at(i).ok) {
            sameAs[i] = -1;
            continue;
        }
        int &first = firstRead[sameAs[i]];
        if (first < 0)
            first = i;
        sameAs[i] = first;
    }
    return comparison;
}

} // namespace

Comparison readSideBySide(const QList<Member> &members, const Digester &digester,
    const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead)
{
    const auto count = static_cast<int>(members.size());
    if (count <= OpenMembers)
        return readOpen(members, digester, cancel, bytesRead);
    Comparison all = failed(count);
    for (int from = 0; from < count; from += OpenMembers) {
        const Comparison part
            = readOpen(members.mid(from, OpenMembers), digester, cancel, bytesRead);
        if (cancel.load(std::memory_order_relaxed))
            return failed(count);
        for (int m = 0; m < part.readings.size(); ++m) {
            all.readings[from + m] = part.readings.at(m);
            all.sameAs[from + m] = part.sameAs.at(m) < 0 ? -1 : from + part.sameAs.at(m);
        }
    }
    // The firsts of the parts whose digests agree are compared in their
    // turn, and where their bytes are the same, the later one's files join
    // the earlier one's.
    QHash<Digest, QList<int>> firsts;
    for (int i = 0; i < count; ++i) {
        if (all.sameAs.at(i) == i)
            firsts[all.readings.at(i).digest].append(i);
    }
    QList<int> joins(count, -1);
    for (const QList<int> &same : std::as_const(firsts)) {
        if (same.size() < 2)
            continue;
        QList<Member> again;
        for (const int i : same)
            again.append(members.at(i));
        const Comparison merged = readSideBySide(again, digester, cancel, bytesRead);
        if (cancel.load(std::memory_order_relaxed))
            return failed(count);
        for (int m = 0; m < same.size(); ++m) {
            if (merged.sameAs.at(m) >= 0)
                joins[same.at(m)] = same.at(merged.sameAs.at(m));
        }
    }
    for (int i = 0; i < count; ++i) {
        const int first = all.sameAs.at(i);
        if (first >= 0 && joins.at(first) >= 0)
            all.sameAs[i] = joins.at(first);
    }
    return all;
}

size_t qHash(const Digest &digest, size_t seed) noexcept
{
    return qHashMulti(seed, digest.low, digest.high);
}

} // namespace FileContent
