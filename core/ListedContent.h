#pragma once

#include "core/FileStamp.h"

#include <QHash>
#include <QString>

// What a compare with the content box vouched for: the listed files as
// their contents were read. A file of such a list may be removed or moved
// only while it and its listed twin are still that very file (device and
// inode) with the size, modification and status-change time they had
// then; after a compare without the box every pair stands as listed.
class ListedContent
{
public:
    ListedContent() = default;
    explicit ListedContent(QHash<QString, FileStamp> stamps);

    bool intact(const QString &path, const QString &twin) const;
    // A rename of the program's own keeps the file as it was read, under its
    // new path.
    // before: the file's stamp right before the rename on disk.
    void renamed(const QString &from, const QString &to, const std::optional<FileStamp> &before);

private:
    bool m_checked = false;
    QHash<QString, FileStamp> m_stamps;
};
