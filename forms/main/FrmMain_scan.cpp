// The scan area's two buttons: the folder picker and the scan command.
#include "forms/main/FrmMain.h"

#include "core/ScanCommand.h"
#include "core/ScanView.h"
#include "modules/ModBrowseFolder.h"
#include "modules/ModFindFile.h"
#include "modules/ModFrmObject.h"
#include "platform/desktop/CancellableWait.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/ThrottledText.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// The scan command's view of the window: both grids, the scan grid's
// drawing, the result tabs, status panels 1 and 2, and the walk that fills
// the scan grid in the window's font.
class WindowScanView : public ScanView
{
public:
    WindowScanView(FrmMain &window, FlexGrid &grid, TabStrip &resultTabs, StatusBar &statusBar,
        Dialogs &dialogs)
        : m_window(window)
        , m_grid(grid)
        , m_resultTabs(resultTabs)
        , m_statusBar(statusBar)
        , m_dialogs(dialogs)
    {
    }

    void resetGrids() override { m_window.InitGrid(FrmMain::Grids::Both); }
    void setScanGridRedraw(bool on) override { m_grid.setRedraw(on); }
    void setScanStatus(const QString &text) override
    {
        m_statusBar.setPanelText(FrmMain::ScanPanel, text);
    }
    void setCompareStatus(const QString &text) override
    {
        m_statusBar.setPanelText(FrmMain::ComparePanel, text);
    }
    void showScanTab() override { m_resultTabs.selectTab(FrmMain::ScanResults); }
    bool folderExists(const QString &folder) override { return FileSystem::exists(folder); }
    ScanOutcome scanFolder(
        const QString &folder, const QString &pattern, FileCatalogue &catalogue) override
    {
        ThrottledText status([this](const QString &text) { setScanStatus(text); }, &m_statusBar);
        return ModFindFile::ScanFolder(folder, pattern, catalogue, m_window, m_grid, status,
            [](const QFuture<void> &work, const std::function<void()> &tick) {
                return CancellableWait::until(work, tick);
            });
    }
    void dropTrailingRow() override { m_grid.RemoveItem(m_grid.Rows() - 1); }
    void showMessage(const QString &text) override { m_dialogs.plainMessage(text); }
    void showNotice(const QString &text) override { m_dialogs.notice(text); }

private:
    FrmMain &m_window;
    FlexGrid &m_grid;
    TabStrip &m_resultTabs;
    StatusBar &m_statusBar;
    Dialogs &m_dialogs;
};

} // namespace

QString FrmMain::chooseFolder()
{
    return BrowseForFolder(m_dialogs, QStringLiteral("请选择目录"));
}

void FrmMain::CommandSelectPath_Click()
{
    const QString folder = chooseFolder();
    if (!folder.isEmpty())
        Text1->setText(folder);
}

void FrmMain::CommandStartScan_Click()
{
    ModFrmObject::WindowLock lock(this);
    WindowScanView view(*this, *MSHList, *TabStrip1, *SBar1, m_dialogs);
    ScanCommand::run(view, m_catalogue, Text1->text(), Combo1->currentText());
}
