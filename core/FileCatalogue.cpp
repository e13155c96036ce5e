#include "core/FileCatalogue.h"

int FileCatalogue::indexOf(const QString &name, const QString &folder) const
{
    for (qsizetype i = 0; i < m_records.size(); ++i) {
        if (m_records.at(i).isFile(name, folder))
            return int(i);
    }
    return -1;
}

int FileCatalogue::removeFiles(const QSet<QString> &paths)
{
    return int(m_records.removeIf(
        [&](const FileRecord &record) { return paths.contains(record.fullPath()); }));
}

bool FileCatalogue::rename(const QString &name, const QString &folder, const QString &newName,
    const std::optional<FileStamp> &before)
{
    const int index = indexOf(name, folder);
    if (index < 0 || (newName != name && indexOf(newName, folder) >= 0))
        return false;
    FileRecord &record = m_records[index];
    record.fields[FileRecord::Name] = newName;
    if (record.stamp)
        record.stamp = record.stamp->renamedTo(record.fullPath(), before);
    return true;
}

bool FileCatalogue::remove(const QString &name, const QString &folder)
{
    const int index = indexOf(name, folder);
    if (index < 0)
        return false;
    m_records.removeAt(index);
    return true;
}

QHash<QString, FileStamp> FileCatalogue::stamps() const
{
    QHash<QString, FileStamp> result;
    result.reserve(m_records.size());
    for (const FileRecord &record : m_records) {
        if (record.stamp)
            result.insert(record.fullPath(), *record.stamp);
    }
    return result;
}
