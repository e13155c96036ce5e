#include "core/CompareRun.h"

#include "core/PairSink.h"
#include "core/SameNameMatcher.h"
#include "core/SimilarNameMatcher.h"

CompareRun::Outcome CompareRun::run(const QList<FileRecord> &records, const Options &options)
{
    PairSink sink(options.pairLimit, ProgressIntervalMs, options.progress);
    if (options.mode == static_cast<int>(CompareMode::SameName)) {
        SameNameMatcher::collect(records, options.criteria, sink);
    } else if (options.mode == static_cast<int>(CompareMode::SimilarName)) {
        const SimilarNameMatcher matcher(
            records, options.criteria, SimilarityThreshold::read(options.threshold));
        matcher.collect(sink);
    }
    Outcome outcome;
    outcome.truncated = sink.truncated();
    outcome.pairs = sink.takePairs();
    return outcome;
}
