#include "BenchCommands.h"
#include "ProcessMemory.h"
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
constexpr qint64 MiB = 1024 * 1024;

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

// Runs a step and prints its seconds and the resident memory it added, at
// its peak and after it.
template<typename Step>
void measure(QTextStream &out, const char *key, Step step)
{
    const qint64 before = ProcessMemory::resident();
    ProcessMemory::resetPeak();
    QElapsedTimer timer;
    timer.start();
    step();
    out << key << "_s: " << seconds(timer) << "\n";
    out << key << "_peak_growth_mb: " << (ProcessMemory::peakResident() - before) / MiB << "\n";
    out << key << "_rss_growth_mb: " << (ProcessMemory::resident() - before) / MiB << "\n";
    out.flush(); // a slow step's figures before the next one starts
}

int logLinesWith(const LogList &log, int from, const QString &result)
{
    int count = 0;
    for (int i = from; i < log.itemCount(); ++i)
        count += log.itemText(i, 2) == result ? 1 : 0;
    return count;
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

    // 100,000 whole rows, twelve file cells each: gathered, then deleted
    // with the trash's confirmation declined, so that nothing is removed.
    const auto *log = window.findChild<LogList *>(QStringLiteral("ListView1"));
    grid->setFocus();
    highlightWholeRows(*grid, 1, ShiftRows);
    measure(out, "rows_gather", [&] { window.SelFileList(); });
    out << "rows_gather_log_lines: " << log->itemCount() << "\n";
    out << "rows_gather_pending: " << window.pending().paths().size() << "\n";
    const int beforeDelete = log->itemCount();
    scanner.answerWith(1);
    measure(out, "rows_delete_declined",
        [&] { window.findChild<QAction *>(QStringLiteral("DeleteFile"))->trigger(); });
    scanner.answerWith(0);
    out << "rows_delete_log_lines: " << log->itemCount() - beforeDelete << "\n";
    out << "rows_delete_failed_lines: "
        << logLinesWith(*log, beforeDelete, QStringLiteral("【删除失败】标示为红色字体")) << "\n";
    out << "rows_delete_rows_left: " << grid->Rows() - 1 << "\n";
    // The view takes the new lines once the event loop runs.
    measure(out, "rows_log_shown", [&] { QApplication::processEvents(); });
    grid->clearHighlights();

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
    const int beforeGather = log->itemCount();
    QElapsedTimer timer;
    timer.start();
    window.SelFileList();
    out << "gather_s: " << seconds(timer) << "\n";
    out << "gather_log_lines: " << log->itemCount() - beforeGather << "\n";
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
