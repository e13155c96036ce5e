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

std::optional<quint64> ContentCache::verdict(const FileStamp &stamp) const
{
    const QMutexLocker lock(&m_mutex);
    const auto it = m_entries.constFind(stamp);
    return it == m_entries.cend() ? std::nullopt : it->verdict;
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

void ContentCache::confirm(const QList<FileStamp> &same)
{
    const QMutexLocker lock(&m_mutex);
    const quint64 verdict = ++m_verdicts;
    for (const FileStamp &stamp : same)
        m_entries[stamp].verdict = verdict;
}
