#include "core/CompareRun.h"
#include "core/ListedContent.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

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

} // namespace

class tst_ContentCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twoFiles_data();
    void twoFiles();
    void unreadableFileIsCounted();
    void criteriaCombineInBothModes();
    void cacheSeesARewriteThatKeepsTheTimes();
    void changedFileIsNoLongerIntact();
    void listedPairsAreByteIdentical();
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

void tst_ContentCompare::cacheSeesARewriteThatKeepsTheTimes()
{
    QTemporaryDir dir;
    const QList<FileRecord> records
        = {written(dir.path(), "a", "same"), written(dir.path(), "b", "same")};
    ContentCache cache;
    QCOMPARE(compare(records, boxes({Content}), SameName, &cache).pairs.size(), 1);
    // Rewritten behind the cache's back with its size and modification time
    // kept: the status-change time still tells the cache it is another file.
    const QByteArray path = QFile::encodeName(records.at(1).fullPath());
    struct stat before
    {
    };
    QCOMPARE(stat(path.constData(), &before), 0);
    QFile file(records.at(1).fullPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QCOMPARE(file.write("diff"), 4);
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    QCOMPARE(utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    QCOMPARE(compare(records, boxes({Content}), SameName, &cache).pairs.size(), 0);
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
        for (int i = 0; i < records.size(); ++i) {
            for (int j = i + 1; j < records.size(); ++j)
                QCOMPARE(listed.contains({i, j}), contents.at(i) == contents.at(j));
        }
    }
}

QTEST_GUILESS_MAIN(tst_ContentCompare)
#include "tst_ContentCompare.moc"
