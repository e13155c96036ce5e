#include "core/FileRecord.h"

QString FileRecord::joined() const
{
    QStringList parts(fields.begin(), fields.end());
    return parts.join(QLatin1Char('*'));
}

std::optional<FileStamp> FileRecord::unchangedStamp() const
{
    if (!stamp)
        return std::nullopt;
    const std::optional<FileStamp> now = FileStamp::of(fullPath());
    return now == *stamp ? now : std::nullopt;
}

void FileRecord::rename(const QString &newName, const std::optional<FileStamp> &before)
{
    fields[Name] = newName;
    if (stamp)
        stamp = stamp->renamedTo(fullPath(), before);
}
