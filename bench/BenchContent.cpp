#include "BenchCommands.h"
#include "WindowScan.h"

#include "core/CompareRun.h"
#include "forms/main/FrmMain.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace {

double seconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Files that have at least one listed twin.
qsizetype duplicateFiles(const QList<MatchPair> &pairs)
{
    QSet<int> files;
    for (const MatchPair &pair : pairs) {
        files.insert(pair.first);
        files.insert(pair.second);
    }
    return files.size();
}

void timeRun(QTextStream &out, const QString &key, const QList<FileRecord> &records, bool withName,
    ContentCache &cache)
{
    CompareRun::Options options;
    options.criteria.slots[static_cast<size_t>(CompareCriteria::ContentSlot)] = 1;
    if (withName)
        options.criteria.slots[static_cast<size_t>(FileRecord::Name)] = 1;
    options.mode = static_cast<int>(CompareMode::SameName);
    options.contentCache = &cache;
    QElapsedTimer timer;
    timer.start();
    const CompareRun::Outcome outcome = CompareRun::run(records, options);
    out << key << ".seconds: " << seconds(timer) << "\n";
    out << key << ".pairs: " << outcome.pairs.size() << (outcome.truncated ? " (limit)" : "")
        << "\n";
    out << key << ".duplicate_files: " << duplicateFiles(outcome.pairs) << "\n";
    out << key << ".unreadable: " << outcome.unreadable << "\n";
    out.flush();
}

// Times another duplicate finder on the same tree, when it is installed;
// both print one line per duplicate file, sets apart by blank lines.
void timeTool(QTextStream &out, const QString &tool, const QStringList &args)
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        out << tool << ": not installed\n";
        return;
    }
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(tool, args);
    process.waitForFinished(-1);
    out << tool << ".seconds: " << seconds(timer) << "\n";
    qsizetype files = 0;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
        files += line.trimmed().isEmpty() ? 0 : 1;
    out << tool << ".duplicate_files: " << files << "\n";
    out.flush();
}

} // namespace

int benchContent(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench content ROOT\n";
        return 2;
    }
    WindowScan scanner(args.at(0), QStringLiteral("*.*"));
    scanner.click();
    const QList<FileRecord> records = scanner.window().catalogue().records();
    out << "records: " << records.size() << "\n";
    ContentCache alone;
    timeRun(out, QStringLiteral("content.cold"), records, false, alone);
    timeRun(out, QStringLiteral("content.warm"), records, false, alone);
    ContentCache named;
    timeRun(out, QStringLiteral("name_content.cold"), records, true, named);
    timeRun(out, QStringLiteral("name_content.warm"), records, true, named);
    timeTool(
        out, QStringLiteral("jdupes"), {QStringLiteral("-r"), QStringLiteral("-q"), args.at(0)});
    timeTool(out, QStringLiteral("rmlint"),
        {args.at(0), QStringLiteral("-o"), QStringLiteral("fdupes")});
    return 0;
}
