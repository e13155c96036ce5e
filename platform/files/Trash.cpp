#include "platform/files/Trash.h"

#include "platform/files/FileOps.h"
#include "platform/files/TrashFolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}
QString text(const QByteArray &path)
{
    return QFile::decodeName(path);
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

struct TrashFolder
{
    QByteArray root; // holds files/ and info/
    QByteArray topdir; // empty for the home trash, whose Path is absolute
    FileOpResult status;
};

// A folder we own and may put files in: a real folder, not a link, ours.
bool isOwnFolder(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode)
        && st.st_uid == ::geteuid();
}

FileOpResult makeOwnFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return FileOpResult::fromErrno(errno);
    if (!isOwnFolder(path))
        return FileOpResult::fromErrno(EPERM);
    return FileOpResult::success();
}

FileOpResult prepare(const QByteArray &root)
{
    for (const QByteArray &sub : {QByteArray("files"), QByteArray("info")}) {
        const QByteArray folder = joinPath(root, sub);
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return FileOpResult::fromErrno(errno);
    }
    return FileOpResult::success();
}

// The device of the nearest existing folder on the way to path.
bool deviceOf(QByteArray path, dev_t &device)
{
    struct stat st;
    while (::stat(path.constData(), &st) != 0) {
        if (errno != ENOENT || path == "/")
            return false;
        path = parentOf(path);
    }
    device = st.st_dev;
    return true;
}

// The highest folder above (and including) folder on the same device.
QByteArray topdirOf(QByteArray folder, dev_t device)
{
    while (folder != "/") {
        const QByteArray parent = parentOf(folder);
        struct stat st;
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

TrashFolder topdirTrash(const QByteArray &topdir)
{
    const QByteArray uid = QByteArray::number(::geteuid());
    const QByteArray shared = joinPath(topdir, ".Trash");
    struct stat st;
    // The shared folder counts only when it is a real folder with the sticky
    // bit, so that no other user can take our files out of it.
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray own = joinPath(shared, uid);
        if (makeOwnFolder(own) && prepare(own))
            return {own, topdir, FileOpResult::success()};
    }
    const QByteArray own = joinPath(topdir, ".Trash-" + uid);
    FileOpResult made = makeOwnFolder(own);
    if (made)
        made = prepare(own);
    return {own, topdir, made};
}

TrashFolder trashFor(const QByteArray &folder, dev_t device)
{
    const QByteArray home = bytes(Trash::homeTrash());
    dev_t homeDevice;
    if (deviceOf(home, homeDevice) && homeDevice == device) {
        FileOpResult made = FileOps::makeFolders(text(parentOf(home)));
        if (made && ::mkdir(home.constData(), 0700) != 0 && errno != EEXIST)
            made = FileOpResult::fromErrno(errno);
        if (made)
            made = prepare(home);
        return {home, {}, made};
    }
    return topdirTrash(topdirOf(folder, device));
}

// The name a file takes in files/, short enough that its info's name
// ("<name>.trashinfo") and a number that tells clashing names apart still fit
// the file system's limit. The old name is kept whole in the info.
QByteArray storedName(const QByteArray &name, int number)
{
    constexpr qsizetype infoSuffix = 10; // ".trashinfo"
    constexpr qsizetype numberRoom = 8; // " (99999)"
    QByteArray base = name;
    if (base.size() > NAME_MAX - infoSuffix) {
        // Keep the extension, so the trash view still knows the file's type,
        // and cut before a character, never inside a UTF-8 sequence.
        const qsizetype dot = base.lastIndexOf('.');
        const QByteArray extension
            = dot > 0 && base.size() - dot <= 16 ? base.mid(dot) : QByteArray();
        qsizetype cut = NAME_MAX - infoSuffix - numberRoom - extension.size();
        while (cut > 0 && (uchar(base.at(cut)) & 0xC0) == 0x80)
            --cut;
        base = base.left(cut) + extension;
    }
    return number == 1 ? base : bytes(FileOps::numberedName(text(base), number));
}

Trash::Outcome failed(const FileOpResult &status)
{
    Trash::Outcome outcome;
    outcome.status = status;
    return outcome;
}

QByteArray infoText(const QByteArray &encodedPath)
{
    const QString date
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    return "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=" + date.toLatin1() + '\n';
}

FileOpResult writeInfo(int fd, const QByteArray &content)
{
    const char *data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return FileOpResult::fromErrno(errno);
        }
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0)
        return FileOpResult::fromErrno(errno);
    return FileOpResult::success();
}

} // namespace

QString Trash::homeTrash()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.startsWith(QLatin1Char('/')))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Trash");
}

QByteArray Trash::encodePath(const QByteArray &path)
{
    return path.toPercentEncoding("/");
}

QByteArray Trash::decodePath(const QByteArray &value)
{
    return QByteArray::fromPercentEncoding(value);
}

namespace {

Trash::Outcome trashing(const QString &path)
{
    QByteArray given = bytes(path);
    while (given.size() > 1 && given.endsWith('/'))
        given.chop(1);
    const QByteArray name = given.mid(given.lastIndexOf('/') + 1);
    if (!given.startsWith('/') || name.isEmpty() || name == "." || name == "..")
        return failed(FileOpResult::fromErrno(EINVAL));

    // The real folder of the file, so that the info names where it really was.
    char resolved[PATH_MAX];
    if (!::realpath(parentOf(given).constData(), resolved))
        return failed(FileOpResult::fromErrno(errno));
    const QByteArray original = joinPath(resolved, name);
    struct stat st;
    if (::lstat(original.constData(), &st) != 0)
        return failed(FileOpResult::fromErrno(errno));
    // Trashed again, a file would leave its first info pointing at nothing
    // and show twice in the trash view.
    const TrashFolders trashes;
    if (trashes.holds(resolved) || (S_ISDIR(st.st_mode) && trashes.isTrash(original)))
        return failed(FileOpResult::refused(FileOpResult::Kind::AlreadyInTrash));

    const TrashFolder trash = trashFor(resolved, st.st_dev);
    if (!trash.status)
        return failed(trash.status);
    const QByteArray files = joinPath(trash.root, "files");
    const QByteArray info = joinPath(trash.root, "info");
    QByteArray stored = original;
    if (!trash.topdir.isEmpty())
        stored = trash.topdir == "/" ? original.mid(1) : original.mid(trash.topdir.size() + 1);
    const QByteArray content = infoText(Trash::encodePath(stored));

    for (int number = 1; number < 100000; ++number) {
        const QByteArray candidate = storedName(name, number);
        const QByteArray infoFile = joinPath(info, candidate + ".trashinfo");
        // The info is claimed first and exclusively: whoever creates it owns
        // the name in files/ too.
        const int fd = ::open(infoFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return failed(FileOpResult::fromErrno(errno));
        }
        const FileOpResult written = writeInfo(fd, content);
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            ::unlink(infoFile.constData());
            return failed(written ? FileOpResult::fromErrno(EIO) : written);
        }
        const QByteArray target = joinPath(files, candidate);
        // By its bytes: a real folder name that is not UTF-8 would turn into
        // another name as text, maybe that of another file.
        const FileOpResult moved = FileOps::renameNoReplace(original, target);
        if (!moved) {
            ::unlink(infoFile.constData());
            // A file left in files/ without its info: take the next name.
            if (moved.isErrno(EEXIST))
                continue;
            return failed(moved);
        }
        return {FileOpResult::success(), text(target), text(infoFile), target, infoFile, original};
    }
    return failed(FileOpResult::fromErrno(EEXIST));
}

} // namespace

Trash::Outcome Trash::moveToTrash(const QString &path) const
{
    Outcome outcome = trashing(path);
    outcome.status = outcome.status.about(path);
    return outcome;
}

FileOpResult Trash::putBack(const Outcome &trashed) const
{
    if (!trashed.status || trashed.trashedName.isEmpty())
        return FileOpResult::fromErrno(EINVAL);
    const FileOpResult moved = FileOps::renameNoReplace(trashed.trashedName, trashed.originalName);
    if (moved)
        ::unlink(trashed.infoName.constData());
    return moved;
}
