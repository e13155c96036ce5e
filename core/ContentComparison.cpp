#include "core/ContentComparison.h"

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <atomic>

namespace {

using FileContent::Digest;

struct File
{
    int record = 0;
    QString path;
    bool ok = false;
    FileStamp stamp;
    Digest edges;
    // The first file found to hold the same bytes, itself when it is the
    // first; -1 while the bytes were not compared.
    qsizetype same = -1;
};

// Files of one size and edges to read side by side.
struct Task
{
    QList<qsizetype> files;
    FileContent::Comparison comparison;
};

// What the worker threads share with the waiting one.
struct Progress
{
    std::atomic<qint64> done {0};
    std::atomic<qint64> planned {0};
    std::atomic<bool> cancel {false};
    int shown = 0; // never goes back, read on the waiting thread only

    int percent()
    {
        const qint64 all = qMax<qint64>(1, planned.load());
        const qint64 part = qBound<qint64>(0, done.load(), all);
        const auto now = static_cast<int>(part * 100 / all);
        shown = qMax(shown, now);
        return shown;
    }
};

// Files of one candidate group, of one size and with the same edges.
struct EdgeKey
{
    int group = 0;
    qint64 size = 0;
    Digest edges;

    bool operator==(const EdgeKey &) const = default;
};

size_t qHash(const EdgeKey &key, size_t seed = 0) noexcept
{
    return qHashMulti(seed, key.group, key.size, key.edges);
}

qint64 recordSize(const FileRecord &record)
{
    return qMax<qint64>(0, record.field(FileRecord::Size).toLongLong());
}

// Reading is bound by the disk as much as by the processor: a few more
// threads than cores keep both busy.
int readingThreads()
{
    return qMax(2, QThread::idealThreadCount()) * 2;
}

// Sorts files of one size and edges: those whose whole digests the cache
// holds and tells apart need no reading, those it has seen compared the
// same take that verdict, and the rest are read side by side.
void plan(QList<File> &files, const QList<qsizetype> &members, const ContentCache &cache,
    QList<Task> &tasks)
{
    QHash<Digest, QList<qsizetype>> byDigest;
    for (const qsizetype i : members) {
        const std::optional<Digest> whole = cache.whole(files.at(i).stamp);
        if (!whole) {
            tasks.append(Task {members, {}});
            return;
        }
        byDigest[*whole].append(i);
    }
    for (const QList<qsizetype> &same : std::as_const(byDigest)) {
        if (same.size() < 2)
            continue;
        const std::optional<quint64> verdict = cache.verdict(files.at(same.first()).stamp);
        const bool known = verdict && std::all_of(same.cbegin(), same.cend(), [&](qsizetype i) {
            return cache.verdict(files.at(i).stamp) == verdict;
        });
        if (!known) {
            tasks.append(Task {same, {}});
            continue;
        }
        for (const qsizetype i : same)
            files[i].same = same.first();
    }
}

// Takes a side-by-side reading into the files and the cache.
void settle(QList<File> &files, const Task &task, ContentCache &cache)
{
    QHash<qsizetype, QList<FileStamp>> confirmed;
    for (qsizetype m = 0; m < task.files.size(); ++m) {
        File &file = files[task.files.at(m)];
        const FileContent::Reading &reading = task.comparison.readings.at(m);
        if (!reading.ok) {
            file.ok = false;
            continue;
        }
        cache.setWhole(reading.stamp, reading.digest);
        file.same = task.files.at(task.comparison.sameAs.at(m));
        confirmed[file.same].append(reading.stamp);
    }
    for (const QList<FileStamp> &same : std::as_const(confirmed)) {
        if (same.size() > 1)
            cache.confirm(same);
    }
}

} // namespace

ContentComparison::Outcome ContentComparison::run(const QList<FileRecord> &records,
    const QList<QList<int>> &groups, ContentCache &cache, const Await &await,
    const FileContent::Digester &digester)
{
    Outcome outcome;
    outcome.tokens.reserve(records.size());
    for (qsizetype k = 0; k < records.size(); ++k)
        outcome.tokens.append(QStringLiteral("u%1").arg(k));

    Progress progress;
    QList<File> files;
    qint64 edgeBytes = 0;
    qint64 wholeBytes = 0;
    for (const QList<int> &group : groups) {
        if (group.size() < 2)
            continue;
        for (const int k : group) {
            File file;
            file.record = k;
            file.path = records.at(k).fullPath();
            files.append(file);
            const qint64 size = recordSize(records.at(k));
            edgeBytes += qMin(size, 2 * FileContent::EdgeBytes);
            wholeBytes += size;
        }
    }
    // Until the edges tell which files need a whole reading, all of them
    // might; the estimate only ever shrinks, so the percentage never falls.
    progress.planned = edgeBytes + wholeBytes;

    QThreadPool pool;
    pool.setMaxThreadCount(readingThreads());
    const auto wait = [&](QFuture<void> work) {
        const bool finished = !await || await(work, [&] { return progress.percent(); });
        if (!finished) {
            progress.cancel = true;
            work.cancel();
        }
        work.waitForFinished();
        return finished;
    };

    const auto readEdges = [&](File &file) {
        if (progress.cancel)
            return;
        const std::optional<FileStamp> stamp = FileStamp::of(file.path);
        if (!stamp)
            return;
        if (const auto known = cache.edges(*stamp)) {
            file.stamp = *stamp;
            file.edges = *known;
            progress.done += qMin(stamp->size, 2 * FileContent::EdgeBytes);
        } else {
            const FileContent::Reading reading
                = FileContent::readEdges(file.path, digester, progress.done);
            if (!reading.ok)
                return;
            file.stamp = reading.stamp;
            file.edges = reading.digest;
            cache.setEdges(reading.stamp, reading.digest);
        }
        file.ok = true;
    };
    if (!wait(QtConcurrent::map(&pool, files, readEdges))) {
        outcome.cancelled = true;
        return outcome;
    }

    // The files whose size and edges another file of their group shares
    // are read whole, unless their digests tell them apart or the cache
    // already has their bytes compared.
    QHash<EdgeKey, QList<qsizetype>> sameEdges;
    QHash<int, int> groupOf;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        for (const int k : groups.at(g))
            groupOf.insert(k, static_cast<int>(g));
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const File &file = files.at(i);
        if (file.ok)
            sameEdges[EdgeKey {groupOf.value(file.record), file.stamp.size, file.edges}].append(i);
    }
    QList<Task> tasks;
    for (const QList<qsizetype> &members : std::as_const(sameEdges)) {
        if (members.size() > 1)
            plan(files, members, cache, tasks);
    }
    qint64 wholePlanned = 0;
    for (const Task &task : std::as_const(tasks))
        wholePlanned += files.at(task.files.first()).stamp.size * task.files.size();
    progress.planned = progress.done + wholePlanned;

    const auto compare = [&](Task &task) {
        if (progress.cancel)
            return;
        QList<FileContent::Member> members;
        for (const qsizetype i : std::as_const(task.files))
            members.append({files.at(i).path, files.at(i).stamp});
        task.comparison
            = FileContent::readSideBySide(members, digester, progress.cancel, progress.done);
    };
    if (!wait(QtConcurrent::map(&pool, tasks, compare))) {
        outcome.cancelled = true;
        return outcome;
    }
    for (const Task &task : std::as_const(tasks))
        settle(files, task, cache);

    QHash<qsizetype, QList<qsizetype>> sameBytes;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const File &file = files.at(i);
        if (!file.ok)
            ++outcome.unreadable;
        else if (file.same >= 0)
            sameBytes[file.same].append(i);
    }
    int classes = 0;
    for (const QList<qsizetype> &members : std::as_const(sameBytes)) {
        if (members.size() < 2)
            continue;
        const QString token = QStringLiteral("c%1").arg(classes++);
        for (const qsizetype i : members) {
            const File &file = files.at(i);
            outcome.tokens[file.record] = token;
            outcome.stamps.insert(file.path, file.stamp);
        }
    }
    return outcome;
}
