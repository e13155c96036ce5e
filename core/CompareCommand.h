#pragma once

#include "core/CompareRun.h"
#include "core/ComparedPairs.h"
#include "core/FileCatalogue.h"
#include "core/ListedContent.h"

class CompareView;

// The whole of the compare button's work: reset the compare grid and show
// it, run the comparison with the window locked, list the pairs in one
// batch, report the count, fit the columns, and tell the user when the run
// stopped at the pair limit or files could not be read. While contents are
// read, and once the pair search has run a while, the status shows how
// much is done; the user may cancel either, which leaves the list empty.
namespace CompareCommand {

struct Result
{
    qsizetype listed = 0;
    ListedContent content; // what the list's content check vouches for
    // The listed pairs, row k standing for pair k, and the records as the
    // compare took them: still what a file of the list must be after its
    // record has left the scan list.
    ComparedPairs compared;
};

Result run(CompareView &view, const FileCatalogue &catalogue, CompareRun::Options options);

QString contentProgressText(int percent);
QString pairProgressText(int percent);
QString cancelledText();
QString unreadableNotice(int files);

} // namespace CompareCommand
