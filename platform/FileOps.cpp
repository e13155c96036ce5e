#include "platform/FileOps.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileOps {

namespace {

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Closes a descriptor once, on every way out of a copy.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Removes the temporary copy unless the copy got renamed into place.
class TemporaryName
{
public:
    explicit TemporaryName(QByteArray path)
        : m_path(std::move(path))
    {
    }
    ~TemporaryName()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;
    const char *get() const { return m_path.constData(); }
    void keep() { m_path.clear(); }

private:
    QByteArray m_path;
};

FileOpResult writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return FileOpResult::fromErrno(errno);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return FileOpResult::success();
}

FileOpResult renameBytes(const QByteArray &source, const QByteArray &target, Existing existing)
{
    if (existing == Existing::Replace) {
        if (::rename(source.constData(), target.constData()) != 0)
            return FileOpResult::fromErrno(errno);
        return FileOpResult::success();
    }
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0)
        return FileOpResult::success();
    if (errno != EINVAL && errno != ENOSYS)
        return FileOpResult::fromErrno(errno);
    // The file system cannot refuse a taken name by itself: look first.
    struct stat st;
    if (::lstat(target.constData(), &st) == 0)
        return FileOpResult::fromErrno(EEXIST);
    if (::rename(source.constData(), target.constData()) != 0)
        return FileOpResult::fromErrno(errno);
    return FileOpResult::success();
}

void syncFolder(const QByteArray &folder)
{
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

} // namespace

FileOpResult makeFolders(const QString &folder)
{
    const QByteArray path = bytes(folder);
    if (path.isEmpty())
        return FileOpResult::fromErrno(ENOENT);
    struct stat st;
    if (::stat(path.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return FileOpResult::success();
        return FileOpResult::fromErrno(ENOTDIR);
    }
    if (errno != ENOENT)
        return FileOpResult::fromErrno(errno);
    const QByteArray parent = folderOf(path);
    if (parent != path) {
        const FileOpResult made = makeFolders(QFile::decodeName(parent));
        if (!made)
            return made;
    }
    if (::mkdir(path.constData(), 0777) != 0 && errno != EEXIST)
        return FileOpResult::fromErrno(errno);
    return FileOpResult::success();
}

FileOpResult copyFile(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    const QByteArray from = bytes(source);
    const QByteArray to = bytes(target);
    // Without O_NONBLOCK a named pipe among the sources would block the open
    // until some writer came along; it makes no difference to a regular file.
    const Descriptor in(::open(from.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.get() < 0)
        return FileOpResult::fromErrno(errno);
    struct stat st;
    if (::fstat(in.get(), &st) != 0)
        return FileOpResult::fromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return FileOpResult::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);

    QByteArray pattern = folderOf(to) + "/." + nameOf(to).left(200) + ".velkor-XXXXXX";
    Descriptor out(::mkostemp(pattern.data(), O_CLOEXEC));
    if (out.get() < 0)
        return FileOpResult::fromErrno(errno);
    TemporaryName temporary(pattern);

    constexpr size_t chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return FileOpResult::fromErrno(errno);
        }
        if (got == 0)
            break;
        const FileOpResult written = writeAll(out.get(), buffer.constData(), size_t(got));
        if (!written)
            return written;
        done += got;
        if (progress)
            progress(done, st.st_size);
    }
    // Set-id bits are dropped: the copy belongs to whoever runs the program.
    if (::fchmod(out.get(), st.st_mode & 0777) != 0)
        return FileOpResult::fromErrno(errno);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(out.get(), times) != 0)
        return FileOpResult::fromErrno(errno);
    if (::fsync(out.get()) != 0)
        return FileOpResult::fromErrno(errno);
    if (::close(out.release()) != 0)
        return FileOpResult::fromErrno(errno);
    const FileOpResult placed = renameBytes(pattern, to, existing);
    if (!placed)
        return placed;
    temporary.keep();
    syncFolder(folderOf(to));
    return FileOpResult::success();
}

FileOpResult moveFile(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    const QByteArray from = bytes(source);
    const FileOpResult renamed = renameBytes(from, bytes(target), existing);
    if (renamed || renamed.errorNumber != EXDEV)
        return renamed;
    const FileOpResult copied = copyFile(source, target, existing, progress);
    if (!copied)
        return copied;
    if (::unlink(from.constData()) != 0) {
        // The source stays, so the move did not happen: take the copy back
        // rather than leave a second file behind that nobody asked for.
        const FileOpResult kept = FileOpResult::fromErrno(errno);
        ::unlink(bytes(target).constData());
        return kept;
    }
    return FileOpResult::success();
}

FileOpResult renameNoReplace(const QString &source, const QString &target)
{
    return renameBytes(bytes(source), bytes(target), Existing::Keep);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    return ::stat(bytes(a).constData(), &sa) == 0 && ::stat(bytes(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString numberedName(const QString &name, int number)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = QStringLiteral(" (%1)").arg(number);
    if (dot <= 0)
        return name + suffix;
    return name.left(dot) + suffix + name.mid(dot);
}

} // namespace FileOps
