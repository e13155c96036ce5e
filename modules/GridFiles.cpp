#include "modules/GridFiles.h"

#include "core/ComparedPairs.h"
#include "core/FileCatalogue.h"
#include "core/GridSchema.h"
#include "platform/grid/FlexGrid.h"

namespace GridFiles {

namespace {

using namespace GridSchema;

ListedFile listed(const FlexGrid &grid, int row, int nameCol, int folderCol, int file)
{
    ListedFile f;
    f.name = grid.TextMatrix(row, nameCol);
    f.folder = grid.TextMatrix(row, folderCol);
    f.path = fullPath(f.folder, f.name);
    f.row = row;
    f.file = file;
    return f;
}

} // namespace

ListedFile pairFile(const FlexGrid &grid, int row, int file)
{
    return listed(grid, row, compareColumn(FileRecord::Name, file),
        compareColumn(FileRecord::Folder, file), file);
}

std::optional<ListedFile> fileAt(const FlexGrid &grid, Kind kind, int row, int col)
{
    if (row < 1 || row >= grid.Rows() || col < 0 || col >= grid.Cols())
        return std::nullopt;
    if (kind == Kind::Scan) {
        if (grid.TextMatrix(row, ScanColumn::Name).isEmpty())
            return std::nullopt;
        return listed(grid, row, ScanColumn::Name, ScanColumn::Folder, 1);
    }
    const int file = fileOfCompareColumn(col);
    if (file == 0 || grid.TextMatrix(row, CompareColumn::Name1).isEmpty()
        || grid.TextMatrix(row, CompareColumn::Name2).isEmpty())
        return std::nullopt;
    return pairFile(grid, row, file);
}

std::optional<ListedFile> namedFileAt(const FlexGrid &grid, Kind kind, int row, int col)
{
    if (row < 1 || row >= grid.Rows() || col < 0 || col >= grid.Cols()
        || grid.TextMatrix(row, col).isEmpty())
        return std::nullopt;
    if (kind == Kind::Scan)
        return fileAt(grid, kind, row, col);
    if (col != CompareColumn::Name1 && col != CompareColumn::Name2)
        return std::nullopt;
    return pairFile(grid, row, fileOfCompareColumn(col));
}

void renameFile(FlexGrid &grid, Kind kind, const QString &folder, const QString &oldName,
    const QString &newName)
{
    const auto rename = [&](int row, int nameCol, int folderCol) {
        if (grid.TextMatrix(row, nameCol) == oldName && grid.TextMatrix(row, folderCol) == folder)
            grid.setTextMatrix(row, nameCol, newName);
    };
    for (int row = 1; row < grid.Rows(); ++row) {
        if (kind == Kind::Scan) {
            rename(row, ScanColumn::Name, ScanColumn::Folder);
            continue;
        }
        for (const int file : {1, 2})
            rename(row, compareColumn(FileRecord::Name, file),
                compareColumn(FileRecord::Folder, file));
    }
}

const FileRecord *recordOf(const FlexGrid &grid, Kind kind, const ListedFile &file,
    const FileCatalogue &catalogue, const ComparedPairs &compared)
{
    const qint32 data = grid.RowData(file.row);
    if (kind == Kind::Compare)
        return compared.record(data, file.file);
    return data >= 0 && data < catalogue.count() ? &catalogue.at(data) : nullptr;
}

void removeRows(FlexGrid &grid, Kind kind, const QList<int> &rows, FileCatalogue &catalogue,
    const std::function<void()> &resetGrid)
{
    const bool scan = kind == Kind::Scan;
    if (!rows.isEmpty() && rows.size() == grid.Rows() - 1) {
        resetGrid();
        if (scan)
            catalogue.clear();
    } else if (!rows.isEmpty()) {
        if (scan) {
            QList<int> records;
            records.reserve(rows.size());
            for (const int row : rows)
                records.append(grid.RowData(row));
            // The records after a removed one move up: so do their rows'
            // indexes, whatever order a sort left the rows in.
            const QList<int> renumbered = catalogue.removeAt(records);
            for (int row = 1; row < grid.Rows(); ++row) {
                const qint32 record = grid.RowData(row);
                if (record >= 0 && record < renumbered.size())
                    grid.setRowData(row, renumbered.at(record));
            }
        }
        grid.RemoveItems(rows);
    }
    // The placeholder row of an empty list keeps its empty number cell.
    const int filled = scan ? int(ScanColumn::Name) : int(CompareColumn::Similarity);
    if (!grid.TextMatrix(1, filled).isEmpty())
        grid.renumberRows();
}

void forEachHighlightedCell(
    const FlexGrid &grid, Kind kind, const std::function<void(int row, int col)> &visit)
{
    const int rows = grid.Rows();
    if (kind == Kind::Scan) {
        const int col = grid.Col();
        for (int row = rows - 1; row >= 1; --row) {
            if (grid.hasBackColour(row) && grid.isHighlighted(row, col))
                visit(row, col);
        }
        return;
    }
    const int cols = grid.Cols();
    for (int row = rows - 1; row >= 1; --row) {
        if (!grid.hasBackColour(row))
            continue;
        for (int col = cols - 1; col >= 1; --col) {
            if (grid.isHighlighted(row, col))
                visit(row, col);
        }
    }
}

QList<int> selectedRows(const FlexGrid &grid, Kind kind)
{
    QList<int> rows;
    forEachHighlightedCell(grid, kind, [&](int row, int) {
        if (rows.isEmpty() || rows.last() != row)
            rows.append(row);
    });
    return rows;
}

} // namespace GridFiles
