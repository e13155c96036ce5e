#pragma once

#include "core/GridRowSource.h"
#include "platform/grid/GridTextPool.h"
#include "platform/grid/RowCells.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <functional>
#include <vector>

// The cell store of FlexGrid, addressed in grid coordinates: row 0 is the
// header row (the captions), column 0 the fixed number column. The item model
// shows data rows 1.. as model rows 0.. and columns 1.. as model columns 0..;
// column 0 of a data row reaches the view as the vertical header.
//
// A row is Cols() text ids, one colour slot id and the row's data word (what
// the row stands for, e.g. a record's index), kept in one flat array, so a
// million rows cost a few dozen bytes each and the data moves with its row.
// Colours live in slots that only rows with a coloured cell own; a colour
// equal to the grid's own background or text colour is stored as no colour.
// A highlight is no colour but one bit a cell in the row's slot: the
// selection colour is drawn from it, so a highlighted cell reports that
// colour as its background.
class FlexGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FlexGridModel(QObject *parent = nullptr);

    int rows() const { return m_dataRows + 1; }
    int cols() const { return m_cols; }
    void setRows(int rows);
    void setCols(int cols);

    QString text(int row, int col) const;
    // Equal for cells of equal text, until the texts are emptied: a cheap
    // key for telling which cells show the same text.
    quint32 textId(int row, int col) const;
    void setText(int row, int col, const QString &text);
    Qt::Alignment alignment(int col) const;
    void setAlignment(int col, Qt::Alignment alignment);

    // Inserts the rows in front of grid row index (1 .. rows()).
    bool insertRowTexts(int index, const QList<QStringList> &rows);
    bool insertRowTexts(int index, const QStringList &cells);
    // Inserts the source's rows in front of grid row index, storing each of
    // its shared texts once however many cells use it.
    bool insertRowSource(int index, const GridRowSource &source);
    bool removeDataRow(int row);
    // Removes the given data rows (any order; repeats and indexes outside
    // 1 .. rows() - 1 are passed over) in one pass over the store. One block
    // of adjacent rows is announced as a removal, scattered rows as a reset.
    // Returns how many rows went.
    int removeDataRows(const QList<int> &rows);
    // Column 0 of every data row becomes its row number, 1 .. rows() - 1.
    void renumberRows();

    // The data word of a data row: NoRowData until set, and for rows
    // inserted as texts; a row source gives each of its rows its own.
    static constexpr qint32 NoRowData = -1;
    qint32 rowData(int row) const;
    void setRowData(int row, qint32 value);
    // Empties every text, captions included, and drops every cell colour.
    void clearCells();

    QColor gridBackColor() const { return m_gridBack; }
    void setGridBackColor(const QColor &color);
    QColor gridForeColor() const { return m_gridFore; }
    // The background a highlighted cell shows and reports.
    QColor selectionBackColor() const { return m_selectionBack; }
    // Invalid when the cell has no colour of its own.
    QColor cellBackColor(int row, int col) const;
    QColor cellForeColor(int row, int col) const;
    // Colours the cells rows top..bottom by columns left..right; row 0 has
    // no cell colours, and column 0 no background. The selection colour as a
    // background highlights the cells; any other colour takes it away.
    void setBackColor(int top, int left, int bottom, int right, const QColor &color);
    void setForeColor(int top, int left, int bottom, int right, const QColor &color);
    // Gives every listed cell this text colour and takes its highlight and
    // background away, as one change however many cells there are.
    void markCells(const std::vector<RowCells> &cells, const QColor &fore);
    // A cell is highlighted when its background differs from the grid's.
    bool isHighlighted(int row, int col) const;
    // Whether some cell of the data row has a background of its own: a
    // highlight or another colour. Rows without one need no cell read.
    bool hasBackColour(int row) const;
    // Gives every cell the grid's background again; text colours stay. Costs
    // as much as the rows holding a highlight or a background colour, not
    // the whole grid.
    void clearHighlights();
    // Rows holding a highlight or a background colour of their own.
    qsizetype backColouredRowCount() const { return m_backSlots.size(); }

    // Stable sort of the data rows by one column's texts, in GridCellOrder.
    void sortRows(int col, bool ascending);

    // Distinct texts stored, the empty text included.
    qsizetype storedTextCount() const { return m_pool.storedCount(); }

    // What only colours and fonts show, for assistive technology: what each
    // mark means ("已选中", "文件不存在", "处理失败", "将删除", "受保护").
    QString marksOf(int row, int col) const;

    // How a cell's text is drawn beyond its colours, asked of the cell's row
    // data word and column while a test is set: struck through (a file a
    // removal would take) or bold (a file kept out of every removal). None is
    // set at first, and then no cell pays for it.
    struct Look
    {
        bool struck = false;
        bool bold = false;
    };
    using LookTest = std::function<Look(qint32 rowData, int col)>;
    void setLookTest(LookTest test);
    // The test's answers changed: the data cells are read again.
    void lookChanged();
    Look lookOf(int row, int col) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    enum Layer { Back, Fore };

    qsizetype stride() const { return m_cols + 2; }
    // A slot's words: the highlight bits, sixteen cells a word, then the
    // backgrounds and the text colours. Bits and backgrounds side by side
    // are cleared in one stroke.
    int bitWords() const { return (m_cols + 15) / 16; }
    size_t slotWidth() const { return bitWords() + 2 * static_cast<size_t>(m_cols); }
    int layerOffset(Layer layer) const { return bitWords() + layer * m_cols; }
    quint32 *rowCells(int row) { return m_cells.data() + (row - 1) * stride(); }
    const quint32 *rowCells(int row) const { return m_cells.data() + (row - 1) * stride(); }
    quint32 &slotOf(int row) { return rowCells(row)[m_cols]; }
    quint32 slotOf(int row) const { return rowCells(row)[m_cols]; }
    // Kept as value + 1, so that a row filled with Empty ids has no data.
    quint32 &dataOf(int row) { return rowCells(row)[m_cols + 1]; }
    bool validCell(int row, int col) const;
    QVariant cellData(int row, int col, int role) const;
    quint16 paletteIndex(QRgb rgb);
    QRgb colourAt(int row, int col, Layer layer) const;
    static bool bitOf(const quint16 *bits, int col) { return (bits[col / 16] >> (col % 16)) & 1; }
    static bool setBit(quint16 *bits, int col, bool on);
    void setColour(int top, int left, int bottom, int right, const QColor &color, Layer layer);
    quint16 *slotColours(quint32 slot);
    const quint16 *slotColours(quint32 slot) const;
    quint32 takeSlot();
    // Back to the free slots, and out of the rows that hold backgrounds.
    void freeSlot(quint32 slot);
    void releaseSlotIfEmpty(int row);
    // Keeps m_backSlots in step with a slot's count of background cells.
    void countBacks(quint32 slot, int gained, int lost);
    void releaseAllSlots();
    // No roles: every role of the cells may have changed.
    void notifyCells(int top, int left, int bottom, int right, const QList<int> &roles = {});

    int m_cols = 0;
    int m_dataRows = 0;
    GridTextPool m_pool;
    // Row r (from 1) occupies m_cells[(r - 1) * stride() ...]: m_cols text ids,
    // then its colour slot (0: none), then its data word.
    std::vector<quint32> m_cells;
    QStringList m_captions;
    QList<Qt::Alignment> m_alignments;

    // Slot s (from 1) holds slotWidth() words at m_slotColours[(s - 1) *
    // slotWidth()]: the highlight bits of the row's cells, then m_cols
    // background and m_cols text palette indexes (0: none).
    std::vector<quint16> m_slotColours;
    std::vector<quint32> m_freeSlots;
    // The slots holding at least one highlight or background colour, so that
    // clearing the highlights visits them alone. Per slot (index slot - 1):
    // its count of such cells, and its place in m_backSlots plus one (0:
    // absent).
    // A slot keeps its row when cleared, as a slot does not know its row.
    std::vector<quint32> m_backSlots;
    std::vector<quint32> m_slotBackCount;
    std::vector<quint32> m_backSlotAt;
    QList<QRgb> m_palette; // index 0 unused
    QColor m_gridBack = Qt::white;
    QColor m_gridFore = Qt::black;
    QColor m_selectionBack;
    LookTest m_look;
};
