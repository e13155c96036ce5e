#include "core/KeepRule.h"

#include "core/DateTimeText.h"

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

// Held in UTC, the same instants: comparing local times asks the time zone
// for both offsets every time, which a preview over a million pairs cannot
// afford.
static std::optional<QDateTime> instantOf(const QString &text)
{
    std::optional<QDateTime> time = DateTimeText::parse(text);
    if (time)
        time = time->toUTC();
    return time;
}

KeepFacts factsOf(const FileRecord &record)
{
    return KeepFacts {readSize(record.field(FileRecord::Size)),
        instantOf(record.field(FileRecord::Created)), instantOf(record.field(FileRecord::Modified)),
        instantOf(record.field(FileRecord::Accessed))};
}

namespace {

using Facts = const KeepFacts &;

// d ≥ 0 keeps file 1 for the "earlier" rules, d ≤ 0 for the "later" ones,
// so equal times keep file 1 under every time rule.
Kept earlier(int d)
{
    return d >= 0 ? Kept::File1 : Kept::File2;
}

Kept later(int d)
{
    return d <= 0 ? Kept::File1 : Kept::File2;
}

// Each rule's caption beside the decision it stands for, in Combo2's order.
struct Rule
{
    QStringView caption;
    Kept (*keep)(Facts file1, Facts file2);
};

constexpr Rule Rules[] = {
    {u"保留 [文件名1] 列的文件", [](Facts, Facts) { return Kept::File1; }},
    {u"保留 [文件名2] 列的文件", [](Facts, Facts) { return Kept::File2; }},
    {u"保留（字节）较大的文件",
        [](Facts a, Facts b) { return a.size >= b.size ? Kept::File1 : Kept::File2; }},
    {u"保留（字节）较小的文件",
        [](Facts a, Facts b) { return a.size < b.size ? Kept::File1 : Kept::File2; }},
    {u"保留创建时间较早的文件",
        [](Facts a, Facts b) { return earlier(compareTimes(a.created, b.created)); }},
    {u"保留创建时间较晚的文件",
        [](Facts a, Facts b) { return later(compareTimes(a.created, b.created)); }},
    {u"保留修改时间较早的文件",
        [](Facts a, Facts b) { return earlier(compareTimes(a.modified, b.modified)); }},
    {u"保留修改时间较晚的文件",
        [](Facts a, Facts b) { return later(compareTimes(a.modified, b.modified)); }},
    {u"保留访问时间较早的文件",
        [](Facts a, Facts b) { return earlier(compareTimes(a.accessed, b.accessed)); }},
    {u"保留访问时间较晚的文件",
        [](Facts a, Facts b) { return later(compareTimes(a.accessed, b.accessed)); }},
};
static_assert(std::size(Rules) == Count);

} // namespace

std::optional<Kept> decide(int rule, const KeepFacts &file1, const KeepFacts &file2)
{
    if (rule < 0 || rule >= Count)
        return std::nullopt;
    return Rules[rule].keep(file1, file2);
}

QStringList captions()
{
    QStringList texts;
    for (const Rule &rule : Rules)
        texts.append(rule.caption.toString());
    return texts;
}

} // namespace KeepRule
