#include "core/ProtectedFolders.h"

bool ProtectedFolders::protect(const QString &folder)
{
    if (!folder.endsWith(u'/') || m_folders.contains(folder))
        return false;
    m_folders.append(folder);
    return true;
}

bool ProtectedFolders::unprotect(const QString &folder)
{
    return m_folders.removeOne(folder);
}

bool ProtectedFolders::covers(const QString &path) const
{
    for (const QString &folder : m_folders) {
        if (path.startsWith(folder))
            return true;
    }
    return false;
}
