#include "BareWalk.h"
#include "BenchCommands.h"
#include "Seconds.h"
#include "WindowScan.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int WalkRuns = 3; // and as many scans

QString fixed(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

int benchScan(const QStringList &args)
{
    QTextStream out(stdout);
    if (args.isEmpty()) {
        out << "usage: velkor-bench scan ROOT [PATTERN]\n";
        return 2;
    }
    const QString root = args.at(0);
    const QString pattern = args.value(1, QStringLiteral("*.mp3"));

    // The first walk brings the tree into the page cache for both sides.
    BareWalkResult walked = bareWalk(root);
    double walk = 1e9;
    QElapsedTimer timer;
    for (int run = 0; run < WalkRuns; ++run) {
        timer.start();
        walked = bareWalk(root);
        walk = std::min(walk, seconds(timer));
    }

    WindowScan scanner(root, pattern);
    FrmMain &window = scanner.window();
    // The first scan pays once for what the program loads on first use (the
    // type database); the later ones are what every further scan costs.
    timer.start();
    scanner.click();
    const double scan = seconds(timer);
    double again = 1e9;
    for (int run = 1; run < WalkRuns; ++run) {
        timer.start();
        scanner.click();
        again = std::min(again, seconds(timer));
    }

    const auto *grid = window.findChild<FlexGrid *>(QStringLiteral("MSHList"));
    const QString totals = window.findChild<StatusBar *>(QStringLiteral("SBar1"))->panelText(1);
    const int files = window.catalogue().count();
    const bool inStep = grid->Rows() == files + (files > 0 ? 1 : 2);
    const QRegularExpressionMatch folders
        = QRegularExpression(QStringLiteral("扫描目录：(\\d+)")).match(totals);

    out << "pattern: " << pattern << '\n';
    out << "walk_entries: " << walked.entries << '\n';
    out << "walk_files: " << walked.files << '\n';
    out << "walk_folders: " << walked.folders << '\n';
    out << "files: " << files << '\n';
    out << "folders: " << (folders.hasMatch() ? folders.captured(1) : QStringLiteral("?")) << '\n';
    out << "rows_in_step: " << (inStep ? "yes" : "no") << '\n';
    const qsizetype prompts = scanner.prompts().size();
    out << "prompts: " << scanner.prompts().join(QStringLiteral(" | ")) << '\n';
    out << "walk_s: " << fixed(walk) << '\n';
    out << "scan_s: " << fixed(scan) << '\n';
    out << "scan_again_s: " << fixed(again) << '\n';
    out << "ratio: " << QString::number(scan / walk, 'f', 2) << '\n';
    out << "totals: " << totals << '\n';

    // Esc a tenth of a second into a scan: how soon the window is back.
    const double cancel = scanner.clickAndCancel(
        *window.findChild<QPushButton *>(QStringLiteral("CommandStartScan")), 100);
    out << "cancel_after_esc_s: " << fixed(cancel) << '\n';
    out << "cancel_files: " << window.catalogue().count() << '\n';
    out << "cancel_prompts: " << scanner.prompts().mid(prompts).join(QStringLiteral(" | ")) << '\n';
    return inStep && folders.hasMatch() ? 0 : 1;
}
