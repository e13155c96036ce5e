#include "BenchCommands.h"
#include "CompareBench.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <iterator>

namespace {

int runCompareBench(const QStringList &args)
{
    QTextStream out(stdout);
    return compareBench(args, out);
}

struct Command
{
    const char *name;
    int (*run)(const QStringList &args);
    const char *about;
};

// Add a measurement by adding its line here.
const Command Commands[] = {
    {"grid", benchGrid,
        "[ROWS]: fill a 16-column grid with ROWS (1,000,000) shared-text rows, sort twice, "
        "clear highlights, renumber, remove every other row"},
    {"scan", benchScan, "bare walk against the scan command in the window"},
    {"compare", runCompareBench, "reference pair loop against the fast compare run"},
    {"select", benchSelect,
        "ROOT: on the compare list at its pair limit, gather 100,000 whole rows and delete them "
        "with the confirmation declined, gather and remove 10,000 selected rows, and clear a "
        "Shift-selection of 100,000 rows with one click"},
    {"delete-all", benchDeleteAll,
        "ROOT: on a copy of ROOT, every cell of the compare list at its pair limit selected and "
        "deleted into a trash of its own, with the memory it took"},
    {"sort", benchSort,
        "ROOT: on the compare list at its pair limit, sort each column both ways through the "
        "header button, and resize the window larger and back"},
    {"batch", benchBatch,
        "[PAIRS]: the batch delete of a list of PAIRS (10,000) pairs of copies into a trash of "
        "its own"},
    {"undo", benchUndo,
        "[PAIRS]: the same batch delete, then its undo, every file back from the trash"},
    {"preview", benchPreview,
        "ROOT: on the compare list at its pair limit, tick the removal preview and change the "
        "keep rule through all ten"},
    {"content", benchContent,
        "ROOT: content alone and with the name, cold and warm hash cache, beside jdupes -r and "
        "rmlint when installed"},
};

} // namespace

// velkor-bench COMMAND ...: one measurement per command, printed as
// "key: value" lines.
int main(int argc, char *argv[])
{
    // The measurements need no screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (!args.isEmpty()) {
        for (const Command &command : Commands) {
            if (args.first() == QLatin1String(command.name))
                return command.run(args.mid(1));
        }
    }
    QTextStream err(stderr);
    err << "usage: velkor-bench COMMAND [ARGS]\ncommands:\n";
    for (const Command &command : Commands)
        err << "  " << command.name << "  " << command.about << '\n';
    return 2;
}
