#include "core/SameNameMatcher.h"

#include "core/CompareKey.h"
#include "core/NameSimilarity.h"
#include "core/PairSink.h"

#include <QHash>

#include <vector>

namespace SameNameMatcher {

void collect(const QList<FileRecord> &records, const CompareCriteria &criteria, PairSink &sink,
    const QStringList &contentTokens)
{
    const int count = static_cast<int>(records.size());
    // Members of each group in catalogue order, and each record's place in
    // its group, so that record k's partners are the members after it.
    QHash<QString, int> groupOf;
    std::vector<std::vector<int>> members;
    std::vector<int> group(static_cast<size_t>(count));
    std::vector<int> place(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const QString key
            = CompareKey(records.at(k), criteria, contentTokens.value(k)).normalized();
        auto it = groupOf.constFind(key);
        if (it == groupOf.cend()) {
            it = groupOf.insert(key, static_cast<int>(members.size()));
            members.emplace_back();
        }
        auto &list = members[static_cast<size_t>(*it)];
        group[static_cast<size_t>(k)] = *it;
        place[static_cast<size_t>(k)] = static_cast<int>(list.size());
        list.push_back(k);
    }
    for (int k = 0; k + 1 < count; ++k) {
        sink.reached(k);
        const auto &list = members[static_cast<size_t>(group[static_cast<size_t>(k)])];
        for (size_t q = static_cast<size_t>(place[static_cast<size_t>(k)]) + 1; q < list.size();
             ++q) {
            if (records.at(k).isSameFile(records.at(list[q])))
                continue;
            if (!sink.add({k, list[q], static_cast<qint32>(NameSimilarity::Whole)}))
                return;
        }
    }
}

} // namespace SameNameMatcher
