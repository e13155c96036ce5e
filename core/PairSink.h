#pragma once

#include "core/MatchPair.h"

#include <QList>

#include <atomic>

// Collects the pairs of a compare run in order and stops taking them once
// the limit is passed or the user cancelled; tells the window waiting for
// the run how far it is. The pair methods belong to the thread that runs
// the search; reached record, percent and cancel may be used from any.
class PairSink
{
public:
    // records: the catalogue's size, the whole of what the run examines.
    PairSink(qsizetype limit, int records);

    // False once the sink is full: more than the limit passed, or the run
    // was cancelled; the pair is not kept and the run should stop.
    bool add(const MatchPair &pair);
    // Appends a batch found in order; false once the sink is full.
    bool addAll(const QList<MatchPair> &pairs);
    bool full() const { return m_truncated || cancelled(); }
    qsizetype room() const { return cancelled() ? 0 : m_limit - m_pairs.size(); }
    // The run has examined every pair of the records before this one.
    void reached(int record) { m_reached.store(record, std::memory_order_relaxed); }

    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    int reachedRecord() const { return m_reached.load(std::memory_order_relaxed); }
    // The share of all pairs, in the order of the plain loop, that lie before
    // the record reached.
    int percent() const;

    QList<MatchPair> takePairs() { return std::move(m_pairs); }
    bool truncated() const { return m_truncated; }

private:
    QList<MatchPair> m_pairs;
    qsizetype m_limit;
    int m_records;
    bool m_truncated = false;
    std::atomic<int> m_reached {0};
    std::atomic<bool> m_cancelled {false};
};
