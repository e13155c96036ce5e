#include "core/PendingList.h"

#include <QTest>

class TestPendingList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void queueing_data();
    void queueing();
    void countsOnlyWhatItAppends();
    void clearPathsKeepsTheCounters();
};

using Paths = QStringList;

void TestPendingList::queueing_data()
{
    QTest::addColumn<Paths>("queued");
    QTest::addColumn<Paths>("expected");

    QTest::newRow("three in turn")
        << Paths {"/a/1", "/a/2", "/b/3"} << Paths {"/a/1", "/a/2", "/b/3"};
    QTest::newRow("same path twice") << Paths {"/a/x", "/a/y", "/a/x"} << Paths {"/a/x", "/a/y"};
    QTest::newRow("leading part of a queued path")
        << Paths {"/m/a.mp3", "/m/a.mp"} << Paths {"/m/a.mp3", "/m/a.mp"};
    QTest::newRow("queued path inside a later one")
        << Paths {"/m/a.mp", "/m/a.mp3", "/x/m/a.mp"} << Paths {"/m/a.mp", "/m/a.mp3", "/x/m/a.mp"};
    QTest::newRow("empty path is never queued") << Paths {"", "/a", ""} << Paths {"/a"};
}

void TestPendingList::queueing()
{
    QFETCH(Paths, queued);
    QFETCH(Paths, expected);
    PendingList list;
    for (const QString &path : queued)
        list.queue(path);
    QCOMPARE(list.paths(), expected);
    QCOMPARE(list.pendingPaths(), expected.join(PendingList::Separator));
    QCOMPARE(list.pendingCount(), 0);
}

void TestPendingList::countsOnlyWhatItAppends()
{
    PendingList list;
    QVERIFY(list.queueCounted("/m/a.mp3", 1000));
    QVERIFY(list.queueCounted("/m/a.mp", 3000));
    QVERIFY(!list.queueCounted("/m/a.mp3", 1000));
    QCOMPARE(list.pendingCount(), 2);
    QCOMPARE(list.pendingBytes(), 4000.0);
    list.clear();
    QVERIFY(list.isEmpty());
    QCOMPARE(list.pendingCount(), 0);
    QCOMPARE(list.pendingBytes(), 0.0);
    // Cleared means forgotten: the path can be queued again.
    QVERIFY(list.queueCounted("/m/a.mp3", 1000));
    QCOMPARE(list.pendingPaths(), QStringLiteral("/m/a.mp3"));
}

void TestPendingList::clearPathsKeepsTheCounters()
{
    PendingList list;
    list.queueCounted("/a", 10);
    list.clearPaths();
    QVERIFY(list.pendingPaths().isEmpty());
    QCOMPARE(list.pendingCount(), 1);
    QCOMPARE(list.pendingBytes(), 10.0);
    QVERIFY(list.queue("/a"));
}

QTEST_APPLESS_MAIN(TestPendingList)
#include "tst_PendingList.moc"
