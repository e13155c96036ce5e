#pragma once

#include <QString>

// Every figure the program shows with two decimals (the scan totals, the
// batch totals): the double's exact value rounded half away from zero
// (0.125 gives "0.13"), a leading zero below 1, a minus sign for negative
// values, no digit grouping, the locale's decimal mark.
QString twoDecimals(double value);
