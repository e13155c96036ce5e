#include "core/SimilarityThreshold.h"

#include <QRegularExpression>

namespace {
// Beyond this many percent nothing passes anyway; keeps the arithmetic small.
constexpr qint64 PercentCap = 1000000;

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

SimilarityThreshold SimilarityThreshold::read(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    // Percent p passes a score s (ten-thousandths) when s / 10000 >= p / 100,
    // that is s >= 100 p: the smallest such whole s is the ceiling of 100 p.
    qint64 whole = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i)
        whole = qMin(PercentCap, whole * 10 + text.at(i).digitValue());
    qint64 hundredths = 0;
    bool finerFraction = false;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        int place = 0;
        for (++i; i < text.size() && isDigit(text.at(i)); ++i, ++place) {
            const int digit = text.at(i).digitValue();
            if (place == 0)
                hundredths += 10 * digit;
            else if (place == 1)
                hundredths += digit;
            else if (digit != 0)
                finerFraction = true;
        }
    }
    SimilarityThreshold threshold;
    if (!negative)
        threshold.m_minimumScore = whole * 100 + hundredths + (finerFraction ? 1 : 0);
    return threshold;
}

bool SimilarityThreshold::isPercentInRange(const QString &text)
{
    static const QRegularExpression plainNumber(QStringLiteral("^ *(\\d+\\.?\\d*|\\.\\d+) *$"));
    if (!plainNumber.match(text).hasMatch())
        return false;
    const double percent = text.trimmed().toDouble();
    return percent >= 1 && percent <= 100;
}
