#include "core/ColumnWidthTable.h"
#include "core/MatchRows.h"

#include <QTest>

namespace {
FileRecord record(const QString &name, const QString &folder, const QString &size)
{
    FileRecord r;
    r.fields = {name, folder, size, QStringLiteral("2024/1/2 3:04:05"), QStringLiteral("2024/1/2"),
        QStringLiteral("2024/1/2 3:04:07"), QStringLiteral("MP3 文件")};
    return r;
}

const QList<FileRecord> Records = {record(QStringLiteral("a.mp3"), QStringLiteral("/x/"), "1"),
    record(QStringLiteral("长长的名字.mp3"), QStringLiteral("/music/long/"), "4096"),
    record(QStringLiteral("b.mp3"), QStringLiteral("/y/"), "22")};
} // namespace

class tst_MatchRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowLayout();
    void texts_data();
    void texts();
    void widthsPerSide();
};

void tst_MatchRows::rowLayout()
{
    const QList<MatchPair> pairs = {{0, 2, 10000}, {1, 2, 5714}};
    const QList<QStringList> rows = MatchRows::rows(Records, pairs);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1],
        (QStringList {"2", "57.14%", "长长的名字.mp3", "b.mp3", "/music/long/", "/y/", "4096", "22",
            "2024/1/2 3:04:05", "2024/1/2 3:04:05", "2024/1/2", "2024/1/2", "2024/1/2 3:04:07",
            "2024/1/2 3:04:07", "MP3 文件", "MP3 文件"}));
    QCOMPARE(rows[0].mid(0, 4), (QStringList {"1", "100.00%", "a.mp3", "b.mp3"}));
    // The full path of each file is its folder cell followed by its name cell.
    QCOMPARE(rows[1][4] + rows[1][2], Records[1].fullPath());
    QCOMPARE(rows[1][5] + rows[1][3], Records[2].fullPath());
}

void tst_MatchRows::texts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << MatchRows::resultText(0) << "没有找到相同的文件";
    QTest::newRow("some") << MatchRows::resultText(3) << "对比结果：3 组符合项";
    QTest::newRow("notice") << MatchRows::limitNoticeText(1000000)
                            << "匹配的文件对超过 1000000 组，只列出了前 1000000 "
                               "组。请勾选更多对比项目或提高相似度后重新对比。";
}

void tst_MatchRows::texts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void tst_MatchRows::widthsPerSide()
{
    QStringList measured;
    const auto measure = [&](const QString &text) {
        measured.append(text);
        return static_cast<int>(text.size());
    };
    // Record 1 is only ever file 1, record 2 only file 2, record 0 both.
    const QList<MatchPair> pairs = {{0, 2, 1}, {1, 2, 1}, {1, 0, 1}, {0, 2, 1}};
    const ColumnWidthTable table = ColumnWidthTable::measure(Records, pairs, measure);
    QCOMPARE(table.width(0), 1); // "4", the largest row number
    QCOMPARE(table.width(1), 0);
    QCOMPARE(table.width(2), int(QStringLiteral("长长的名字.mp3").size()));
    QCOMPARE(table.width(3), 5);
    QCOMPARE(table.width(4), 12);
    QCOMPARE(table.width(5), 3);
    QCOMPARE(table.width(6), 4);
    QCOMPARE(table.width(7), 2);
    QCOMPARE(table.width(15), int(QStringLiteral("MP3 文件").size()));
    // Each distinct text once: 3 names, 3 folders, 3 sizes, 3 times, 1 type,
    // and the row count.
    QCOMPARE(measured.size(), 14);
    QCOMPARE(measured.removeDuplicates(), 0);

    const ColumnWidthTable none = ColumnWidthTable::measure(Records, {}, measure);
    QVERIFY(std::all_of(none.widths().begin(), none.widths().end(), [](int w) { return w == 0; }));
}

QTEST_GUILESS_MAIN(tst_MatchRows)
#include "tst_MatchRows.moc"
