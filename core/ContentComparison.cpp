#include "core/ContentComparison.h"

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

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
    std::optional<Digest> whole;
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

} // namespace

ContentComparison::Outcome ContentComparison::run(const QList<FileRecord> &records,
    const QList<QList<int>> &groups, ContentCache &cache, const Await &await)
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
            if (!FileContent::edgesCoverAll(size))
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
            const FileContent::Reading reading = FileContent::readEdges(file.path, progress.done);
            if (!reading.ok)
                return;
            file.stamp = reading.stamp;
            file.edges = reading.digest;
            cache.setEdges(reading.stamp, reading.digest);
        }
        file.ok = true;
        if (FileContent::edgesCoverAll(file.stamp.size))
            file.whole = file.edges;
    };
    if (!wait(QtConcurrent::map(&pool, files, readEdges))) {
        outcome.cancelled = true;
        return outcome;
    }

    // Whole readings for the files whose size and edges another file of
    // their group shares.
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
    QList<File *> wholeFiles;
    qint64 wholePlanned = 0;
    for (const QList<qsizetype> &members : std::as_const(sameEdges)) {
        if (members.size() < 2)
            continue;
        for (const qsizetype i : members) {
            File &file = files[i];
            if (!file.whole) {
                wholeFiles.append(&file);
                wholePlanned += file.stamp.size;
            }
        }
    }
    progress.planned = progress.done + wholePlanned;

    const auto readWhole = [&](File *file) {
        if (progress.cancel)
            return;
        if (const auto known = cache.whole(file->stamp)) {
            file->whole = *known;
            progress.done += file->stamp.size;
            return;
        }
        const FileContent::Reading reading
            = FileContent::readWhole(file->path, progress.cancel, progress.done);
        // Changed since its edges were read: it is not the file that was
        // grouped.
        if (!reading.ok || reading.stamp != file->stamp) {
            file->ok = false;
            return;
        }
        file->whole = reading.digest;
        cache.setWhole(reading.stamp, reading.digest);
    };
    if (!wait(QtConcurrent::map(&pool, wholeFiles, readWhole))) {
        outcome.cancelled = true;
        return outcome;
    }

    QHash<std::pair<qint64, Digest>, QList<qsizetype>> sameContent;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const File &file = files.at(i);
        if (!file.ok) {
            ++outcome.unreadable;
            continue;
        }
        if (file.whole)
            sameContent[{file.stamp.size, *file.whole}].append(i);
    }
    int classes = 0;
    for (const QList<qsizetype> &members : std::as_const(sameContent)) {
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
