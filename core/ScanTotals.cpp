#include "core/ScanTotals.h"

#include "core/TwoDecimals.h"

QString scanTotalsText(int files, int folders, qint64 totalBytes)
{
    const double bytes = static_cast<double>(totalBytes);
    const QString count = QStringLiteral(" 个   ");
    return QStringLiteral("共搜索到文件：") + QString::number(files) + count
        + QStringLiteral("扫描目录：") + QString::number(folders) + count
        + QStringLiteral("文件大小合计：") + twoDecimals(bytes / 1024 / 1024)
        + QStringLiteral(" MB (") + twoDecimals(bytes / 1024) + QStringLiteral(" KIB) (")
        + twoDecimals(bytes / 1024 / 1024 / 1024) + QStringLiteral(" G)");
}

QString scanProgressText(int files, int folders)
{
    return QStringLiteral("正在扫描：%1 个文件   扫描目录：%2 个").arg(files).arg(folders);
}
