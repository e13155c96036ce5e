#include "core/CompareCommand.h"

#include "core/ColumnWidthTable.h"
#include "core/CompareKey.h"
#include "core/CompareView.h"
#include "core/LongRun.h"
#include "core/MatchRowSource.h"
#include "core/MatchRows.h"
#include "core/PairSink.h"

#include <QElapsedTimer>
#include <QScopeGuard>

namespace CompareCommand {

QString contentProgressText(int percent)
{
    return QStringLiteral("正在校验文件内容：%1%").arg(percent);
}

QString pairProgressText(int percent)
{
    return QStringLiteral("正在对比：%1%").arg(percent);
}

QString cancelledText()
{
    return QStringLiteral("对比已取消");
}

QString unreadableNotice(int files)
{
    return QStringLiteral("有 %1 个文件无法读取，未参与内容对比。").arg(files);
}

Result run(CompareView &view, const FileCatalogue &catalogue, CompareRun::Options options)
{
    view.resetCompareGrid();
    view.showCompareTab();
    view.setCompareGridRedraw(false);
    if (catalogue.isEmpty()) {
        view.setCompareGridRedraw(true);
        return {};
    }
    const QList<FileRecord> &records = catalogue.records();
    const CompareCriteria criteria = options.criteria;
    QElapsedTimer running;
    running.start();
    // The progress text names the record the search has reached, without
    // its extension, until the run turns out long: then how much is done.
    options.awaitPairs = [&](const QFuture<void> &work, const PairSink &sink) {
        return view.waitFor(work, [&] {
            view.showProgress(running.elapsed() < LongRun::ShowProgressAfterMs
                    ? CompareKey(records.at(sink.reachedRecord()), criteria).base()
                    : pairProgressText(sink.percent()));
        });
    };
    options.awaitContent = [&](const QFuture<void> &work, const std::function<int()> &percent) {
        return view.waitFor(work, [&] { view.showProgress(contentProgressText(percent())); });
    };
    CompareRun::Outcome outcome;
    {
        view.setControlsEnabled(false);
        // Unlocked and painted again however the run ends.
        const auto unlock = qScopeGuard([&] {
            view.setCompareGridRedraw(true);
            view.setControlsEnabled(true);
        });
        outcome = CompareRun::run(records, options);
        if (outcome.cancelled) {
            view.setResultText(cancelledText());
            return {};
        }
        if (!outcome.pairs.isEmpty())
            view.insertRows(MatchRowSource(records, outcome.pairs));
        view.setResultText(MatchRows::resultText(outcome.pairs.size()));
        if (!outcome.pairs.isEmpty())
            view.dropTrailingRow();
        const ColumnWidthTable widths = ColumnWidthTable::measure(
            records, outcome.pairs, [&](const QString &text) { return view.measureCell(text); });
        view.widenColumns(widths.widths());
    }
    // Told once the window is usable again, over the rows already listed.
    if (outcome.truncated)
        view.showNotice(MatchRows::limitNoticeText(options.pairLimit));
    if (outcome.unreadable > 0)
        view.showNotice(unreadableNotice(outcome.unreadable));
    Result result;
    result.listed = outcome.pairs.size();
    // Shared with the catalogue until either changes.
    result.compared.records = records;
    result.compared.pairs = std::move(outcome.pairs);
    if (options.criteria.content())
        result.content = ListedContent(outcome.contentStamps);
    return result;
}

} // namespace CompareCommand
