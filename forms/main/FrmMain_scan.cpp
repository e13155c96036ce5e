// The scan area's two buttons: the folder picker and the scan command.
#include "forms/main/FrmMain.h"

#include "core/Failure.h"
#include "core/ScanTotals.h"
#include "modules/ModBrowseFolder.h"
#include "modules/ModFindFile.h"
#include "modules/ModFrmObject.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/ThrottledText.h"

#include <QComboBox>
#include <QLineEdit>

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
    try {
        ModFindFile::ScanOutcome outcome;
        {
            // Grid and catalogue are emptied together, even for a folder
            // that turns out invalid, so that rows and records never
            // disagree. The compare list goes too: its pairs belong to the
            // files no longer listed, and a batch must never act on them.
            InitGrid(Grids::Both);
            m_catalogue.clear();
            // Not painted while the walk fills it; drawing comes back however
            // the scan ends.
            const FlexGrid::RedrawOff redrawOff(*MSHList);
            SBar1->setPanelText(ScanPanel, QStringLiteral("等待搜索..."));
            SBar1->setPanelText(ComparePanel, QStringLiteral("等待对比..."));
            TabStrip1->selectTab(ScanResults);

            const QString folder = Text1->text();
            if (!FileSystem::exists(folder)) {
                m_dialogs.plainMessage(QStringLiteral("无效的路径"));
                return;
            }
            ThrottledText status(
                [this](const QString &text) { SBar1->setPanelText(ScanPanel, text); }, SBar1);
            outcome = ModFindFile::ScanFolder(
                folder, Combo1->currentText(), m_catalogue, *this, *MSHList, status);
            SBar1->setPanelText(
                ScanPanel, scanTotalsText(outcome.files, outcome.folders, outcome.bytes));
            // The reset's empty row goes once the walk has put rows in front of it.
            if (MSHList->Rows() > 2)
                MSHList->RemoveItem(MSHList->Rows() - 1);
        }
        // The notice is shown over the listed files, not over a blank grid.
        if (outcome.filesRefused)
            m_dialogs.notice(QStringLiteral("文件数量已达上限 %1 个，其余文件未列出。")
                                 .arg(FileCatalogue::Limit));
    } catch (...) {
        // What the walk listed before the failure stays listed.
        m_dialogs.plainMessage(errorCodeText(describeFailure(std::current_exception())));
    }
}
