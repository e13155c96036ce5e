#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// The one text form of a date-time everywhere the lists show one: the
// Simplified-Chinese short date and long time, "yyyy/M/d H:mm:ss" (no leading
// zeros on month, day and hour), and the date alone when the time is exactly
// midnight. parse() reads that text back (the keep rules compare times by it);
// it gives nullopt for any text that is not in this form or names no real
// date or time. Both work in local time.
namespace DateTimeText {
QString format(int year, int month, int day, int hour, int minute, int second);
QString format(const QDateTime &dateTime);
std::optional<QDateTime> parse(QStringView text);
} // namespace DateTimeText
