#include "core/ComparedPairs.h"
#include "core/DateTimeText.h"
#include "core/LosingFiles.h"
#include "core/PendingList.h"
#include "core/RemovalPreview.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

class TestRemovalPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void previewTakesWhatTheBatchQueues();
};

// For every rule, on random lists with ties, chains without their closing
// pair, files in several pairs and rows in any order: the files the preview
// strikes, their count and bytes are the batch walk's queue, and a pair
// left out of the list takes no part.
void TestRemovalPreview::previewTakesWhatTheBatchQueues()
{
    QRandomGenerator random(20261210);
    int struckSeen = 0;
    for (int round = 0; round < 800; ++round) {
        ComparedPairs compared;
        const int files = 2 + int(random.bounded(7));
        for (int f = 0; f < files; ++f) {
            // Few distinct values, so ties are common.
            const auto time = [&] {
                return DateTimeText::format(
                    2020, 1, 1 + int(random.bounded(2)), 10, 0, int(random.bounded(2)));
            };
            FileRecord record;
            record.fields[FileRecord::Name] = QStringLiteral("f%1").arg(f);
            record.fields[FileRecord::Folder] = QStringLiteral("/d/");
            record.fields[FileRecord::Size] = QString::number(100 * random.bounded(3));
            record.fields[FileRecord::Created] = time();
            record.fields[FileRecord::Modified] = time();
            record.fields[FileRecord::Accessed] = time();
            compared.records.append(record);
        }
        for (int a = 0; a < files; ++a)
            for (int b = a + 1; b < files; ++b)
                if (random.bounded(2) == 0)
                    compared.pairs.append(MatchPair {a, b, 10000});
        QList<qint32> listed;
        for (qint32 p = 0; p < compared.pairs.size(); ++p)
            if (random.bounded(4) != 0)
                listed.append(p);
        for (qsizetype i = listed.size() - 1; i > 0; --i)
            listed.swapItemsAt(i, random.bounded(i + 1));
        // The placeholder row of an empty list stands for no pair.
        listed.append(-1);

        RemovalPreview preview;
        for (int rule = 0; rule < 10; ++rule) {
            QList<ListedPair> pairs;
            for (const qint32 p : listed) {
                const FileRecord *file1 = compared.record(p, 1);
                const FileRecord *file2 = compared.record(p, 2);
                if (file1 && file2)
                    pairs.append(ListedPair {0, file1->fullPath(), file2->fullPath(),
                        KeepRule::factsOf(*file1), KeepRule::factsOf(*file2)});
            }
            PendingList queue;
            queueLosingFiles(rule, pairs, queue, [](const ListedPair &, int) { return true; });
            preview.update(rule, compared, listed);

            QSet<QString> struck;
            for (qint32 p = 0; p < compared.pairs.size(); ++p)
                for (const int file : {1, 2})
                    if (preview.goes(compared, p, file))
                        struck.insert(compared.record(p, file)->fullPath());
            const QStringList queued = queue.paths();
            const QString where = QStringLiteral("round %1, rule %2").arg(round).arg(rule);
            QVERIFY2(struck == QSet<QString>(queued.begin(), queued.end()), qPrintable(where));
            QVERIFY2(preview.count() == queue.pendingCount(), qPrintable(where));
            QVERIFY2(preview.bytes() == queue.pendingBytes(), qPrintable(where));
            struckSeen += int(struck.size());
        }
    }
    QVERIFY(struckSeen > 1000);
}

QTEST_GUILESS_MAIN(TestRemovalPreview)
#include "tst_RemovalPreview.moc"
