#include "core/ColumnWidthTable.h"

#include <QHash>

#include <vector>

ColumnWidthTable ColumnWidthTable::measure(
    const QList<FileRecord> &records, const QList<MatchPair> &pairs, const Measure &measure)
{
    std::vector<char> asFirst(static_cast<size_t>(records.size()));
    std::vector<char> asSecond(static_cast<size_t>(records.size()));
    for (const MatchPair &pair : pairs) {
        asFirst[static_cast<size_t>(pair.first)] = 1;
        asSecond[static_cast<size_t>(pair.second)] = 1;
    }
    QHash<QString, int> measured;
    auto widthOf = [&](const QString &text) {
        auto it = measured.constFind(text);
        if (it == measured.cend())
            it = measured.insert(text, measure(text));
        return *it;
    };
    ColumnWidthTable table;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const auto at = static_cast<size_t>(r);
        if (!asFirst[at] && !asSecond[at])
            continue;
        for (int f = 0; f < FileRecord::FieldCount; ++f) {
            const int width = widthOf(records.at(r).field(f));
            const auto widen = [&](int file) {
                int &column
                    = table.m_widths[size_t(GridSchema::compareColumn(FileRecord::Field(f), file))];
                column = std::max(column, width);
            };
            if (asFirst[at])
                widen(1);
            if (asSecond[at])
                widen(2);
        }
    }
    if (!pairs.isEmpty())
        table.m_widths[GridSchema::CompareColumn::Number] = widthOf(QString::number(pairs.size()));
    return table;
}
