#pragma once

#include <QString>
#include <QStringList>

// Rows for a grid, read one at a time, so that a long list is never built as
// texts first. A cell is empty, a whole number (the row numbers) or one of the
// source's shared texts; the grid asks for each shared text once, the first
// time a cell uses it, and every cell that uses it refers to that one copy.
class GridRowSource
{
public:
    struct Cell
    {
        enum Kind : quint8 { Empty, Number, Shared };
        Kind kind = Empty;
        quint32 value = 0; // the number, or the shared text's index
    };

    virtual ~GridRowSource() = default;

    virtual qsizetype rowCount() const = 0;
    virtual int columnCount() const = 0;
    // Fills cells[0 .. columnCount() - 1] for row (from 0).
    virtual void cells(qsizetype row, Cell *cells) const = 0;
    // What the row stands for (a record's or a pair's index), kept by the
    // grid as the row's data and moved with it; -1 for nothing.
    virtual qint32 rowData(qsizetype) const { return -1; }
    virtual qsizetype sharedTextCount() const = 0;
    virtual QString sharedText(qsizetype index) const = 0;

    // The row as the texts a grid shows.
    QStringList texts(qsizetype row) const;
};
