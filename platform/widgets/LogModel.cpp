#include "platform/widgets/LogModel.h"

#include <limits>

LogModel::LogModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void LogModel::showAppended()
{
    // A view counts its rows in int: lines past that stay in the log but
    // cannot be shown.
    const int count
        = static_cast<int>(std::min<qsizetype>(m_lines.count(), std::numeric_limits<int>::max()));
    if (count <= m_shown)
        return;
    beginInsertRows({}, m_shown, count - 1);
    m_shown = count;
    endInsertRows();
}

void LogModel::setCaptions(const QStringList &captions)
{
    // Columns come and go with their captions; the lines stay.
    const auto before = static_cast<int>(m_captions.size());
    const auto after = static_cast<int>(captions.size());
    if (after > before) {
        beginInsertColumns({}, before, after - 1);
        m_captions = captions;
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns({}, after, before - 1);
        m_captions = captions;
        endRemoveColumns();
    }
    m_captions = captions;
    if (after > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, after - 1);
}

int LogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int LogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant LogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.column() > ProcessLog::Time)
        return {};
    return m_lines.text(index.row(), static_cast<ProcessLog::Column>(index.column()));
}

QVariant LogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= m_captions.size())
        return {};
    return m_captions.at(section);
}

Qt::ItemFlags LogModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}
