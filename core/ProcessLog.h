#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

// The processing log's lines as small records: the line's counter, the id of
// its item's text, the id of its result's text and the second it was added.
// Each distinct item and result text is stored once, so that a command that
// logs millions of lines about a few thousand files costs sixteen bytes a
// line; the four texts of a line are made only when asked for. Lines are
// numbered from 1 over the program's whole run and never taken away.
class ProcessLog
{
public:
    using TextId = quint32;
    enum Column { Counter, Item, Result, Time };

    // The id of a text, storing it when it is new.
    TextId itemId(const QString &text);
    TextId resultId(const QString &text);

    // Appends one line stamped with the current time; gives its counter.
    qint32 append(TextId item, TextId result);
    qsizetype count() const { return m_count; }
    QString text(qsizetype line, Column column) const;

    // Whether lines more lines fit in the memory the system has free, with
    // room to spare for the rest of the program; a command that is about to
    // log that many asks first and stops when they do not.
    static bool fits(qsizetype lines, qint64 availableBytes);
    static constexpr qsizetype BytesPerLine = 16;

private:
    struct Line
    {
        qint32 counter;
        TextId item;
        TextId result;
        quint32 second; // since m_epoch
    };
    static_assert(sizeof(Line) == BytesPerLine);
    // Lines in blocks of a fixed size: growing never copies the lines
    // already there, so a long log needs no second copy of itself.
    static constexpr qsizetype BlockLines = 65536;
    const Line &lineAt(qsizetype line) const;

    struct TextStore
    {
        QList<QString> texts;
        QHash<QString, TextId> ids;
        TextId idOf(const QString &text);
    };
    TextStore m_items;
    TextStore m_results;
    std::vector<std::unique_ptr<Line[]>> m_blocks;
    qsizetype m_count = 0;
    qint64 m_epoch = -1; // seconds since 1970 of the first line
};
