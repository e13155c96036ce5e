#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

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
    // The id of a whole number's decimal text, stored only past nine digits.
    quint32 internNumber(quint32 value);
    QString text(quint32 id) const;
    bool isEmpty(quint32 id) const { return id == Empty; }
    // The stored text of an id without NumberTag.
    const QString &stored(quint32 id) const { return m_texts.at(id); }
    static bool isNumberId(quint32 id) { return (id & NumberTag) != 0; }
    static quint32 numberOf(quint32 id) { return id & ~NumberTag; }

    // Room for this many more texts, so that a large fill does not grow
    // the text list and its hash step by step.
    void reserve(qsizetype more);
    // Forgets every text; ids handed out before become invalid.
    void clear();
    qsizetype storedCount() const { return m_texts.size(); }

private:
    // One entry of the open-addressing table from a buffer to its id; a
    // million-row fill looks one up per cell, so it fits one cache line.
    struct BufferSlot
    {
        const QChar *data = nullptr; // none: a free slot
        quint32 size = 0;
        quint32 id = Empty;
    };

    size_t slotOf(const QChar *data, quint32 size) const;
    // The id of the text in that very buffer, or false when it is not known.
    bool findBuffer(const QString &text, quint32 *id) const;
    void rememberBuffer(const QString &text, quint32 id);
    void place(const BufferSlot &slot);

    QList<QString> m_texts;
    QHash<QString, quint32> m_byText;
    std::vector<BufferSlot> m_buffers;
    // A copy of every remembered buffer's text keeps the buffer alive, so
    // its address can't be reused by another text while the slot exists.
    QList<QString> m_keptBuffers;
};
