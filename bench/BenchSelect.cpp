#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextStream>

namespace {

constexpr int GatheredRows = 10000;
constexpr int ShiftRows = 100000;

int highlightedRows(const FlexGrid &grid, int col)
{
    int count = 0;
    for (int row = 1; row < grid.Rows(); ++row)
        count += grid.isHighlighted(row, col) ? 1 : 0;
    return count;
}

void clickCell(FlexGrid &grid, int row, int col)
{
    const QPoint at = grid.visualRect(grid.model()->index(row - 1, col - 1)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &event);
    }
}

} // namespace

int benchSelect(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench select ROOT\n";
        return 2;
    }
    WindowScan scanner(args.at(0), QStringLiteral("*.*"));
    scanner.click();
    FrmMain &window = scanner.window();
    FlexGrid *grid = &scanner.compareSimilarNames(QStringLiteral("50"));
    const int rows = grid->Rows() - 1;
    out << "compare_rows: " << rows << "\n";
    if (rows < 2 * GatheredRows) {
        out << "too few rows\n";
        return 1;
    }

    // Both name cells of every hundredth row: two files a row.
    const int step = rows / GatheredRows;
    {
        const FlexGrid::QuietMoves quiet(*grid);
        for (int i = 0; i < GatheredRows; ++i) {
            grid->setRow(1 + i * step);
            grid->setCol(2);
            grid->setColSel(3);
            grid->setFillStyle(1);
            grid->setCellBackColor(FlexGrid::SelectionColor);
            grid->setFillStyle(0);
        }
    }
    grid->setFocus();
    const auto *log = window.findChild<LogList *>(QStringLiteral("ListView1"));
    QElapsedTimer timer;
    timer.start();
    window.SelFileList();
    out << "gather_s: " << seconds(timer) << "\n";
    out << "gather_log_lines: " << log->itemCount() << "\n";
    out << "gather_pending: " << window.pending().paths().size() << "\n";

    timer.start();
    window.findChild<QAction *>(QStringLiteral("MoveFromList"))->trigger();
    out << "remove_s: " << seconds(timer) << "\n";
    out << "remove_rows_left: " << grid->Rows() - 1 << "\n";

    // A Shift-selection of 100,000 whole rows, painted and counted by the
    // release of Shift, then one click elsewhere.
    {
        const FlexGrid::QuietMoves quiet(*grid);
        grid->setRow(1);
        grid->setCol(1);
        grid->setRowSel(ShiftRows);
        grid->setColSel(grid->Cols() - 1);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(grid, &release);
    // The release's own repaint is not the click's.
    QApplication::processEvents();
    out << "shift_highlighted_rows: " << highlightedRows(*grid, 2) << "\n";
    timer.start();
    clickCell(*grid, ShiftRows + 10, 2);
    QApplication::processEvents();
    out << "click_clear_s: " << seconds(timer) << "\n";
    out << "click_highlighted_rows_left: " << highlightedRows(*grid, 5) << "\n";
    return 0;
}
