#include "core/FileCatalogue.h"

int FileCatalogue::indexOf(const QString &name, const QString &folder) const
{
    for (qsizetype i = 0; i < m_records.size(); ++i) {
        if (m_records.at(i).isFile(name, folder))
            return int(i);
    }
    return -1;
}

QList<int> FileCatalogue::removeAt(const QList<int> &indexes)
{
    const int n = count();
    QList<int> renumbered(n, 0);
    for (const int index : indexes) {
        if (index >= 0 && index < n)
            renumbered[index] = -1;
    }
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (renumbered.at(i) >= 0)
            renumbered[i] = kept++;
    }
    if (kept == n)
        return renumbered;
    qsizetype to = 0;
    for (int i = 0; i < n; ++i) {
        if (renumbered.at(i) < 0)
            continue;
        if (to != i)
            m_records[to] = std::move(m_records[i]);
        ++to;
    }
    m_records.resize(to);
    return renumbered;
}

bool FileCatalogue::rename(const QString &name, const QString &folder, const QString &newName,
    const std::optional<FileStamp> &before)
{
    const int index = indexOf(name, folder);
    if (index < 0 || (newName != name && indexOf(newName, folder) >= 0))
        return false;
    m_records[index].rename(newName, before);
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
