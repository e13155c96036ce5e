#include "core/ProtectedFolders.h"

#include <QFile>

#include <sys/stat.h>

bool ProtectedFolders::protect(const QString &folder)
{
    if (!folder.endsWith(u'/') || m_folders.contains(folder))
        return false;
    m_folders.append(folder);
    if (const auto identity = identityOf(folder))
        m_identities.append(*identity);
    recheck();
    return true;
}

bool ProtectedFolders::unprotect(const QString &folder)
{
    if (!m_folders.removeOne(folder))
        return false;
    m_identities.clear();
    for (const QString &kept : std::as_const(m_folders))
        if (const auto identity = identityOf(kept))
            m_identities.append(*identity);
    recheck();
    return true;
}

bool ProtectedFolders::covers(const QString &path) const
{
    for (const QString &folder : m_folders) {
        if (path.startsWith(folder))
            return true;
    }
    if (m_identities.isEmpty())
        return false;
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash >= 0 && reachesProtected(path.left(slash + 1));
}

// The folder or one above it is a protected folder. Asked once per folder
// text until the next recheck: a list of a million pairs has few folders.
bool ProtectedFolders::reachesProtected(const QString &folder) const
{
    if (const auto known = m_coveredFolder.constFind(folder); known != m_coveredFolder.cend())
        return *known;
    const auto identity = identityOf(folder);
    bool covered = identity && m_identities.contains(*identity);
    if (!covered && folder.size() > 1) {
        const qsizetype above = folder.lastIndexOf(u'/', folder.size() - 2);
        covered = above >= 0 && reachesProtected(folder.left(above + 1));
    }
    m_coveredFolder.insert(folder, covered);
    return covered;
}

// The folder the text leads to, links followed: the folder itself, however
// it is reached.
std::optional<ProtectedFolders::Identity> ProtectedFolders::identityOf(const QString &folder)
{
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return Identity {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}
