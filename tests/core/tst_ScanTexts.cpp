#include "core/DateTimeText.h"
#include "core/Failure.h"
#include "core/FilePattern.h"
#include "core/ScanTotals.h"
#include "core/TwoDecimals.h"

#include <QTest>

#include <cerrno>
#include <stdexcept>
#include <system_error>

class TestScanTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatsDateTimes_data();
    void formatsDateTimes();
    void parsesWhatItFormats();
    void rejectsMalformedDateTimes_data();
    void rejectsMalformedDateTimes();
    void roundsTwoDecimals_data();
    void roundsTwoDecimals();
    void matchesPatterns_data();
    void matchesPatterns();
    void buildsTotals_data();
    void buildsTotals();
    void describesFailures();
};

void TestScanTexts::formatsDateTimes_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("no leading zeros")
        << QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)) << QStringLiteral("2021/3/4 5:06:07");
    QTest::newRow("two-digit fields") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                      << QStringLiteral("1999/12/31 23:59:59");
    QTest::newRow("midnight gives the date alone")
        << QDateTime(QDate(2020, 1, 2), QTime(0, 0, 0)) << QStringLiteral("2020/1/2");
    QTest::newRow("one second past midnight")
        << QDateTime(QDate(2020, 1, 2), QTime(0, 0, 1)) << QStringLiteral("2020/1/2 0:00:01");
    QTest::newRow("noon") << QDateTime(QDate(2020, 1, 2), QTime(12, 0, 0))
                          << QStringLiteral("2020/1/2 12:00:00");
}

void TestScanTexts::formatsDateTimes()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, text);
    QCOMPARE(DateTimeText::format(value), text);
}

void TestScanTexts::parsesWhatItFormats()
{
    const QList<QDateTime> values = {
        QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)),
        QDateTime(QDate(2020, 1, 2), QTime(0, 0)),
        QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)),
        QDateTime(QDate(1980, 10, 10), QTime(10, 10, 10)),
    };
    for (const QDateTime &value : values) {
        const auto back = DateTimeText::parse(DateTimeText::format(value));
        QVERIFY2(back.has_value(), qPrintable(DateTimeText::format(value)));
        QCOMPARE(*back, value);
    }
    // Order by the parsed value, not by the text ("2020/10/1" < "2020/9/1" as text).
    QVERIFY(*DateTimeText::parse(u"2020/9/1") < *DateTimeText::parse(u"2020/10/1"));
}

void TestScanTexts::rejectsMalformedDateTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("no such day") << QStringLiteral("2021/2/29");
    QTest::newRow("month 13") << QStringLiteral("2021/13/1");
    QTest::newRow("hour 24") << QStringLiteral("2021/1/1 24:00:00");
    QTest::newRow("one-digit minute") << QStringLiteral("2021/1/1 1:2:03");
    QTest::newRow("missing seconds") << QStringLiteral("2021/1/1 1:02");
    QTest::newRow("trailing text") << QStringLiteral("2021/1/1 1:02:03 x");
    QTest::newRow("dash date") << QStringLiteral("2021-01-01");
    QTest::newRow("two-digit year") << QStringLiteral("21/1/1");
    QTest::newRow("trailing space") << QStringLiteral("2021/1/1 ");
    // The clocks went from 2:00 to 3:00 that night in the tests' zone.
    QTest::newRow("daylight-saving gap") << QStringLiteral("1988/4/17 2:30:00");
}

void TestScanTexts::rejectsMalformedDateTimes()
{
    QFETCH(QString, text);
    QVERIFY(!DateTimeText::parse(text).has_value());
}

void TestScanTexts::roundsTwoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("exact tie rounds away from zero") << 0.125 << QStringLiteral("0.13");
    QTest::newRow("another exact tie") << 0.375 << QStringLiteral("0.38");
    QTest::newRow("negative tie") << -0.125 << QStringLiteral("-0.13");
    QTest::newRow("2.675 is just below the tie") << 2.675 << QStringLiteral("2.67");
    QTest::newRow("1.005 is just below the tie") << 1.005 << QStringLiteral("1.00");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0.00");
    QTest::newRow("leading zero") << 0.5 << QStringLiteral("0.50");
    QTest::newRow("no grouping") << 1234567.891 << QStringLiteral("1234567.89");
    QTest::newRow("tiny") << 1.0 / 1024 / 1024 / 1024 << QStringLiteral("0.00");
}

void TestScanTexts::roundsTwoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(twoDecimals(value), text);
}

void TestScanTexts::matchesPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("extension") << "*.mp3"
                               << "song.mp3" << true;
    QTest::newRow("case ignored") << "*.mp3"
                                  << "SONG.MP3" << true;
    QTest::newRow("whole name, not a prefix") << "*.mp3"
                                              << "song.mp3.txt" << false;
    QTest::newRow("whole name, not a suffix") << "*.mp"
                                              << "song.mp3" << false;
    QTest::newRow("star.star takes names without a dot") << "*.*"
                                                         << "README" << true;
    QTest::newRow("star.star takes dot files") << "*.*"
                                               << ".hidden" << true;
    QTest::newRow("star alone") << "*"
                                << "anything" << true;
    QTest::newRow("question is one character") << "a?c"
                                               << "abc" << true;
    QTest::newRow("question needs a character") << "a?c"
                                                << "ac" << false;
    QTest::newRow("question takes a Chinese character") << "?.mp3"
                                                        << "歌.mp3" << true;
    QTest::newRow("question takes a surrogate pair") << "?.mp3"
                                                     << "\U0001F3B5.mp3" << true;
    QTest::newRow("a lone surrogate is one character")
        << "?x" << (QString(QChar(0xD83C)) + QLatin1Char('x')) << true;
    QTest::newRow("plain text") << "abc"
                                << "ABC" << true;
    QTest::newRow("plain text differs") << "abc"
                                        << "abd" << false;
    QTest::newRow("dot is literal") << "*.mp3"
                                    << "songxmp3" << false;
    QTest::newRow("star needs backtracking") << "*ab*ab"
                                             << "xabyabab" << true;
    QTest::newRow("star may be empty") << "a*b"
                                       << "ab" << true;
    QTest::newRow("empty name") << "*.mp3"
                                << "" << false;
    QTest::newRow("Chinese case-less") << "*晴天*"
                                       << "周杰伦 - 晴天.mp3" << true;
    QTest::newRow("rmvb") << "*.rmvb"
                          << "movie.RMVB" << true;
}

void TestScanTexts::matchesPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(FilePattern(pattern).matches(name), matches);
}

void TestScanTexts::buildsTotals_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("folders");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("three files of 512 KiB")
        << 3 << 0 << qint64(3) * 512 * 1024
        << QStringLiteral(
               "共搜索到文件：3 个   扫描目录：0 个   文件大小合计：1.50 MB (1536.00 KIB) "
               "(0.00 G)");
    QTest::newRow("nothing")
        << 0 << 0 << qint64(0)
        << QStringLiteral("共搜索到文件：0 个   扫描目录：0 个   文件大小合计：0.00 MB (0.00 KIB) "
                          "(0.00 G)");
    QTest::newRow("3 GiB beyond 32 bits")
        << 1 << 2 << qint64(3) * 1024 * 1024 * 1024
        << QStringLiteral("共搜索到文件：1 个   扫描目录：2 个   文件大小合计：3072.00 MB "
                          "(3145728.00 KIB) (3.00 G)");
}

void TestScanTexts::buildsTotals()
{
    QFETCH(int, files);
    QFETCH(int, folders);
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(scanTotalsText(files, folders, bytes), text);
}

void TestScanTexts::describesFailures()
{
    const auto failureOf = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return describeFailure(std::current_exception());
        }
    };
    const Failure missing = failureOf(std::system_error(ENOENT, std::generic_category(), "x"));
    QCOMPARE(missing.code, ENOENT);
    QVERIFY(!missing.description.isEmpty());
    QCOMPARE(failureOf(std::bad_alloc()).code, ENOMEM);
    const Failure other = failureOf(std::runtime_error("broken grid"));
    QCOMPARE(other.code, 1);
    QCOMPARE(errorCodeText(other), QStringLiteral("错误代码：1\nbroken grid"));
}

QTEST_GUILESS_MAIN(TestScanTexts)
#include "tst_ScanTexts.moc"
