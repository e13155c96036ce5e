#include "core/FileCatalogue.h"

bool FileCatalogue::remove(const QString &name, const QString &folder)
{
    for (qsizetype i = 0; i < m_records.size(); ++i) {
        if (m_records.at(i).isFile(name, folder)) {
            m_records.removeAt(i);
            return true;
        }
    }
    return false;
}
