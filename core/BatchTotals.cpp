#include "core/BatchTotals.h"

#include "core/TwoDecimals.h"

QString batchTotalsText(const QString &prefix, int files, double bytes)
{
    return prefix + QString::number(files) + QStringLiteral(" 个   合计：") + batchSizeText(bytes);
}

QString batchSizeText(double bytes)
{
    return twoDecimals(bytes / 1024) + QStringLiteral(" KIB(") + twoDecimals(bytes / 1024 / 1024)
        + QStringLiteral(" MB)(") + twoDecimals(bytes / 1024 / 1024 / 1024) + QStringLiteral(" G)");
}
