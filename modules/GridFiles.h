#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct ComparedPairs;
class FileCatalogue;
struct FileRecord;
class FlexGrid;

// The files behind the cells of the two result grids, in one place: which
// file a cell stands for and which record its row's data names, the walk
// over the user's highlighted cells that the commands on several files read,
// and the removal of rows with their records.
namespace GridFiles {

enum class Kind { Scan, Compare };

struct ListedFile
{
    QString name; // the name cell
    QString folder; // the folder cell, ending in the separator
    QString path; // folder and name joined as text
    int row = 0;
    int file = 1; // 1 or 2: which file of a compare row; 1 in the scan grid
};

// The file a cell stands for: in the scan grid any cell of a row whose name
// cell isn't empty; in the compare grid the cells of columns 2 to 13 (even
// columns file 1, odd ones file 2) of a row whose two name cells aren't
// empty. No file for the other cells.
std::optional<ListedFile> fileAt(const FlexGrid &grid, Kind kind, int row, int col);

// The file a rename acts on: in the scan grid the row's file when the cell
// isn't empty; in the compare grid the file of a name cell that isn't empty.
// No file for the other cells.
std::optional<ListedFile> namedFileAt(const FlexGrid &grid, Kind kind, int row, int col);

// Writes the new name into every name cell that shows the file of that
// folder and old name.
void renameFile(FlexGrid &grid, Kind kind, const QString &folder, const QString &oldName,
    const QString &newName);

// File 1 or 2 of a compare row, whatever its cells hold.
ListedFile pairFile(const FlexGrid &grid, int row, int file);

// The record a listed file stands for, read from its row's data: in the
// scan grid the catalogue's record, in the compare grid file 1 or 2 of the
// compared pair. Null when the row stands for none.
const FileRecord *recordOf(const FlexGrid &grid, Kind kind, const ListedFile &file,
    const FileCatalogue &catalogue, const ComparedPairs &compared);

// Drops these distinct data rows and, from the scan list, their records,
// keeping every other row's record index right; then renumbers the rows
// left. A list that loses every row is reset instead (and the scan list's
// catalogue emptied).
void removeRows(FlexGrid &grid, Kind kind, const QList<int> &rows, FileCatalogue &catalogue,
    const std::function<void()> &resetGrid);

// The one reading of the user's highlighted set: visits the highlighted
// cells bottom row first and, in a row, right to left. The scan grid is
// read in the current column as the walk starts, one cell a row; in the
// compare grid every highlighted cell but the number column's counts by
// itself. A cell's highlight is read when the walk reaches it, so visit may
// take away the highlights of cells it has been given.
void forEachHighlightedCell(
    const FlexGrid &grid, Kind kind, const std::function<void(int row, int col)> &visit);

// The rows a removal from the list takes, bottom first, each once: the rows
// with a highlighted cell in the sense of forEachHighlightedCell, whether or
// not they name a file.
QList<int> selectedRows(const FlexGrid &grid, Kind kind);

} // namespace GridFiles
