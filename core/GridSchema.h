#pragma once

#include "core/FileRecord.h"

#include <QString>

// The two result grids' columns in one place: their format texts, which
// record field and which file each column shows, and how a row's folder and
// name cells make a file's path. No other place numbers a column.
namespace GridSchema {

// The scan grid: the row number, then the record's fields in their order.
namespace ScanColumn {
enum : int { Number, Name, Folder, Size, Created, Modified, Accessed, Type, Count };
}

// The compare grid: the row number, the similarity, then every field of
// file 1 and file 2 side by side.
namespace CompareColumn {
enum : int {
    Number,
    Similarity,
    Name1,
    Name2,
    Folder1,
    Folder2,
    Size1,
    Size2,
    Created1,
    Created2,
    Modified1,
    Modified2,
    Accessed1,
    Accessed2,
    Type1,
    Type2,
    Count
};
}

// "<caption|>caption|…": captions (their spaces kept) and alignments.
QString scanFormat();
QString compareFormat();

constexpr int scanColumn(FileRecord::Field field)
{
    return int(ScanColumn::Name) + int(field);
}

// The compare-grid column of a field of file 1 or file 2.
constexpr int compareColumn(FileRecord::Field field, int file)
{
    return int(CompareColumn::Name1) + 2 * int(field) + (file - 1);
}

// Which file of its row a compare-grid column stands for in the file
// commands: 1, 2, or 0 for the number, similarity and type columns, which
// name no file.
constexpr int fileOfCompareColumn(int col)
{
    if (col < CompareColumn::Name1 || col > CompareColumn::Accessed2)
        return 0;
    return 1 + (col - CompareColumn::Name1) % 2;
}

// The path of a listed file: its folder cell, which ends in the separator,
// followed by its name cell, joined as plain text.
inline QString fullPath(const QString &folderCell, const QString &nameCell)
{
    return folderCell + nameCell;
}

} // namespace GridSchema
