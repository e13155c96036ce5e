#include "core/LosingFiles.h"

#include "core/PendingList.h"

QList<int> queueLosingFiles(int rule, const QList<ListedPair> &pairs, PendingList &list,
    const std::function<bool(const ListedPair &pair, int file)> &mayGo)
{
    list.clear();
    QList<int> missing;
    for (const ListedPair &pair : pairs) {
        const std::optional<KeepRule::Kept> kept = KeepRule::decide(rule, pair.file1, pair.file2);
        if (!kept)
            continue;
        const bool loserIsFile2 = *kept == KeepRule::Kept::File1;
        if (!mayGo(pair, loserIsFile2 ? 2 : 1)) {
            missing.append(pair.row);
            continue;
        }
        list.queueCounted(loserIsFile2 ? pair.path2 : pair.path1,
            loserIsFile2 ? pair.file2.size : pair.file1.size);
    }
    return missing;
}
