#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/TabStrip.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int DefaultPairs = 10000;

// Two copies of every file, one in a/ and one in b/, each a few bytes.
bool writeTree(const QString &root, int pairs)
{
    for (const char *folder : {"a", "b"}) {
        const QString dir = root + QLatin1Char('/') + QLatin1String(folder);
        if (!QDir().mkpath(dir))
            return false;
        for (int i = 0; i < pairs; ++i) {
            QFile file(dir + QStringLiteral("/%1.dat").arg(i, 5, 10, QLatin1Char('0')));
            if (!file.open(QIODevice::WriteOnly) || file.write("copy\n") != 5)
                return false;
        }
    }
    return true;
}

// The batch delete of PAIRS pairs of copies, each losing file sent to a
// trash of the bench's own, beside the tree; then, when asked, its undo.
int deleteThenUndo(const QStringList &args, bool undo)
{
    QTextStream out(stdout);
    const int pairs = args.isEmpty() ? DefaultPairs : args.first().toInt();
    if (pairs <= 0) {
        out << "usage: velkor-bench " << (undo ? "undo" : "batch") << " [PAIRS]\n";
        return 2;
    }
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("tree"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    if (!dir.isValid() || !writeTree(root, pairs)) {
        out << "cannot write the tree\n";
        return 1;
    }
    WindowScan scanner(root, QStringLiteral("*.*"));
    scanner.click();
    FrmMain &window = scanner.window();
    window.findChild<TabStrip *>(QStringLiteral("TabStrip2"))->selectTab(1);
    window.findChild<QPushButton *>(QStringLiteral("CommandToCompare"))->click();
    const auto *grid = window.findChild<FlexGrid *>(QStringLiteral("MSH1"));
    out << "compare_rows: " << grid->Rows() - 1 << "\n";

    const auto *log = window.findChild<LogList *>(QStringLiteral("ListView1"));
    int linesBefore = log->itemCount();
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton *>(QStringLiteral("CommandDelFile"))->click();
    out << "delete_s: " << seconds(timer) << "\n";
    const QDir trash(dir.filePath(QStringLiteral("data/Trash/files")));
    out << "trashed: " << trash.entryList(QDir::Files).size() << "\n";
    out << "log_lines: " << log->itemCount() - linesBefore << "\n";
    out << "rows_left: " << grid->Rows() - 1 << "\n";
    if (!undo)
        return 0;

    linesBefore = log->itemCount();
    timer.start();
    window.findChild<QAction *>(QStringLiteral("UndoLast"))->trigger();
    out << "undo_s: " << seconds(timer) << "\n";
    out << "still_trashed: " << trash.entryList(QDir::Files).size() << "\n";
    out << "undo_log_lines: " << log->itemCount() - linesBefore << "\n";
    out << "files_in_tree: "
        << QDir(root + QStringLiteral("/a")).entryList(QDir::Files).size()
            + QDir(root + QStringLiteral("/b")).entryList(QDir::Files).size()
        << "\n";
    return 0;
}

} // namespace

int benchBatch(const QStringList &args)
{
    return deleteThenUndo(args, false);
}

int benchUndo(const QStringList &args)
{
    return deleteThenUndo(args, true);
}
