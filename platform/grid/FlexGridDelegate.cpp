#include "platform/grid/FlexGridDelegate.h"

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
    QStyleOptionViewItem plain = option;
    if (option.state & QStyle::State_Selected) {
        QColor tint = option.palette.color(QPalette::Active, QPalette::Highlight);
        tint.setAlpha(70);
        painter->fillRect(option.rect, tint);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Active, QPalette::Highlight));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
        plain.state &= ~QStyle::State_Selected;
    }
    QStyledItemDelegate::paint(painter, plain, index);
}
