#pragma once

#include <QString>

class FileCatalogue;
class ScanView;

// The whole of the scan button's work, with the window already locked:
// empty both grids and the catalogue, show the waiting texts and the scan
// tab, check the folder, walk it with the scan grid not drawn, show the
// totals and drop the reset's empty row once files are listed, then tell the
// user when the walk was cancelled (what it listed stays) or files were
// refused at the limit. Any failure is shown as the
// scan's one error message, and what was listed before it stays listed.
namespace ScanCommand {

void run(ScanView &view, FileCatalogue &catalogue, const QString &folder, const QString &pattern);

} // namespace ScanCommand
