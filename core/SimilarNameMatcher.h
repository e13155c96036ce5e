#pragma once

#include "core/CompareCriteria.h"
#include "core/FileRecord.h"
#include "core/MatchPair.h"
#include "core/SimilarityThreshold.h"

#include <QList>
#include <QStringList>

#include <array>
#include <vector>

class PairSink;

// Similar-name mode: a pair passes when the key tails are exactly equal and
// the name similarity reaches the threshold. Records are laid out by tail,
// each with its base's distinct characters as a bit set over the catalogue's
// commonest characters plus a sorted list of the others, so that a pair is
// first screened by the best score those sets allow and then scored from the
// sets without looking at the texts again. Two records of one file are never
// a pair. The search is shared among the processor's cores in units of
// consecutive records whose pairs are appended in catalogue order.
class SimilarNameMatcher
{
public:
    // contentTokens, one per record when the content box is ticked, end the
    // keys, so that only records of identical content share a tail. The
    // records must outlive the matcher.
    SimilarNameMatcher(const QList<FileRecord> &records, const CompareCriteria &criteria,
        SimilarityThreshold threshold, const QStringList &contentTokens = {});

    // Pairs screened per unit of work: small enough that the units keep
    // every thread of the shared pool busy and that little is searched past
    // the pair limit, large enough that handing them out costs nothing.
    static constexpr qint64 WorkPerUnit = 1 << 21;
    // Appends the passing pairs to sink in catalogue order until it is full
    // or cancelled. The shared pool's threads search while the calling
    // thread, which must not be one of them, appends.
    void collect(PairSink &sink, qint64 workPerUnit = WorkPerUnit) const;
    // Whether the screen may use the processor's vector bit count where it
    // has one (the default); tests turn it off to check the other loop.
    static void allowVectorBitCount(bool allowed);

    // Characters that get a bit of their own; the rest of a base is "rare".
    static constexpr int CommonCharacters = 256;
    static constexpr int CommonWords = CommonCharacters / 32;
    // A base's distinct characters as the screen sees them: the common ones
    // exactly, the rare ones as a count and a 32-bit hash of their codes.
    struct CharacterSummary
    {
        std::array<quint32, CommonWords> common {};
        quint32 rareHash = 0;
        int rareCount = 0;
    };
    // What the screen needs of the earlier record of a pair.
    struct Probe
    {
        int keyLength;
        int normalized;
        int need;
        bool wholePasses;
        CharacterSummary characters;
    };

private:
    // The screen's view of a run of places, one plain array per value.
    class ScreenColumns
    {
    public:
        void append(int keyLength, int normalized, int need, const CharacterSummary &characters);
        // flags[i]: whether the pair of probe and entry first + i may pass.
        void screen(const Probe &probe, size_t first, size_t count, unsigned char *flags) const;

    private:
        std::vector<int> m_keyLength;
        std::vector<int> m_normalized;
        std::vector<int> m_need;
        std::array<std::vector<quint32>, CommonWords> m_common;
        std::vector<quint32> m_rareHash;
        std::vector<int> m_rareCount;
    };
    // What tells two records of one file apart from two files.
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        size_t pathHash = 0;
        bool stamped = false;
    };

    // Capable records of one tail screened together, and how many partners
    // each reads at a time: a block stays in the cache for all of them.
    static constexpr int ProbesPerPass = 8;
    static constexpr size_t PartnersPerBlock = 2048;

    // The passing partners of records begin .. end - 1, in catalogue order,
    // at most limit; stops early once the run is cancelled.
    void collectRange(int begin, int end, QList<MatchPair> &out, qsizetype limit,
        const PairSink &sink, std::vector<std::vector<unsigned char>> &flags) const;
    // The partners of a record that can pass lie, among the tail's places by
    // key length, in a band from its need + 3 to its own length (it is the
    // reference), or among the tail's capable places, by need up to its
    // distinct characters or by key length beyond its own (the partner is).
    struct Bands
    {
        int lengthFrom = 0;
        int lengthTo = 0;
        int referenceFrom = 0;
        int referenceTo = 0;
        bool referenceByLength = false;
    };
    // Screens the bands and the records of an equal key instead of all
    // later records of the tail; false once out is full.
    bool collectByBands(int k, QList<MatchPair> &out, qsizetype limit,
        std::vector<unsigned char> &flags, std::vector<int> &hits) const;
    // The passing partners of record k, in catalogue order, at most limit.
    void collectFor(
        int k, QList<MatchPair> &out, qsizetype limit, std::vector<unsigned char> &flags) const;
    // Appends the pair of record k (at place p) and place q when it passes;
    // false once out is full.
    bool addPair(int k, size_t p, size_t q, QList<MatchPair> &out, qsizetype limit) const;
    int sharedCount(size_t a, size_t b) const;
    // Whether the pair of places p (earlier) and q passes; its score.
    bool scorePair(size_t p, size_t q, qint32 &score) const;
    bool oneFile(size_t p, size_t q) const;

    const QList<FileRecord> &m_records;
    int m_count = 0;
    qint64 m_minimumScore = 0;
    bool m_wholePasses = false;
    // Per record, by catalogue index: its place in the tail-ordered layout.
    std::vector<int> m_place;
    // Tail-ordered layout: records of one tail are adjacent, in catalogue
    // order; m_groupEnd is one past the last place of the record's tail.
    std::vector<int> m_record;
    std::vector<int> m_groupEnd;
    std::vector<int> m_keyLength;
    std::vector<int> m_normalized; // equal ids: keys equal ignoring case and ends
    std::vector<int> m_distinct;
    std::vector<int> m_baseLength;
    std::vector<int> m_need; // shared characters needed as the reference
    std::vector<CharacterSummary> m_summary;
    std::vector<int> m_rareBegin;
    std::vector<char16_t> m_rare;
    std::vector<Identity> m_identity;
    std::vector<char> m_capable;
    std::vector<int> m_capablePlaces;
    std::vector<int> m_sameKeyPlaces; // by normalized key, then place
    std::vector<int> m_sameKeyBegin; // per place: its key's run in m_sameKeyPlaces
    std::vector<int> m_sameKeyCount;
    ScreenColumns m_columns; // every place
    ScreenColumns m_capableColumns; // the capable places only
    // Per tail, its places by key length and its capable places by need and
    // by key length (each stable), with the screen's columns in those orders.
    std::vector<int> m_byLength;
    std::vector<int> m_lengthOrderKey;
    std::vector<int> m_byNeed;
    std::vector<int> m_needOrderKey;
    std::vector<int> m_capableByLength;
    std::vector<int> m_capableLengthOrderKey;
    ScreenColumns m_lengthColumns;
    ScreenColumns m_needColumns;
    ScreenColumns m_capableLengthColumns;
    // Per place: its bands, whether they are much less than the plain
    // search, and the partners the chosen search screens.
    std::vector<Bands> m_bands;
    std::vector<char> m_banded;
    std::vector<int> m_work;
};
