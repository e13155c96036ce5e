#include "modules/SelectedFiles.h"

#include "core/GridSchema.h"
#include "platform/grid/FlexGrid.h"

using namespace GridSchema;

SelectedFiles::SelectedFiles(const FlexGrid &grid, GridFiles::Kind kind)
    : m_kind(kind)
{
    const bool scan = kind == GridFiles::Kind::Scan;
    const int nameCol = scan ? int(ScanColumn::Name) : int(CompareColumn::Name1);
    int seenRow = -1;
    bool named = false;
    GridFiles::forEachHighlightedCell(grid, kind, [&](int row, int col) {
        // The row's name is read once, however many of its cells are visited.
        if (row != seenRow) {
            seenRow = row;
            named = !grid.TextMatrix(row, nameCol).isEmpty();
        }
        const int file = scan ? 1 : fileOfCompareColumn(col);
        if (file == 0 || !named)
            return;
        if (m_rows.empty() || m_rows.back().row != row) {
            Row entry;
            entry.row = row;
            m_rows.push_back(entry);
        }
        Row &entry = m_rows.back();
        if (entry.files[file - 1] < 0)
            entry.files[file - 1] = fileOf(grid, row, file);
        if (!scan && entry.files[2 - file] < 0)
            entry.files[2 - file] = fileOf(grid, row, 3 - file);
        m_files[entry.files[file - 1]].selected = true;
        entry.cols |= 1u << col;
        ++m_cells;
    });
}

int SelectedFiles::fileOf(const FlexGrid &grid, int row, int file)
{
    const bool scan = m_kind == GridFiles::Kind::Scan;
    const int nameCol = scan ? int(ScanColumn::Name) : compareColumn(FileRecord::Name, file);
    const int folderCol = scan ? int(ScanColumn::Folder) : compareColumn(FileRecord::Folder, file);
    const quint64 key = quint64(grid.textKey(row, folderCol)) << 32 | grid.textKey(row, nameCol);
    const auto known = m_fileOfKey.constFind(key);
    if (known != m_fileOfKey.cend())
        return *known;
    File entry;
    entry.listed = scan ? *GridFiles::fileAt(grid, m_kind, row, nameCol)
                        : GridFiles::pairFile(grid, row, file);
    m_files.append(entry);
    const auto index = static_cast<int>(m_files.size()) - 1;
    m_fileOfKey.insert(key, index);
    return index;
}

void SelectedFiles::forEachCell(
    const std::function<void(const Row &, int col, int file)> &visit) const
{
    const bool scan = m_kind == GridFiles::Kind::Scan;
    for (const Row &entry : m_rows) {
        for (int col = 31; col >= 0; --col) {
            if (((entry.cols >> col) & 1) == 0)
                continue;
            visit(entry, col, entry.files[scan ? 0 : fileOfCompareColumn(col) - 1]);
        }
    }
}
