#pragma once

#include "core/ProcessLog.h"

#include <QAbstractTableModel>
#include <QStringList>

// The processing log as the view reads it: one row a line, the four texts
// made from the line's record when a row is drawn or read aloud. Lines
// appended to the log reach the view in one insertion when shown() is
// called, however many there are.
class LogModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LogModel(QObject *parent = nullptr);

    ProcessLog &lines() { return m_lines; }
    const ProcessLog &lines() const { return m_lines; }
    // Announces the lines appended since the last call.
    void showAppended();
    void setCaptions(const QStringList &captions);
    const QStringList &captions() const { return m_captions; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    ProcessLog m_lines;
    int m_shown = 0;
    QStringList m_captions;
};
