#include "platform/grid/GridTextPool.h"

#include <limits>

namespace {

constexpr quint32 MaxPlainNumber = 999'999'999;

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
    m_byText.clear();
    m_buffers.assign(1024, BufferSlot {});
    m_keptBuffers.clear();
    m_texts.append(QString());
}

size_t GridTextPool::slotOf(const QChar *data, quint32 size) const
{
    // Fibonacci hashing of the address; the length tells apart the few
    // texts that share a start.
    const quint64 key = (reinterpret_cast<quintptr>(data) >> 1) ^ (quint64(size) << 48);
    return static_cast<size_t>((key * 0x9e3779b97f4a7c15ull) >> 32) & (m_buffers.size() - 1);
}

bool GridTextPool::findBuffer(const QString &text, quint32 *id) const
{
    if (text.size() > std::numeric_limits<quint32>::max())
        return false;
    const auto size = static_cast<quint32>(text.size());
    for (size_t i = slotOf(text.constData(), size);; i = (i + 1) & (m_buffers.size() - 1)) {
        const BufferSlot &slot = m_buffers[i];
        if (!slot.data)
            return false;
        if (slot.data == text.constData() && slot.size == size) {
            *id = slot.id;
            return true;
        }
    }
}

void GridTextPool::place(const BufferSlot &slot)
{
    size_t i = slotOf(slot.data, slot.size);
    while (m_buffers[i].data)
        i = (i + 1) & (m_buffers.size() - 1);
    m_buffers[i] = slot;
}

void GridTextPool::rememberBuffer(const QString &text, quint32 id)
{
    if (text.size() > std::numeric_limits<quint32>::max())
        return;
    // Kept at most half full, so a search ends soon on a free slot.
    if (2 * (m_keptBuffers.size() + 1) > qsizetype(m_buffers.size())) {
        std::vector<BufferSlot> old(2 * m_buffers.size());
        old.swap(m_buffers); // the table is now twice as large, and empty
        for (const BufferSlot &slot : old) {
            if (slot.data)
                place(slot);
        }
    }
    place(BufferSlot {text.constData(), static_cast<quint32>(text.size()), id});
    m_keptBuffers.append(text);
}

void GridTextPool::reserve(qsizetype more)
{
    if (more <= 0)
        return;
    m_texts.reserve(m_texts.size() + more);
    m_byText.reserve(m_byText.size() + more);
    m_keptBuffers.reserve(m_keptBuffers.size() + more);
}

quint32 GridTextPool::intern(const QString &text)
{
    if (text.isEmpty())
        return Empty;
    quint32 number = 0;
    if (canonicalNumber(text, &number))
        return number | NumberTag;

    const bool owned = ownsBuffer(text);
    quint32 id;
    if (owned && findBuffer(text, &id))
        return id;
    auto same = m_byText.constFind(text);
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
        rememberBuffer(text, id);
    return id;
}

quint32 GridTextPool::internNumber(quint32 value)
{
    if (value <= MaxPlainNumber)
        return value | NumberTag;
    return intern(QString::number(value));
}

QString GridTextPool::text(quint32 id) const
{
    if (isNumberId(id))
        return QString::number(numberOf(id));
    return m_texts.at(id);
}
