#include "core/PendingList.h"

QStringList PendingList::paths() const
{
    if (m_paths.isEmpty())
        return {};
    return m_paths.split(Separator);
}

bool PendingList::queue(const QString &path)
{
    // An empty entry would end the shell's list early.
    if (path.isEmpty() || m_queued.contains(path))
        return false;
    m_queued.insert(path);
    if (!m_paths.isEmpty())
        m_paths += Separator;
    m_paths += path;
    return true;
}

bool PendingList::queueCounted(const QString &path, double bytes)
{
    if (!queue(path))
        return false;
    ++m_count;
    m_bytes += bytes;
    return true;
}

void PendingList::clearPaths()
{
    m_paths.clear();
    m_queued.clear();
}

void PendingList::clear()
{
    clearPaths();
    m_count = 0;
    m_bytes = 0;
}
