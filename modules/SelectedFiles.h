#pragma once

#include "modules/GridFiles.h"
#include "platform/grid/RowCells.h"

#include <QHash>
#include <QList>

#include <functional>
#include <vector>

class FlexGrid;

// The user's highlighted set of a result grid, read once: each distinct
// file it names, and per row the highlighted cells that stand for a file.
// The cells are those of GridFiles::forEachHighlightedCell that stand for a
// file, in its order (so file 2 of a compare row comes before file 1): a
// scan-grid cell when its row has a name, a compare-grid cell when it is in
// columns 2 to 13 of a row with a file-1 name. Reading moves no current
// cell and takes no highlight. What the commands on the selection find out
// about a file (is it there, is it protected) they find out once per file,
// however many cells show it, and then log and mark per cell.
class SelectedFiles
{
public:
    struct Row
    {
        int row = 0;
        // Of files(): file 1 and file 2 of a compare row (both, whether
        // selected or not, since a file is judged with its twin); the scan
        // grid's file is file 1, file 2 is -1.
        int files[2] = {-1, -1};
        quint32 cols = 0; // the cells visited, as RowCells
    };
    struct File
    {
        GridFiles::ListedFile listed; // row and file: where it was first met
        bool selected = false; // some cell of it is highlighted
    };

    SelectedFiles(const FlexGrid &grid, GridFiles::Kind kind);

    // In the order first met; a compare row's twins after its selected file.
    const QList<File> &files() const { return m_files; }
    // Bottom row first, each row once.
    const std::vector<Row> &rows() const { return m_rows; }
    qsizetype cellCount() const { return m_cells; }
    // Every visited cell in walk order (a row right to left), with the index
    // in files() of the file it stands for.
    void forEachCell(const std::function<void(const Row &, int col, int file)> &visit) const;

private:
    int fileOf(const FlexGrid &grid, int row, int file);

    GridFiles::Kind m_kind;
    QList<File> m_files;
    QHash<quint64, int> m_fileOfKey; // folder and name text keys -> file
    std::vector<Row> m_rows;
    qsizetype m_cells = 0;
};
