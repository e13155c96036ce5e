#pragma once

#include <QStyledItemDelegate>

// Paints a cell's own background, then the grid's transient range as a
// translucent tint over it, then the text in the cell's own colour: the range
// never hides a highlight or a blue or red mark.
class FlexGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
