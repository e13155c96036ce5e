#include "core/DateTimeText.h"
#include "core/KeepRule.h"
#include "core/LosingFiles.h"
#include "core/PendingList.h"

#include <QRandomGenerator>
#include <QTest>

#include <numeric>

using KeepRule::Kept;
using Time = std::optional<QDateTime>;
Q_DECLARE_METATYPE(Time)
Q_DECLARE_METATYPE(Kept)
Q_DECLARE_METATYPE(KeepFacts)
Q_DECLARE_METATYPE(ListedPair)

class TestKeepRule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decide_data();
    void decide();
    void eachTimeRuleReadsItsOwnField();
    void readSize_data();
    void readSize();
    void walk_data();
    void walk();
    void missingChosenFileIsMarkedNotCounted();
    void everyGroupKeepsAFile();
};

static Time at(int day, int second = 0)
{
    return QDateTime(QDate(2024, 3, day), QTime(10, 0, second));
}

static KeepFacts facts(double size, Time time)
{
    return KeepFacts {size, time, time, time};
}

void TestKeepRule::decide_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<KeepFacts>("file1");
    QTest::addColumn<KeepFacts>("file2");
    QTest::addColumn<Kept>("kept");

    const KeepFacts small = facts(100, at(1));
    const KeepFacts big = facts(200, at(2));
    const KeepFacts alsoSmall = facts(100, at(1));
    const KeepFacts unreadable = facts(100, std::nullopt);

    QTest::newRow("0 always file 1") << 0 << big << small << Kept::File1;
    QTest::newRow("1 always file 2") << 1 << small << big << Kept::File2;
    QTest::newRow("2 equal sizes keep file 1") << 2 << small << alsoSmall << Kept::File1;
    QTest::newRow("3 equal sizes keep file 2") << 3 << small << alsoSmall << Kept::File2;
    QTest::newRow("2 larger second") << 2 << small << big << Kept::File2;
    QTest::newRow("2 larger first") << 2 << big << small << Kept::File1;
    QTest::newRow("3 smaller first") << 3 << small << big << Kept::File1;
    QTest::newRow("3 smaller second") << 3 << big << small << Kept::File2;
    for (int rule = 4; rule <= 9; ++rule) {
        const QByteArray r = QByteArray::number(rule);
        QTest::newRow(r + " same second keeps file 1") << rule << small << alsoSmall << Kept::File1;
        QTest::newRow(r + " both unreadable keep file 1")
            << rule << unreadable << unreadable << Kept::File1;
        const Kept earlierWins = rule % 2 == 0 ? Kept::File1 : Kept::File2;
        const Kept laterWins = rule % 2 == 0 ? Kept::File2 : Kept::File1;
        QTest::newRow(r + " file 1 earlier") << rule << small << big << earlierWins;
        QTest::newRow(r + " file 2 earlier") << rule << big << small << laterWins;
        QTest::newRow(r + " unreadable is earliest, first")
            << rule << unreadable << small << earlierWins;
        QTest::newRow(r + " unreadable is earliest, second")
            << rule << small << unreadable << laterWins;
    }
    QTest::newRow("one second apart")
        << 9 << facts(1, at(5, 1)) << facts(1, at(5, 0)) << Kept::File1;
}

void TestKeepRule::decide()
{
    QFETCH(int, rule);
    QFETCH(KeepFacts, file1);
    QFETCH(KeepFacts, file2);
    QFETCH(Kept, kept);
    QCOMPARE(KeepRule::decide(rule, file1, file2), std::optional<Kept>(kept));
}

void TestKeepRule::eachTimeRuleReadsItsOwnField()
{
    // created: file 1 earlier; modified: file 2 earlier; accessed: equal.
    const KeepFacts file1 {1, at(1), at(9), at(4)};
    const KeepFacts file2 {1, at(2), at(8), at(4)};
    const Kept expected[]
        = {Kept::File1, Kept::File2, Kept::File2, Kept::File1, Kept::File1, Kept::File1};
    for (int rule = 4; rule <= 9; ++rule)
        QCOMPARE(KeepRule::decide(rule, file1, file2), std::optional<Kept>(expected[rule - 4]));
    QVERIFY(!KeepRule::decide(-1, file1, file2));
    QVERIFY(!KeepRule::decide(KeepRule::Count, file1, file2));
}

void TestKeepRule::readSize_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("size");
    QTest::newRow("bytes") << "1572864" << 1572864.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "大小" << 0.0;
    QTest::newRow("leading part") << " 12 字节" << 12.0;
    QTest::newRow("fraction") << "1.5KB" << 1.5;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("beyond 32 bits") << "8589934592" << 8589934592.0;
}

void TestKeepRule::readSize()
{
    QFETCH(QString, cell);
    QFETCH(double, size);
    QCOMPARE(KeepRule::readSize(cell), size);
}

// Files are named by letters A, B, C ... in catalogue order, all the same size
// and time unless the table says otherwise.
static ListedPair pair(QChar a, QChar b, double sizeA = 1, double sizeB = 1)
{
    return ListedPair {0, QStringLiteral("/d/") + a, QStringLiteral("/d/") + b, facts(sizeA, at(1)),
        facts(sizeB, at(1))};
}

void TestKeepRule::walk_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<QList<ListedPair>>("pairs");
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<double>("bytes");

    const QList<ListedPair> three {pair('A', 'B'), pair('A', 'C'), pair('B', 'C')};
    QTest::newRow("three identical, rule 0") << 0 << three << QStringList {"/d/B", "/d/C"} << 2.0;
    QTest::newRow("three identical, rule 1") << 1 << three << QStringList {"/d/A", "/d/B"} << 2.0;
    const QList<ListedPair> chain {pair('A', 'B'), pair('B', 'C')};
    QTest::newRow("chain, rule 1") << 1 << chain << QStringList {"/d/A", "/d/B"} << 2.0;
    QTest::newRow("chain, rule 0") << 0 << chain << QStringList {"/d/B", "/d/C"} << 2.0;
    QTest::newRow("sizes counted once")
        << 3 << QList<ListedPair> {pair('A', 'B', 1000, 3000), pair('C', 'B', 500, 3000)}
        << QStringList {"/d/B"} << 3000.0;
    ListedPair mp3 {0, "/m/a.mp3", "/m/a.mp", facts(10, at(1)), facts(20, at(1))};
    ListedPair mp {0, "/m/x", "/m/a.mp", facts(30, at(1)), facts(20, at(1))};
    ListedPair mp3Loses {0, "/m/a.mp3", "/m/y", facts(10, at(1)), facts(40, at(1))};
    QTest::newRow("a.mp after a.mp3")
        << 2 << QList<ListedPair> {mp3Loses, mp} << QStringList {"/m/a.mp3", "/m/a.mp"} << 30.0;
    QTest::newRow("a.mp3 and a.mp paired")
        << 0 << QList<ListedPair> {mp3} << QStringList {"/m/a.mp"} << 20.0;
    QTest::newRow("empty list") << 0 << QList<ListedPair> {} << QStringList {} << 0.0;
}

void TestKeepRule::walk()
{
    QFETCH(int, rule);
    QFETCH(QList<ListedPair>, pairs);
    QFETCH(QStringList, queued);
    QFETCH(double, bytes);
    PendingList list;
    list.queueCounted("/left/over", 7);
    const QList<int> missing
        = queueLosingFiles(rule, pairs, list, [](const ListedPair &, int) { return true; });
    QVERIFY(missing.isEmpty());
    QCOMPARE(list.paths(), queued);
    QCOMPARE(list.pendingCount(), queued.size());
    QCOMPARE(list.pendingBytes(), bytes);
}

void TestKeepRule::missingChosenFileIsMarkedNotCounted()
{
    QList<ListedPair> pairs {pair('A', 'B', 1, 2), pair('A', 'C', 1, 4), pair('B', 'C', 2, 4)};
    for (int i = 0; i < pairs.size(); ++i)
        pairs[i].row = i + 1;
    PendingList list;
    QStringList asked;
    const QList<int> missing
        = queueLosingFiles(0, pairs, list, [&](const ListedPair &pair, int file) {
              const QString &path = file == 1 ? pair.path1 : pair.path2;
              asked << path + " for " + (file == 1 ? pair.path2 : pair.path1);
              return path != QStringLiteral("/d/C");
          });
    QCOMPARE(missing, (QList<int> {2, 3}));
    // Each chosen file is asked about together with the twin of its row.
    QCOMPARE(asked, (QStringList {"/d/B for /d/A", "/d/C for /d/A", "/d/C for /d/B"}));
    QCOMPARE(list.paths(), QStringList {"/d/B"});
    QCOMPARE(list.pendingCount(), 1);
    QCOMPARE(list.pendingBytes(), 2.0);
}

// The promise users need most: whatever pairs the compare run listed, in
// whatever order the grid shows them, no connected group of files loses all
// its members under any rule.
void TestKeepRule::everyGroupKeepsAFile()
{
    QRandomGenerator random(20240301);
    int chainsSeen = 0;
    for (int round = 0; round < 3000; ++round) {
        const int files = 2 + int(random.bounded(7));
        QList<KeepFacts> file;
        for (int f = 0; f < files; ++f) {
            // Few distinct values, so equal sizes and times are common.
            // A time in the local zone's daylight-saving gap reads as unreadable.
            const auto time = [&]() -> Time {
                const int pick = int(random.bounded(5));
                if (pick == 4)
                    return DateTimeText::parse(u"1988/4/17 2:30:00");
                return pick == 3 ? std::nullopt : at(1 + pick, int(random.bounded(2)));
            };
            file.append(KeepFacts {double(100 * random.bounded(3)), time(), time(), time()});
        }
        QList<ListedPair> pairs;
        for (int a = 0; a < files; ++a)
            for (int b = a + 1; b < files; ++b)
                if (random.bounded(3) == 0)
                    pairs.append(
                        ListedPair {0, QString::number(a), QString::number(b), file[a], file[b]});
        // Any order the grid might be sorted in.
        for (qsizetype i = pairs.size() - 1; i > 0; --i)
            pairs.swapItemsAt(i, random.bounded(i + 1));

        std::vector<int> group(static_cast<size_t>(files));
        std::iota(group.begin(), group.end(), 0);
        const auto root = [&](int f) {
            while (group[size_t(f)] != f)
                f = group[size_t(f)];
            return f;
        };
        for (const ListedPair &p : pairs)
            group[size_t(root(p.path1.toInt()))] = root(p.path2.toInt());
        for (const ListedPair &p : pairs)
            for (const ListedPair &q : pairs)
                if (p.path2 == q.path1) {
                    const bool closed = std::any_of(pairs.begin(), pairs.end(),
                        [&](auto &r) { return r.path1 == p.path1 && r.path2 == q.path2; });
                    chainsSeen += closed ? 0 : 1;
                }

        for (int rule = 0; rule < KeepRule::Count; ++rule) {
            PendingList list;
            queueLosingFiles(rule, pairs, list, [](const ListedPair &, int) { return true; });
            const QStringList lost = list.paths();
            QCOMPARE(list.pendingCount(), lost.size());
            for (int g = 0; g < files; ++g) {
                bool listed = false;
                bool keepsOne = false;
                for (int f = 0; f < files; ++f) {
                    if (root(f) != g)
                        continue;
                    const QString name = QString::number(f);
                    const bool inPair = std::any_of(pairs.begin(), pairs.end(),
                        [&](auto &p) { return p.path1 == name || p.path2 == name; });
                    listed = listed || inPair;
                    keepsOne = keepsOne || (inPair && !lost.contains(name));
                }
                if (listed && !keepsOne)
                    QFAIL(qPrintable(QStringLiteral("round %1, rule %2: group of file %3 lost "
                                                    "every file")
                                         .arg(round)
                                         .arg(rule)
                                         .arg(g)));
            }
        }
    }
    // The random lists must really hold chains without their closing pair.
    QVERIFY(chainsSeen > 100);
}

QTEST_APPLESS_MAIN(TestKeepRule)
#include "tst_KeepRule.moc"
