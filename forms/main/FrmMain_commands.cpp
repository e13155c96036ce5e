// The context menu's commands on the selected files: gather, delete, move,
// send to, copy to the clipboard, remove from the list and clear it.
#include "forms/main/FrmMain.h"

#include "core/GridSchema.h"
#include "core/ProcessLog.h"
#include "modules/GridFiles.h"
#include "modules/ModEditFile.h"
#include "modules/ModToClipboard.h"
#include "modules/SelectedFiles.h"
#include "platform/desktop/DesktopShell.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileSystem.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"

namespace {

using GridFiles::Kind;

const QString Queued = QStringLiteral("【文件加入待处理序列】");

// Adds a cell to the marks a command makes at its end; cells come a row at
// a time, as the selection is read.
void addMark(std::vector<RowCells> &marks, int row, int col)
{
    if (marks.empty() || marks.back().row != row)
        marks.push_back({row, 0});
    marks.back().cols |= 1u << col;
}

} // namespace

FlexGrid *FrmMain::activeGrid() const
{
    QWidget *focus = focusWidget();
    if (focus == MSHList || focus == MSH1)
        return static_cast<FlexGrid *>(focus);
    return nullptr;
}

bool FrmMain::SelFileList(Gathering purpose)
{
    m_pending.clearPaths();
    m_pendingStamps.clear();
    m_protected.recheck();
    FlexGrid *grid = activeGrid();
    if (!grid)
        return true;
    const Kind kind = grid == MSHList ? Kind::Scan : Kind::Compare;
    const SelectedFiles selected(*grid, kind);
    // A removal logs every cell twice: once here, once when it looks back.
    if (!roomToLog(selected.cellCount() * (purpose == Gathering::Copy ? 1 : 2)))
        return false;
    // The compare grid's missing-file text has no full stop.
    const QString missing = kind == Kind::Scan ? QStringLiteral("【文件不存在】标示为蓝色字体。")
                                               : QStringLiteral("【文件不存在】标示为蓝色字体");
    ProcessLog &log = ListView1->lines();
    const ProcessLog::TextId queuedText = log.resultId(Queued);
    const ProcessLog::TextId missingText = log.resultId(missing);
    const ProcessLog::TextId protectedText = log.resultId(QStringLiteral("【受保护，未处理】"));

    // Each file is judged once. It is removed or moved only while it is the
    // file its record says, as it was; a compare-grid file, too, only while
    // its twin in the row is as the content check saw it. Otherwise it
    // counts as missing. A copy takes whatever is there.
    enum class Verdict : quint8 { Protected, Usable, Missing };
    struct Judged
    {
        Verdict verdict = Verdict::Missing;
        bool contentIntact = true;
        ProcessLog::TextId item = 0;
        bool queued = false;
    };
    std::vector<Judged> judged(static_cast<size_t>(selected.files().size()));
    for (qsizetype i = 0; i < selected.files().size(); ++i) {
        const SelectedFiles::File &file = selected.files().at(i);
        const GridFiles::ListedFile &listed = file.listed;
        Judged &j = judged[static_cast<size_t>(i)];
        if (kind == Kind::Compare && purpose == Gathering::RemoveOrMove)
            j.contentIntact = m_listedContent.intact(listed.path, listed.path);
        if (!file.selected)
            continue;
        j.item = log.itemId(listed.path);
        if (purpose == Gathering::RemoveOrMove && m_protected.covers(listed.folder)) {
            j.verdict = Verdict::Protected;
        } else if (purpose == Gathering::Copy) {
            j.verdict
                = ModEditFile::IsFilePresent(listed.path) ? Verdict::Usable : Verdict::Missing;
        } else {
            const FileRecord *record
                = GridFiles::recordOf(*grid, kind, listed, m_catalogue, m_compared);
            const std::optional<FileStamp> stamp
                = record ? record->unchangedStamp() : std::optional<FileStamp>();
            if (stamp) {
                j.verdict = Verdict::Usable;
                m_pendingStamps.insert(listed.path, *stamp);
            }
        }
    }
    std::vector<RowCells> marks;
    selected.forEachCell([&](const SelectedFiles::Row &row, int col, int file) {
        Judged &j = judged[static_cast<size_t>(file)];
        const int twin = kind == Kind::Compare ? row.files[0] + row.files[1] - file : file;
        if (j.verdict == Verdict::Protected) {
            log.append(j.item, protectedText);
        } else if (j.verdict == Verdict::Usable && j.contentIntact
            && judged[static_cast<size_t>(twin)].contentIntact) {
            if (!std::exchange(j.queued, true))
                m_pending.queue(selected.files().at(file).listed.path);
            log.append(j.item, queuedText);
        } else {
            addMark(marks, row.row, col);
            log.append(j.item, missingText);
        }
    });
    grid->markCells(marks, FlexGrid::BlueColor);
    ListView1->linesAdded();
    return true;
}

bool FrmMain::roomToLog(qsizetype lines)
{
    if (ProcessLog::fits(lines, m_desktop.availableMemory()))
        return true;
    m_dialogs.error(QStringLiteral(
        "内存不足：所选的 %1 个单元格无法全部处理和记录，命令已停止，没有处理任何文件。")
                        .arg(lines));
    return false;
}

void FrmMain::checkSelectedFiles(const QString &failedText, const QString &doneText,
    const QString &doneFile1Text, bool bothNamesNeeded)
{
    FlexGrid *grid = activeGrid();
    if (!grid)
        return;
    const Kind kind = grid == MSHList ? Kind::Scan : Kind::Compare;
    const SelectedFiles selected(*grid, kind);
    ProcessLog &log = ListView1->lines();
    const ProcessLog::TextId failed = log.resultId(failedText);
    const ProcessLog::TextId done = log.resultId(doneText);
    const ProcessLog::TextId doneFile1 = log.resultId(doneFile1Text);
    // Per file: never handed over (protected), or still in place. Anything
    // still under the name means the file did not go: a folder put in its
    // place is no file, but it was not taken either.
    struct Looked
    {
        bool kept = false;
        bool present = false;
        ProcessLog::TextId item = 0;
    };
    std::vector<Looked> looked(static_cast<size_t>(selected.files().size()));
    for (qsizetype i = 0; i < selected.files().size(); ++i) {
        const SelectedFiles::File &file = selected.files().at(i);
        if (!file.selected)
            continue;
        Looked &l = looked[static_cast<size_t>(i)];
        l.item = log.itemId(file.listed.path);
        l.kept = m_protected.covers(file.listed.folder);
        l.present = !l.kept && FileSystem::exists(file.listed.path);
    }
    // Per row: whether its files are examined at all, and whether one of
    // them is still in place.
    std::vector<char> examined(selected.rows().size(), 1);
    if (bothNamesNeeded && kind == Kind::Compare) {
        for (size_t i = 0; i < examined.size(); ++i)
            examined[i]
                = !grid->TextMatrix(selected.rows()[i].row, GridSchema::CompareColumn::Name2)
                       .isEmpty();
    }
    std::vector<char> stays(selected.rows().size(), 0);
    std::vector<RowCells> marks;
    const SelectedFiles::Row *first = selected.rows().data();
    selected.forEachCell([&](const SelectedFiles::Row &row, int col, int file) {
        const auto at = static_cast<size_t>(&row - first);
        if (!examined[at])
            return;
        const Looked &l = looked[static_cast<size_t>(file)];
        if (l.kept) {
            stays[at] = 1;
        } else if (l.present) {
            addMark(marks, row.row, col);
            log.append(l.item, failed);
            stays[at] = 1;
        } else {
            const bool file1 = kind == Kind::Compare && GridSchema::fileOfCompareColumn(col) == 1;
            log.append(l.item, file1 ? doneFile1 : done);
        }
    });
    grid->markCells(marks, FlexGrid::RedColor);
    ListView1->linesAdded();
    // A row goes once every file it was selected for is gone. A row with no
    // file examined stays, whatever else of it is highlighted: its files are
    // where they were.
    QList<int> gone;
    for (size_t i = selected.rows().size(); i-- > 0;) {
        if (examined[i] && !stays[i])
            gone.append(selected.rows()[i].row);
    }
    removeRows(*grid, gone);
}

// Whether a file counts as done is judged by looking for it afterwards, not
// by the file operation's answer: the user may have declined some files.
void FrmMain::DeleteFile_Click()
{
    if (!SelFileList(Gathering::RemoveOrMove))
        return;
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
    if (!SelFileList(Gathering::RemoveOrMove))
        return;
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
    if (!SelFileList())
        return;
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
    if (!SelFileList() || m_pending.isEmpty())
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
