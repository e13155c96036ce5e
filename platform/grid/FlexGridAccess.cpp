// What the grid tells assistive technology beyond what QTableView tells by
// itself: which cells are selected (the highlights) and when a cell's marks
// change.
#include "platform/grid/FlexGrid.h"
#include "platform/grid/FlexGridModel.h"

#include <QAccessible>
#include <QItemSelection>

#include <algorithm>

namespace {

bool touches(const QList<int> &roles, int role)
{
    return roles.isEmpty() || roles.contains(role);
}

} // namespace

void FlexGrid::connectAccessibility()
{
    connect(m_model, &QAbstractItemModel::dataChanged, this,
        [this](
            const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
            if (touches(roles, Qt::BackgroundRole))
                mirrorHighlights(topLeft.row() + 1, bottomRight.row() + 1);
            if (touches(roles, Qt::AccessibleDescriptionRole))
                announceMarks(topLeft, bottomRight);
        });
    // Removed rows leave the selection by themselves; a reset or a sort
    // leaves it without the highlights or scattered.
    const auto mirrorAll = [this] { mirrorHighlights(1, Rows() - 1); };
    connect(m_model, &QAbstractItemModel::modelReset, this, mirrorAll);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, mirrorAll);
}

// The selection of rows top..bottom becomes their highlighted cells, a run of
// cells a range, and a run continuing the one of the row above joins it: a
// block of highlighted rows is one range however long.
void FlexGrid::mirrorHighlights(int top, int bottom)
{
    top = std::max(top, 1);
    bottom = std::min(bottom, Rows() - 1);
    const int last = Cols() - 1;
    if (top > bottom || last < 1)
        return;
    struct Run
    {
        int top, left, right;
    };
    QList<Run> open;
    QItemSelection highlights;
    const auto close = [&](const Run &run, int bottomRow) {
        highlights.append(QItemSelectionRange(m_model->index(run.top - 1, run.left - 1),
            m_model->index(bottomRow - 1, run.right - 1)));
    };
    for (int r = top; r <= bottom; ++r) {
        QList<Run> runs;
        if (m_model->hasBackColour(r)) {
            for (int c = 1; c <= last; ++c) {
                if (!m_model->isHighlighted(r, c))
                    continue;
                const int left = c;
                while (c < last && m_model->isHighlighted(r, c + 1))
                    ++c;
                runs.append({r, left, c});
            }
        }
        for (Run &run : runs) {
            const auto above = std::find_if(open.begin(), open.end(),
                [&](const Run &o) { return o.left == run.left && o.right == run.right; });
            if (above != open.end()) {
                run.top = above->top;
                open.erase(above);
            }
        }
        for (const Run &ended : open)
            close(ended, r - 1);
        open = runs;
    }
    for (const Run &ended : open)
        close(ended, bottom);

    QItemSelectionModel *selection = selectionModel();
    if (top == 1 && bottom == Rows() - 1) {
        if (selection->selection() != highlights)
            selection->select(highlights, QItemSelectionModel::ClearAndSelect);
        return;
    }
    const QItemSelection rows(m_model->index(top - 1, 0), m_model->index(bottom - 1, last - 1));
    selection->select(rows, QItemSelectionModel::Deselect);
    selection->select(highlights, QItemSelectionModel::Select);
}

// Only cells on screen are announced: a reader reads the others afresh when
// it gets there.
void FlexGrid::announceMarks(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (!QAccessible::isActive() || !isVisible())
        return;
    const auto clampTo = [](int at, int fallback) { return at < 0 ? fallback : at; };
    const QRect area = viewport()->rect();
    const int firstRow = std::max(topLeft.row(), clampTo(rowAt(area.top()), 0));
    const int lastRow
        = std::min(bottomRight.row(), clampTo(rowAt(area.bottom()), m_model->rowCount() - 1));
    const int firstCol = std::max(topLeft.column(), clampTo(columnAt(area.left()), 0));
    const int lastCol = std::min(
        bottomRight.column(), clampTo(columnAt(area.right()), m_model->columnCount() - 1));
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *cells = table ? table->tableInterface() : nullptr;
    if (!cells)
        return;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstCol; c <= lastCol; ++c) {
            if (QAccessibleInterface *cell = cells->cellAt(r, c)) {
                QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&event);
            }
        }
    }
}
