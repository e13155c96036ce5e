#include "platform/widgets/LogList.h"

#include "platform/widgets/LogModel.h"
#include "platform/widgets/Twips.h"

#include <QHeaderView>
#include <QTimer>

LogList::LogList(QWidget *parent)
    : QTableView(parent)
    , m_model(new LogModel(this))
{
    setModel(m_model);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void LogList::clearColumns()
{
    m_model->setCaptions({});
}

int LogList::clientWidthTwips() const
{
    return Twips::fromPixels(width() - 2 * frameWidth());
}

void LogList::addColumn(const QString &caption, int widthTwips)
{
    QStringList captions = m_model->captions();
    captions.append(caption);
    m_model->setCaptions(captions);
    setColumnWidth(static_cast<int>(captions.size()) - 1, Twips::toPixels(widthTwips));
}

int LogList::columnCount() const
{
    return m_model->columnCount();
}

QString LogList::columnCaption(int column) const
{
    return m_model->captions().value(column);
}

ProcessLog &LogList::lines()
{
    return m_model->lines();
}

void LogList::addLine(const QString &item, const QString &result)
{
    ProcessLog &log = lines();
    log.append(log.itemId(item), log.resultId(result));
    linesAdded();
}

void LogList::linesAdded()
{
    const int last = itemCount() - 1;
    selectItem(last);
    ensureVisible(last);
}

QString LogList::itemText(int line, int column) const
{
    if (column < 0 || column > ProcessLog::Time)
        return {};
    return m_model->lines().text(line, static_cast<ProcessLog::Column>(column));
}

int LogList::itemCount() const
{
    return static_cast<int>(m_model->lines().count());
}

int LogList::currentLine() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// Selecting or scrolling while thousands of lines are added one by one
// would lay out the view each time. The new lines, the selection and the
// scrolling wait for the event loop, and then happen once.
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
        m_model->showAppended();
        const int rows = m_model->rowCount();
        if (const int line = std::exchange(m_selectTo, -1);
            line >= 0 && line < rows && m_model->columnCount() > 0)
            setCurrentIndex(m_model->index(line, 0));
        if (const int line = std::exchange(m_scrollTo, -1);
            line >= 0 && line < rows && m_model->columnCount() > 0)
            scrollTo(m_model->index(line, 0));
    });
}
