#include <QApplication>
#include <QTextStream>

#include <cstdio>

// --- compare ---
#include "CompareBench.h"
// --- end compare ---

// velkor-bench COMMAND ...: one measurement per command, printed as
// "key: value" lines.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    QTextStream out(stdout);
    // --- compare ---
    if (args.value(0) == QLatin1String("compare"))
        return compareBench(args.mid(1), out);
    // --- end compare ---
    QTextStream err(stderr);
    err << "usage: velkor-bench COMMAND [ARGS]\n";
    return args.isEmpty() ? 2 : 2;
}
