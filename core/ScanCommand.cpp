#include "core/ScanCommand.h"

#include "core/Failure.h"
#include "core/FileCatalogue.h"
#include "core/ScanTotals.h"
#include "core/ScanView.h"

#include <QScopeGuard>

namespace ScanCommand {

void run(ScanView &view, FileCatalogue &catalogue, const QString &folder, const QString &pattern)
{
    try {
        ScanOutcome outcome;
        {
            // Grid and catalogue are emptied together, even for a folder
            // that turns out invalid, so that rows and records never
            // disagree. The compare list goes too: its pairs belong to the
            // files no longer listed, and a batch must never act on them.
            view.resetGrids();
            catalogue.clear();
            // Not painted while the walk fills it; drawing comes back however
            // the scan ends.
            view.setScanGridRedraw(false);
            const auto redraw = qScopeGuard([&] { view.setScanGridRedraw(true); });
            view.setScanStatus(QStringLiteral("等待搜索..."));
            view.setCompareStatus(QStringLiteral("等待对比..."));
            view.showScanTab();

            if (!view.folderExists(folder)) {
                view.showMessage(QStringLiteral("无效的路径"));
                return;
            }
            outcome = view.scanFolder(folder, pattern, catalogue);
            view.setScanStatus(scanTotalsText(outcome.files, outcome.folders, outcome.bytes));
            // The reset's empty row goes once the walk has put rows in front of it.
            if (outcome.files > 0)
                view.dropTrailingRow();
        }
        // The notices are shown over the listed files, not over a blank grid.
        if (outcome.cancelled)
            view.showNotice(QStringLiteral("扫描已取消"));
        if (outcome.filesRefused)
            view.showNotice(QStringLiteral("文件数量已达上限 %1 个，其余文件未列出。")
                                .arg(FileCatalogue::Limit));
    } catch (...) {
        // What the walk listed before the failure stays listed.
        view.showMessage(errorCodeText(describeFailure(std::current_exception())));
    }
}

} // namespace ScanCommand
