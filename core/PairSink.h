#pragma once

#include "core/MatchPair.h"

#include <QElapsedTimer>
#include <QList>

#include <functional>

// Collects the pairs of a compare run in order, stops taking them once the
// limit is passed, and passes the run's position on at most every interval.
class PairSink
{
public:
    PairSink(qsizetype limit, int progressIntervalMs, std::function<void(int)> progress);

    // False once the sink is full: more than the limit passed, the pair is
    // not kept and the run should stop.
    bool add(const MatchPair &pair);
    // Appends a batch found in order; false once the sink is full.
    bool addAll(const QList<MatchPair> &pairs);
    bool full() const { return m_truncated; }
    qsizetype room() const { return m_limit - m_pairs.size(); }
    void reached(int record);

    QList<MatchPair> takePairs() { return std::move(m_pairs); }
    bool truncated() const { return m_truncated; }

private:
    QList<MatchPair> m_pairs;
    qsizetype m_limit;
    bool m_truncated = false;
    int m_intervalMs;
    std::function<void(int)> m_progress;
    QElapsedTimer m_sinceReport;
};
