#pragma once

#include <QList>

class FlexGrid;

namespace ModSetGrid {

// Widens columns first .. widths.size() - 1 to the given widths (twips);
// a column is never narrowed, and an index the grid lacks is passed over.
void WidenColumns(FlexGrid &grid, int firstColumn, const QList<int> &widths);

} // namespace ModSetGrid
