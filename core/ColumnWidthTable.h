#pragma once

#include "core/FileRecord.h"
#include "core/MatchPair.h"

#include <QList>

#include <array>
#include <functional>

// The widths the compare grid's file columns need after a run: for column
// 2 + 2f the widest field f among the runs's files 1, for 3 + 2f among its
// files 2. A file listed in many pairs is measured once, and so is a text
// that many files share (sizes, times, types).
class ColumnWidthTable
{
public:
    // measure gives the width of a cell text as the grid's columns count it
    // (the caller's unit, margin included).
    using Measure = std::function<int(const QString &)>;

    static ColumnWidthTable measure(
        const QList<FileRecord> &records, const QList<MatchPair> &pairs, const Measure &measure);

    // 0 for the columns 0 and 1 and when no pair was listed.
    int width(int column) const { return m_widths[static_cast<size_t>(column)]; }
    const std::array<int, 16> &widths() const { return m_widths; }

private:
    std::array<int, 16> m_widths {};
};
