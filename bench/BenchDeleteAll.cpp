#include "BenchCommands.h"
#include "ProcessMemory.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

int filesUnder(const QString &root)
{
    int count = 0;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext(); it.next())
        ++count;
    return count;
}

} // namespace

int benchDeleteAll(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench delete-all ROOT\n";
        return 2;
    }
    // A copy of its own, since every file in it may go, and a trash beside
    // it on the same file system.
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("tree"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    if (!dir.isValid()
        || QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), args.at(0), root}) != 0) {
        out << "cannot copy the tree\n";
        return 1;
    }
    const int files = filesUnder(root);
    out << "files: " << files << "\n";
    WindowScan scanner(root, QStringLiteral("*.*"));
    scanner.click();
    FrmMain &window = scanner.window();
    FlexGrid &grid = scanner.compareSimilarNames(QStringLiteral("50"));
    const int rows = grid.Rows() - 1;
    out << "compare_rows: " << rows << "\n";
    highlightWholeRows(grid, 1, rows);
    grid.setFocus();

    const auto *log = window.findChild<LogList *>(QStringLiteral("ListView1"));
    const qint64 before = ProcessMemory::resident();
    ProcessMemory::resetPeak();
    QElapsedTimer timer;
    timer.start();
    window.findChild<QAction *>(QStringLiteral("DeleteFile"))->trigger();
    out << "delete_s: " << seconds(timer) << "\n";
    timer.start();
    QApplication::processEvents();
    out << "log_shown_s: " << seconds(timer) << "\n";
    constexpr qint64 MiB = 1024 * 1024;
    out << "peak_growth_mb: " << (ProcessMemory::peakResident() - before) / MiB << "\n";
    out << "rss_growth_mb: " << (ProcessMemory::resident() - before) / MiB << "\n";
    out << "log_lines: " << log->itemCount() << "\n";
    out << "last_log_line: " << log->itemText(log->itemCount() - 1, 0) << " "
        << log->itemText(log->itemCount() - 1, 2) << "\n";
    out << "rows_left: " << grid.Rows() - 1 << "\n";
    out << "files_left: " << filesUnder(root) << "\n";
    out << "trashed: "
        << QDir(dir.filePath(QStringLiteral("data/Trash/files")))
               .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
               .size()
        << "\n";
    return 0;
}
