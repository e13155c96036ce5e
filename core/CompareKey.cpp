#include "core/CompareKey.h"

namespace {
const QString Separator = QStringLiteral(" * ");
}

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

CompareKey::CompareKey(
    const FileRecord &record, const CompareCriteria &criteria, const QString &content)
{
    for (int f = 0; f < FileRecord::FieldCount; ++f) {
        if (criteria.takesPart(f)) {
            m_fields.append(record.field(f));
            m_length += record.field(f).size() + Separator.size();
        }
    }
    if (!content.isEmpty()) {
        m_fields.append(content);
        m_length += content.size() + Separator.size();
    }
}

QString CompareKey::text() const
{
    QString joined;
    joined.reserve(m_length);
    for (const QString &field : m_fields)
        joined += field + Separator;
    return joined;
}

QString CompareKey::leadField() const
{
    return m_fields.isEmpty() ? QString() : m_fields.first() + QLatin1Char(' ');
}

QString CompareKey::tail() const
{
    if (m_fields.isEmpty())
        return QString();
    QString rest(QLatin1Char(' '));
    for (qsizetype i = 1; i < m_fields.size(); ++i)
        rest += m_fields.at(i) + Separator;
    return rest;
}

QString CompareKey::base() const
{
    if (m_fields.isEmpty())
        return QString();
    // The blank that ends the lead field goes with the extension; without a
    // "." the whole field stands in for the base.
    const QString &lead = m_fields.first();
    const qsizetype dot = lead.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? lead : lead.left(dot);
}

QString CompareKey::normalized() const
{
    return trimSpaces(text()).toLower();
}
