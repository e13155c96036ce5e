// Taking back the removals of this run: the latest one not yet taken back,
// each file logged with how it fared.
#include "forms/main/FrmMain.h"

#include "platform/widgets/StatusBar.h"

#include <QAction>

void FrmMain::recordRemoval(const ModEditFile::Handled &handled)
{
    m_removals.record(handled);
    UndoLast->setEnabled(!m_removals.isEmpty());
}

void FrmMain::UndoLast_Click()
{
    int restored = 0;
    for (const RemovalHistory::Restored &file : m_removals.undoLast()) {
        if (file.result) {
            ++restored;
            AddLogEntry(file.path, QStringLiteral("【已恢复】"));
        } else {
            AddLogEntry(file.path, QStringLiteral("【恢复失败】") + file.result.text());
        }
    }
    UndoLast->setEnabled(!m_removals.isEmpty());
    SBar1->setPanelText(ComparePanel, QStringLiteral("已撤销：恢复 %1 个文件").arg(restored));
}
