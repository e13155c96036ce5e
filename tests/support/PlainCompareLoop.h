#pragma once

#include "core/CompareRun.h"

#include <QRegularExpression>
#include <QStringList>

#include <cfenv>
#include <cmath>

// The plain loop over every pair, written from the description of the run
// and kept deliberately naive: joined key texts, trimming and case folding
// per pair, the score recomputed from the texts.
namespace PlainCompareLoop {

inline QString keyOf(const FileRecord &record, const CompareCriteria &criteria)
{
    QString key;
    for (int f = 0; f < FileRecord::FieldCount; ++f) {
        if (criteria.slots[static_cast<size_t>(f)] == 1)
            key += record.field(f) + QStringLiteral(" * ");
    }
    return key;
}

inline QString trimmedLower(const QString &key)
{
    qsizetype first = 0;
    qsizetype last = key.size();
    while (first < last && key[first] == QLatin1Char(' '))
        ++first;
    while (last > first && key[last - 1] == QLatin1Char(' '))
        --last;
    return key.mid(first, last - first).toLower();
}

inline QString baseOf(const QString &key)
{
    const QString lead = key.left(key.indexOf(QLatin1Char('*')));
    const qsizetype dot = lead.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? lead.left(dot) : lead.chopped(1);
}

inline qint64 similarity(const QString &earlier, const QString &later)
{
    QString probe;
    QString ref;
    if (earlier.size() < later.size()) {
        probe = baseOf(earlier);
        ref = baseOf(later);
    } else if (trimmedLower(earlier) == trimmedLower(later)) {
        return 10000;
    } else {
        probe = baseOf(later);
        ref = baseOf(earlier);
    }
    QString shared;
    for (QChar c : probe) {
        if (ref.contains(c) && !shared.contains(c))
            shared += c;
    }
    if (ref.isEmpty())
        return 0;
    std::fesetround(FE_TONEAREST);
    return static_cast<qint64>(std::nearbyint(shared.size() * 10000.0 / ref.size()));
}

// score (ten-thousandths) >= typed / 100, compared as decimals.
inline bool reaches(qint64 score, const QString &typed)
{
    static const QRegularExpression number(QStringLiteral("^ *([+-]?)(\\d*)(?:\\.(\\d*))?"));
    const auto m = number.match(typed);
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (m.captured(1) == QLatin1String("-") || (whole.isEmpty() && fraction.isEmpty()))
        return true;
    // typed * 100 as integer part and remaining fraction digits.
    const QString padded = fraction + QStringLiteral("00");
    QString integer = whole + padded.left(2);
    const QString rest = padded.mid(2);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    const QString scoreText = QString::number(score);
    if (integer.size() != scoreText.size())
        return scoreText.size() > integer.size();
    if (scoreText != integer)
        return scoreText > integer;
    return !rest.contains(QRegularExpression(QStringLiteral("[1-9]")));
}

inline CompareRun::Outcome run(const QList<FileRecord> &records, const CompareCriteria &criteria,
    int mode, const QString &threshold, qsizetype limit)
{
    QStringList keys;
    for (const FileRecord &r : records)
        keys.append(keyOf(r, criteria));
    CompareRun::Outcome outcome;
    for (qsizetype k = 0; k + 1 < keys.size(); ++k) {
        for (qsizetype j = k + 1; j < keys.size(); ++j) {
            bool passes = false;
            qint64 score = 10000;
            if (mode == 1) {
                passes = trimmedLower(keys[k]) == trimmedLower(keys[j]);
            } else if (mode == 2) {
                score = similarity(keys[k], keys[j]);
                const QString tailK = keys[k].mid(keys[k].indexOf(QLatin1Char('*')) + 1);
                const QString tailJ = keys[j].mid(keys[j].indexOf(QLatin1Char('*')) + 1);
                passes = reaches(score, threshold) && tailK == tailJ;
            }
            // One file under two paths (a hard link, a bind mount) is no pair.
            const FileRecord &a = records.at(k);
            const FileRecord &b = records.at(j);
            const bool oneFile = a.fullPath() == b.fullPath()
                || (a.stamp && b.stamp && a.stamp->device == b.stamp->device
                    && a.stamp->inode == b.stamp->inode);
            if (!passes || oneFile)
                continue;
            if (outcome.pairs.size() == limit) {
                outcome.truncated = true;
                return outcome;
            }
            outcome.pairs.append(
                {static_cast<qint32>(k), static_cast<qint32>(j), static_cast<qint32>(score)});
        }
    }
    return outcome;
}

} // namespace PlainCompareLoop
