#include "platform/files/TrashFolders.h"

#include "platform/files/Trash.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

TrashFolders::TrashFolders()
{
    // Following a link: the home trash may itself be one.
    struct stat st;
    if (::stat(QFile::encodeName(Trash::homeTrash()).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        m_home = Identity {st.st_dev, st.st_ino};
}

bool TrashFolders::hasTrashName(QByteArrayView name)
{
    if (name == ".Trash")
        return true;
    constexpr QByteArrayView numbered(".Trash-");
    return name.size() > numbered.size() && name.startsWith(numbered)
        && std::all_of(name.begin() + numbered.size(), name.end(),
            [](char c) { return c >= '0' && c <= '9'; });
}

bool TrashFolders::isHomeTrash(const QByteArray &path) const
{
    struct stat st;
    return m_home && ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_dev == m_home->device && st.st_ino == m_home->inode;
}

bool TrashFolders::isTrash(const QByteArray &path) const
{
    QByteArray folder = path;
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    return hasTrashName(QByteArrayView(folder).sliced(folder.lastIndexOf('/') + 1))
        || isHomeTrash(folder);
}

bool TrashFolders::holds(const QByteArray &path) const
{
    char resolved[PATH_MAX];
    if (!::realpath(path.constData(), resolved))
        return false;
    // Every folder on the resolved way up is a real one, never a link.
    for (QByteArray folder(resolved); folder.size() > 1;
         folder.truncate(std::max<qsizetype>(folder.lastIndexOf('/'), 1))) {
        if (isTrash(folder))
            return true;
    }
    return false;
}
