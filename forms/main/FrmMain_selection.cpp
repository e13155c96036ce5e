// The grids' mouse, key, focus and wheel reactions that keep the user's
// highlights, the context menu, and the header button over the column
// under the mouse.
#include "forms/main/FrmMain.h"

#include "modules/ModSetGrid.h"
#include "platform/desktop/Dialogs.h"
#include "platform/grid/FlexGrid.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

void FrmMain::connectGridSignals()
{
    for (FlexGrid *grid : {MSHList, MSH1}) {
        connect(grid, &FlexGrid::DblClick, this, &FrmMain::FileReName_Click);
        connect(grid, &FlexGrid::MouseDown, this, [this, grid](int button, int shift, int, int) {
            ModSetGrid::GridMouseDown(*grid, m_gridInteraction, button, shift);
        });
        connect(grid, &FlexGrid::MouseUp, this,
            [this, grid](int button, int, int, int) { Grid_MouseUp(*grid, button); });
        connect(grid, &FlexGrid::MouseMove, this, [this, grid] { Grid_MouseMove(*grid); });
        connect(grid, &FlexGrid::KeyDown, this, [this, grid](int, int shift) {
            ModSetGrid::GridKeyDown(*grid, m_gridInteraction, shift);
        });
        connect(grid, &FlexGrid::KeyUp, this, [this, grid](int, int shift) {
            ModSetGrid::GridKeyUp(*grid, m_gridInteraction, shift);
        });
        connect(grid, &FlexGrid::LeaveCell, this,
            [this, grid] { ModSetGrid::GridLeaveCell(*grid, m_gridInteraction); });
        connect(grid, &FlexGrid::RowColChange, this,
            [this, grid] { ModSetGrid::GridHighlightCurrent(*grid, m_gridInteraction); });
        connect(grid, &FlexGrid::GotFocus, this, [this, grid] {
            m_gridInteraction.addedHighlights = 0;
            ModSetGrid::GridHighlightCurrent(*grid, m_gridInteraction);
        });
        connect(grid, &FlexGrid::LostFocus, this, [this, grid] {
            ModSetGrid::ClearHighlights(*grid);
            m_gridInteraction.addedHighlights = 0;
        });
        connect(grid, &FlexGrid::MouseWheel, this,
            [this, grid](int delta, int shift) { WheelHookProc(*grid, delta, shift); });
    }
    // Only the scan grid widens the entered cell to its whole row.
    connect(MSHList, &FlexGrid::EnterCell, this,
        [this] { ModSetGrid::GridEnterCell(*MSHList, m_gridInteraction); });
}

void FrmMain::Grid_MouseUp(FlexGrid &grid, int button)
{
    ModSetGrid::GridMouseUp(grid, m_gridInteraction);
    // The menu is about the current cell, not the one under the mouse.
    if (button == 2 && activeGrid() == &grid && grid.CellBackColor() == grid.BackColorSel()
        && !grid.Text().isEmpty())
        m_dialogs.popupMenu(EditFile, QCursor::pos());
}

void FrmMain::Grid_MouseMove(FlexGrid &grid)
{
    const int col = grid.MouseCol();
    if (grid.MouseRow() != 0 || grid.Rows() <= 2 || col < 0) {
        Command1->hide();
        return;
    }
    // Over the header cell under the mouse, in the window's coordinates.
    const QHeaderView *header = grid.horizontalHeader();
    QRect cell = col == 0
        ? QRect(0, 0, grid.verticalHeader()->width(), header->height())
        : QRect(grid.verticalHeader()->width() + header->sectionViewportPosition(col - 1), 0,
            header->sectionSize(col - 1), header->height());
    cell.translate(
        grid.mapTo(Command1->parentWidget(), QPoint(grid.frameWidth(), grid.frameWidth())));
    Command1->setGeometry(cell);
    const int gridRight = grid.mapTo(Command1->parentWidget(), QPoint(grid.width(), 0)).x();
    Command1->setVisible(gridRight > cell.right() + 1);
    Command1->raise();
}

void FrmMain::WheelHookProc(FlexGrid &grid, int delta, int shift)
{
    // The wheel moves a grid only while it has the focus, as the keys do.
    if (activeGrid() != &grid)
        return;
    // A fine wheel sends parts of a notch; only whole notches move.
    m_wheelDelta += delta;
    const int notches = m_wheelDelta / 120;
    m_wheelDelta %= 120;
    if (shift != 0 || notches == 0)
        return;
    m_gridInteraction.wheelFlag = 3;
    const int key = notches > 0 ? Qt::Key_Up : Qt::Key_Down;
    for (int i = 0; i < std::abs(notches); ++i) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&grid, &release);
    }
    m_gridInteraction.wheelFlag = 0;
}
