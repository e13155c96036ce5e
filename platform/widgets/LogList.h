#pragma once

#include "core/ProcessLog.h"

#include <QTableView>

class LogModel;

// The processing log: a report list of four columns, lines appended at the
// end, not editable by the user. The lines are kept as small records (see
// ProcessLog); a table view draws only the rows on screen and keeps no item
// of its own per line, so a log of millions of lines stays small.
class LogList : public QTableView
{
    Q_OBJECT

public:
    explicit LogList(QWidget *parent = nullptr);

    // The width the columns share, inside the frame, in twips.
    int clientWidthTwips() const;
    void clearColumns();
    void addColumn(const QString &caption, int widthTwips);
    int columnCount() const;
    QString columnCaption(int column) const;

    ProcessLog &lines();
    // Appends one line; the view shows it once the event loop runs again,
    // and makes the last line the current and visible one.
    void addLine(const QString &item, const QString &result);
    // After appending to lines() directly: as addLine does.
    void linesAdded();

    QString itemText(int line, int column) const;
    int itemCount() const;
    // The selected line; -1 when none.
    int currentLine() const;
    // Both take effect once the event loop runs again.
    void selectItem(int item);
    void ensureVisible(int item);

private:
    void schedule();

    LogModel *m_model;
    int m_selectTo = -1;
    int m_scrollTo = -1;
    bool m_pending = false;
};
