#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TabStrip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextStream>

#include <algorithm>

namespace {

// Brings the column into view and moves the mouse over its header cell, so
// that the header button stands over it; column 0's header is the corner
// above the row numbers.
void hoverHeader(FlexGrid &grid, int col)
{
    if (col > 0)
        grid.scrollTo(grid.model()->index(0, col - 1));
    QApplication::processEvents();
    QHeaderView *header = grid.horizontalHeader();
    const int x = col == 0
        ? grid.verticalHeader()->geometry().center().x()
        : grid.viewport()->geometry().left() + header->sectionViewportPosition(col - 1) + 3;
    const QPoint at
        = header->viewport()->mapFrom(&grid, QPoint(x, header->geometry().center().y()));
    QMouseEvent move(QEvent::MouseMove, at, header->viewport()->mapToGlobal(at), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &move);
}

} // namespace

int benchSort(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench sort ROOT\n";
        return 2;
    }
    WindowScan scanner(args.at(0), QStringLiteral("*.*"));
    scanner.click();
    FrmMain &window = scanner.window();
    FlexGrid *grid = &scanner.compareSimilarNames(QStringLiteral("50"));
    window.findChild<TabStrip *>(QStringLiteral("TabStrip1"))->selectTab(2);
    auto *button = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    out << "compare_rows: " << grid->Rows() - 1 << "\n";
    QApplication::processEvents();

    // Every column once each way: the button's caption alternates, so two
    // clicks on the same column sort it ascending, then descending.
    double slowest = 0;
    double total = 0;
    int sorts = 0;
    QElapsedTimer timer;
    for (int col = 0; col < grid->Cols(); ++col) {
        for (int way = 0; way < 2; ++way) {
            hoverHeader(*grid, col);
            if (!button->isVisible() || grid->MouseCol() != col) {
                out << "header button missed column " << col << "\n";
                return 1;
            }
            const QString direction = button->text();
            timer.start();
            button->click();
            QApplication::processEvents();
            const double s = seconds(timer);
            out << "sort_col" << col << "_" << direction.toLower() << "_s: " << s << "\n";
            slowest = std::max(slowest, s);
            total += s;
            ++sorts;
        }
    }
    out << "sorts: " << sorts << "\n";
    out << "sort_slowest_s: " << slowest << "\n";
    out << "sort_mean_s: " << total / sorts << "\n";

    // Larger, then back: each relayout with the grid shown, painted.
    const QSize designed = window.size();
    double slowestResize = 0;
    for (const QSize &size : {designed + QSize(400, 300), designed}) {
        timer.start();
        window.resize(size);
        QApplication::processEvents();
        slowestResize = std::max(slowestResize, seconds(timer));
        out << "resize_" << size.width() << "x" << size.height() << "_grid_px: " << grid->width()
            << "x" << grid->height() << "\n";
    }
    out << "resize_slowest_s: " << slowestResize << "\n";
    return 0;
}
