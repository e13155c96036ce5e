#include "core/KeepRule.h"

namespace KeepRule {

int compareTimes(const std::optional<QDateTime> &first, const std::optional<QDateTime> &second)
{
    if (!first || !second)
        return int(bool(second)) - int(bool(first));
    const qint64 d = first->secsTo(*second);
    return (d > 0) - (d < 0);
}

double readSize(const QString &cell)
{
    qsizetype i = 0;
    const qsizetype n = cell.size();
    while (i < n && cell.at(i).isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (cell.at(i) == u'+' || cell.at(i) == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && cell.at(i) >= u'0' && cell.at(i) <= u'9')
        ++i;
    bool anyDigit = i > digitsStart;
    if (i < n && cell.at(i) == u'.') {
        const qsizetype fraction = ++i;
        while (i < n && cell.at(i) >= u'0' && cell.at(i) <= u'9')
            ++i;
        anyDigit = anyDigit || i > fraction;
    }
    if (!anyDigit)
        return 0;
    bool ok = false;
    const double value = QStringView(cell).mid(start, i - start).toDouble(&ok);
    return ok ? value : 0;
}

std::optional<Kept> decide(int rule, const KeepFacts &file1, const KeepFacts &file2)
{
    // d ≥ 0 keeps file 1 for the "earlier" rules, d ≤ 0 for the "later" ones,
    // so equal times keep file 1 under every time rule.
    const auto earlier = [](int d) { return d >= 0 ? Kept::File1 : Kept::File2; };
    const auto later = [](int d) { return d <= 0 ? Kept::File1 : Kept::File2; };
    switch (rule) {
    case 0:
        return Kept::File1;
    case 1:
        return Kept::File2;
    case 2:
        return file1.size >= file2.size ? Kept::File1 : Kept::File2;
    case 3:
        return file1.size < file2.size ? Kept::File1 : Kept::File2;
    case 4:
        return earlier(compareTimes(file1.created, file2.created));
    case 5:
        return later(compareTimes(file1.created, file2.created));
    case 6:
        return earlier(compareTimes(file1.modified, file2.modified));
    case 7:
        return later(compareTimes(file1.modified, file2.modified));
    case 8:
        return earlier(compareTimes(file1.accessed, file2.accessed));
    case 9:
        return later(compareTimes(file1.accessed, file2.accessed));
    default:
        return std::nullopt;
    }
}

} // namespace KeepRule
