#pragma once

#include "core/CompareRun.h"
#include "core/FileCatalogue.h"

class CompareView;

// The whole of the compare button's work: reset the compare grid and show
// it, run the comparison with the window locked, list the pairs in one
// batch, report the count, fit the columns, and tell the user when the run
// stopped at the pair limit. Returns the pairs listed.
namespace CompareCommand {
qsizetype run(CompareView &view, const FileCatalogue &catalogue, CompareRun::Options options);
}
