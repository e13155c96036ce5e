#include "core/FileRecord.h"

QString FileRecord::joined() const
{
    QStringList parts(fields.begin(), fields.end());
    return parts.join(QLatin1Char('*'));
}
