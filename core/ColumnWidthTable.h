#pragma once

#include "core/FileRecord.h"
#include "core/GridSchema.h"
#include "core/MatchPair.h"

#include <QList>

#include <array>
#include <functional>

// The widths the compare grid's file columns need after a run: for each
// field's file-1 column the widest of that field among the run's files 1,
// likewise for file 2. A file listed in many pairs is measured once, and so is a text
// that many files share (sizes, times, types).
class ColumnWidthTable
{
public:
    // measure gives the width of a cell text as the grid's columns count it
    // (the caller's unit, margin included).
    using Measure = std::function<int(const QString &)>;
    using Widths = std::array<int, GridSchema::CompareColumn::Count>;

    static ColumnWidthTable measure(
        const QList<FileRecord> &records, const QList<MatchPair> &pairs, const Measure &measure);

    // The widest row number and file texts; 0 for the similarity column and
    // when no pair was listed.
    int width(int column) const { return m_widths[static_cast<size_t>(column)]; }
    const Widths &widths() const { return m_widths; }

private:
    Widths m_widths {};
};
