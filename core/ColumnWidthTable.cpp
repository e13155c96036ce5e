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
            if (asFirst[at])
                table.m_widths[static_cast<size_t>(2 + 2 * f)]
                    = std::max(table.m_widths[static_cast<size_t>(2 + 2 * f)], width);
            if (asSecond[at])
                table.m_widths[static_cast<size_t>(3 + 2 * f)]
                    = std::max(table.m_widths[static_cast<size_t>(3 + 2 * f)], width);
        }
    }
    return table;
}
