#pragma once

#include <QString>

// The status text after a batch delete or move: the prefix, the files the
// keep rule queued and their bytes in KiB, MB and GB (divided by 1024), each
// with two decimals.
QString batchTotalsText(const QString &prefix, int files, double bytes);

// The bytes as the totals show them: "1536.00 KIB(1.50 MB)(0.00 G)".
QString batchSizeText(double bytes);
