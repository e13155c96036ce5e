#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

int benchPreview(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench preview ROOT\n";
        return 2;
    }
    WindowScan scanner(args.at(0), QStringLiteral("*.*"));
    scanner.click();
    FrmMain &window = scanner.window();
    FlexGrid *grid = &scanner.compareSimilarNames(QStringLiteral("50"));
    window.findChild<TabStrip *>(QStringLiteral("TabStrip1"))->selectTab(2);
    out << "compare_rows: " << grid->Rows() - 1 << "\n";
    auto *box = window.findChild<QCheckBox *>(QStringLiteral("CheckPreview"));
    auto *rules = window.findChild<QComboBox *>(QStringLiteral("Combo2"));
    const auto *bar = window.findChild<StatusBar *>(QStringLiteral("SBar1"));
    QApplication::processEvents();

    // The first tick also reads every compared record's size and times.
    QElapsedTimer timer;
    timer.start();
    box->click();
    QApplication::processEvents();
    out << "tick_s: " << seconds(timer) << "\n";
    out << "tick_panel: " << bar->panelText(2) << "\n";

    // Each rule once, then back to the first: the step users take.
    double slowest = 0;
    for (int rule = 1; rule <= rules->count(); ++rule) {
        timer.start();
        rules->setCurrentIndex(rule % rules->count());
        QApplication::processEvents();
        const double s = seconds(timer);
        out << "rule" << rule % rules->count() << "_s: " << s << "\n";
        slowest = std::max(slowest, s);
    }
    out << "rule_change_slowest_s: " << slowest << "\n";
    out << "panel: " << bar->panelText(2) << "\n";
    return 0;
}
