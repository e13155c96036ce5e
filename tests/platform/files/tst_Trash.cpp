#include "platform/files/Trash.h"

#include "support/TestFiles.h"
#include "support/TestMount.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Every case points XDG_DATA_HOME at a folder of its own, so the real trash
// is never touched.
class TestTrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void trashedFileRestoresFromItsInfo_data();
    void trashedFileRestoresFromItsInfo();
    void clashingNamesGetNumbered();
    void fileWithoutInfoInTrashIsNotReplaced();
    void linkedFilesFolderIsAccepted();
    void fileInATrashIsNotTrashedAgain_data();
    void fileInATrashIsNotTrashedAgain();
    void fileInReadOnlyFolderStaysAndLeavesNoInfo();
    void otherMountUsesItsTopdirTrash_data();
    void otherMountUsesItsTopdirTrash();
    void readOnlyMountRefuses();
    void badPathsRefused_data();
    void badPathsRefused();
    void linkToFolderWithByteNameTrashesThatFile();
    void longestNameFitsTheTrash();

private:
    struct Info
    {
        QByteArray path;
        QString date;
    };
    static Info readInfo(const QString &infoFile);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
};

TestTrash::Info TestTrash::readInfo(const QString &infoFile)
{
    Info info;
    const QList<QByteArray> lines = TestFiles::read(infoFile).split('\n');
    if (lines.value(0) != "[Trash Info]")
        return info;
    for (const QByteArray &line : lines) {
        if (line.startsWith("Path="))
            info.path = Trash::decodePath(line.mid(5));
        else if (line.startsWith("DeletionDate="))
            info.date = QString::fromLatin1(line.mid(13));
    }
    return info;
}

void TestTrash::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_home = m_dir->filePath(QStringLiteral("data/Trash"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    QCOMPARE(Trash::homeTrash(), m_home);
}

void TestTrash::trashedFileRestoresFromItsInfo_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("a.txt");
    QTest::newRow("space, percent, ampersand") << QStringLiteral("50% off & more.txt");
    QTest::newRow("line break") << QStringLiteral("two\nlines.txt");
    QTest::newRow("chinese") << QStringLiteral("重复文件.mp3");
    QTest::newRow("other scripts") << QStringLiteral("日本語 ελληνικά 😀.bin");
    QTest::newRow("no extension, leading dot") << QStringLiteral(".hidden");
}

void TestTrash::trashedFileRestoresFromItsInfo()
{
    QFETCH(QString, name);
    const QString original = m_dir->filePath(QStringLiteral("src/") + name);
    const QByteArray content = "bytes of " + name.toUtf8();
    QVERIFY(TestFiles::write(original, content));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
    QVERIFY(!QFileInfo::exists(original));
    QCOMPARE(outcome.trashedFile, m_home + QStringLiteral("/files/") + name);
    QCOMPARE(outcome.infoFile, m_home + QStringLiteral("/info/") + name + ".trashinfo");

    const Info info = readInfo(outcome.infoFile);
    QCOMPARE(QFile::decodeName(info.path), original);
    const QDateTime date
        = QDateTime::fromString(info.date, QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    QVERIFY2(date.isValid(), qPrintable(info.date));
    QVERIFY(date >= before && date <= QDateTime::currentDateTime().addSecs(1));

    // What a trash view does to put it back.
    QVERIFY(QFile::rename(outcome.trashedFile, QFile::decodeName(info.path)));
    QCOMPARE(TestFiles::read(original), content);
}

void TestTrash::clashingNamesGetNumbered()
{
    QStringList originals;
    for (const char *folder : {"one", "two", "three"}) {
        originals << m_dir->filePath(QLatin1String(folder) + QStringLiteral("/song.mp3"));
        QVERIFY(TestFiles::write(originals.last(), folder));
    }
    QStringList trashed;
    for (const QString &path : originals) {
        const Trash::Outcome outcome = Trash().moveToTrash(path);
        QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
        trashed << QFileInfo(outcome.trashedFile).fileName();
        QCOMPARE(QFile::decodeName(readInfo(outcome.infoFile).path), path);
        QCOMPARE(QFileInfo(outcome.infoFile).fileName(), trashed.last() + ".trashinfo");
    }
    QCOMPARE(trashed, QStringList({"song.mp3", "song (2).mp3", "song (3).mp3"}));
    QCOMPARE(TestFiles::read(m_home + QStringLiteral("/files/song (2).mp3")), "two");
}

void TestTrash::fileWithoutInfoInTrashIsNotReplaced()
{
    QVERIFY(TestFiles::write(m_home + QStringLiteral("/files/a.txt"), "left over"));
    QVERIFY(QDir().mkpath(m_home + QStringLiteral("/info")));
    const QString original = m_dir->filePath(QStringLiteral("a.txt"));
    QVERIFY(TestFiles::write(original, "new"));

    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
    QCOMPARE(TestFiles::read(m_home + QStringLiteral("/files/a.txt")), "left over");
    QCOMPARE(TestFiles::read(outcome.trashedFile), "new");
    QCOMPARE(
        TestFiles::entries(m_home + QStringLiteral("/info")), QStringList({"a (2).txt.trashinfo"}));
}

void TestTrash::linkedFilesFolderIsAccepted()
{
    const QString elsewhere = m_dir->filePath(QStringLiteral("real-files"));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QDir().mkpath(m_home));
    QVERIFY(QFile::link(elsewhere, m_home + QStringLiteral("/files")));
    const QString original = m_dir->filePath(QStringLiteral("b.txt"));
    QVERIFY(TestFiles::write(original, "b"));

    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
    QCOMPARE(TestFiles::read(elsewhere + QStringLiteral("/b.txt")), "b");
}

void TestTrash::fileInATrashIsNotTrashedAgain_data()
{
    QTest::addColumn<QString>("where"); // how the file in the trash is named
    QTest::newRow("home trash's files") << QStringLiteral("files");
    QTest::newRow("home trash's files through a link") << QStringLiteral("link");
    QTest::newRow("home trash's info") << QStringLiteral("info");
    QTest::newRow("inside a folder in files") << QStringLiteral("deeper");
    QTest::newRow("another trash by its name") << QStringLiteral("topdir");
}

void TestTrash::fileInATrashIsNotTrashedAgain()
{
    QFETCH(QString, where);
    const QString original = m_dir->filePath(QStringLiteral("a.mp3"));
    QVERIFY(TestFiles::write(original, "a"));
    const Trash::Outcome first = Trash().moveToTrash(original);
    QVERIFY2(first.status, qPrintable(first.status.text()));

    QString inTrash = first.trashedFile;
    if (where == QLatin1String("link")) {
        QVERIFY(
            QFile::link(m_home + QStringLiteral("/files"), m_dir->filePath(QStringLiteral("t"))));
        inTrash = m_dir->filePath(QStringLiteral("t/a.mp3"));
    } else if (where == QLatin1String("info")) {
        inTrash = first.infoFile;
    } else if (where == QLatin1String("deeper")) {
        inTrash = m_home + QStringLiteral("/files/sub/b.mp3");
        QVERIFY(TestFiles::write(inTrash, "b"));
    } else if (where == QLatin1String("topdir")) {
        inTrash = m_dir->filePath(QStringLiteral(".Trash-%1/files/c.mp3").arg(::geteuid()));
        QVERIFY(TestFiles::write(inTrash, "c"));
    }
    const QByteArray content = TestFiles::read(inTrash);
    const QStringList files = TestFiles::entries(m_home + QStringLiteral("/files"));

    const Trash::Outcome again = Trash().moveToTrash(inTrash);
    QVERIFY(again.status.kind == FileOpResult::Kind::AlreadyInTrash);
    QCOMPARE(TestFiles::read(inTrash), content);
    QCOMPARE(TestFiles::entries(m_home + QStringLiteral("/files")), files);
    // The first info still leads back to the file.
    QCOMPARE(
        TestFiles::entries(m_home + QStringLiteral("/info")), QStringList({"a.mp3.trashinfo"}));
    QCOMPARE(QFile::decodeName(readInfo(first.infoFile).path), original);
}

void TestTrash::fileInReadOnlyFolderStaysAndLeavesNoInfo()
{
    const QString folder = m_dir->filePath(QStringLiteral("locked"));
    const QString original = folder + QStringLiteral("/keep.txt");
    QVERIFY(TestFiles::write(original, "keep"));
    std::optional<TestMount> view;
    if (::geteuid() == 0) {
        // Permission bits do not stop root: lock the folder with a read-only view.
        view.emplace(TestMount::readOnlyView(folder));
        if (!view->ok())
            QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder as root here (")
                + view->error() + QLatin1Char(')')));
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }

    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY(!outcome.status);
    QVERIFY(!outcome.status.text().isEmpty());
    QCOMPARE(TestFiles::read(original), "keep");
    // The info was claimed before the move and must be gone again.
    QCOMPARE(TestFiles::entries(m_home + QStringLiteral("/info")), QStringList());
    QCOMPARE(TestFiles::entries(m_home + QStringLiteral("/files")), QStringList());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestTrash::otherMountUsesItsTopdirTrash_data()
{
    QTest::addColumn<QString>("shared");
    QTest::addColumn<bool>("sharedCounts");
    QTest::newRow("no .Trash") << QString() << false;
    QTest::newRow("sticky .Trash") << QStringLiteral("sticky") << true;
    QTest::newRow(".Trash without sticky bit") << QStringLiteral("plain") << false;
    QTest::newRow(".Trash is a link") << QStringLiteral("link") << false;
}

void TestTrash::otherMountUsesItsTopdirTrash()
{
    QFETCH(QString, shared);
    QFETCH(bool, sharedCounts);
    const QString topdir = m_dir->filePath(QStringLiteral("mnt"));
    QVERIFY(QDir().mkpath(topdir));
    const TestMount mount = TestMount::tmpfs(topdir);
    if (!mount.ok())
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount.error()));

    const QByteArray trashFolder = QFile::encodeName(topdir + QStringLiteral("/.Trash"));
    if (shared == QLatin1String("sticky") || shared == QLatin1String("plain")) {
        QVERIFY(::mkdir(trashFolder.constData(), 0777) == 0);
        QVERIFY(::chmod(trashFolder.constData(), shared == QLatin1String("sticky") ? 01777 : 0777)
            == 0);
    } else if (shared == QLatin1String("link")) {
        const QString target = topdir + QStringLiteral("/elsewhere");
        QVERIFY(::mkdir(QFile::encodeName(target).constData(), 01777) == 0);
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 01777) == 0);
        QVERIFY(QFile::link(target, QFile::decodeName(trashFolder)));
    }

    const QString original = topdir + QStringLiteral("/sub/文件.txt");
    QVERIFY(TestFiles::write(original, "on the other mount"));
    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY2(outcome.status, qPrintable(outcome.status.text()));

    const QString uid = QString::number(::geteuid());
    const QString root = sharedCounts ? topdir + QStringLiteral("/.Trash/") + uid
                                      : topdir + QStringLiteral("/.Trash-") + uid;
    QCOMPARE(outcome.trashedFile, root + QStringLiteral("/files/文件.txt"));
    QCOMPARE(outcome.infoFile, root + QStringLiteral("/info/文件.txt.trashinfo"));
    QVERIFY(!QFileInfo::exists(m_home));
    struct stat st;
    QVERIFY(::lstat(QFile::encodeName(root).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0700u);

    // A top-directory trash names the file relative to the mount: a lost
    // first character would put it back in the wrong folder.
    const QByteArray path = readInfo(outcome.infoFile).path;
    QCOMPARE(QFile::decodeName(path), QStringLiteral("sub/文件.txt"));
    QVERIFY(
        QFile::rename(outcome.trashedFile, topdir + QLatin1Char('/') + QFile::decodeName(path)));
    QCOMPARE(TestFiles::read(original), "on the other mount");
}

void TestTrash::readOnlyMountRefuses()
{
    const QString topdir = m_dir->filePath(QStringLiteral("mnt"));
    QVERIFY(QDir().mkpath(topdir));
    const TestMount mount = TestMount::tmpfs(topdir);
    if (!mount.ok())
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount.error()));
    const QString original = topdir + QStringLiteral("/x.txt");
    QVERIFY(TestFiles::write(original, "x"));
    const TestMount locked = TestMount::readOnlyView(topdir);
    if (!locked.ok())
        QSKIP(qPrintable(QStringLiteral("cannot make the mount read-only: ") + locked.error()));

    const Trash::Outcome outcome = Trash().moveToTrash(original);
    QVERIFY(!outcome.status);
    QCOMPARE(TestFiles::read(original), "x");
    QVERIFY(!QFileInfo::exists(m_home + QStringLiteral("/files/x.txt")));
}

void TestTrash::badPathsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("relative") << QStringLiteral("some/file.txt");
    QTest::newRow("missing") << QStringLiteral("/no/such/folder/file.txt");
    QTest::newRow("dot dot") << QStringLiteral("/tmp/..");
}

void TestTrash::badPathsRefused()
{
    QFETCH(QString, path);
    const Trash::Outcome outcome = Trash().moveToTrash(path);
    QVERIFY(!outcome.status);
    QVERIFY(outcome.trashedFile.isEmpty());
    QCOMPARE(TestFiles::entries(m_home + QStringLiteral("/info")), QStringList());
}

void TestTrash::linkToFolderWithByteNameTrashesThatFile()
{
    // The real folder's name is not UTF-8; its neighbour holds the name that
    // the bytes would turn into as text.
    const QByteArray root = QFile::encodeName(m_dir->path());
    const QByteArray real = root + "/bad\xff";
    const QByteArray lookalike = root + "/bad\xef\xbf\xbd";
    for (const QByteArray &folder : {real, lookalike}) {
        QVERIFY(::mkdir(folder.constData(), 0700) == 0);
        const QByteArray file = folder + "/f.txt";
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, folder.constData(), size_t(folder.size())), ssize_t(folder.size()));
        ::close(fd);
    }
    // Qt cannot remove what it cannot name: clear up by the bytes.
    const auto clearUp = qScopeGuard([&] {
        for (const QByteArray &folder : {real, lookalike}) {
            ::unlink((folder + "/f.txt").constData());
            ::rmdir(folder.constData());
        }
    });
    QVERIFY(::symlink(real.constData(), (root + "/link").constData()) == 0);

    const Trash::Outcome outcome
        = Trash().moveToTrash(m_dir->filePath(QStringLiteral("link/f.txt")));
    QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
    struct stat st;
    QVERIFY(::lstat((real + "/f.txt").constData(), &st) != 0);
    QVERIFY(::lstat((lookalike + "/f.txt").constData(), &st) == 0);
    QCOMPARE(TestFiles::read(outcome.trashedFile), real);
    QCOMPARE(readInfo(outcome.infoFile).path, real + "/f.txt");
}

void TestTrash::longestNameFitsTheTrash()
{
    // 255 bytes: the file system's limit, so "<name>.trashinfo" cannot exist.
    const QString name = QString(83, QChar(u'名')) + QStringLiteral("xy.txt");
    QCOMPARE(QFile::encodeName(name).size(), 255);
    const QString original = m_dir->filePath(QStringLiteral("src/") + name);
    QVERIFY(TestFiles::write(original, "long"));
    for (int round = 0; round < 2; ++round) {
        const Trash::Outcome outcome = Trash().moveToTrash(original);
        QVERIFY2(outcome.status, qPrintable(outcome.status.text()));
        QVERIFY(!QFileInfo::exists(original));
        QCOMPARE(TestFiles::read(outcome.trashedFile), "long");
        QCOMPARE(QFile::decodeName(readInfo(outcome.infoFile).path), original);
        QCOMPARE(QFileInfo(outcome.infoFile).fileName(),
            QFileInfo(outcome.trashedFile).fileName() + QStringLiteral(".trashinfo"));
        QVERIFY(TestFiles::write(original, "long")); // a second one takes a numbered name
    }
}

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_Trash.moc"
