#include "core/CompareRun.h"

#include "core/CompareKey.h"
#include "core/PairSink.h"
#include "core/SameNameMatcher.h"
#include "core/SimilarNameMatcher.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace {

// Files that may pair by the other criteria and have the same size: equal
// normalized keys where keys must be equal, equal key tails where the lead
// field is only scored.
QList<QList<int>> contentCandidates(
    const QList<FileRecord> &records, const CompareCriteria &criteria, bool keysEqual)
{
    QHash<QString, int> groupOf;
    QList<QList<int>> groups;
    for (int k = 0; k < records.size(); ++k) {
        const CompareKey key(records.at(k), criteria);
        const QString partition = (keysEqual ? key.normalized() : key.tail()) + QChar(0)
            + records.at(k).field(FileRecord::Size);
        auto it = groupOf.constFind(partition);
        if (it == groupOf.cend()) {
            it = groupOf.insert(partition, static_cast<int>(groups.size()));
            groups.append(QList<int>());
        }
        groups[*it].append(k);
    }
    return groups;
}

} // namespace

CompareRun::Outcome CompareRun::run(const QList<FileRecord> &records, const Options &options)
{
    Outcome outcome;
    const CompareCriteria &criteria = options.criteria;
    // Identical contents are equal whatever the mode: alone, the content box
    // pairs them as equal keys do.
    const bool keysEqual = options.mode == static_cast<int>(CompareMode::SameName)
        || (options.mode == static_cast<int>(CompareMode::SimilarName) && !criteria.anyField());
    QStringList contentTokens;
    if (criteria.content()) {
        ContentCache runCache;
        const ContentComparison::Outcome content
            = ContentComparison::run(records, contentCandidates(records, criteria, keysEqual),
                options.contentCache ? *options.contentCache : runCache, options.awaitContent);
        outcome.unreadable = content.unreadable;
        if (content.cancelled) {
            outcome.cancelled = true;
            return outcome;
        }
        contentTokens = content.tokens;
        outcome.contentStamps = content.stamps;
    }
    PairSink sink(options.pairLimit, static_cast<int>(records.size()));
    const auto search = [&] {
        if (keysEqual) {
            SameNameMatcher::collect(records, criteria, sink, contentTokens);
        } else if (options.mode == static_cast<int>(CompareMode::SimilarName)) {
            const SimilarNameMatcher matcher(
                records, criteria, SimilarityThreshold::read(options.threshold), contentTokens);
            matcher.collect(sink);
        }
    };
    // A thread of its own, so that the waiting window keeps painting; not
    // one of the shared pool, whose threads the search itself may use.
    std::exception_ptr failure;
    QThreadPool own;
    own.setMaxThreadCount(1);
    QFuture<void> work = QtConcurrent::run(&own, [&] {
        try {
            search();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    bool finished = true;
    try {
        finished = !options.awaitPairs || options.awaitPairs(work, sink);
    } catch (...) {
        sink.cancel();
        work.waitForFinished();
        throw;
    }
    if (!finished)
        sink.cancel(); // every matcher stops at its next pair
    work.waitForFinished();
    if (failure)
        std::rethrow_exception(failure);
    if (!finished) {
        outcome.cancelled = true;
        return outcome;
    }
    outcome.truncated = sink.truncated();
    outcome.pairs = sink.takePairs();
    return outcome;
}
