#pragma once

#include <QString>
#include <QtGlobal>

// The similarity threshold as typed into the threshold box, in percent. It is
// read like a number typed by a person: leading spaces skipped, an optional
// sign, digits with at most one decimal point, up to the first character
// that can't continue it; nothing readable is 0. The test against a score is
// exact decimal arithmetic, so a score of 0.0700 passes at "7".
class SimilarityThreshold
{
public:
    static SimilarityThreshold read(const QString &text);
    // Whether the text is nothing but a plain number from 1 to 100 (spaces
    // around it allowed), the only thresholds a compare accepts: anything
    // else would read as 0 and pair every file, or as more than 100 and pair
    // none.
    static bool isPercentInRange(const QString &text);

    // The lowest score in ten-thousandths that reaches the threshold; 0 for
    // thresholds of 0 or below, above 10000 when no score can reach it.
    qint64 minimumScore() const { return m_minimumScore; }
    bool passes(qint64 score) const { return score >= m_minimumScore; }

private:
    qint64 m_minimumScore = 0;
};
