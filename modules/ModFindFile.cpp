#include "modules/ModFindFile.h"

#include "core/LongRun.h"
#include "core/ScanTotals.h"
#include "modules/ModSetGrid.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/ThrottledText.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QThreadPool>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace ModFindFile {

namespace {

// The rows go in at once, in front of the grid's trailing empty row, and the
// columns are widened once: that fits every column to its widest accepted
// text just as widening after each folder would, and the grid isn't drawn
// during the walk anyway. The walk's rows are the catalogue's last records,
// and each row carries its record's index.
void listRows(ScanWalk &walk, FlexGrid &grid, const FileCatalogue &catalogue)
{
    const int first = walk.firstRow();
    const QList<QStringList> rows = walk.takeRows();
    if (!rows.isEmpty()) {
        grid.AddItems(rows, first);
        const int firstRecord = catalogue.count() - int(rows.size());
        for (int i = 0; i < int(rows.size()); ++i)
            grid.setRowData(first + i, firstRecord + i);
    }
    const ScanWalk::Widths &widths = walk.maxWidths();
    ModSetGrid::WidenColumns(
        grid, GridSchema::ScanColumn::Number, QList<int>(widths.begin(), widths.end()));
}

// What the walk last told, handed from its thread to the waiting one.
class WalkStatus
{
public:
    void examined(const QString &text, qint16 files, qint16 folders)
    {
        const QMutexLocker lock(&m_mutex);
        m_text = text;
        m_files = files;
        m_folders = folders;
    }
    // The entry examined, until the walk turns out long: then the counts.
    QString text(bool running) const
    {
        const QMutexLocker lock(&m_mutex);
        return running ? scanProgressText(m_files, m_folders) : m_text;
    }

private:
    mutable QMutex m_mutex;
    QString m_text;
    qint16 m_files = 0;
    qint16 m_folders = 0;
};

} // namespace

ScanOutcome ScanFolder(const QString &folder, const QString &pattern, FileCatalogue &catalogue,
    QWidget &window, FlexGrid &grid, ThrottledText &statusBar, const Await &await,
    const ScanWalk::ReadFolder &read)
{
    WalkStatus status;
    // The walk fills a catalogue of its own: the window's stays untouched
    // while the walk's thread writes, and takes the records at the end.
    FileCatalogue found;
    ScanWalk walk(
        found, pattern, window.font(),
        [&](const QString &text, qint16 files, qint16 folders) {
            status.examined(text, files, folders);
        },
        read);
    ScanOutcome outcome;
    std::exception_ptr failure; // of the walk
    std::exception_ptr waitFailure;
    QThreadPool own;
    own.setMaxThreadCount(1);
    QFuture<void> work = QtConcurrent::run(&own, [&] {
        try {
            outcome.bytes = walk.walk(folder, outcome.files, outcome.folders);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QElapsedTimer running;
    running.start();
    const auto show = [&] {
        const QString text = status.text(running.elapsed() >= LongRun::ShowProgressAfterMs);
        if (!text.isEmpty())
            statusBar.setText(text);
    };
    const auto block = [&] {
        show();
        QFuture<void>(work).waitForFinished();
        return true;
    };
    bool finished = true;
    try {
        finished = await ? await(work, show) : block();
    } catch (...) {
        waitFailure = std::current_exception();
        walk.stop();
    }
    if (!finished)
        walk.stop();
    work.waitForFinished();
    // What was accepted before a failure or the cancel stays listed, rows
    // and records in step.
    for (const FileRecord &record : found.records())
        catalogue.append(record);
    listRows(walk, grid, catalogue);
    if (waitFailure)
        std::rethrow_exception(waitFailure);
    if (failure)
        std::rethrow_exception(failure);
    outcome.filesRefused = walk.filesRefused();
    outcome.cancelled = !finished;
    show();
    statusBar.flush();
    return outcome;
}

} // namespace ModFindFile
