#include "modules/ModSetGrid.h"

#include "platform/grid/FlexGrid.h"

namespace ModSetGrid {

void WidenColumns(FlexGrid &grid, int firstColumn, const QList<int> &widths)
{
    for (int c = firstColumn; c < widths.size(); ++c) {
        if (c < 0 || c >= grid.Cols())
            continue;
        if (widths.at(c) > grid.ColWidth(c))
            grid.setColWidth(c, widths.at(c));
    }
}

} // namespace ModSetGrid
