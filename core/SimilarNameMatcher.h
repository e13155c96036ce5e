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
// each with its base's distinct characters as a bit set of the ASCII ones
// plus a sorted list of the others, so that a pair is first screened by the
// best score its distinct-character counts allow and then scored from the
// sets without looking at the texts again. Two records of one file are never
// a pair.
class SimilarNameMatcher
{
public:
    // contentTokens, one per record when the content box is ticked, end the
    // keys, so that only records of identical content share a tail. The
    // records must outlive the matcher.
    SimilarNameMatcher(const QList<FileRecord> &records, const CompareCriteria &criteria,
        SimilarityThreshold threshold, const QStringList &contentTokens = {});

    void collect(PairSink &sink) const;

    // The passing partners of record k, in catalogue order, at most limit.
    void collectFor(
        int k, QList<MatchPair> &out, qsizetype limit, std::vector<unsigned char> &flags) const;

    // A base's distinct characters as the screen sees them: the ASCII ones
    // exactly, the others as a count and a 32-bit hash of their codes.
    struct CharacterSummary
    {
        std::array<quint32, 4> ascii {};
        quint32 otherHash = 0;
        int otherCount = 0;
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
        std::array<std::vector<quint32>, 4> m_ascii;
        std::vector<quint32> m_otherHash;
        std::vector<int> m_otherCount;
    };

    int capableAfter(size_t p) const;
    int sharedCount(size_t a, size_t b) const;
    // Whether the pair of places p (earlier) and q passes; its score.
    bool scorePair(size_t p, size_t q, qint32 &score) const;

    const QList<FileRecord> &m_records;
    int m_count = 0;
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
    std::vector<quint64> m_asciiLow;
    std::vector<quint64> m_asciiHigh;
    std::vector<CharacterSummary> m_summary;
    std::vector<int> m_otherBegin;
    std::vector<int> m_otherCount;
    std::vector<char16_t> m_others;
    std::vector<char> m_capable;
    std::vector<int> m_capablePlaces;
    std::vector<int> m_sameKeyPlaces; // by normalized key, then place
    std::vector<int> m_sameKeyBegin; // per place: its key's run in m_sameKeyPlaces
    std::vector<int> m_sameKeyCount;
    ScreenColumns m_columns; // every place
    ScreenColumns m_capableColumns; // the capable places only
};
