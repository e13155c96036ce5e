#include "core/PairSink.h"

PairSink::PairSink(qsizetype limit, int progressIntervalMs, std::function<void(int)> progress)
    : m_limit(qMax<qsizetype>(0, limit))
    , m_intervalMs(progressIntervalMs)
    , m_progress(std::move(progress))
{
}

bool PairSink::add(const MatchPair &pair)
{
    if (m_pairs.size() >= m_limit) {
        m_truncated = true;
        return false;
    }
    m_pairs.append(pair);
    return true;
}

bool PairSink::addAll(const QList<MatchPair> &pairs)
{
    const qsizetype taken = qMin(pairs.size(), room());
    if (taken == pairs.size())
        m_pairs.append(pairs);
    else
        m_pairs.append(pairs.first(taken));
    if (taken < pairs.size())
        m_truncated = true;
    return !m_truncated;
}

void PairSink::reached(int record)
{
    if (!m_progress)
        return;
    if (m_sinceReport.isValid() && m_sinceReport.elapsed() < m_intervalMs)
        return;
    m_sinceReport.start();
    m_progress(record);
}
