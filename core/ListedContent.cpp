#include "core/ListedContent.h"

ListedContent::ListedContent(QHash<QString, FileStamp> stamps)
    : m_checked(true)
    , m_stamps(std::move(stamps))
{
}

bool ListedContent::intact(const QString &path, const QString &twin) const
{
    if (!m_checked)
        return true;
    for (const QString &file : {path, twin}) {
        const auto read = m_stamps.constFind(file);
        if (read == m_stamps.cend())
            return false;
        const std::optional<FileStamp> now = FileStamp::of(file);
        if (!now || *now != *read)
            return false;
    }
    return true;
}

void ListedContent::renamed(const QString &from, const QString &to)
{
    const auto read = m_stamps.constFind(from);
    if (read == m_stamps.cend())
        return;
    FileStamp stamp = m_stamps.take(from);
    // Renaming sets the status-change time; the file keeps its reading only
    // while everything else about it is as it was read.
    const std::optional<FileStamp> now = FileStamp::of(to);
    if (now && now->sameFile(stamp) && now->size == stamp.size
        && now->modifiedNs == stamp.modifiedNs)
        stamp.changedNs = now->changedNs;
    m_stamps.insert(to, stamp);
}
