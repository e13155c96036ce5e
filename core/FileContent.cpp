#include "core/FileContent.h"

#include <QFile>
#include <QHashFunctions>

#include <xxhash.h>

#include <array>
#include <cerrno>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace FileContent {

namespace {

constexpr qint64 ChunkBytes = 1 << 20;

// Holes of sparse files read as zeros; they are hashed from this buffer
// instead of being copied out of the kernel.
const std::array<char, 256 * 1024> Zeros {};

// A file opened for reading, with its stamp as it was opened; no stamp when
// it could not be opened or is no regular file.
class OpenFile
{
public:
    explicit OpenFile(const QString &path)
        : m_fd(open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
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
    Digest digest() const
    {
        const XXH128_hash_t h = XXH3_128bits_digest(m_state.get());
        return Digest {h.low64, h.high64};
    }

private:
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t *)> m_state;
};

// The reading of the file's digest, if its stamp at opening still holds
// now that the reading is over: a file written meanwhile was not read as
// one piece.
Reading finished(const OpenFile &file, const Digest &digest)
{
    Reading reading;
    const std::optional<FileStamp> now = FileStamp::ofOpen(file.fd());
    if (!now || *now != *file.stamp())
        return reading;
    reading.ok = true;
    reading.digest = digest;
    reading.stamp = *now;
    return reading;
}

// Hashes [from, to) of the file, reading data and taking holes as zeros.
bool hashRange(int fd, qint64 from, qint64 to, Hasher &hasher, std::vector<char> &buffer,
    const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead)
{
    qint64 position = from;
    while (position < to) {
        if (cancel.load(std::memory_order_relaxed))
            return false;
        const qint64 step = qMin<qint64>(ChunkBytes, to - position);
        if (!readAt(fd, buffer.data(), step, position))
            return false;
        hasher.add(buffer.data(), step);
        position += step;
        bytesRead.fetch_add(step, std::memory_order_relaxed);
    }
    return true;
}

bool hashZeros(
    qint64 count, Hasher &hasher, const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead)
{
    while (count > 0) {
        if (cancel.load(std::memory_order_relaxed))
            return false;
        const qint64 step = qMin<qint64>(static_cast<qint64>(Zeros.size()), count);
        hasher.add(Zeros.data(), step);
        count -= step;
        bytesRead.fetch_add(step, std::memory_order_relaxed);
    }
    return true;
}

} // namespace

Reading readEdges(const QString &path, std::atomic<qint64> &bytesRead)
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
    const XXH128_hash_t h = XXH3_128bits(buffer.data(), static_cast<size_t>(hashed));
    const Reading reading = finished(file, Digest {h.low64, h.high64});
    if (reading.ok)
        bytesRead.fetch_add(hashed, std::memory_order_relaxed);
    return reading;
}

Reading readWhole(
    const QString &path, const std::atomic<bool> &cancel, std::atomic<qint64> &bytesRead)
{
    const OpenFile file(path);
    if (!file.stamp())
        return {};
    const int fd = file.fd();
    const qint64 size = file.stamp()->size;
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    Hasher hasher;
    std::vector<char> buffer(static_cast<size_t>(qMin(size, ChunkBytes)));
    // Data and holes in turn where the file system tells them apart;
    // otherwise everything is read.
    qint64 position = 0;
    while (position < size) {
        qint64 data = position;
#ifdef SEEK_DATA
        data = lseek(fd, position, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            data = size; // only a hole is left
        else if (data < 0)
            data = position;
#endif
        data = qMin(data, size);
        if (!hashZeros(data - position, hasher, cancel, bytesRead))
            return {};
        qint64 hole = size;
#ifdef SEEK_HOLE
        if (data < size) {
            hole = lseek(fd, data, SEEK_HOLE);
            hole = hole < data ? size : qMin(hole, size);
        }
#endif
        if (!hashRange(fd, data, hole, hasher, buffer, cancel, bytesRead))
            return {};
        position = hole;
    }
    return finished(file, hasher.digest());
}

size_t qHash(const Digest &digest, size_t seed) noexcept
{
    return qHashMulti(seed, digest.low, digest.high);
}

} // namespace FileContent
