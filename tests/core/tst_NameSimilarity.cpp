#include "core/CompareKey.h"
#include "core/NameSimilarity.h"
#include "core/SimilarityThreshold.h"

#include <QTest>

namespace {
FileRecord record(const QString &name, const QString &size = QStringLiteral("4096"),
    const QString &type = QStringLiteral("MP3 音频"))
{
    FileRecord r;
    r.fields = {name, QStringLiteral("/music/"), size, QStringLiteral("2024/1/2 3:04:05"),
        QStringLiteral("2024/1/2 3:04:06"), QStringLiteral("2024/1/2 3:04:07"), type};
    return r;
}

CompareCriteria boxes(std::initializer_list<int> fields)
{
    CompareCriteria criteria;
    for (int f : fields)
        criteria.slots[static_cast<size_t>(f)] = 1;
    return criteria;
}

const CompareCriteria NameOnly = boxes({FileRecord::Name});
} // namespace

class tst_NameSimilarity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyParts_data();
    void keyParts();
    void worked_data();
    void worked();
    void ratioRounding_data();
    void ratioRounding();
    void threshold_data();
    void threshold();
    void typeCaseStillScoresWhole();
};

void tst_NameSimilarity::keyParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("base");

    QTest::newRow("name and size") << "song.mp3" << QList<int> {0, 2} << "song.mp3 * 4096 * "
                                   << "song.mp3 "
                                   << " 4096 * "
                                   << "song";
    QTest::newRow("single field") << "song.mp3" << QList<int> {0} << "song.mp3 * "
                                  << "song.mp3 "
                                  << " "
                                  << "song";
    QTest::newRow("several dots") << "a.b.mp3" << QList<int> {0} << "a.b.mp3 * "
                                  << "a.b.mp3 "
                                  << " "
                                  << "a.b";
    QTest::newRow("no dot") << "README" << QList<int> {0} << "README * "
                            << "README "
                            << " "
                            << "README";
    QTest::newRow("dot and extension") << ".mp3" << QList<int> {0} << ".mp3 * "
                                       << ".mp3 "
                                       << " "
                                       << "";
    QTest::newRow("size leads") << "x.mp3" << QList<int> {2, 6} << "4096 * MP3 音频 * "
                                << "4096 "
                                << " MP3 音频 * "
                                << "4096";
    QTest::newRow("name holding a star") << "a*b.mp3" << QList<int> {0, 2} << "a*b.mp3 * 4096 * "
                                         << "a*b.mp3 "
                                         << " 4096 * "
                                         << "a*b";
}

void tst_NameSimilarity::keyParts()
{
    QFETCH(QString, name);
    QFETCH(QList<int>, fields);
    CompareCriteria criteria;
    for (int f : fields)
        criteria.slots[static_cast<size_t>(f)] = 1;
    const CompareKey key(record(name), criteria);
    QTEST(key.text(), "text");
    QCOMPARE(key.length(), key.text().size());
    QTEST(key.leadField(), "lead");
    QTEST(key.tail(), "tail");
    QTEST(key.base(), "base");
}

void tst_NameSimilarity::worked_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("later");
    QTest::addColumn<QString>("grid");

    QTest::newRow("abc/abcd") << "abc.mp3"
                              << "abcd.mp3"
                              << "75.00%";
    QTest::newRow("anagram") << "abcd.mp3"
                             << "dcba.mp3"
                             << "100.00%";
    QTest::newRow("repeats count once") << "aab.mp3"
                                        << "abb.mp3"
                                        << "66.67%";
    QTest::newRow("short probe") << "aaa.mp3"
                                 << "a.mp3"
                                 << "33.33%";
    QTest::newRow("case only") << "ABC.mp3"
                               << "abc.mp3"
                               << "100.00%";
    QTest::newRow("case counts when lengths differ") << "ABC.mp3"
                                                     << "abcd.mp3"
                                                     << "0.00%";
    QTest::newRow("longer extension") << "ab.mpeg"
                                      << "abc.mp3"
                                      << "100.00%";
    QTest::newRow("other extension") << "song.mp3"
                                     << "song.wma"
                                     << "100.00%";
    QTest::newRow("chinese copy") << "工作报告-副本.doc"
                                  << "工作报告.doc"
                                  << "57.14%";
    QTest::newRow("leading blank later") << "abc.mp3"
                                         << " abc.mp3"
                                         << "75.00%";
    QTest::newRow("leading blank earlier") << " abc.mp3"
                                           << "abc.mp3"
                                           << "100.00%";
    QTest::newRow("empty probe") << "abcdef.mp3"
                                 << ".mp3"
                                 << "0.00%";
    QTest::newRow("empty reference") << ".mpeg"
                                     << "a.mp3"
                                     << "0.00%";
    QTest::newRow("no extension") << "abcd"
                                  << "abc"
                                  << "75.00%";
    QTest::newRow("inner blank counts in the reference") << "ab .mp3"
                                                         << "ab.mp3"
                                                         << "66.67%";
    QTest::newRow("tab is not trimmed") << "\tabc.mp3"
                                        << "abc.mp3"
                                        << "75.00%";
}

void tst_NameSimilarity::worked()
{
    QFETCH(QString, earlier);
    QFETCH(QString, later);
    const qint64 s = NameSimilarity::score(
        CompareKey(record(earlier), NameOnly), CompareKey(record(later), NameOnly));
    QTEST(NameSimilarity::text(s), "grid");
}

void tst_NameSimilarity::ratioRounding_data()
{
    QTest::addColumn<qint64>("shared");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("score");

    QTest::newRow("half goes down to even") << qint64(1) << qint64(32) << qint64(312);
    QTest::newRow("half goes up to even") << qint64(3) << qint64(32) << qint64(938);
    QTest::newRow("above half") << qint64(2) << qint64(3) << qint64(6667);
    QTest::newRow("below half") << qint64(1) << qint64(3) << qint64(3333);
    QTest::newRow("4/7") << qint64(4) << qint64(7) << qint64(5714);
    QTest::newRow("whole") << qint64(5) << qint64(5) << qint64(10000);
    QTest::newRow("nothing shared") << qint64(0) << qint64(9) << qint64(0);
    QTest::newRow("empty reference") << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("near whole rounds up") << qint64(19999) << qint64(20000) << qint64(10000);
}

void tst_NameSimilarity::ratioRounding()
{
    QFETCH(qint64, shared);
    QFETCH(qint64, length);
    QTEST(NameSimilarity::ratio(shared, length), "score");
}

void tst_NameSimilarity::threshold_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<bool>("accepted"); // a number from 1 to 100, as the compare demands

    QTest::newRow("100") << "100" << qint64(10000) << true;
    QTest::newRow("85") << "85" << qint64(8500) << true;
    QTest::newRow("leading spaces") << "  75" << qint64(7500) << true;
    QTest::newRow("stops at text") << "66abc" << qint64(6600) << false;
    QTest::newRow("decimal") << "66.67" << qint64(6667) << true;
    QTest::newRow("finer decimal rounds up") << "66.661" << qint64(6667) << true;
    QTest::newRow("finer zeros") << "66.6700" << qint64(6667) << true;
    QTest::newRow("second point stops") << "5.5.5" << qint64(550) << false;
    QTest::newRow("leading point") << ".5" << qint64(50) << false;
    QTest::newRow("trailing point") << "7." << qint64(700) << true;
    QTest::newRow("plus") << "+7" << qint64(700) << false;
    QTest::newRow("negative") << "-50" << qint64(0) << false;
    QTest::newRow("x") << "x" << qint64(0) << false;
    QTest::newRow("empty") << "" << qint64(0) << false;
    QTest::newRow("sign alone") << "-" << qint64(0) << false;
    QTest::newRow("tab is not skipped") << "\t80" << qint64(0) << false;
    QTest::newRow("space after sign") << "- 80" << qint64(0) << false;
    QTest::newRow("101") << "101" << qint64(10100) << false;
    QTest::newRow("1") << "1" << qint64(100) << true;
    QTest::newRow("0") << "0" << qint64(0) << false;
    QTest::newRow("just below 1") << "0.999" << qint64(100) << false;
    QTest::newRow("trailing spaces") << "50  " << qint64(5000) << true;
    QTest::newRow("huge") << "99999999999999999999999" << qint64(100000000) << false;
}

void tst_NameSimilarity::threshold()
{
    QFETCH(QString, typed);
    const SimilarityThreshold threshold = SimilarityThreshold::read(typed);
    QTEST(threshold.minimumScore(), "minimum");
    QTEST(SimilarityThreshold::isPercentInRange(typed), "accepted");
    // The boundary itself passes; one ten-thousandth below does not.
    const qint64 minimum = threshold.minimumScore();
    QVERIFY(threshold.passes(minimum));
    if (minimum > 0)
        QVERIFY(!threshold.passes(minimum - 1));
}

void tst_NameSimilarity::typeCaseStillScoresWhole()
{
    // Equal names whose type texts differ only in case: the keys match once
    // case is ignored, so the score is whole (the run still drops the pair
    // because the tails differ).
    const CompareCriteria nameAndType = boxes({FileRecord::Name, FileRecord::Type});
    const CompareKey a(
        record(QStringLiteral("Song.mp3"), QStringLiteral("1"), QStringLiteral("MP3 File")),
        nameAndType);
    const CompareKey b(
        record(QStringLiteral("song.mp3"), QStringLiteral("1"), QStringLiteral("mp3 file")),
        nameAndType);
    QCOMPARE(NameSimilarity::score(a, b), NameSimilarity::Whole);
    QVERIFY(a.tail() != b.tail());
}

QTEST_GUILESS_MAIN(tst_NameSimilarity)
#include "tst_NameSimilarity.moc"
