#include "forms/main/FrmMain.h"

#include "core/BatchTotals.h"
#include "core/GridSchema.h"
#include "core/LosingFiles.h"
#include "modules/GridFiles.h"
#include "modules/ModEditFile.h"
#include "modules/ModFrmObject.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"

#include <QComboBox>

namespace {

// The pairs of the compare list in the order the grid shows them, each
// read from the compared records its row stands for; a row without a
// similarity text is the empty list's placeholder. Files in the protected
// folders are marked so.
QList<ListedPair> listedPairs(const FlexGrid &grid, const ComparedPairs &compared,
    const ProtectedFolders &protectedFolders = {})
{
    QList<ListedPair> pairs;
    const int rows = grid.Rows();
    for (int row = 1; row < rows; ++row) {
        if (grid.TextMatrix(row, GridSchema::CompareColumn::Similarity).isEmpty())
            continue;
        const qint32 pair = grid.RowData(row);
        const FileRecord *file1 = compared.record(pair, 1);
        const FileRecord *file2 = compared.record(pair, 2);
        if (!file1 || !file2)
            continue;
        ListedPair listed {row, file1->fullPath(), file2->fullPath(), KeepRule::factsOf(*file1),
            KeepRule::factsOf(*file2)};
        listed.file1.isProtected = protectedFolders.covers(file1->folder());
        listed.file2.isProtected = protectedFolders.covers(file2->folder());
        pairs.append(listed);
    }
    return pairs;
}

// Marks each row's cell in the current column, without its highlight.
void markRows(FlexGrid &grid, const QList<int> &rows, const QColor &text)
{
    const FlexGrid::Walk walk(grid);
    for (const int row : rows) {
        grid.setRow(row);
        grid.setCellForeColor(text);
        grid.setCellBackColor(grid.BackColor());
    }
}

void showEmptyListMessage(Dialogs &dialogs)
{
    dialogs.notice(QStringLiteral("对比结果列表为空......"));
}

} // namespace

// A file goes only while it is still the file its record says, as it was
// compared, and its twin is still there and is another file (and, for a
// content list, both are as they were read). Its stamp goes with it to the
// file operation, which checks it again right before acting.
void FrmMain::DuplicatedList()
{
    m_pendingStamps.clear();
    m_protected.recheck();
    const QList<int> missing = queueLosingFiles(Combo2->currentIndex(),
        listedPairs(*MSH1, m_compared, m_protected), m_pending,
        [&](const ListedPair &pair, int file) {
            const FileRecord *record = m_compared.record(MSH1->RowData(pair.row), file);
            const std::optional<FileStamp> stamp
                = record ? record->unchangedStamp() : std::optional<FileStamp>();
            if (!stamp)
                return false;
            const QString &path = file == 1 ? pair.path1 : pair.path2;
            const QString &twin = file == 1 ? pair.path2 : pair.path1;
            const std::optional<FileStamp> twinStamp = FileStamp::of(twin);
            if (!twinStamp || twinStamp->sameFile(*stamp) || !m_listedContent.intact(path, twin))
                return false;
            m_pendingStamps.insert(path, *stamp);
            return true;
        });
    // The chosen file has gone or changed since the compare, or its twin is
    // no longer the copy it was: its row shows it in blue.
    markRows(*MSH1, missing, FlexGrid::BlueColor);
}

// Every queued file gets its line, in the order it was queued, as the
// commands on the selection write them: a file the request did not reach
// (the rest of a cancelled batch) stays, and says so.
void FrmMain::finishBatch(int result, const ModEditFile::Handled &handled, StatusPanel panel,
    const QString &prefix, const BatchTexts &texts)
{
    QHash<QString, bool> done;
    done.reserve(handled.size());
    for (const ShellFileRequest::Handled &file : handled)
        done.insert(file.source, bool(file.result));
    for (const QString &path : m_pending.paths())
        AddLogEntry(path, done.value(path) ? texts.done : texts.failed);
    recordRemoval(handled);
    if (result == 1) {
        SBar1->setPanelText(
            panel, batchTotalsText(prefix, m_pending.pendingCount(), m_pending.pendingBytes()));
        InitGrid(Grids::Compare);
    } else {
        // The rows keep the files the request left in place (refused,
        // changed meanwhile, declined) in red.
        QList<int> rows;
        for (const ListedPair &pair : listedPairs(*MSH1, m_compared)) {
            for (const QString &path : {pair.path1, pair.path2}) {
                if (m_pendingStamps.contains(path) && FileSystem::exists(path)) {
                    rows.append(pair.row);
                    break;
                }
            }
        }
        markRows(*MSH1, rows, FlexGrid::RedColor);
    }
    m_pending.clear();
    m_pendingStamps.clear();
}

void FrmMain::CommandDelFile_Click()
{
    TabStrip1->selectTab(CompareResults);
    if (MSH1->TextMatrix(1, GridSchema::CompareColumn::Similarity).isEmpty()) {
        showEmptyListMessage(m_dialogs);
        return;
    }
    if (!m_dialogs.question(QStringLiteral("确定要删除列表内的文件吗？")))
        return;
    const ModFrmObject::WindowLock lock(this);
    DuplicatedList();
    if (m_pending.isEmpty())
        return;
    ModEditFile::Handled handled;
    const int result = ModEditFile::RecycleFileList(
        m_dialogs, m_pending.pendingPaths(), m_pendingStamps, &handled);
    finishBatch(result, handled, ComparePanel, QStringLiteral("共删除文件："),
        {QStringLiteral("【文件删除成功】"), QStringLiteral("【删除失败】标示为红色字体")});
}

void FrmMain::CommandMoveTo_Click()
{
    TabStrip1->selectTab(CompareResults);
    m_pending.clearPaths();
    if (MSH1->TextMatrix(1, GridSchema::CompareColumn::Name1).isEmpty()) {
        showEmptyListMessage(m_dialogs);
        return;
    }
    const QString folder = chooseFolder();
    if (folder.isEmpty())
        return;
    if (!m_dialogs.question(
            QStringLiteral("确定要移动列表内的文件到 ") + folder + QStringLiteral(" 吗？")))
        return;
    const ModFrmObject::WindowLock lock(this);
    DuplicatedList();
    targetFolder = folder;
    if (m_pending.isEmpty())
        return;
    ModEditFile::Handled handled;
    const int result = ModEditFile::MoveFileList(
        m_dialogs, m_pending.pendingPaths(), targetFolder, m_pendingStamps, &handled);
    finishBatch(result, handled, ScanPanel, QStringLiteral("共移动文件："),
        {QStringLiteral("【移动成功】"), QStringLiteral("【移动失败】标示为红色字体")});
}
