#include "platform/files/FileOps.h"

#include "support/TestFiles.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A file system that cannot refuse a taken name by itself.
int withoutNoReplace(const char *, const char *)
{
    errno = EINVAL;
    return -1;
}

// Lets entries into the folder but none out of it, for root as well as for
// others: append-only where the file system has it, else no write right.
bool forbidRemovalFrom(const QString &folder, bool on)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder,
            on ? QFile::ReadOwner | QFile::ExeOwner
               : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void renameNeverReplaces_data();
    void renameNeverReplaces();
    void fallbackKeepsOldNameWhenItCannotGo();

private:
    QString path(const QString &relative) const { return m_dir->path() + u'/' + relative; }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileOps::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileOps::cleanup()
{
    FileOps::setNoReplaceCall(nullptr);
    m_dir.reset();
}

void TestFileOps::renameNeverReplaces_data()
{
    QTest::addColumn<bool>("fallback"); // the file system has no no-replace rename
    QTest::addColumn<QString>("inTheWay"); // "file", "folder", "dangling link" or empty
    QTest::addColumn<QByteArray>("sourceTail"); // after the source's name
    QTest::addColumn<int>("error"); // 0: renamed
    for (const bool fallback : {false, true}) {
        const char *how = fallback ? "link then unlink" : "no-replace rename";
        QTest::addRow("%s: free name", how) << fallback << QString() << QByteArray() << 0;
        QTest::addRow("%s: onto a file", how) << fallback << u"file"_qs << QByteArray() << EEXIST;
        QTest::addRow("%s: onto a folder", how)
            << fallback << u"folder"_qs << QByteArray() << EEXIST;
        QTest::addRow("%s: onto a dangling link", how)
            << fallback << u"dangling link"_qs << QByteArray() << EEXIST;
        // The system would stop reading at the NUL and take old.txt.
        QTest::addRow("%s: NUL in the source", how)
            << fallback << QString() << QByteArray("\0x", 2) << EINVAL;
    }
}

void TestFileOps::renameNeverReplaces()
{
    QFETCH(bool, fallback);
    QFETCH(QString, inTheWay);
    QFETCH(QByteArray, sourceTail);
    QFETCH(int, error);
    if (fallback)
        FileOps::setNoReplaceCall(withoutNoReplace);
    const QString source = path(u"old.txt"_qs);
    const QString target = path(u"new.txt"_qs);
    QVERIFY(TestFiles::write(source, "old"));
    if (inTheWay == u"file"_qs)
        QVERIFY(TestFiles::write(target, "in the way"));
    else if (inTheWay == u"folder"_qs)
        QVERIFY(QDir().mkdir(target));
    else if (!inTheWay.isEmpty())
        QVERIFY(QFile::link(path(u"gone"_qs), target));

    const FileOpResult renamed = FileOps::renameNoReplace(
        QFile::encodeName(source) + sourceTail, QFile::encodeName(target));
    QCOMPARE(bool(renamed), error == 0);
    QCOMPARE(renamed.errorNumber, error);
    if (error == 0) {
        QCOMPARE(TestFiles::entries(m_dir->path()), QStringList {u"new.txt"_qs});
        QCOMPARE(TestFiles::read(target), "old");
        return;
    }
    QCOMPARE(TestFiles::read(source), "old");
    if (inTheWay == u"file"_qs)
        QCOMPARE(TestFiles::read(target), "in the way");
    else if (inTheWay == u"folder"_qs)
        QVERIFY(QFileInfo(target).isDir());
    else if (!inTheWay.isEmpty())
        QCOMPARE(QFileInfo(target).symLinkTarget(), path(u"gone"_qs));
    else
        QVERIFY(!QFileInfo::exists(target));
}

void TestFileOps::fallbackKeepsOldNameWhenItCannotGo()
{
    FileOps::setNoReplaceCall(withoutNoReplace);
    const QString source = path(u"locked/old.txt"_qs);
    const QString target = path(u"free/new.txt"_qs);
    QVERIFY(TestFiles::write(source, "old"));
    QVERIFY(QDir().mkpath(path(u"free"_qs)));
    if (!forbidRemovalFrom(path(u"locked"_qs), true))
        QSKIP("this file system cannot forbid removals from a folder");
    const auto unlock = qScopeGuard([&] { forbidRemovalFrom(path(u"locked"_qs), false); });

    const FileOpResult renamed
        = FileOps::renameNoReplace(QFile::encodeName(source), QFile::encodeName(target));
    QVERIFY(!renamed);
    QVERIFY(renamed.errorNumber == EPERM || renamed.errorNumber == EACCES);
    QCOMPARE(TestFiles::read(source), "old");
    QVERIFY(TestFiles::entries(path(u"free"_qs)).isEmpty());
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_FileOps.moc"
