#include "modules/ModEditFile.h"
#include "platform/files/Trash.h"

#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "support/TestMount.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QChar nul(u'\0');

} // namespace

// Every case points XDG_DATA_HOME at a folder of its own, so the real trash
// is never touched.
class TestModEditFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void requestsCarryTheListAndFlags_data();
    void requestsCarryTheListAndFlags();
    void returnCodeBecomesResult_data();
    void returnCodeBecomesResult();

    void recycleAnsweredYesPutsFilesInTrash();
    void recycleAnsweredNoChangesNothing();
    void recycleOfFileInReadOnlyFolderFails();
    void emptyListFailsWithoutAsking();

    void isFilePresent_data();
    void isFilePresent();
    void hasIllegalNameChar_data();
    void hasIllegalNameChar();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestModEditFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    QCOMPARE(Trash::homeTrash(), path(QStringLiteral("data/Trash")));
}

void TestModEditFile::requestsCarryTheListAndFlags_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("from");
    const QString a = QStringLiteral("/x/a.txt");
    const QString b = QStringLiteral("/x/文件 b.txt");
    const QString c = QStringLiteral("/y/c");
    QTest::newRow("one path") << a << a + nul + nul;
    QTest::newRow("three paths") << a + nul + b + nul + c << a + nul + b + nul + c + nul + nul;
}

void TestModEditFile::requestsCarryTheListAndFlags()
{
    QFETCH(QString, list);
    QFETCH(QString, from);
    const QString folder = QStringLiteral("/目标");
    const QString to = folder + nul + nul;

    const ShellFileRequest copy = ModEditFile::copyRequest(list, folder);
    QCOMPARE(copy.operation, ShellFileRequest::Copy);
    QCOMPARE(copy.from, from);
    QCOMPARE(copy.to, to);
    QCOMPARE(copy.flags, quint16(0x0200));

    const ShellFileRequest move = ModEditFile::moveRequest(list, folder);
    QCOMPARE(move.operation, ShellFileRequest::Move);
    QCOMPARE(move.from, from);
    QCOMPARE(move.to, to);
    QCOMPARE(move.flags, quint16(0x0200));

    const ShellFileRequest recycle = ModEditFile::recycleRequest(list);
    QCOMPARE(recycle.operation, ShellFileRequest::Delete);
    QCOMPARE(recycle.from, from);
    QCOMPARE(recycle.to, QString());
    QCOMPARE(recycle.flags, quint16(0x0440));
}

void TestModEditFile::returnCodeBecomesResult_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("result");
    QTest::newRow("0: success") << 0 << 1;
    QTest::newRow("7: cancelled") << 7 << 0;
    QTest::newRow("0x75") << 0x75 << -1;
    QTest::newRow("1") << 1 << -1;
    QTest::newRow("6") << 6 << -1;
    QTest::newRow("8") << 8 << -1;
    QTest::newRow("negative") << -7 << -1;
}

void TestModEditFile::returnCodeBecomesResult()
{
    QFETCH(int, code);
    QFETCH(int, result);
    QCOMPARE(ModEditFile::operationResult(code), result);
}

void TestModEditFile::recycleAnsweredYesPutsFilesInTrash()
{
    const QString a = path(QStringLiteral("src/a.txt"));
    const QString b = path(QStringLiteral("src/重复.txt"));
    QVERIFY(TestFiles::write(a, "a"));
    QVERIFY(TestFiles::write(b, "b"));
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("是"));
    QCOMPARE(ModEditFile::RecycleFileList(dialogs, a + nul + b), 1);
    QCOMPARE(dialogs.prompts.size(), 1);
    QCOMPARE(dialogs.prompts.first().text, QStringLiteral("确实要把这 2 项放入回收站吗？"));
    QCOMPARE(dialogs.progresses.size(), 1);
    QVERIFY(!QFileInfo::exists(a));
    QVERIFY(!QFileInfo::exists(b));
    const QString trash = Trash::homeTrash();
    QCOMPARE(TestFiles::read(trash + QStringLiteral("/files/重复.txt")), "b");
    QVERIFY(TestFiles::read(trash + QStringLiteral("/info/重复.txt.trashinfo"))
                .contains("\nPath=" + Trash::encodePath(QFile::encodeName(b)) + '\n'));
}

void TestModEditFile::recycleAnsweredNoChangesNothing()
{
    const QString a = path(QStringLiteral("src/a.txt"));
    QVERIFY(TestFiles::write(a, "a"));
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("否"));
    QCOMPARE(ModEditFile::RecycleFileList(dialogs, a), 0);
    QCOMPARE(dialogs.prompts.size(), 1);
    QCOMPARE(dialogs.progresses.size(), 0);
    QCOMPARE(dialogs.prompts.first().text, QStringLiteral("确实要把此文件放入回收站吗？\na.txt"));
    QCOMPARE(TestFiles::read(a), "a");
    QCOMPARE(TestFiles::entries(path(QStringLiteral("src"))), QStringList({"a.txt"}));
    QVERIFY(!QFileInfo::exists(Trash::homeTrash()));
}

void TestModEditFile::recycleOfFileInReadOnlyFolderFails()
{
    const QString folder = path(QStringLiteral("locked"));
    const QString kept = folder + QStringLiteral("/kept.txt");
    const QString free = path(QStringLiteral("free.txt"));
    QVERIFY(TestFiles::write(kept, "kept"));
    QVERIFY(TestFiles::write(free, "free"));
    std::optional<TestMount> view;
    if (::geteuid() == 0) {
        // Permission bits do not stop root: lock the folder with a read-only view.
        view.emplace(TestMount::readOnlyView(folder));
        if (!view->ok())
            QSKIP(qPrintable(
                QStringLiteral("cannot make a read-only folder as root here: ") + view->error()));
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }

    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("是"));
    QCOMPARE(ModEditFile::RecycleFileList(dialogs, kept + nul + free), -1);
    QCOMPARE(dialogs.prompts.size(), 1); // no error window for a delete
    QCOMPARE(TestFiles::read(kept), "kept");
    QVERIFY(!QFileInfo::exists(free));
    QCOMPARE(TestFiles::entries(Trash::homeTrash() + QStringLiteral("/files")),
        QStringList({"free.txt"}));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestModEditFile::emptyListFailsWithoutAsking()
{
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("是"));
    QCOMPARE(ModEditFile::RecycleFileList(dialogs, QString()), -1);
    QCOMPARE(ModEditFile::CopyFileList(dialogs, QString(), path(QStringLiteral("t"))), -1);
    QCOMPARE(ModEditFile::MoveFileList(dialogs, QString(), path(QStringLiteral("t"))), -1);
    QCOMPARE(dialogs.prompts.size(), 0);
    QCOMPARE(dialogs.progresses.size(), 0);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("t"))));
}

void TestModEditFile::isFilePresent_data()
{
    QTest::addColumn<QString>("entry"); // under the temporary folder
    QTest::addColumn<bool>("present");
    QTest::newRow("file") << "file.txt" << true;
    QTest::newRow("chinese name with a line break") << "重复\n文件.txt" << true;
    QTest::newRow("empty file") << "empty" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("folder with trailing slash") << "folder/" << false;
    QTest::newRow("file with trailing slash") << "file.txt/" << false;
    QTest::newRow("missing") << "missing.txt" << false;
    QTest::newRow("link to a file") << "link" << true;
    QTest::newRow("link to a folder") << "folder-link" << false;
    QTest::newRow("dangling link") << "dangling" << false;
    QTest::newRow("empty path") << "" << false;
    QTest::newRow("NUL inside") << QStringLiteral("file.txt") + nul + "x" << false;
}

void TestModEditFile::isFilePresent()
{
    QFETCH(QString, entry);
    QFETCH(bool, present);
    QVERIFY(TestFiles::write(path(QStringLiteral("file.txt")), "f"));
    QVERIFY(TestFiles::write(path(QStringLiteral("重复\n文件.txt")), "f"));
    QVERIFY(TestFiles::write(path(QStringLiteral("empty")), {}));
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder"))));
    QVERIFY(QFile::link(path(QStringLiteral("file.txt")), path(QStringLiteral("link"))));
    QVERIFY(QFile::link(path(QStringLiteral("folder")), path(QStringLiteral("folder-link"))));
    QVERIFY(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("dangling"))));
    const QString full = entry.isEmpty() ? QString() : m_dir->path() + QLatin1Char('/') + entry;
    QCOMPARE(ModEditFile::IsFilePresent(full), present);
}

void TestModEditFile::hasIllegalNameChar_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("illegal");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters, digits, one dot") << "Track01.mp3" << false;
    QTest::newRow("chinese, spaces, brackets") << "重复 文件 (2) [副本].txt" << false;
    QTest::newRow("NUL inside") << QStringLiteral("ab") + nul + QStringLiteral("cd") << true;
    QTest::newRow("tab") << "a\tb" << true;
    QTest::newRow("line break last") << "ab\n" << true;
    QTest::newRow("DEL") << "a\x7f" << true;
    QTest::newRow("C1 control") << QStringLiteral("a") + QChar(0x85) << true;
    QTest::newRow("trailing dot and space pass") << "name. " << false;
    QTest::newRow("reserved device name passes") << "CON" << false;
    QTest::newRow("question mark first") << "?abc" << true;
    QTest::newRow("question mark last") << "abc?" << true;
    QTest::newRow("bar first") << "|abc" << true;
    QTest::newRow("bar last") << "abc|" << true;
    QTest::newRow("quote first") << "\"abc" << true;
    QTest::newRow("quote last") << "abc\"" << true;
    QTest::newRow("only a quote") << "\"" << true;
    const QString forbidden = QStringLiteral("><?*:/\\\"|");
    for (const QChar c : forbidden)
        QTest::addRow("%s in the middle", qPrintable(QString(c)))
            << QStringLiteral("ab") + c + QStringLiteral("cd") << true;
    // Look-alikes from other scripts are ordinary characters.
    QTest::newRow("full-width question mark and colon") << "为什么？：" << false;
}

void TestModEditFile::hasIllegalNameChar()
{
    QFETCH(QString, name);
    QFETCH(bool, illegal);
    QCOMPARE(ModEditFile::HasIllegalNameChar(name), illegal);
}

QTEST_GUILESS_MAIN(TestModEditFile)
#include "tst_ModEditFile.moc"
