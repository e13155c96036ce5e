#pragma once

#include "core/FileContent.h"
#include "core/FileStamp.h"

#include <QHash>
#include <QMutex>

#include <optional>

// The content digests read in this session, keyed by the file's stamp
// (device, inode, size, modification and status-change time), so that a later compare
// reads only the files that are new or have changed. Safe to use from the
// reading threads.
class ContentCache
{
public:
    std::optional<FileContent::Digest> edges(const FileStamp &stamp) const;
    std::optional<FileContent::Digest> whole(const FileStamp &stamp) const;
    void setEdges(const FileStamp &stamp, const FileContent::Digest &digest);
    void setWhole(const FileStamp &stamp, const FileContent::Digest &digest);

private:
    struct Entry
    {
        std::optional<FileContent::Digest> edges;
        std::optional<FileContent::Digest> whole;
    };

    mutable QMutex m_mutex;
    QHash<FileStamp, Entry> m_entries;
};
