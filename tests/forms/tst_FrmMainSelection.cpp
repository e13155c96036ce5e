#include "MainWindowTest.h"
#include "SpokenLog.h"
#include "TestFiles.h"
#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/LogList.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Every case gets a tree of its own and its own trash.
class TestFrmMainSelection : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void deleteOfScanRowsLogsInOrderAndRenumbers();
    void fileTheTrashRefusesStaysRed_data();
    void fileTheTrashRefusesStaysRed();
    void fullySelectedCompareRowIsLoggedPerCell();
    void compareRowStaysWhileItsFileIsThere_data();
    void compareRowStaysWhileItsFileIsThere();
    void clickAfterGatheringStartsFromTheUsersRow_data();
    void clickAfterGatheringStartsFromTheUsersRow();
    void fileWhoseContentTwinChangedStaysBlue();
    void removeFromListDropsOnlyTheSelectedRecords();
    void sendToWithNothingUsableFails();
    void moveRefusedAtAClashStaysRed();
    void fileChangedSinceTheScanIsNotRemoved_data();
    void fileChangedSinceTheScanIsNotRemoved();
    void fileChangedWhileTheTrashAsksStaysRed();
    void compareListFileOutOfTheScanList_data();
    void compareListFileOutOfTheScanList();
    void copiesTakeAFileWhoseTwinChanged_data();
    void copiesTakeAFileWhoseTwinChanged();
    void undoTakesBackTheSelectionsRemoval_data();
    void undoTakesBackTheSelectionsRemoval();
    void memoryTooShortStopsBeforeAnythingIsRemoved();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    void makeFiles(const QStringList &relatives);
    void scanAndFocus(FlexGrid *grid);
    void select(FlexGrid *grid, int row, int col);
    void run(const char *action)
    {
        m_window->findChild<QAction *>(QLatin1String(action))->trigger();
    }
    // Every log line as "number|item|result", the item relative to the tree.
    QStringList log() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFrmMainSelection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"data"_qs)));
    openWindow();
    m_window->show();
}

void TestFrmMainSelection::cleanup()
{
    closeWindow();
    m_dir.reset();
}

void TestFrmMainSelection::makeFiles(const QStringList &relatives)
{
    for (const QString &relative : relatives)
        QVERIFY(TestFiles::write(path(u"tree/"_qs + relative), relative.toUtf8()));
}

void TestFrmMainSelection::scanAndFocus(FlexGrid *grid)
{
    find<QLineEdit>(u"Text1"_qs)->setText(path(u"tree"_qs));
    find<QComboBox>(u"Combo1"_qs)->setCurrentText(u"*.mp3"_qs);
    press("CommandStartScan");
    if (grid == compareGrid())
        press("CommandToCompare");
    grid->setFocus();
    // Focus highlights the current cell; each case picks its own cells.
    grid->clearHighlights();
}

// Highlights one cell as the user's clicks would leave it.
void TestFrmMainSelection::select(FlexGrid *grid, int row, int col)
{
    const FlexGrid::QuietMoves quiet(*grid);
    grid->setRow(row);
    grid->setCol(col);
    grid->setCellBackColor(FlexGrid::SelectionColor);
}

QStringList TestFrmMainSelection::log() const
{
    QStringList lines;
    const QList<QStringList> spoken = spokenLog(*find<LogList>(u"ListView1"_qs));
    for (qsizetype i = 0; i < spoken.size(); ++i) {
        lines << spoken[i].value(1).mid(path(u"tree/"_qs).size()) + u"|"_qs + spoken[i].value(2);
        // Numbered over the program's whole run, and stamped.
        if (spoken[i].value(0) != QString::number(i + 1) || spoken[i].value(3).isEmpty())
            lines << u"misnumbered"_qs;
    }
    return lines;
}

void TestFrmMainSelection::deleteOfScanRowsLogsInOrderAndRenumbers()
{
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs, u"3.mp3"_qs, u"4.mp3"_qs, u"5.mp3"_qs});
    scanAndFocus(scanGrid());
    select(scanGrid(), 2, ScanColumn::Name);
    select(scanGrid(), 4, ScanColumn::Name);
    m_dialogs.answer(u"是"_qs); // the trash's confirmation
    run("DeleteFile");

    QCOMPARE(log(),
        (QStringList {u"4.mp3|【文件加入待处理序列】"_qs, u"2.mp3|【文件加入待处理序列】"_qs,
            u"4.mp3|【文件删除成功】"_qs, u"2.mp3|【文件删除成功】"_qs}));
    // Once the command is over, the last line is the selected one.
    auto *list = find<LogList>(u"ListView1"_qs);
    QTRY_COMPARE(list->currentLine(), 3);
    QVERIFY(!QFile::exists(path(u"tree/2.mp3"_qs)) && !QFile::exists(path(u"tree/4.mp3"_qs)));
    QCOMPARE(scanGrid()->Rows(), 4);
    QStringList rows;
    for (int r = 1; r < 4; ++r)
        rows << scanGrid()->TextMatrix(r, ScanColumn::Number)
                + scanGrid()->TextMatrix(r, ScanColumn::Name);
    QCOMPARE(rows, (QStringList {u"11.mp3"_qs, u"23.mp3"_qs, u"35.mp3"_qs}));
    QCOMPARE(m_window->catalogue().count(), 3);
    QCOMPARE(m_window->catalogue().at(1).name(), u"3.mp3"_qs);
}

void TestFrmMainSelection::fileTheTrashRefusesStaysRed_data()
{
    QTest::addColumn<bool>("folderSwappedIn");
    // A file where the trash folder should be: nothing can be trashed.
    QTest::newRow("trash unusable") << false;
    // While the confirmation is up, a folder takes the file's name.
    QTest::newRow("folder in the file's place") << true;
}

void TestFrmMainSelection::fileTheTrashRefusesStaysRed()
{
    QFETCH(bool, folderSwappedIn);
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs});
    const QString file = path(u"tree/2.mp3"_qs);
    if (!folderSwappedIn)
        QVERIFY(TestFiles::write(path(u"data/Trash"_qs), "not a folder"));
    scanAndFocus(scanGrid());
    select(scanGrid(), 2, ScanColumn::Name);
    m_dialogs.answer(u"是"_qs);
    if (folderSwappedIn) {
        m_dialogs.onPrompt
            = [file, elsewhere = path(u"elsewhere.mp3"_qs)](const Dialogs::Prompt &) {
                  QFile::rename(file, elsewhere);
                  TestFiles::write(file + u"/inside.txt"_qs, "never listed");
              };
    }
    run("DeleteFile");

    QCOMPARE(log().last(), u"2.mp3|【删除失败】标示为红色字体"_qs);
    QVERIFY(QFile::exists(file));
    QCOMPARE(TestFiles::entries(path(u"data/Trash/files"_qs)), QStringList());
    QCOMPARE(scanGrid()->Rows(), 3);
    QCOMPARE(scanGrid()->TextMatrix(2, ScanColumn::Name), u"2.mp3"_qs);
    QVERIFY(!scanGrid()->isHighlighted(2, ScanColumn::Name));
    QCOMPARE(scanGrid()->gridModel()->cellForeColor(2, ScanColumn::Name), FlexGrid::RedColor);
}

void TestFrmMainSelection::fullySelectedCompareRowIsLoggedPerCell()
{
    makeFiles({u"a/x.mp3"_qs, u"b/x.mp3"_qs});
    scanAndFocus(compareGrid());
    QCOMPARE(compareGrid()->Rows(), 2);
    for (int c = 1; c < compareGrid()->Cols(); ++c)
        select(compareGrid(), 1, c);
    m_dialogs.answer(u"是"_qs);
    run("DeleteFile");

    QStringList expected;
    for (int i = 0; i < 6; ++i)
        expected << u"b/x.mp3|【文件加入待处理序列】"_qs << u"a/x.mp3|【文件加入待处理序列】"_qs;
    for (int i = 0; i < 6; ++i)
        expected << u"b/x.mp3|【文件删除成功】"_qs << u"a/x.mp3|  【文件删除成功】"_qs;
    QCOMPARE(log(), expected);
    QCOMPARE(compareGrid()->Rows(), 2);
    QVERIFY(compareGrid()->TextMatrix(1, CompareColumn::Name1).isEmpty());
}

void TestFrmMainSelection::compareRowStaysWhileItsFileIsThere_data()
{
    QTest::addColumn<bool>("trashBroken");
    QTest::addColumn<QString>("answer"); // to the trash's confirmation
    QTest::addColumn<QList<int>>("cells"); // highlighted in the first row
    QTest::addColumn<bool>("rowStays");
    QList<int> wholeRow;
    for (int c = 1; c < 16; ++c)
        wholeRow << c;
    QTest::newRow("declined, file and similarity")
        << false << u"否"_qs << QList<int> {1, 2} << true;
    QTest::newRow("declined, whole row") << false << u"否"_qs << wholeRow << true;
    QTest::newRow("trash refuses, file and type") << true << u"是"_qs << QList<int> {2, 14} << true;
    QTest::newRow("deleted, file and similarity")
        << false << u"是"_qs << QList<int> {1, 2} << false;
}

void TestFrmMainSelection::compareRowStaysWhileItsFileIsThere()
{
    QFETCH(bool, trashBroken);
    QFETCH(QString, answer);
    QFETCH(QList<int>, cells);
    QFETCH(bool, rowStays);
    makeFiles({u"a/x.mp3"_qs, u"b/x.mp3"_qs, u"a/y.mp3"_qs, u"b/y.mp3"_qs});
    if (trashBroken)
        QVERIFY(TestFiles::write(path(u"data/Trash"_qs), "not a folder"));
    scanAndFocus(compareGrid());
    QCOMPARE(compareGrid()->Rows(), 3);
    const QString file1 = compareGrid()->TextMatrix(1, CompareColumn::Folder1)
        + compareGrid()->TextMatrix(1, CompareColumn::Name1);
    const QString otherPair = compareGrid()->TextMatrix(2, CompareColumn::Folder1)
        + compareGrid()->TextMatrix(2, CompareColumn::Name1);
    for (const int c : cells)
        select(compareGrid(), 1, c);
    m_dialogs.answer(answer);
    run("DeleteFile");

    QCOMPARE(QFile::exists(file1), rowStays);
    QCOMPARE(compareGrid()->Rows(), rowStays ? 3 : 2);
    const int row = rowStays ? 1 : 0;
    if (rowStays) {
        QCOMPARE(compareGrid()->TextMatrix(1, CompareColumn::Folder1)
                + compareGrid()->TextMatrix(1, CompareColumn::Name1),
            file1);
        QCOMPARE(
            compareGrid()->gridModel()->cellForeColor(1, CompareColumn::Name1), FlexGrid::RedColor);
        QVERIFY(log().last().endsWith(u"|【删除失败】标示为红色字体"_qs));
    }
    QCOMPARE(compareGrid()->TextMatrix(row + 1, CompareColumn::Folder1)
            + compareGrid()->TextMatrix(row + 1, CompareColumn::Name1),
        otherPair);
    QCOMPARE(compareGrid()->TextMatrix(row + 1, CompareColumn::Number), QString::number(row + 1));
}

// The gathering walk leaves the current row where the user put it, so the
// next plain click moves the user's highlight and no other.
void TestFrmMainSelection::clickAfterGatheringStartsFromTheUsersRow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("send to") << u"SendFileTo"_qs;
    QTest::newRow("copy to the clipboard") << u"CopyFileTo"_qs;
}

void TestFrmMainSelection::clickAfterGatheringStartsFromTheUsersRow()
{
    QFETCH(QString, command);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs, u"3.mp3"_qs, u"4.mp3"_qs, u"5.mp3"_qs});
    scanAndFocus(scanGrid());
    FlexGrid *grid = scanGrid();
    const auto click = [grid](int row) {
        const QPoint at
            = grid->visualRect(grid->model()->index(row - 1, ScanColumn::Folder - 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    };
    click(3);
    m_dialogs.folders.enqueue(path(u"out"_qs));
    run(qPrintable(command));
    QCOMPARE(
        log(), QStringList {grid->TextMatrix(3, ScanColumn::Name) + u"|【文件加入待处理序列】"_qs});
    QCOMPARE(grid->Row(), 3);

    click(5);
    QList<int> highlighted;
    for (int r = 1; r < grid->Rows(); ++r) {
        if (grid->isHighlighted(r, ScanColumn::Name))
            highlighted << r;
    }
    QCOMPARE(highlighted, QList<int> {5});
}

// A pair listed for its content is a duplicate only while its twin is as it
// was read: the file whose twin changed since is neither queued nor trashed.
void TestFrmMainSelection::fileWhoseContentTwinChangedStaysBlue()
{
    for (const QString &relative : {u"tree/a/x.mp3"_qs, u"tree/b/x.mp3"_qs})
        QVERIFY(TestFiles::write(path(relative), "same"));
    find<QCheckBox>(u"Check1(7)"_qs)->click();
    scanAndFocus(compareGrid());
    QCOMPARE(compareGrid()->Rows(), 2);
    const QString twin = compareGrid()->TextMatrix(1, CompareColumn::Folder2)
        + compareGrid()->TextMatrix(1, CompareColumn::Name2);
    const QString file = compareGrid()->TextMatrix(1, CompareColumn::Folder1)
        + compareGrid()->TextMatrix(1, CompareColumn::Name1);
    QVERIFY(TestFiles::write(twin, "changed"));
    select(compareGrid(), 1, CompareColumn::Name1);
    run("DeleteFile");

    QVERIFY(QFile::exists(file));
    QCOMPARE(m_dialogs.prompts.size(), 0);
    QCOMPARE(
        compareGrid()->gridModel()->cellForeColor(1, CompareColumn::Name1), FlexGrid::BlueColor);
    QCOMPARE(log().size(), 1);
    QVERIFY(log().at(0).endsWith(u"|【文件不存在】标示为蓝色字体"_qs));
}

void TestFrmMainSelection::removeFromListDropsOnlyTheSelectedRecords()
{
    makeFiles({u"01.mp3"_qs, u"1.mp3"_qs, u"2.mp3"_qs, u"3.mp3"_qs, u"4.mp3"_qs});
    scanAndFocus(scanGrid());
    QCOMPARE(scanGrid()->TextMatrix(2, ScanColumn::Name), u"1.mp3"_qs);
    select(scanGrid(), 2, ScanColumn::Name);
    select(scanGrid(), 4, ScanColumn::Name);
    run("MoveFromList");

    QStringList names;
    for (int r = 1; r < scanGrid()->Rows(); ++r) {
        QCOMPARE(scanGrid()->TextMatrix(r, ScanColumn::Number), QString::number(r));
        names << scanGrid()->TextMatrix(r, ScanColumn::Name);
    }
    QCOMPARE(names, (QStringList {u"01.mp3"_qs, u"2.mp3"_qs, u"4.mp3"_qs}));
    QStringList records;
    for (const FileRecord &record : m_window->catalogue().records())
        records << record.name();
    QCOMPARE(records, names);
    QVERIFY(QFile::exists(path(u"tree/1.mp3"_qs))); // no file is touched
    QVERIFY(log().isEmpty());

    // Clearing with the focus elsewhere changes nothing.
    find<QLineEdit>(u"Text1"_qs)->setFocus();
    run("ClearList");
    QCOMPARE(scanGrid()->Rows(), 4);
}

void TestFrmMainSelection::sendToWithNothingUsableFails()
{
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs});
    scanAndFocus(scanGrid());
    run("SendFileTo"); // the folder picker cancelled
    QVERIFY(m_dialogs.prompts.isEmpty());

    QVERIFY(QFile::remove(path(u"tree/2.mp3"_qs)));
    select(scanGrid(), 2, ScanColumn::Name);
    m_dialogs.folders.enqueue(path(u"out"_qs));
    run("SendFileTo");
    QCOMPARE(log(), QStringList {u"2.mp3|【文件不存在】标示为蓝色字体。"_qs});
    scanGrid()->setRow(2);
    QCOMPARE(scanGrid()->CellForeColor(), FlexGrid::BlueColor);
    QCOMPARE(m_dialogs.prompts.size(), 1);
    QCOMPARE(m_dialogs.prompts.first().title, u"发送失败"_qs);
    QCOMPARE(m_dialogs.prompts.first().text, u"文件发送失败！"_qs);
    QCOMPARE(m_dialogs.prompts.first().icon, Dialogs::Icon::Critical);
}

void TestFrmMainSelection::moveRefusedAtAClashStaysRed()
{
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs});
    QVERIFY(TestFiles::write(path(u"out/2.mp3"_qs), "already there"));
    scanAndFocus(scanGrid());
    select(scanGrid(), 1, ScanColumn::Name);
    select(scanGrid(), 2, ScanColumn::Name);
    m_dialogs.folders.enqueue(path(u"out"_qs));
    m_dialogs.answer(u"跳过"_qs); // the name clash
    run("MoveFileTo");

    QCOMPARE(log(),
        (QStringList {u"2.mp3|【文件加入待处理序列】"_qs, u"1.mp3|【文件加入待处理序列】"_qs,
            u"2.mp3|【移动失败】标示为红色字体"_qs, u"1.mp3|【移动成功】"_qs}));
    QVERIFY(QFile::exists(path(u"out/1.mp3"_qs)));
    QCOMPARE(scanGrid()->Rows(), 2);
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Number), u"1"_qs);
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Name), u"2.mp3"_qs);
    QCOMPARE(scanGrid()->CellForeColor(), FlexGrid::RedColor);
}

// A rewrite that keeps size and modification time (a tag editor) still
// makes the file another one than the scan read: it is not removed or moved.
void TestFrmMainSelection::fileChangedSinceTheScanIsNotRemoved_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<bool>("compare"); // the compare grid, else the scan grid
    for (const bool move : {false, true})
        for (const bool compare : {false, true})
            QTest::addRow(
                "%s in the %s grid", move ? "move" : "delete", compare ? "compare" : "scan")
                << move << compare;
}

void TestFrmMainSelection::fileChangedSinceTheScanIsNotRemoved()
{
    QFETCH(bool, move);
    QFETCH(bool, compare);
    makeFiles({u"a/x.mp3"_qs, u"b/x.mp3"_qs});
    FlexGrid *grid = compare ? compareGrid() : scanGrid();
    scanAndFocus(grid);
    const int col = compare ? 3 : 1; // b/x.mp3
    select(grid, compare ? 1 : 2, col);
    const QString file = path(u"tree/b/x.mp3"_qs);
    QVERIFY(TestFiles::rewriteKeepingTimes(file, "B/X.MP3"));
    m_dialogs.folders.enqueue(path(u"out"_qs));
    run(move ? "MoveFileTo" : "DeleteFile");

    QCOMPARE(TestFiles::read(file), "B/X.MP3");
    QCOMPARE(m_dialogs.prompts.size(), 0);
    QVERIFY(!QFileInfo::exists(path(u"out/x.mp3"_qs)));
    QCOMPARE(grid->gridModel()->cellForeColor(compare ? 1 : 2, col), FlexGrid::BlueColor);
    QCOMPARE(log(),
        QStringList {compare ? u"b/x.mp3|【文件不存在】标示为蓝色字体"_qs
                             : u"b/x.mp3|【文件不存在】标示为蓝色字体。"_qs});
    QCOMPARE(grid->Rows(), compare ? 2 : 3);
}

void TestFrmMainSelection::compareListFileOutOfTheScanList_data()
{
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("as compared: trashed") << false;
    QTest::newRow("rewritten since: stays blue") << true;
}

// A compare-list file whose record has left the scan list is still judged
// against what the compare took.
void TestFrmMainSelection::compareListFileOutOfTheScanList()
{
    QFETCH(bool, rewritten);
    makeFiles({u"a/x.mp3"_qs, u"b/x.mp3"_qs});
    scanAndFocus(compareGrid());
    scanGrid()->setFocus();
    scanGrid()->clearHighlights();
    select(scanGrid(), 2, ScanColumn::Name); // b/x.mp3
    run("MoveFromList");
    QCOMPARE(scanGrid()->TextMatrix(2, ScanColumn::Name), QString());
    const QString file = path(u"tree/b/x.mp3"_qs);
    if (rewritten)
        QVERIFY(TestFiles::rewriteKeepingTimes(file, "B/X.MP3"));
    compareGrid()->setFocus();
    compareGrid()->clearHighlights();
    select(compareGrid(), 1, CompareColumn::Name2);
    m_dialogs.answer(u"是"_qs);
    run("DeleteFile");

    QCOMPARE(QFileInfo::exists(file), rewritten);
    QCOMPARE(
        compareGrid()->gridModel()->cellForeColor(1, CompareColumn::Name2) == FlexGrid::BlueColor,
        rewritten);
}

void TestFrmMainSelection::fileChangedWhileTheTrashAsksStaysRed()
{
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs});
    scanAndFocus(scanGrid());
    select(scanGrid(), 1, ScanColumn::Name);
    select(scanGrid(), 2, ScanColumn::Name);
    const QString changed = path(u"tree/2.mp3"_qs);
    m_dialogs.onPrompt = [&](const Dialogs::Prompt &prompt) {
        if (prompt.title == u"删除文件")
            QVERIFY(TestFiles::rewriteKeepingTimes(changed, "two!!"));
    };
    m_dialogs.answer(u"是"_qs);
    run("DeleteFile");

    QCOMPARE(log(),
        (QStringList {u"2.mp3|【文件加入待处理序列】"_qs, u"1.mp3|【文件加入待处理序列】"_qs,
            u"2.mp3|【删除失败】标示为红色字体"_qs, u"1.mp3|【文件删除成功】"_qs}));
    QCOMPARE(TestFiles::read(changed), "two!!");
    QVERIFY(!QFileInfo::exists(path(u"tree/1.mp3"_qs)));
    QCOMPARE(scanGrid()->Rows(), 2);
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Name), u"2.mp3"_qs);
    QCOMPARE(scanGrid()->gridModel()->cellForeColor(1, ScanColumn::Name), FlexGrid::RedColor);
}

// Copying removes nothing, so it takes the file as it is, whatever became
// of its twin.
void TestFrmMainSelection::copiesTakeAFileWhoseTwinChanged_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("send to") << u"SendFileTo"_qs;
    QTest::newRow("clipboard") << u"CopyFileTo"_qs;
}

void TestFrmMainSelection::copiesTakeAFileWhoseTwinChanged()
{
    QFETCH(QString, action);
    for (const QString &relative : {u"tree/a/x.mp3"_qs, u"tree/b/x.mp3"_qs})
        QVERIFY(TestFiles::write(path(relative), "same"));
    find<QCheckBox>(u"Check1(7)"_qs)->click();
    scanAndFocus(compareGrid());
    QCOMPARE(compareGrid()->Rows(), 2);
    QVERIFY(TestFiles::write(path(u"tree/b/x.mp3"_qs), "changed"));
    select(compareGrid(), 1, CompareColumn::Name1);
    m_dialogs.folders.enqueue(path(u"out"_qs));
    run(action.toLatin1().constData());

    QCOMPARE(log(), QStringList {u"a/x.mp3|【文件加入待处理序列】"_qs});
    QVERIFY(
        compareGrid()->gridModel()->cellForeColor(1, CompareColumn::Name1) != FlexGrid::BlueColor);
    QCOMPARE(m_dialogs.prompts.size(), 1);
    if (action == u"SendFileTo") {
        QCOMPARE(m_dialogs.prompts.first().text, u"文件发送成功！"_qs);
        QCOMPARE(TestFiles::read(path(u"out/x.mp3"_qs)), "same");
    } else {
        QCOMPARE(m_desktop.requests, QStringList {u"clipboard\n"_qs + path(u"tree/a/x.mp3"_qs)});
    }
}

void TestFrmMainSelection::memoryTooShortStopsBeforeAnythingIsRemoved()
{
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs});
    scanAndFocus(scanGrid());
    select(scanGrid(), 1, ScanColumn::Name);
    select(scanGrid(), 2, ScanColumn::Name);
    m_desktop.memory = 0;
    run("DeleteFile");

    QCOMPARE(m_dialogs.prompts.size(), 1);
    QVERIFY(m_dialogs.prompts.first().text.startsWith(u"内存不足"_qs));
    QVERIFY(log().isEmpty());
    QVERIFY(QFile::exists(path(u"tree/1.mp3"_qs)) && QFile::exists(path(u"tree/2.mp3"_qs)));
    QCOMPARE(scanGrid()->Rows(), 3);
    QVERIFY(scanGrid()->isHighlighted(1, ScanColumn::Name));
    QVERIFY(scanGrid()->CellForeColor() != FlexGrid::RedColor);
}

QTEST_MAIN(TestFrmMainSelection)
#include "tst_FrmMainSelection.moc"

void TestFrmMainSelection::undoTakesBackTheSelectionsRemoval_data()
{
    QTest::addColumn<bool>("move");
    QTest::newRow("delete") << false;
    QTest::newRow("move") << true;
}

void TestFrmMainSelection::undoTakesBackTheSelectionsRemoval()
{
    QFETCH(bool, move);
    makeFiles({u"1.mp3"_qs, u"2.mp3"_qs, u"3.mp3"_qs});
    scanAndFocus(scanGrid());
    select(scanGrid(), 1, ScanColumn::Name);
    select(scanGrid(), 3, ScanColumn::Name);
    m_dialogs.folders.enqueue(path(u"out"_qs));
    m_dialogs.answer(u"是"_qs);
    run(move ? "MoveFileTo" : "DeleteFile");
    QVERIFY(!QFile::exists(path(u"tree/1.mp3"_qs)));
    QCOMPARE(scanGrid()->Rows(), 2);

    run("UndoLast");
    QCOMPARE(log().mid(4), (QStringList {u"3.mp3|【已恢复】"_qs, u"1.mp3|【已恢复】"_qs}));
    QCOMPARE(TestFiles::read(path(u"tree/1.mp3"_qs)), "1.mp3");
    QCOMPARE(TestFiles::read(path(u"tree/3.mp3"_qs)), "3.mp3");
    QCOMPARE(panel(2), u"已撤销：恢复 2 个文件"_qs);
    // The rows do not come back; a new scan shows the files.
    QCOMPARE(scanGrid()->Rows(), 2);
    QVERIFY(!find<QAction>(u"UndoLast"_qs)->isEnabled());
}
