#include "core/FilePattern.h"

#include "core/CodePoints.h"

namespace {

// Case-folded code points, so that "?" takes a whole surrogate pair.
void fold(QStringView text, QList<char32_t> &out)
{
    out.clear();
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        out.append(QChar::toCaseFolded(CodePoints::next(text, i)));
}

} // namespace

FilePattern::FilePattern(const QString &pattern)
    : m_matchesAll(pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
{
    fold(pattern, m_folded);
}

bool FilePattern::matches(QStringView name) const
{
    if (m_matchesAll)
        return true;
    thread_local QList<char32_t> folded;
    fold(name, folded);

    // Greedy match that backtracks only to the last "*": linear for the usual
    // patterns and never exponential.
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    const qsizetype pSize = m_folded.size(), nSize = folded.size();
    while (n < nSize) {
        if (p < pSize && m_folded[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pSize && (m_folded[p] == U'?' || m_folded[p] == folded[n])) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pSize && m_folded[p] == U'*')
        ++p;
    return p == pSize;
}
