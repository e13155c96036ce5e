#pragma once

#include "core/CompareCriteria.h"
#include "core/FileRecord.h"

#include <QList>
#include <QStringList>

class PairSink;

// Same-name mode: a pair passes exactly when the two normalized keys are
// equal, so records are grouped by normalized key and each group's pairs
// are given out in catalogue order; the work is the number of pairs listed.
// Two records of one file are never a pair.
// contentTokens, one per record when the content box is ticked, end the keys.
namespace SameNameMatcher {
void collect(const QList<FileRecord> &records, const CompareCriteria &criteria, PairSink &sink,
    const QStringList &contentTokens = {});
}
