#include "CompareBench.h"

#include "ProcessMemory.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "core/CompareRun.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "tests/support/PlainCompareLoop.h"

#include <QAccessible>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextStream>
#include <QThreadPool>

namespace {

// The plain loop over all 32767 records takes minutes per case, so the two
// are timed side by side on the first records only.
constexpr int SideBySideRecords = 4096;

struct Case
{
    const char *key;
    int field;
    int mode;
    const char *threshold;
};

const Case Cases[] = {
    {"same_name.name", FileRecord::Name, 1, ""},
    {"same_name.size", FileRecord::Size, 1, ""},
    {"similar_name.100", FileRecord::Name, 2, "100"},
    {"similar_name.80", FileRecord::Name, 2, "80"},
    {"similar_name.50", FileRecord::Name, 2, "50"},
};

} // namespace

int compareBench(const QStringList &args, QTextStream &out)
{
    if (args.isEmpty()) {
        out << "usage: velkor-bench compare ROOT [PATTERN] [window]\n";
        return 2;
    }
    const QString pattern = args.value(1, QStringLiteral("*.*"));
    // "window" times only the compare button, for quick runs.
    const bool windowOnly = args.value(2) == QLatin1String("window");
    QElapsedTimer timer;
    timer.start();
    WindowScan scanner(args.at(0), pattern);
    scanner.click();
    const FileCatalogue catalogue = scanner.window().catalogue();
    out << "catalogue: the scan command in the window\n";
    out << "catalogue.seconds: " << seconds(timer) << "\n";
    out << "records: " << catalogue.count() << "\n";
    out << "threads: " << QThreadPool::globalInstance()->maxThreadCount() << "\n";
    const QList<FileRecord> all = catalogue.records();
    const QList<FileRecord> first = all.first(qMin<qsizetype>(SideBySideRecords, all.size()));
    out << "side_by_side.records: " << first.size()
        << " (reference and fast run both on the first records; fast run alone on all)\n";
    out.flush();

    for (const Case &c : Cases) {
        if (windowOnly)
            break;
        CompareRun::Options options;
        options.criteria.slots[static_cast<size_t>(c.field)] = 1;
        options.mode = c.mode;
        options.threshold = QString::fromLatin1(c.threshold);
        const QString key = QString::fromLatin1(c.key);

        timer.start();
        const CompareRun::Outcome fastFirst = CompareRun::run(first, options);
        const double fastFirstSeconds = seconds(timer);
        timer.start();
        const CompareRun::Outcome plain = PlainCompareLoop::run(
            first, options.criteria, c.mode, options.threshold, CompareRun::PairLimit);
        const double plainSeconds = seconds(timer);
        timer.start();
        const CompareRun::Outcome fastAll = CompareRun::run(all, options);
        const double fastAllSeconds = seconds(timer);

        out << key << ".first.pairs: " << fastFirst.pairs.size() << "\n";
        out << key << ".first.same_rows: "
            << (fastFirst.pairs == plain.pairs && fastFirst.truncated == plain.truncated ? "yes"
                                                                                         : "NO")
            << "\n";
        out << key << ".first.fast_seconds: " << fastFirstSeconds << "\n";
        out << key << ".first.reference_seconds: " << plainSeconds << "\n";
        out << key << ".first.ratio: " << plainSeconds / qMax(fastFirstSeconds, 1e-9) << "\n";
        out << key << ".all.pairs: " << fastAll.pairs.size()
            << (fastAll.truncated ? " (stopped at the limit)" : "") << "\n";
        out << key << ".all.fast_seconds: " << fastAllSeconds << "\n";
        out.flush();
    }

    // What the user waits for: the compare button in the window, from the
    // grid reset to the fitted columns. A screen reader's bridge turns the
    // grid's changes into events, so it is on, as such a user runs it.
    QAccessible::setActive(true);
    FrmMain &window = scanner.window();
    auto *button = window.findChild<QPushButton *>(QStringLiteral("CommandToCompare"));
    auto *grid = window.findChild<FlexGrid *>(QStringLiteral("MSH1"));
    auto *status = window.findChild<StatusBar *>(QStringLiteral("SBar1"));
    out << "window.accessibility: " << (QAccessible::isActive() ? "on" : "off") << "\n";
    const auto clickCompare = [&](const QString &key) {
        const qint64 before = ProcessMemory::resident();
        ProcessMemory::resetPeak();
        timer.start();
        button->click();
        const double buttonSeconds = seconds(timer);
        out << key << ".rows: " << grid->Rows() - 1 << "\n";
        out << key << ".seconds: " << buttonSeconds << "\n";
        out << key << ".rss_growth_mb: " << (ProcessMemory::resident() - before) / (1024 * 1024)
            << "\n";
        out << key
            << ".peak_growth_mb: " << (ProcessMemory::peakResident() - before) / (1024 * 1024)
            << "\n";
        out << key << ".result: " << status->panelText(2) << "\n";
        out.flush();
    };
    // Same-name mode with the name box.
    clickCompare(QStringLiteral("window.same_name.name"));
    // The pair limit: similar names at 50. The grid is emptied first, so the
    // growth counts this run's rows only.
    window.InitGrid(FrmMain::Grids::Compare);
    window.findChild<TabStrip *>(QStringLiteral("TabStrip2"))->selectTab(2);
    window.findChild<QComboBox *>(QStringLiteral("Combo3"))->setEditText(QStringLiteral("50"));
    // The run alone, without the window, shows what the button adds to it.
    CompareRun::Options limitRun;
    limitRun.criteria.slots[FileRecord::Name] = 1;
    limitRun.mode = 2;
    limitRun.threshold = QStringLiteral("50");
    timer.start();
    const qsizetype limitPairs = CompareRun::run(all, limitRun).pairs.size();
    out << "window.similar_name.50.run_alone.pairs: " << limitPairs << "\n";
    out << "window.similar_name.50.run_alone.seconds: " << seconds(timer) << "\n";
    clickCompare(QStringLiteral("window.similar_name.50"));
    // Esc while the pair search runs (it takes a few tenths of a second at
    // the limit): how soon the window is back.
    const double cancel = scanner.clickAndCancel(*button, 100);
    out << "window.similar_name.50.cancel.seconds_after_esc: " << cancel << "\n";
    out << "window.similar_name.50.cancel.rows: " << grid->Rows() - 1 << "\n";
    out << "window.similar_name.50.cancel.result: " << status->panelText(2) << "\n";
    return 0;
}
