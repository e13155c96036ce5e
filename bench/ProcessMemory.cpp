#include "ProcessMemory.h"

#include <QFile>

namespace {

qint64 statusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

} // namespace

namespace ProcessMemory {

qint64 resident()
{
    return statusBytes("VmRSS");
}

qint64 peakResident()
{
    return statusBytes("VmHWM");
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace ProcessMemory
