#pragma once

#include <QString>
#include <QtGlobal>

class CompareKey;

// Name similarity of two comparison keys as a count of ten-thousandths
// (0 to 10000). The roles follow the whole-key lengths: the shorter key gives
// the probe, the longer the reference; on equal lengths the earlier key is
// the reference, unless the two keys are the same apart from letter case and
// outer blanks, which scores 10000. The score is the number of distinct probe
// characters found in the reference over the reference's length.
namespace NameSimilarity {
constexpr qint64 Whole = 10000;

qint64 score(const CompareKey &earlier, const CompareKey &later);
// shared / referenceLength in ten-thousandths, a half going to the even
// count; an empty reference scores 0.
qint64 ratio(qint64 shared, qint64 referenceLength);
// "75.00%": the score as a percentage with two decimals.
QString text(qint64 score);
} // namespace NameSimilarity
