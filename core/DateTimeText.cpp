#include "core/DateTimeText.h"

namespace {

void appendNumber(QString &out, int value, int minDigits)
{
    if (value < 0) {
        out += QLatin1Char('-');
        value = -value;
    }
    char16_t digits[12];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n < minDigits)
        digits[n++] = u'0';
    while (n > 0)
        out += QChar(digits[--n]);
}

// Reads between minDigits and maxDigits decimal digits at pos.
std::optional<int> readNumber(QStringView text, qsizetype &pos, int minDigits, int maxDigits)
{
    int value = 0;
    int count = 0;
    while (pos < text.size() && count < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++count;
    }
    if (count < minDigits)
        return std::nullopt;
    return value;
}

bool readChar(QStringView text, qsizetype &pos, char16_t c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// A local time the clocks skipped (a daylight-saving gap) makes an invalid
// date-time, which would compare equal to every time.
std::optional<QDateTime> valid(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return std::nullopt;
    return dateTime;
}

} // namespace

QString DateTimeText::format(int year, int month, int day, int hour, int minute, int second)
{
    QString out;
    out.reserve(20);
    appendNumber(out, year, 4);
    out += QLatin1Char('/');
    appendNumber(out, month, 1);
    out += QLatin1Char('/');
    appendNumber(out, day, 1);
    if (hour == 0 && minute == 0 && second == 0)
        return out;
    out += QLatin1Char(' ');
    appendNumber(out, hour, 1);
    out += QLatin1Char(':');
    appendNumber(out, minute, 2);
    out += QLatin1Char(':');
    appendNumber(out, second, 2);
    return out;
}

QString DateTimeText::format(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return format(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

std::optional<QDateTime> DateTimeText::parse(QStringView text)
{
    qsizetype pos = 0;
    const auto year = readNumber(text, pos, 4, 4);
    if (!year || !readChar(text, pos, u'/'))
        return std::nullopt;
    const auto month = readNumber(text, pos, 1, 2);
    if (!month || !readChar(text, pos, u'/'))
        return std::nullopt;
    const auto day = readNumber(text, pos, 1, 2);
    if (!day)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    if (pos == text.size())
        return valid(QDateTime(date, QTime(0, 0)));

    if (!readChar(text, pos, u' '))
        return std::nullopt;
    const auto hour = readNumber(text, pos, 1, 2);
    if (!hour || !readChar(text, pos, u':'))
        return std::nullopt;
    const auto minute = readNumber(text, pos, 2, 2);
    if (!minute || !readChar(text, pos, u':'))
        return std::nullopt;
    const auto second = readNumber(text, pos, 2, 2);
    if (!second || pos != text.size())
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    if (!time.isValid())
        return std::nullopt;
    return valid(QDateTime(date, time));
}
