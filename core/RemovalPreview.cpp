#include "core/RemovalPreview.h"

#include "core/LosingFiles.h"

void RemovalPreview::forgetFacts()
{
    m_facts.clear();
    m_read.clear();
}

void RemovalPreview::update(int rule, const ComparedPairs &compared, const QList<qint32> &listed,
    const ProtectedFolders &protectedFolders)
{
    const size_t records = static_cast<size_t>(compared.records.size());
    if (m_facts.size() != records) {
        m_facts.assign(records, KeepFacts {});
        m_read.assign(records, false);
    }
    // Folders may have been protected or freed since the facts were read.
    if (!protectedFolders.isEmpty() || m_anyProtected) {
        for (size_t i = 0; i < records; ++i)
            if (m_read[i])
                m_facts[i].isProtected
                    = protectedFolders.covers(compared.records.at(qsizetype(i)).folder());
    }
    m_anyProtected = !protectedFolders.isEmpty();
    m_goes.assign(records, false);
    m_count = 0;
    m_bytes = 0;
    const auto facts = [&](qint32 k) -> const KeepFacts & {
        const size_t i = static_cast<size_t>(k);
        if (!m_read[i]) {
            m_facts[i] = KeepRule::factsOf(compared.records.at(k));
            m_facts[i].isProtected = protectedFolders.covers(compared.records.at(k).folder());
            m_read[i] = true;
        }
        return m_facts[i];
    };
    const auto valid = [&](qint32 k) { return k >= 0 && size_t(k) < records; };
    for (const qint32 index : listed) {
        if (index < 0 || index >= compared.pairs.size())
            continue;
        const MatchPair &pair = compared.pairs.at(index);
        if (!valid(pair.first) || !valid(pair.second))
            continue;
        const int loser = losingFile(rule, facts(pair.first), facts(pair.second));
        if (loser == 0)
            continue;
        const qint32 k = loser == 1 ? pair.first : pair.second;
        if (m_goes[size_t(k)])
            continue;
        m_goes[size_t(k)] = true;
        ++m_count;
        m_bytes += m_facts[size_t(k)].size;
    }
}

bool RemovalPreview::goes(const ComparedPairs &compared, qint32 pair, int file) const
{
    if (pair < 0 || pair >= compared.pairs.size() || (file != 1 && file != 2))
        return false;
    const qint32 k = file == 1 ? compared.pairs.at(pair).first : compared.pairs.at(pair).second;
    return k >= 0 && size_t(k) < m_goes.size() && m_goes[size_t(k)];
}
