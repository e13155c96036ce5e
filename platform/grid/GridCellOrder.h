#pragma once

#include <QString>

// The order of the grid's generic sort. A cell reads as a number when its
// whole text is a plain decimal number: an optional "-", one or more digits,
// and optionally "." followed by one or more digits (no blanks, signs "+",
// grouping or exponents). Numbers compare by value and come before every
// other text; other texts compare by their UTF-16 code units, so the empty
// text is the smallest of them.
namespace GridCellOrder {

struct Key
{
    bool number = false;
    double value = 0;
    QString text; // other texts only
};

bool readsAsNumber(QStringView text, double *value);
Key keyOf(const QString &text);
// Negative, zero or positive like a three-way comparison.
int compare(const Key &a, const Key &b);

} // namespace GridCellOrder
