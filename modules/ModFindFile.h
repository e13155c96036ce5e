#pragma once

#include "core/FileCatalogue.h"
#include "core/ScanOutcome.h"
#include "modules/ScanWalk.h"

#include <QFuture>
#include <QString>

#include <functional>

class FlexGrid;
class QWidget;
class ThrottledText;

// The directory scan and the catalogue it fills.
namespace ModFindFile {

// The text up to its first NUL, also stored back into the argument.
inline QString CutAtNull(QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

// What ScanFolder found, under the module's name.
using ScanOutcome = ::ScanOutcome;

// Waits for the walk, calling tick now and then; false when the user
// cancelled.
using Await = std::function<bool(const QFuture<void> &work, const std::function<void()> &tick)>;

// Walks folder depth first, pre-order: a folder's files that match pattern
// and are regular, writable and not hidden come first, in listing order, then
// each subfolder's whole subtree. Every accepted file is appended to the
// catalogue and becomes a scan-grid row (inserted in front of the grid's
// trailing empty row); every examined file's name is shown in the status
// text. Recycle bins are neither counted nor entered, links never followed.
// Both counts stop at 32767: further files are refused and further
// subfolders neither counted nor entered. The columns are widened to the
// listed rows, also when the walk fails part way, in which case the failure
// passes on with what was listed still listed. The caller switches the grid's
// drawing off beforehand.
//
// The walk runs on a thread of its own while await waits for it; once it
// has run a while, the status shows the files and folders counted instead
// of the entry examined. A cancelled walk lists what it accepted so far.
// Without await the call blocks; read stands in for the folder listing.
ScanOutcome ScanFolder(const QString &folder, const QString &pattern, FileCatalogue &catalogue,
    QWidget &window, FlexGrid &grid, ThrottledText &statusBar, const Await &await = {},
    const ScanWalk::ReadFolder &read = {});

} // namespace ModFindFile
