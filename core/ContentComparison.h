#pragma once

#include "core/ContentCache.h"
#include "core/FileRecord.h"
#include "core/FileStamp.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

// Which catalogued files have identical content. Only files of one
// candidate group (files that may pair by the other criteria and have the
// same size) are read: first the edges of each, then, side by side, the
// whole of those whose size and edges still agree with another's, each
// stage on worker threads with every file read at most once. Digests only
// select the files to compare: two files count as identical once their
// bytes were compared, in this run or in an earlier one the cache
// remembers, and nothing is read whose stamp the cache already knows well
// enough. A file that can't be read takes no part.
class ContentComparison
{
public:
    // Waits until the work is done, false when the user cancelled it;
    // percent() tells how much of the content to read has been read.
    using Await
        = std::function<bool(const QFuture<void> &work, const std::function<int()> &percent)>;

    struct Outcome
    {
        // One text per record, equal for two records exactly when both
        // were read and their contents are identical.
        QStringList tokens;
        // The files that have a twin, by full path, as they were read.
        QHash<QString, FileStamp> stamps;
        int unreadable = 0;
        bool cancelled = false;
    };

    // groups: indexes into records; await may be empty, then the call
    // blocks until the reading ends.
    static Outcome run(const QList<FileRecord> &records, const QList<QList<int>> &groups,
        ContentCache &cache, const Await &await, const FileContent::Digester &digester = {});
};
