#pragma once

#include <QList>

class FlexGrid;

// Column widening and the highlight model of the result grids: a cell is
// selected while its background differs from the grid's background. The
// reactions below paint and clear highlights from the grids' mouse, key,
// focus and cell events. The window owns their state and hands it in, one
// for both grids, since only one of them has the focus at a time.
namespace ModSetGrid {

// Widens columns first .. widths.size() - 1 to the given widths (twips);
// a column is never narrowed, and an index the grid lacks is passed over.
void WidenColumns(FlexGrid &grid, int firstColumn, const QList<int> &widths);

// What the reactions remember between events.
struct Interaction
{
    int lastButton = 0; // 1 left, 2 right, 4 middle while held on a grid
    int lastShift = 0; // modifiers of the last key-down: 1 Shift, 2 Ctrl, summed
    int addedHighlights = 0; // ranges added or toggled since the last clear
    int wheelFlag = 0; // 3 while a wheel notch is being handled
};

void ClearHighlights(FlexGrid &grid);
void GridMouseDown(FlexGrid &grid, Interaction &state, int button, int shift);
void GridMouseUp(FlexGrid &grid, Interaction &state);
void GridKeyDown(FlexGrid &grid, Interaction &state, int shift);
// shift: the modifiers still held once the key is up.
void GridKeyUp(FlexGrid &grid, Interaction &state, int shift);
void GridLeaveCell(FlexGrid &grid, const Interaction &state);
void GridEnterCell(FlexGrid &grid, const Interaction &state);
void GridHighlightCurrent(FlexGrid &grid, const Interaction &state);

} // namespace ModSetGrid
