#include "core/FileCatalogue.h"

#include "../support/TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFileCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeFindsTheExactFile();
    void renameNeverGivesOnePathTwoRecords_data();
    void renameNeverGivesOnePathTwoRecords();
    void joinedTextHasSevenFields();
    void renameKeepsTheStampOnlyOfAnUnchangedFile_data();
    void renameKeepsTheStampOnlyOfAnUnchangedFile();
};

static FileRecord record(const QString &name, const QString &folder)
{
    return FileRecord {{name, folder, QStringLiteral("1"), QStringLiteral("2020/1/2"),
        QStringLiteral("2020/1/2"), QStringLiteral("2020/1/2"), QStringLiteral("MP3 文件")}};
}

void TestFileCatalogue::removeFindsTheExactFile()
{
    FileCatalogue catalogue;
    catalogue.append(record(QStringLiteral("a.mp3"), QStringLiteral("/x/")));
    catalogue.append(record(QStringLiteral("a.mp"), QStringLiteral("/x/")));
    catalogue.append(record(QStringLiteral("a.mp3"), QStringLiteral("/x/y/")));
    QVERIFY(catalogue.remove(QStringLiteral("a.mp"), QStringLiteral("/x/")));
    QCOMPARE(catalogue.count(), 2);
    QCOMPARE(catalogue.at(0).folder(), QStringLiteral("/x/"));
    QCOMPARE(catalogue.at(1).folder(), QStringLiteral("/x/y/"));
    QVERIFY(!catalogue.remove(QStringLiteral("a.mp"), QStringLiteral("/x/")));
}

void TestFileCatalogue::renameNeverGivesOnePathTwoRecords_data()
{
    QTest::addColumn<QString>("newName"); // for /x/a.mp3
    QTest::addColumn<bool>("renamed");
    QTest::newRow("free name") << u"c.mp3"_qs << true;
    QTest::newRow("held by another record in the folder") << u"b.mp3"_qs << false;
    QTest::newRow("held only in another folder") << u"d.mp3"_qs << true;
    QTest::newRow("its own name") << u"a.mp3"_qs << true;
}

void TestFileCatalogue::renameNeverGivesOnePathTwoRecords()
{
    QFETCH(QString, newName);
    QFETCH(bool, renamed);
    FileCatalogue catalogue;
    catalogue.append(record(u"a.mp3"_qs, u"/x/"_qs));
    catalogue.append(record(u"b.mp3"_qs, u"/x/"_qs));
    catalogue.append(record(u"d.mp3"_qs, u"/y/"_qs));
    QCOMPARE(catalogue.rename(u"a.mp3"_qs, u"/x/"_qs, newName), renamed);
    QStringList paths;
    for (const FileRecord &r : catalogue.records())
        paths << r.fullPath();
    QCOMPARE(paths,
        (QStringList {
            u"/x/"_qs + (renamed ? newName : u"a.mp3"_qs), u"/x/b.mp3"_qs, u"/y/d.mp3"_qs}));
}

void TestFileCatalogue::joinedTextHasSevenFields()
{
    const FileRecord r = record(QStringLiteral("工作 #1.mp3"), QStringLiteral("/音乐/"));
    QCOMPARE(r.joined().split(QLatin1Char('*')).size(), 7);
    QCOMPARE(r.fullPath(), QStringLiteral("/音乐/工作 #1.mp3"));
}

void TestFileCatalogue::renameKeepsTheStampOnlyOfAnUnchangedFile_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("timesKept");
    QTest::newRow("unchanged") << false << false;
    QTest::newRow("modified since the scan") << true << false;
    QTest::newRow("rewritten, its times put back") << true << true;
}

void TestFileCatalogue::renameKeepsTheStampOnlyOfAnUnchangedFile()
{
    QFETCH(bool, changed);
    QFETCH(bool, timesKept);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QFile file(folder + QStringLiteral("a.mp3"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("aaaa") == 4);
    file.close();
    FileRecord scanned = record(QStringLiteral("a.mp3"), folder);
    scanned.stamp = FileStamp::of(scanned.fullPath());
    QVERIFY(scanned.stamp);
    FileCatalogue catalogue;
    catalogue.append(scanned);
    if (timesKept) {
        QVERIFY(TestFiles::rewriteKeepingTimes(file.fileName(), "bbbb"));
    } else if (changed) {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("bbbb") == 4);
        QVERIFY(file.setFileTime(
            QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)), QFileDevice::FileModificationTime));
        file.close();
    }
    const std::optional<FileStamp> before = FileStamp::of(folder + QStringLiteral("a.mp3"));
    QVERIFY(QFile::rename(folder + QStringLiteral("a.mp3"), folder + QStringLiteral("b.mp3")));
    QVERIFY(catalogue.rename(QStringLiteral("a.mp3"), folder, QStringLiteral("b.mp3"), before));

    const std::optional<FileStamp> now = FileStamp::of(folder + QStringLiteral("b.mp3"));
    const FileStamp &kept = *catalogue.at(0).stamp;
    QCOMPARE(kept == *now, !changed);
    QCOMPARE(catalogue.at(0).fullPath(), folder + QStringLiteral("b.mp3"));
}

QTEST_APPLESS_MAIN(TestFileCatalogue)
#include "tst_FileCatalogue.moc"
