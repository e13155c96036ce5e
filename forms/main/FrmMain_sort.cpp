// Sorting a result list: the header button sorts the column under the
// mouse, alternating one direction for both lists; each item of the hidden
// sort menus alternates its own. Rows move whole, number cell and marks
// included, and the catalogue keeps its order: the commands find a row's
// record by its name and folder, never by its position.
#include "forms/main/FrmMain.h"

#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TabStrip.h"

#include <QPushButton>

namespace {

constexpr int Ascending = 1;
constexpr int Descending = 2;

} // namespace

void FrmMain::ListSortMnu1_Click(int index)
{
    sortByMenuItem(*MSHList, m_sortDirections1, index);
}

void FrmMain::ListSortMnu2_Click(int index)
{
    sortByMenuItem(*MSH1, m_sortDirections2, index);
}

// Item i sorts column i - 1; its direction entry says which way the next use
// goes, so the first use sorts descending.
void FrmMain::sortByMenuItem(FlexGrid &grid, QList<int> &directions, int index)
{
    if (index < 1 || index >= directions.size())
        return;
    directions[index] = directions.at(index) == 0 ? 1 : 0;
    sortGrid(grid, index - 1, directions.at(index) + 1);
}

void FrmMain::Command1_Click()
{
    const bool up = Command1->text() == QLatin1String("UP");
    const int tab = TabStrip1->SelectedIndex();
    FlexGrid *grid = tab == ScanResults ? MSHList : tab == CompareResults ? MSH1 : nullptr;
    if (grid)
        sortGrid(*grid, grid->MouseCol(), up ? Ascending : Descending);
    setSortButtonCaption(up ? QStringLiteral("DOWN") : QStringLiteral("UP"));
}

void FrmMain::setSortButtonCaption(const QString &caption)
{
    Command1->setText(caption);
    Command1->setAccessibleName(caption == QLatin1String("UP") ? QStringLiteral("按此列升序排序")
                                                               : QStringLiteral("按此列降序排序"));
}

void FrmMain::sortGrid(FlexGrid &grid, int col, int mode)
{
    if (col < 0 || col >= grid.Cols())
        return;
    {
        // Choosing the key column is no move of the user's: the highlight
        // reactions would widen it to the whole row and paint it.
        const FlexGrid::QuietMoves quiet(grid);
        grid.setCol(col);
    }
    grid.Sort(mode);
}
