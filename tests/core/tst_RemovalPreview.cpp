#include "core/ComparedPairs.h"
#include "core/DateTimeText.h"
#include "core/LosingFiles.h"
#include "core/PendingList.h"
#include "core/ProtectedFolders.h"
#include "core/RemovalPreview.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestRemovalPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void previewTakesWhatTheBatchQueues();
    void protectedFolderIsKnownByAnyPath();
};

// For every rule, on random lists with ties, chains without their closing
// pair, files in several pairs, rows in any order and now and then a
// protected folder (nested ones included): the files the preview strikes,
// their count and bytes are the batch walk's queue, a pair left out of the
// list takes no part, no protected file is queued, and a pair with a
// protected file keeps it while its other file goes only if unprotected.
void TestRemovalPreview::previewTakesWhatTheBatchQueues()
{
    const QString Folders[] = {"/d/a/", "/d/a/x/", "/d/ab/"};
    QRandomGenerator random(20261210);
    int struckSeen = 0;
    int sparedSeen = 0;
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
            record.fields[FileRecord::Folder] = Folders[random.bounded(3)];
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

        // "/d/a/" covers "/d/a/x/" but not its sibling "/d/ab/".
        ProtectedFolders protectedFolders;
        if (random.bounded(3) != 0)
            protectedFolders.protect(Folders[random.bounded(2)]);
        const auto isProtected
            = [&](const FileRecord *record) { return protectedFolders.covers(record->folder()); };
        RemovalPreview preview;
        for (int rule = 0; rule < 10; ++rule) {
            QList<ListedPair> pairs;
            for (const qint32 p : listed) {
                const FileRecord *file1 = compared.record(p, 1);
                const FileRecord *file2 = compared.record(p, 2);
                if (!file1 || !file2)
                    continue;
                ListedPair listedPair {0, file1->fullPath(), file2->fullPath(),
                    KeepRule::factsOf(*file1), KeepRule::factsOf(*file2)};
                listedPair.file1.isProtected = isProtected(file1);
                listedPair.file2.isProtected = isProtected(file2);
                pairs.append(listedPair);
            }
            PendingList queue;
            queueLosingFiles(rule, pairs, queue, [](const ListedPair &, int) { return true; });
            preview.update(rule, compared, listed, protectedFolders);

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
            for (const QString &path : queued)
                QVERIFY2(!protectedFolders.covers(path), qPrintable(where + u' ' + path));
            for (const qint32 p : listed) {
                const FileRecord *file1 = compared.record(p, 1);
                const FileRecord *file2 = compared.record(p, 2);
                if (!file1 || isProtected(file1) == isProtected(file2))
                    continue;
                const FileRecord *other = isProtected(file1) ? file2 : file1;
                QVERIFY2(queued.contains(other->fullPath()), qPrintable(where));
                ++sparedSeen;
            }
        }
    }
    QVERIFY(struckSeen > 1000);
    QVERIFY(sparedSeen > 1000);
}

// A folder protected by one path stays protected when reached by another:
// a link to it, or a link to a folder above it; a sibling whose name merely
// starts alike, and a folder linked from inside it, are not covered.
void TestRemovalPreview::protectedFolderIsKnownByAnyPath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + u'/';
    for (const char *folder : {"music/live/deep", "music/liveish", "other"})
        QVERIFY(QDir(root).mkpath(QString::fromLatin1(folder)));
    QVERIFY(QFile::link(root + "music/live", root + "alias"));
    QVERIFY(QFile::link(root + "music", root + "parent"));
    QVERIFY(QFile::link(root + "other", root + "music/live/out"));
    ProtectedFolders folders;
    QVERIFY(folders.protect(root + "music/live/"));
    const struct
    {
        const char *path;
        bool covered;
    } cases[] = {
        {"music/live/a.mp3", true},
        {"alias/a.mp3", true},
        {"alias/deep/a.mp3", true},
        {"parent/live/deep/", true},
        {"music/liveish/a.mp3", false},
        {"other/a.mp3", false},
        {"parent/liveish/a.mp3", false},
    };
    for (const auto &c : cases)
        QVERIFY2(folders.covers(root + QString::fromLatin1(c.path)) == c.covered, c.path);
    QVERIFY(folders.unprotect(root + "music/live/"));
    QVERIFY(!folders.covers(root + "alias/a.mp3"));
}

QTEST_GUILESS_MAIN(TestRemovalPreview)
#include "tst_RemovalPreview.moc"
