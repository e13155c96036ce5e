#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/TabStrip.h"

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

} // namespace

int benchBatch(const QStringList &args)
{
    QTextStream out(stdout);
    const int pairs = args.isEmpty() ? DefaultPairs : args.first().toInt();
    if (pairs <= 0) {
        out << "usage: velkor-bench batch [PAIRS]\n";
        return 2;
    }
    // The trash is one of the bench's own, beside the tree.
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
    const int linesBefore = log->itemCount();
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton *>(QStringLiteral("CommandDelFile"))->click();
    out << "delete_s: " << seconds(timer) << "\n";
    out << "trashed: " << QDir(dir.filePath(QStringLiteral("data/Trash/files"))).count() - 2
        << "\n";
    out << "log_lines: " << log->itemCount() - linesBefore << "\n";
    out << "rows_left: " << grid->Rows() - 1 << "\n";
    return 0;
}
