#include "core/BatchTotals.h"

#include <QTest>

class TestBatchTotals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
};

void TestBatchTotals::text_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("files");
    QTest::addColumn<double>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one and a half MB")
        << QStringLiteral("共删除文件：") << 3 << 1572864.0
        << QStringLiteral("共删除文件：3 个   合计：1536.00 KIB(1.50 MB)(0.00 G)");
    QTest::newRow("figures below one")
        << QStringLiteral("共移动文件：") << 2 << 4000.0
        << QStringLiteral("共移动文件：2 个   合计：3.91 KIB(0.00 MB)(0.00 G)");
    QTest::newRow("beyond four GiB, no grouping")
        << QStringLiteral("共删除文件：") << 40000 << 5.0 * 1024 * 1024 * 1024
        << QStringLiteral("共删除文件：40000 个   合计：5242880.00 KIB(5120.00 MB)(5.00 G)");
}

void TestBatchTotals::text()
{
    QFETCH(QString, prefix);
    QFETCH(int, files);
    QFETCH(double, bytes);
    QFETCH(QString, expected);
    QCOMPARE(batchTotalsText(prefix, files, bytes), expected);
}

QTEST_APPLESS_MAIN(TestBatchTotals)
#include "tst_BatchTotals.moc"
