#pragma once

#include "core/CompareCriteria.h"
#include "core/ContentComparison.h"
#include "core/FileRecord.h"
#include "core/MatchPair.h"

#include <QList>
#include <QString>

#include <functional>

class PairSink;

// The compare run over a catalogue: every pair of records (k, j), k < j,
// in the order k ascending then j ascending, that passes the criteria and
// the mode and is not one file under two paths (same path, or same device
// and inode). It lists exactly the pairs a plain loop over all pairs would, but
// only examines pairs that can pass: in the same-name mode records are
// grouped by their normalized key; in the similar-name mode only records
// with equal key tails are compared, pairs whose best possible score is
// below the threshold are screened out, and the pair work is shared among
// the processor's cores. With the content box ticked the contents are
// compared first (ContentComparison), then each key ends with its record's
// content token; the box ticked alone pairs identical contents in either
// mode, with the similarity 100.00%.
class CompareRun
{
public:
    // More pairs than this would exhaust memory and hang the window; the
    // run stops and keeps the first ones.
    static constexpr qsizetype PairLimit = 1000000;

    // Waits until the pair search, which runs on a thread of its own, is
    // done; false when the user cancelled it. The sink tells how far the
    // search is.
    using AwaitPairs = std::function<bool(const QFuture<void> &work, const PairSink &sink)>;

    struct Options
    {
        CompareCriteria criteria;
        int mode = static_cast<int>(CompareMode::SameName); // selected mode tab
        QString threshold; // text of the threshold box
        qsizetype pairLimit = PairLimit;
        // The session's content digests; without one, this run reads all.
        ContentCache *contentCache = nullptr;
        // Either empty: the run blocks until that stage ends.
        ContentComparison::Await awaitContent;
        AwaitPairs awaitPairs;
    };

    struct Outcome
    {
        QList<MatchPair> pairs;
        bool truncated = false; // more pairs passed than pairLimit
        // With the content box: the listed files as their contents were
        // read, and the files that could not be read.
        QHash<QString, FileStamp> contentStamps;
        int unreadable = 0;
        // The user stopped the reading or the pair search: no pair is listed.
        bool cancelled = false;
    };

    static Outcome run(const QList<FileRecord> &records, const Options &options);
};
