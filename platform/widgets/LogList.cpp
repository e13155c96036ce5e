#include "platform/widgets/LogList.h"

#include "platform/widgets/Twips.h"

#include <QHeaderView>
#include <QTimer>

LogList::LogList(QWidget *parent)
    : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
}

void LogList::clearColumns()
{
    m_captions.clear();
    setHeaderLabels(m_captions);
}

int LogList::clientWidthTwips() const
{
    return Twips::fromPixels(width() - 2 * frameWidth());
}

void LogList::addColumn(const QString &caption, int widthTwips)
{
    m_captions.append(caption);
    setColumnCount(static_cast<int>(m_captions.size()));
    setHeaderLabels(m_captions);
    setColumnWidth(static_cast<int>(m_captions.size()) - 1, Twips::toPixels(widthTwips));
}

int LogList::addItem(const QString &text)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(0, text);
    return topLevelItemCount() - 1;
}

void LogList::setSubItem(int item, int subItem, const QString &text)
{
    if (QTreeWidgetItem *row = topLevelItem(item))
        row->setText(subItem, text);
}

QString LogList::itemText(int item, int column) const
{
    const QTreeWidgetItem *row = topLevelItem(item);
    return row ? row->text(column) : QString();
}

// Selecting or scrolling lays out every line again; a command that logs
// thousands of lines without returning to the event loop would spend its
// time there. Both wait for the event loop, and then happen once.
void LogList::selectItem(int item)
{
    m_selectTo = item;
    schedule();
}

void LogList::ensureVisible(int item)
{
    m_scrollTo = item;
    schedule();
}

void LogList::schedule()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        if (QTreeWidgetItem *row = topLevelItem(std::exchange(m_selectTo, -1)))
            setCurrentItem(row);
        if (QTreeWidgetItem *row = topLevelItem(std::exchange(m_scrollTo, -1)))
            scrollToItem(row);
    });
}
