#include "platform/grid/FlexGrid.h"

#include "platform/grid/FlexGridDelegate.h"
#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/Twips.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

FlexGrid::FlexGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new FlexGridModel(this))
{
    m_model->setCols(2);
    m_model->setRows(2);
    setModel(m_model);
    setItemDelegate(new FlexGridDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QTableView::setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView *top = horizontalHeader();
    top->setSectionsClickable(false);
    top->setHighlightSections(false);
    top->setSectionResizeMode(QHeaderView::Interactive);
    top->setStretchLastSection(false);
    top->setMinimumSectionSize(0);
    QHeaderView *side = verticalHeader();
    side->setSectionsClickable(false);
    side->setHighlightSections(false);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setMinimumSectionSize(1);
    side->setDefaultSectionSize(fontMetrics().height() + 6);

    viewport()->setMouseTracking(true);
    for (QHeaderView *header : {top, side}) {
        header->viewport()->setMouseTracking(true);
        header->viewport()->installEventFilter(this);
    }
    m_corner = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (m_corner) {
        m_corner->setMouseTracking(true);
        m_corner->installEventFilter(this);
    }

    connect(top, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!m_applyingWidth && section + 1 < m_colTwips.size())
            m_colTwips[section + 1] = Twips::fromPixels(size);
    });
    const auto structureChanged = [this] {
        clampCurrent();
        syncView();
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, structureChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, structureChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, structureChanged);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, structureChanged);
    connectAccessibility();

    setBackColor(Qt::white);
    m_colTwips = {
        Twips::fromPixels(side->sizeHint().width()), Twips::fromPixels(top->defaultSectionSize())};
    applyColWidth(0);
    applyColWidth(1);
    syncView();
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::setFormatString(const QString &format)
{
    const QStringList parts = format.split(QLatin1Char('|'));
    const int cols = static_cast<int>(parts.size());
    m_model->setCols(cols);
    m_colTwips.resize(cols);
    for (int c = 0; c < cols; ++c) {
        QString caption = parts.at(c);
        Qt::Alignment alignment = Qt::AlignLeft;
        if (caption.startsWith(QLatin1Char('<'))) {
            caption.remove(0, 1);
        } else if (caption.startsWith(QLatin1Char('>'))) {
            alignment = Qt::AlignRight;
            caption.remove(0, 1);
        }
        m_model->setText(0, c, caption);
        m_model->setAlignment(c, alignment);
        m_colTwips[c] = Twips::fromPixels(captionPixels(caption));
        applyColWidth(c);
    }
    clampCurrent();
    syncView();
}

int FlexGrid::captionPixels(const QString &caption) const
{
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    return horizontalHeader()->fontMetrics().horizontalAdvance(caption) + 2 * margin + 1;
}

void FlexGrid::Clear()
{
    m_model->clearCells();
}

int FlexGrid::Rows() const
{
    return m_model->rows();
}

void FlexGrid::setRows(int rows)
{
    m_model->setRows(rows);
}

int FlexGrid::Cols() const
{
    return m_model->cols();
}

void FlexGrid::AddItem(const QString &tabJoined, int index)
{
    AddItem(tabJoined.split(QLatin1Char('\t')), index);
}

void FlexGrid::AddItem(const QStringList &cells, int index)
{
    m_model->insertRowTexts(index < 0 ? Rows() : index, cells);
}

void FlexGrid::AddItems(const QList<QStringList> &rows, int index)
{
    m_model->insertRowTexts(index < 0 ? Rows() : index, rows);
}

void FlexGrid::AddItems(const GridRowSource &rows, int index)
{
    m_model->insertRowSource(index < 0 ? Rows() : index, rows);
}

void FlexGrid::RemoveItem(int index)
{
    m_model->removeDataRow(index);
}

int FlexGrid::RemoveItems(const QList<int> &indexes)
{
    return m_model->removeDataRows(indexes);
}

void FlexGrid::renumberRows()
{
    m_model->renumberRows();
}

qint32 FlexGrid::RowData(int row) const
{
    return m_model->rowData(row);
}

void FlexGrid::setRowData(int row, qint32 value)
{
    m_model->setRowData(row, value);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    return m_model->text(row, col);
}

quint32 FlexGrid::textKey(int row, int col) const
{
    return m_model->textId(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

QString FlexGrid::Text() const
{
    return m_model->text(m_row, m_col);
}

void FlexGrid::setText(const QString &text)
{
    const Range range = fillRange();
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c)
            m_model->setText(r, c, text);
    }
}

int FlexGrid::Row() const
{
    return m_row;
}

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        return;
    moveCurrent(row, KeepCol, row, KeepCol);
}

int FlexGrid::Col() const
{
    return m_col;
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= Cols())
        return;
    moveCurrent(KeepRow, col, KeepRow, col);
}

int FlexGrid::RowSel() const
{
    return m_rowSel;
}

void FlexGrid::setRowSel(int row)
{
    if (row < 0 || row >= Rows())
        return;
    m_rowSel = row;
    syncView();
}

int FlexGrid::ColSel() const
{
    return m_colSel;
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= Cols())
        return;
    m_colSel = col;
    syncView();
}

QColor FlexGrid::BackColor() const
{
    return m_model->gridBackColor();
}

void FlexGrid::setBackColor(const QColor &color)
{
    m_model->setGridBackColor(color);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

QColor FlexGrid::BackColorSel() const
{
    return m_model->selectionBackColor();
}

QColor FlexGrid::ForeColor() const
{
    return m_model->gridForeColor();
}

QColor FlexGrid::CellBackColor() const
{
    const QColor own = m_model->cellBackColor(m_row, m_col);
    return own.isValid() ? own : BackColor();
}

void FlexGrid::setCellBackColor(const QColor &color)
{
    const Range range = fillRange();
    m_model->setBackColor(range.top, range.left, range.bottom, range.right, color);
}

QColor FlexGrid::CellForeColor() const
{
    const QColor own = m_model->cellForeColor(m_row, m_col);
    return own.isValid() ? own : ForeColor();
}

void FlexGrid::setCellForeColor(const QColor &color)
{
    const Range range = fillRange();
    m_model->setForeColor(range.top, range.left, range.bottom, range.right, color);
}

int FlexGrid::FillStyle() const
{
    return m_fillStyle;
}

void FlexGrid::setFillStyle(int style)
{
    if (style == 0 || style == 1)
        m_fillStyle = style;
}

void FlexGrid::markCells(const std::vector<RowCells> &cells, const QColor &text)
{
    m_model->markCells(cells, text);
}

bool FlexGrid::isHighlighted(int row, int col) const
{
    return m_model->isHighlighted(row, col);
}

bool FlexGrid::hasBackColour(int row) const
{
    return m_model->hasBackColour(row);
}

void FlexGrid::clearHighlights()
{
    m_model->clearHighlights();
}

bool FlexGrid::Redraw() const
{
    return updatesEnabled();
}

void FlexGrid::setRedraw(bool on)
{
    // Enabling updates again repaints the whole grid once.
    setUpdatesEnabled(on);
}

void FlexGrid::applyColWidth(int col)
{
    const int pixels = Twips::toPixels(m_colTwips.at(col));
    m_applyingWidth = true;
    if (col == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        horizontalHeader()->resizeSection(col - 1, pixels);
    m_applyingWidth = false;
}

int FlexGrid::ColWidth(int col) const
{
    return col >= 0 && col < m_colTwips.size() && col < Cols() ? m_colTwips.at(col) : 0;
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols() || col >= m_colTwips.size())
        return;
    m_colTwips[col] = std::max(twips, 0);
    applyColWidth(col);
}

int FlexGrid::RowHeight(int row) const
{
    if (row == 0)
        return Twips::fromPixels(horizontalHeader()->sizeHint().height());
    if (row > 0 && row < Rows())
        return Twips::fromPixels(verticalHeader()->defaultSectionSize());
    return 0;
}

int FlexGrid::LeftCol() const
{
    const int section = horizontalHeader()->logicalIndexAt(0);
    return section < 0 ? 1 : section + 1;
}

int FlexGrid::MouseRow() const
{
    int row, col;
    cellAt(m_mouse, &row, &col);
    return row;
}

int FlexGrid::MouseCol() const
{
    int row, col;
    cellAt(m_mouse, &row, &col);
    return col;
}

int FlexGrid::SelectionMode() const
{
    return m_selectionMode;
}

void FlexGrid::setSelectionMode(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    m_selectionMode = mode;
    setSelectionBehavior(
        mode == 1 ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    syncView();
}

void FlexGrid::Sort(int mode)
{
    if (mode == 1 || mode == 2)
        m_model->sortRows(m_col, mode == 1);
}

FlexGrid::QuietMoves::QuietMoves(FlexGrid &grid)
    : m_grid(grid)
{
    ++m_grid.m_quiet;
}

FlexGrid::QuietMoves::~QuietMoves()
{
    if (--m_grid.m_quiet == 0)
        m_grid.syncView();
}

FlexGrid::Walk::Walk(FlexGrid &grid)
    : m_quiet(grid)
    , m_grid(grid)
    , m_row(grid.m_row)
    , m_col(grid.m_col)
    , m_rowSel(grid.m_rowSel)
    , m_colSel(grid.m_colSel)
{
}

FlexGrid::Walk::~Walk()
{
    m_grid.m_row = m_row;
    m_grid.m_col = m_col;
    m_grid.m_rowSel = m_rowSel;
    m_grid.m_colSel = m_colSel;
    m_grid.clampCurrent();
}

FlexGrid::RedrawOff::RedrawOff(FlexGrid &grid)
    : m_grid(grid)
    , m_was(grid.Redraw())
{
    m_grid.setRedraw(false);
}

FlexGrid::RedrawOff::~RedrawOff()
{
    m_grid.setRedraw(m_was);
}

FlexGrid::Range FlexGrid::currentRange() const
{
    return {std::min(m_row, m_rowSel), std::min(m_col, m_colSel), std::max(m_row, m_rowSel),
        std::max(m_col, m_colSel)};
}

FlexGrid::Range FlexGrid::fillRange() const
{
    if (m_fillStyle == 1)
        return currentRange();
    return {m_row, m_col, m_row, m_col};
}

void FlexGrid::clampCurrent()
{
    const auto clamp = [](int value, int last) { return std::clamp(value, 0, std::max(last, 0)); };
    m_row = clamp(m_row, Rows() - 1);
    m_rowSel = clamp(m_rowSel, Rows() - 1);
    m_col = clamp(m_col, Cols() - 1);
    m_colSel = clamp(m_colSel, Cols() - 1);
}

void FlexGrid::releaseSync()
{
    if (--m_holdSync == 0 && m_viewDirty)
        syncView();
}

void FlexGrid::syncView()
{
    if (m_holdSync > 0 || m_quiet > 0) {
        m_viewDirty = true;
        return;
    }
    m_viewDirty = false;
    const QModelIndex current
        = m_row >= 1 && m_col >= 1 ? m_model->index(m_row - 1, m_col - 1) : QModelIndex();
    Range range = currentRange();
    if (m_selectionMode == 1) {
        range.left = 1;
        range.right = Cols() - 1;
    }
    range.top = std::max(range.top, 1);
    range.left = std::max(range.left, 1);
    QItemSelectionModel *selection = selectionModel();
    if (selection->currentIndex() != current)
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (range.top != m_shown.top || range.left != m_shown.left || range.bottom != m_shown.bottom
        || range.right != m_shown.right) {
        m_shown = range;
        viewport()->update();
    }
}

bool FlexGrid::showsRange(int row, int col) const
{
    return row >= m_shown.top && row <= m_shown.bottom && col >= m_shown.left
        && col <= m_shown.right;
}

void FlexGrid::moveCurrent(int row, int col, int rowSel, int colSel)
{
    // Keep* stand for the current cell's row or column as it is when the move
    // happens, after the LeaveCell handlers may have moved it themselves.
    const auto apply = [&] {
        const int newRow = row == KeepRow ? m_row : row;
        const int newCol = col == KeepCol ? m_col : col;
        m_rowSel = rowSel == KeepRow ? newRow : rowSel;
        m_colSel = colSel == KeepCol ? newCol : colSel;
        m_row = newRow;
        m_col = newCol;
    };
    const bool same = (row == KeepRow || row == m_row) && (col == KeepCol || col == m_col);
    // Moves made by the handlers of these events raise none of their own:
    // the handlers move the range while painting, which must not recurse.
    if (same || m_quiet > 0 || m_raisingCellEvents) {
        apply();
        syncView();
        return;
    }
    holdSync();
    m_raisingCellEvents = true;
    Q_EMIT LeaveCell();
    apply();
    m_viewDirty = true;
    Q_EMIT EnterCell();
    Q_EMIT RowColChange();
    m_raisingCellEvents = false;
    releaseSync();
}
