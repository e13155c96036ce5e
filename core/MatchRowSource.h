#pragma once

#include "core/FileRecord.h"
#include "core/GridRowSource.h"
#include "core/MatchPair.h"

#include <QList>

// The compare grid's rows for the pairs of a run, in the layout of
// MatchRows, read straight from the pairs: the shared texts are the
// catalogue's fields (record r's field f at 7r + f) and the similarity texts
// of the scores 0 to 10000 after them, so a grid stores each file's texts
// once, not once per pair. A score outside that range leaves its cell empty.
// Holds references: records and pairs must outlive the source.
class MatchRowSource : public GridRowSource
{
public:
    MatchRowSource(const QList<FileRecord> &records, const QList<MatchPair> &pairs);

    qsizetype rowCount() const override { return m_pairs.size(); }
    int columnCount() const override;
    void cells(qsizetype row, Cell *cells) const override;
    // A row stands for its pair: the pair's index in the run's list.
    qint32 rowData(qsizetype row) const override { return static_cast<qint32>(row); }
    qsizetype sharedTextCount() const override;
    QString sharedText(qsizetype index) const override;

private:
    const QList<FileRecord> &m_records;
    const QList<MatchPair> &m_pairs;
};
