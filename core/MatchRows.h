#pragma once

#include "core/FileRecord.h"
#include "core/MatchPair.h"

#include <QList>
#include <QStringList>

// The compare grid's rows for the pairs of a run: number, similarity text,
// then field f of file 1 in column 2 + 2f and of file 2 in column 3 + 2f.
// The cells share the catalogue's texts, so a million rows cost little
// more than their numbers and similarity texts.
namespace MatchRows {
constexpr int ColumnCount = 16;
constexpr int FirstFileColumn = 2;

QStringList cells(const QList<FileRecord> &records, const MatchPair &pair, qint32 number);
// Rows numbered from 1 in the order of the pairs.
QList<QStringList> rows(const QList<FileRecord> &records, const QList<MatchPair> &pairs);

// Status panel 2 after a run.
QString resultText(qsizetype count);
// The notice shown when a run stopped at the pair limit.
QString limitNoticeTitle();
QString limitNoticeText(qsizetype limit);
} // namespace MatchRows
