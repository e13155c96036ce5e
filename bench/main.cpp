#include <QApplication>
#include <QTextStream>

#include <cstdio>

// velkor-bench COMMAND ...: one measurement per command, printed as
// "key: value" lines.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    QTextStream err(stderr);
    err << "usage: velkor-bench COMMAND [ARGS]\n";
    return args.isEmpty() ? 2 : 2;
}
