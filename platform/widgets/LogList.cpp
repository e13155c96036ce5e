#include "platform/widgets/LogList.h"

#include "platform/widgets/Twips.h"

#include <QHeaderView>

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

void LogList::selectItem(int item)
{
    if (QTreeWidgetItem *row = topLevelItem(item))
        setCurrentItem(row);
}

void LogList::ensureVisible(int item)
{
    if (QTreeWidgetItem *row = topLevelItem(item))
        scrollToItem(row);
}
