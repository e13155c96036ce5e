#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "core/CompareRun.h"
#include "forms/main/FrmMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace {

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

// Empties the page cache so that a run reads from the disk; only root may.
bool dropPageCache()
{
    sync();
    const int control = open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
    if (control < 0)
        return false;
    const bool dropped = write(control, "3", 1) == 1;
    close(control);
    return dropped;
}

// What the bench says of the page cache before a run: "cold" runs start
// with it emptied where that is allowed.
struct Start
{
    bool cold = false;
    bool canDrop = false;

    void prepare() const
    {
        if (cold && canDrop)
            dropPageCache();
    }
};

void timeRun(QTextStream &out, const QString &key, const QList<FileRecord> &records, bool withName,
    ContentCache &cache, const Start &start)
{
    CompareRun::Options options;
    options.criteria.slots[static_cast<size_t>(CompareCriteria::ContentSlot)] = 1;
    if (withName)
        options.criteria.slots[static_cast<size_t>(FileRecord::Name)] = 1;
    options.mode = static_cast<int>(CompareMode::SameName);
    options.contentCache = &cache;
    start.prepare();
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

// Times another program on the same files, when it is installed. The
// duplicate finders print one line per duplicate file, sets apart by blank
// lines; input, when given, goes to the program's standard input.
void timeTool(QTextStream &out, const QString &key, const QString &tool, const QStringList &args,
    const Start &start, const QByteArray &input = {})
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        out << key << ": " << tool << " not installed\n";
        return;
    }
    QProcess process;
    start.prepare();
    QElapsedTimer timer;
    timer.start();
    process.start(tool, args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    out << key << ".seconds: " << seconds(timer) << "\n";
    if (input.isEmpty()) {
        qsizetype files = 0;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
            files += line.trimmed().isEmpty() ? 0 : 1;
        out << key << ".duplicate_files: " << files << "\n";
    }
    out.flush();
}

// The floor: every compared file hashed once by xxh128sum, as many
// processes as cores.
void timeFloor(
    QTextStream &out, const QString &key, const QList<FileRecord> &records, const Start &start)
{
    QByteArray paths;
    for (const FileRecord &record : records)
        paths += QFile::encodeName(record.fullPath()) + '\0';
    const int cores = qMax(1, QThread::idealThreadCount());
    const qsizetype perProcess = qMax<qsizetype>(1, records.size() / (cores * 8));
    timeTool(out, key, QStringLiteral("xargs"),
        {QStringLiteral("-0"), QStringLiteral("-P"), QString::number(cores), QStringLiteral("-n"),
            QString::number(perProcess), QStringLiteral("xxh128sum")},
        start, paths);
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
    const Start cold {true, dropPageCache()};
    const Start warm {false, cold.canDrop};
    out << "page_cache: "
        << (cold.canDrop ? "emptied before every cold run"
                         : "not emptied (needs root), cold runs start warm")
        << "\n";
    // cold and warm: page cache, empty hash cache; cached: the hash cache
    // the run before filled.
    ContentCache alone;
    timeRun(out, QStringLiteral("content.cold"), records, false, alone, cold);
    ContentCache again;
    timeRun(out, QStringLiteral("content.warm"), records, false, again, warm);
    timeRun(out, QStringLiteral("content.cached"), records, false, again, warm);
    ContentCache named;
    timeRun(out, QStringLiteral("name_content.warm"), records, true, named, warm);
    timeRun(out, QStringLiteral("name_content.cached"), records, true, named, warm);
    timeFloor(out, QStringLiteral("xxh128sum.cold"), records, cold);
    timeFloor(out, QStringLiteral("xxh128sum.warm"), records, warm);
    const QStringList jdupes {QStringLiteral("-r"), QStringLiteral("-q"), args.at(0)};
    timeTool(out, QStringLiteral("jdupes.cold"), QStringLiteral("jdupes"), jdupes, cold);
    timeTool(out, QStringLiteral("jdupes.warm"), QStringLiteral("jdupes"), jdupes, warm);
    const QStringList rmlint {args.at(0), QStringLiteral("-o"), QStringLiteral("fdupes")};
    timeTool(out, QStringLiteral("rmlint.cold"), QStringLiteral("rmlint"), rmlint, cold);
    timeTool(out, QStringLiteral("rmlint.warm"), QStringLiteral("rmlint"), rmlint, warm);
    return 0;
}
