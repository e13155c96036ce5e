#include "core/FileCatalogue.h"

#include <QTest>

class TestFileCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeFindsTheExactFile();
    void renameNeverGivesOnePathTwoRecords_data();
    void renameNeverGivesOnePathTwoRecords();
    void joinedTextHasSevenFields();
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

QTEST_APPLESS_MAIN(TestFileCatalogue)
#include "tst_FileCatalogue.moc"
