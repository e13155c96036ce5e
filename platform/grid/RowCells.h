#pragma once

#include <QtGlobal>

// Some cells of one grid row: bit c of cols stands for column c.
struct RowCells
{
    int row = 0;
    quint32 cols = 0;
};
