#include "platform/GridTextPool.h"

namespace {

// Whole numbers up to nine digits without a leading zero: their text can be
// rebuilt exactly from the value.
bool canonicalNumber(const QString &text, quint32 *value)
{
    const qsizetype n = text.size();
    if (n == 0 || n > 9 || (n > 1 && text.at(0) == u'0'))
        return false;
    quint32 v = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + static_cast<quint32>(c.unicode() - u'0');
    }
    *value = v;
    return true;
}

// Only a buffer owned by reference-counted data is safe to key by address:
// raw data may be changed behind the string's back.
bool ownsBuffer(const QString &text)
{
    return const_cast<QString &>(text).data_ptr().d_ptr() != nullptr;
}

bool isShared(const QString &text)
{
    return const_cast<QString &>(text).data_ptr().d_ptr()->isShared();
}

} // namespace

GridTextPool::GridTextPool()
{
    clear();
}

void GridTextPool::clear()
{
    m_texts.clear();
    m_byBuffer.clear();
    m_byText.clear();
    m_texts.append(QString());
}

quint32 GridTextPool::intern(const QString &text)
{
    if (text.isEmpty())
        return Empty;
    quint32 number = 0;
    if (canonicalNumber(text, &number))
        return number | NumberTag;

    const bool owned = ownsBuffer(text);
    const BufferKey key {text.constData(), text.size()};
    if (owned) {
        const auto found = m_byBuffer.constFind(key);
        if (found != m_byBuffer.constEnd())
            return found->id;
    }
    auto same = m_byText.constFind(text);
    quint32 id;
    if (same != m_byText.constEnd()) {
        id = same.value();
    } else {
        id = static_cast<quint32>(m_texts.size());
        m_texts.append(text);
        m_byText.insert(text, id);
    }
    // A buffer held elsewhere too (a catalogue's text) is likely to come
    // again; one built for this cell alone is not worth keeping.
    const bool stored = m_texts.at(id).constData() == text.constData();
    if (owned && (stored || isShared(text)))
        m_byBuffer.insert(key, KnownBuffer {text, id});
    return id;
}

QString GridTextPool::text(quint32 id) const
{
    if (isNumberId(id))
        return QString::number(numberOf(id));
    return m_texts.at(id);
}
