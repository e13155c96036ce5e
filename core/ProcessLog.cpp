#include "core/ProcessLog.h"

#include "core/DateTimeText.h"

#include <QDateTime>

ProcessLog::TextId ProcessLog::TextStore::idOf(const QString &text)
{
    const auto known = ids.constFind(text);
    if (known != ids.cend())
        return *known;
    const auto id = static_cast<TextId>(texts.size());
    texts.append(text);
    ids.insert(text, id);
    return id;
}

ProcessLog::TextId ProcessLog::itemId(const QString &text)
{
    return m_items.idOf(text);
}

ProcessLog::TextId ProcessLog::resultId(const QString &text)
{
    return m_results.idOf(text);
}

qint32 ProcessLog::append(TextId item, TextId result)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (m_epoch < 0)
        m_epoch = now;
    if (m_count % BlockLines == 0)
        m_blocks.push_back(std::make_unique<Line[]>(BlockLines));
    const auto counter = static_cast<qint32>(m_count + 1);
    m_blocks.back()[m_count % BlockLines]
        = Line {counter, item, result, static_cast<quint32>(std::max<qint64>(now - m_epoch, 0))};
    ++m_count;
    return counter;
}

const ProcessLog::Line &ProcessLog::lineAt(qsizetype line) const
{
    return m_blocks[static_cast<size_t>(line / BlockLines)][line % BlockLines];
}

QString ProcessLog::text(qsizetype line, Column column) const
{
    if (line < 0 || line >= m_count)
        return {};
    const Line &at = lineAt(line);
    switch (column) {
    case Counter:
        return QString::number(at.counter);
    case Item:
        return m_items.texts.at(at.item);
    case Result:
        return m_results.texts.at(at.result);
    case Time:
        return DateTimeText::format(QDateTime::fromSecsSinceEpoch(m_epoch + at.second));
    }
    return {};
}

bool ProcessLog::fits(qsizetype lines, qint64 availableBytes)
{
    // A line here and its row in the view, twice over for the rest.
    return lines <= availableBytes / (4 * BytesPerLine);
}
