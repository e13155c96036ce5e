#include "core/MatchRowSource.h"

#include "core/GridSchema.h"
#include "core/NameSimilarity.h"

MatchRowSource::MatchRowSource(const QList<FileRecord> &records, const QList<MatchPair> &pairs)
    : m_records(records)
    , m_pairs(pairs)
{
}

int MatchRowSource::columnCount() const
{
    return GridSchema::CompareColumn::Count;
}

void MatchRowSource::cells(qsizetype row, Cell *cells) const
{
    const MatchPair &pair = m_pairs.at(row);
    cells[0] = {Cell::Number, static_cast<quint32>(row + 1)};
    const qsizetype fields = m_records.size() * FileRecord::FieldCount;
    if (pair.score >= 0 && pair.score <= NameSimilarity::Whole)
        cells[1] = {Cell::Shared, static_cast<quint32>(fields + pair.score)};
    else
        cells[1] = {};
    for (int f = 0; f < FileRecord::FieldCount; ++f) {
        const auto field = FileRecord::Field(f);
        cells[GridSchema::compareColumn(field, 1)]
            = {Cell::Shared, static_cast<quint32>(pair.first * FileRecord::FieldCount + f)};
        cells[GridSchema::compareColumn(field, 2)]
            = {Cell::Shared, static_cast<quint32>(pair.second * FileRecord::FieldCount + f)};
    }
}

qsizetype MatchRowSource::sharedTextCount() const
{
    return m_records.size() * FileRecord::FieldCount + NameSimilarity::Whole + 1;
}

QString MatchRowSource::sharedText(qsizetype index) const
{
    const qsizetype fields = m_records.size() * FileRecord::FieldCount;
    if (index < fields)
        return m_records.at(index / FileRecord::FieldCount).field(index % FileRecord::FieldCount);
    return NameSimilarity::text(index - fields);
}
