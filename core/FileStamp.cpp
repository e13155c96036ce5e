#include "core/FileStamp.h"

#include <QFile>
#include <QHashFunctions>

#include <sys/stat.h>

namespace {

std::optional<FileStamp> fromStatus(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.device = static_cast<quint64>(st.st_dev);
    stamp.inode = static_cast<quint64>(st.st_ino);
    stamp.size = static_cast<qint64>(st.st_size);
    stamp.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000
        + static_cast<qint64>(st.st_mtim.tv_nsec);
    stamp.changedNs = static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000
        + static_cast<qint64>(st.st_ctim.tv_nsec);
    return stamp;
}

} // namespace

std::optional<FileStamp> FileStamp::of(const QString &path)
{
    struct stat st
    {
    };
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return fromStatus(st);
}

std::optional<FileStamp> FileStamp::ofOpen(int fd)
{
    struct stat st
    {
    };
    if (fstat(fd, &st) != 0)
        return std::nullopt;
    return fromStatus(st);
}

std::optional<FileStamp> FileStamp::ifUnchanged(
    const QHash<QString, FileStamp> &recorded, const QString &path)
{
    const auto record = recorded.constFind(path);
    if (record == recorded.cend())
        return std::nullopt;
    const std::optional<FileStamp> now = of(path);
    return now == *record ? now : std::nullopt;
}

FileStamp FileStamp::renamedTo(const QString &path, const std::optional<FileStamp> &before) const
{
    const std::optional<FileStamp> now = of(path);
    if (!before || *before != *this || !now || !now->sameFile(*this) || now->size != size
        || now->modifiedNs != modifiedNs)
        return *this;
    FileStamp renamed = *this;
    renamed.changedNs = now->changedNs;
    return renamed;
}

size_t qHash(const FileStamp &stamp, size_t seed) noexcept
{
    return qHashMulti(
        seed, stamp.device, stamp.inode, stamp.size, stamp.modifiedNs, stamp.changedNs);
}
