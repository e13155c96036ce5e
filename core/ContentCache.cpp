#include "core/ContentCache.h"

std::optional<FileContent::Digest> ContentCache::edges(const FileStamp &stamp) const
{
    const QMutexLocker lock(&m_mutex);
    const auto it = m_entries.constFind(stamp);
    return it == m_entries.cend() ? std::nullopt : it->edges;
}

std::optional<FileContent::Digest> ContentCache::whole(const FileStamp &stamp) const
{
    const QMutexLocker lock(&m_mutex);
    const auto it = m_entries.constFind(stamp);
    return it == m_entries.cend() ? std::nullopt : it->whole;
}

void ContentCache::setEdges(const FileStamp &stamp, const FileContent::Digest &digest)
{
    const QMutexLocker lock(&m_mutex);
    m_entries[stamp].edges = digest;
}

void ContentCache::setWhole(const FileStamp &stamp, const FileContent::Digest &digest)
{
    const QMutexLocker lock(&m_mutex);
    m_entries[stamp].whole = digest;
}
