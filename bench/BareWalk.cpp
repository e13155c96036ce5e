#include "BareWalk.h"

#include <QFile>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

void walk(const QByteArray &folder, BareWalkResult &result)
{
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return;
    const int fd = dirfd(dir);
    QList<QByteArray> subfolders;
    while (const dirent *entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct statx st;
        if (statx(fd, entry->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_BASIC_STATS | STATX_BTIME, &st)
            != 0)
            continue;
        ++result.entries;
        if (S_ISDIR(st.stx_mode))
            subfolders.append(folder + '/' + entry->d_name);
        else if (S_ISREG(st.stx_mode))
            ++result.files;
    }
    closedir(dir);
    result.folders += subfolders.size();
    for (const QByteArray &sub : std::as_const(subfolders))
        walk(sub, result);
}

} // namespace

BareWalkResult bareWalk(const QString &root)
{
    BareWalkResult result;
    walk(QFile::encodeName(root), result);
    return result;
}
