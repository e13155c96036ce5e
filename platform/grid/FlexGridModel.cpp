#include "platform/grid/FlexGridModel.h"

#include "platform/grid/FlexGrid.h"
#include "platform/grid/GridCellOrder.h"

#include <QFont>

#include <algorithm>
#include <limits>
#include <numeric>

FlexGridModel::FlexGridModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_selectionBack(FlexGrid::SelectionColor)
{
    m_palette.append(0);
}

bool FlexGridModel::validCell(int row, int col) const
{
    return row >= 0 && row < rows() && col >= 0 && col < m_cols;
}

void FlexGridModel::setRows(int newRows)
{
    const int data = std::max(newRows, 1) - 1;
    if (data == m_dataRows)
        return;
    if (data > m_dataRows) {
        beginInsertRows({}, m_dataRows, data - 1);
        m_cells.resize(static_cast<size_t>(data) * stride(), GridTextPool::Empty);
        m_dataRows = data;
        endInsertRows();
        return;
    }
    beginRemoveRows({}, data, m_dataRows - 1);
    for (int r = data + 1; r <= m_dataRows; ++r) {
        if (const quint32 slot = slotOf(r))
            freeSlot(slot);
    }
    m_cells.resize(static_cast<size_t>(data) * stride());
    m_dataRows = data;
    endRemoveRows();
}

void FlexGridModel::setCols(int newCols)
{
    newCols = std::max(newCols, 1);
    if (newCols == m_cols)
        return;
    beginResetModel();
    std::vector<quint32> cells(
        static_cast<size_t>(m_dataRows) * (newCols + 2), GridTextPool::Empty);
    const int kept = std::min(m_cols, newCols);
    for (int r = 1; r <= m_dataRows; ++r) {
        const quint32 *from = rowCells(r);
        quint32 *to = cells.data() + (r - 1) * (newCols + 2);
        std::copy(from, from + kept, to);
        to[newCols + 1] = from[m_cols + 1];
    }
    m_cells.swap(cells);
    m_cols = newCols;
    // Slots are laid out by the column count; the colours go with it.
    m_slotColours.clear();
    m_freeSlots.clear();
    m_backSlots.clear();
    m_slotBackCount.clear();
    m_backSlotAt.clear();
    while (m_captions.size() > newCols)
        m_captions.removeLast();
    while (m_captions.size() < newCols)
        m_captions.append(QString());
    while (m_alignments.size() > newCols)
        m_alignments.removeLast();
    while (m_alignments.size() < newCols)
        m_alignments.append(Qt::AlignLeft);
    endResetModel();
}

quint32 FlexGridModel::textId(int row, int col) const
{
    if (!validCell(row, col) || row == 0)
        return GridTextPool::Empty;
    return rowCells(row)[col];
}

QString FlexGridModel::text(int row, int col) const
{
    if (!validCell(row, col))
        return {};
    if (row == 0)
        return m_captions.at(col);
    return m_pool.text(rowCells(row)[col]);
}

void FlexGridModel::setText(int row, int col, const QString &text)
{
    if (!validCell(row, col))
        return;
    if (row == 0) {
        m_captions[col] = text;
        if (col == 0)
            Q_EMIT headerDataChanged(Qt::Vertical, 0, 0);
        else
            Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    rowCells(row)[col] = m_pool.intern(text);
    notifyCells(row, col, row, col, {Qt::DisplayRole, Qt::AccessibleTextRole});
}

Qt::Alignment FlexGridModel::alignment(int col) const
{
    return col >= 0 && col < m_cols ? m_alignments.at(col) : Qt::AlignLeft;
}

void FlexGridModel::setAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= m_cols)
        return;
    m_alignments[col] = alignment;
    notifyCells(1, col, m_dataRows, col);
}

bool FlexGridModel::insertRowTexts(int index, const QList<QStringList> &texts)
{
    if (index < 1 || index > rows())
        return false;
    if (texts.isEmpty())
        return true;
    const int count = static_cast<int>(texts.size());
    beginInsertRows({}, index - 1, index - 1 + count - 1);
    std::vector<quint32> block(static_cast<size_t>(count) * stride(), GridTextPool::Empty);
    for (int i = 0; i < count; ++i) {
        const QStringList &cells = texts.at(i);
        const int n = std::min(static_cast<int>(cells.size()), m_cols);
        quint32 *to = block.data() + i * stride();
        for (int c = 0; c < n; ++c)
            to[c] = m_pool.intern(cells.at(c));
    }
    m_cells.insert(m_cells.begin() + (index - 1) * stride(), block.begin(), block.end());
    m_dataRows += count;
    endInsertRows();
    return true;
}

bool FlexGridModel::insertRowTexts(int index, const QStringList &cells)
{
    if (index < 1 || index > rows())
        return false;
    beginInsertRows({}, index - 1, index - 1);
    const auto at = m_cells.insert(m_cells.begin() + (index - 1) * stride(),
        static_cast<size_t>(stride()), GridTextPool::Empty);
    const int n = std::min(static_cast<int>(cells.size()), m_cols);
    for (int c = 0; c < n; ++c)
        at[c] = m_pool.intern(cells.at(c));
    ++m_dataRows;
    endInsertRows();
    return true;
}

bool FlexGridModel::insertRowSource(int index, const GridRowSource &source)
{
    const qsizetype count = source.rowCount();
    if (index < 1 || index > rows() || count > std::numeric_limits<int>::max() - m_dataRows)
        return false;
    if (count <= 0)
        return true;
    const int width = std::max(source.columnCount(), 0);
    const int used = std::min(width, m_cols);
    // No id of the pool has every bit set: numbers stop at nine digits.
    constexpr quint32 Unknown = 0xffffffffu;
    std::vector<quint32> sharedIds(static_cast<size_t>(source.sharedTextCount()), Unknown);
    std::vector<GridRowSource::Cell> cells(static_cast<size_t>(width));
    // At most every shared text once, and never more than the cells.
    m_pool.reserve(std::min<qsizetype>(static_cast<qsizetype>(sharedIds.size()), count * used));
    beginInsertRows({}, index - 1, index - 1 + static_cast<int>(count) - 1);
    const auto at = m_cells.insert(m_cells.begin() + (index - 1) * stride(),
        static_cast<size_t>(count) * stride(), GridTextPool::Empty);
    quint32 *to = &*at;
    for (qsizetype i = 0; i < count; ++i, to += stride()) {
        to[m_cols + 1] = static_cast<quint32>(source.rowData(i)) + 1u;
        source.cells(i, cells.data());
        for (int c = 0; c < used; ++c) {
            const GridRowSource::Cell &cell = cells[static_cast<size_t>(c)];
            if (cell.kind == GridRowSource::Cell::Number) {
                to[c] = m_pool.internNumber(cell.value);
            } else if (cell.kind == GridRowSource::Cell::Shared && cell.value < sharedIds.size()) {
                quint32 &id = sharedIds[cell.value];
                if (id == Unknown)
                    id = m_pool.intern(source.sharedText(cell.value));
                to[c] = id;
            }
        }
    }
    m_dataRows += static_cast<int>(count);
    endInsertRows();
    return true;
}

bool FlexGridModel::removeDataRow(int row)
{
    if (row < 1 || row > m_dataRows)
        return false;
    beginRemoveRows({}, row - 1, row - 1);
    if (const quint32 slot = slotOf(row))
        freeSlot(slot);
    const auto from = m_cells.begin() + (row - 1) * stride();
    m_cells.erase(from, from + stride());
    --m_dataRows;
    endRemoveRows();
    return true;
}

int FlexGridModel::removeDataRows(const QList<int> &rows)
{
    std::vector<char> doomed(static_cast<size_t>(m_dataRows) + 1, 0);
    int count = 0;
    int first = m_dataRows + 1;
    int last = 0;
    for (const int row : rows) {
        if (row < 1 || row > m_dataRows || doomed[static_cast<size_t>(row)])
            continue;
        doomed[static_cast<size_t>(row)] = 1;
        ++count;
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (count == 0)
        return 0;
    const bool oneBlock = last - first + 1 == count;
    // Scattered rows would take one removal, and one pass of the views, per
    // block; a reset lets the views start over once.
    if (oneBlock)
        beginRemoveRows({}, first - 1, last - 1);
    else
        beginResetModel();
    quint32 *to = rowCells(first);
    for (int r = first; r <= m_dataRows; ++r) {
        const quint32 *from = rowCells(r);
        if (doomed[static_cast<size_t>(r)]) {
            if (const quint32 slot = from[m_cols])
                freeSlot(slot);
            continue;
        }
        if (to != from)
            std::copy_n(from, stride(), to);
        to += stride();
    }
    m_dataRows -= count;
    m_cells.resize(static_cast<size_t>(m_dataRows) * stride());
    if (oneBlock)
        endRemoveRows();
    else
        endResetModel();
    return count;
}

void FlexGridModel::renumberRows()
{
    for (int r = 1; r <= m_dataRows; ++r)
        rowCells(r)[0] = m_pool.internNumber(static_cast<quint32>(r));
    notifyCells(1, 0, m_dataRows, 0);
}

qint32 FlexGridModel::rowData(int row) const
{
    if (row < 1 || row > m_dataRows)
        return NoRowData;
    return static_cast<qint32>(rowCells(row)[m_cols + 1] - 1u);
}

void FlexGridModel::setRowData(int row, qint32 value)
{
    if (row >= 1 && row <= m_dataRows)
        dataOf(row) = static_cast<quint32>(value) + 1u;
}

void FlexGridModel::clearCells()
{
    beginResetModel();
    std::fill(m_cells.begin(), m_cells.end(), GridTextPool::Empty);
    for (QString &caption : m_captions)
        caption.clear();
    m_pool.clear();
    m_slotColours.clear();
    m_freeSlots.clear();
    m_backSlots.clear();
    m_slotBackCount.clear();
    m_backSlotAt.clear();
    m_palette.resize(1);
    endResetModel();
}

void FlexGridModel::setGridBackColor(const QColor &color)
{
    m_gridBack = color;
    notifyCells(1, 0, m_dataRows, m_cols - 1);
}

quint16 FlexGridModel::paletteIndex(QRgb rgb)
{
    const qsizetype found = m_palette.indexOf(rgb, 1);
    if (found > 0)
        return static_cast<quint16>(found);
    // A grid paints with a handful of colours; past 65535 distinct ones the
    // newest replaces the last entry rather than overflowing the index.
    if (m_palette.size() > 0xffff)
        m_palette.removeLast();
    m_palette.append(rgb);
    return static_cast<quint16>(m_palette.size() - 1);
}

quint16 *FlexGridModel::slotColours(quint32 slot)
{
    return m_slotColours.data() + (slot - 1) * slotWidth();
}

const quint16 *FlexGridModel::slotColours(quint32 slot) const
{
    return m_slotColours.data() + (slot - 1) * slotWidth();
}

bool FlexGridModel::setBit(quint16 *bits, int col, bool on)
{
    quint16 &word = bits[col / 16];
    const quint16 mask = static_cast<quint16>(1u << (col % 16));
    const quint16 was = word;
    word = static_cast<quint16>(on ? word | mask : word & ~mask);
    return word != was;
}

quint32 FlexGridModel::takeSlot()
{
    if (!m_freeSlots.empty()) {
        const quint32 slot = m_freeSlots.back();
        m_freeSlots.pop_back();
        std::fill_n(slotColours(slot), slotWidth(), quint16(0));
        return slot;
    }
    const size_t width = slotWidth();
    m_slotColours.resize(m_slotColours.size() + width, 0);
    m_slotBackCount.push_back(0);
    m_backSlotAt.push_back(0);
    return static_cast<quint32>(m_slotColours.size() / width);
}

void FlexGridModel::freeSlot(quint32 slot)
{
    countBacks(slot, 0, static_cast<int>(m_slotBackCount[slot - 1]));
    m_freeSlots.push_back(slot);
}

void FlexGridModel::releaseSlotIfEmpty(int row)
{
    const quint32 slot = slotOf(row);
    if (!slot)
        return;
    const quint16 *colours = slotColours(slot);
    if (std::all_of(colours, colours + slotWidth(), [](quint16 c) { return c == 0; })) {
        freeSlot(slot);
        slotOf(row) = 0;
    }
}

void FlexGridModel::countBacks(quint32 slot, int gained, int lost)
{
    quint32 &count = m_slotBackCount[slot - 1];
    const bool had = count > 0;
    count = static_cast<quint32>(static_cast<int>(count) + gained - lost);
    quint32 &at = m_backSlotAt[slot - 1];
    if (!had && count > 0) {
        m_backSlots.push_back(slot);
        at = static_cast<quint32>(m_backSlots.size());
    } else if (had && count == 0) {
        // The last entry takes the place of the one that goes.
        const quint32 moved = m_backSlots.back();
        m_backSlots[at - 1] = moved;
        m_backSlotAt[moved - 1] = at;
        m_backSlots.pop_back();
        at = 0;
    }
}

QRgb FlexGridModel::colourAt(int row, int col, Layer layer) const
{
    if (row < 1 || !validCell(row, col))
        return 0;
    const quint32 slot = slotOf(row);
    if (!slot)
        return 0;
    const quint16 *colours = slotColours(slot);
    if (layer == Back && bitOf(colours, col))
        return m_selectionBack.rgba();
    const quint16 index = colours[layerOffset(layer) + col];
    return index ? m_palette.at(index) : 0;
}

QColor FlexGridModel::cellBackColor(int row, int col) const
{
    const QRgb rgb = colourAt(row, col, Back);
    return rgb ? QColor::fromRgba(rgb) : QColor();
}

QColor FlexGridModel::cellForeColor(int row, int col) const
{
    const QRgb rgb = colourAt(row, col, Fore);
    return rgb ? QColor::fromRgba(rgb) : QColor();
}

void FlexGridModel::setBackColor(int top, int left, int bottom, int right, const QColor &color)
{
    setColour(top, left, bottom, right, color, Back);
}

void FlexGridModel::setForeColor(int top, int left, int bottom, int right, const QColor &color)
{
    setColour(top, left, bottom, right, color, Fore);
}

void FlexGridModel::setColour(
    int top, int left, int bottom, int right, const QColor &color, Layer layer)
{
    top = std::max(top, 1);
    // The number column is never highlighted: a background there would
    // select a row for the commands that the user cannot see.
    left = std::max(left, layer == Back ? 1 : 0);
    bottom = std::min(bottom, m_dataRows);
    right = std::min(right, m_cols - 1);
    if (top > bottom || left > right)
        return;
    const QColor plain = layer == Back ? m_gridBack : m_gridFore;
    // The grid's own colour, or none given, means the cell has no colour.
    const bool none = !color.isValid() || color.rgba() == plain.rgba() || color.rgba() == 0;
    // The selection colour as a background is a highlight, kept as a bit.
    const bool highlight = layer == Back && !none && color.rgba() == m_selectionBack.rgba();
    const quint16 index = none || highlight ? 0 : paletteIndex(color.rgba());
    bool changed = false;
    for (int r = top; r <= bottom; ++r) {
        quint32 slot = slotOf(r);
        if (!slot) {
            if (none)
                continue;
            slot = takeSlot();
            slotOf(r) = slot;
        }
        quint16 *bits = slotColours(slot);
        quint16 *colours = bits + layerOffset(layer);
        int gained = 0;
        int lost = 0;
        for (int c = left; c <= right; ++c) {
            const bool had = colours[c] != 0 || (layer == Back && bitOf(bits, c));
            if (colours[c] != index) {
                colours[c] = index;
                changed = true;
            }
            if (layer == Back && setBit(bits, c, highlight))
                changed = true;
            gained += !had && !none;
            lost += had && none;
        }
        if (layer == Back && gained != lost)
            countBacks(slot, gained, lost);
        if (none)
            releaseSlotIfEmpty(r);
    }
    if (changed)
        notifyCells(top, left, bottom, right,
            {layer == Back ? Qt::BackgroundRole : Qt::ForegroundRole,
                Qt::AccessibleDescriptionRole});
}

void FlexGridModel::markCells(const std::vector<RowCells> &cells, const QColor &fore)
{
    const bool plain = !fore.isValid() || fore.rgba() == m_gridFore.rgba();
    const quint16 index = plain ? 0 : paletteIndex(fore.rgba());
    const quint32 inGrid = m_cols >= 32 ? ~0u : (1u << m_cols) - 1;
    int top = m_dataRows + 1;
    int bottom = 0;
    for (const RowCells &at : cells) {
        const quint32 cols = at.cols & inGrid;
        if (at.row < 1 || at.row > m_dataRows || cols == 0)
            continue;
        quint32 slot = slotOf(at.row);
        if (!slot) {
            if (plain)
                continue;
            slot = takeSlot();
            slotOf(at.row) = slot;
        }
        quint16 *bits = slotColours(slot);
        quint16 *backs = bits + layerOffset(Back);
        quint16 *fores = bits + layerOffset(Fore);
        int lost = 0;
        for (int c = 0; c < m_cols; ++c) {
            if (((cols >> c) & 1) == 0)
                continue;
            fores[c] = index;
            lost += backs[c] != 0 || bitOf(bits, c) ? 1 : 0;
            backs[c] = 0;
            setBit(bits, c, false);
        }
        if (lost > 0)
            countBacks(slot, 0, lost);
        if (plain)
            releaseSlotIfEmpty(at.row);
        top = std::min(top, at.row);
        bottom = std::max(bottom, at.row);
    }
    notifyCells(top, 1, bottom, m_cols - 1,
        {Qt::BackgroundRole, Qt::ForegroundRole, Qt::AccessibleDescriptionRole});
}

bool FlexGridModel::isHighlighted(int row, int col) const
{
    const QRgb back = colourAt(row, col, Back);
    return back && back != m_gridBack.rgba();
}

bool FlexGridModel::hasBackColour(int row) const
{
    if (row < 1 || row > m_dataRows)
        return false;
    const quint32 slot = slotOf(row);
    return slot && m_slotBackCount[slot - 1] > 0;
}

void FlexGridModel::clearHighlights()
{
    if (m_backSlots.empty())
        return;
    const int bitsAndBacks = layerOffset(Fore);
    for (const quint32 slot : m_backSlots) {
        std::fill_n(slotColours(slot), bitsAndBacks, quint16(0));
        m_slotBackCount[slot - 1] = 0;
        m_backSlotAt[slot - 1] = 0;
    }
    m_backSlots.clear();
    // The rows behind the slots are not known: one change over the whole
    // grid costs the views no more than one over a few rows.
    if (m_cols > 1)
        Q_EMIT dataChanged(index(0, 0), index(m_dataRows - 1, m_cols - 2),
            {Qt::BackgroundRole, Qt::AccessibleDescriptionRole});
}

QString FlexGridModel::marksOf(int row, int col) const
{
    QStringList marks;
    if (isHighlighted(row, col))
        marks.append(QStringLiteral("已选中"));
    const QRgb fore = colourAt(row, col, Fore) ? colourAt(row, col, Fore) : m_gridFore.rgba();
    if (fore == FlexGrid::BlueColor.rgba())
        marks.append(QStringLiteral("文件不存在"));
    else if (fore == FlexGrid::RedColor.rgba())
        marks.append(QStringLiteral("处理失败"));
    const Look look = lookOf(row, col);
    if (look.struck)
        marks.append(QStringLiteral("将删除"));
    if (look.bold)
        marks.append(QStringLiteral("受保护"));
    return marks.join(QStringLiteral("，"));
}

void FlexGridModel::setLookTest(LookTest test)
{
    m_look = std::move(test);
    lookChanged();
}

void FlexGridModel::lookChanged()
{
    if (m_dataRows > 0 && m_cols > 1)
        Q_EMIT dataChanged(index(0, 0), index(m_dataRows - 1, m_cols - 2),
            {Qt::FontRole, Qt::AccessibleDescriptionRole});
}

FlexGridModel::Look FlexGridModel::lookOf(int row, int col) const
{
    if (!m_look || row < 1 || row > m_dataRows)
        return {};
    return m_look(rowData(row), col);
}

void FlexGridModel::sortRows(int col, bool ascending)
{
    if (col < 0 || col >= m_cols || m_dataRows < 2)
        return;
    const int n = m_dataRows;
    std::vector<quint32> ids(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r)
        ids[r - 1] = rowCells(r)[col];

    // Order the distinct texts once, then the rows by their text's rank: rows
    // that share a text never compare characters again. A stored text's id
    // indexes the pool, so its place among the distinct ids is a table
    // lookup; only the numbers, which take no storage, are sorted.
    constexpr quint32 Absent = std::numeric_limits<quint32>::max();
    std::vector<quint32> placeOfStored(static_cast<size_t>(m_pool.storedCount()), Absent);
    std::vector<quint32> numbers;
    numbers.reserve(ids.size());
    for (const quint32 id : ids) {
        if (GridTextPool::isNumberId(id))
            numbers.push_back(id);
        else
            placeOfStored[id] = 0;
    }
    std::vector<quint32> distinct;
    for (size_t id = 0; id < placeOfStored.size(); ++id) {
        if (placeOfStored[id] != Absent) {
            placeOfStored[id] = static_cast<quint32>(distinct.size());
            distinct.push_back(static_cast<quint32>(id));
        }
    }
    const size_t firstNumber = distinct.size();
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    distinct.insert(distinct.end(), numbers.begin(), numbers.end());
    const auto placeOf = [&](quint32 id) {
        if (!GridTextPool::isNumberId(id))
            return static_cast<size_t>(placeOfStored[id]);
        return static_cast<size_t>(
            std::lower_bound(distinct.begin() + firstNumber, distinct.end(), id)
            - distinct.begin());
    };
    std::vector<GridCellOrder::Key> keys;
    keys.reserve(distinct.size());
    for (const quint32 id : distinct) {
        if (GridTextPool::isNumberId(id)) {
            GridCellOrder::Key key;
            key.number = true;
            key.value = GridTextPool::numberOf(id);
            keys.push_back(key);
        } else {
            keys.push_back(GridCellOrder::keyOf(m_pool.stored(id)));
        }
    }
    std::vector<quint32> byKey(distinct.size());
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::sort(byKey.begin(), byKey.end(),
        [&](quint32 a, quint32 b) { return GridCellOrder::compare(keys[a], keys[b]) < 0; });
    std::vector<quint32> rank(distinct.size());
    quint32 ranks = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && GridCellOrder::compare(keys[byKey[i - 1]], keys[byKey[i]]) != 0)
            ++ranks;
        rank[byKey[i]] = ranks;
    }
    ++ranks;

    // Counting sort by rank keeps rows of equal keys in their order, in both
    // directions.
    std::vector<quint32> rowRank(static_cast<size_t>(n));
    std::vector<quint32> start(ranks + 1, 0);
    for (int i = 0; i < n; ++i) {
        quint32 k = rank[placeOf(ids[i])];
        if (!ascending)
            k = ranks - 1 - k;
        rowRank[i] = k;
        ++start[k + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> newRowOf(static_cast<size_t>(n));
    std::vector<quint32> sorted(m_cells.size());
    for (int i = 0; i < n; ++i) {
        const int to = static_cast<int>(start[rowRank[i]]++);
        newRowOf[i] = to;
        std::copy_n(m_cells.data() + i * stride(), stride(), sorted.data() + to * stride());
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_cells.swap(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FlexGridModel::notifyCells(int top, int left, int bottom, int right, const QList<int> &roles)
{
    top = std::max(top, 1);
    if (top > bottom || left > right)
        return;
    if (right >= 1) {
        Q_EMIT dataChanged(
            index(top - 1, std::max(left, 1) - 1), index(bottom - 1, right - 1), roles);
    }
    if (left == 0)
        Q_EMIT headerDataChanged(Qt::Vertical, top - 1, bottom - 1);
}

int FlexGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_dataRows;
}

int FlexGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(m_cols - 1, 0);
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

QVariant FlexGridModel::cellData(int row, int col, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(col) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (const QRgb rgb = colourAt(row, col, Back))
            return QColor::fromRgba(rgb);
        return {};
    case Qt::ForegroundRole:
        if (const QRgb rgb = colourAt(row, col, Fore))
            return QColor::fromRgba(rgb);
        return {};
    case Qt::AccessibleDescriptionRole:
        return marksOf(row, col);
    case Qt::FontRole: {
        const Look look = lookOf(row, col);
        if (!look.struck && !look.bold)
            return {};
        // Only what differs is set, so the view's own font fills the rest.
        QFont font;
        if (look.struck)
            font.setStrikeOut(true);
        if (look.bold)
            font.setBold(true);
        return font;
    }
    default:
        return {};
    }
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_dataRows || index.column() + 1 >= m_cols)
        return {};
    return cellData(index.row() + 1, index.column() + 1, role);
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section + 1 >= m_cols)
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return m_captions.at(section + 1);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(alignment(section + 1) | Qt::AlignVCenter);
        return {};
    }
    if (section < 0 || section >= m_dataRows)
        return {};
    // Colours of the number column stay the header's own: the style paints
    // fixed cells.
    if (role == Qt::BackgroundRole)
        return {};
    return cellData(section + 1, 0, role);
}
