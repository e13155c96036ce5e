#include "modules/ModFindFile.h"

#include "modules/ModSetGrid.h"
#include "modules/ScanWalk.h"
#include "platform/FlexGrid.h"
#include "platform/ThrottledText.h"

#include <QWidget>

namespace ModFindFile {

namespace {

FileCatalogue g_catalogue;
bool g_filesRefused = false;

void insertRows(ScanWalk &walk, FlexGrid &grid)
{
    const int first = walk.firstRow();
    const QList<QStringList> rows = walk.takeRows();
    if (!rows.isEmpty())
        grid.AddItems(rows, first);
}

} // namespace

FileCatalogue &catalogue()
{
    return g_catalogue;
}

bool filesRefused()
{
    return g_filesRefused;
}

qint64 ScanFolder(const QString &folder, const QString &pattern, qint16 &fileCount,
    qint16 &folderCount, QWidget &window, FlexGrid &grid, ThrottledText &statusBar)
{
    ScanWalk walk(g_catalogue, pattern, window.font(), statusBar);
    qint64 total = 0;
    try {
        total = walk.walk(folder, fileCount, folderCount);
    } catch (...) {
        // What was accepted before the failure stays listed, rows and records
        // in step.
        g_filesRefused = walk.filesRefused();
        insertRows(walk, grid);
        throw;
    }
    g_filesRefused = walk.filesRefused();
    // The rows go in at once, in front of the grid's trailing empty row, and
    // the columns are widened once: that fits every column to its widest
    // accepted text just as widening after each folder would, and the grid
    // isn't drawn during the walk anyway.
    insertRows(walk, grid);
    const ScanWalk::Widths &widths = walk.maxWidths();
    ModSetGrid::WidenColumns(
        grid, GridSchema::ScanColumn::Name, QList<int>(widths.begin(), widths.end()));
    statusBar.flush();
    return total;
}

} // namespace ModFindFile
