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
#include <cstring>
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

// Calls visit(i) for every i < count whose flag is set, in order, skipping
// runs of clear flags eight at a time; false once visit asked to stop.
template<typename Visit>
bool forEachFlagged(const unsigned char *flags, size_t count, Visit visit)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        quint64 word;
        std::memcpy(&word, flags + i, sizeof word);
        if (word == 0)
            continue;
        for (size_t b = 0; b < 8; ++b) {
            if (flags[i + b] && !visit(i + b))
                return false;
        }
    }
    for (; i < count; ++i) {
        if (flags[i] && !visit(i))
            return false;
    }
    return true;
}
} // namespace

SimilarNameMatcher::SimilarNameMatcher(const QList<FileRecord> &records,
    const CompareCriteria &criteria, SimilarityThreshold threshold,
    const QStringList &contentTokens)
    : m_records(records)
    , m_count(static_cast<int>(records.size()))
    , m_wholePasses(threshold.passes(NameSimilarity::Whole))
{
    const auto n = static_cast<size_t>(m_count);
    std::vector<int> tailOf(n);
    std::vector<CompareKey> keys;
    keys.reserve(n);
    QHash<QString, int> tailIds;
    for (size_t k = 0; k < n; ++k) {
        keys.emplace_back(records.at(static_cast<qsizetype>(k)), criteria,
            contentTokens.value(static_cast<qsizetype>(k)));
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
    m_summary.resize(n);
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
        CharacterSummary &summary = m_summary[p];
        summary.ascii = {static_cast<quint32>(low), static_cast<quint32>(low >> 32),
            static_cast<quint32>(high), static_cast<quint32>(high >> 32)};
        summary.otherCount = m_otherCount[p];
        for (size_t i = begin; i < m_others.size(); ++i)
            summary.otherHash |= quint32(1) << (m_others[i] % 32);
    }
    for (size_t p = n; p-- > 0;) {
        const bool lastOfTail = p + 1 == n
            || tailOf[static_cast<size_t>(m_record[p])]
                != tailOf[static_cast<size_t>(m_record[p + 1])];
        m_groupEnd[p] = lastOfTail ? static_cast<int>(p + 1) : m_groupEnd[p + 1];
    }

    // A record is capable when its distinct characters could reach the
    // threshold with it as the reference.
    m_capable.resize(n);
    for (size_t p = 0; p < n; ++p) {
        m_capable[p] = m_distinct[p] >= m_need[p];
        m_columns.append(m_keyLength[p], m_normalized[p], m_need[p], m_summary[p]);
        if (m_capable[p]) {
            m_capablePlaces.push_back(static_cast<int>(p));
            m_capableColumns.append(m_keyLength[p], m_normalized[p], m_need[p], m_summary[p]);
        }
    }
    // Places of the records of each normalized key, ascending.
    std::vector<int> byKey(n);
    std::iota(byKey.begin(), byKey.end(), 0);
    std::stable_sort(byKey.begin(), byKey.end(), [&](int a, int b) {
        return m_normalized[static_cast<size_t>(a)] < m_normalized[static_cast<size_t>(b)];
    });
    m_sameKeyPlaces = byKey;
    m_sameKeyBegin.resize(n);
    m_sameKeyCount.resize(n);
    for (size_t i = 0; i < n;) {
        size_t j = i;
        const int id = m_normalized[static_cast<size_t>(byKey[i])];
        while (j < n && m_normalized[static_cast<size_t>(byKey[j])] == id)
            ++j;
        for (size_t t = i; t < j; ++t) {
            m_sameKeyBegin[static_cast<size_t>(byKey[t])] = static_cast<int>(i);
            m_sameKeyCount[static_cast<size_t>(byKey[t])] = static_cast<int>(j - i);
        }
        i = j;
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

bool SimilarNameMatcher::scorePair(size_t p, size_t q, qint32 &score) const
{
    if (m_keyLength[p] >= m_keyLength[q] && m_normalized[p] == m_normalized[q]) {
        score = static_cast<qint32>(NameSimilarity::Whole);
        return m_wholePasses;
    }
    const size_t reference = m_keyLength[p] >= m_keyLength[q] ? p : q;
    const int shared = sharedCount(p, q);
    score = static_cast<qint32>(NameSimilarity::ratio(shared, m_baseLength[reference]));
    return shared >= m_need[reference];
}

void SimilarNameMatcher::ScreenColumns::append(
    int keyLength, int normalized, int need, const CharacterSummary &characters)
{
    m_keyLength.push_back(keyLength);
    m_normalized.push_back(normalized);
    m_need.push_back(need);
    for (size_t w = 0; w < m_ascii.size(); ++w)
        m_ascii[w].push_back(characters.ascii[w]);
    m_otherHash.push_back(characters.otherHash);
    m_otherCount.push_back(characters.otherCount);
}

// Bits set in x, without a popcount instruction, so that the screen loop
// below still vectorises on the baseline processor.
static inline int bitCount(quint32 x)
{
    x = x - ((x >> 1) & 0x55555555U);
    x = (x & 0x33333333U) + ((x >> 2) & 0x33333333U);
    x = (x + (x >> 4)) & 0x0f0f0f0fU;
    x += x >> 8;
    x += x >> 16;
    return static_cast<int>(x & 0x3f);
}

// The hot loop of the similar-name mode: plain arrays of one width and no
// branches, so the compiler can run it over many partners per instruction.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default"), optimize("tree-loop-vectorize")))
#endif
static void
screenRange(const SimilarNameMatcher::Probe probe, const int *keyLength, const int *normalized,
    const int *need, const quint32 *a0, const quint32 *a1, const quint32 *a2, const quint32 *a3,
    const quint32 *otherHash, const int *otherCount, unsigned char *__restrict flags, size_t count)
{
    // The shared characters are at most the common ASCII ones plus, when
    // the other characters' hashes meet at all, the fewer of them.
    const auto &c = probe.characters;
    const int wholePasses = probe.wholePasses ? 1 : 0;
    for (size_t i = 0; i < count; ++i) {
        const int referenceIsProbe = probe.keyLength >= keyLength[i] ? -1 : 0;
        const int needed = (probe.need & referenceIsProbe) | (need[i] & ~referenceIsProbe);
        const int meet = (c.otherHash & otherHash[i]) != 0 ? -1 : 0;
        const int others = std::min(c.otherCount, otherCount[i]) & meet;
        const int bound = bitCount(c.ascii[0] & a0[i]) + bitCount(c.ascii[1] & a1[i])
            + bitCount(c.ascii[2] & a2[i]) + bitCount(c.ascii[3] & a3[i]) + others;
        const int sameKey = normalized[i] == probe.normalized ? wholePasses : 0;
        const int passes = bound >= needed ? 1 : 0;
        flags[i] = static_cast<unsigned char>(passes | (sameKey & referenceIsProbe));
    }
}

void SimilarNameMatcher::ScreenColumns::screen(
    const Probe &probe, size_t first, size_t count, unsigned char *flags) const
{
    screenRange(probe, m_keyLength.data() + first, m_normalized.data() + first,
        m_need.data() + first, m_ascii[0].data() + first, m_ascii[1].data() + first,
        m_ascii[2].data() + first, m_ascii[3].data() + first, m_otherHash.data() + first,
        m_otherCount.data() + first, flags, count);
}

int SimilarNameMatcher::capableAfter(size_t p) const
{
    const auto first
        = std::upper_bound(m_capablePlaces.begin(), m_capablePlaces.end(), static_cast<int>(p));
    const auto last = std::lower_bound(first, m_capablePlaces.end(), m_groupEnd[p]);
    return static_cast<int>(last - first);
}

void SimilarNameMatcher::collectFor(
    int k, QList<MatchPair> &out, qsizetype limit, std::vector<unsigned char> &flags) const
{
    const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
    const auto end = static_cast<size_t>(m_groupEnd[p]);
    if (p + 1 >= end)
        return;
    const Probe probe {m_keyLength[p], m_normalized[p], m_need[p], m_wholePasses, m_summary[p]};
    auto emit = [&](size_t q) {
        qint32 score = 0;
        if (!scorePair(p, q, score) || m_records.at(k).isSameFile(m_records.at(m_record[q])))
            return true;
        if (out.size() >= limit)
            return false;
        out.append({k, m_record[q], score});
        return true;
    };
    if (m_capable[p]) {
        const size_t count = end - p - 1;
        flags.resize(count);
        m_columns.screen(probe, p + 1, count, flags.data());
        forEachFlagged(flags.data(), count, [&](size_t i) { return emit(p + 1 + i); });
        return;
    }
    // Record k can't reach the threshold as the reference, so a partner
    // passes only as a capable reference or with a key equal to k's.
    const auto capableBegin = static_cast<size_t>(
        std::upper_bound(m_capablePlaces.begin(), m_capablePlaces.end(), static_cast<int>(p))
        - m_capablePlaces.begin());
    const auto capableEnd = static_cast<size_t>(
        std::lower_bound(m_capablePlaces.begin() + static_cast<qsizetype>(capableBegin),
            m_capablePlaces.end(), static_cast<int>(end))
        - m_capablePlaces.begin());
    const size_t count = capableEnd - capableBegin;
    flags.resize(count);
    m_capableColumns.screen(probe, capableBegin, count, flags.data());
    const int *same = m_sameKeyPlaces.data() + m_sameKeyBegin[p];
    const int *sameEnd = same + m_sameKeyCount[p];
    same = std::upper_bound(same, sameEnd, static_cast<int>(p));
    const bool complete = forEachFlagged(flags.data(), count, [&](size_t i) {
        const int q = m_capablePlaces[capableBegin + i];
        for (; same != sameEnd && *same < q; ++same) {
            if (!emit(static_cast<size_t>(*same)))
                return false;
        }
        if (same != sameEnd && *same == q)
            ++same;
        return emit(static_cast<size_t>(q));
    });
    for (; complete && same != sameEnd && *same < static_cast<int>(end); ++same) {
        if (!emit(static_cast<size_t>(*same)))
            return;
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
        // A capable record screens all later records of its tail, the
        // others only the capable ones.
        work += m_capable[p] ? m_groupEnd[p] - static_cast<int>(p) - 1 : capableAfter(p) + 16;
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
