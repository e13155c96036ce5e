#include "modules/ModSetGrid.h"

#include "platform/grid/FlexGrid.h"

namespace ModSetGrid {

namespace {

constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int RowMode = 1;

// Only Shift alone or Ctrl alone count as held.
bool shiftOrCtrlHeld(const Interaction &state)
{
    return state.lastShift == Shift || state.lastShift == Ctrl;
}

// Paints the widget's current range, drawn once when done.
void paintRange(FlexGrid &grid, const QColor &color)
{
    const FlexGrid::RedrawOff redrawOff(grid);
    grid.setFillStyle(1);
    grid.setCellBackColor(color);
    grid.setFillStyle(0);
}

// Paints the range the user extended and collapses it to its anchor.
void addRange(FlexGrid &grid, Interaction &state)
{
    const bool rowMode = grid.SelectionMode() == RowMode;
    if (rowMode && grid.RowSel() == grid.Row())
        return;
    if (grid.ColSel() != grid.Col() || grid.RowSel() != grid.Row()) {
        paintRange(grid, grid.BackColorSel());
        ++state.addedHighlights;
    }
    // Collapses the widget's own range to its anchor.
    grid.setRow(grid.Row());
    grid.setCol(rowMode ? 1 : grid.Col());
}

} // namespace

void WidenColumns(FlexGrid &grid, int firstColumn, const QList<int> &widths)
{
    for (int c = firstColumn; c < widths.size(); ++c) {
        if (c < 0 || c >= grid.Cols())
            continue;
        if (widths.at(c) > grid.ColWidth(c))
            grid.setColWidth(c, widths.at(c));
    }
}

void ClearHighlights(FlexGrid &grid)
{
    const int rowSel = grid.RowSel();
    const int colSel = grid.ColSel();
    const FlexGrid::RedrawOff redrawOff(grid);
    // One pass over the highlighted cells instead of a walk over every row.
    grid.clearHighlights();
    // Placing the current cell is no move of the user's: the cell reactions
    // would paint its row again.
    const FlexGrid::QuietMoves quiet(grid);
    grid.setRow(rowSel);
    grid.setCol(grid.SelectionMode() == RowMode ? 1 : colSel);
}

void GridMouseDown(FlexGrid &grid, Interaction &state, int button, int shift)
{
    state.lastButton = button;
    if (button == 1 && state.addedHighlights > 0 && shift != Shift && shift != Ctrl) {
        ClearHighlights(grid);
        state.addedHighlights = 0;
    }
}

void GridKeyDown(FlexGrid &grid, Interaction &state, int shift)
{
    state.lastShift = shift;
    if (shift != Ctrl || state.lastButton != 1)
        return;
    // Ctrl while the left button is held toggles the pressed range, once.
    const QColor current = grid.CellBackColor();
    if (current == grid.BackColor())
        paintRange(grid, grid.BackColorSel());
    else if (current == grid.BackColorSel())
        paintRange(grid, grid.BackColor());
    else
        return;
    state.lastButton = 0;
    ++state.addedHighlights;
}

void GridKeyUp(FlexGrid &grid, Interaction &state, int shift)
{
    // While Shift is held, keys go on extending the range; it is added once
    // Shift itself is let go.
    if (shift & Shift) {
        state.lastShift = shift;
        return;
    }
    state.lastShift = 0;
    addRange(grid, state);
}

void GridMouseUp(FlexGrid &grid, Interaction &state)
{
    state.lastButton = 0;
    state.lastShift = 0;
    addRange(grid, state);
}

void GridLeaveCell(FlexGrid &grid, const Interaction &state)
{
    if (shiftOrCtrlHeld(state))
        return;
    const FlexGrid::RedrawOff redrawOff(grid);
    if (grid.SelectionMode() == RowMode) {
        grid.setCol(1);
        grid.setColSel(grid.Cols() - 1);
    }
    paintRange(grid, grid.BackColor());
    grid.setCol(grid.Col());
}

void GridEnterCell(FlexGrid &grid, const Interaction &state)
{
    if (shiftOrCtrlHeld(state))
        return;
    const FlexGrid::RedrawOff redrawOff(grid);
    if (grid.SelectionMode() == RowMode && state.wheelFlag != 3) {
        grid.setCol(1);
        grid.setColSel(grid.Cols() - 1);
    }
    paintRange(grid, grid.BackColorSel());
}

void GridHighlightCurrent(FlexGrid &grid, const Interaction &state)
{
    if (!shiftOrCtrlHeld(state))
        paintRange(grid, grid.BackColorSel());
}

} // namespace ModSetGrid
