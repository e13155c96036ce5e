#include "core/FileCatalogue.h"

#include <QTest>

class TestFileCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeFindsTheExactFile();
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

void TestFileCatalogue::joinedTextHasSevenFields()
{
    const FileRecord r = record(QStringLiteral("工作 #1.mp3"), QStringLiteral("/音乐/"));
    QCOMPARE(r.joined().split(QLatin1Char('*')).size(), 7);
    QCOMPARE(r.fullPath(), QStringLiteral("/音乐/工作 #1.mp3"));
}

QTEST_APPLESS_MAIN(TestFileCatalogue)
#include "tst_FileCatalogue.moc"
