#include "MainWindowTest.h"
#include "SpokenLog.h"
#include "TestFiles.h"
#include "TestMount.h"
#include "forms/main/FrmMain.h"
#include "platform/files/FileOpResult.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cerrno>
#include <optional>
#include <unistd.h>

// The two batch buttons over real files: the keep rule picks the losing
// file of every listed pair, the trash or the chosen folder receives it, and
// the status bar tells the totals. The trash is a folder of the test's own.
class TestFrmMainBatch : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void emptyListStopsBothButtonsBeforeAnyDialog();
    void cancelledDialogsChangeNothing();
    void deleteTrashesTheLosersAndTellsTheTotals();
    void moveGathersTheLosersInTheChosenFolder();
    void pathsThatPrefixOthersAreStillRemoved();
    void vanishedChosenFilesAreMarkedNotRemoved();
    void contentBoxGuardsTheBatch();
    void refusedShellRequestKeepsTheList();
    void scanCompareDeleteThroughTheWindow();
    void oneFileUnderTwoPathsIsNeverListed_data();
    void oneFileUnderTwoPathsIsNeverListed();
    void linkSwappedInAfterTheScanRemovesNothing_data();
    void linkSwappedInAfterTheScanRemovesNothing();
    void rewriteKeepingSizeAndTimeIsNotRemoved_data();
    void rewriteKeepingSizeAndTimeIsNotRemoved();
    void fileChangedWhileTheTrashAsksStaysRed();
    void keepRuleReadsTheRowsRecords_data();
    void keepRuleReadsTheRowsRecords();
    void batchLogsEachQueuedFile_data();
    void batchLogsEachQueuedFile();
    void undoPutsABatchDeleteBackFromTheTrash();
    void undoOfAMoveLeavesAFileWhoseOldPathIsTaken();
    void eachUndoTakesBackTheRemovalBefore();

private:
    // A real file of that size, and its catalogue record as a scan makes it.
    QString addFile(const QString &relativeFolder, const QString &name, int bytes,
        const QString &modified = QStringLiteral("2024/3/5 9:07:01"));
    void compareAndPickRule(int rule);
    QString trashed(const QString &name) const;
    // The original paths the desktop's own trash tool lists.
    QStringList trashListed() const;
    // The compare mode (1 same, 2 similar names), with or without the
    // content box.
    void chooseCompare(int mode, bool content);
    // Scans tree/ for its two files, for that compare.
    void scanTree(int mode, bool content);
    // tree/a/x.mp3 and tree/b/x.mp3, two copies of "same".
    QStringList twoCopies() const;
    // The cell of row 1 in column 3, where the batch marks the row.
    QColor markOfRow1() const;

    QAction *undoLast() const { return find<QAction>(QStringLiteral("UndoLast")); }
    // The processing log's lines from the first'th on, as "path below the
    // test folder|result".
    QStringList logLines(int first = 0) const;
    void batchDelete();
    void batchMoveTo(const QString &target);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFrmMainBatch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    openWindow();
}

void TestFrmMainBatch::cleanup()
{
    closeWindow();
    m_dir.reset();
}

QString TestFrmMainBatch::addFile(
    const QString &relativeFolder, const QString &name, int bytes, const QString &modified)
{
    const QString folder = m_dir->filePath(relativeFolder) + QLatin1Char('/');
    const QString path = folder + name;
    if (!TestFiles::write(path, QByteArray(bytes, 'x')))
        qFatal("cannot write %s", qPrintable(path));
    const QString time = QStringLiteral("2024/3/5 9:07:01");
    m_window->catalogue().append(FileRecord {
        {name, folder, QString::number(bytes), time, modified, time, QStringLiteral("MP3 文件")},
        FileStamp::of(path)});
    return path;
}

void TestFrmMainBatch::compareAndPickRule(int rule)
{
    press("CommandToCompare");
    find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(rule);
}

QString TestFrmMainBatch::trashed(const QString &name) const
{
    return m_dir->filePath(QStringLiteral("data/Trash/files/")) + name;
}

QStringList TestFrmMainBatch::trashListed() const
{
    QProcess list;
    list.start(QStringLiteral("trash-list"), QStringList());
    if (!list.waitForFinished(30000) || list.exitCode() != 0)
        qFatal("trash-list failed: %s", list.readAllStandardError().constData());
    QStringList paths;
    // Each line is the deletion date, its time, then the original path.
    for (const QString &line : QString::fromUtf8(list.readAllStandardOutput()).split(u'\n'))
        if (line.contains(m_dir->path()))
            paths.append(line.section(u' ', 2));
    paths.sort();
    return paths;
}

void TestFrmMainBatch::chooseCompare(int mode, bool content)
{
    find<TabStrip>(QStringLiteral("TabStrip2"))->setCurrentIndex(mode - 1);
    if (content)
        find<QCheckBox>(QStringLiteral("Check1(7)"))->click();
}

void TestFrmMainBatch::scanTree(int mode, bool content)
{
    find<QLineEdit>(QStringLiteral("Text1"))->setText(m_dir->filePath(QStringLiteral("tree")));
    find<QComboBox>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("*.mp3"));
    chooseCompare(mode, content);
    press("CommandStartScan");
    QCOMPARE(m_window->catalogue().count(), 2);
}

QStringList TestFrmMainBatch::twoCopies() const
{
    QStringList paths;
    for (const char *file : {"tree/a/x.mp3", "tree/b/x.mp3"}) {
        paths << m_dir->filePath(QLatin1String(file));
        if (!TestFiles::write(paths.last(), "same"))
            qFatal("cannot write %s", file);
    }
    return paths;
}

QColor TestFrmMainBatch::markOfRow1() const
{
    FlexGrid *grid = compareGrid();
    grid->setRow(1);
    grid->setCol(CompareColumn::Name2);
    return grid->CellForeColor();
}

void TestFrmMainBatch::emptyListStopsBothButtonsBeforeAnyDialog()
{
    press("CommandDelFile");
    press("CommandMoveTo");
    QCOMPARE(m_dialogs.prompts.size(), 2);
    for (const Dialogs::Prompt &prompt : std::as_const(m_dialogs.prompts)) {
        QCOMPARE(prompt.title, QStringLiteral("提示"));
        QCOMPARE(prompt.text, QStringLiteral("对比结果列表为空......"));
        QCOMPARE(prompt.icon, Dialogs::Icon::Information);
        QCOMPARE(prompt.buttons, QStringList {QStringLiteral("确定")});
        QVERIFY(prompt.systemModal);
    }
    QVERIFY(m_dialogs.folderTitles.isEmpty());
    QCOMPARE(find<TabStrip>(QStringLiteral("TabStrip1"))->SelectedIndex(), 2);
    QVERIFY(find<QPushButton>(QStringLiteral("CommandDelFile"))->isEnabled());
}

void TestFrmMainBatch::cancelledDialogsChangeNothing()
{
    const QString a = addFile(QStringLiteral("a"), QStringLiteral("song.mp3"), 10);
    const QString b = addFile(QStringLiteral("b"), QStringLiteral("song.mp3"), 10);
    compareAndPickRule(0);

    press("CommandMoveTo"); // the folder picker is cancelled
    QCOMPARE(m_dialogs.folderTitles, QStringList {QStringLiteral("请选择目录")});
    QVERIFY(m_dialogs.prompts.isEmpty());

    m_dialogs.folders.enqueue(m_dir->filePath(QStringLiteral("kept")));
    m_dialogs.answer(QStringLiteral("取消"));
    press("CommandMoveTo");
    QCOMPARE(m_dialogs.prompts.size(), 1);
    QCOMPARE(m_dialogs.prompts.at(0).title, QStringLiteral("询问"));
    QCOMPARE(m_dialogs.prompts.at(0).text,
        QStringLiteral("确定要移动列表内的文件到 ") + m_dir->filePath(QStringLiteral("kept"))
            + QStringLiteral(" 吗？"));

    m_dialogs.answer(QStringLiteral("取消"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.size(), 2);
    QCOMPARE(m_dialogs.prompts.at(1).text, QStringLiteral("确定要删除列表内的文件吗？"));
    QCOMPARE(m_dialogs.prompts.at(1).icon, Dialogs::Icon::Question);

    QVERIFY(QFile::exists(a));
    QVERIFY(QFile::exists(b));
    QCOMPARE(compareGrid()->Rows(), 2);
    QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Name1), QStringLiteral("song.mp3"));
    QCOMPARE(statusBar()->panelText(1), QStringLiteral("等待扫描..."));
}

void TestFrmMainBatch::deleteTrashesTheLosersAndTellsTheTotals()
{
    // Four copies: rule 0 keeps the first and removes three of 512 KiB.
    const QString kept = addFile(QStringLiteral("1"), QStringLiteral("歌曲.mp3"), 524288);
    QStringList losers;
    for (const char *folder : {"2", "3", "4"})
        losers << addFile(QString::fromLatin1(folder), QStringLiteral("歌曲.mp3"), 524288);
    compareAndPickRule(0);
    QCOMPARE(compareGrid()->Rows(), 7);

    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");

    QCOMPARE(m_dialogs.prompts.size(), 2);
    QCOMPARE(m_dialogs.prompts.at(1).title, QStringLiteral("删除文件"));
    QCOMPARE(m_dialogs.prompts.at(1).text, QStringLiteral("确实要把这 3 项放入回收站吗？"));
    QVERIFY(QFile::exists(kept));
    for (const QString &path : std::as_const(losers))
        QVERIFY2(!QFile::exists(path), qPrintable(path));
    const QStringList inTrash = TestFiles::entries(trashed(QString()));
    QCOMPARE(inTrash.size(), 3);
    for (const QString &name : inTrash)
        QCOMPARE(TestFiles::read(trashed(name)).size(), 524288);
    QCOMPARE(statusBar()->panelText(2),
        QStringLiteral("共删除文件：3 个   合计：1536.00 KIB(1.50 MB)(0.00 G)"));
    QCOMPARE(statusBar()->panelText(1), QStringLiteral("等待扫描..."));
    QCOMPARE(compareGrid()->Rows(), 2);
    QVERIFY(compareGrid()->TextMatrix(1, CompareColumn::Name1).isEmpty());
    QVERIFY(find<QPushButton>(QStringLiteral("CommandDelFile"))->isEnabled());
    QVERIFY(compareGrid()->isEnabled());
}

void TestFrmMainBatch::moveGathersTheLosersInTheChosenFolder()
{
    // Rule 3 keeps the smaller file of each pair: the 1,000 and 3,000 byte
    // copies go, the 10 byte ones stay.
    const QString smallA = addFile(QStringLiteral("x"), QStringLiteral("a.mp3"), 10);
    const QString bigA = addFile(QStringLiteral("y"), QStringLiteral("a.mp3"), 1000);
    const QString bigB = addFile(QStringLiteral("x"), QStringLiteral("b.mp3"), 3000);
    const QString smallB = addFile(QStringLiteral("y"), QStringLiteral("b.mp3"), 10);
    compareAndPickRule(3);
    const QString target = m_dir->filePath(QStringLiteral("new/target"));
    m_dialogs.folders.enqueue(target);
    m_dialogs.answer(QStringLiteral("确定"));
    press("CommandMoveTo");

    QVERIFY(QFile::exists(smallA));
    QVERIFY(QFile::exists(smallB));
    QVERIFY(!QFile::exists(bigA));
    QVERIFY(!QFile::exists(bigB));
    QCOMPARE(TestFiles::read(target + QStringLiteral("/a.mp3")).size(), 1000);
    QCOMPARE(TestFiles::read(target + QStringLiteral("/b.mp3")).size(), 3000);
    QCOMPARE(statusBar()->panelText(1),
        QStringLiteral("共移动文件：2 个   合计：3.91 KIB(0.00 MB)(0.00 G)"));
    QCOMPARE(statusBar()->panelText(2), QStringLiteral("对比结果：2 组符合项"));
    QCOMPARE(compareGrid()->Rows(), 2);
}

void TestFrmMainBatch::pathsThatPrefixOthersAreStillRemoved()
{
    const QString mp3 = addFile(QStringLiteral("d"), QStringLiteral("a.mp3"), 3);
    const QString mp = addFile(QStringLiteral("d"), QStringLiteral("a.mp"), 2);
    addFile(QStringLiteral("k"), QStringLiteral("a.mp3"), 3);
    addFile(QStringLiteral("k"), QStringLiteral("a.mp"), 2);
    compareAndPickRule(1);
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");

    QVERIFY(!QFile::exists(mp3));
    QVERIFY(!QFile::exists(mp));
    QCOMPARE(TestFiles::entries(trashed(QString())),
        (QStringList {QStringLiteral("a.mp"), QStringLiteral("a.mp3")}));
    QCOMPARE(statusBar()->panelText(2),
        QStringLiteral("共删除文件：2 个   合计：0.00 KIB(0.00 MB)(0.00 G)"));
}

void TestFrmMainBatch::vanishedChosenFilesAreMarkedNotRemoved()
{
    addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString gone = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    const QString two = addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    QVERIFY(QFile::remove(gone));
    FlexGrid *grid = compareGrid();
    grid->setCol(CompareColumn::Name2);

    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.at(1).text,
        QStringLiteral("确实要把此文件放入回收站吗？\n") + QStringLiteral("two.mp3"));
    QVERIFY(!QFile::exists(two));
    QCOMPARE(statusBar()->panelText(2),
        QStringLiteral("共删除文件：1 个   合计：0.01 KIB(0.00 MB)(0.00 G)"));

    // Now the only listed pair has lost its chosen file: nothing is asked of
    // the shell, no totals, and the row stays with its blue mark.
    m_window->catalogue().clear();
    addFile(QStringLiteral("c"), QStringLiteral("three.mp3"), 1);
    const QString three = addFile(QStringLiteral("d"), QStringLiteral("three.mp3"), 1);
    compareAndPickRule(0);
    QVERIFY(QFile::remove(three));
    grid->setCol(CompareColumn::Name2);
    const int asked = int(m_dialogs.prompts.size());
    m_dialogs.answer(QStringLiteral("确定"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.size(), asked + 1);
    QCOMPARE(grid->Rows(), 2);
    grid->setRow(1);
    grid->setCol(CompareColumn::Name2);
    QCOMPARE(grid->CellForeColor(), QColor(0, 0, 255));
    QCOMPARE(grid->CellBackColor(), grid->BackColor());
    QCOMPARE(statusBar()->panelText(2), QStringLiteral("对比结果：1 组符合项"));
    QVERIFY(find<QPushButton>(QStringLiteral("CommandDelFile"))->isEnabled());
}

void TestFrmMainBatch::contentBoxGuardsTheBatch()
{
    auto *contentBox = find<QCheckBox>(QStringLiteral("Check1(7)"));
    QVERIFY(!contentBox->isChecked());
    contentBox->click(); // name and content
    const QString kept = addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString loser = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    const QString other = addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    QVERIFY(TestFiles::write(other, QByteArray(7, 'y')));
    addFile(QStringLiteral("c"), QStringLiteral("three.mp3"), 3);
    QVERIFY(QFile::remove(addFile(QStringLiteral("d"), QStringLiteral("three.mp3"), 3)));
    compareAndPickRule(0);
    // Only the copies with one content are listed; the vanished file is told.
    QCOMPARE(compareGrid()->Rows(), 2);
    QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Name1), QStringLiteral("one.mp3"));
    QCOMPARE(m_dialogs.prompts.size(), 1);
    QCOMPARE(m_dialogs.prompts.at(0).text, QStringLiteral("有 1 个文件无法读取，未参与内容对比。"));
    QCOMPARE(m_dialogs.prompts.at(0).icon, Dialogs::Icon::Information);

    // The kept twin changed after the compare: its copy is not removed.
    QVERIFY(TestFiles::write(kept, QByteArray(6, 'x')));
    FlexGrid *grid = compareGrid();
    grid->setCol(CompareColumn::Name2);
    m_dialogs.answer(QStringLiteral("确定"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.size(), 2); // nothing asked of the shell
    QVERIFY(QFile::exists(loser));
    grid->setRow(1);
    grid->setCol(CompareColumn::Name2);
    QCOMPARE(grid->CellForeColor(), QColor(0, 0, 255));
}

void TestFrmMainBatch::refusedShellRequestKeepsTheList()
{
    const QString a = addFile(QStringLiteral("a"), QStringLiteral("song.mp3"), 10);
    const QString b = addFile(QStringLiteral("b"), QStringLiteral("song.mp3"), 10);
    compareAndPickRule(1);
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("否")); // the trash's own confirmation
    press("CommandDelFile");
    QVERIFY(QFile::exists(a));
    QVERIFY(QFile::exists(b));
    QCOMPARE(compareGrid()->Rows(), 2);
    QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Name2), QStringLiteral("song.mp3"));
    QCOMPARE(statusBar()->panelText(2), QStringLiteral("对比结果：1 组符合项"));

    // A move whose target can't be made fails as a whole: nothing moves.
    const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
    QVERIFY(TestFiles::write(blocker, "file, not folder"));
    m_dialogs.folders.enqueue(blocker + QStringLiteral("/inside"));
    m_dialogs.answer(QStringLiteral("确定"));
    press("CommandMoveTo");
    QVERIFY(QFile::exists(a));
    QVERIFY(QFile::exists(b));
    QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Name2), QStringLiteral("song.mp3"));
    QCOMPARE(statusBar()->panelText(1), QStringLiteral("等待扫描..."));
    QVERIFY(find<QPushButton>(QStringLiteral("CommandMoveTo"))->isEnabled());
}

void TestFrmMainBatch::scanCompareDeleteThroughTheWindow()
{
    const QString root = m_dir->filePath(QStringLiteral("tree"));
    const QString a = root + QStringLiteral("/a/歌.mp3");
    const QString b = root + QStringLiteral("/b/歌.mp3");
    const QString c = root + QStringLiteral("/b/c/歌.mp3");
    const QString other = root + QStringLiteral("/b/other.mp3");
    QVERIFY(TestFiles::write(a, QByteArray(100, 'a')));
    QVERIFY(TestFiles::write(b, QByteArray(300, 'b')));
    QVERIFY(TestFiles::write(c, QByteArray(200, 'c')));
    QVERIFY(TestFiles::write(other, QByteArray(300, 'o')));

    find<QLineEdit>(QStringLiteral("Text1"))->setText(root);
    find<QComboBox>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("*.mp3"));
    press("CommandStartScan");
    QCOMPARE(m_window->catalogue().count(), 4);
    // Rule 2 keeps the larger file of each pair: of (a, b), (a, c) and
    // (b, c) only b survives, and a, queued twice, is counted once.
    compareAndPickRule(2);
    QCOMPARE(compareGrid()->Rows(), 4);
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");

    QCOMPARE(TestFiles::read(b), QByteArray(300, 'b'));
    QCOMPARE(TestFiles::read(other), QByteArray(300, 'o'));
    QVERIFY(!QFile::exists(a));
    QVERIFY(!QFile::exists(c));
    QStringList contents;
    for (const QString &name : TestFiles::entries(trashed(QString())))
        contents << QString::fromLatin1(TestFiles::read(trashed(name)).left(1));
    contents.sort();
    QCOMPARE(contents, (QStringList {QStringLiteral("a"), QStringLiteral("c")}));
    const QString info = QString::fromUtf8(
        TestFiles::read(m_dir->filePath(QStringLiteral("data/Trash/info/歌.mp3.trashinfo"))));
    const auto pathLine = [](const QString &path) {
        return QStringLiteral("Path=") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
    };
    QVERIFY2(info.contains(pathLine(a)) || info.contains(pathLine(c)), qPrintable(info));
    QCOMPARE(statusBar()->panelText(2),
        QStringLiteral("共删除文件：2 个   合计：0.29 KIB(0.00 MB)(0.00 G)"));
    QCOMPARE(compareGrid()->Rows(), 2);
    // The scan list still shows every scanned file.
    QCOMPARE(find<FlexGrid>(QStringLiteral("MSHList"))->Rows(), 5);
}

void TestFrmMainBatch::oneFileUnderTwoPathsIsNeverListed_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("content");
    for (const char *how : {"bind mount", "hard link", "one path twice"})
        for (const int mode : {1, 2})
            for (const bool content : {false, true})
                QTest::addRow("%s, mode %d%s", how, mode, content ? ", content" : "")
                    << QString::fromLatin1(how) << mode << content;
}

void TestFrmMainBatch::oneFileUnderTwoPathsIsNeverListed()
{
    QFETCH(QString, how);
    QFETCH(int, mode);
    QFETCH(bool, content);
    const QString a = m_dir->filePath(QStringLiteral("tree/a/x.mp3"));
    const QString b = m_dir->filePath(QStringLiteral("tree/b/x.mp3"));
    QVERIFY(QDir().mkpath(QFileInfo(b).path()));
    std::optional<TestMount> mount;
    if (how == u"one path twice") {
        // As a catalogue that took one file twice would hold it.
        addFile(QStringLiteral("tree/a"), QStringLiteral("x.mp3"), 4);
        addFile(QStringLiteral("tree/a"), QStringLiteral("x.mp3"), 4);
        chooseCompare(mode, content);
    } else {
        QVERIFY(TestFiles::write(a, "same"));
        if (how == u"bind mount") {
            mount.emplace(TestMount::bind(QFileInfo(a).path(), QFileInfo(b).path()));
            if (!mount->ok())
                QSKIP(qPrintable(mount->error()));
        } else {
            QVERIFY(
                ::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()) == 0);
        }
        scanTree(mode, content);
    }
    const QByteArray before = TestFiles::read(a);
    press("CommandToCompare");
    QVERIFY(compareGrid()->TextMatrix(1, CompareColumn::Name1).isEmpty());
    QCOMPARE(statusBar()->panelText(2), QStringLiteral("没有找到相同的文件"));

    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.last().text, QStringLiteral("对比结果列表为空......"));
    QCOMPARE(TestFiles::read(a), before);
    QVERIFY(TestFiles::entries(trashed(QString())).isEmpty());
}

void TestFrmMainBatch::linkSwappedInAfterTheScanRemovesNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("content");
    QTest::addColumn<int>("rule"); // 0: the link is the loser, 1: its target is
    for (const int mode : {1, 2})
        for (const bool content : {false, true})
            for (const int rule : {0, 1})
                QTest::addRow("mode %d%s, rule %d", mode, content ? ", content" : "", rule)
                    << mode << content << rule;
}

void TestFrmMainBatch::linkSwappedInAfterTheScanRemovesNothing()
{
    QFETCH(int, mode);
    QFETCH(bool, content);
    QFETCH(int, rule);
    const QStringList copies = twoCopies();
    const QString &a = copies.at(0);
    const QString &b = copies.at(1);
    scanTree(mode, content);
    compareAndPickRule(rule);
    QCOMPARE(compareGrid()->Rows(), 2);
    QVERIFY(QFile::remove(b) && QFile::link(a, b));
    compareGrid()->setCol(CompareColumn::Name2);

    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");
    QCOMPARE(m_dialogs.prompts.size(), 1); // nothing asked of the trash
    QCOMPARE(TestFiles::read(a), "same");
    QVERIFY(QFileInfo(b).isSymLink());
    QVERIFY(TestFiles::entries(trashed(QString())).isEmpty());
    QCOMPARE(markOfRow1(), FlexGrid::BlueColor);
}

void TestFrmMainBatch::rewriteKeepingSizeAndTimeIsNotRemoved_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<bool>("content");
    for (const bool move : {false, true})
        for (const bool content : {false, true})
            QTest::addRow("%s%s", move ? "move" : "delete", content ? ", content" : "")
                << move << content;
}

void TestFrmMainBatch::rewriteKeepingSizeAndTimeIsNotRemoved()
{
    QFETCH(bool, move);
    QFETCH(bool, content);
    const QString loser = twoCopies().at(1);
    scanTree(1, content);
    compareAndPickRule(0);
    QVERIFY(TestFiles::rewriteKeepingTimes(loser, "edit"));
    compareGrid()->setCol(CompareColumn::Name2);

    const QString target = m_dir->filePath(QStringLiteral("moved"));
    m_dialogs.folders.enqueue(target);
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press(move ? "CommandMoveTo" : "CommandDelFile");
    QCOMPARE(m_dialogs.prompts.size(), 1); // nothing handed to the file operation
    QCOMPARE(TestFiles::read(loser), "edit");
    QVERIFY(TestFiles::entries(trashed(QString())).isEmpty());
    QVERIFY(TestFiles::entries(target).isEmpty());
    QCOMPARE(markOfRow1(), FlexGrid::BlueColor);
    QCOMPARE(compareGrid()->Rows(), 2);
}

void TestFrmMainBatch::fileChangedWhileTheTrashAsksStaysRed()
{
    // Two pairs; while the trash's confirmation is shown, one loser is
    // rewritten in place: it stays, the other goes.
    const QString a = addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString changed = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    const QString gone = addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    compareGrid()->setCol(CompareColumn::Name2);
    m_dialogs.onPrompt = [&](const Dialogs::Prompt &prompt) {
        if (prompt.title == u"删除文件")
            QVERIFY(TestFiles::rewriteKeepingTimes(changed, "12345"));
    };
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");

    QCOMPARE(m_dialogs.prompts.size(), 2);
    QCOMPARE(TestFiles::read(changed), "12345");
    QVERIFY(!QFileInfo::exists(gone));
    QCOMPARE(TestFiles::entries(trashed(QString())), QStringList {QStringLiteral("two.mp3")});
    // No totals: the list stays, the row of the file left in place in red.
    QCOMPARE(statusBar()->panelText(2), QStringLiteral("对比结果：2 组符合项"));
    QCOMPARE(compareGrid()->Rows(), 3);
    QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Name1), QStringLiteral("one.mp3"));
    QCOMPARE(markOfRow1(), FlexGrid::RedColor);
    QVERIFY(QFileInfo::exists(a));
}

void TestFrmMainBatch::keepRuleReadsTheRowsRecords_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<bool>("leftTheScanList");
    QTest::addColumn<QString>("kept");

    // Folders 1, 2, 3: 10, 30 and 20 bytes, modified at :03, :01 and :02.
    QTest::newRow("larger") << 2 << false << false << "2";
    QTest::newRow("larger, sorted") << 2 << true << false << "2";
    QTest::newRow("smaller, sorted") << 3 << true << false << "1";
    QTest::newRow("modified earlier, sorted") << 6 << true << false << "2";
    QTest::newRow("modified later, out of the scan list") << 7 << true << true << "1";
    QTest::newRow("larger, out of the scan list") << 2 << false << true << "2";
}

// Each row decides from the records it stands for, wherever a sort has put
// it, also once those records have left the scan list.
void TestFrmMainBatch::keepRuleReadsTheRowsRecords()
{
    QFETCH(int, rule);
    QFETCH(bool, sorted);
    QFETCH(bool, leftTheScanList);
    QFETCH(QString, kept);

    QStringList paths;
    const int sizes[] = {10, 30, 20};
    const int seconds[] = {3, 1, 2};
    for (int i = 0; i < 3; ++i)
        paths << addFile(QString::number(i + 1), QStringLiteral("歌曲.mp3"), sizes[i],
            QStringLiteral("2024/3/5 9:07:0%1").arg(seconds[i]));
    compareAndPickRule(rule);
    QCOMPARE(compareGrid()->Rows(), 4);
    if (sorted) {
        compareGrid()->setCol(CompareColumn::Size2);
        compareGrid()->Sort(2);
    }
    if (leftTheScanList)
        m_window->catalogue().clear();
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");

    for (int i = 0; i < 3; ++i)
        QCOMPARE(QFile::exists(paths.at(i)), QString::number(i + 1) == kept);
}

QTEST_MAIN(TestFrmMainBatch)
#include "tst_FrmMainBatch.moc"

void TestFrmMainBatch::batchLogsEachQueuedFile_data()
{
    QTest::addColumn<bool>("move");
    // What goes wrong with b/one.mp3: nothing, a rewrite while the trash
    // asks, its name taken in the target (skipped), or the trash declined.
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QStringList>("lines");

    const QString deleted = QStringLiteral("【文件删除成功】");
    const QString notDeleted = QStringLiteral("【删除失败】标示为红色字体");
    const QString moved = QStringLiteral("【移动成功】");
    const QString notMoved = QStringLiteral("【移动失败】标示为红色字体");
    const auto lines = [](const QString &one, const QString &two) {
        return QStringList {QStringLiteral("b/one.mp3|") + one, QStringLiteral("b/two.mp3|") + two};
    };
    QTest::newRow("delete") << false << "" << lines(deleted, deleted);
    QTest::newRow("delete, one changed") << false << "changed" << lines(notDeleted, deleted);
    QTest::newRow("delete declined") << false << "declined" << lines(notDeleted, notDeleted);
    QTest::newRow("move") << true << "" << lines(moved, moved);
    QTest::newRow("move, one name taken") << true << "taken" << lines(notMoved, moved);
}

void TestFrmMainBatch::batchLogsEachQueuedFile()
{
    QFETCH(bool, move);
    QFETCH(QString, trouble);
    QFETCH(QStringList, lines);
    addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString one = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    const QString target = m_dir->filePath(QStringLiteral("target"));
    if (trouble == u"taken")
        QVERIFY(TestFiles::write(target + QStringLiteral("/one.mp3"), "other"));
    if (trouble == u"changed") {
        m_dialogs.onPrompt = [&](const Dialogs::Prompt &prompt) {
            if (prompt.title == u"删除文件")
                QVERIFY(TestFiles::rewriteKeepingTimes(one, "12345"));
        };
    }
    m_dialogs.answer(QStringLiteral("确定"));
    if (move) {
        m_dialogs.folders.enqueue(target);
        m_dialogs.answer(QStringLiteral("跳过"));
        press("CommandMoveTo");
    } else {
        m_dialogs.answer(trouble == u"declined" ? QStringLiteral("否") : QStringLiteral("是"));
        press("CommandDelFile");
    }

    QCOMPARE(logLines(), lines);
    const auto *log = find<LogList>(QStringLiteral("ListView1"));
    QCOMPARE(log->itemText(1, 0), QStringLiteral("2"));
    QVERIFY(!log->itemText(1, 3).isEmpty());
}

QStringList TestFrmMainBatch::logLines(int first) const
{
    QStringList lines;
    for (const QStringList &line :
        spokenLog(*find<LogList>(QStringLiteral("ListView1"))).mid(first))
        lines << line.value(1).mid(m_dir->path().size() + 1) + QLatin1Char('|') + line.value(2);
    return lines;
}

void TestFrmMainBatch::batchDelete()
{
    m_dialogs.answer(QStringLiteral("确定"));
    m_dialogs.answer(QStringLiteral("是"));
    press("CommandDelFile");
}

void TestFrmMainBatch::batchMoveTo(const QString &target)
{
    m_dialogs.folders.enqueue(target);
    m_dialogs.answer(QStringLiteral("确定"));
    press("CommandMoveTo");
}

void TestFrmMainBatch::undoPutsABatchDeleteBackFromTheTrash()
{
    QVERIFY(!undoLast()->isEnabled());
    QCOMPARE(undoLast()->text(), QStringLiteral("撤销(&Z)"));
    QCOMPARE(undoLast()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString one = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    const QString two = addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    batchDelete();
    QCOMPARE(TestFiles::entries(trashed(QString())).size(), 2);
    QCOMPARE(trashListed(), (QStringList {one, two}));
    QVERIFY(undoLast()->isEnabled());

    const int logged = find<LogList>(QStringLiteral("ListView1"))->itemCount();
    undoLast()->trigger();
    QCOMPARE(TestFiles::read(one), QByteArray(5, 'x'));
    QCOMPARE(TestFiles::read(two), QByteArray(7, 'x'));
    QVERIFY(TestFiles::entries(trashed(QString())).isEmpty());
    QVERIFY(TestFiles::entries(m_dir->filePath(QStringLiteral("data/Trash/info"))).isEmpty());
    QVERIFY(trashListed().isEmpty());
    QCOMPARE(logLines(logged),
        (QStringList {
            QStringLiteral("b/one.mp3|【已恢复】"), QStringLiteral("b/two.mp3|【已恢复】")}));
    QCOMPARE(panel(2), QStringLiteral("已撤销：恢复 2 个文件"));
    // Restored files stay out of the emptied list, and nothing is left to undo.
    QCOMPARE(compareGrid()->Rows(), 2);
    QVERIFY(compareGrid()->TextMatrix(1, CompareColumn::Name1).isEmpty());
    QVERIFY(!undoLast()->isEnabled());
}

void TestFrmMainBatch::undoOfAMoveLeavesAFileWhoseOldPathIsTaken()
{
    addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString one = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    addFile(QStringLiteral("a"), QStringLiteral("two.mp3"), 7);
    const QString two = addFile(QStringLiteral("b"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    const QString target = m_dir->filePath(QStringLiteral("target"));
    batchMoveTo(target);
    QVERIFY(!QFile::exists(one));
    QVERIFY(TestFiles::write(one, "taken"));

    const int logged = find<LogList>(QStringLiteral("ListView1"))->itemCount();
    undoLast()->trigger();
    QCOMPARE(TestFiles::read(one), "taken");
    QCOMPARE(TestFiles::read(target + QStringLiteral("/one.mp3")).size(), 5);
    QCOMPARE(TestFiles::read(two).size(), 7);
    QVERIFY(!QFile::exists(target + QStringLiteral("/two.mp3")));
    QCOMPARE(logLines(logged),
        (QStringList {
            QStringLiteral("b/one.mp3|【恢复失败】") + FileOpResult::fromErrno(EEXIST).text(),
            QStringLiteral("b/two.mp3|【已恢复】")}));
    QCOMPARE(panel(2), QStringLiteral("已撤销：恢复 1 个文件"));
    QVERIFY(!undoLast()->isEnabled());
}

void TestFrmMainBatch::eachUndoTakesBackTheRemovalBefore()
{
    // A delete of one list, then a move of another.
    addFile(QStringLiteral("a"), QStringLiteral("one.mp3"), 5);
    const QString deleted = addFile(QStringLiteral("b"), QStringLiteral("one.mp3"), 5);
    compareAndPickRule(0);
    batchDelete();
    m_window->catalogue().clear();
    addFile(QStringLiteral("c"), QStringLiteral("two.mp3"), 7);
    const QString moved = addFile(QStringLiteral("d"), QStringLiteral("two.mp3"), 7);
    compareAndPickRule(0);
    const QString target = m_dir->filePath(QStringLiteral("target"));
    batchMoveTo(target);
    QVERIFY(!QFile::exists(deleted));
    QVERIFY(!QFile::exists(moved));

    undoLast()->trigger();
    QVERIFY(QFile::exists(moved));
    QVERIFY(!QFile::exists(deleted));
    QVERIFY(undoLast()->isEnabled());
    undoLast()->trigger();
    QVERIFY(QFile::exists(deleted));
    QVERIFY(TestFiles::entries(trashed(QString())).isEmpty());
    QVERIFY(!undoLast()->isEnabled());
}
