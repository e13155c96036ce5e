#include "modules/ModBrowseFolder.h"
#include "modules/ModFindFile.h"
#include "modules/ScanWalk.h"

#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// One walk, recording every status text and every row.
struct Scan
{
    qint64 run(const QString &folder, const QString &pattern = u"*.mp3"_qs)
    {
        catalogue.clear();
        files = 0;
        folders = 0;
        ScanWalk walk(
            catalogue, pattern, QFont(), [this](const QString &t, qint16, qint16) { texts << t; });
        const qint64 total = walk.walk(folder, files, folders);
        firstRow = walk.firstRow();
        rows = walk.takeRows();
        refused = walk.filesRefused();
        widths = walk.maxWidths();
        return total;
    }

    QStringList paths() const
    {
        QStringList list;
        for (const FileRecord &record : catalogue.records())
            list << record.fullPath();
        return list;
    }

    FileCatalogue catalogue;
    QStringList texts;
    qint16 files = 0;
    qint16 folders = 0;
    int firstRow = 0;
    QList<QStringList> rows;
    bool refused = false;
    ScanWalk::Widths widths {};
};

void makeFile(const QString &path, qint64 size = 0)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QVERIFY(file.resize(size));
}

void makeFolder(const QString &path)
{
    QVERIFY2(QDir().mkpath(path), qPrintable(path));
}

} // namespace

class TestScanWalk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void walksDepthFirstFilesBeforeSubfolders_data();
    void walksDepthFirstFilesBeforeSubfolders();
    void acceptsOnlyPlainFilesButNamesAllInTheStatus();
    void skipsRecycleBins();
    void skipsTrashWhateverPathLeadsThere_data();
    void skipsTrashWhateverPathLeadsThere();
    void sumsLargeSizesExactly();
    void keepsUnusualNamesIntact();
    void findsNothingWhereThereIsNoFolder_data();
    void findsNothingWhereThereIsNoFolder();
    void stopsAtTheFileLimitInStep();
    void stopsAtTheFolderLimit();
    void measuresTheWidestTexts();
    void cutsAtNull_data();
    void cutsAtNull();
    void browsesThroughTheSeam();
};

void TestScanWalk::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestScanWalk::walksDepthFirstFilesBeforeSubfolders_data()
{
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("typed without /") << false;
    QTest::newRow("typed with /") << true;
}

void TestScanWalk::walksDepthFirstFilesBeforeSubfolders()
{
    QFETCH(bool, trailingSeparator);
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    // Created in an order unlike the expected one: the listing order decides.
    for (const QString &name : {u"sub2/z.mp3"_qs, u"sub1/deep/y.mp3"_qs, u"sub1/x.mp3"_qs,
             u"B.mp3"_qs, u"a.MP3"_qs, u"notes.txt"_qs, u"sub1/only-folders/inner/w.mp3"_qs})
        makeFile(root + name);

    Scan scan;
    scan.run(trailingSeparator ? root : dir.path());
    const QStringList expected = {root + u"a.MP3"_qs, root + u"B.mp3"_qs, root + u"sub1/x.mp3"_qs,
        root + u"sub1/deep/y.mp3"_qs, root + u"sub1/only-folders/inner/w.mp3"_qs,
        root + u"sub2/z.mp3"_qs};
    QCOMPARE(scan.paths(), expected);
    QCOMPARE(scan.files, qint16(6));
    QCOMPARE(scan.folders, qint16(5)); // sub1, deep, only-folders, inner, sub2
    QCOMPARE(scan.catalogue.at(0).folder(), root);

    // Rows in front of the trailing empty row, numbered, in step with the records.
    // Rows numbered from 1, in step with the records.
    QCOMPARE(scan.firstRow, 1);
    QCOMPARE(scan.rows.size(), scan.catalogue.count());
    for (int k = 0; k < scan.catalogue.count(); ++k) {
        const FileRecord &record = scan.catalogue.at(k);
        QCOMPARE(scan.rows[k].size(), 8);
        QCOMPARE(scan.rows[k][0], QString::number(k + 1));
        for (int f = 0; f < FileRecord::FieldCount; ++f)
            QCOMPARE(scan.rows[k][f + 1], record.field(f));
        // What a later removal checks the file still is.
        QVERIFY(record.stamp && record.stamp == FileStamp::of(record.fullPath()));
    }
    QCOMPARE(scan.catalogue.at(0).field(FileRecord::Type), u"MP3 音频"_qs);
}

void TestScanWalk::acceptsOnlyPlainFilesButNamesAllInTheStatus()
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    makeFile(root + u"good.mp3"_qs);
    makeFile(root + u"readonly.mp3"_qs);
    QVERIFY(::chmod(QFile::encodeName(root + u"readonly.mp3"_qs).constData(), 0444) == 0);
    makeFile(root + u".hidden.mp3"_qs);
    QVERIFY(QFile::link(root + u"good.mp3"_qs, root + u"link.mp3"_qs));
    makeFolder(root + u"target"_qs);
    makeFile(root + u"target/t.mp3"_qs);
    QVERIFY(QFile::link(root + u"target"_qs, root + u"linkdir"_qs));
    QVERIFY(::mkfifo(QFile::encodeName(root + u"fifo.mp3"_qs).constData(), 0644) == 0);
    const QByteArray socketPath = QFile::encodeName(root + u"socket.mp3"_qs);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
    QVERIFY(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    makeFolder(root + u"folder.mp3"_qs);
    makeFile(root + u"folder.mp3/inner.mp3"_qs);

    Scan scan;
    scan.run(root, u"*.*"_qs);
    ::close(sock);
    QCOMPARE(scan.paths(),
        (QStringList {
            root + u"good.mp3"_qs, root + u"folder.mp3/inner.mp3"_qs, root + u"target/t.mp3"_qs}));
    QCOMPARE(scan.folders, qint16(2)); // folder.mp3 and target; the link is not entered

    const QString scanning = u"正在扫描："_qs + root;
    for (const QString &name : {u".hidden.mp3"_qs, u"fifo.mp3"_qs, u"folder.mp3"_qs, u"good.mp3"_qs,
             u"link.mp3"_qs, u"linkdir"_qs, u"readonly.mp3"_qs, u"socket.mp3"_qs})
        QVERIFY2(scan.texts.contains(scanning + name), qPrintable(name));
    for (const QString &text : std::as_const(scan.texts))
        QVERIFY2(!text.endsWith(u"/."_qs) && !text.endsWith(u"/.."_qs), qPrintable(text));

    // The pattern also decides what the status names.
    Scan mp3;
    mp3.run(root, u"g*"_qs);
    QCOMPARE(mp3.texts, QStringList {scanning + u"good.mp3"_qs});
}

void TestScanWalk::skipsRecycleBins()
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    for (const QString &bin : {u"RECYCLER"_qs, u"recycler"_qs, u"Recycler"_qs, u".Trash"_qs,
             u".Trash-1000"_qs, u"data/Trash"_qs})
        makeFile(root + bin + u"/files/deleted.mp3"_qs);
    makeFile(root + u"RECYCLERS/kept.mp3"_qs);
    makeFile(root + u"RECYCLE/kept.mp3"_qs);
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + u"data"_qs));

    Scan scan;
    scan.run(root);
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(scan.paths(),
        (QStringList {root + u"RECYCLE/kept.mp3"_qs, root + u"RECYCLERS/kept.mp3"_qs}));
    QCOMPARE(scan.folders, qint16(3)); // data, RECYCLE, RECYCLERS
}

void TestScanWalk::skipsTrashWhateverPathLeadsThere_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("found"); // relative to the start
    const QStringList kept {u"kept/a.mp3"_qs};
    QTest::newRow("beside the home trash") << u"data"_qs << kept;
    QTest::newRow("home trash below a linked start") << u"toData"_qs << kept;
    QTest::newRow("start in the home trash") << u"data/Trash"_qs << QStringList();
    QTest::newRow("start in the home trash through a link") << u"toTrashFiles"_qs << QStringList();
    QTest::newRow("start in a mount's trash through a link") << u"toMountTrash"_qs << QStringList();
}

void TestScanWalk::skipsTrashWhateverPathLeadsThere()
{
    QFETCH(QString, start);
    QFETCH(QStringList, found);
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    makeFile(root + u"data/Trash/files/deleted.mp3"_qs);
    makeFile(root + u"data/kept/a.mp3"_qs);
    makeFile(root + u"mnt/.Trash-1000/files/old.mp3"_qs);
    QVERIFY(QFile::link(root + u"data"_qs, root + u"toData"_qs));
    QVERIFY(QFile::link(root + u"data/Trash/files"_qs, root + u"toTrashFiles"_qs));
    QVERIFY(QFile::link(root + u"mnt/.Trash-1000/files"_qs, root + u"toMountTrash"_qs));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + u"data"_qs));

    Scan scan;
    scan.run(root + start);
    qunsetenv("XDG_DATA_HOME");
    QStringList expected;
    for (const QString &file : std::as_const(found))
        expected << root + start + u"/"_qs + file;
    QCOMPARE(scan.paths(), expected);
}

void TestScanWalk::sumsLargeSizesExactly()
{
    QTemporaryDir dir;
    const qint64 GiB = qint64(1024) * 1024 * 1024;
    makeFile(dir.filePath(u"three.mp3"_qs), 3 * GiB);
    makeFile(dir.filePath(u"two/two.mp3"_qs), 2 * GiB);
    makeFile(dir.filePath(u"small.mp3"_qs), 5);
    Scan scan;
    QCOMPARE(scan.run(dir.path()), 5 * GiB + 5);
    QCOMPARE(scan.catalogue.at(1).field(FileRecord::Size), u"3221225472"_qs);
}

void TestScanWalk::keepsUnusualNamesIntact()
{
    QTemporaryDir dir;
    const QString name = u"a*b\t晴天 #1 (Live)..mp3"_qs;
    const QString folder = u"周杰伦\\ *专辑"_qs;
    makeFile(dir.filePath(folder + u"/"_qs + name));
    Scan scan;
    scan.run(dir.path());
    QCOMPARE(scan.catalogue.count(), 1);
    QCOMPARE(scan.catalogue.at(0).name(), name);
    QCOMPARE(scan.catalogue.at(0).folder(), dir.path() + u"/"_qs + folder + u"/"_qs);
    QCOMPARE(scan.rows[0][1], name);
    QCOMPARE(scan.rows[0][2], scan.catalogue.at(0).folder());
    QVERIFY(QFile::exists(scan.catalogue.at(0).fullPath()));
}

void TestScanWalk::findsNothingWhereThereIsNoFolder_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("a file") << u"song.mp3"_qs;
    QTest::newRow("a missing folder") << u"missing"_qs;
}

void TestScanWalk::findsNothingWhereThereIsNoFolder()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    makeFile(dir.filePath(u"song.mp3"_qs), 10);
    Scan scan;
    QCOMPARE(scan.run(dir.filePath(relative)), qint64(0));
    QCOMPARE(scan.files, qint16(0));
    QCOMPARE(scan.folders, qint16(0));
    QVERIFY(scan.catalogue.isEmpty());
    QVERIFY(scan.rows.isEmpty());
}

void TestScanWalk::stopsAtTheFileLimitInStep()
{
    QTemporaryDir dir;
    const int total = 32767 + 40;
    for (int i = 0; i < total; ++i) {
        QFile file(dir.filePath(
            u"f%1/%2.mp3"_qs.arg(i / 1000, 2, 10, QChar(u'0')).arg(i, 5, 10, QChar(u'0'))));
        if (i % 1000 == 0)
            makeFolder(QFileInfo(file).path());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    Scan scan;
    scan.run(dir.path());
    QCOMPARE(int(scan.files), 32767);
    QCOMPARE(scan.catalogue.count(), 32767);
    QCOMPARE(scan.rows.size(), 32767);
    QVERIFY(scan.refused);
    for (int k : {0, 1, 999, 1000, 20000, 32766}) {
        QCOMPARE(scan.rows[k][0], QString::number(k + 1));
        QCOMPARE(scan.rows[k][1], scan.catalogue.at(k).name());
        QCOMPARE(scan.rows[k][2], scan.catalogue.at(k).folder());
    }
    QCOMPARE(scan.catalogue.at(32766).name(), u"32766.mp3"_qs);
    // The refused files still show in the status text.
    QVERIFY(scan.texts.last().endsWith(u"32806.mp3"_qs));

    // A later scan below the limit clears the mark.
    Scan small;
    small.run(dir.filePath(u"f00"_qs));
    QVERIFY(!small.refused);
}

void TestScanWalk::stopsAtTheFolderLimit()
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    for (int i = 0; i < 32767 + 3; ++i)
        QVERIFY(::mkdir(QFile::encodeName(root + u"d%1"_qs.arg(i, 5, 10, QChar(u'0'))).constData(),
                    0755)
            == 0);
    makeFile(root + u"d00000/first.mp3"_qs);
    makeFile(root + u"d32768/beyond.mp3"_qs);
    Scan scan;
    scan.run(root);
    QCOMPARE(int(scan.folders), 32767);
    QCOMPARE(scan.paths(), QStringList {root + u"d00000/first.mp3"_qs});
}

void TestScanWalk::measuresTheWidestTexts()
{
    QTemporaryDir dir;
    const QString longName = u"a-rather-long-file-name-for-the-first-column.mp3"_qs;
    makeFile(dir.filePath(u"b.mp3"_qs));
    makeFile(dir.filePath(longName));
    makeFile(dir.filePath(u"sub/c.mp3"_qs));
    Scan scan;
    scan.run(dir.path());
    TextMeasure measure {QFont()};
    QCOMPARE(scan.widths[0], measure.widthTwips(u"3"_qs)); // the largest row number
    QCOMPARE(scan.widths[1], measure.widthTwips(longName));
    // The deeper folder's text is the longer one.
    QCOMPARE(scan.widths[2], measure.widthTwips(dir.path() + u"/sub/"_qs));
    QCOMPARE(scan.widths[7], measure.widthTwips(u"MP3 音频"_qs));
    for (int c = 3; c <= 6; ++c)
        QVERIFY(scan.widths[c] > measure.widthTwips(QString()));
}

void TestScanWalk::cutsAtNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cut");
    QTest::newRow("no NUL") << u"abc"_qs << u"abc"_qs;
    QTest::newRow("NUL inside") << QString(u"ab\0cd"_qs) << u"ab"_qs;
    QTest::newRow("NUL first") << QString(u"\0abc"_qs) << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestScanWalk::cutsAtNull()
{
    QFETCH(QString, text);
    QFETCH(QString, cut);
    QCOMPARE(ModFindFile::CutAtNull(text), cut);
    QCOMPARE(text, cut);
}

void TestScanWalk::browsesThroughTheSeam()
{
    FakeDialogs dialogs;
    dialogs.folders.enqueue(u"/music/华语"_qs);
    dialogs.folders.enqueue(QString());
    QCOMPARE(BrowseForFolder(dialogs, u"请选择目录"_qs), u"/music/华语"_qs);
    QCOMPARE(BrowseForFolder(dialogs, u"请选择目录"_qs), QString());
    QCOMPARE(dialogs.folderTitles, (QStringList {u"请选择目录"_qs, u"请选择目录"_qs}));
}

QTEST_MAIN(TestScanWalk)
#include "tst_ScanWalk.moc"
