#include "core/FileStamp.h"
#include "platform/files/ShellFileOperation.h"
#include "platform/files/ShellFilePrompts.h"
#include "platform/files/Trash.h"

#include "support/FakePrompter.h"
#include "support/TestFiles.h"
#include "support/TestMount.h"

#include <QDateTime>
#include <QDirIterator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString nul(1, QChar(u'\0'));

QString list(const QStringList &paths)
{
    return paths.join(nul) + nul + nul;
}

ShellFileRequest transfer(
    ShellFileRequest::Operation operation, const QStringList &sources, const QString &target)
{
    ShellFileRequest r;
    r.operation = operation;
    r.flags = ShellFileRequest::NoConfirmMkdir;
    r.from = list(sources);
    r.to = list({target});
    return r;
}

ShellFileRequest trash(const QStringList &sources)
{
    ShellFileRequest r;
    r.operation = ShellFileRequest::Delete;
    r.flags = ShellFileRequest::AllowUndo | ShellFileRequest::NoErrorUi;
    r.from = list(sources);
    return r;
}

int perform(FakePrompter &prompter, ShellFileRequest request)
{
    return ShellFileOperation(prompter).perform(request);
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

// Every case points XDG_DATA_HOME at a folder of its own, so the real trash
// is never touched.
class TestShellFileOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void trashAsksOnceForTheWholeList_data();
    void trashAsksOnceForTheWholeList();
    void trashOfMixedListTrashesWhatItCanWithoutErrorWindow();
    void folderSwappedInUnderConfirmationStays_data();
    void folderSwappedInUnderConfirmationStays();
    void deleteWithoutUndoIsRefused();

    void copyIntoMissingFolderKeepsTimeAndPermissions();
    void clash_data();
    void clash();
    void clashPromptShowsBothFiles();
    void ontoItselfIsSkippedWithAnError_data();
    void ontoItselfIsSkippedWithAnError();

    void changedSourcesAreLeftWhereTheyAre_data();
    void changedSourcesAreLeftWhereTheyAre();

    void moveAcrossFileSystems();
    void moveOntoFullFileSystemLeavesSourceIntact();
    void moveOutOfReadOnlyFolderLeavesNoSecondCopy();
    void failedReplaceKeepsTheExistingFile();
    void faultsLeaveEveryFileWhole_data();
    void faultsLeaveEveryFileWhole();

    void badInputLosesNothing_data();
    void badInputLosesNothing();
    void unusualNamesAreHandled_data();
    void unusualNamesAreHandled();
    void pipeAmongSourcesDoesNotHang();

    void progressNamesEachFileAndCounts();
    void progressShowsBytesOfLargeCopies();
    void cancelInProgressStopsAfterCurrentFile_data();
    void cancelInProgressStopsAfterCurrentFile();
    void failureWindowSkipsOrCancelsTheRest_data();
    void failureWindowSkipsOrCancelsTheRest();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    // Every file under the temporary folder as "place=content"; a file in a
    // trash shows as "trash:" and the place its info names.
    QStringList whereEverythingIs() const;
    // A second file system under the temporary folder, or a skip.
    bool mountTmpfs(
        std::optional<TestMount> &mount, const QString &folder, const QString &options = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
};

void TestShellFileOperation::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    m_home = Trash::homeTrash();
    QCOMPARE(m_home, path(QStringLiteral("data/Trash")));
}

bool TestShellFileOperation::mountTmpfs(
    std::optional<TestMount> &mount, const QString &folder, const QString &options)
{
    QDir().mkpath(folder);
    mount.emplace(TestMount::tmpfs(folder, options));
    return mount->ok();
}

void TestShellFileOperation::trashAsksOnceForTheWholeList_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("question");
    QTest::newRow("one file") << QStringList({"甲.txt"})
                              << QStringLiteral("确实要把此文件放入回收站吗？\n甲.txt");
    QTest::newRow("three files") << QStringList({"a.txt", "b.txt", "c.txt"})
                                 << QStringLiteral("确实要把这 3 项放入回收站吗？");
}

void TestShellFileOperation::trashAsksOnceForTheWholeList()
{
    QFETCH(QStringList, names);
    QFETCH(QString, question);
    QStringList paths;
    for (const QString &name : names) {
        paths << path(QStringLiteral("src/") + name);
        QVERIFY(TestFiles::write(paths.last(), name.toUtf8()));
    }
    FakePrompter prompter;
    prompter.answer(QStringLiteral("是"));
    QCOMPARE(perform(prompter, trash(paths)), int(ShellFileOperation::Done));

    QCOMPARE(prompter.prompts.size(), 1);
    const FileOpPrompter::Prompt &asked = prompter.prompts.first();
    QCOMPARE(asked.title, QStringLiteral("删除文件"));
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.icon, FileOpPrompter::Icon::Question);
    QCOMPARE(asked.buttons, QStringList({"是", "否"}));
    QCOMPARE(asked.buttons.value(asked.escapeButton), QStringLiteral("否"));
    QCOMPARE(prompter.progresses.size(), 1);

    QCOMPARE(TestFiles::entries(path(QStringLiteral("src"))), QStringList());
    QCOMPARE(TestFiles::entries(m_home + QStringLiteral("/files")), names);
    for (const QString &name : names)
        QCOMPARE(TestFiles::read(m_home + QStringLiteral("/files/") + name), name.toUtf8());
}

void TestShellFileOperation::trashOfMixedListTrashesWhatItCanWithoutErrorWindow()
{
    const QString file = path(QStringLiteral("src/a.txt"));
    const QString folder = path(QStringLiteral("src/folder"));
    QVERIFY(TestFiles::write(file, "a"));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/inside.txt"), "inside"));
    const QString missing = path(QStringLiteral("src/missing.txt"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("是"));
    QCOMPARE(
        perform(prompter, trash({file, missing, folder})), int(ShellFileOperation::SomeFailed));
    // The confirmation only: delete failures go into the return code.
    QCOMPARE(prompter.prompts.size(), 1);
    // A folder is no file: it stays, whole.
    QCOMPARE(TestFiles::read(folder + QStringLiteral("/inside.txt")), "inside");
    QCOMPARE(
        TestFiles::entries(m_home + QStringLiteral("/info")), QStringList({"a.txt.trashinfo"}));
}

void TestShellFileOperation::folderSwappedInUnderConfirmationStays_data()
{
    QTest::addColumn<bool>("asLink");
    QTest::newRow("folder") << false;
    QTest::newRow("link to a folder") << true;
}

void TestShellFileOperation::folderSwappedInUnderConfirmationStays()
{
    QFETCH(bool, asLink);
    const QString file = path(QStringLiteral("src/a.mp3"));
    const QString other = path(QStringLiteral("src/b.mp3"));
    QVERIFY(TestFiles::write(file, "a"));
    QVERIFY(TestFiles::write(other, "b"));
    const QString folder = path(QStringLiteral("big"));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/never listed.txt"), "kept"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("是"));
    bool swapped = false;
    prompter.onPrompt = [&](const FileOpPrompter::Prompt &) {
        swapped = QFile::remove(file)
            && (asLink ? QFile::link(folder, file) : QDir().rename(folder, file));
    };
    QCOMPARE(perform(prompter, trash({file, other})), int(ShellFileOperation::SomeFailed));
    QVERIFY(swapped);
    QCOMPARE(TestFiles::read(file + QStringLiteral("/never listed.txt")), "kept");
    QCOMPARE(
        TestFiles::entries(m_home + QStringLiteral("/info")), QStringList({"b.mp3.trashinfo"}));
}

void TestShellFileOperation::deleteWithoutUndoIsRefused()
{
    const QString file = path(QStringLiteral("src/a.txt"));
    QVERIFY(TestFiles::write(file, "a"));
    FakePrompter prompter;
    prompter.answer(QStringLiteral("是"));
    ShellFileRequest request = trash({file});
    request.flags = ShellFileRequest::NoErrorUi;
    QCOMPARE(perform(prompter, request), int(ShellFileOperation::BadRequest));
    QCOMPARE(TestFiles::read(file), "a");
    QCOMPARE(prompter.prompts.size(), 0);
}

void TestShellFileOperation::copyIntoMissingFolderKeepsTimeAndPermissions()
{
    const QString source = path(QStringLiteral("src/old.bin"));
    QVERIFY(TestFiles::write(source, "old bytes"));
    QVERIFY(::chmod(QFile::encodeName(source).constData(), 0640) == 0);
    const QDateTime modified
        = QDateTime::fromString(QStringLiteral("2009-06-15T08:30:05.250"), Qt::ISODateWithMs);
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    const QString target = path(QStringLiteral("new/deeper/target"));

    FakePrompter prompter;
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Copy, {source}, target)),
        int(ShellFileOperation::Done));
    QCOMPARE(prompter.prompts.size(), 0);
    const QString copy = target + QStringLiteral("/old.bin");
    QCOMPARE(TestFiles::read(copy), "old bytes");
    QCOMPARE(QFileInfo(copy).lastModified(), modified);
    QCOMPARE(modeOf(copy), mode_t(0640));
    QCOMPARE(TestFiles::entries(target), QStringList({"old.bin"}));
    QCOMPARE(TestFiles::read(source), "old bytes");
}

void TestShellFileOperation::clash_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("forAll");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("prompts");
    // The target folder afterwards, name=content.
    QTest::addColumn<QStringList>("target");
    QTest::addColumn<QStringList>("sourcesLeft");

    const int copy = ShellFileRequest::Copy;
    const int move = ShellFileRequest::Move;
    const QStringList all = {"a.txt", "b.txt", "c.txt"};
    const QStringList untouched
        = {"a (2).txt=older a", "a.txt=old a", "b.txt=old b", "c.txt=new c"};
    for (const bool forAll : {false, true}) {
        const int asked = forAll ? 1 : 2;
        const QString suffix = forAll ? QStringLiteral(", for all") : QString();
        QTest::addRow("copy 替换%s", qPrintable(suffix))
            << copy << QStringLiteral("替换") << forAll << 0 << asked
            << QStringList({"a (2).txt=older a", "a.txt=new a", "b.txt=new b", "c.txt=new c"})
            << all;
        QTest::addRow("copy 跳过%s", qPrintable(suffix))
            << copy << QStringLiteral("跳过") << forAll << 0 << asked << untouched << all;
        QTest::addRow("copy 保留两者%s", qPrintable(suffix))
            << copy << QStringLiteral("保留两者") << forAll << 0 << asked
            << QStringList({"a (2).txt=older a", "a (3).txt=new a", "a.txt=old a",
                   "b (2).txt=new b", "b.txt=old b", "c.txt=new c"})
            << all;
        // What was done before the cancel stays done.
        QTest::addRow("copy 取消%s", qPrintable(suffix))
            << copy << QStringLiteral("取消") << forAll << 7 << 1 << untouched << all;
        QTest::addRow("move 替换%s", qPrintable(suffix))
            << move << QStringLiteral("替换") << forAll << 0 << asked
            << QStringList({"a (2).txt=older a", "a.txt=new a", "b.txt=new b", "c.txt=new c"})
            << QStringList();
        QTest::addRow("move 跳过%s", qPrintable(suffix))
            << move << QStringLiteral("跳过") << forAll << 0 << asked << untouched
            << QStringList({"a.txt", "b.txt"});
        QTest::addRow("move 保留两者%s", qPrintable(suffix))
            << move << QStringLiteral("保留两者") << forAll << 0 << asked
            << QStringList({"a (2).txt=older a", "a (3).txt=new a", "a.txt=old a",
                   "b (2).txt=new b", "b.txt=old b", "c.txt=new c"})
            << QStringList();
        QTest::addRow("move 取消%s", qPrintable(suffix))
            << move << QStringLiteral("取消") << forAll << 7 << 1 << untouched
            << QStringList({"a.txt", "b.txt"});
    }
}

void TestShellFileOperation::clash()
{
    QFETCH(int, operation);
    QFETCH(QString, button);
    QFETCH(bool, forAll);
    QFETCH(int, code);
    QFETCH(int, prompts);
    QFETCH(QStringList, target);
    QFETCH(QStringList, sourcesLeft);

    const QString into = path(QStringLiteral("target"));
    QVERIFY(TestFiles::write(into + QStringLiteral("/a.txt"), "old a"));
    QVERIFY(TestFiles::write(into + QStringLiteral("/a (2).txt"), "older a"));
    QVERIFY(TestFiles::write(into + QStringLiteral("/b.txt"), "old b"));
    QStringList sources;
    for (const char *name : {"c", "a", "b"}) {
        sources << path(QStringLiteral("src/%1.txt").arg(QLatin1String(name)));
        QVERIFY(TestFiles::write(sources.last(), QByteArray("new ") + name));
    }

    FakePrompter prompter;
    prompter.answer(button, forAll);
    if (!forAll)
        prompter.answer(button);
    const auto op = ShellFileRequest::Operation(operation);
    QCOMPARE(perform(prompter, transfer(op, sources, into)), code);

    QCOMPARE(prompter.prompts.size(), prompts);
    for (const FileOpPrompter::Prompt &asked : std::as_const(prompter.prompts))
        QCOMPARE(asked.title, QStringLiteral("替换或跳过文件"));
    QStringList found;
    for (const QString &name : TestFiles::entries(into))
        found << name + QLatin1Char('=') + QString::fromUtf8(TestFiles::read(into + '/' + name));
    QCOMPARE(found, target);
    // A replaced file is kept in the trash; no other answer trashes anything.
    QStringList trashed;
    const QString files = m_home + QStringLiteral("/files");
    for (const QString &name : TestFiles::entries(files))
        trashed << name + QLatin1Char('=') + QString::fromUtf8(TestFiles::read(files + '/' + name));
    QCOMPARE(trashed,
        button == QStringLiteral("替换") ? QStringList({"a.txt=old a", "b.txt=old b"})
                                         : QStringList());
    QCOMPARE(TestFiles::entries(path(QStringLiteral("src"))), sourcesLeft);
    for (const QString &name : sourcesLeft)
        QCOMPARE(
            TestFiles::read(path(QStringLiteral("src/") + name)), "new " + name.left(1).toUtf8());
}

void TestShellFileOperation::clashPromptShowsBothFiles()
{
    const QString source = path(QStringLiteral("src/song.mp3"));
    const QString existing = path(QStringLiteral("target/song.mp3"));
    QVERIFY(TestFiles::write(source, "12345"));
    QVERIFY(TestFiles::write(existing, "123"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(
            QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
    }
    FakePrompter prompter;
    QCOMPARE(perform(prompter,
                 transfer(ShellFileRequest::Copy, {source}, path(QStringLiteral("target")))),
        int(ShellFileOperation::Cancelled));
    QCOMPARE(prompter.prompts.size(), 1);
    const FileOpPrompter::Prompt &asked = prompter.prompts.first();
    QCOMPARE(asked.buttons, QStringList({"替换", "跳过", "保留两者", "取消"}));
    QCOMPARE(asked.checkBox, QStringLiteral("为所有冲突执行此操作"));
    QCOMPARE(asked.buttons.value(asked.escapeButton), QStringLiteral("取消"));
    QVERIFY2(asked.text.contains(QStringLiteral("“song.mp3”")), qPrintable(asked.text));
    QVERIFY2(asked.text.contains(QStringLiteral("5 字节")), qPrintable(asked.text));
    QVERIFY2(asked.text.contains(QStringLiteral("3 字节，修改时间 2001-02-03 04:05:06")),
        qPrintable(asked.text));
    QCOMPARE(TestFiles::read(existing), "123");
}

void TestShellFileOperation::ontoItselfIsSkippedWithAnError_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("copy") << int(ShellFileRequest::Copy) << false;
    QTest::newRow("move") << int(ShellFileRequest::Move) << false;
    QTest::newRow("copy through a linked folder") << int(ShellFileRequest::Copy) << true;
}

void TestShellFileOperation::ontoItselfIsSkippedWithAnError()
{
    QFETCH(int, operation);
    QFETCH(bool, throughLink);
    const QString folder = path(QStringLiteral("src"));
    const QString file = folder + QStringLiteral("/self.txt");
    const QString other = folder + QStringLiteral("/other.txt");
    QVERIFY(TestFiles::write(file, "self"));
    QVERIFY(TestFiles::write(other, "other"));
    QString target = folder;
    if (throughLink) {
        target = path(QStringLiteral("link"));
        QVERIFY(QFile::link(folder, target));
    }
    FakePrompter prompter;
    prompter.answer(QStringLiteral("跳过"));
    prompter.answer(QStringLiteral("跳过"));
    const auto op = ShellFileRequest::Operation(operation);
    QCOMPARE(perform(prompter, transfer(op, {file, other}, target)),
        int(ShellFileOperation::SomeFailed));
    QCOMPARE(prompter.prompts.size(), 2); // other.txt is onto itself as well
    QVERIFY(
        prompter.prompts.first().text.contains(QStringLiteral("源文件和目标文件是同一个文件。")));
    QVERIFY(prompter.prompts.first().text.contains(file));
    QCOMPARE(prompter.prompts.first().buttons, QStringList({"跳过", "取消"}));
    QCOMPARE(TestFiles::entries(folder), QStringList({"other.txt", "self.txt"}));
    QCOMPARE(TestFiles::read(file), "self");
}

void TestShellFileOperation::changedSourcesAreLeftWhereTheyAre_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("change"); // what happens to a.txt once it was listed
    QTest::addColumn<bool>("refused");
    for (const auto op : {ShellFileRequest::Delete, ShellFileRequest::Move}) {
        const char *name = op == ShellFileRequest::Delete ? "trash" : "move";
        QTest::addRow("%s: unchanged", name) << int(op) << "none" << false;
        QTest::addRow("%s: rewritten, size and times kept", name) << int(op) << "rewrite" << true;
        QTest::addRow("%s: replaced by a link to b", name) << int(op) << "link" << true;
        QTest::addRow("%s: replaced by a copy", name) << int(op) << "copy" << true;
        QTest::addRow("%s: no stamp expected", name) << int(op) << "unlisted" << false;
    }
}

void TestShellFileOperation::changedSourcesAreLeftWhereTheyAre()
{
    QFETCH(int, operation);
    QFETCH(QString, change);
    QFETCH(bool, refused);
    const QString a = path(QStringLiteral("src/a.txt"));
    const QString b = path(QStringLiteral("src/b.txt"));
    QVERIFY(TestFiles::write(a, "aaaa"));
    QVERIFY(TestFiles::write(b, "bbbb"));
    const auto op = ShellFileRequest::Operation(operation);
    ShellFileRequest request
        = op == ShellFileRequest::Delete ? trash({a, b}) : transfer(op, {a, b}, path("dst"));
    for (const QString &file : {a, b}) {
        if (file != a || change != u"unlisted")
            request.expected.insert(file, *FileStamp::of(file));
    }
    QByteArray left = "aaaa";
    if (change == u"rewrite") {
        left = "AAAA";
        QVERIFY(TestFiles::rewriteKeepingTimes(a, left));
    } else if (change == u"link") {
        QVERIFY(QFile::remove(a) && QFile::link(b, a));
    } else if (change == u"copy") {
        // Made before the old one goes, so that it cannot take its inode.
        QVERIFY(TestFiles::write(a + QStringLiteral(".new"), left));
        QVERIFY(::rename(QFile::encodeName(a + QStringLiteral(".new")).constData(),
                    QFile::encodeName(a).constData())
            == 0);
    }
    FakePrompter prompter;
    // The trash's confirmation; the move's error window for a.txt.
    prompter.answer(op == ShellFileRequest::Delete ? QStringLiteral("是") : QStringLiteral("跳过"));
    QCOMPARE(perform(prompter, request),
        int(refused ? ShellFileOperation::SomeFailed : ShellFileOperation::Done));

    // b goes either way; a stays, whole, only when it changed.
    QVERIFY(!QFileInfo::exists(b));
    if (change == u"link")
        QVERIFY(QFileInfo(a).isSymLink());
    else if (refused)
        QCOMPARE(TestFiles::read(a), left);
    else
        QVERIFY(!QFileInfo::exists(a));
    const QString done = op == ShellFileRequest::Delete ? m_home + QStringLiteral("/files/")
                                                        : path(QStringLiteral("dst/"));
    const QStringList expectedDone
        = refused ? QStringList {"b.txt"} : QStringList {"a.txt", "b.txt"};
    QCOMPARE(TestFiles::entries(done), expectedDone);
    // A move tells the user which file it left and why; a trash is silent.
    QStringList errors;
    for (const FileOpPrompter::Prompt &prompt : std::as_const(prompter.prompts)) {
        if (prompt.text.contains(QStringLiteral("文件在列出之后已被替换或修改，未作处理。"))
            && prompt.text.contains(a))
            errors << prompt.text;
    }
    QCOMPARE(errors.size(), refused && op == ShellFileRequest::Move ? 1 : 0);
}

void TestShellFileOperation::moveAcrossFileSystems()
{
    std::optional<TestMount> mount;
    const QString other = path(QStringLiteral("mnt"));
    if (!mountTmpfs(mount, other))
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount->error()));
    const QString source = path(QStringLiteral("src/跨盘.bin"));
    QByteArray content(3 << 20, 'x');
    content.replace(0, 5, "start");
    QVERIFY(TestFiles::write(source, content));
    QVERIFY(::chmod(QFile::encodeName(source).constData(), 0604) == 0);
    const QDateTime modified = QDateTime(QDate(2012, 12, 21), QTime(12, 0, 1));
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    FakePrompter prompter;
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Move, {source}, other + "/in")),
        int(ShellFileOperation::Done));
    const QString moved = other + QStringLiteral("/in/跨盘.bin");
    QVERIFY(!QFileInfo::exists(source));
    QCOMPARE(TestFiles::read(moved), content);
    QCOMPARE(QFileInfo(moved).lastModified(), modified);
    QCOMPARE(modeOf(moved), mode_t(0604));
    QCOMPARE(TestFiles::entries(other + "/in"), QStringList({"跨盘.bin"}));
}

void TestShellFileOperation::moveOntoFullFileSystemLeavesSourceIntact()
{
    std::optional<TestMount> mount;
    const QString other = path(QStringLiteral("mnt"));
    if (!mountTmpfs(mount, other, QStringLiteral("size=256k")))
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount->error()));
    const QString small = path(QStringLiteral("src/small.txt"));
    const QString big = path(QStringLiteral("src/big.bin"));
    const QString after = path(QStringLiteral("src/after.txt"));
    const QByteArray content(1 << 20, 'b');
    QVERIFY(TestFiles::write(small, "small"));
    QVERIFY(TestFiles::write(big, content));
    QVERIFY(TestFiles::write(after, "after"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("跳过"));
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Move, {small, big, after}, other)),
        int(ShellFileOperation::SomeFailed));
    QCOMPARE(prompter.prompts.size(), 1);
    const FileOpPrompter::Prompt &error = prompter.prompts.first();
    QCOMPARE(error.title, QStringLiteral("移动文件时出错"));
    QVERIFY2(
        error.text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(error.text));
    QVERIFY(error.text.contains(big));
    QCOMPARE(TestFiles::read(big), content);
    QCOMPARE(TestFiles::entries(path(QStringLiteral("src"))), QStringList({"big.bin"}));
    // No half-written file, under its name or a temporary one.
    QCOMPARE(TestFiles::entries(other), QStringList({"after.txt", "small.txt"}));
}

void TestShellFileOperation::moveOutOfReadOnlyFolderLeavesNoSecondCopy()
{
    const QString folder = path(QStringLiteral("locked"));
    const QString source = folder + QStringLiteral("/stuck.txt");
    QVERIFY(TestFiles::write(source, "stuck"));
    // A read-only view is its own mount, so the move has to copy, and the
    // source then cannot be removed.
    const TestMount view = TestMount::readOnlyView(folder);
    if (!view.ok())
        QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder here: ") + view.error()));
    const QString target = path(QStringLiteral("target"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("跳过"));
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Move, {source}, target)),
        int(ShellFileOperation::SomeFailed));
    QCOMPARE(prompter.prompts.size(), 1);
    QVERIFY2(prompter.prompts.first().text.contains(QString::fromLocal8Bit(std::strerror(EROFS))),
        qPrintable(prompter.prompts.first().text));
    QCOMPARE(TestFiles::read(source), "stuck");
    QCOMPARE(TestFiles::entries(target), QStringList());
}

void TestShellFileOperation::failedReplaceKeepsTheExistingFile()
{
    std::optional<TestMount> mount;
    const QString other = path(QStringLiteral("mnt"));
    if (!mountTmpfs(mount, other, QStringLiteral("size=256k")))
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount->error()));
    const QString source = path(QStringLiteral("src/big.bin"));
    const QString existing = other + QStringLiteral("/big.bin");
    QVERIFY(TestFiles::write(source, QByteArray(1 << 20, 'n')));
    QVERIFY(TestFiles::write(existing, "old"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("替换"));
    prompter.answer(QStringLiteral("跳过"));
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Copy, {source}, other)),
        int(ShellFileOperation::SomeFailed));
    QCOMPARE(prompter.prompts.size(), 2); // the clash, then the error
    QCOMPARE(TestFiles::read(existing), "old");
    QCOMPARE(TestFiles::entries(other), QStringList({"big.bin"}));
}

void TestShellFileOperation::badInputLosesNothing_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("from"); // names under src/, joined by "|"
    QTest::addColumn<QString>("to"); // under the temporary folder
    QTest::addColumn<int>("code");

    for (const int op : {int(ShellFileRequest::Copy), int(ShellFileRequest::Move)}) {
        const char *verb = op == ShellFileRequest::Copy ? "copy" : "move";
        QTest::addRow("%s: empty list", verb) << op << QString() << "target" << 0x11;
        QTest::addRow("%s: missing file", verb) << op << "gone.txt"
                                                << "target" << 0x10;
        QTest::addRow("%s: folder among files", verb) << op << "a.txt|dir"
                                                      << "target" << 0x10;
        QTest::addRow("%s: target inside the source folder", verb) << op << "dir"
                                                                   << "src/dir/sub" << 0x10;
        QTest::addRow("%s: target is a file", verb) << op << "a.txt"
                                                    << "src/b.txt" << 0x12;
        QTest::addRow("%s: empty name inside the list", verb) << op << "a.txt||b.txt"
                                                              << "target" << 0x11;
        QTest::addRow("%s: relative path", verb) << op << "@a.txt"
                                                 << "target" << 0x10;
    }
}

void TestShellFileOperation::badInputLosesNothing()
{
    QFETCH(int, operation);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, code);

    QVERIFY(TestFiles::write(path(QStringLiteral("src/a.txt")), "a"));
    QVERIFY(TestFiles::write(path(QStringLiteral("src/b.txt")), "b"));
    QVERIFY(TestFiles::write(path(QStringLiteral("src/dir/in.txt")), "in"));
    QStringList sources;
    for (const QString &name : from.split(QLatin1Char('|'))) {
        if (name.startsWith(QLatin1Char('@')))
            sources << QStringLiteral("src/") + name.mid(1);
        else
            sources << (name.isEmpty() ? QString() : path(QStringLiteral("src/") + name));
    }
    ShellFileRequest request = transfer(ShellFileRequest::Operation(operation), {}, path(to));
    request.from = sources.join(nul) + nul + nul;

    FakePrompter prompter; // every error window answered with 跳过
    for (int i = 0; i < 4; ++i)
        prompter.answer(QStringLiteral("跳过"));
    const int returned = perform(prompter, request);
    QCOMPARE(returned, code);

    // The files that were asked for and could be handled may have gone to
    // the target; nothing may be lost or left half-written.
    const QString target = path(to);
    for (const QString name : {"a.txt", "b.txt", "dir/in.txt"}) {
        const QString left = path(QStringLiteral("src/") + name);
        const QString there = target + QLatin1Char('/') + QFileInfo(name).fileName();
        QVERIFY2(TestFiles::read(left) == QFileInfo(name).baseName().toUtf8()
                || TestFiles::read(there) == QFileInfo(name).baseName().toUtf8(),
            qPrintable(name));
    }
    if (QFileInfo(target).isDir()) {
        for (const QString &name : TestFiles::entries(target))
            QVERIFY2(!name.startsWith(QLatin1Char('.')), qPrintable(name));
    }
}

void TestShellFileOperation::unusualNamesAreHandled_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("name");
    for (const int op : {int(ShellFileRequest::Copy), int(ShellFileRequest::Move)}) {
        const char *verb = op == ShellFileRequest::Copy ? "copy" : "move";
        QTest::addRow("%s: line break", verb) << op << QStringLiteral("two\nlines.txt");
        QTest::addRow("%s: chinese", verb) << op << QStringLiteral("重复文件 (1).mp3");
        QTest::addRow("%s: other scripts", verb) << op << QStringLiteral("ελληνικά 😀.bin");
        QTest::addRow("%s: leading dot", verb) << op << QStringLiteral(".hidden");
    }
}

void TestShellFileOperation::unusualNamesAreHandled()
{
    QFETCH(int, operation);
    QFETCH(QString, name);
    const QString source = path(QStringLiteral("src/") + name);
    QVERIFY(TestFiles::write(source, name.toUtf8()));
    const QString target = path(QStringLiteral("目标\n文件夹"));
    FakePrompter prompter;
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Operation(operation), {source}, target)),
        int(ShellFileOperation::Done));
    QCOMPARE(TestFiles::entries(target), QStringList({name}));
    QCOMPARE(TestFiles::read(target + QLatin1Char('/') + name), name.toUtf8());
    QCOMPARE(QFileInfo::exists(source), operation == ShellFileRequest::Copy);
}

void TestShellFileOperation::pipeAmongSourcesDoesNotHang()
{
    const QString pipe = path(QStringLiteral("src/pipe"));
    const QString file = path(QStringLiteral("src/file.txt"));
    QVERIFY(TestFiles::write(file, "file"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString target = path(QStringLiteral("target"));

    FakePrompter prompter;
    prompter.answer(QStringLiteral("跳过"));
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Copy, {pipe, file}, target)),
        int(ShellFileOperation::SomeFailed));
    QCOMPARE(prompter.prompts.size(), 1);
    QVERIFY(prompter.prompts.first().text.contains(pipe));
    QCOMPARE(TestFiles::entries(target), QStringList({"file.txt"}));
}

void TestShellFileOperation::progressNamesEachFileAndCounts()
{
    const QString a = path(QStringLiteral("src/a.txt"));
    const QString b = path(QStringLiteral("src/b.txt"));
    QVERIFY(TestFiles::write(a, "a"));
    QVERIFY(TestFiles::write(b, "b"));
    FakePrompter prompter;
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Copy, {a, b}, path("target"))),
        int(ShellFileOperation::Done));
    QCOMPARE(prompter.progresses.size(), 1);
    QCOMPARE(prompter.progresses.first()->title, QStringLiteral("复制文件"));
    QCOMPARE(prompter.progresses.first()->labels,
        QStringList({"正在复制：a.txt\n第 1 项，共 2 项", "正在复制：b.txt\n第 2 项，共 2 项"}));

    prompter.answer(QStringLiteral("是"));
    QCOMPARE(perform(prompter, trash({a, b})), int(ShellFileOperation::Done));
    QCOMPARE(prompter.progresses.size(), 2);
    QCOMPARE(prompter.progresses.last()->title, QStringLiteral("删除文件"));
    QCOMPARE(prompter.progresses.last()->labels.last(),
        QStringLiteral("正在放入回收站：b.txt\n第 2 项，共 2 项"));
}

void TestShellFileOperation::progressShowsBytesOfLargeCopies()
{
    const QString big = path(QStringLiteral("src/big.bin"));
    const qint64 size = (16 << 20) + 12345;
    QVERIFY(TestFiles::write(big, QByteArray(size, 'z')));
    FakePrompter prompter;
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Copy, {big}, path("target"))),
        int(ShellFileOperation::Done));
    const QStringList labels = prompter.progresses.first()->labels;
    QVERIFY2(
        labels.contains(QStringLiteral("正在复制：big.bin\n第 1 项，共 1 项\n已完成 %1 / %2 字节")
                            .arg(16 << 20)
                            .arg(size)),
        qPrintable(labels.join(QLatin1Char('|'))));
    QCOMPARE(QFileInfo(path(QStringLiteral("target/big.bin"))).size(), size);
}

void TestShellFileOperation::cancelInProgressStopsAfterCurrentFile_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("copy") << int(ShellFileRequest::Copy);
    QTest::newRow("move") << int(ShellFileRequest::Move);
    QTest::newRow("trash") << int(ShellFileRequest::Delete);
}

void TestShellFileOperation::cancelInProgressStopsAfterCurrentFile()
{
    QFETCH(int, operation);
    QStringList sources;
    for (const char *name : {"1.txt", "2.txt", "3.txt"}) {
        sources << path(QStringLiteral("src/") + QLatin1String(name));
        QVERIFY(TestFiles::write(sources.last(), name));
    }
    const QString target = path(QStringLiteral("target"));
    FakePrompter prompter;
    prompter.cancelProgressAfter = 2; // pressed while the second file is handled
    prompter.answer(QStringLiteral("是"));
    ShellFileRequest request = operation == ShellFileRequest::Delete
        ? trash(sources)
        : transfer(ShellFileRequest::Operation(operation), sources, target);
    QCOMPARE(ShellFileOperation(prompter).perform(request), int(ShellFileOperation::Cancelled));
    QVERIFY(request.anyOperationsAborted);

    const QString done
        = operation == ShellFileRequest::Delete ? m_home + QStringLiteral("/files") : target;
    QCOMPARE(TestFiles::entries(done), QStringList({"1.txt", "2.txt"}));
    QCOMPARE(TestFiles::read(done + QStringLiteral("/2.txt")), "2.txt");
    QStringList left = {"3.txt"};
    if (operation == ShellFileRequest::Copy)
        left = QStringList({"1.txt", "2.txt", "3.txt"});
    QCOMPARE(TestFiles::entries(path(QStringLiteral("src"))), left);
}

void TestShellFileOperation::failureWindowSkipsOrCancelsTheRest_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("button");
    for (const auto op :
        {ShellFileRequest::Copy, ShellFileRequest::Move, ShellFileRequest::Delete}) {
        for (const char *button : {"跳过", "取消"})
            QTest::addRow("%d, %s", int(op), button) << int(op) << QString::fromUtf8(button);
    }
}

void TestShellFileOperation::failureWindowSkipsOrCancelsTheRest()
{
    QFETCH(int, operation);
    QFETCH(QString, button);
    const auto op = ShellFileRequest::Operation(operation);
    const QString gone = path(QStringLiteral("src/gone.txt"));
    const QString a = path(QStringLiteral("src/a.txt"));
    QVERIFY(TestFiles::write(a, "a"));
    const QString target = path(QStringLiteral("target"));
    ShellFileRequest request
        = op == ShellFileRequest::Delete ? trash({gone, a}) : transfer(op, {gone, a}, target);
    request.flags &= quint16(~ShellFileRequest::NoErrorUi);
    FakePrompter prompter;
    if (op == ShellFileRequest::Delete)
        prompter.answer(QStringLiteral("是"));
    prompter.answer(button);
    const bool skip = button == u"跳过";
    QCOMPARE(ShellFileOperation(prompter).perform(request),
        int(skip ? ShellFileOperation::SomeFailed : ShellFileOperation::Cancelled));
    QCOMPARE(request.anyOperationsAborted, !skip);

    // One error window, for the missing file, before a.txt was touched.
    QCOMPARE(prompter.prompts.size(), op == ShellFileRequest::Delete ? 2 : 1);
    const FileOpPrompter::Prompt &error = prompter.prompts.last();
    QCOMPARE(error.title, ShellFilePrompts::progressTitle(op) + QStringLiteral("时出错"));
    QVERIFY(error.text.contains(gone));
    QCOMPARE(prompter.progresses.size(), 1);
    QCOMPARE(prompter.progresses.first()->labels.size(), skip ? 2 : 1);

    const QString done
        = op == ShellFileRequest::Delete ? m_home + QStringLiteral("/files") : target;
    QCOMPARE(TestFiles::entries(done), skip ? QStringList {"a.txt"} : QStringList {});
    QCOMPARE(QFileInfo::exists(a), !skip || op == ShellFileRequest::Copy);
}

namespace {

enum Fault {
    NoFault,
    ReadOnlySource, // src/ is a read-only view: its files cannot be removed
    SwapDuringCopy, // a new src/a.txt is renamed over the old one as its copy ends
    FullTarget // mnt/ holds only 256 kB
};

QString described(const QByteArray &content)
{
    return content.size() <= 64 ? QString::fromUtf8(content)
                                : QStringLiteral("%1 bytes").arg(content.size());
}

} // namespace

QStringList TestShellFileOperation::whereEverythingIs() const
{
    const QString root = m_dir->path();
    const QString realRoot = QFileInfo(root).canonicalFilePath();
    const QString uid = QString::number(::geteuid());
    // Each trash with the folder its relative info paths start from.
    const QList<QPair<QString, QString>> trashes
        = {{QStringLiteral("data/Trash"), QString()}, {QStringLiteral("mnt/.Trash-") + uid, "mnt"}};
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = file.mid(root.size() + 1);
        QString place = relative;
        for (const auto &[trash, topdir] : trashes) {
            if (relative.startsWith(trash + QStringLiteral("/info/")))
                place.clear(); // read with its file
            if (!relative.startsWith(trash + QStringLiteral("/files/")))
                continue;
            const QString stored = relative.mid(trash.size() + 7);
            const QByteArray info = TestFiles::read(root + '/' + trash + QStringLiteral("/info/")
                + stored + QStringLiteral(".trashinfo"));
            const qsizetype at = info.indexOf("\nPath=");
            QString from = at < 0
                ? QStringLiteral("<no info>")
                : QFile::decodeName(Trash::decodePath(info.mid(at + 6).split('\n').first()));
            if (!topdir.isEmpty())
                from = topdir + '/' + from;
            else if (from.startsWith(realRoot + '/'))
                from = from.mid(realRoot.size() + 1);
            place = QStringLiteral("trash:") + from;
        }
        if (!place.isEmpty())
            found << place + '=' + described(TestFiles::read(file));
    }
    found.sort();
    return found;
}

void TestShellFileOperation::faultsLeaveEveryFileWhole_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QStringList>("files"); // "place=content" made first
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("answers"); // a trailing "+" ticks "for all"
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("prompts"); // titles in order
    QTest::addColumn<QStringList>("after"); // whereEverythingIs()

    const int copy = ShellFileRequest::Copy;
    const int move = ShellFileRequest::Move;
    const QString clash = QStringLiteral("替换或跳过文件");
    const QString copyError = QStringLiteral("复制文件时出错");
    const QString moveError = QStringLiteral("移动文件时出错");
    const QStringList replace = {"替换", "跳过"};

    QTest::newRow("move across file systems, 替换, source cannot be removed")
        << move << QStringList({"src/a.txt=new", "mnt/a.txt=old"}) << QStringList({"src/a.txt"})
        << "mnt" << int(ReadOnlySource) << replace << 0x10 << QStringList({clash, moveError})
        << QStringList({"mnt/a.txt=old", "src/a.txt=new"});
    QTest::newRow("copy 替换 puts the replaced file in the trash")
        << copy << QStringList({"src/a.txt=new", "dst/a.txt=old"}) << QStringList({"src/a.txt"})
        << "dst" << int(NoFault) << replace << 0 << QStringList({clash})
        << QStringList({"dst/a.txt=new", "src/a.txt=new", "trash:dst/a.txt=old"});
    QTest::newRow("move 替换 on one file system")
        << move << QStringList({"src/a.txt=new", "dst/a.txt=old"}) << QStringList({"src/a.txt"})
        << "dst" << int(NoFault) << replace << 0 << QStringList({clash})
        << QStringList({"dst/a.txt=new", "trash:dst/a.txt=old"});
    QTest::newRow("move 替换 across file systems")
        << move << QStringList({"src/a.txt=new", "mnt/a.txt=old"}) << QStringList({"src/a.txt"})
        << "mnt" << int(NoFault) << replace << 0 << QStringList({clash})
        << QStringList({"mnt/a.txt=new", "trash:mnt/a.txt=old"});
    QTest::newRow("copy 替换, the trash cannot take the replaced file")
        << copy << QStringList({"src/a.txt=new", "dst/a.txt=old", "data/Trash=not a folder"})
        << QStringList({"src/a.txt"}) << "dst" << int(NoFault) << replace << 0x10
        << QStringList({clash, copyError})
        << QStringList({"data/Trash=not a folder", "dst/a.txt=old", "src/a.txt=new"});
    QTest::newRow("move across file systems 替换, the trash cannot take the replaced file")
        << move
        << QStringList({"src/a.txt=new", "mnt/a.txt=old",
               "mnt/.Trash-" + QString::number(::geteuid()) + "=not a folder"})
        << QStringList({"src/a.txt"}) << "mnt" << int(NoFault) << replace << 0x10
        << QStringList({clash, moveError})
        << QStringList({"mnt/.Trash-" + QString::number(::geteuid()) + "=not a folder",
               "mnt/a.txt=old", "src/a.txt=new"});
    QTest::newRow("move across file systems, source replaced while it is copied")
        << move << QStringList({"src/a.txt=new", "mnt/a.txt=old"}) << QStringList({"src/a.txt"})
        << "mnt" << int(SwapDuringCopy) << replace << 0x10 << QStringList({clash, moveError})
        << QStringList({"mnt/a.txt=old", "src/a.txt=newer"});
    QTest::newRow("move 替换 onto a full file system")
        << move << QStringList({"src/a.txt=@1M", "mnt/a.txt=old"}) << QStringList({"src/a.txt"})
        << "mnt" << int(FullTarget) << replace << 0x10 << QStringList({clash, moveError})
        << QStringList({"mnt/a.txt=old", "src/a.txt=1048576 bytes"});
    QTest::newRow("two sources of one name, move 替换 for all")
        << move << QStringList({"src/a.txt=one", "src/sub/a.txt=two"})
        << QStringList({"src/a.txt", "src/sub/a.txt"}) << "dst" << int(NoFault)
        << QStringList({"替换+"}) << 0 << QStringList({clash})
        << QStringList({"dst/a.txt=two", "trash:dst/a.txt=one"});
    QTest::newRow("name starting with ':' meets its namesake in the target")
        << copy << QStringList({"src/:a.txt=new", "dst/:a.txt=old"}) << QStringList({"src/:a.txt"})
        << "dst" << int(NoFault) << replace << 0 << QStringList({clash})
        << QStringList({"dst/:a.txt=new", "src/:a.txt=new", "trash:dst/:a.txt=old"});
    QTest::newRow("target folder written as ':dst' is not a full path")
        << copy << QStringList({"src/a.txt=new"}) << QStringList({"src/a.txt"}) << ":dst"
        << int(NoFault) << QStringList() << 0x11 << QStringList() << QStringList({"src/a.txt=new"});

    QStringList odd = {"a:b", "tab\there", "back\\slash", "star*", "new\nline"};
    QStringList files, sources, after;
    for (const QString &name : odd) {
        files << "src/" + name + "=new " + name << "dst/" + name + "=old " + name;
        sources << "src/" + name;
        after << "dst/" + name + "=new " + name << "trash:dst/" + name + "=old " + name;
    }
    QTest::newRow("odd names, move 替换 for all")
        << move << files << sources << "dst" << int(NoFault) << QStringList({"替换+"}) << 0
        << QStringList({clash}) << after;
    // 255 bytes, the longest name a file system takes.
    const QString longest = QString(83, QChar(u'名')) + QStringLiteral("xy.txt");
    QTest::newRow("255-byte name, move 替换")
        << move << QStringList({"src/" + longest + "=new", "dst/" + longest + "=old"})
        << QStringList({"src/" + longest}) << "dst" << int(NoFault) << replace << 0
        << QStringList({clash})
        << QStringList({"dst/" + longest + "=new", "trash:dst/" + longest + "=old"});
}

void TestShellFileOperation::faultsLeaveEveryFileWhole()
{
    QFETCH(int, operation);
    QFETCH(QStringList, files);
    QFETCH(QStringList, sources);
    QFETCH(QString, target);
    QFETCH(int, fault);
    QFETCH(QStringList, answers);
    QFETCH(int, code);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, after);

    std::optional<TestMount> mount;
    if (!mountTmpfs(mount, path(QStringLiteral("mnt")),
            fault == FullTarget ? QStringLiteral("size=256k") : QString()))
        QSKIP(qPrintable(QStringLiteral("no second file system: ") + mount->error()));
    // A name joined the wrong way would land in the working folder: make it
    // one that the check below sees.
    const QString workingFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const auto back = qScopeGuard([&] { QDir::setCurrent(workingFolder); });

    for (const QString &file : files) {
        const qsizetype eq = file.lastIndexOf(QLatin1Char('='));
        const QString content = file.mid(eq + 1);
        QVERIFY(TestFiles::write(path(file.left(eq)),
            content == QStringLiteral("@1M") ? QByteArray(1 << 20, 'n') : content.toUtf8()));
    }
    std::optional<TestMount> locked;
    if (fault == ReadOnlySource) {
        locked.emplace(TestMount::readOnlyView(path(QStringLiteral("src"))));
        if (!locked->ok())
            QSKIP(qPrintable(QStringLiteral("no read-only view: ") + locked->error()));
    }
    FakePrompter prompter;
    bool swapped = false;
    if (fault == SwapDuringCopy) {
        prompter.onProgressValue = [&](qint64 done, qint64 total) {
            if (swapped || done < total)
                return;
            swapped = true;
            // What an editor does when it saves: write aside, rename over.
            const QByteArray saved = QFile::encodeName(path(QStringLiteral("src/.a.txt.saving")));
            if (TestFiles::write(QFile::decodeName(saved), "newer"))
                ::rename(saved.constData(), QFile::encodeName(path("src/a.txt")).constData());
        };
    }
    for (const QString &answer : answers)
        prompter.answer(answer.endsWith('+') ? answer.chopped(1) : answer, answer.endsWith('+'));

    QStringList from;
    for (const QString &source : sources)
        from << path(source);
    const QString into = target.startsWith(QLatin1Char(':')) ? target : path(target);
    QCOMPARE(perform(prompter, transfer(ShellFileRequest::Operation(operation), from, into)), code);
    QStringList titles;
    for (const FileOpPrompter::Prompt &asked : std::as_const(prompter.prompts))
        titles << asked.title;
    QCOMPARE(titles, prompts);
    QCOMPARE(swapped, fault == SwapDuringCopy);
    after.sort();
    QCOMPARE(whereEverythingIs(), after);
}

QTEST_GUILESS_MAIN(TestShellFileOperation)
#include "tst_ShellFileOperation.moc"
