// The context menu's commands on the file of the current cell: open it,
// show it in its folder, show its properties, rename it, and protect its
// folder or take the protection away.
#include "forms/main/FrmMain.h"

#include "core/GridSchema.h"
#include "modules/ModEditFile.h"
#include "modules/ModOpenAndSetFocus.h"
#include "modules/ModShowProperties.h"
#include "platform/desktop/Dialogs.h"
#include "platform/grid/FlexGrid.h"

using GridFiles::Kind;

namespace {

// A compare row names its files until the next compare, even those no
// longer in the scan list.
bool comparesFile(const FlexGrid &grid, const QString &folder, const QString &name)
{
    for (int row = 1; row < grid.Rows(); ++row) {
        for (const int side : {1, 2}) {
            const GridFiles::ListedFile listed = GridFiles::pairFile(grid, row, side);
            if (listed.name == name && listed.folder == folder)
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<GridFiles::ListedFile> FrmMain::currentFile() const
{
    FlexGrid *grid = activeGrid();
    if (!grid)
        return std::nullopt;
    return GridFiles::fileAt(
        *grid, grid == MSHList ? Kind::Scan : Kind::Compare, grid->Row(), grid->Col());
}

void FrmMain::Open_Click()
{
    const auto file = currentFile();
    if (file && !ModOpenAndSetFocus::OpenFile(m_desktop, file->path))
        m_dialogs.error(QStringLiteral("打开文件失败，请检查文件是否正常..."));
}

void FrmMain::OpenShowFolder_Click()
{
    const auto file = currentFile();
    if (!file || !ModOpenAndSetFocus::RevealInFolder(m_desktop, file->path, m_inputTime.latest()))
        m_dialogs.error(QStringLiteral("打开文件位置失败，请检查文件是否正常..."));
}

void FrmMain::FileOption_Click()
{
    const auto file = currentFile();
    if (!file
        || !ModShowProperties::ShowFileProperties(
            m_desktop, file->path, this, m_inputTime.latest()))
        m_dialogs.error(QStringLiteral("查看属性失败，请检查文件是否正常..."));
}

// Every list shows the new name afterwards, and the record takes it too, so
// that later commands and the next compare find the file.
void FrmMain::FileReName_Click()
{
    FlexGrid *grid = activeGrid();
    if (!grid)
        return;
    const auto file = GridFiles::namedFileAt(
        *grid, grid == MSHList ? Kind::Scan : Kind::Compare, grid->Row(), grid->Col());
    if (!file)
        return;
    const auto renamed
        = ModEditFile::RenameFile(m_dialogs, file->folder, file->name, [&](const QString &name) {
              return m_catalogue.indexOf(name, file->folder) >= 0
                  || comparesFile(*MSH1, file->folder, name);
          });
    if (!renamed)
        return;
    const QString &newName = renamed->name;
    m_catalogue.rename(file->name, file->folder, newName, renamed->before);
    m_compared.rename(file->name, file->folder, newName, renamed->before);
    m_listedContent.renamed(
        file->path, GridSchema::fullPath(file->folder, newName), renamed->before);
    GridFiles::renameFile(*MSHList, Kind::Scan, file->folder, file->name, newName);
    GridFiles::renameFile(*MSH1, Kind::Compare, file->folder, file->name, newName);
}

void FrmMain::ProtectFolder_Click()
{
    const auto file = currentFile();
    if (file && m_protected.protect(file->folder))
        protectionChanged();
}

void FrmMain::UnprotectFolder_Click()
{
    const auto file = currentFile();
    if (file && m_protected.unprotect(file->folder))
        protectionChanged();
}
