#include "platform/files/FileOps.h"

#include "platform/files/Trash.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <utility>

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
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
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
    TemporaryName() = default;
    ~TemporaryName()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;
    void set(const QByteArray &path) { m_path = path; }
    const QByteArray &path() const { return m_path; }
    void keep() { m_path.clear(); }

private:
    QByteArray m_path;
};

// A file taken out of the target name into the trash for a replace. It gets
// its name back unless the step that needed the name went through.
class SetAside
{
public:
    SetAside() = default;
    ~SetAside()
    {
        if (m_trashed)
            Trash().putBack(*m_trashed);
    }
    SetAside(const SetAside &) = delete;
    SetAside &operator=(const SetAside &) = delete;

    FileOpResult take(const QString &target)
    {
        if (m_trashed)
            return FileOpResult::fromErrno(EEXIST);
        // A file may replace a file, never a whole folder.
        struct stat st;
        if (::lstat(bytes(target).constData(), &st) == 0 && S_ISDIR(st.st_mode))
            return FileOpResult::fromErrno(EISDIR);
        Trash::Outcome trashed = Trash().moveToTrash(target);
        if (!trashed.status)
            return FileOpResult::notTrashed(trashed.status);
        m_trashed = std::move(trashed);
        return FileOpResult::success();
    }
    void commit() { m_trashed.reset(); }

private:
    std::optional<Trash::Outcome> m_trashed;
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

int systemNoReplace(const char *source, const char *target)
{
    return ::renameat2(AT_FDCWD, source, AT_FDCWD, target, RENAME_NOREPLACE);
}

NoReplaceCall noReplaceCall = systemNoReplace;

// Where the file system cannot refuse a taken name itself: a second link
// under the new name, which fails rather than replace, then the old name
// goes. The file has at least one name at every moment.
FileOpResult linkThenUnlink(const QByteArray &source, const QByteArray &target)
{
    if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), 0) != 0) {
        // No hard links here (vfat and the like): looking first and then
        // renaming could replace a file that appeared in between.
        if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS)
            return FileOpResult::fromErrno(EOPNOTSUPP);
        return FileOpResult::fromErrno(errno);
    }
    if (::unlink(source.constData()) != 0) {
        const int error = errno;
        // The file keeps its old name, as long as both names still lead to
        // it: the new one may have changed hands, the old one may be gone.
        struct stat from;
        struct stat to;
        if (::lstat(source.constData(), &from) == 0 && ::lstat(target.constData(), &to) == 0
            && from.st_dev == to.st_dev && from.st_ino == to.st_ino)
            ::unlink(target.constData());
        return FileOpResult::fromErrno(error);
    }
    return FileOpResult::success();
}

FileOpResult renameBytes(const QByteArray &source, const QByteArray &target)
{
    // The system would read a name only up to a NUL: another file's name.
    if (source.contains('\0') || target.contains('\0'))
        return FileOpResult::fromErrno(EINVAL);
    if (noReplaceCall(source.constData(), target.constData()) == 0)
        return FileOpResult::success();
    if (errno != EINVAL && errno != ENOSYS)
        return FileOpResult::fromErrno(errno);
    return linkThenUnlink(source, target);
}

void syncFolder(const QByteArray &folder)
{
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

// Opens a source for reading; only a regular file can be copied.
FileOpResult openRegular(const QByteArray &from, Descriptor &in, struct stat &st)
{
    // Without O_NONBLOCK a named pipe among the sources would block the open
    // until some writer came along; it makes no difference to a regular file.
    in.reset(::open(from.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.get() < 0)
        return FileOpResult::fromErrno(errno);
    if (::fstat(in.get(), &st) != 0)
        return FileOpResult::fromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return FileOpResult::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return FileOpResult::success();
}

// Writes the open source under a hidden name beside the target, with its
// time and permissions, flushed to the disk. copy tells the written file.
FileOpResult stage(int in, const struct stat &st, const QByteArray &to, TemporaryName &staged,
    struct stat &copy, const ByteProgress &progress)
{
    QByteArray pattern = folderOf(to) + "/." + nameOf(to).left(200) + ".velkor-XXXXXX";
    Descriptor out(::mkostemp(pattern.data(), O_CLOEXEC));
    if (out.get() < 0)
        return FileOpResult::fromErrno(errno);
    staged.set(pattern);

    constexpr size_t chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), chunk);
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
    if (::fsync(out.get()) != 0 || ::fstat(out.get(), &copy) != 0)
        return FileOpResult::fromErrno(errno);
    if (::close(out.release()) != 0)
        return FileOpResult::fromErrno(errno);
    return FileOpResult::success();
}

// Gives the staged copy the target name, never over another file: for a
// replace, the file holding the name goes to the trash first.
FileOpResult place(
    const QByteArray &staged, const QString &target, Existing existing, SetAside &replaced)
{
    const QByteArray to = bytes(target);
    FileOpResult placed = renameBytes(staged, to);
    if (placed || !placed.isErrno(EEXIST) || existing != Existing::Replace)
        return placed;
    placed = replaced.take(target);
    if (placed)
        placed = renameBytes(staged, to);
    return placed;
}

// The name still leads to the file that was opened (through a link as the
// open did), and that file did not change while it was read.
bool unchanged(int in, const struct stat &opened, const QByteArray &name)
{
    struct stat now;
    struct stat named;
    return ::fstat(in, &now) == 0 && ::stat(name.constData(), &named) == 0
        && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino
        && now.st_size == opened.st_size && now.st_mtim.tv_sec == opened.st_mtim.tv_sec
        && now.st_mtim.tv_nsec == opened.st_mtim.tv_nsec;
}

FileOpResult makeFoldersAt(const QByteArray &path)
{
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
        const FileOpResult made = makeFoldersAt(parent);
        if (!made)
            return made;
    }
    if (::mkdir(path.constData(), 0777) != 0 && errno != EEXIST)
        return FileOpResult::fromErrno(errno);
    return FileOpResult::success();
}

FileOpResult copying(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    Descriptor in;
    struct stat st;
    FileOpResult step = openRegular(bytes(source), in, st);
    if (!step)
        return step;
    TemporaryName staged;
    struct stat copy;
    step = stage(in.get(), st, bytes(target), staged, copy, progress);
    if (!step)
        return step;
    SetAside replaced;
    step = place(staged.path(), target, existing, replaced);
    if (!step)
        return step;
    staged.keep();
    replaced.commit();
    syncFolder(folderOf(bytes(target)));
    return FileOpResult::success();
}

FileOpResult moving(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    const QByteArray from = bytes(source);
    const QByteArray to = bytes(target);
    SetAside replaced;
    FileOpResult step = renameBytes(from, to);
    if (step.isErrno(EEXIST) && existing == Existing::Replace) {
        step = replaced.take(target);
        if (step)
            step = renameBytes(from, to);
    }
    if (step)
        replaced.commit();
    if (!step.isErrno(EXDEV))
        return step;

    Descriptor in;
    struct stat st;
    step = openRegular(from, in, st);
    if (!step)
        return step;
    TemporaryName staged;
    struct stat copy;
    step = stage(in.get(), st, to, staged, copy, progress);
    if (!step)
        return step;
    // A file saved over the source while it was read is not what was copied.
    if (!unchanged(in.get(), st, from))
        return FileOpResult::refused(FileOpResult::Kind::ChangedWhileMoved);
    step = place(staged.path(), target, existing, replaced);
    if (!step)
        return step;
    staged.keep();
    syncFolder(folderOf(to));
    // Once more at the last moment: the name may have changed hands meanwhile.
    if (!unchanged(in.get(), st, from))
        step = FileOpResult::refused(FileOpResult::Kind::ChangedWhileMoved);
    else if (::unlink(from.constData()) != 0)
        step = FileOpResult::fromErrno(errno);
    if (!step) {
        // The source stays, so the move did not happen: take our copy back
        // rather than leave a second file behind that nobody asked for, and
        // let a replaced file have its name again.
        struct stat placed;
        if (::lstat(to.constData(), &placed) == 0 && placed.st_dev == copy.st_dev
            && placed.st_ino == copy.st_ino)
            ::unlink(to.constData());
        return step;
    }
    replaced.commit();
    return FileOpResult::success();
}

} // namespace

// Each failure is the failure of the file the caller asked about, whichever
// name the failing call was given.
FileOpResult makeFolders(const QString &folder)
{
    return makeFoldersAt(bytes(folder)).about(folder);
}

FileOpResult copyFile(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    return copying(source, target, existing, progress).about(source);
}

FileOpResult moveFile(
    const QString &source, const QString &target, Existing existing, const ByteProgress &progress)
{
    return moving(source, target, existing, progress).about(source);
}

FileOpResult renameNoReplace(const QByteArray &source, const QByteArray &target)
{
    return renameBytes(source, target).about(QFile::decodeName(source));
}

NoReplaceCall setNoReplaceCall(NoReplaceCall call)
{
    return std::exchange(noReplaceCall, call ? call : systemNoReplace);
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

QString joinedPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isFullPath(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

} // namespace FileOps
