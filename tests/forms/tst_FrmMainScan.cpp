#include "MainWindowTest.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <system_error>

namespace {

const QString Title = u"Velkor"_qs;
const QString Waiting = u"等待对比..."_qs;
const QString LimitNotice = u"文件数量已达上限 32767 个，其余文件未列出。"_qs;

void makeFile(const QString &path, qint64 size = 0)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QVERIFY(file.resize(size));
}

// Records what the status bar read at each prompt, so that a test can tell
// a notice shown after the totals from one shown before them; can also fail
// a prompt, as a box that cannot be shown would.
class WatchingDialogs : public FakeDialogs
{
public:
    Reply ask(const Prompt &prompt) override
    {
        panelAtPrompt << (status ? status->panelText(1) : QString());
        lockedAtPrompt << (scanButton && !scanButton->isEnabled());
        redrawAtPrompt << (grid && grid->Redraw());
        if (failNext) {
            failNext = false;
            throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
        }
        return FakeDialogs::ask(prompt);
    }

    StatusBar *status = nullptr;
    QPushButton *scanButton = nullptr;
    QStringList panelAtPrompt;
    QList<bool> lockedAtPrompt;
    FlexGrid *grid = nullptr;
    QList<bool> redrawAtPrompt;
    bool failNext = false;
};

} // namespace

class TestFrmMainScan : public MainWindowTest<WatchingDialogs>
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void picksTheFolderOrKeepsItOnCancel();
    void refusesAnInvalidPath_data();
    void refusesAnInvalidPath();
    void listsTheTreeInStepWithTheCatalogue();
    void showsExactTotalsForTheChosenFolderAlone();
    void keepsTheEmptyRowWhenNothingIsAccepted_data();
    void keepsTheEmptyRowWhenNothingIsAccepted();
    void noticesTheLimitAfterTheTotals();
    void reportsAFailureAndUnlocks();

private:
    FileCatalogue &catalogue() const { return m_window->catalogue(); }
    void scan(const QString &folder, const QString &pattern = u"*.mp3"_qs);
    void verifyUnlocked() const;
    void verifyInStep() const;
    // A tree one past the file limit, made once for the tests that need it.
    QString limitTree();

    std::unique_ptr<QTemporaryDir> m_limitTree;
};

void TestFrmMainScan::initTestCase()
{
    QCoreApplication::setApplicationName(Title);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestFrmMainScan::init()
{
    openWindow();
    m_dialogs.status = find<StatusBar>(u"SBar1"_qs);
    m_dialogs.scanButton = find<QPushButton>(u"CommandStartScan"_qs);
    m_dialogs.grid = scanGrid();
    m_window->show();
}

void TestFrmMainScan::cleanup()
{
    closeWindow();
}

void TestFrmMainScan::scan(const QString &folder, const QString &pattern)
{
    find<QLineEdit>(u"Text1"_qs)->setText(folder);
    find<QComboBox>(u"Combo1"_qs)->setCurrentText(pattern);
    QTest::mouseClick(find<QPushButton>(u"CommandStartScan"_qs), Qt::LeftButton);
}

void TestFrmMainScan::verifyUnlocked() const
{
    for (const char *name : {"CommandStartScan", "CommandSelectPath", "CommandToCompare"})
        QVERIFY2(find<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(find<QLineEdit>(u"Text1"_qs)->isEnabled());
    QVERIFY(find<QComboBox>(u"Combo1"_qs)->isEnabled());
    QVERIFY(find<TabStrip>(u"TabStrip1"_qs)->isEnabled());
    QVERIFY(scanGrid()->isEnabled());
    QVERIFY(scanGrid()->Redraw());
    QVERIFY(!QGuiApplication::overrideCursor());
}

// Record k is row k + 1, numbered k + 1, and no empty row is left behind.
void TestFrmMainScan::verifyInStep() const
{
    const FlexGrid *grid = scanGrid();
    QCOMPARE(grid->Rows(), catalogue().count() + 1);
    for (int k = 0; k < catalogue().count(); ++k) {
        QCOMPARE(grid->TextMatrix(k + 1, ScanColumn::Number), QString::number(k + 1));
        for (int f = 0; f < FileRecord::FieldCount; ++f)
            QCOMPARE(grid->TextMatrix(k + 1, GridSchema::scanColumn(FileRecord::Field(f))),
                catalogue().at(k).field(f));
    }
}

QString TestFrmMainScan::limitTree()
{
    if (!m_limitTree) {
        m_limitTree = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < FileCatalogue::Limit + 3; ++i) {
            const QString folder
                = m_limitTree->filePath(u"f%1"_qs.arg(i / 1000, 2, 10, QChar(u'0')));
            if (i % 1000 == 0)
                QDir().mkpath(folder);
            QFile(folder + u"/%1.mp3"_qs.arg(i, 5, 10, QChar(u'0'))).open(QIODevice::WriteOnly);
        }
    }
    return m_limitTree->path();
}

void TestFrmMainScan::picksTheFolderOrKeepsItOnCancel()
{
    auto *folderBox = find<QLineEdit>(u"Text1"_qs);
    auto *picker = find<QPushButton>(u"CommandSelectPath"_qs);
    m_dialogs.folders.enqueue(u"/srv/音乐/专辑"_qs);
    QTest::mouseClick(picker, Qt::LeftButton);
    QCOMPARE(folderBox->text(), u"/srv/音乐/专辑"_qs);
    QTest::mouseClick(picker, Qt::LeftButton); // cancelled: the fake answers empty
    QCOMPARE(folderBox->text(), u"/srv/音乐/专辑"_qs);
    QCOMPARE(m_dialogs.folderTitles, (QStringList {u"请选择目录"_qs, u"请选择目录"_qs}));
    QVERIFY(m_dialogs.prompts.isEmpty());
}

void TestFrmMainScan::refusesAnInvalidPath_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("empty");
    QTest::newRow("missing folder") << u"missing"_qs << false;
    QTest::newRow("missing below a file") << u"song.mp3/below"_qs << false;
    QTest::newRow("empty text") << QString() << true;
}

void TestFrmMainScan::refusesAnInvalidPath()
{
    QFETCH(QString, relative);
    QFETCH(bool, empty);
    QTemporaryDir dir;
    makeFile(dir.filePath(u"song.mp3"_qs), 10);
    scan(dir.path());
    QCOMPARE(catalogue().count(), 1);
    find<TabStrip>(u"TabStrip1"_qs)->selectTab(2);

    scan(empty ? QString() : dir.filePath(relative));
    QCOMPARE(m_dialogs.prompts.size(), 1);
    const Dialogs::Prompt &prompt = m_dialogs.prompts.first();
    QCOMPARE(prompt.title, Title);
    QCOMPARE(prompt.text, u"无效的路径"_qs);
    QCOMPARE(prompt.icon, Dialogs::Icon::None);
    QCOMPARE(prompt.buttons, QStringList {QString::fromUtf8(Dialogs::Ok)});
    QVERIFY(!prompt.systemModal);
    // Shown while the window is still locked.
    QCOMPARE(m_dialogs.lockedAtPrompt, QList<bool> {true});
    // The earlier scan's rows and records are gone alike.
    QCOMPARE(scanGrid()->Rows(), 2);
    QCOMPARE(scanGrid()->TextMatrix(0, ScanColumn::Name), u"文件名"_qs);
    QVERIFY(scanGrid()->TextMatrix(1, ScanColumn::Name).isEmpty());
    QVERIFY(catalogue().isEmpty());
    QCOMPARE(panel(1), u"等待搜索..."_qs);
    QCOMPARE(find<TabStrip>(u"TabStrip1"_qs)->SelectedIndex(), 1);
    verifyUnlocked();
}

void TestFrmMainScan::listsTheTreeInStepWithTheCatalogue()
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/"_qs;
    const qint64 KiB = 1024;
    makeFile(root + u"b.mp3"_qs, 300 * KiB);
    makeFile(root + u"A.MP3"_qs, 100 * KiB);
    makeFile(root + u"notes.txt"_qs, 7);
    makeFile(root + u"one/晴天 *\t(Live).mp3"_qs, 200 * KiB);
    makeFile(root + u"one/deeper/c.mp3"_qs, 400 * KiB);
    makeFile(root + u"two/d.mp3"_qs, 24 * KiB);
    makeFile(root + u"two/.hidden.mp3"_qs, 5);
    auto *compare = find<FlexGrid>(u"MSH1"_qs);
    compare->AddItem(QStringList {u"1"_qs, u"100.00%"_qs}, 1);
    find<StatusBar>(u"SBar1"_qs)->setPanelText(2, u"共找到 1 对"_qs);
    find<TabStrip>(u"TabStrip1"_qs)->selectTab(2);
    const int nameWidth = scanGrid()->ColWidth(ScanColumn::Name);

    scan(dir.path()); // without the trailing "/"
    QCOMPARE(m_dialogs.prompts.size(), 0);
    QStringList paths;
    for (const FileRecord &record : catalogue().records())
        paths << record.fullPath();
    QCOMPARE(paths,
        (QStringList {root + u"A.MP3"_qs, root + u"b.mp3"_qs, root + u"one/晴天 *\t(Live).mp3"_qs,
            root + u"one/deeper/c.mp3"_qs, root + u"two/d.mp3"_qs}));
    verifyInStep();
    QCOMPARE(scanGrid()->TextMatrix(3, ScanColumn::Name), u"晴天 *\t(Live).mp3"_qs);
    QCOMPARE(panel(1),
        u"共搜索到文件：5 个   扫描目录：3 个   文件大小合计：1.00 MB (1024.00 KIB) (0.00 G)"_qs);
    QVERIFY(scanGrid()->ColWidth(ScanColumn::Name) > nameWidth);
    QCOMPARE(find<TabStrip>(u"TabStrip1"_qs)->SelectedIndex(), 1);
    // The old folder's pairs go with it, so that no batch acts on them.
    QCOMPARE(compare->Rows(), 2);
    QVERIFY(compare->TextMatrix(1, CompareColumn::Similarity).isEmpty());
    QCOMPARE(compare->TextMatrix(0, CompareColumn::Similarity), u"  相似度 "_qs);
    QCOMPARE(panel(2), Waiting);
    verifyUnlocked();

    // With the trailing "/" the same files are listed, and not appended twice.
    const QList<FileRecord> first = catalogue().records();
    scan(root);
    QCOMPARE(catalogue().records(), first);
    verifyInStep();
}

void TestFrmMainScan::showsExactTotalsForTheChosenFolderAlone()
{
    QTemporaryDir dir;
    for (const QString &name : {u"1.mp3"_qs, u"2.mp3"_qs, u"3.mp3"_qs})
        makeFile(dir.filePath(name), 512 * 1024);
    scan(dir.path());
    QCOMPARE(panel(1),
        u"共搜索到文件：3 个   扫描目录：0 个   文件大小合计：1.50 MB (1536.00 KIB) (0.00 G)"_qs);
    verifyInStep();

    // Exactly one file: the header and that file's row.
    QTemporaryDir single;
    makeFile(single.filePath(u"only.mp3"_qs), 1);
    scan(single.path());
    QCOMPARE(scanGrid()->Rows(), 2);
    QCOMPARE(scanGrid()->TextMatrix(1, ScanColumn::Name), u"only.mp3"_qs);
    QCOMPARE(catalogue().count(), 1);
}

void TestFrmMainScan::keepsTheEmptyRowWhenNothingIsAccepted_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("a file as the folder") << u"song.mp3"_qs << u"*.mp3"_qs;
    QTest::newRow("no file matches") << QString() << u"*.rmvb"_qs;
}

void TestFrmMainScan::keepsTheEmptyRowWhenNothingIsAccepted()
{
    QFETCH(QString, relative);
    QFETCH(QString, pattern);
    QTemporaryDir dir;
    makeFile(dir.filePath(u"song.mp3"_qs), 4096);
    scan(dir.path());
    QCOMPARE(catalogue().count(), 1);

    scan(relative.isEmpty() ? dir.path() : dir.filePath(relative), pattern);
    QVERIFY(m_dialogs.prompts.isEmpty()); // a file passes the folder check
    QCOMPARE(panel(1),
        u"共搜索到文件：0 个   扫描目录：0 个   文件大小合计：0.00 MB (0.00 KIB) (0.00 G)"_qs);
    QCOMPARE(scanGrid()->Rows(), 2);
    QVERIFY(scanGrid()->TextMatrix(1, ScanColumn::Name).isEmpty());
    QVERIFY(catalogue().isEmpty());
    verifyUnlocked();
}

void TestFrmMainScan::noticesTheLimitAfterTheTotals()
{
    QTemporaryDir below;
    makeFile(below.filePath(u"x.mp3"_qs));
    scan(below.path());
    QVERIFY(m_dialogs.prompts.isEmpty()); // no notice below the limit

    scan(limitTree());
    QCOMPARE(m_dialogs.prompts.size(), 1);
    const Dialogs::Prompt &notice = m_dialogs.prompts.first();
    QCOMPARE(notice.title, u"提示"_qs);
    QCOMPARE(notice.text, LimitNotice);
    QCOMPARE(notice.icon, Dialogs::Icon::Information);
    QCOMPARE(notice.buttons, QStringList {QString::fromUtf8(Dialogs::Ok)});
    QVERIFY(
        m_dialogs.panelAtPrompt.first().startsWith(u"共搜索到文件：32767 个   扫描目录：33 个"_qs));
    QCOMPARE(m_dialogs.redrawAtPrompt, QList<bool> {true}); // over the listed files
    QCOMPARE(catalogue().count(), FileCatalogue::Limit);
    verifyInStep();
    QCOMPARE(catalogue().at(FileCatalogue::Limit - 1).name(), u"32766.mp3"_qs);
    verifyUnlocked();

    // Closing the window lets go of the records.
    m_window->close();
    QVERIFY(catalogue().isEmpty());
}

void TestFrmMainScan::reportsAFailureAndUnlocks()
{
    // The limit notice is the one prompt inside a scan; a failure to show it
    // goes through the command's error handler like any other.
    m_dialogs.failNext = true;
    scan(limitTree());
    QCOMPARE(m_dialogs.prompts.size(), 1);
    const Dialogs::Prompt &error = m_dialogs.prompts.first();
    QCOMPARE(error.title, Title);
    QCOMPARE(error.icon, Dialogs::Icon::None);
    QVERIFY(!error.systemModal);
    const std::error_code code = std::make_error_code(std::errc::not_enough_memory);
    QCOMPARE(error.text,
        u"错误代码：%1\n%2"_qs.arg(code.value()).arg(QString::fromLocal8Bit(code.message())));
    QCOMPARE(catalogue().count(), FileCatalogue::Limit);
    verifyUnlocked();
}

QTEST_MAIN(TestFrmMainScan)
#include "tst_FrmMainScan.moc"
