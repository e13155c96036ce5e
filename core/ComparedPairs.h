#pragma once

#include "core/FileRecord.h"
#include "core/MatchPair.h"

#include <QList>

// The pairs the last compare listed and the records as that compare took
// them from the catalogue. A compare-list row stands for pair RowData of it;
// the list outlives removals from the scan list and a new scan, so its rows
// read their files here, not in the catalogue.
struct ComparedPairs
{
    QList<FileRecord> records;
    QList<MatchPair> pairs;

    // The record of file 1 or 2 of the pair at index; null for an index or
    // file that names none.
    const FileRecord *record(qint32 pair, int file) const;
    // The record of that file takes its new name (see FileRecord::rename).
    void rename(const QString &name, const QString &folder, const QString &newName,
        const std::optional<FileStamp> &before);
};
