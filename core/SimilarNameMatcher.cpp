#include "core/SimilarNameMatcher.h"

#include "core/CompareKey.h"
#include "core/NameSimilarity.h"
#include "core/PairSink.h"

#include <QHash>
#include <QMutex>
#include <QScopeGuard>
#include <QThreadPool>
#include <QWaitCondition>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cstring>
#include <exception>
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

// Runs work(from, to) over 0 .. n - 1 in slices, on all cores.
template<typename Work>
void inParallel(size_t n, const Work &work)
{
    constexpr size_t Slice = 2048;
    std::vector<std::pair<size_t, size_t>> slices;
    for (size_t from = 0; from < n; from += Slice)
        slices.emplace_back(from, std::min(n, from + Slice));
    QtConcurrent::blockingMap(
        slices, [&](std::pair<size_t, size_t> &slice) { work(slice.first, slice.second); });
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
    , m_minimumScore(threshold.minimumScore())
    , m_wholePasses(threshold.passes(NameSimilarity::Whole))
{
    const auto n = static_cast<size_t>(m_count);
    // The texts of every record's key, built on all cores.
    std::vector<CompareKey> keys(n);
    std::vector<QString> tails(n);
    std::vector<QString> bases(n);
    std::vector<QString> normalizedTexts(n);
    std::vector<size_t> pathHashes(n);
    inParallel(n, [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k) {
            const FileRecord &record = records.at(static_cast<qsizetype>(k));
            keys[k] = CompareKey(record, criteria, contentTokens.value(static_cast<qsizetype>(k)));
            tails[k] = keys[k].tail();
            bases[k] = keys[k].base();
            normalizedTexts[k] = keys[k].normalized();
            pathHashes[k] = qHashMulti(0, record.name(), record.folder());
        }
    });
    std::vector<int> tailOf(n);
    QHash<QString, int> tailIds;
    // How many bases hold each character, to give the commonest their bits.
    std::vector<int> holders(0x10000);
    std::vector<int> seenIn(0x10000, -1);
    for (size_t k = 0; k < n; ++k) {
        const QString &tail = tails[k];
        auto it = tailIds.constFind(tail);
        tailOf[k] = it != tailIds.cend() ? *it : idOf(tailIds, tail);
        for (QChar c : bases[k]) {
            const char16_t u = c.unicode();
            if (seenIn[u] != static_cast<int>(k)) {
                seenIn[u] = static_cast<int>(k);
                ++holders[u];
            }
        }
    }
    std::vector<char16_t> held;
    for (size_t u = 0; u < holders.size(); ++u) {
        if (holders[u] > 0)
            held.push_back(static_cast<char16_t>(u));
    }
    const size_t commonCount = std::min<size_t>(held.size(), CommonCharacters);
    std::partial_sort(held.begin(), held.begin() + static_cast<qsizetype>(commonCount), held.end(),
        [&](char16_t a, char16_t b) {
            return holders[a] != holders[b] ? holders[a] > holders[b] : a < b;
        });
    std::vector<int> bitOf(0x10000, -1);
    for (size_t i = 0; i < commonCount; ++i)
        bitOf[held[i]] = static_cast<int>(i);

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
    m_summary.resize(n);
    m_rareBegin.resize(n + 1);
    m_identity.resize(n);
    QHash<QString, int> normalizedIds;
    normalizedIds.reserve(static_cast<qsizetype>(n));
    for (size_t p = 0; p < n; ++p) {
        const auto k = static_cast<size_t>(m_record[p]);
        const CompareKey &key = keys[k];
        m_place[k] = static_cast<int>(p);
        m_keyLength[p] = static_cast<int>(key.length());
        const QString &normalized = normalizedTexts[k];
        auto it = normalizedIds.constFind(normalized);
        m_normalized[p] = it != normalizedIds.cend() ? *it : idOf(normalizedIds, normalized);

        const QString &base = bases[k];
        m_baseLength[p] = static_cast<int>(base.size());
        m_need[p] = sharedNeeded(m_baseLength[p], threshold.minimumScore());
        CharacterSummary &summary = m_summary[p];
        const size_t begin = m_rare.size();
        for (QChar c : base) {
            const char16_t u = c.unicode();
            if (const int bit = bitOf[u]; bit >= 0)
                summary.common[static_cast<size_t>(bit / 32)] |= quint32(1) << (bit % 32);
            else
                m_rare.push_back(u);
        }
        std::sort(m_rare.begin() + static_cast<qsizetype>(begin), m_rare.end());
        m_rare.erase(std::unique(m_rare.begin() + static_cast<qsizetype>(begin), m_rare.end()),
            m_rare.end());
        m_rareBegin[p] = static_cast<int>(begin);
        summary.rareCount = static_cast<int>(m_rare.size() - begin);
        for (size_t i = begin; i < m_rare.size(); ++i)
            summary.rareHash |= quint32(1) << (m_rare[i] % 32);
        int distinct = summary.rareCount;
        for (quint32 word : summary.common)
            distinct += std::popcount(word);
        m_distinct[p] = distinct;

        const FileRecord &record = records.at(static_cast<qsizetype>(k));
        Identity &identity = m_identity[p];
        identity.pathHash = pathHashes[k];
        if (record.stamp) {
            identity.stamped = true;
            identity.device = record.stamp->device;
            identity.inode = record.stamp->inode;
        }
    }
    m_rareBegin[n] = static_cast<int>(m_rare.size());
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

    std::vector<int> groupBegin(n);
    for (size_t p = 0; p < n; ++p)
        groupBegin[p] = p > 0 && m_groupEnd[p - 1] == m_groupEnd[p] ? groupBegin[p - 1] : int(p);
    m_byLength.resize(n);
    std::iota(m_byLength.begin(), m_byLength.end(), 0);
    for (size_t p = 0; p < n; p = static_cast<size_t>(m_groupEnd[p])) {
        std::stable_sort(m_byLength.begin() + static_cast<qsizetype>(p),
            m_byLength.begin() + m_groupEnd[p],
            [&](int a, int b) { return m_keyLength[size_t(a)] < m_keyLength[size_t(b)]; });
    }
    // The capable places of each tail by need, and by key length.
    m_byNeed = m_capablePlaces;
    m_capableByLength = m_capablePlaces;
    for (size_t i = 0; i < m_byNeed.size();) {
        const int end = m_groupEnd[static_cast<size_t>(m_byNeed[i])];
        size_t j = i;
        while (j < m_byNeed.size() && m_byNeed[j] < end)
            ++j;
        std::stable_sort(m_byNeed.begin() + static_cast<qsizetype>(i),
            m_byNeed.begin() + static_cast<qsizetype>(j),
            [&](int a, int b) { return m_need[size_t(a)] < m_need[size_t(b)]; });
        std::stable_sort(m_capableByLength.begin() + static_cast<qsizetype>(i),
            m_capableByLength.begin() + static_cast<qsizetype>(j),
            [&](int a, int b) { return m_keyLength[size_t(a)] < m_keyLength[size_t(b)]; });
        i = j;
    }
    const auto inOrder = [&](const std::vector<int> &places, const std::vector<int> &key,
                             std::vector<int> &orderKeys, ScreenColumns &columns) {
        for (const int q : places) {
            const auto at = static_cast<size_t>(q);
            orderKeys.push_back(key[at]);
            columns.append(m_keyLength[at], m_normalized[at], m_need[at], m_summary[at]);
        }
    };
    inOrder(m_byLength, m_keyLength, m_lengthOrderKey, m_lengthColumns);
    inOrder(m_byNeed, m_need, m_needOrderKey, m_needColumns);
    inOrder(m_capableByLength, m_keyLength, m_capableLengthOrderKey, m_capableLengthColumns);

    m_bands.resize(n);
    m_banded.resize(n);
    m_work.resize(n);
    for (size_t p = 0; p < n; ++p) {
        const int begin = groupBegin[p];
        const int end = m_groupEnd[p];
        const auto capableBegin = static_cast<int>(
            std::lower_bound(m_capablePlaces.begin(), m_capablePlaces.end(), begin)
            - m_capablePlaces.begin());
        const auto capableEnd
            = static_cast<int>(std::lower_bound(m_capablePlaces.begin(), m_capablePlaces.end(), end)
                - m_capablePlaces.begin());
        const auto capableLater
            = static_cast<int>(std::upper_bound(m_capablePlaces.begin() + capableBegin,
                                   m_capablePlaces.begin() + capableEnd, static_cast<int>(p))
                - m_capablePlaces.begin());
        Bands &bands = m_bands[p];
        if (m_capable[p]) {
            // A partner it is the reference of holds at least need distinct
            // characters, so its key is at least need + 3 long.
            const auto lengths = m_lengthOrderKey.begin();
            bands.lengthFrom = static_cast<int>(
                std::lower_bound(lengths + begin, lengths + end, m_need[p] + 3) - lengths);
            bands.lengthTo = static_cast<int>(
                std::upper_bound(lengths + begin, lengths + end, m_keyLength[p]) - lengths);
            bands.lengthTo = std::max(bands.lengthFrom, bands.lengthTo);
        }
        // A partner that is the reference has the longer key and needs no
        // more shared characters than this record holds: the capable
        // places of the tail with a need up to that, or with a longer key,
        // whichever are fewer.
        const auto needs = m_needOrderKey.begin();
        const auto byNeedTo = static_cast<int>(
            std::upper_bound(needs + capableBegin, needs + capableEnd, m_distinct[p]) - needs);
        const auto capableLengths = m_capableLengthOrderKey.begin();
        const auto longerFrom = static_cast<int>(std::upper_bound(capableLengths + capableBegin,
                                                     capableLengths + capableEnd, m_keyLength[p])
            - capableLengths);
        bands.referenceByLength = capableEnd - longerFrom < byNeedTo - capableBegin;
        bands.referenceFrom = bands.referenceByLength ? longerFrom : capableBegin;
        bands.referenceTo = bands.referenceByLength ? capableEnd : byNeedTo;
        const int banded = bands.lengthTo - bands.lengthFrom + bands.referenceTo
            - bands.referenceFrom + m_sameKeyCount[p];
        const int plain
            = m_capable[p] ? end - static_cast<int>(p) - 1 : capableEnd - capableLater + 16;
        m_banded[p] = 2 * banded < plain;
        m_work[p] = m_banded[p] ? banded : plain;
    }
}

// Bits set in x, without a popcount instruction, so that the screen loop
// below still vectorises on the baseline processor.
static inline quint32 byteCounts(quint32 x)
{
    x = x - ((x >> 1) & 0x55555555U);
    x = (x & 0x33333333U) + ((x >> 2) & 0x33333333U);
    return (x + (x >> 4)) & 0x0f0f0f0fU;
}

// The sum of the four byte counts of x, each at most 255.
static inline int sumOfBytes(quint32 x)
{
    x = (x & 0x00ff00ffU) + ((x >> 8) & 0x00ff00ffU);
    return static_cast<int>((x & 0xffffU) + (x >> 16));
}

// The common characters two summaries share: the byte counts of the words
// add up before the bytes are summed, at most 8 per word.
static inline int commonShared(const quint32 *a, const quint32 *b)
{
    quint32 bytes = 0;
    for (int w = 0; w < SimilarNameMatcher::CommonWords; ++w)
        bytes += byteCounts(a[w] & b[w]);
    return sumOfBytes(bytes);
}

int SimilarNameMatcher::sharedCount(size_t a, size_t b) const
{
    int shared = commonShared(m_summary[a].common.data(), m_summary[b].common.data());
    const char16_t *x = m_rare.data() + m_rareBegin[a];
    const char16_t *xEnd = x + m_summary[a].rareCount;
    const char16_t *y = m_rare.data() + m_rareBegin[b];
    const char16_t *yEnd = y + m_summary[b].rareCount;
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
    if (shared < m_need[reference])
        return false;
    score = static_cast<qint32>(NameSimilarity::ratio(shared, m_baseLength[reference]));
    return true;
}

bool SimilarNameMatcher::oneFile(size_t p, size_t q) const
{
    const Identity &a = m_identity[p];
    const Identity &b = m_identity[q];
    if (a.stamped && b.stamped && a.device == b.device && a.inode == b.inode)
        return true;
    return a.pathHash == b.pathHash
        && m_records.at(m_record[p])
               .isFile(m_records.at(m_record[q]).name(), m_records.at(m_record[q]).folder());
}

void SimilarNameMatcher::ScreenColumns::append(
    int keyLength, int normalized, int need, const CharacterSummary &characters)
{
    m_keyLength.push_back(keyLength);
    m_normalized.push_back(normalized);
    m_need.push_back(need);
    for (size_t w = 0; w < m_common.size(); ++w)
        m_common[w].push_back(characters.common[w]);
    m_rareHash.push_back(characters.rareHash);
    m_rareCount.push_back(characters.rareCount);
}

namespace {

// The screen's arrays from one entry on.
struct ScreenArrays
{
    const int *keyLength;
    const int *normalized;
    const int *need;
    std::array<const quint32 *, SimilarNameMatcher::CommonWords> common;
    const quint32 *rareHash;
    const int *rareCount;
};

// The hot loop of the similar-name mode: plain arrays of one width and no
// branches, so the compiler can run it over many partners per instruction.
// Native: the processor counts bits itself, lane by lane.
// Narrow: the probe holds none of the characters of the upper four words
// (most names hold only the commonest), so those words are not read.
template<bool Native, bool Narrow>
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void
screenLoop(const SimilarNameMatcher::Probe &probe, const ScreenArrays &in,
    unsigned char *__restrict flags, size_t count)
{
    // The shared characters are at most the common ones both hold plus,
    // when the rare characters' hashes meet at all, the fewer rare ones.
    const auto &c = probe.characters;
    const int wholePasses = probe.wholePasses ? 1 : 0;
    static_assert(SimilarNameMatcher::CommonWords == 8);
    const quint32 *w0 = in.common[0];
    const quint32 *w1 = in.common[1];
    const quint32 *w2 = in.common[2];
    const quint32 *w3 = in.common[3];
    const quint32 *w4 = in.common[4];
    const quint32 *w5 = in.common[5];
    const quint32 *w6 = in.common[6];
    const quint32 *w7 = in.common[7];
    const int *keyLength = in.keyLength;
    const int *normalized = in.normalized;
    const int *need = in.need;
    const quint32 *rareHash = in.rareHash;
    const int *rareCount = in.rareCount;
    for (size_t i = 0; i < count; ++i) {
        const int referenceIsProbe = probe.keyLength >= keyLength[i] ? -1 : 0;
        const int needed = (probe.need & referenceIsProbe) | (need[i] & ~referenceIsProbe);
        const int meet = (c.rareHash & rareHash[i]) != 0 ? -1 : 0;
        const int rare = std::min(c.rareCount, rareCount[i]) & meet;
        int common;
        if constexpr (Native) {
            common = __builtin_popcount(c.common[0] & w0[i])
                + __builtin_popcount(c.common[1] & w1[i]) + __builtin_popcount(c.common[2] & w2[i])
                + __builtin_popcount(c.common[3] & w3[i]);
            if constexpr (!Narrow) {
                common += __builtin_popcount(c.common[4] & w4[i])
                    + __builtin_popcount(c.common[5] & w5[i])
                    + __builtin_popcount(c.common[6] & w6[i])
                    + __builtin_popcount(c.common[7] & w7[i]);
            }
        } else {
            quint32 bytes = byteCounts(c.common[0] & w0[i]) + byteCounts(c.common[1] & w1[i])
                + byteCounts(c.common[2] & w2[i]) + byteCounts(c.common[3] & w3[i]);
            if constexpr (!Narrow) {
                bytes += byteCounts(c.common[4] & w4[i]) + byteCounts(c.common[5] & w5[i])
                    + byteCounts(c.common[6] & w6[i]) + byteCounts(c.common[7] & w7[i]);
            }
            common = sumOfBytes(bytes);
        }
        const int bound = common + rare;
        const int sameKey = normalized[i] == probe.normalized ? wholePasses : 0;
        const int passes = bound >= needed ? 1 : 0;
        flags[i] = static_cast<unsigned char>(passes | (sameKey & referenceIsProbe));
    }
}

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default"), optimize("tree-loop-vectorize")))
#endif
void screenPortable(const SimilarNameMatcher::Probe &probe, const ScreenArrays &in,
    unsigned char *flags, size_t count)
{
    screenLoop<false, false>(probe, in, flags, count);
}

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default"), optimize("tree-loop-vectorize")))
#endif
void screenPortableNarrow(const SimilarNameMatcher::Probe &probe, const ScreenArrays &in,
    unsigned char *flags, size_t count)
{
    screenLoop<false, true>(probe, in, flags, count);
}

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
// Processors with a bit count over whole vectors screen sixteen partners an
// instruction without the bit tricks.
#define VELKOR_NATIVE_SCREEN 1
__attribute__((
    target("avx512f,avx512vl,avx512bw,avx512vpopcntdq"), optimize("tree-loop-vectorize"))) void
screenNative(const SimilarNameMatcher::Probe &probe, const ScreenArrays &in, unsigned char *flags,
    size_t count)
{
    screenLoop<true, false>(probe, in, flags, count);
}

__attribute__((
    target("avx512f,avx512vl,avx512bw,avx512vpopcntdq"), optimize("tree-loop-vectorize"))) void
screenNativeNarrow(const SimilarNameMatcher::Probe &probe, const ScreenArrays &in,
    unsigned char *flags, size_t count)
{
    screenLoop<true, true>(probe, in, flags, count);
}

bool hasNativeScreen()
{
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")
        && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vpopcntdq");
    return has;
}
#endif

std::atomic<bool> nativeAllowed {true};

} // namespace

void SimilarNameMatcher::allowVectorBitCount(bool allowed)
{
    nativeAllowed.store(allowed, std::memory_order_relaxed);
}

void SimilarNameMatcher::ScreenColumns::screen(
    const Probe &probe, size_t first, size_t count, unsigned char *flags) const
{
    ScreenArrays in {m_keyLength.data() + first, m_normalized.data() + first, m_need.data() + first,
        {}, m_rareHash.data() + first, m_rareCount.data() + first};
    for (size_t w = 0; w < in.common.size(); ++w)
        in.common[w] = m_common[w].data() + first;
    const auto &words = probe.characters.common;
    const bool narrow = (words[4] | words[5] | words[6] | words[7]) == 0;
#ifdef VELKOR_NATIVE_SCREEN
    if (nativeAllowed.load(std::memory_order_relaxed) && hasNativeScreen()) {
        (narrow ? screenNativeNarrow : screenNative)(probe, in, flags, count);
        return;
    }
#endif
    (narrow ? screenPortableNarrow : screenPortable)(probe, in, flags, count);
}

bool SimilarNameMatcher::addPair(
    int k, size_t p, size_t q, QList<MatchPair> &out, qsizetype limit) const
{
    qint32 score = 0;
    if (!scorePair(p, q, score) || oneFile(p, q))
        return true;
    if (out.size() >= limit)
        return false;
    out.append({k, m_record[q], score});
    return true;
}

void SimilarNameMatcher::collectFor(
    int k, QList<MatchPair> &out, qsizetype limit, std::vector<unsigned char> &flags) const
{
    const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
    const auto end = static_cast<size_t>(m_groupEnd[p]);
    if (p + 1 >= end)
        return;
    const Probe probe {m_keyLength[p], m_normalized[p], m_need[p], m_wholePasses, m_summary[p]};
    const auto emit = [&](size_t q) { return addPair(k, p, q, out, limit); };
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

bool SimilarNameMatcher::collectByBands(int k, QList<MatchPair> &out, qsizetype limit,
    std::vector<unsigned char> &flags, std::vector<int> &hits) const
{
    const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
    const Bands &bands = m_bands[p];
    const Probe probe {m_keyLength[p], m_normalized[p], m_need[p], m_wholePasses, m_summary[p]};
    hits.clear();
    const auto screenBand
        = [&](const ScreenColumns &columns, const std::vector<int> &places, int from, int to) {
              const auto count = static_cast<size_t>(to - from);
              flags.resize(count);
              columns.screen(probe, static_cast<size_t>(from), count, flags.data());
              forEachFlagged(flags.data(), count, [&](size_t i) {
                  const int q = places[static_cast<size_t>(from) + i];
                  if (q > static_cast<int>(p))
                      hits.push_back(q);
                  return true;
              });
          };
    screenBand(m_lengthColumns, m_byLength, bands.lengthFrom, bands.lengthTo);
    if (bands.referenceByLength)
        screenBand(
            m_capableLengthColumns, m_capableByLength, bands.referenceFrom, bands.referenceTo);
    else
        screenBand(m_needColumns, m_byNeed, bands.referenceFrom, bands.referenceTo);
    const int *same = m_sameKeyPlaces.data() + m_sameKeyBegin[p];
    const int *sameEnd = same + m_sameKeyCount[p];
    for (same = std::upper_bound(same, sameEnd, static_cast<int>(p));
         same != sameEnd && *same < m_groupEnd[p]; ++same)
        hits.push_back(*same);
    // A partner may lie in both bands; the rows keep the catalogue order.
    std::sort(hits.begin(), hits.end());
    hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
    for (const int q : hits) {
        if (!addPair(k, p, static_cast<size_t>(q), out, limit))
            return false;
    }
    return true;
}

void SimilarNameMatcher::collectRange(int begin, int end, QList<MatchPair> &out, qsizetype limit,
    const PairSink &sink, std::vector<std::vector<unsigned char>> &flags) const
{
    flags.resize(ProbesPerPass + 1);
    std::vector<int> hits;
    for (int k = begin; k < end && out.size() < limit && !sink.cancelled();) {
        const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
        const int tailEnd = m_groupEnd[p];
        if (m_banded[p]) {
            if (!collectByBands(k, out, limit, flags[ProbesPerPass], hits))
                return;
            ++k;
            continue;
        }
        if (!m_capable[p] || static_cast<int>(p) + 1 >= tailEnd) {
            collectFor(k, out, limit, flags[0]);
            ++k;
            continue;
        }
        // A run of capable records of one tail screens its partners block
        // by block, each block read from memory once for the whole run.
        int last = k + 1;
        while (last < end && last - k < ProbesPerPass) {
            const auto q = static_cast<size_t>(m_place[static_cast<size_t>(last)]);
            if (!m_capable[q] || m_banded[q] || m_groupEnd[q] != tailEnd
                || static_cast<int>(q) + 1 >= tailEnd)
                break;
            ++last;
        }
        std::array<Probe, ProbesPerPass> probes {};
        std::array<size_t, ProbesPerPass> first {};
        for (int i = 0; i < last - k; ++i) {
            const auto probe = static_cast<size_t>(m_place[static_cast<size_t>(k + i)]);
            probes[static_cast<size_t>(i)] = {m_keyLength[probe], m_normalized[probe],
                m_need[probe], m_wholePasses, m_summary[probe]};
            first[static_cast<size_t>(i)] = probe + 1;
            flags[static_cast<size_t>(i)].resize(static_cast<size_t>(tailEnd) - probe - 1);
        }
        const auto stop = static_cast<size_t>(tailEnd);
        for (size_t block = p + 1; block < stop; block += PartnersPerBlock) {
            const size_t blockEnd = std::min(stop, block + PartnersPerBlock);
            for (size_t i = 0; i < static_cast<size_t>(last - k); ++i) {
                const size_t from = std::max(block, first[i]);
                if (from < blockEnd)
                    m_columns.screen(
                        probes[i], from, blockEnd - from, flags[i].data() + (from - first[i]));
            }
        }
        for (size_t i = 0; i < static_cast<size_t>(last - k); ++i) {
            const int record = k + static_cast<int>(i);
            const size_t probe = first[i] - 1;
            const bool complete = forEachFlagged(flags[i].data(), stop - first[i],
                [&](size_t at) { return addPair(record, probe, first[i] + at, out, limit); });
            if (!complete)
                return;
        }
        k = last;
    }
}

void SimilarNameMatcher::collect(PairSink &sink, qint64 workPerUnit) const
{
    // Units of consecutive records of roughly equal pair work.
    struct Unit
    {
        int begin;
        int end;
        QList<MatchPair> pairs;
        bool done = false;
    };
    std::vector<Unit> units;
    qint64 work = 0;
    int begin = 0;
    for (int k = 0; k < m_count; ++k) {
        const auto p = static_cast<size_t>(m_place[static_cast<size_t>(k)]);
        work += m_work[p];
        if (work >= workPerUnit || k + 1 == m_count) {
            units.push_back({begin, k + 1, {}, false});
            begin = k + 1;
            work = 0;
        }
    }
    if (units.empty())
        return;

    // The pool's threads take the units in catalogue order, each as soon as
    // it is free, while this thread appends every finished unit whose
    // predecessors are all appended: the rows keep the order of the plain
    // loop, no thread waits for a slower one's unit before starting the
    // next, and the search stops soon after the limit. A thread runs at most
    // a window of units ahead of the appending, so little is searched past
    // the limit.
    QThreadPool &pool = *QThreadPool::globalInstance();
    const int workers = qMax(1, pool.maxThreadCount());
    const size_t window = 4 * static_cast<size_t>(workers);
    QMutex mutex;
    QWaitCondition changed;
    size_t next = 0; // the next unit to hand out
    size_t appended = 0; // units appended to the sink
    bool stop = false;
    // Room in the sink when a unit starts: one more pair than that tells
    // that the limit was passed.
    std::atomic<qsizetype> room {sink.room() + 1};
    std::exception_ptr failure;
    const auto search = [&] {
        std::vector<std::vector<unsigned char>> flags;
        QMutexLocker lock(&mutex);
        for (;;) {
            while (!stop && next < units.size() && next >= appended + window)
                changed.wait(&mutex);
            if (stop || next >= units.size())
                return;
            Unit &unit = units[next++];
            lock.unlock();
            QList<MatchPair> pairs;
            try {
                collectRange(
                    unit.begin, unit.end, pairs, room.load(std::memory_order_relaxed), sink, flags);
            } catch (...) {
                lock.relock();
                failure = std::current_exception();
                stop = true;
                unit.done = true;
                changed.wakeAll();
                return;
            }
            lock.relock();
            unit.pairs = std::move(pairs);
            unit.done = true;
            changed.wakeAll();
        }
    };
    {
        std::vector<QFuture<void>> running;
        // However this thread leaves, the threads stop before what they use
        // goes.
        const auto join = qScopeGuard([&] {
            {
                QMutexLocker lock(&mutex);
                stop = true;
                changed.wakeAll();
            }
            for (QFuture<void> &future : running)
                future.waitForFinished();
        });
        for (int w = 0; w < workers; ++w)
            running.push_back(QtConcurrent::run(&pool, search));
        QMutexLocker lock(&mutex);
        for (size_t u = 0; u < units.size() && !stop; ++u) {
            sink.reached(units[u].begin);
            while (!units[u].done)
                changed.wait(&mutex);
            if (failure)
                break;
            const QList<MatchPair> pairs = std::move(units[u].pairs);
            lock.unlock();
            const bool more = sink.addAll(pairs);
            room.store(sink.room() + 1, std::memory_order_relaxed);
            lock.relock();
            appended = u + 1;
            stop = stop || !more;
            changed.wakeAll();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}
