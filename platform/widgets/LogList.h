#pragma once

#include <QTreeWidget>

// The processing log: a report list of four columns, items appended at the
// end, not editable by the user.
class LogList : public QTreeWidget
{
    Q_OBJECT

public:
    explicit LogList(QWidget *parent = nullptr);

    // The width the columns share, inside the frame, in twips.
    int clientWidthTwips() const;
    void clearColumns();
    void addColumn(const QString &caption, int widthTwips);
    // Appends an item with its first text; returns its index.
    int addItem(const QString &text);
    void setSubItem(int item, int subItem, const QString &text);
    QString itemText(int item, int column) const;
    int itemCount() const { return topLevelItemCount(); }
    // Both take effect once the event loop runs again.
    void selectItem(int item);
    void ensureVisible(int item);

private:
    void schedule();

    QStringList m_captions;
    int m_selectTo = -1;
    int m_scrollTo = -1;
    bool m_pending = false;
};
