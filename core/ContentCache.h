#pragma once

#include "core/FileContent.h"
#include "core/FileStamp.h"

#include <QHash>
#include <QList>
#include <QMutex>

#include <optional>

// The content digests read in this session, keyed by the file's stamp
// (device, inode, size, modification and status-change time), so that a later compare
// reads only the files that are new or have changed. A digest only tells
// files apart; files whose bytes were compared and found the same share a
// verdict, which lets a later compare pair them again without reading.
// Safe to use from the reading threads.
class ContentCache
{
public:
    std::optional<FileContent::Digest> edges(const FileStamp &stamp) const;
    std::optional<FileContent::Digest> whole(const FileStamp &stamp) const;
    // Files of one verdict have the same bytes.
    std::optional<quint64> verdict(const FileStamp &stamp) const;
    void setEdges(const FileStamp &stamp, const FileContent::Digest &digest);
    void setWhole(const FileStamp &stamp, const FileContent::Digest &digest);
    // The files were found byte for byte the same.
    void confirm(const QList<FileStamp> &same);

private:
    struct Entry
    {
        std::optional<FileContent::Digest> edges;
        std::optional<FileContent::Digest> whole;
        std::optional<quint64> verdict;
    };

    mutable QMutex m_mutex;
    QHash<FileStamp, Entry> m_entries;
    quint64 m_verdicts = 0;
};
