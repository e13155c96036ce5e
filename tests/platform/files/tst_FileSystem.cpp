#include "platform/files/FileSystem.h"
#include "platform/files/FileTypes.h"
#include "platform/files/TrashFolders.h"

#include "core/DateTimeText.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <latch>
#include <thread>
#include <vector>

using namespace FileSystem;

class TestFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listsSortedByFoldedName();
    void skipsUndecodableNames();
    void listsPastAnEntryThatCannotBeExamined();
    void computesAttributes();
    void readsDetails();
    void describesTypesByExtension_data();
    void describesTypesByExtension();
    void describesTypesFromManyThreads();
    void convertsTimesToLocalText_data();
    void convertsTimesToLocalText();
    void recognisesRecycleBins_data();
    void recognisesRecycleBins();
    void recognisesTheHomeTrash_data();
    void recognisesTheHomeTrash();
    void appendsTheSeparator();
    void tellsWhatExists();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void touch(const QString &name, qint64 size = 0) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }

    QTemporaryDir m_dir;
};

void TestFileSystem::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QVERIFY(m_dir.isValid());
}

void TestFileSystem::listsSortedByFoldedName()
{
    QTemporaryDir dir;
    const QStringList created = {
        u"é.mp3"_qs, u"b.mp3"_qs, u"Z.mp3"_qs, u"[x].mp3"_qs, u"a.mp3"_qs, u"B.mp3"_qs, u"sub"_qs};
    for (const QString &name : created) {
        if (name == u"sub")
            QVERIFY(QDir(dir.path()).mkdir(name));
        else
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    const Listing listing = readFolder(dir.path());
    QVERIFY(listing.outcome);
    QStringList names;
    for (const Entry &entry : listing.entries)
        names << entry.name;
    // Folded to lower case, "[" comes before the letters; equal folds by exact name.
    const QStringList expected = {
        u"[x].mp3"_qs, u"a.mp3"_qs, u"B.mp3"_qs, u"b.mp3"_qs, u"sub"_qs, u"Z.mp3"_qs, u"é.mp3"_qs};
    QCOMPARE(names, expected);

    const Listing missing = readFolder(dir.filePath(u"nothing"_qs));
    QVERIFY(missing.outcome.isErrno(ENOENT));
    QCOMPARE(missing.outcome.path, dir.filePath(u"nothing"_qs));
}

void TestFileSystem::skipsUndecodableNames()
{
    QTemporaryDir dir;
    const QByteArray bad = QFile::encodeName(dir.path()) + "/\xff\xfe.mp3";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(QFile(dir.filePath(u"good.mp3"_qs)).open(QIODevice::WriteOnly));
    const Listing listing = readFolder(dir.path());
    QVERIFY(listing.outcome);
    QCOMPARE(listing.entries.size(), 1);
    QCOMPARE(listing.entries.first().name, u"good.mp3"_qs);
}

// Stands in for statx() and fails for one name, as for a file removed
// between the listing and its examination.
int failForVanished(int dirFd, const char *name, int flags, unsigned int mask, struct statx *result)
{
    if (std::strcmp(name, "vanished.mp3") == 0) {
        errno = ENOENT;
        return -1;
    }
    return ::statx(dirFd, name, flags, mask, result);
}

void TestFileSystem::listsPastAnEntryThatCannotBeExamined()
{
    QTemporaryDir dir;
    for (const QString &name : {u"a.mp3"_qs, u"vanished.mp3"_qs, u"z.mp3"_qs})
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    const Listing listing = readFolder(dir.path(), failForVanished);
    QVERIFY(listing.outcome);
    QCOMPARE(listing.entries.size(), 3);
    for (const Entry &entry : listing.entries)
        QCOMPARE(bool(entry.status.outcome), entry.name != u"vanished.mp3");
}

void TestFileSystem::computesAttributes()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    QVERIFY(QFile(d.filePath(u"plain"_qs)).open(QIODevice::WriteOnly));
    QVERIFY(QFile(d.filePath(u".hidden"_qs)).open(QIODevice::WriteOnly));
    QVERIFY(QFile(d.filePath(u"readonly"_qs)).open(QIODevice::WriteOnly));
    QVERIFY(::chmod(QFile::encodeName(d.filePath(u"readonly"_qs)).constData(), 0444) == 0);
    QVERIFY(d.mkdir(u"folder"_qs));
    QVERIFY(d.mkdir(u".hiddenfolder"_qs));
    QVERIFY(QFile::link(d.filePath(u"folder"_qs), d.filePath(u"link"_qs)));
    QVERIFY(::mkfifo(QFile::encodeName(d.filePath(u"fifo"_qs)).constData(), 0644) == 0);

    const QHash<QString, int> expected = {
        {u"plain"_qs, Archive},
        {u".hidden"_qs, Archive | Hidden},
        // Read-only for the program's user even when it runs as root.
        {u"readonly"_qs, Archive | ReadOnly},
        {u"folder"_qs, Directory},
        {u".hiddenfolder"_qs, Directory | Hidden},
        {u"link"_qs, SymbolicLink},
        {u"fifo"_qs, System},
    };
    const Listing listing = readFolder(dir.path());
    QVERIFY(listing.outcome);
    QCOMPARE(listing.entries.size(), expected.size());
    for (const Entry &entry : listing.entries) {
        QVERIFY2(entry.status.outcome, qPrintable(entry.name));
        QVERIFY2(entry.status.attributes == expected.value(entry.name),
            qPrintable(entry.name + u" "_qs + QString::number(entry.status.attributes)));
    }
}

void TestFileSystem::readsDetails()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"big.mp3"_qs);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(3) * 1024 * 1024 * 1024)); // sparse
    }
    const QDateTime modified(QDate(2019, 5, 6), QTime(7, 8, 9));
    const QDateTime accessed(QDate(2020, 1, 2), QTime(0, 0));
    struct timeval times[2] = {{static_cast<time_t>(accessed.toSecsSinceEpoch()), 0},
        {static_cast<time_t>(modified.toSecsSinceEpoch()), 0}};
    QVERIFY(::utimes(QFile::encodeName(file).constData(), times) == 0);

    const Listing listing = readFolder(dir.path());
    QCOMPARE(listing.entries.size(), 1);
    FileTypes types;
    const FileDetails details
        = FileSystem::details(u"big.mp3"_qs, listing.entries[0].status, types);
    QCOMPARE(details.size, u"3221225472"_qs);
    QCOMPARE(details.modified, u"2019/5/6 7:08:09"_qs);
    QCOMPARE(details.accessed, u"2020/1/2"_qs);
    QCOMPARE(details.type, u"MP3 音频"_qs);
    const auto created = DateTimeText::parse(details.created);
    QVERIFY2(created.has_value(), qPrintable(details.created));
    QVERIFY(qAbs(created->secsTo(QDateTime::currentDateTime())) < 120);
}

void TestFileSystem::describesTypesByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::newRow("known") << u"song.mp3"_qs << u"MP3 音频"_qs;
    QTest::newRow("known in capitals") << u"SONG.MP3"_qs << u"MP3 音频"_qs;
    QTest::newRow("unknown extension") << u"data.zqxw"_qs << u"ZQXW 文件"_qs;
    QTest::newRow("no extension") << u"README"_qs << u"文件"_qs;
    QTest::newRow("trailing dot") << u"name."_qs << u"文件"_qs;
    QTest::newRow("only the last extension counts") << u"a.zqxw.mp3"_qs << u"MP3 音频"_qs;
}

void TestFileSystem::describesTypesByExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    FileTypes types;
    QCOMPARE(types.textOf(name), type);
    QCOMPARE(types.textOf(name), type); // the cached answer is the same
}

void TestFileSystem::describesTypesFromManyThreads()
{
    // The content reading's threads share one instance; each thread asks for
    // the same many extensions in its own order while the others fill it.
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names << u"f.x%1"_qs.arg(i);
    names << u"a.mp3"_qs << u"b.txt"_qs << u"c.png"_qs;
    QStringList expected;
    for (const QString &name : std::as_const(names))
        expected << FileTypes().textOf(name);

    FileTypes shared;
    constexpr int threadCount = 8;
    std::vector<QStringList> seen(threadCount);
    std::vector<std::thread> threads;
    std::latch start(threadCount);
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            QStringList &mine = seen[size_t(t)];
            for (int i = 0; i < names.size(); ++i)
                mine << QString();
            for (int k = 0; k < names.size(); ++k) {
                const int i = t % 2 ? int(names.size()) - 1 - k : k;
                mine[i] = shared.textOf(names.at(i));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < threadCount; ++t)
        QCOMPARE(seen[size_t(t)], expected);
}

void TestFileSystem::convertsTimesToLocalText_data()
{
    // The tests run with TZ=Asia/Shanghai (UTC+8, no daylight saving).
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("epoch") << qint64(0) << u"1970/1/1 8:00:00"_qs;
    QTest::newRow("local midnight") << qint64(16 * 3600) << u"1970/1/2"_qs;
    QTest::newRow("after 2038") << qint64(4102444800) << u"2100/1/1 8:00:00"_qs;
}

void TestFileSystem::convertsTimesToLocalText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(dateTimeText(Timestamp {seconds}), text);
}

void TestFileSystem::recognisesRecycleBins_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bin");
    QTest::newRow("RECYCLER") << u"RECYCLER"_qs << true;
    QTest::newRow("lower case") << u"recycler"_qs << true;
    QTest::newRow("first capital") << u"Recycler"_qs << true;
    QTest::newRow("longer") << u"RECYCLERS"_qs << false;
    QTest::newRow("one letter differs") << u"RECYCLEX"_qs << false;
    QTest::newRow("shorter") << u"RECYCLE"_qs << false;
    QTest::newRow(".Trash") << u".Trash"_qs << true;
    QTest::newRow(".Trash-1000") << u".Trash-1000"_qs << true;
    QTest::newRow(".Trash- alone") << u".Trash-"_qs << false;
    QTest::newRow(".Trash-10a") << u".Trash-10a"_qs << false;
    QTest::newRow(".trash") << u".trash"_qs << false;
    QTest::newRow("Trash elsewhere") << u"Trash"_qs << false;
}

void TestFileSystem::recognisesRecycleBins()
{
    QFETCH(QString, name);
    QFETCH(bool, bin);
    QCOMPARE(isRecycleBin(TrashFolders(), m_dir.path() + u"/"_qs, name), bin);
}

void TestFileSystem::recognisesTheHomeTrash_data()
{
    QTest::addColumn<QString>("dataHome"); // empty: not set
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bin");
    QTest::newRow("at its place") << u"data"_qs << u"data/"_qs << u"Trash"_qs << true;
    QTest::newRow("through a linked folder") << u"data"_qs << u"link/"_qs << u"Trash"_qs << true;
    QTest::newRow("data home named through a link")
        << u"link"_qs << u"data/"_qs << u"Trash"_qs << true;
    QTest::newRow("itself a link, at its real place")
        << u"linked"_qs << u"real/"_qs << u"bin"_qs << true;
    QTest::newRow("another folder named Trash")
        << u"data"_qs << u"data/x/"_qs << u"Trash"_qs << false;
    QTest::newRow("data home not set") << QString() << u"data/"_qs << u"Trash"_qs << false;
}

void TestFileSystem::recognisesTheHomeTrash()
{
    QFETCH(QString, dataHome);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, bin);
    QTemporaryDir root;
    const QString base = root.path() + u"/"_qs;
    for (const QString &made : {u"data/Trash"_qs, u"data/x/Trash"_qs, u"real/bin"_qs, u"linked"_qs})
        QVERIFY(QDir().mkpath(base + made));
    QVERIFY(QFile::link(base + u"data"_qs, base + u"link"_qs));
    QVERIFY(QFile::link(base + u"real/bin"_qs, base + u"linked/Trash"_qs));
    if (dataHome.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", QFile::encodeName(base + dataHome));
    const TrashFolders trashes;
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(isRecycleBin(trashes, base + folder, name), bin);
}

void TestFileSystem::appendsTheSeparator()
{
    QCOMPARE(withSeparator(u"/a/b"_qs), u"/a/b/"_qs);
    QCOMPARE(withSeparator(u"/a/b/"_qs), u"/a/b/"_qs);
    QCOMPARE(withSeparator(u"/"_qs), u"/"_qs);
}

void TestFileSystem::tellsWhatExists()
{
    touch(u"there"_qs);
    QVERIFY(QFile::link(path(u"gone"_qs), path(u"dangling"_qs)));
    QVERIFY(exists(path(u"there"_qs)));
    QVERIFY(exists(m_dir.path()));
    QVERIFY(exists(m_dir.path() + u"/"_qs));
    QVERIFY(exists(path(u"dangling"_qs)));
    QVERIFY(!exists(path(u"gone"_qs)));
    QVERIFY(!exists(QString()));
}

QTEST_MAIN(TestFileSystem)
#include "tst_FileSystem.moc"
