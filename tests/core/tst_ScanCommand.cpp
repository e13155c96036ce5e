#include "core/FileCatalogue.h"
#include "core/ScanCommand.h"
#include "core/ScanView.h"

#include <QTest>

#include <stdexcept>

namespace {
// Records every call in order as one line; the walk lists the scripted
// number of files, then fails when told to.
class RecordingView : public ScanView
{
public:
    QStringList calls;
    bool exists = true;
    ScanOutcome outcome;
    bool failMidWalk = false;

    void resetGrids() override { calls << "reset"; }
    void setScanGridRedraw(bool on) override { calls << (on ? "redraw on" : "redraw off"); }
    void setScanStatus(const QString &text) override { calls << "scan " + text; }
    void setCompareStatus(const QString &text) override { calls << "compare " + text; }
    void showScanTab() override { calls << "tab"; }
    bool folderExists(const QString &folder) override
    {
        calls << "exists " + folder;
        return exists;
    }
    ScanOutcome scanFolder(
        const QString &folder, const QString &pattern, FileCatalogue &catalogue) override
    {
        calls << "walk " + folder + " " + pattern;
        for (int k = 0; k < outcome.files; ++k)
            catalogue.append(FileRecord {{QStringLiteral("%1.mp3").arg(k), folder}, {}});
        if (failMidWalk)
            throw std::runtime_error("listing broke");
        return outcome;
    }
    void dropTrailingRow() override { calls << "drop"; }
    void showMessage(const QString &text) override { calls << "message " + text; }
    void showNotice(const QString &text) override { calls << "notice " + text; }
};
} // namespace

class tst_ScanCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
};

void tst_ScanCommand::steps_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("listed");

    const QStringList start
        = {"reset", "redraw off", "scan 等待搜索...", "compare 等待对比...", "tab", "exists /m/"};
    const QString walk = "walk /m/ *.mp3";
    const QString totals = "scan 共搜索到文件：2 个   扫描目录：3 个   文件大小合计：0.00 MB (1.00 "
                           "KIB) (0.00 G)";
    QTest::newRow("two files listed")
        << true << 2 << false << false << false
        << (start + QStringList {walk, totals, "drop", "redraw on"}) << 2;
    QTest::newRow("nothing accepted keeps the empty row")
        << true << 0 << false << false << false
        << (start
               + QStringList {walk,
                   "scan 共搜索到文件：0 个   扫描目录：3 个   文件大小合计：0.00 MB (1.00 KIB) "
                   "(0.00 G)",
                   "redraw on"})
        << 0;
    QTest::newRow("invalid folder, the old records gone")
        << false << 2 << false << false << false
        << (start + QStringList {"message 无效的路径", "redraw on"}) << 0;
    QTest::newRow("limit notice over the listed files")
        << true << 2 << true << false << false
        << (start
               + QStringList {walk, totals, "drop", "redraw on",
                   "notice 文件数量已达上限 32767 个，其余文件未列出。"})
        << 2;
    QTest::newRow("failure mid-walk keeps the rows listed")
        << true << 2 << false << true << false
        << (start + QStringList {walk, "redraw on", "message 错误代码：1\nlisting broke"}) << 2;
    // A cancelled walk shows the totals of what it listed, and says so.
    QTest::newRow("cancelled keeps what was listed")
        << true << 2 << false << false << true
        << (start + QStringList {walk, totals, "drop", "redraw on", "notice 扫描已取消"}) << 2;
}

void tst_ScanCommand::steps()
{
    QFETCH(bool, exists);
    QFETCH(int, files);
    QFETCH(bool, refused);
    QFETCH(bool, fails);
    QFETCH(bool, cancelled);
    RecordingView view;
    view.exists = exists;
    view.outcome = {1024, qint16(files), 3, refused, cancelled};
    view.failMidWalk = fails;
    FileCatalogue catalogue;
    catalogue.append(FileRecord {{"old.mp3", "/old/"}, {}});

    ScanCommand::run(view, catalogue, "/m/", "*.mp3");
    QTEST(view.calls, "calls");
    // The walk's records, and only they: the previous scan's went first.
    QTEST(catalogue.count(), "listed");
    for (int k = 0; k < catalogue.count(); ++k)
        QCOMPARE(catalogue.at(k).name(), QStringLiteral("%1.mp3").arg(k));
}

QTEST_GUILESS_MAIN(tst_ScanCommand)
#include "tst_ScanCommand.moc"
