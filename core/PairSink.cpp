#include "core/PairSink.h"

PairSink::PairSink(qsizetype limit, int records)
    : m_limit(qMax<qsizetype>(0, limit))
    , m_records(records)
{
}

bool PairSink::add(const MatchPair &pair)
{
    if (cancelled())
        return false;
    if (m_pairs.size() >= m_limit) {
        m_truncated = true;
        return false;
    }
    m_pairs.append(pair);
    return true;
}

bool PairSink::addAll(const QList<MatchPair> &pairs)
{
    if (cancelled())
        return false;
    const qsizetype taken = qMin(pairs.size(), room());
    if (taken == pairs.size())
        m_pairs.append(pairs);
    else
        m_pairs.append(pairs.first(taken));
    if (taken < pairs.size())
        m_truncated = true;
    return !full();
}

int PairSink::percent() const
{
    if (m_records < 2)
        return 0;
    // Record k is paired with every later record: the records before k
    // account for k * (2n - k - 1) / 2 of the n * (n - 1) / 2 pairs.
    const double n = m_records;
    const double k = qBound(0, reachedRecord(), m_records);
    const double before = k * (2 * n - k - 1) / 2;
    return qBound(0, static_cast<int>(before * 100 / (n * (n - 1) / 2)), 100);
}
