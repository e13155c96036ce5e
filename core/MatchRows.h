#pragma once

#include "core/FileRecord.h"
#include "core/MatchPair.h"

#include <QList>
#include <QStringList>

// The compare grid's rows for the pairs of a run: number, similarity text,
// then field f of file 1 in column 2 + 2f and of file 2 in column 3 + 2f.
// The grid reads them through MatchRowSource, without a list of texts.
namespace MatchRows {

// Rows numbered from 1 in the order of the pairs, as texts: what the grid
// shows, for readers that want lists.
QList<QStringList> rows(const QList<FileRecord> &records, const QList<MatchPair> &pairs);

// Status panel 2 after a run.
QString resultText(qsizetype count);
// The notice shown when a run stopped at the pair limit.
QString limitNoticeText(qsizetype limit);
} // namespace MatchRows
