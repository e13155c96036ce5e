#include "modules/ModFindFile.h"

#include "modules/ModSetGrid.h"
#include "modules/ScanWalk.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/ThrottledText.h"

#include <QWidget>

namespace ModFindFile {

namespace {

// The rows go in at once, in front of the grid's trailing empty row, and the
// columns are widened once: that fits every column to its widest accepted
// text just as widening after each folder would, and the grid isn't drawn
// during the walk anyway. The walk's rows are the catalogue's last records,
// and each row carries its record's index.
void listRows(ScanWalk &walk, FlexGrid &grid, const FileCatalogue &catalogue)
{
    const int first = walk.firstRow();
    const QList<QStringList> rows = walk.takeRows();
    if (!rows.isEmpty()) {
        grid.AddItems(rows, first);
        const int firstRecord = catalogue.count() - int(rows.size());
        for (int i = 0; i < int(rows.size()); ++i)
            grid.setRowData(first + i, firstRecord + i);
    }
    const ScanWalk::Widths &widths = walk.maxWidths();
    ModSetGrid::WidenColumns(
        grid, GridSchema::ScanColumn::Number, QList<int>(widths.begin(), widths.end()));
}

} // namespace

ScanOutcome ScanFolder(const QString &folder, const QString &pattern, FileCatalogue &catalogue,
    QWidget &window, FlexGrid &grid, ThrottledText &statusBar)
{
    ScanWalk walk(catalogue, pattern, window.font(), statusBar);
    ScanOutcome outcome;
    try {
        outcome.bytes = walk.walk(folder, outcome.files, outcome.folders);
    } catch (...) {
        // What was accepted before the failure stays listed, rows and records
        // in step.
        listRows(walk, grid, catalogue);
        throw;
    }
    outcome.filesRefused = walk.filesRefused();
    listRows(walk, grid, catalogue);
    statusBar.flush();
    return outcome;
}

} // namespace ModFindFile
