#include "core/CompareCommand.h"
#include "core/CompareView.h"
#include "core/GridRowSource.h"

#include <QTest>

namespace {
// Records every call in order as one line.
class RecordingView : public CompareView
{
public:
    QStringList calls;
    QList<QStringList> rows;
    ColumnWidthTable::Widths widths {};

    void resetCompareGrid() override { calls << "reset"; }
    void showCompareTab() override { calls << "tab"; }
    void setCompareGridRedraw(bool on) override { calls << (on ? "redraw on" : "redraw off"); }
    void setControlsEnabled(bool enabled) override { calls << (enabled ? "unlock" : "lock"); }
    void showProgress(const QString &text) override { calls << "progress " + text; }
    void setResultText(const QString &text) override { calls << "result " + text; }
    void insertRows(const GridRowSource &added) override
    {
        calls << QStringLiteral("rows %1").arg(added.rowCount());
        for (qsizetype r = 0; r < added.rowCount(); ++r)
            rows.append(added.texts(r));
    }
    void dropTrailingRow() override { calls << "drop"; }
    void widenColumns(const ColumnWidthTable::Widths &w) override
    {
        calls << "widen";
        widths = w;
    }
    int measureCell(const QString &text) override { return static_cast<int>(text.size()) * 10; }
    void showNotice(const QString &text) override { calls << "notice " + text; }
    bool cancelWait = false;
    bool cancelAtOnce = false; // as Esc pressed while the work runs
    bool waitFor(const QFuture<void> &work, const std::function<void()> &tick) override
    {
        tick();
        if (cancelAtOnce)
            return false;
        QFuture<void>(work).waitForFinished();
        return !cancelWait;
    }
};

FileCatalogue catalogue(const QStringList &names)
{
    FileCatalogue c;
    for (const QString &name : names) {
        // Each in a folder of its own: one path twice would be one file.
        FileRecord r;
        r.fields = {name, QStringLiteral("/m/%1/").arg(c.count()), "10", "t", "t", "t", "MP3 文件"};
        c.append(r);
    }
    return c;
}

CompareRun::Options nameBox(qsizetype limit = CompareRun::PairLimit)
{
    CompareRun::Options options;
    options.criteria.slots[0] = 1;
    options.pairLimit = limit;
    return options;
}

QStringList withoutProgress(QStringList calls)
{
    calls.removeIf([](const QString &c) { return c.startsWith("progress "); });
    return calls;
}
} // namespace

class tst_CompareCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
    void rowsAndWidths();
    void contentReading();
    void cancelledCompareListsNothing();
};

void tst_CompareCommand::steps_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("calls");

    const QStringList start = {"reset", "tab", "redraw off"};
    QTest::newRow("empty catalogue stops at once")
        << QStringList {} << 10 << (start + QStringList {"redraw on"});
    QTest::newRow("one record") << QStringList {"a.mp3"} << 10
                                << (start
                                       + QStringList {"lock", "result 没有找到相同的文件", "widen",
                                           "redraw on", "unlock"});
    QTest::newRow("three equal names")
        << QStringList {"a.mp3", "b.mp3", "A.mp3", "a.mp3"} << 10
        << (start
               + QStringList {"lock", "rows 3", "result 对比结果：3 组符合项", "drop", "widen",
                   "redraw on", "unlock"});
    QTest::newRow("stopped at the limit")
        << QStringList {"a.mp3", "a.mp3", "a.mp3"} << 2
        << (start
               + QStringList {"lock", "rows 2", "result 对比结果：2 组符合项", "drop", "widen",
                   "redraw on", "unlock",
                   "notice 匹配的文件对超过 2 组，只列出了前 2 "
                   "组。请勾选更多对比项目或提高相似度后重新对比。"});
}

void tst_CompareCommand::steps()
{
    QFETCH(QStringList, names);
    QFETCH(int, limit);
    RecordingView view;
    CompareCommand::run(view, catalogue(names), nameBox(limit));
    QTEST(withoutProgress(view.calls), "calls");
}

void tst_CompareCommand::rowsAndWidths()
{
    RecordingView view;
    const qsizetype listed
        = CompareCommand::run(view, catalogue({"a.mp3", "长名字啊.mp3", "a.mp3"}), nameBox())
              .listed;
    QCOMPARE(listed, 1);
    QCOMPARE(view.rows.size(), 1);
    QCOMPARE(view.rows[0].mid(0, 4), (QStringList {"1", "100.00%", "a.mp3", "a.mp3"}));
    // Only the listed files count: the long name is in no pair.
    QCOMPARE(view.widths[0], 10); // the number "1"
    QCOMPARE(view.widths[2], 50);
    QCOMPARE(view.widths[3], 50);
    QCOMPARE(view.widths[14], 60);
    // The progress text is the reached record's name without extension.
    const QStringList progress = view.calls.filter(QStringLiteral("progress "));
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.first(), QStringLiteral("progress a"));
}

void tst_CompareCommand::contentReading()
{
    // The records name files that are not there: none can be read.
    CompareRun::Options options = nameBox();
    options.criteria.slots[CompareCriteria::ContentSlot] = 1;
    const QStringList start = {"reset", "tab", "redraw off", "lock"};
    RecordingView view;
    CompareCommand::run(view, catalogue({"a.mp3", "a.mp3"}), options);
    const QStringList read = start
        + QStringList {"result 没有找到相同的文件", "widen", "redraw on", "unlock",
            "notice 有 2 个文件无法读取，未参与内容对比。"};
    QVERIFY(view.calls.contains("progress 正在校验文件内容：0%"));
    QCOMPARE(withoutProgress(view.calls), read);

    RecordingView cancelled;
    cancelled.cancelWait = true;
    const CompareCommand::Result result
        = CompareCommand::run(cancelled, catalogue({"a.mp3", "a.mp3"}), options);
    QCOMPARE(result.listed, 0);
    const QStringList stopped = start + QStringList {"result 对比已取消", "redraw on", "unlock"};
    QCOMPARE(withoutProgress(cancelled.calls), stopped);
}

void tst_CompareCommand::cancelledCompareListsNothing()
{
    // Enough equal names to reach the pair limit, should the search go on.
    RecordingView view;
    view.cancelAtOnce = true;
    const CompareCommand::Result result
        = CompareCommand::run(view, catalogue(QStringList(2000, "a.mp3")), nameBox());
    QCOMPARE(result.listed, 0);
    QVERIFY(result.compared.pairs.isEmpty());
    QVERIFY(view.rows.isEmpty());
    QCOMPARE(withoutProgress(view.calls),
        (QStringList {
            "reset", "tab", "redraw off", "lock", "result 对比已取消", "redraw on", "unlock"}));
}

QTEST_GUILESS_MAIN(tst_CompareCommand)
#include "tst_CompareCommand.moc"
