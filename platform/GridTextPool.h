#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The texts of a grid's cells, each stored once. A cell holds a 32-bit id:
// either the index of a stored text, or, with NumberTag set, a plain whole
// number (the row numbers) that costs no storage at all. A text whose buffer
// was seen before (a copy of a catalogue text) is found by its buffer,
// without hashing the characters; equal texts in other buffers, such as the
// same folder or time of many files, are each remembered by their own buffer.
class GridTextPool
{
public:
    static constexpr quint32 Empty = 0;
    static constexpr quint32 NumberTag = 0x80000000u;

    GridTextPool();

    quint32 intern(const QString &text);
    QString text(quint32 id) const;
    bool isEmpty(quint32 id) const { return id == Empty; }
    // The stored text of an id without NumberTag.
    const QString &stored(quint32 id) const { return m_texts.at(id); }
    static bool isNumberId(quint32 id) { return (id & NumberTag) != 0; }
    static quint32 numberOf(quint32 id) { return id & ~NumberTag; }

    // Forgets every text; ids handed out before become invalid.
    void clear();
    qsizetype storedCount() const { return m_texts.size(); }

private:
    struct BufferKey
    {
        const QChar *data = nullptr;
        qsizetype size = 0;
        bool operator==(const BufferKey &) const = default;
    };
    friend size_t qHash(const BufferKey &key, size_t seed)
    {
        return qHashMulti(seed, key.data, key.size);
    }

    // A copy of the buffer's text keeps the buffer alive, so its address
    // can't be reused by another text while the key exists.
    struct KnownBuffer
    {
        QString keep;
        quint32 id = Empty;
    };

    QList<QString> m_texts;
    QHash<BufferKey, KnownBuffer> m_byBuffer;
    QHash<QString, quint32> m_byText;
};
