#include "core/PairSink.h"

#include <QTest>

// The sink every matcher feeds: what it keeps, when it says stop, and how
// far it tells the waiting window the search is.
class tst_PairSink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stopsAtTheLimitOrOnceCancelled_data();
    void stopsAtTheLimitOrOnceCancelled();
    void percentCountsThePairsBeforeTheRecordReached_data();
    void percentCountsThePairsBeforeTheRecordReached();
};

void tst_PairSink::stopsAtTheLimitOrOnceCancelled_data()
{
    QTest::addColumn<bool>("batch"); // addAll instead of add
    QTest::addColumn<bool>("cancel"); // cancelled after the first pair
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("one by one, past the limit") << false << false << 2 << true;
    QTest::newRow("batch, past the limit") << true << false << 2 << true;
    QTest::newRow("one by one, cancelled") << false << true << 1 << false;
    QTest::newRow("batch, cancelled") << true << true << 1 << false;
}

void tst_PairSink::stopsAtTheLimitOrOnceCancelled()
{
    QFETCH(bool, batch);
    QFETCH(bool, cancel);
    QFETCH(int, kept);
    QFETCH(bool, truncated);
    PairSink sink(2, 10);
    QVERIFY(sink.add({0, 1, 10000}));
    if (cancel) {
        sink.cancel();
        QCOMPARE(sink.room(), 0);
    }
    const QList<MatchPair> more = {{0, 2, 10000}, {0, 3, 10000}};
    const bool going = batch ? sink.addAll(more) : sink.add(more[0]) && sink.add(more[1]);
    QVERIFY(!going);
    QVERIFY(sink.full());
    QCOMPARE(sink.truncated(), truncated);
    QCOMPARE(sink.takePairs().size(), kept);
}

void tst_PairSink::percentCountsThePairsBeforeTheRecordReached_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("reached");
    QTest::addColumn<int>("percent");
    // Of four records' six pairs, record 0 has three, record 1 two, record 2 one.
    QTest::newRow("start") << 4 << 0 << 0;
    QTest::newRow("after the first record") << 4 << 1 << 50;
    QTest::newRow("after two") << 4 << 2 << 83;
    QTest::newRow("at the last") << 4 << 3 << 100;
    QTest::newRow("halfway through many") << 1001 << 500 << 74;
    QTest::newRow("one record has no pair") << 1 << 0 << 0;
}

void tst_PairSink::percentCountsThePairsBeforeTheRecordReached()
{
    QFETCH(int, records);
    QFETCH(int, reached);
    PairSink sink(100, records);
    sink.reached(reached);
    QTEST(sink.percent(), "percent");
}

QTEST_GUILESS_MAIN(tst_PairSink)
#include "tst_PairSink.moc"
