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
    return FileStamp::ifUnchanged(m_stamps, path) && FileStamp::ifUnchanged(m_stamps, twin);
}

void ListedContent::renamed(
    const QString &from, const QString &to, const std::optional<FileStamp> &before)
{
    if (m_stamps.contains(from))
        m_stamps.insert(to, m_stamps.take(from).renamedTo(to, before));
}
