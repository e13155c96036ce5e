// The context menu's commands on the selected files: gather, delete, move,
// send to, copy to the clipboard, remove from the list and clear it.
#include "forms/main/FrmMain.h"

#include "core/GridSchema.h"
#include "modules/GridFiles.h"
#include "modules/ModEditFile.h"
#include "modules/ModToClipboard.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"

#include <QMap>

namespace {

using GridFiles::Kind;

const QString Queued = QStringLiteral("【文件加入待处理序列】");

void mark(FlexGrid &grid, const QColor &text)
{
    grid.setCellForeColor(text);
    grid.setCellBackColor(grid.BackColor());
}

} // namespace

FlexGrid *FrmMain::activeGrid() const
{
    QWidget *focus = focusWidget();
    if (focus == MSHList || focus == MSH1)
        return static_cast<FlexGrid *>(focus);
    return nullptr;
}

void FrmMain::SelFileList(Gathering purpose)
{
    m_pending.clearPaths();
    m_pendingStamps.clear();
    m_protected.recheck();
    FlexGrid *grid = activeGrid();
    if (!grid)
        return;
    const Kind kind = grid == MSHList ? Kind::Scan : Kind::Compare;
    // The compare grid's missing-file text has no full stop.
    const QString missing = kind == Kind::Scan ? QStringLiteral("【文件不存在】标示为蓝色字体。")
                                               : QStringLiteral("【文件不存在】标示为蓝色字体");
    // A file is removed or moved only while it is the file its record says,
    // as it was; a compare-grid file, too, only while its twin in the row is
    // as the content check saw it. Otherwise it counts as missing. A copy
    // takes whatever is there.
    const auto usable = [&](const GridFiles::ListedFile &file) {
        if (purpose == Gathering::Copy)
            return ModEditFile::IsFilePresent(file.path);
        const FileRecord *record = GridFiles::recordOf(*grid, kind, file, m_catalogue, m_compared);
        const std::optional<FileStamp> stamp
            = record ? record->unchangedStamp() : std::optional<FileStamp>();
        if (!stamp
            || (kind == Kind::Compare
                && !m_listedContent.intact(
                    file.path, GridFiles::pairFile(*grid, file.row, 3 - file.file).path)))
            return false;
        m_pendingStamps.insert(file.path, *stamp);
        return true;
    };
    GridFiles::forEachSelectedFile(*grid, kind, [&](const GridFiles::ListedFile &file) {
        if (purpose == Gathering::RemoveOrMove && m_protected.covers(file.folder)) {
            AddLogEntry(file.path, QStringLiteral("【受保护，未处理】"));
        } else if (usable(file)) {
            m_pending.queue(file.path);
            AddLogEntry(file.path, Queued);
        } else {
            mark(*grid, FlexGrid::BlueColor);
            AddLogEntry(file.path, missing);
        }
    });
}

void FrmMain::checkSelectedFiles(const QString &failedText, const QString &doneText,
    const QString &doneFile1Text, bool bothNamesNeeded)
{
    FlexGrid *grid = activeGrid();
    if (!grid)
        return;
    const Kind kind = grid == MSHList ? Kind::Scan : Kind::Compare;
    // Per examined row: whether one of its files is still in place.
    QMap<int, bool> stays;
    GridFiles::forEachSelectedFile(*grid, kind, [&](const GridFiles::ListedFile &file) {
        if (bothNamesNeeded && kind == Kind::Compare
            && grid->TextMatrix(file.row, GridSchema::CompareColumn::Name2).isEmpty())
            return;
        // Never handed over, so neither done nor failed; its row stays.
        if (m_protected.covers(file.folder)) {
            stays[file.row] = true;
            return;
        }
        // Anything still under the name means the file did not go: a folder
        // put in its place is no file, but it was not taken either.
        const bool present = FileSystem::exists(file.path);
        if (present) {
            mark(*grid, FlexGrid::RedColor);
            AddLogEntry(file.path, failedText);
        } else {
            AddLogEntry(
                file.path, kind == Kind::Compare && file.file == 1 ? doneFile1Text : doneText);
        }
        stays[file.row] = stays.value(file.row) || present;
    });
    // A row goes once every file it was selected for is gone. A row with no
    // file examined stays, whatever else of it is highlighted: its files are
    // where they were.
    QList<int> gone;
    for (auto it = stays.cbegin(); it != stays.cend(); ++it) {
        if (!it.value())
            gone.append(it.key());
    }
    removeRows(*grid, gone);
}

// Whether a file counts as done is judged by looking for it afterwards, not
// by the file operation's answer: the user may have declined some files.
void FrmMain::DeleteFile_Click()
{
    SelFileList(Gathering::RemoveOrMove);
    if (!m_pending.isEmpty()) {
        ModEditFile::Handled handled;
        ModEditFile::RecycleFileList(
            m_dialogs, m_pending.pendingPaths(), m_pendingStamps, &handled);
        recordRemoval(handled);
    }
    checkSelectedFiles(QStringLiteral("【删除失败】标示为红色字体"),
        QStringLiteral("【文件删除成功】"), QStringLiteral("  【文件删除成功】"), false);
}

void FrmMain::MoveFileTo_Click()
{
    const QString folder = chooseFolder();
    if (folder.isEmpty())
        return;
    targetFolder = folder;
    SelFileList(Gathering::RemoveOrMove);
    if (!m_pending.isEmpty()) {
        ModEditFile::Handled handled;
        ModEditFile::MoveFileList(
            m_dialogs, m_pending.pendingPaths(), targetFolder, m_pendingStamps, &handled);
        recordRemoval(handled);
    }
    const QString moved = QStringLiteral("【移动成功】");
    checkSelectedFiles(QStringLiteral("【移动失败】标示为红色字体"), moved, moved, true);
}

void FrmMain::SendFileTo_Click()
{
    const QString folder = chooseFolder();
    if (folder.isEmpty())
        return;
    targetFolder = folder;
    SelFileList();
    const bool sent = !m_pending.isEmpty()
        && ModEditFile::CopyFileList(m_dialogs, m_pending.pendingPaths(), targetFolder) == 1;
    const QStringList ok {QString::fromUtf8(Dialogs::Ok)};
    if (sent)
        m_dialogs.ask({QStringLiteral("发送成功"), QStringLiteral("文件发送成功！"),
            Dialogs::Icon::Information, ok, {}, true, 0});
    else
        m_dialogs.ask({QStringLiteral("发送失败"), QStringLiteral("文件发送失败！"),
            Dialogs::Icon::Critical, ok, {}, true, 0});
}

void FrmMain::CopyFileTo_Click()
{
    SelFileList();
    if (m_pending.isEmpty())
        return;
    const QStringList paths = m_pending.paths();
    if (ModToClipboard::PutFilesOnClipboard(m_desktop, paths))
        m_dialogs.ask({QStringLiteral("复制成功"),
            QStringLiteral("共复制了 %1 个文件到剪贴板！").arg(paths.size()),
            Dialogs::Icon::Information, {QString::fromUtf8(Dialogs::Ok)}, {}, true, 0});
    else
        m_dialogs.error(QStringLiteral("复制文件失败！"));
}

void FrmMain::MoveFromList_Click()
{
    FlexGrid *grid = activeGrid();
    if (!grid)
        return;
    // An empty current cell removes nothing, but the rows are renumbered.
    const QList<int> rows = grid->Text().isEmpty()
        ? QList<int>()
        : GridFiles::selectedRows(*grid, grid == MSHList ? Kind::Scan : Kind::Compare);
    removeRows(*grid, rows);
}

void FrmMain::removeRows(FlexGrid &grid, const QList<int> &rows)
{
    const bool scan = &grid == MSHList;
    GridFiles::removeRows(grid, scan ? Kind::Scan : Kind::Compare, rows, m_catalogue,
        [&] { InitGrid(scan ? Grids::Scan : Grids::Compare); });
}

void FrmMain::ClearList_Click()
{
    FlexGrid *grid = activeGrid();
    if (grid == MSHList) {
        InitGrid(Grids::Scan);
        m_catalogue.clear();
    } else if (grid == MSH1) {
        InitGrid(Grids::Compare);
    }
}
