#include "core/NameSimilarity.h"

#include "core/CompareKey.h"

#include <QSet>

namespace NameSimilarity {

qint64 ratio(qint64 shared, qint64 referenceLength)
{
    if (referenceLength <= 0)
        return 0;
    const qint64 scaled = shared * Whole;
    qint64 quotient = scaled / referenceLength;
    const qint64 twiceRest = 2 * (scaled % referenceLength);
    if (twiceRest > referenceLength || (twiceRest == referenceLength && quotient % 2 == 1))
        ++quotient;
    return quotient;
}

qint64 score(const CompareKey &earlier, const CompareKey &later)
{
    QString probe;
    QString reference;
    if (earlier.length() < later.length()) {
        probe = earlier.base();
        reference = later.base();
    } else {
        if (earlier.normalized() == later.normalized())
            return Whole;
        probe = later.base();
        reference = earlier.base();
    }
    QSet<QChar> inReference(reference.begin(), reference.end());
    QSet<QChar> shared;
    for (QChar c : probe) {
        if (inReference.contains(c))
            shared.insert(c);
    }
    return ratio(shared.size(), reference.size());
}

QString text(qint64 score)
{
    return QStringLiteral("%1.%2%").arg(score / 100).arg(score % 100, 2, 10, QLatin1Char('0'));
}

} // namespace NameSimilarity
