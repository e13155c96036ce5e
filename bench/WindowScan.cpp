#include "WindowScan.h"

#include "Seconds.h"

#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TabStrip.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

Dialogs::Reply QuietDialogs::ask(const Prompt &prompt)
{
    texts << prompt.text;
    return {button, false};
}

namespace {

// A progress window nobody sees and nobody cancels.
class QuietProgress : public FileOpPrompter::Progress
{
public:
    void setLabel(const QString &) override { }
    void setValue(qint64, qint64) override { }
    bool cancelled() override { return false; }
};

} // namespace

std::unique_ptr<Dialogs::Progress> QuietDialogs::startProgress(const QString &)
{
    return std::make_unique<QuietProgress>();
}

WindowScan::WindowScan(const QString &root, const QString &pattern)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_window = std::make_unique<FrmMain>(m_dialogs, m_desktop);
    m_window->show();
    m_window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(root);
    m_window->findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentText(pattern);
    m_start = m_window->findChild<QPushButton *>(QStringLiteral("CommandStartScan"));
}

WindowScan::~WindowScan() = default;

void WindowScan::click()
{
    m_start->click();
}

FlexGrid &WindowScan::compareSimilarNames(const QString &threshold)
{
    m_window->findChild<TabStrip *>(QStringLiteral("TabStrip2"))->selectTab(2);
    m_window->findChild<QComboBox *>(QStringLiteral("Combo3"))->setEditText(threshold);
    m_window->findChild<QPushButton *>(QStringLiteral("CommandToCompare"))->click();
    return *m_window->findChild<FlexGrid *>(QStringLiteral("MSH1"));
}

double WindowScan::clickAndCancel(QAbstractButton &button, int afterMs)
{
    QElapsedTimer sinceEsc;
    QTimer esc;
    esc.setSingleShot(true);
    QObject::connect(&esc, &QTimer::timeout, m_window.get(), [&] {
        sinceEsc.start();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &key);
    });
    esc.start(afterMs);
    button.click();
    esc.stop();
    return sinceEsc.isValid() ? seconds(sinceEsc) : -1;
}

void highlightWholeRows(FlexGrid &grid, int top, int bottom)
{
    const FlexGrid::QuietMoves quiet(grid);
    grid.setRow(top);
    grid.setCol(1);
    grid.setRowSel(bottom);
    grid.setColSel(grid.Cols() - 1);
    grid.setFillStyle(1);
    grid.setCellBackColor(FlexGrid::SelectionColor);
    grid.setFillStyle(0);
}
