#pragma once

#include "core/ComparedPairs.h"
#include "core/KeepRule.h"
#include "core/ProtectedFolders.h"

#include <QList>

#include <vector>

// What the keep-rule walk would queue over the compare list, shown before
// anything goes: which compared records lose in some listed pair, how many
// files that is and their bytes. It decides each pair with the walk's own
// losingFile and counts a file once, as the walk queues it once. The records'
// facts are read once per compare, so a change of rule is one pass over the
// listed pairs. It shows the rule's decision only: whether a file is still
// as compared is checked when the batch runs.
class RemovalPreview
{
public:
    // The compared records are others now: their facts are read again.
    void forgetFacts();
    // Decides the listed pairs (indexes into compared.pairs; any other
    // index is passed over) under the rule, sparing the protected files.
    void update(int rule, const ComparedPairs &compared, const QList<qint32> &listed,
        const ProtectedFolders &protectedFolders);
    // Whether file 1 or 2 of the pair at index loses in a listed pair.
    bool goes(const ComparedPairs &compared, qint32 pair, int file) const;
    int count() const { return m_count; }
    double bytes() const { return m_bytes; }

private:
    std::vector<KeepFacts> m_facts;
    std::vector<bool> m_read;
    std::vector<bool> m_goes;
    bool m_anyProtected = false;
    int m_count = 0;
    double m_bytes = 0;
};
