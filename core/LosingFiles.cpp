#include "core/LosingFiles.h"

#include "core/PendingList.h"

QList<int> queueLosingFiles(int rule, const QList<ListedPair> &pairs, PendingList &list,
    const std::function<bool(const QString &path, const QString &twin)> &mayGo)
{
    list.clear();
    QList<int> missing;
    for (const ListedPair &pair : pairs) {
        const std::optional<KeepRule::Kept> kept = KeepRule::decide(rule, pair.file1, pair.file2);
        if (!kept)
            continue;
        const bool loserIsFile2 = *kept == KeepRule::Kept::File1;
        const QString &path = loserIsFile2 ? pair.path2 : pair.path1;
        const QString &twin = loserIsFile2 ? pair.path1 : pair.path2;
        if (!mayGo(path, twin)) {
            missing.append(pair.row);
            continue;
        }
        list.queueCounted(path, loserIsFile2 ? pair.file2.size : pair.file1.size);
    }
    return missing;
}
