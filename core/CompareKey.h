#pragma once

#include "core/CompareCriteria.h"
#include "core/FileRecord.h"

#include <QString>
#include <QStringList>

// The comparison key of one record for one run: the ticked fields in field
// order, each followed by " * ". The fields are kept apart (a name may hold
// "*"), but lengths and comparisons behave as that joined text does:
//   lead field  the first ticked field and one blank;
//   key tail    everything after the first "*", " " for a single field;
//   base        the lead field up to its last ".", or the whole first field
//               when it holds no "." (a name without extension, a size).
// With the content box ticked, the record's content token (equal for
// identical contents) is the last field, after the record fields.
class CompareKey
{
public:
    CompareKey() = default;
    CompareKey(
        const FileRecord &record, const CompareCriteria &criteria, const QString &content = {});

    bool isEmpty() const { return m_fields.isEmpty(); }
    // Length of the joined key in UTF-16 code units, separators included.
    qsizetype length() const { return m_length; }
    QString text() const;
    QString leadField() const;
    QString tail() const;
    QString base() const;
    // The key with blanks removed from both ends and in lower case: two keys
    // are "the same" exactly when these texts are equal.
    QString normalized() const;

private:
    QStringList m_fields;
    qsizetype m_length = 0;
};

// Removes spaces (only U+0020) from both ends; tabs and line breaks stay.
QString trimSpaces(const QString &text);
