#pragma once

#include <QString>

// The order of the grid's generic sort. A cell reads as a number when its
// whole text is a plain decimal number: an optional "-", one or more digits,
// optionally "." followed by one or more digits, and optionally "%" (no
// blanks, signs "+", grouping or exponents); a percentage reads as its
// number, so that similarities order by value. Numbers compare by value and
// come before every other text; other texts compare by their UTF-16 code
// units, so the empty text is the smallest of them.
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
