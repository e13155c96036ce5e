#include "BenchCommands.h"
#include "ProcessMemory.h"
#include "Seconds.h"

#include "core/FileCatalogue.h"
#include "platform/grid/FlexGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int DefaultRows = 1'000'000;
constexpr int Batch = 10'000;
constexpr int SingleRows = 100'000;
constexpr int HighlightCells = 1'000;
constexpr int HighlightRows = 100'000;

const QString CompareFormat = QStringLiteral(
    "< 序号 |<  相似度 |<文件名1|<文件名2|<文件1位置|<文件2位置|>文件1大小(字节)|<文件2大小(字节)|"
    "<文件1创建时间|<文件2创建时间|<文件1修改时间|<文件2修改时间|<文件1访问时间|>文件2访问时间|"
    "<文件1类型|>文件2类型");

FileCatalogue syntheticCatalogue()
{
    FileCatalogue catalogue;
    for (int k = 0; k < FileCatalogue::Limit; ++k) {
        const QString stamp = QStringLiteral("2024/%1/%2 %3:%4:%5")
                                  .arg(k % 12 + 1)
                                  .arg(k % 28 + 1)
                                  .arg(k % 24)
                                  .arg(k % 60, 2, 10, QLatin1Char('0'))
                                  .arg((k * 7) % 60, 2, 10, QLatin1Char('0'));
        catalogue.append(
            FileRecord {{QStringLiteral("歌曲 %1 - 现场版.mp3").arg((k * 7919) % 100000),
                QStringLiteral("/home/user/音乐/专辑 %1/").arg(k / 40),
                QString::number(1000 + (qint64(k) * 104729) % 9000000), stamp, stamp, stamp,
                QStringLiteral("MP3 音频文件")}});
    }
    return catalogue;
}

// A compare-grid row of the pair (k, j): number, similarity, then each field
// of both files; the file texts are the catalogue's own.
QStringList pairRow(const FileCatalogue &catalogue, int n, int k, int j)
{
    QStringList cells;
    cells.reserve(16);
    cells.append(QString::number(n));
    cells.append(QString::number(100.0 - (n % 5000) / 100.0, 'f', 2) + QLatin1Char('%'));
    const FileRecord &a = catalogue.at(k);
    const FileRecord &b = catalogue.at(j);
    for (int f = 0; f < FileRecord::FieldCount; ++f) {
        cells.append(a.field(f));
        cells.append(b.field(f));
    }
    return cells;
}

// Processor time of this process: on a busy machine it shows what the wall
// time lost to other work.
double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

} // namespace

int benchGrid(const QStringList &args)
{
    // An optional row count, for quick runs.
    const int Rows = args.isEmpty() ? DefaultRows : std::max(args.first().toInt(), 10);
    QTextStream out(stdout);
    const FileCatalogue catalogue = syntheticCatalogue();
    const int n = catalogue.count();

    FlexGrid grid;
    grid.resize(1200, 600);
    grid.show();
    grid.setFormatString(CompareFormat);
    grid.setRows(2);
    const qint64 before = ProcessMemory::resident();

    // As the compare run fills: painting off, rows in front of the trailing
    // empty row, which is dropped at the end.
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuSeconds();
    grid.setRedraw(false);
    QList<QStringList> batch;
    batch.reserve(Batch);
    for (int row = 1; row <= Rows; ++row) {
        const int k = row % n;
        const int j = (row * 7 + 3) % n;
        batch.append(pairRow(catalogue, row, k, j));
        if (batch.size() == Batch) {
            grid.AddItems(batch, grid.Rows() - 1);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        grid.AddItems(batch, grid.Rows() - 1);
    batch = {};
    grid.setRows(grid.Rows() - 1);
    grid.setRedraw(true);
    const double fill = seconds(timer);
    const double fillCpu = cpuSeconds() - cpuStart;
    const qint64 after = ProcessMemory::resident();

    timer.restart();
    grid.setCol(2);
    grid.Sort(1);
    const double sortText = seconds(timer);
    timer.restart();
    grid.setCol(6);
    grid.Sort(2);
    const double sortNumber = seconds(timer);
    const bool sorted = grid.TextMatrix(1, 6).toLongLong() >= grid.TextMatrix(2, 6).toLongLong()
        && grid.TextMatrix(Rows / 2, 6).toLongLong() >= grid.TextMatrix(Rows, 6).toLongLong();

    // One repaint of the shown grid, which every bulk step below is followed
    // by; their times are the step itself, with the views' own reactions.
    QCoreApplication::processEvents();
    timer.restart();
    grid.viewport()->update();
    QCoreApplication::processEvents();
    const double repaint = seconds(timer);

    // Highlights: 1,000 cells spread over the grid, then every cell of
    // 100,000 rows; each cleared in one call.
    for (int i = 0; i < HighlightCells; ++i) {
        grid.setRow(1 + static_cast<int>((qint64(i) * 7919) % Rows));
        grid.setCol(1 + i % 15);
        grid.setCellBackColor(FlexGrid::SelectionColor);
    }
    QCoreApplication::processEvents(); // what came before is painted
    timer.restart();
    grid.clearHighlights();
    const double clearCells = seconds(timer);
    const int wholeRows = std::min(HighlightRows, Rows);
    grid.setRow(1);
    grid.setCol(1);
    grid.setRowSel(wholeRows);
    grid.setColSel(15);
    grid.setFillStyle(1);
    grid.setCellBackColor(FlexGrid::SelectionColor);
    grid.setFillStyle(0);
    const bool painted = grid.isHighlighted(wholeRows, 15);
    QCoreApplication::processEvents(); // what came before is painted
    timer.restart();
    grid.clearHighlights();
    const double clearRows = seconds(timer);
    const bool cleared = painted && !grid.isHighlighted(wholeRows, 15) && !grid.isHighlighted(1, 1);

    // The sorts left the numbers out of order; then every other row goes.
    QCoreApplication::processEvents(); // what came before is painted
    timer.restart();
    grid.renumberRows();
    const double renumber = seconds(timer);
    const bool renumbered = grid.TextMatrix(Rows, 0) == QString::number(Rows);
    QList<int> everyOther;
    everyOther.reserve(Rows / 2 + 1);
    for (int row = 1; row <= Rows; row += 2)
        everyOther.append(row);
    const QString keptSecond = grid.TextMatrix(2, 2);
    QCoreApplication::processEvents(); // what came before is painted
    timer.restart();
    grid.RemoveItems(everyOther);
    const double removeHalf = seconds(timer);
    const bool removed
        = grid.Rows() - 1 == Rows - everyOther.size() && grid.TextMatrix(1, 2) == keptSecond;

    // The compare run's own path: one AddItem per pair.
    FlexGrid single;
    single.resize(1200, 600);
    single.show();
    single.setFormatString(CompareFormat);
    single.setRows(2);
    single.setRedraw(false);
    timer.restart();
    for (int row = 1; row <= SingleRows; ++row)
        single.AddItem(pairRow(catalogue, row, row % n, (row * 7 + 3) % n), row);
    const double singleFill = seconds(timer);
    single.setRedraw(true);

    out << "rows: " << Rows << '\n';
    out << "fill_s: " << QString::number(fill, 'f', 3) << '\n';
    out << "fill_cpu_s: " << QString::number(fillCpu, 'f', 3) << '\n';
    out << "bytes_per_row: " << (after - before) / Rows << '\n';
    out << "peak_rss_mb: " << ProcessMemory::peakResident() / (1024 * 1024) << '\n';
    out << "sort_text_s: " << QString::number(sortText, 'f', 3) << '\n';
    out << "sort_number_s: " << QString::number(sortNumber, 'f', 3) << '\n';
    out << "sorted: " << (sorted ? "yes" : "no") << '\n';
    out << "repaint_s: " << QString::number(repaint, 'f', 3) << '\n';
    out << "clear_highlights_cells: " << HighlightCells << '\n';
    out << "clear_highlights_s: " << QString::number(clearCells, 'f', 6) << '\n';
    out << "clear_highlights_100k_rows_s: " << QString::number(clearRows, 'f', 6) << '\n';
    out << "highlights_cleared: " << (cleared ? "yes" : "no") << '\n';
    out << "renumber_s: " << QString::number(renumber, 'f', 3) << '\n';
    out << "renumbered: " << (renumbered ? "yes" : "no") << '\n';
    out << "remove_half_s: " << QString::number(removeHalf, 'f', 3) << '\n';
    out << "removed: " << (removed ? "yes" : "no") << '\n';
    out << "single_add_rows: " << SingleRows << '\n';
    out << "single_add_s: " << QString::number(singleFill, 'f', 3) << '\n';
    return sorted && cleared && renumbered && removed ? 0 : 1;
}
