#include "core/CompareRun.h"
#include "core/ContentComparison.h"
#include "core/ListedContent.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int SameName = static_cast<int>(CompareMode::SameName);
constexpr int SimilarName = static_cast<int>(CompareMode::SimilarName);

// A catalogue record for a file written into the folder.
FileRecord written(const QString &folder, const QString &name, const QByteArray &content)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the test file");
    FileRecord r;
    r.fields = {name, folder + QLatin1Char('/'), QString::number(content.size()),
        QStringLiteral("2024/1/2 3:04:05"), QStringLiteral("2024/1/2 3:04:06"),
        QStringLiteral("2024/1/2 3:04:07"), QStringLiteral("File")};
    return r;
}

CompareCriteria boxes(std::initializer_list<int> ticked)
{
    CompareCriteria criteria;
    for (const int box : ticked)
        criteria.slots[static_cast<size_t>(box)] = 1;
    return criteria;
}

constexpr int Content = CompareCriteria::ContentSlot;

CompareRun::Outcome compare(const QList<FileRecord> &records, const CompareCriteria &criteria,
    int mode = SameName, ContentCache *cache = nullptr)
{
    CompareRun::Options options;
    options.criteria = criteria;
    options.mode = mode;
    options.threshold = QStringLiteral("80");
    options.contentCache = cache;
    return CompareRun::run(records, options);
}

QSet<std::pair<int, int>> pairsOf(const CompareRun::Outcome &outcome)
{
    QSet<std::pair<int, int>> pairs;
    for (const MatchPair &p : outcome.pairs)
        pairs.insert({qMin(p.first, p.second), qMax(p.first, p.second)});
    return pairs;
}

QByteArray pattern(int size, char fill)
{
    return QByteArray(size, fill);
}

using Pairs = QSet<std::pair<int, int>>;

// Every digest alike: only the bytes can tell files apart.
FileContent::Digest collide(const QString &, const FileContent::Digest &)
{
    return {1, 2};
}

// The records read as one candidate group.
ContentComparison::Outcome readAsOneGroup(const QList<FileRecord> &records, ContentCache &cache,
    const FileContent::Digester &digester, const ContentComparison::Await &await = {})
{
    QList<int> all;
    for (int k = 0; k < records.size(); ++k)
        all.append(k);
    return ContentComparison::run(records, {all}, cache, await, digester);
}

Pairs sameTokens(const ContentComparison::Outcome &outcome)
{
    Pairs pairs;
    for (int i = 0; i < outcome.tokens.size(); ++i) {
        for (int j = i + 1; j < outcome.tokens.size(); ++j) {
            if (outcome.tokens.at(i) == outcome.tokens.at(j))
                pairs.insert({i, j});
        }
    }
    return pairs;
}

FileRecord recordOf(const QString &path)
{
    const QFileInfo info(path);
    FileRecord r;
    r.fields = {info.fileName(), info.path() + QLatin1Char('/'), QString::number(info.size()),
        QString(), QString(), QString(), QStringLiteral("File")};
    return r;
}

// A big file with one byte changed.
QByteArray changedAt(QByteArray content, qsizetype at)
{
    content[at] = static_cast<char>(content.at(at) ^ 1);
    return content;
}

QByteArray mixed(int size)
{
    QByteArray content(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        content[i] = static_cast<char>(i * 7 + i / 251);
    return content;
}

} // namespace

class tst_ContentCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twoFiles_data();
    void twoFiles();
    void unreadableFileIsCounted();
    void criteriaCombineInBothModes();
    void secondCompareUsesTheCache_data();
    void secondCompareUsesTheCache();
    void changedFileIsNoLongerIntact();
    void listedPairsAreByteIdentical();
    void plantedFileIsToldApartByItsBytes_data();
    void plantedFileIsToldApartByItsBytes();
    void replacedFileIsNotRead_data();
    void replacedFileIsNotRead();
    void contentOtherThanItsSizeIsUnreadable_data();
    void contentOtherThanItsSizeIsUnreadable();
    void largeGroupKeepsFewFilesOpen_data();
    void largeGroupKeepsFewFilesOpen();
    void sideBySideTellsEachFilesOwnDigest_data();
    void sideBySideTellsEachFilesOwnDigest();
};

void tst_ContentCompare::twoFiles_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("paired");
    const QByteArray big = pattern(3 * 1024 * 1024, 'a');
    QByteArray head = big, tail = big, middle = big;
    head[10] = 'b';
    tail[big.size() - 10] = 'b';
    middle[big.size() / 2] = 'b';
    QTest::newRow("identical") << big << big << true;
    QTest::newRow("equal size, heads differ") << big << head << false;
    QTest::newRow("equal heads, tails differ") << big << tail << false;
    QTest::newRow("equal heads and tails, middle differs") << big << middle << false;
    QTest::newRow("sizes differ") << big << big + 'a' << false;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << true;
    QTest::newRow("small, differ") << QByteArray("abc") << QByteArray("abd") << false;
}

void tst_ContentCompare::twoFiles()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, paired);
    QTemporaryDir dir;
    const QList<FileRecord> records
        = {written(dir.path(), "one", first), written(dir.path(), "two", second)};
    const CompareRun::Outcome outcome = compare(records, boxes({Content}));
    QCOMPARE(outcome.pairs.size(), paired ? 1 : 0);
    QCOMPARE(outcome.unreadable, 0);
}

void tst_ContentCompare::unreadableFileIsCounted()
{
    QTemporaryDir dir;
    const QList<FileRecord> records = {written(dir.path(), "a", "same"),
        written(dir.path(), "b", "same"), written(dir.path(), "c", "same")};
    QVERIFY(QFile::remove(records.at(2).fullPath()));
    const CompareRun::Outcome outcome = compare(records, boxes({Content}));
    QCOMPARE(pairsOf(outcome), (QSet<std::pair<int, int>> {{0, 1}}));
    QCOMPARE(outcome.unreadable, 1);
}

void tst_ContentCompare::criteriaCombineInBothModes()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("x");
    const QString x = dir.path() + "/x";
    // 0 and 1: same name, other content; 0 and 2: same content, other
    // name; 2 and 3: same name and content.
    const QList<FileRecord> records
        = {written(dir.path(), "Folder.jpg", "red"), written(x, "Folder.jpg", "blu"),
            written(dir.path(), "cover.jpg", "red"), written(x, "cover.jpg", "red")};
    using Pairs = QSet<std::pair<int, int>>;
    for (const int mode : {SameName, SimilarName}) {
        QCOMPARE(
            pairsOf(compare(records, boxes({Content}), mode)), (Pairs {{0, 2}, {0, 3}, {2, 3}}));
        QCOMPARE(pairsOf(compare(records, boxes({0, Content}), mode)), (Pairs {{2, 3}}));
        QCOMPARE(pairsOf(compare(records, boxes({0}), mode)), (Pairs {{0, 1}, {2, 3}}));
    }
}

void tst_ContentCompare::secondCompareUsesTheCache_data()
{
    QTest::addColumn<QByteArray>("rewrite"); // empty: left alone
    QTest::addColumn<bool>("paired");
    QTest::addColumn<bool>("read");
    const QByteArray same = mixed(20000);
    QTest::newRow("unchanged") << QByteArray() << true << false;
    QTest::newRow("same bytes written, times set back") << same << true << true;
    QTest::newRow("other bytes written, times set back") << changedAt(same, 10000) << false << true;
}

void tst_ContentCompare::secondCompareUsesTheCache()
{
    QFETCH(QByteArray, rewrite);
    QFETCH(bool, paired);
    QFETCH(bool, read);
    QTemporaryDir dir;
    const QList<FileRecord> records
        = {written(dir.path(), "a", mixed(20000)), written(dir.path(), "b", mixed(20000))};
    ContentCache cache;
    QCOMPARE(sameTokens(readAsOneGroup(records, cache, {})), (Pairs {{0, 1}}));
    if (!rewrite.isEmpty()) {
        const QByteArray path = QFile::encodeName(records.at(1).fullPath());
        struct stat before
        {
        };
        QCOMPARE(stat(path.constData(), &before), 0);
        QFile file(records.at(1).fullPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(rewrite), rewrite.size());
        file.close();
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    }
    std::atomic<int> readings {0};
    const auto counting = [&](const QString &, const FileContent::Digest &bytes) {
        ++readings;
        return bytes;
    };
    QCOMPARE(sameTokens(readAsOneGroup(records, cache, counting)).size(), paired ? 1 : 0);
    QCOMPARE(readings > 0, read);
}

void tst_ContentCompare::changedFileIsNoLongerIntact()
{
    QTemporaryDir dir;
    const QList<FileRecord> records = {written(dir.path(), "a", "same"),
        written(dir.path(), "b", "same"), written(dir.path(), "c", "same")};
    const CompareRun::Outcome outcome = compare(records, boxes({Content}));
    ListedContent listed(outcome.contentStamps);
    const QString a = records.at(0).fullPath(), b = records.at(1).fullPath(),
                  c = records.at(2).fullPath();
    QVERIFY(listed.intact(a, b));
    const QString renamed = a + QStringLiteral("2");
    const std::optional<FileStamp> before = FileStamp::of(a);
    QVERIFY(QFile::rename(a, renamed));
    listed.renamed(a, renamed, before);
    QVERIFY(listed.intact(renamed, b)); // renamed, not changed
    QVERIFY(!listed.intact(a, b));
    QFile file(b);
    QVERIFY(file.open(QIODevice::Append));
    file.write("!");
    file.close();
    QVERIFY(!listed.intact(a, b)); // the twin grew
    QVERIFY(!listed.intact(b, c)); // the file itself grew
    QVERIFY(QFile::remove(c));
    QVERIFY(!listed.intact(renamed, c)); // the twin is gone
    QVERIFY(ListedContent().intact(a, c)); // no content check, nothing to hold
}

void tst_ContentCompare::listedPairsAreByteIdentical()
{
    QRandomGenerator random(15);
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir dir;
        QList<FileRecord> records;
        QList<QByteArray> contents;
        for (int i = 0; i < 40; ++i) {
            // Few sizes and few bytes, edges over 4 KiB now and then, so
            // that equal sizes, equal edges and near-copies are common.
            const int size = QList<int> {0, 5, 5000, 9000, 70000}.at(random.bounded(5));
            QByteArray content = pattern(size, 'a');
            if (size > 0 && random.bounded(3) == 0)
                content[random.bounded(size)] = static_cast<char>('b' + random.bounded(2));
            contents.append(content);
            records.append(written(dir.path(), QString::number(i), content));
        }
        const int mode = random.bounded(2) ? SameName : SimilarName;
        const CompareRun::Outcome outcome = compare(records, boxes({Content}), mode);
        const QSet<std::pair<int, int>> listed = pairsOf(outcome);
        // With every digest alike, the bytes alone must give the same answer.
        ContentCache cache;
        const Pairs colliding = sameTokens(readAsOneGroup(records, cache, collide));
        for (int i = 0; i < records.size(); ++i) {
            for (int j = i + 1; j < records.size(); ++j) {
                QCOMPARE(listed.contains({i, j}), contents.at(i) == contents.at(j));
                QCOMPARE(colliding.contains({i, j}), contents.at(i) == contents.at(j));
            }
        }
    }
}

void tst_ContentCompare::plantedFileIsToldApartByItsBytes_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("planted");
    // 0: a fresh cache; 1: the twins were compared before; 2: so was the
    // planted file, with a copy of its own.
    QTest::addColumn<int>("before");
    const QByteArray big = mixed(3 * 1024 * 1024 + 123);
    QTest::newRow("small") << QByteArray("abcdef") << QByteArray("abcdeg") << 0;
    QTest::newRow("head differs") << big << changedAt(big, 10) << 0;
    QTest::newRow("middle differs") << big << changedAt(big, big.size() / 2) << 0;
    QTest::newRow("past the first chunk") << big << changedAt(big, 1024 * 1024 + 5) << 0;
    QTest::newRow("last byte differs") << big << changedAt(big, big.size() - 1) << 0;
    QTest::newRow("twins compared before") << big << changedAt(big, big.size() / 2) << 1;
    QTest::newRow("both compared before") << big << changedAt(big, big.size() / 2) << 2;
}

void tst_ContentCompare::plantedFileIsToldApartByItsBytes()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, planted);
    QFETCH(int, before);
    QTemporaryDir dir;
    const FileRecord a = written(dir.path(), "a", original);
    const FileRecord b = written(dir.path(), "b", original);
    const FileRecord c = written(dir.path(), "c", planted);
    ContentCache cache;
    if (before >= 1)
        QCOMPARE(sameTokens(readAsOneGroup({a, b}, cache, collide)), (Pairs {{0, 1}}));
    if (before >= 2) {
        const FileRecord copy = written(dir.path(), "copy", planted);
        QCOMPARE(sameTokens(readAsOneGroup({c, copy}, cache, collide)), (Pairs {{0, 1}}));
    }
    const ContentComparison::Outcome outcome = readAsOneGroup({a, b, c}, cache, collide);
    QCOMPARE(sameTokens(outcome), (Pairs {{0, 1}}));
    QCOMPARE(outcome.unreadable, 0);
    QVERIFY(!outcome.stamps.contains(c.fullPath()));
    // Planted beside the only copy, it is no twin of it.
    ContentCache fresh;
    QCOMPARE(sameTokens(readAsOneGroup({a, c}, fresh, collide)), Pairs {});
}

void tst_ContentCompare::replacedFileIsNotRead_data()
{
    QTest::addColumn<bool>("pipe"); // else a link to the twin
    QTest::addColumn<bool>("fromStart"); // else swapped in once the edges are read
    QTest::addColumn<bool>("escape");
    QTest::newRow("link from the start") << false << true << false;
    QTest::newRow("link swapped in") << false << false << false;
    QTest::newRow("pipe swapped in") << true << false << false;
    QTest::newRow("pipe swapped in, then Esc") << true << false << true;
}

void tst_ContentCompare::replacedFileIsNotRead()
{
    QFETCH(bool, pipe);
    QFETCH(bool, fromStart);
    QFETCH(bool, escape);
    QTemporaryDir dir;
    const QList<FileRecord> records
        = {written(dir.path(), "a", mixed(100000)), written(dir.path(), "b", mixed(100000))};
    const QByteArray twin = QFile::encodeName(records.at(0).fullPath());
    const QByteArray path = QFile::encodeName(records.at(1).fullPath());
    const auto replace = [&] {
        QCOMPARE(unlink(path.constData()), 0);
        QCOMPARE(
            pipe ? mkfifo(path.constData(), 0600) : symlink(twin.constData(), path.constData()), 0);
    };
    if (fromStart)
        replace();
    // A reading stuck on the pipe is let go by a writer, and the test fails
    // instead of hanging.
    std::atomic<bool> finished {false};
    std::atomic<bool> stuck {false};
    std::thread watchdog([&] {
        QElapsedTimer timer;
        timer.start();
        while (!finished && timer.elapsed() < 10000)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        while (!finished) {
            stuck = true;
            const int writer = open(path.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                close(writer);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    int stage = 0;
    const auto await = [&](QFuture<void> work, const std::function<int()> &) {
        if (++stage == 1) {
            work.waitForFinished();
            if (!fromStart)
                replace();
            return true;
        }
        if (escape) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return false;
        }
        work.waitForFinished();
        return true;
    };
    ContentCache cache;
    const ContentComparison::Outcome outcome = readAsOneGroup(records, cache, {}, await);
    finished = true;
    watchdog.join();
    QVERIFY(!stuck);
    QCOMPARE(outcome.cancelled, escape);
    if (!escape) {
        QCOMPARE(sameTokens(outcome), Pairs {});
        QCOMPARE(outcome.unreadable, 1);
    }
}

void tst_ContentCompare::contentOtherThanItsSizeIsUnreadable_data()
{
    QTest::addColumn<QString>("odd"); // a file whose size is not its content
    QTest::addColumn<int>("change"); // of b: 1 grows at its edges' digest,
    // 2 grows at its whole digest, 3 shrinks at its whole digest
    QTest::newRow("/proc, reports no size") << QStringLiteral("/proc/self/status") << 0;
    QTest::newRow("/sys, reports more than it holds")
        << QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled") << 0;
    QTest::newRow("grows as its edges are read") << QString() << 1;
    QTest::newRow("grows as it is read whole") << QString() << 2;
    QTest::newRow("shrinks as it is read whole") << QString() << 3;
}

void tst_ContentCompare::contentOtherThanItsSizeIsUnreadable()
{
    QFETCH(QString, odd);
    QFETCH(int, change);
    QTemporaryDir dir;
    QList<FileRecord> records;
    if (!odd.isEmpty()) {
        QFile file(odd);
        if (!file.open(QIODevice::ReadOnly))
            QSKIP("no such file here");
        const QByteArray content = file.readAll();
        const FileRecord record = recordOf(odd);
        const int size = record.field(FileRecord::Size).toInt();
        QVERIFY(content.size() != size);
        // A twin of what the size promised: the bytes there are, cut or
        // padded to it.
        records = {written(dir.path(), "twin", content.leftJustified(size, '\0', true)), record};
    } else {
        records
            = {written(dir.path(), "a", mixed(100000)), written(dir.path(), "b", mixed(100000))};
    }
    const QString b = records.at(1).fullPath();
    QMutex mutex;
    int digests = 0;
    const auto changing = [&](const QString &path, const FileContent::Digest &bytes) {
        const QMutexLocker lock(&mutex);
        if (path != b || ++digests != (change == 1 ? 1 : 2))
            return bytes;
        QFile file(b);
        if (change == 3) {
            file.resize(50000);
        } else if (file.open(QIODevice::Append)) {
            file.write("!");
        }
        return bytes;
    };
    ContentCache cache;
    const ContentComparison::Outcome outcome
        = readAsOneGroup(records, cache, change ? FileContent::Digester(changing) : nullptr);
    QCOMPARE(sameTokens(outcome), Pairs {});
    QCOMPARE(outcome.unreadable, 1);
}

void tst_ContentCompare::largeGroupKeepsFewFilesOpen_data()
{
    QTest::addColumn<int>("kinds"); // file i holds content i % kinds
    QTest::addColumn<int>("odd"); // and this one other content
    QTest::newRow("all alike") << 1 << -1;
    QTest::newRow("two kinds in turn") << 2 << -1;
    QTest::newRow("one odd out") << 1 << 250;
}

void tst_ContentCompare::largeGroupKeepsFewFilesOpen()
{
    QFETCH(int, kinds);
    QFETCH(int, odd);
    QTemporaryDir dir;
    QList<FileRecord> records;
    QList<QByteArray> contents;
    for (int i = 0; i < 300; ++i) {
        const QByteArray content = i == odd ? changedAt(mixed(5000), 2500)
                                            : pattern(5000, static_cast<char>('a' + i % kinds));
        contents.append(content);
        records.append(written(dir.path(), QString::number(i), content));
    }
    // Fewer open files allowed than the group has files.
    struct rlimit limit
    {
    };
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &limit), 0);
    struct rlimit lowered = limit;
    lowered.rlim_cur = 150;
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    ContentCache cache;
    const ContentComparison::Outcome outcome = readAsOneGroup(records, cache, collide);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &limit), 0);
    QCOMPARE(outcome.unreadable, 0);
    const Pairs same = sameTokens(outcome);
    for (int i = 0; i < records.size(); ++i) {
        for (int j = i + 1; j < records.size(); ++j)
            QCOMPARE(same.contains({i, j}), contents.at(i) == contents.at(j));
    }
}

void tst_ContentCompare::sideBySideTellsEachFilesOwnDigest_data()
{
    QTest::addColumn<QByteArrayList>("contents");
    QTest::addColumn<QList<int>>("sameAs");
    QTest::addColumn<bool>("sparse"); // the first file written with a hole
    const QByteArray big = mixed(1024 * 1024 + 100);
    const QByteArray early = changedAt(big, 5), later = changedAt(big, 600000),
                     last = changedAt(big, big.size() - 1);
    QTest::newRow("split in the first chunk")
        << QByteArrayList {big, early, early} << QList<int> {0, 1, 1} << false;
    QTest::newRow("split in a later chunk")
        << QByteArrayList {big, later, later} << QList<int> {0, 1, 1} << false;
    QTest::newRow("split in the last chunk")
        << QByteArrayList {big, last, big, last} << QList<int> {0, 1, 0, 1} << false;
    QTest::newRow("the first alone")
        << QByteArrayList {later, big, big} << QList<int> {0, 1, 1} << false;
    QByteArray holed(2 * 1024 * 1024, '\0');
    holed.replace(700000, 1000, QByteArray(1000, 'x'));
    QTest::newRow("with a hole and written out")
        << QByteArrayList {holed, holed} << QList<int> {0, 0} << true;
}

void tst_ContentCompare::sideBySideTellsEachFilesOwnDigest()
{
    QFETCH(QByteArrayList, contents);
    QFETCH(QList<int>, sameAs);
    QFETCH(bool, sparse);
    QTemporaryDir dir;
    QList<FileContent::Member> members;
    for (int i = 0; i < contents.size(); ++i) {
        const QString path = dir.filePath(QString::number(i));
        if (i == 0 && sparse) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.seek(700000));
            QCOMPARE(file.write(QByteArray(1000, 'x')), 1000);
            QVERIFY(file.resize(contents.at(i).size()));
        } else {
            written(dir.path(), QString::number(i), contents.at(i));
        }
        members.append({path, *FileStamp::of(path)});
    }
    const std::atomic<bool> cancel {false};
    std::atomic<qint64> bytes {0};
    const FileContent::Comparison together
        = FileContent::readSideBySide(members, {}, cancel, bytes);
    QCOMPARE(together.sameAs, sameAs);
    for (int i = 0; i < members.size(); ++i) {
        const FileContent::Comparison alone
            = FileContent::readSideBySide({members.at(i)}, {}, cancel, bytes);
        QVERIFY(together.readings.at(i).ok);
        QVERIFY(alone.readings.at(0).ok);
        QVERIFY(together.readings.at(i).digest == alone.readings.at(0).digest);
    }
}

QTEST_GUILESS_MAIN(tst_ContentCompare)
#include "tst_ContentCompare.moc"
