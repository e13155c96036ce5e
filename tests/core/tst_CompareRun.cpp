#include "core/CompareRun.h"
#include "core/NameSimilarity.h"
#include "core/PairSink.h"
#include "core/SimilarNameMatcher.h"

#include "../support/PlainCompareLoop.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <QThreadPool>

namespace {

FileRecord record(const QString &name, const QString &size = QStringLiteral("4096"),
    const QString &type = QStringLiteral("MP3 File"))
{
    FileRecord r;
    r.fields = {name, QStringLiteral("/a/"), size, QStringLiteral("2024/1/2 3:04:05"),
        QStringLiteral("2024/1/2 3:04:06"), QStringLiteral("2024/1/2 3:04:07"), type};
    return r;
}

QList<FileRecord> randomCatalogue(QRandomGenerator &random, int count)
{
    static const QStringList stems = {QStringLiteral("abc"), QStringLiteral("ABC"),
        QStringLiteral("abcd"), QStringLiteral("dcba"), QStringLiteral("aab"),
        QStringLiteral("abb"), QStringLiteral("Song"), QStringLiteral("song"),
        QStringLiteral("a.b"), QStringLiteral("工作报告"), QStringLiteral("工作报告-副本"),
        QStringLiteral("晴天 (Live)"), QStringLiteral(""), QStringLiteral("a"),
        QStringLiteral("aaa"), QStringLiteral("Ünïcødé"), QStringLiteral("x\ty")};
    static const QStringList extensions = {QStringLiteral(".mp3"), QStringLiteral(".MP3"),
        QStringLiteral(".wma"), QStringLiteral(""), QStringLiteral(".mpeg"), QStringLiteral(".")};
    static const QStringList pads
        = {QString(), QString(), QString(), QStringLiteral(" "), QStringLiteral("  ")};
    static const QStringList sizes = {QStringLiteral("100"), QStringLiteral("101"),
        QStringLiteral("4096"), QStringLiteral("1.5")};
    static const QStringList times = {QStringLiteral("2024/1/2 3:04:05"),
        QStringLiteral("2024/1/2"), QStringLiteral("2023/12/31 23:59:59")};
    static const QStringList types = {QStringLiteral("MP3 File"), QStringLiteral("mp3 file"),
        QStringLiteral("WMA 音频"), QStringLiteral(" MP3 File")};
    auto pick = [&](const QStringList &list) {
        return list.at(random.bounded(static_cast<int>(list.size())));
    };
    QList<FileRecord> records;
    for (int i = 0; i < count; ++i) {
        FileRecord r;
        r.fields = {pick(pads) + pick(stems) + pick(extensions) + pick(pads),
            QStringLiteral("/%1/").arg(random.bounded(4)), pick(sizes), pick(times), pick(times),
            pick(times), pick(types)};
        // Some records are one file under two paths (a hard link, a bind
        // mount); some have no stamp at all.
        if (random.bounded(4) != 0) {
            FileStamp stamp;
            stamp.device = random.bounded(2);
            stamp.inode = random.bounded(count / 2 + 1);
            r.stamp = stamp;
        }
        records.append(r);
    }
    return records;
}

// Names drawn from more characters than the similar-name screen gives bits
// of their own, so that some characters of most names are rare.
QList<FileRecord> manyCharacterCatalogue(QRandomGenerator &random, int count)
{
    QList<FileRecord> records;
    for (int i = 0; i < count; ++i) {
        QString name;
        const int length = 1 + random.bounded(9);
        for (int c = 0; c < length; ++c) {
            // Half from a few common letters, half from 600 ideographs.
            name += random.bounded(2) ? QChar(u'a' + random.bounded(6))
                                      : QChar(char16_t(0x4e00 + random.bounded(600)));
        }
        records.append(record(name + QStringLiteral(".mp3")));
        records.last().fields[FileRecord::Folder] = QStringLiteral("/%1/").arg(i);
    }
    return records;
}

CompareCriteria fromMask(int mask)
{
    // Bits 0..5 stand for the boxes 0, 2, 3, 4, 5, 6.
    CompareCriteria criteria;
    static const int boxes[] = {0, 2, 3, 4, 5, 6};
    for (int b = 0; b < 6; ++b)
        criteria.slots[static_cast<size_t>(boxes[b])] = (mask >> b) & 1;
    return criteria;
}

CompareRun::Outcome fast(const QList<FileRecord> &records, const CompareCriteria &criteria,
    int mode, const QString &threshold, qsizetype limit = CompareRun::PairLimit)
{
    CompareRun::Options options;
    options.criteria = criteria;
    options.mode = mode;
    options.threshold = threshold;
    options.pairLimit = limit;
    return CompareRun::run(records, options);
}

QString describe(const QList<MatchPair> &pairs)
{
    QStringList parts;
    for (const MatchPair &p : pairs)
        parts.append(QStringLiteral("(%1,%2,%3)").arg(p.first).arg(p.second).arg(p.score));
    return parts.join(QLatin1Char(' '));
}

const QStringList Thresholds = {QStringLiteral("0"), QStringLiteral("66"), QStringLiteral("67"),
    QStringLiteral("75"), QStringLiteral("100"), QStringLiteral("101"), QStringLiteral("x"),
    QStringLiteral(" 57.14"), QStringLiteral("33.335")};
} // namespace

class tst_CompareRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesPlainLoop_data();
    void matchesPlainLoop();
    void matchesPlainLoopAcrossWorkUnits_data();
    void matchesPlainLoopAcrossWorkUnits();
    void listedCases_data();
    void listedCases();
    void oneFileIsNoPair_data();
    void oneFileIsNoPair();
    void stopsAtPairLimit_data();
    void stopsAtPairLimit();
    void nameHoldingStarKeepsItsFields();
    void progressMovesForward();
};

void tst_CompareRun::matchesPlainLoop_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("count");
    for (quint32 seed = 1; seed <= 6; ++seed)
        QTest::addRow("seed %u", seed) << seed << int(12 + 9 * seed);
}

void tst_CompareRun::matchesPlainLoop()
{
    QFETCH(quint32, seed);
    QFETCH(int, count);
    QRandomGenerator random(seed);
    const QList<FileRecord> records = randomCatalogue(random, count);
    for (int mask = 1; mask < 64; ++mask) {
        const CompareCriteria criteria = fromMask(mask);
        for (int mode : {1, 3}) {
            const auto expected
                = PlainCompareLoop::run(records, criteria, mode, QString(), 1 << 30);
            const auto actual = fast(records, criteria, mode, QStringLiteral("x"));
            QVERIFY2(actual.pairs == expected.pairs,
                qPrintable(QStringLiteral("mode %1 boxes %2\n got  %3\n want %4")
                               .arg(mode)
                               .arg(mask)
                               .arg(describe(actual.pairs), describe(expected.pairs))));
        }
        for (const QString &threshold : Thresholds) {
            const auto expected = PlainCompareLoop::run(records, criteria, 2, threshold, 1 << 30);
            const auto actual = fast(records, criteria, 2, threshold);
            QVERIFY2(actual.pairs == expected.pairs,
                qPrintable(QStringLiteral("similar %1 boxes %2\n got  %3\n want %4")
                               .arg(threshold)
                               .arg(mask)
                               .arg(describe(actual.pairs), describe(expected.pairs))));
            QVERIFY(!actual.truncated);
        }
    }
}

void tst_CompareRun::matchesPlainLoopAcrossWorkUnits_data()
{
    QTest::addColumn<bool>("manyCharacters");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<int>("limit");
    // Enough pairs that the similar-name run splits the catalogue into
    // several units of work of its own size, run on more than one thread.
    QTest::newRow("2300 records at 67") << false << 2300 << "67" << (1 << 30);
    QTest::newRow("2300 records at 100") << false << 2300 << "100" << (1 << 30);
    QTest::newRow("rare characters at 50") << true << 700 << "50" << (1 << 30);
    QTest::newRow("rare characters at 30") << true << 700 << "30" << (1 << 30);
    QTest::newRow("limit inside a unit") << true << 700 << "30" << 997;
}

void tst_CompareRun::matchesPlainLoopAcrossWorkUnits()
{
    QFETCH(bool, manyCharacters);
    QFETCH(int, count);
    QFETCH(QString, threshold);
    QFETCH(int, limit);
    QRandomGenerator random(99);
    const QList<FileRecord> records
        = manyCharacters ? manyCharacterCatalogue(random, count) : randomCatalogue(random, count);
    const CompareCriteria nameOnly = fromMask(1);
    const auto expected = PlainCompareLoop::run(records, nameOnly, 2, threshold, limit);
    const auto actual = fast(records, nameOnly, 2, threshold, limit);
    QCOMPARE(actual.pairs.size(), expected.pairs.size());
    QVERIFY(actual.pairs == expected.pairs);
    QCOMPARE(actual.truncated, expected.truncated);

    // Every record a unit of its own, taken by more threads than the
    // machine may have, so that units finish out of order; with and
    // without the processor's vector bit count.
    QThreadPool *pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(4);
    const auto restore = qScopeGuard([&] {
        SimilarNameMatcher::allowVectorBitCount(true);
        pool->setMaxThreadCount(threads);
    });
    const SimilarNameMatcher matcher(records, nameOnly, SimilarityThreshold::read(threshold));
    for (const bool vector : {true, false}) {
        SimilarNameMatcher::allowVectorBitCount(vector);
        PairSink sink(limit, count);
        matcher.collect(sink, 1);
        QCOMPARE(sink.truncated(), expected.truncated);
        QVERIFY2(sink.takePairs() == expected.pairs, vector ? "vector" : "plain");
    }
}

void tst_CompareRun::listedCases_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("pairs");

    const QStringList same = {"4096", "4096", "4096"};
    QTest::newRow("three equal files")
        << QStringList {"a.mp3", "a.mp3", "a.mp3"} << same << 1 << 1 << ""
        << "(0,1,10000) (0,2,10000) (1,2,10000)";
    QTest::newRow("case of name ignored, extension not")
        << QStringList {"Song.MP3", "song.mp3", "song.wma"} << same << 1 << 1 << ""
        << "(0,1,10000)";
    QTest::newRow("sizes differ") << QStringList {"a.mp3", "a.mp3"} << QStringList {"100", "101"}
                                  << 3 << 1 << ""
                                  << "";
    QTest::newRow("size alone") << QStringList {"x.mp3", "y.wma", "z"}
                                << QStringList {"7", "8", "7"} << 2 << 1 << ""
                                << "(0,2,10000)";
    QTest::newRow("other extension at 100")
        << QStringList {"song.mp3", "song.wma"} << same.mid(1) << 1 << 2 << "100"
        << "(0,1,10000)";
    QTest::newRow("abc/abcd at 75")
        << QStringList {"abc.mp3", "abcd.mp3"} << same.mid(1) << 1 << 2 << "75"
        << "(0,1,7500)";
    QTest::newRow("abc/abcd at 76")
        << QStringList {"abc.mp3", "abcd.mp3"} << same.mid(1) << 1 << 2 << "76"
        << "";
    QTest::newRow("aab/abb at 66")
        << QStringList {"aab.mp3", "abb.mp3"} << same.mid(1) << 1 << 2 << "66"
        << "(0,1,6667)";
    QTest::newRow("aab/abb at 67")
        << QStringList {"aab.mp3", "abb.mp3"} << same.mid(1) << 1 << 2 << "67"
        << "";
    QTest::newRow("score equal to threshold passes")
        << QStringList {"abcdefghijklmn.mp3", "a.mp3"} << same.mid(1) << 1 << 2 << "7.14"
        << "(0,1,714)";
    QTest::newRow("one record") << QStringList {"a.mp3"} << same.mid(2) << 1 << 1 << ""
                                << "";
    QTest::newRow("empty catalogue") << QStringList {} << QStringList {} << 1 << 2 << "0"
                                     << "";
}

void tst_CompareRun::listedCases()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sizes);
    QFETCH(int, mask);
    QFETCH(int, mode);
    QFETCH(QString, threshold);
    QList<FileRecord> records;
    for (qsizetype i = 0; i < names.size(); ++i) {
        records.append(record(names[i], sizes[i]));
        records.last().fields[FileRecord::Folder] = QStringLiteral("/%1/").arg(i);
    }
    const auto outcome = fast(records, fromMask(mask), mode, threshold);
    QTEST(describe(outcome.pairs), "pairs");
}

void tst_CompareRun::oneFileIsNoPair_data()
{
    // Two records of a.mp3 with equal keys; which file each path leads to.
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("folder2");
    QTest::addColumn<int>("device2"); // -1: no stamp
    QTest::addColumn<int>("inode2");
    QTest::addColumn<bool>("listed");
    for (const int mode : {1, 2}) {
        QTest::addRow("mode %d: same inode under another path", mode)
            << mode << QStringLiteral("/b/") << 1 << 7 << false;
        QTest::addRow("mode %d: same inode on another device", mode)
            << mode << QStringLiteral("/b/") << 2 << 7 << true;
        QTest::addRow("mode %d: another inode", mode)
            << mode << QStringLiteral("/b/") << 1 << 8 << true;
        QTest::addRow("mode %d: one path, stamps differ", mode)
            << mode << QStringLiteral("/a/") << 1 << 8 << false;
        QTest::addRow("mode %d: other path not read", mode)
            << mode << QStringLiteral("/b/") << -1 << 7 << true;
    }
}

void tst_CompareRun::oneFileIsNoPair()
{
    QFETCH(int, mode);
    QFETCH(QString, folder2);
    QFETCH(int, device2);
    QFETCH(int, inode2);
    QFETCH(bool, listed);
    FileRecord first = record(QStringLiteral("a.mp3"));
    first.stamp = FileStamp {1, 7, 4096, 0, 0};
    FileRecord second = record(QStringLiteral("a.mp3"));
    second.fields[FileRecord::Folder] = folder2;
    if (device2 >= 0)
        second.stamp = FileStamp {quint64(device2), quint64(inode2), 4096, 0, 0};
    // A third, separate copy keeps the run from being trivially empty.
    FileRecord third = record(QStringLiteral("a.mp3"));
    third.fields[FileRecord::Folder] = QStringLiteral("/c/");
    third.stamp = FileStamp {1, 9, 4096, 0, 0};
    const auto outcome = fast({first, second, third}, fromMask(3), mode, QStringLiteral("100"));
    QCOMPARE(describe(outcome.pairs),
        listed ? QStringLiteral("(0,1,10000) (0,2,10000) (1,2,10000)")
               : QStringLiteral("(0,2,10000) (1,2,10000)"));
}

void tst_CompareRun::stopsAtPairLimit_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("limit");
    for (int limit : {0, 1, 5, 36})
        for (int mode : {1, 2})
            QTest::addRow("mode %d limit %d", mode, limit) << mode << 2 << limit;
}

void tst_CompareRun::stopsAtPairLimit()
{
    QFETCH(int, mode);
    QFETCH(int, mask);
    QFETCH(int, limit);
    // Nine files of one size: 36 pairs in either mode with only the size box.
    QList<FileRecord> records;
    for (int i = 0; i < 9; ++i)
        records.append(record(QStringLiteral("f%1.mp3").arg(i)));
    const auto expected
        = PlainCompareLoop::run(records, fromMask(mask), mode, QStringLiteral("0"), limit);
    const auto actual = fast(records, fromMask(mask), mode, QStringLiteral("0"), limit);
    QCOMPARE(describe(actual.pairs), describe(expected.pairs));
    QCOMPARE(actual.pairs.size(), qsizetype(limit));
    QCOMPARE(actual.truncated, limit < 36);
}

void tst_CompareRun::nameHoldingStarKeepsItsFields()
{
    // A name may hold "*" here: it stays one field, so the size is still
    // compared exactly as the tail.
    const QList<FileRecord> records = {record(QStringLiteral("a*b.mp3"), QStringLiteral("1")),
        record(QStringLiteral("a*b.wma"), QStringLiteral("1")),
        record(QStringLiteral("a*b.mp3"), QStringLiteral("2"))};
    const auto outcome = fast(records, fromMask(3), 2, QStringLiteral("100"));
    QCOMPARE(describe(outcome.pairs), QStringLiteral("(0,1,10000)"));
}

void tst_CompareRun::progressMovesForward()
{
    QRandomGenerator random(5);
    const QList<FileRecord> records = randomCatalogue(random, 400);
    for (int mode : {1, 2}) {
        CompareRun::Options options;
        options.criteria = fromMask(1);
        options.mode = mode;
        options.threshold = QStringLiteral("90");
        const auto listed = CompareRun::run(records, options).pairs;
        QList<int> reached;
        QList<int> percents;
        // Watched from the waiting thread while the search runs.
        options.awaitPairs = [&](const QFuture<void> &work, const PairSink &sink) {
            do {
                reached.append(sink.reachedRecord());
                percents.append(sink.percent());
                QThread::yieldCurrentThread();
            } while (!work.isFinished());
            return true;
        };
        QCOMPARE(CompareRun::run(records, options).pairs, listed);
        QVERIFY(std::is_sorted(reached.begin(), reached.end()));
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QVERIFY(reached.first() >= 0 && reached.last() < records.size());
        QVERIFY(percents.first() >= 0 && percents.last() <= 100);

        // Cancelled while the search may still run: nothing is listed.
        options.awaitPairs = [](const QFuture<void> &, const PairSink &) { return false; };
        const CompareRun::Outcome cancelled = CompareRun::run(records, options);
        QVERIFY(cancelled.cancelled);
        QVERIFY(cancelled.pairs.isEmpty());
        QVERIFY(!cancelled.truncated);
    }
}

QTEST_GUILESS_MAIN(tst_CompareRun)
#include "tst_CompareRun.moc"
