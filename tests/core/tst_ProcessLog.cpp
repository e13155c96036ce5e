#include "core/DateTimeText.h"
#include "core/ProcessLog.h"

#include <QTest>

class TestProcessLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesReadBackAcrossBlocks();
};

// More lines than one block holds, about a few files: every line reads back
// its own counter, item and result, and a text is stored once.
void TestProcessLog::linesReadBackAcrossBlocks()
{
    ProcessLog log;
    const QStringList items {u"/a/1.mp3"_qs, u"/b/1.mp3"_qs, u"/c/2.mp3"_qs};
    const QStringList results {u"【文件加入待处理序列】"_qs, u"【文件删除成功】"_qs};
    constexpr qsizetype Lines = 70000;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    for (qsizetype i = 0; i < Lines; ++i)
        QCOMPARE(log.append(log.itemId(items.at(i % 3)), log.resultId(results.at(i % 2))),
            qint32(i + 1));
    QCOMPARE(log.count(), Lines);
    QCOMPARE(log.itemId(items.at(2)), ProcessLog::TextId(2));
    for (const qsizetype i : {qsizetype(0), qsizetype(65535), qsizetype(65536), Lines - 1}) {
        QCOMPARE(log.text(i, ProcessLog::Counter), QString::number(i + 1));
        QCOMPARE(log.text(i, ProcessLog::Item), items.at(i % 3));
        QCOMPARE(log.text(i, ProcessLog::Result), results.at(i % 2));
        const std::optional<QDateTime> at = DateTimeText::parse(log.text(i, ProcessLog::Time));
        QVERIFY(at && *at >= before && *at <= QDateTime::currentDateTime());
    }
    QVERIFY(log.text(Lines, ProcessLog::Item).isEmpty());
}

QTEST_APPLESS_MAIN(TestProcessLog)
#include "tst_ProcessLog.moc"
