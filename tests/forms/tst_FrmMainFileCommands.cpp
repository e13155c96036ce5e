#include "MainWindowTest.h"
#include "TestFiles.h"
#include "TestMount.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

const QString Taken = u"文件名已存在，请重新输入！"_qs;
const QString Forbidden
    = u"文件名包含非法字符，请重新输入！\n文件名不能包含 \\ / : * ? < > \" | 之一"_qs;

} // namespace

// The commands on one file (open, reveal, properties, rename) and the copy
// of the selection to the clipboard, against a tree of the case's own.
class TestFrmMainFileCommands : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void singleFileCommandsTakeTheCurrentCell_data();
    void singleFileCommandsTakeTheCurrentCell();
    void missingFileFailsRevealAndProperties();
    void desktopRefusalIsReported_data();
    void desktopRefusalIsReported();
    void revealAndPropertiesCarryTheClickTime_data();
    void revealAndPropertiesCarryTheClickTime();
    void renameAsksUntilUsable_data();
    void renameAsksUntilUsable();
    void renamedFileShowsItsNameEverywhere();
    void renameOntoListedNameIsRefused_data();
    void renameOntoListedNameIsRefused();
    void failedRenameReportsTheError();
    void copyPutsSelectedFilesOnClipboard_data();
    void copyPutsSelectedFilesOnClipboard();

private:
    QString path(const QString &relative) const { return m_dir->filePath(u"tree/"_qs + relative); }
    void scan(const QStringList &files, const QString &pattern = u"*.mp3"_qs);
    void focusCell(FlexGrid *grid, int row, int col);
    void run(const char *action)
    {
        m_window->findChild<QAction *>(QLatin1String(action))->trigger();
    }
    QStringList promptTexts() const;
    // The first click of a double click makes the cell current; the model
    // leaves out the header row and column.
    void doubleClick(FlexGrid *grid, int row, int col)
    {
        const QPoint cell = grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFrmMainFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestFrmMainFileCommands::cleanup()
{
    closeWindow();
    m_dir.reset();
}

void TestFrmMainFileCommands::scan(const QStringList &files, const QString &pattern)
{
    for (const QString &file : files)
        QVERIFY(TestFiles::write(path(file), file.toUtf8()));
    find<QLineEdit>(u"Text1"_qs)->setText(path(QString()));
    find<QComboBox>(u"Combo1"_qs)->setCurrentText(pattern);
    press("CommandStartScan");
    press("CommandToCompare");
}

void TestFrmMainFileCommands::focusCell(FlexGrid *grid, int row, int col)
{
    grid->setFocus();
    grid->setRow(row);
    grid->setCol(col);
}

QStringList TestFrmMainFileCommands::promptTexts() const
{
    QStringList texts;
    for (const Dialogs::Prompt &prompt : m_dialogs.prompts)
        texts << prompt.title + u'|' + prompt.text;
    return texts;
}

void TestFrmMainFileCommands::singleFileCommandsTakeTheCurrentCell_data()
{
    QTest::addColumn<QString>("grid"); // "scan", "compare", or another control
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("target"); // empty: no target
    QTest::newRow("scan grid, type column") << u"scan"_qs << int(ScanColumn::Type) << u"b/x.mp3"_qs;
    QTest::newRow("compare, size of file 1")
        << u"compare"_qs << int(CompareColumn::Size1) << u"a/x.mp3"_qs;
    QTest::newRow("compare, size of file 2")
        << u"compare"_qs << int(CompareColumn::Size2) << u"b/x.mp3"_qs;
    QTest::newRow("compare, similarity")
        << u"compare"_qs << int(CompareColumn::Similarity) << QString();
    QTest::newRow("compare, type of file 2")
        << u"compare"_qs << int(CompareColumn::Type2) << QString();
    QTest::newRow("focus in the folder box") << u"Text1"_qs << 2 << QString();
}

void TestFrmMainFileCommands::singleFileCommandsTakeTheCurrentCell()
{
    QFETCH(QString, grid);
    QFETCH(int, col);
    QFETCH(QString, target);
    scan({u"a/x.mp3"_qs, u"b/x.mp3"_qs});
    if (grid == u"scan"_qs)
        focusCell(scanGrid(), 2, col);
    else if (grid == u"compare"_qs)
        focusCell(compareGrid(), 1, col);
    else
        find<QWidget>(grid)->setFocus();
    run("Open");
    run("OpenShowFolder");
    run("FileOption");

    if (target.isEmpty()) {
        QVERIFY(m_desktop.requests.isEmpty());
        QCOMPARE(promptTexts(),
            (QStringList {u"错误！|打开文件位置失败，请检查文件是否正常..."_qs,
                u"错误！|查看属性失败，请检查文件是否正常..."_qs}));
    } else {
        const QString file = path(target);
        QCOMPARE(m_desktop.requests,
            (QStringList {u"open "_qs + file, u"reveal "_qs + file, u"properties "_qs + file}));
        QVERIFY(m_dialogs.prompts.isEmpty());
    }
}

void TestFrmMainFileCommands::missingFileFailsRevealAndProperties()
{
    scan({u"a/x.mp3"_qs});
    QVERIFY(QFile::remove(path(u"a/x.mp3"_qs)));
    focusCell(scanGrid(), 1, ScanColumn::Name);
    run("OpenShowFolder");
    run("FileOption");
    QVERIFY(m_desktop.requests.isEmpty());
    QCOMPARE(promptTexts(),
        (QStringList {u"错误！|打开文件位置失败，请检查文件是否正常..."_qs,
            u"错误！|查看属性失败，请检查文件是否正常..."_qs}));
}

void TestFrmMainFileCommands::desktopRefusalIsReported_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");
    QTest::newRow("open") << u"Open"_qs << u"打开文件失败，请检查文件是否正常..."_qs;
    QTest::newRow("reveal") << u"OpenShowFolder"_qs
                            << u"打开文件位置失败，请检查文件是否正常..."_qs;
    QTest::newRow("properties") << u"FileOption"_qs << u"查看属性失败，请检查文件是否正常..."_qs;
}

void TestFrmMainFileCommands::desktopRefusalIsReported()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    scan({u"a/x.mp3"_qs});
    focusCell(scanGrid(), 1, ScanColumn::Name);
    m_desktop.result = false;
    run(qPrintable(action));
    QCOMPARE(m_desktop.requests.size(), 1);
    QCOMPARE(promptTexts(), QStringList {u"错误！|"_qs + message});
    QCOMPARE(m_dialogs.prompts.first().icon, Dialogs::Icon::Critical);
}

void TestFrmMainFileCommands::revealAndPropertiesCarryTheClickTime_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("request");
    QTest::newRow("reveal") << u"OpenShowFolder"_qs << u"reveal "_qs;
    QTest::newRow("properties") << u"FileOption"_qs << u"properties "_qs;
}

// The window the file manager opens comes to the front only when told the
// time of the click on the context menu's item.
void TestFrmMainFileCommands::revealAndPropertiesCarryTheClickTime()
{
    QFETCH(QString, action);
    QFETCH(QString, request);
    scan({u"a/x.mp3"_qs});
    focusCell(scanGrid(), 1, ScanColumn::Name);
    auto *menu = find<QMenu>(u"EditFile"_qs);
    menu->popup(m_window->geometry().center());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QPointF item = menu->actionGeometry(find<QAction>(action)).center();
    for (const auto &[type, time] :
        {std::pair(QEvent::MouseButtonPress, 4241), std::pair(QEvent::MouseButtonRelease, 4242)}) {
        QMouseEvent click(type, item, menu->mapToGlobal(item), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        click.setTimestamp(time);
        QApplication::sendEvent(menu, &click);
    }
    QCOMPARE(m_desktop.requests, QStringList {request + path(u"a/x.mp3"_qs)});
    QCOMPARE(m_desktop.eventTimes, QList<quint64> {4242});
}

void TestFrmMainFileCommands::renameAsksUntilUsable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inTheWay"); // a file, or a folder ending in "/", made after the scan
    QTest::addColumn<QStringList>("answers"); // then the dialog is cancelled
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QString>("renamed"); // the name afterwards
    QTest::newRow("new base keeps the extension")
        << u"song.mp3"_qs << QString() << QStringList {u"tune"_qs} << QStringList()
        << u"tune.mp3"_qs;
    QTest::newRow("forbidden character, then asked with the old base")
        << u"song.mp3"_qs << QString() << QStringList {u"a|b"_qs, u"tune"_qs}
        << QStringList {Forbidden} << u"tune.mp3"_qs;
    QTest::newRow("existing name")
        << u"song.mp3"_qs << u"tune.mp3"_qs << QStringList {u"tune"_qs, u"tune2"_qs}
        << QStringList {Taken} << u"tune2.mp3"_qs;
    QTest::newRow("a folder of that name is never replaced")
        << u"song.mp3"_qs << u"tune.mp3/"_qs << QStringList {u"tune"_qs} << QStringList {Taken}
        << u"song.mp3"_qs;
    QTest::newRow("preset answer is the name itself")
        << u"song.mp3"_qs << QString() << QStringList {u"song"_qs} << QStringList {Taken}
        << u"song.mp3"_qs;
    QTest::newRow("NUL in the answer")
        << u"song.mp3"_qs << QString() << QStringList {u"tu"_qs + QChar(u'\0') + u"ne"_qs}
        << QStringList {Forbidden} << u"song.mp3"_qs;
    QTest::newRow("line break, then a plain answer")
        << u"song.mp3"_qs << QString() << QStringList {u"tu\nne"_qs, u"tune"_qs}
        << QStringList {Forbidden} << u"tune.mp3"_qs;
    QTest::newRow("answer with an extension")
        << u"song.mp3"_qs << QString() << QStringList {u"tune.mp3"_qs} << QStringList()
        << u"tune.mp3.mp3"_qs;
    QTest::newRow("answer of spaces")
        << u"song.mp3"_qs << QString() << QStringList {u"   "_qs} << QStringList() << u"   .mp3"_qs;
    QTest::newRow("letter case only") << u"song.mp3"_qs << QString() << QStringList {u"Song"_qs}
                                      << QStringList() << u"Song.mp3"_qs;
    QTest::newRow("name without a dot")
        << u"readme"_qs << QString() << QStringList {u"notes"_qs} << QStringList() << u"notes"_qs;
    QTest::newRow("cancelled") << u"song.mp3"_qs << QString() << QStringList() << QStringList()
                               << u"song.mp3"_qs;
}

void TestFrmMainFileCommands::renameAsksUntilUsable()
{
    QFETCH(QString, name);
    QFETCH(QString, inTheWay);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, errors);
    QFETCH(QString, renamed);
    scan({name}, u"*"_qs);
    if (inTheWay.endsWith(u'/'))
        QVERIFY(QDir().mkpath(path(inTheWay)));
    else if (!inTheWay.isEmpty())
        QVERIFY(TestFiles::write(path(inTheWay), "in the way"));
    for (const QString &answer : answers)
        m_dialogs.inputReplies.enqueue(answer);
    focusCell(scanGrid(), 1, ScanColumn::Name);
    run("FileReName");

    // One dialog per answer, and the one cancelled when nothing was renamed;
    // each offers the old base name.
    const QString base = name.section(u'.', 0, name.contains(u'.') ? -2 : -1);
    const QStringList dialog {
        u"文件改名"_qs, u"请输入一个合法的新文件名：\n原文件："_qs + path(name), base};
    QCOMPARE(
        m_dialogs.inputs, QList<QStringList>(answers.size() + (renamed == name ? 1 : 0), dialog));
    QStringList expectedPrompts;
    for (const QString &error : errors)
        expectedPrompts << u"错误！|"_qs + error;
    QCOMPARE(promptTexts(), expectedPrompts);
    QStringList onDisk {renamed};
    if (!inTheWay.isEmpty())
        onDisk << inTheWay.chopped(inTheWay.endsWith(u'/') ? 1 : 0);
    onDisk.sort();
    QCOMPARE(TestFiles::entries(path(QString())), onDisk);
    QCOMPARE(TestFiles::read(path(renamed)), name.toUtf8());
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Name), renamed);
    QCOMPARE(m_window->catalogue().at(0).name(), renamed);
}

void TestFrmMainFileCommands::renamedFileShowsItsNameEverywhere()
{
    scan({u"a/x.mp3"_qs, u"b/x.mp3"_qs, u"c/x.mp3"_qs});
    // Pairs a-b, a-c and b-c: a/x.mp3 is file 1 of the first two rows.
    QCOMPARE(compareGrid()->Rows(), 4);
    m_dialogs.inputReplies.enqueue(u"z"_qs);
    compareGrid()->setFocus();
    doubleClick(compareGrid(), 2, CompareColumn::Name1);

    QVERIFY(QFile::exists(path(u"a/z.mp3"_qs)));
    QStringList names;
    for (int row = 1; row < compareGrid()->Rows(); ++row)
        names << compareGrid()->TextMatrix(row, CompareColumn::Name1) + u'+'
                + compareGrid()->TextMatrix(row, CompareColumn::Name2);
    QCOMPARE(names, (QStringList {u"z.mp3+x.mp3"_qs, u"z.mp3+x.mp3"_qs, u"x.mp3+x.mp3"_qs}));
    QStringList scanned;
    for (int row = 1; row < scanGrid()->Rows(); ++row)
        scanned << scanGrid()->TextMatrix(row, ScanColumn::Folder).mid(path(QString()).size())
                + scanGrid()->TextMatrix(row, ScanColumn::Name);
    QCOMPARE(scanned, (QStringList {u"a/z.mp3"_qs, u"b/x.mp3"_qs, u"c/x.mp3"_qs}));
    QCOMPARE(m_window->catalogue().at(0).fullPath(), path(u"a/z.mp3"_qs));
    // The compare list's records follow too: the renamed file may still go.
    compareGrid()->setFocus();
    compareGrid()->clearHighlights();
    focusCell(compareGrid(), 1, CompareColumn::Name1);
    compareGrid()->setCellBackColor(FlexGrid::SelectionColor);
    m_window->SelFileList(FrmMain::Gathering::RemoveOrMove);
    QCOMPARE(m_window->pending().paths(), QStringList {path(u"a/z.mp3"_qs)});

    // A double click on a similarity names no file.
    doubleClick(compareGrid(), 1, CompareColumn::Similarity);
    QCOMPARE(m_dialogs.inputs.size(), 1);
}

void TestFrmMainFileCommands::renameOntoListedNameIsRefused_data()
{
    // b.mp3 leaves this list before its file goes: "MSHList" its row,
    // "MSH1" the whole compare list.
    QTest::addColumn<QString>("leftList");
    QTest::addColumn<QStringList>("answers"); // then the dialog is cancelled
    QTest::addColumn<QString>("renamed");
    QTest::newRow("gone from disk, still in the scan list")
        << u"MSH1"_qs << QStringList {u"b"_qs} << u"a.mp3"_qs;
    QTest::newRow("gone from disk and the scan list, still compared")
        << u"MSHList"_qs << QStringList {u"b"_qs, u"c"_qs} << u"c.mp3"_qs;
}

void TestFrmMainFileCommands::renameOntoListedNameIsRefused()
{
    QFETCH(QString, leftList);
    QFETCH(QStringList, answers);
    QFETCH(QString, renamed);
    // By size alone, so that a.mp3 and b.mp3 make a pair.
    find<QCheckBox>(u"Check1(2)"_qs)->click();
    find<QCheckBox>(u"Check1(0)"_qs)->click();
    scan({u"d/a.mp3"_qs, u"d/b.mp3"_qs});
    QCOMPARE(compareGrid()->Rows(), 2);
    if (leftList == u"MSH1"_qs) {
        compareGrid()->setFocus();
        run("ClearList");
    } else {
        focusCell(scanGrid(), scanGrid()->TextMatrix(1, ScanColumn::Name) == u"b.mp3"_qs ? 1 : 2,
            ScanColumn::Name);
        scanGrid()->clearHighlights();
        scanGrid()->setCellBackColor(FlexGrid::SelectionColor);
        run("MoveFromList");
        QCOMPARE(m_window->catalogue().count(), 1);
    }
    QVERIFY(QFile::remove(path(u"d/b.mp3"_qs)));
    for (const QString &answer : answers)
        m_dialogs.inputReplies.enqueue(answer);
    const int aRow = scanGrid()->TextMatrix(1, ScanColumn::Name) == u"a.mp3"_qs ? 1 : 2;
    focusCell(scanGrid(), aRow, ScanColumn::Name);
    run("FileReName");

    QCOMPARE(promptTexts(), QStringList {u"错误！|"_qs + Taken});
    QCOMPARE(TestFiles::entries(path(u"d"_qs)), QStringList {renamed});
    QCOMPARE(scanGrid()->TextMatrix(aRow, ScanColumn::Name), renamed);
    // No list names one file twice.
    QSet<QString> catalogued;
    for (const FileRecord &record : m_window->catalogue().records())
        catalogued.insert(record.fullPath());
    QCOMPARE(catalogued.size(), m_window->catalogue().count());
    if (leftList == u"MSHList"_qs) {
        QStringList pair {compareGrid()->TextMatrix(1, CompareColumn::Name1),
            compareGrid()->TextMatrix(1, CompareColumn::Name2)};
        QStringList expected {renamed, u"b.mp3"_qs};
        pair.sort();
        expected.sort();
        QCOMPARE(pair, expected);
    }
}

void TestFrmMainFileCommands::failedRenameReportsTheError()
{
    scan({u"locked/song.mp3"_qs});
    std::optional<TestMount> view;
    int expectedError = EACCES;
    if (::geteuid() == 0) {
        // Permission bits do not stop root: lock the folder with a read-only view.
        view.emplace(TestMount::readOnlyView(path(u"locked"_qs)));
        if (!view->ok())
            QSKIP(qPrintable(u"cannot make a read-only folder as root here: "_qs + view->error()));
        expectedError = EROFS;
    } else {
        QVERIFY(QFile::setPermissions(path(u"locked"_qs), QFile::ReadOwner | QFile::ExeOwner));
    }
    m_dialogs.inputReplies.enqueue(u"tune"_qs);
    focusCell(scanGrid(), 1, ScanColumn::Name);
    run("FileReName");

    QCOMPARE(m_dialogs.prompts.size(), 1);
    const Dialogs::Prompt &shown = m_dialogs.prompts.first();
    QCOMPARE(shown.title, QCoreApplication::applicationName());
    QCOMPARE(shown.icon, Dialogs::Icon::None);
    QCOMPARE(shown.text,
        u"错误代码：%1\n%2，文件已被打开或其他程序正在使用！"_qs.arg(
            QString::number(expectedError), QString::fromLocal8Bit(std::strerror(expectedError))));
    QCOMPARE(m_dialogs.inputs.size(), 1);
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Name), u"song.mp3"_qs);
    QFile::setPermissions(
        path(u"locked"_qs), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestFrmMainFileCommands::copyPutsSelectedFilesOnClipboard_data()
{
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<bool>("clipboardTakesIt");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("copied") << true << true << u"复制成功|共复制了 2 个文件到剪贴板！"_qs;
    QTest::newRow("clipboard refuses") << true << false << u"错误！|复制文件失败！"_qs;
    QTest::newRow("nothing highlighted") << false << true << QString();
}

void TestFrmMainFileCommands::copyPutsSelectedFilesOnClipboard()
{
    QFETCH(bool, highlighted);
    QFETCH(bool, clipboardTakesIt);
    QFETCH(QString, prompt);
    scan({u"a/x.mp3"_qs, u"b/x.mp3"_qs});
    compareGrid()->setFocus();
    compareGrid()->clearHighlights();
    if (highlighted) {
        // Both names, and file 2 a second time by its size.
        const FlexGrid::QuietMoves quiet(*compareGrid());
        for (const int col : {CompareColumn::Name1, CompareColumn::Name2, CompareColumn::Size2}) {
            compareGrid()->setRow(1);
            compareGrid()->setCol(col);
            compareGrid()->setCellBackColor(FlexGrid::SelectionColor);
        }
    }
    m_desktop.result = clipboardTakesIt;
    run("CopyFileTo");

    if (!highlighted) {
        QVERIFY(m_desktop.requests.isEmpty());
        QVERIFY(m_dialogs.prompts.isEmpty());
        return;
    }
    QCOMPARE(m_desktop.requests,
        QStringList {u"clipboard\n"_qs + path(u"b/x.mp3"_qs) + u'\n' + path(u"a/x.mp3"_qs)});
    QCOMPARE(promptTexts(), QStringList {prompt});
    QCOMPARE(m_dialogs.prompts.first().icon,
        clipboardTakesIt ? Dialogs::Icon::Information : Dialogs::Icon::Critical);
}

QTEST_MAIN(TestFrmMainFileCommands)
#include "tst_FrmMainFileCommands.moc"
