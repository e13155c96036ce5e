#include "platform/grid/FlexGridDelegate.h"

#include "platform/grid/FlexGrid.h"

#include <QPainter>

void FlexGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // paint() has drawn the background already.
    option->backgroundBrush = Qt::NoBrush;
}

void FlexGridDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QVariant back = index.data(Qt::BackgroundRole);
    if (back.isValid())
        painter->fillRect(option.rect, back.value<QColor>());
    // The view's item selection is the highlights, drawn as the background
    // above; the tint is the grid's current range.
    QStyleOptionViewItem plain = option;
    plain.state &= ~QStyle::State_Selected;
    const auto *grid = qobject_cast<const FlexGrid *>(option.widget);
    if (grid && grid->showsRange(index.row() + 1, index.column() + 1)) {
        QColor tint = option.palette.color(QPalette::Active, QPalette::Highlight);
        tint.setAlpha(70);
        painter->fillRect(option.rect, tint);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Active, QPalette::Highlight));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
    QStyledItemDelegate::paint(painter, plain, index);
}
