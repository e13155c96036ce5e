#include "core/ComparedPairs.h"

const FileRecord *ComparedPairs::record(qint32 pair, int file) const
{
    if (pair < 0 || pair >= pairs.size() || (file != 1 && file != 2))
        return nullptr;
    const qint32 k = file == 1 ? pairs.at(pair).first : pairs.at(pair).second;
    return k >= 0 && k < records.size() ? &records.at(k) : nullptr;
}

void ComparedPairs::rename(const QString &name, const QString &folder, const QString &newName,
    const std::optional<FileStamp> &before)
{
    // A compare took each path from one record.
    for (FileRecord &record : records) {
        if (record.isFile(name, folder)) {
            record.rename(newName, before);
            return;
        }
    }
}
