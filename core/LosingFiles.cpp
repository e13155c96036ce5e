#include "core/LosingFiles.h"

#include "core/PendingList.h"

int losingFile(int rule, const KeepFacts &file1, const KeepFacts &file2)
{
    const std::optional<KeepRule::Kept> kept = KeepRule::decide(rule, file1, file2);
    if (!kept)
        return 0;
    const int loser = *kept == KeepRule::Kept::File1 ? 2 : 1;
    if (!(loser == 1 ? file1 : file2).isProtected)
        return loser;
    return (loser == 1 ? file2 : file1).isProtected ? 0 : 3 - loser;
}

QList<int> queueLosingFiles(int rule, const QList<ListedPair> &pairs, PendingList &list,
    const std::function<bool(const ListedPair &pair, int file)> &mayGo)
{
    list.clear();
    QList<int> missing;
    for (const ListedPair &pair : pairs) {
        const int loser = losingFile(rule, pair.file1, pair.file2);
        if (loser == 0)
            continue;
        if (!mayGo(pair, loser)) {
            missing.append(pair.row);
            continue;
        }
        list.queueCounted(
            loser == 2 ? pair.path2 : pair.path1, loser == 2 ? pair.file2.size : pair.file1.size);
    }
    return missing;
}
