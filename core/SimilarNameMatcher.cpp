#include "core/SimilarNameMatcher.h"

#include "core/CompareKey.h"
#include "core/NameSimilarity.h"
#include "core/PairSink.h"

#include <QHash>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <bit>
#include <climits>
#include <numeric>

namespace {
constexpr int Unreachable = INT_MAX / 2;

// Smallest shared count whose score over a reference of this length reaches
// the minimum score.
int sharedNeeded(int referenceLength, qint64 minimumScore)
{
    if (minimumScore <= 0)
        return 0;
    if (referenceLength == 0)
        return Unreachable;
    int shared = static_cast<int>(
        qMax<qint64>(0, minimumScore * referenceLength / NameSimilarity::Whole - 1));
    while (
        shared <= referenceLength && NameSimilarity::ratio(shared, referenceLength) < minimumScore)
        ++shared;
    return shared > referenceLength ? Unreachable : shared;
}

int idOf(QHash<QString, int> &ids, const QString &text)
{
    return *ids.insert(text, static_cast<int>(ids.size()));
}
} // namespace

SimilarNameMatcher::SimilarNameMatcher(const QList<FileRecord> &records,
    const CompareCriteria &criteria, SimilarityThreshold threshold)
    : m_count(static_cast<int>(records.size()))
    , m_wholePasses(threshold.passes(NameSimilarity::Whole))
{
    const auto n = static_cast<size_t>(m_count);
    std::vector<int> tailOf(n);
    std::vector<CompareKey> keys;
    keys.reserve(n);
    QHash<QString, int> tailIds;
    for (size_t k = 0; k < n; ++k) {
        keys.emplace_back(records.at(static_cast<qsizetype>(k)), criteria);
        const QString tail = keys.back().tail();
        auto it = tailIds.constFind(tail);
        tailOf[k] = it != tailIds.cend() ? *it : idOf(tailIds, tail);
    }
    m_record.resize(n);
    std::iota(m_record.begin(), m_record.end(), 0);
    std::stable_sort(m_record.begin(), m_record.end(), [&](int a, int b) {
        return tailOf[static_cast<size_t>(a)] < tailOf[static_cast<size_t>(b)];
    });

    m_place.resize(n);
    m_groupEnd.resize(n);
    m_keyLength.resize(n);
    m_normalized.resize(n);
    m_distinct.resize(n);
    m_baseLength.resize(n);
    m_need.resize(n);
    m_asciiLow.resize(n);
    m_asciiHigh.resize(n);
    m_otherBegin.resize(n);
    m_otherCount.resize(n);
    QHash<QString, int> normalizedIds;
    for (size_t p = 0; p < n; ++p) {
        const auto k = static_cast<size_t>(m_record[p]);
        const CompareKey &key = keys[k];
        m_place[k] = static_cast<int>(p);
        m_keyLength[p] = static_cast<int>(key.length());
        const QString normalized = key.normalized();
        auto it = normalizedIds.constFind(normalized);
        m_normalized[p] = it != normalizedIds.cend() ? *it : idOf(normalizedIds, normalized);

        const QString base = key.base();
        m_baseLength[p] = static_cast<int>(base.size());
        m_need[p] = sharedNeeded(m_baseLength[p], threshold.minimumScore());
        quint64 low = 0;
        quint64 high = 0;
        const size_t begin = m_others.size();
        for (QChar c : base) {
            const char16_t u = c.unicode();
            if (u < 64)
                low |= quint64(1) << u;
            else if (u < 128)
                high |= quint64(1) << (u - 64);
            else
                m_others.push_back(u);
        }
        std::sort(m_others.begin() + static_cast<qsizetype>(begin), m_others.end());
        m_others.erase(
            std::unique(m_others.begin() + static_cast<qsizetype>(begin), m_others.end()),
            m_others.end());
        m_asciiLow[p] = low;
        m_asciiHigh[p] = high;
        m_otherBegin[p] = static_cast<int>(begin);
        m_otherCount[p] = static_cast<int>(m_others.size() - begin);
        m_distinct[p] = std::popcount(low) + std::popcount(high) + m_otherCount[p];
    }
    for (size_t p = n; p-- > 0;) {
        const bool lastOfTail = p + 1 == n
            || tailOf[static_cast<size_t>(m_record[p])]
                != tailOf[static_cast<size_t>(m_record[p + 1])];
        m_groupEnd[p] = lastOfTail ? static_cast<int>(p + 1) : m_groupEnd[p + 1];
    }
}

int SimilarNameMatcher::sharedCount(size_t a, size_t b) const
{
    int shared = std::popcount(m_asciiLow[a] & m_asciiLow[b])
        + std::popcount(m_asciiHigh[a] & m_asciiHigh[b]);
    const char16_t *x = m_others.data() + m_otherBegin[a];
    const char16_t *xEnd = x + m_otherCount[a];
    const char16_t *y = m_others.data() + m_otherBegin[b];
    const char16_t *yEnd = y + m_otherCount[b];
    while (x != xEnd && y != yEnd) {
        if (*x < *y) {
            ++x;
        } else if (*y < *x) {
            ++y;
        } else {
            ++shared;
            ++x;
            ++y;
        }
    }
    return shared;
}

void SimilarNameMatcher::collectFor(
    int k, QList<MatchPair> &out, qsizetype limit, std::vector<unsigned char> &flags) const
{
    const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
    const auto end = static_cast<size_t>(m_groupEnd[p]);
    if (p + 1 >= end)
        return;
    const int length = m_keyLength[p];
    const int normalized = m_normalized[p];
    const int distinct = m_distinct[p];
    const int need = m_need[p];
    const bool wholePasses = m_wholePasses;
    const size_t first = p + 1;
    flags.resize(end - first);
    // Screen: the shared characters can't outnumber either side's distinct
    // characters. The longer key (the earlier one on a tie) is the reference,
    // and on a tie keys equal apart from case and ends score whole.
    const int *keyLength = m_keyLength.data();
    const int *ids = m_normalized.data();
    const int *distincts = m_distinct.data();
    const int *needs = m_need.data();
    unsigned char *flag = flags.data();
    for (size_t q = first; q < end; ++q) {
        const bool referenceIsK = length >= keyLength[q];
        const int needed = referenceIsK ? need : needs[q];
        const int bound = std::min(distinct, distincts[q]);
        const bool whole = referenceIsK && ids[q] == normalized && wholePasses;
        flag[q - first] = static_cast<unsigned char>((bound >= needed) | whole);
    }
    for (size_t q = first; q < end; ++q) {
        if (!flag[q - first])
            continue;
        const bool referenceIsK = length >= keyLength[q];
        qint32 score = -1;
        if (referenceIsK && ids[q] == normalized) {
            if (wholePasses)
                score = static_cast<qint32>(NameSimilarity::Whole);
        } else {
            const size_t reference = referenceIsK ? p : q;
            const int shared = sharedCount(p, q);
            if (shared >= m_need[reference])
                score = static_cast<qint32>(NameSimilarity::ratio(shared, m_baseLength[reference]));
        }
        if (score < 0)
            continue;
        if (out.size() >= limit)
            return;
        out.append({k, m_record[q], score});
    }
}

void SimilarNameMatcher::collect(PairSink &sink) const
{
    // Units of consecutive records of roughly equal pair work, run a few at a
    // time on all cores and appended in catalogue order, so the rows keep the
    // order of the plain loop and the run can stop at the limit.
    constexpr qint64 WorkPerUnit = 1 << 21;
    struct Unit
    {
        int begin;
        int end;
    };
    std::vector<Unit> units;
    qint64 work = 0;
    int begin = 0;
    for (int k = 0; k < m_count; ++k) {
        const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
        work += m_groupEnd[p] - static_cast<int>(p) - 1;
        if (work >= WorkPerUnit || k + 1 == m_count) {
            units.push_back({begin, k + 1});
            begin = k + 1;
            work = 0;
        }
    }
    const int wave = qMax(2, 2 * QThreadPool::globalInstance()->maxThreadCount());
    for (size_t first = 0; first < units.size(); first += static_cast<size_t>(wave)) {
        const size_t last = std::min(units.size(), first + static_cast<size_t>(wave));
        sink.reached(units[first].begin);
        const qsizetype room = sink.room() + 1; // one more tells that the limit was passed
        const std::vector<Unit> slice(units.begin() + static_cast<qsizetype>(first),
            units.begin() + static_cast<qsizetype>(last));
        const QList<QList<MatchPair>> found
            = QtConcurrent::blockingMapped<QList<QList<MatchPair>>>(slice, [&](const Unit &unit) {
                  QList<MatchPair> pairs;
                  std::vector<unsigned char> flags;
                  for (int k = unit.begin; k < unit.end && pairs.size() < room; ++k)
                      collectFor(k, pairs, room, flags);
                  return pairs;
              });
        for (const QList<MatchPair> &pairs : found) {
            if (!sink.addAll(pairs))
                return;
        }
    }
}
