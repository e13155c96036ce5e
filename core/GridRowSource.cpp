#include "core/GridRowSource.h"

#include <vector>

QStringList GridRowSource::texts(qsizetype row) const
{
    std::vector<Cell> rowCells(static_cast<size_t>(columnCount()));
    cells(row, rowCells.data());
    QStringList out;
    out.reserve(columnCount());
    for (const Cell &cell : rowCells) {
        switch (cell.kind) {
        case Cell::Empty:
            out.append(QString());
            break;
        case Cell::Number:
            out.append(QString::number(cell.value));
            break;
        case Cell::Shared:
            out.append(sharedText(cell.value));
            break;
        }
    }
    return out;
}
