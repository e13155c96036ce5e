#pragma once

#include "core/FileRecord.h"

#include <QList>

// The records of the last scan in the order the walk accepted them. Record k
// is shown in scan-grid row k + 1 right after a scan; sorting the grid never
// reorders the catalogue. A record is found by its exact name and folder, and
// no two records ever hold one path: a walk meets each path once, and a
// rename never gives a record the name of another.
class FileCatalogue
{
public:
    static constexpr int Limit = 32767;

    int count() const { return static_cast<int>(m_records.size()); }
    bool isEmpty() const { return m_records.isEmpty(); }
    const FileRecord &at(int index) const { return m_records.at(index); }
    const QList<FileRecord> &records() const { return m_records; }

    void append(FileRecord record) { m_records.append(std::move(record)); }
    // The index of the record of that very file, or -1.
    int indexOf(const QString &name, const QString &folder) const;
    // Gives the record of that very file its new name; false when none
    // matches or another record already holds the new name. before is the
    // file's stamp right before it was renamed on disk: the record's stamp
    // follows the rename only while the file is otherwise as it was read.
    bool rename(const QString &name, const QString &folder, const QString &newName,
        const std::optional<FileStamp> &before = std::nullopt);
    // Removes the record of that very file; returns false when none matches.
    bool remove(const QString &name, const QString &folder);
    // Removes the records at these indexes (any order; repeats and indexes
    // outside are passed over) in one pass, keeping the order of the others.
    // Returns, for every former index, the record's index now, or -1 for a
    // removed record, so that what refers to records can follow.
    QList<int> removeAt(const QList<int> &indexes);
    void clear() { m_records.clear(); }

private:
    QList<FileRecord> m_records;
};
