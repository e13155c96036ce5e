#pragma once

#include <QColor>
#include <QStringList>
#include <QTableView>

#include "platform/grid/RowCells.h"

#include <vector>

class FlexGridModel;
class GridRowSource;

// The result lists' grid: cell texts, per-cell colours and a current cell
// with a rectangular range. Row 0 is the fixed header row (TextMatrix(0, c)
// reads the captions), column 0 the fixed number column. Lengths are twips.
//
// Two selections are kept apart: the widget's own range (Row/Col to
// RowSel/ColSel, transient) and highlights, one bit a cell in the model,
// shown and reported as the BackColorSel background and read back by every
// multi-file command.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    // The highlight colour (BackColorSel): a warm tone, apart from the blue
    // tint the view gives its own transient range.
    static constexpr QColor SelectionColor {255, 224, 140};
    // Text marks: blue for a file found missing, red for a file that a
    // delete or move left in place.
    static constexpr QColor BlueColor {0, 0, 255};
    static constexpr QColor RedColor {255, 0, 0};

    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // "<caption|>caption|...": column count, captions (spaces kept) and each
    // column's alignment; each column starts as wide as its caption.
    void setFormatString(const QString &format);
    // Empties every cell text, the captions included; rows and columns stay.
    void Clear();

    int Rows() const;
    void setRows(int rows);
    int Cols() const;

    // Inserts one data row at index (default: at the end), cells from the
    // tab-joined text.
    void AddItem(const QString &tabJoined, int index = -1);
    // Same, cells as a list: a file name may hold a tab on this platform.
    void AddItem(const QStringList &cells, int index = -1);
    // Inserts many rows in front of index in one step, for the long lists.
    void AddItems(const QList<QStringList> &rows, int index);
    // Same, the rows read one by one from a source of shared texts.
    void AddItems(const GridRowSource &rows, int index);
    void RemoveItem(int index);
    // Removes many data rows in one pass: indexes in any order, repeats and
    // indexes outside the data rows passed over. Returns how many went.
    int RemoveItems(const QList<int> &indexes);
    // Writes 1 .. Rows() - 1 into column 0, the trailing row included.
    void renumberRows();

    // What a data row stands for (a record's or a pair's index), moved with
    // the row by sorts and removals; -1 until set, and for rows added as
    // texts. Rows added from a source take the source's.
    qint32 RowData(int row) const;
    void setRowData(int row, qint32 value);

    QString TextMatrix(int row, int col) const;
    // Equal for cells of equal text (until the grid is cleared), so that
    // cells showing one file are told apart from the others without
    // reading their texts.
    quint32 textKey(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    QString Text() const;
    void setText(const QString &text);

    // Setting Row or Col collapses the range to the current cell.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    int RowSel() const;
    void setRowSel(int row);
    int ColSel() const;
    void setColSel(int col);

    QColor BackColor() const;
    void setBackColor(const QColor &color);
    QColor BackColorSel() const;
    QColor ForeColor() const;
    // Colours of the current cell, or of the whole range while FillStyle is 1.
    QColor CellBackColor() const;
    void setCellBackColor(const QColor &color);
    QColor CellForeColor() const;
    void setCellForeColor(const QColor &color);
    int FillStyle() const;
    void setFillStyle(int style);
    // Gives the cells this text colour and takes their highlights away, as
    // one change: what a command marks on thousands of cells at once.
    void markCells(const std::vector<RowCells> &cells, const QColor &text);
    // A cell is highlighted when its background differs from BackColor.
    bool isHighlighted(int row, int col) const;
    // False when no cell of the row has a background of its own, so none is
    // highlighted; walks over the highlighted set pass such rows over.
    bool hasBackColour(int row) const;
    // Every cell back to BackColor; text colours stay. The current cell and
    // range stay as they are, and no cell event is raised.
    void clearHighlights();
    // Whether the view tints the cell as part of the current range. The
    // view's item selection holds the highlights instead, so that assistive
    // technology asks the standard way which cells are selected.
    bool showsRange(int row, int col) const;

    bool Redraw() const;
    void setRedraw(bool on);

    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;

    int LeftCol() const;
    int MouseRow() const;
    int MouseCol() const;

    // 0: free cell ranges, 1: whole rows.
    int SelectionMode() const;
    void setSelectionMode(int mode);

    // Sorts the data rows by column Col, stably: 1 ascending, 2 descending.
    // Plain decimal numbers compare as numbers, other texts by character code.
    void Sort(int mode);

    // While one lives, the program's own moves of the current cell raise no
    // cell-change or focus-independent events, so that walks over the rows do
    // not trigger the highlight reactions.
    class QuietMoves
    {
    public:
        explicit QuietMoves(FlexGrid &grid);
        ~QuietMoves();
        QuietMoves(const QuietMoves &) = delete;
        QuietMoves &operator=(const QuietMoves &) = delete;

    private:
        FlexGrid &m_grid;
    };

    // The program's own walk over the cells: its moves are quiet, and when it
    // ends the current cell and range are back where it found them, so that
    // the user's next click or key starts from the user's own cell. For walks
    // that keep the rows where they are.
    class Walk
    {
    public:
        explicit Walk(FlexGrid &grid);
        ~Walk();
        Walk(const Walk &) = delete;
        Walk &operator=(const Walk &) = delete;

    private:
        QuietMoves m_quiet;
        FlexGrid &m_grid;
        int m_row, m_col, m_rowSel, m_colSel;
    };

    // While one lives the grid is not painted; it then restores the Redraw
    // it found, so that guards nest.
    class RedrawOff
    {
    public:
        explicit RedrawOff(FlexGrid &grid);
        ~RedrawOff();
        RedrawOff(const RedrawOff &) = delete;
        RedrawOff &operator=(const RedrawOff &) = delete;

    private:
        FlexGrid &m_grid;
        bool m_was;
    };

    // The cell store, for tests and the accessibility bridge.
    FlexGridModel *gridModel() const { return m_model; }

Q_SIGNALS:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt, summed.
    // x and y are twips within the grid.
    void DblClick();
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    void LeaveCell();
    void EnterCell();
    void RowColChange();
    void GotFocus();
    void LostFocus();
    // The wheel turned by delta (120 a notch, less on fine wheels) with the
    // modifier state; the grid itself neither scrolls nor moves for it.
    void MouseWheel(int delta, int shift);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Range
    {
        int top, left, bottom, right;
    };

    static constexpr int KeepRow = -1;
    static constexpr int KeepCol = -1;
    // A move of the current cell; raises LeaveCell, EnterCell and
    // RowColChange unless quiet or raised from those events' own handlers.
    // The new range is given with it.
    void moveCurrent(int row, int col, int rowSel, int colSel);
    // The user's move to a cell: whole rows in row mode.
    void userMoveTo(int row, int col);
    // Shift or a drag: moves the range end only.
    void userExtendTo(int row, int col);
    bool navigate(QKeyEvent *event, int shift);
    Range currentRange() const;
    Range fillRange() const;
    void clampCurrent();
    // The view shows the current cell and range; while events are being
    // raised or moves are quiet, it catches up afterwards.
    void syncView();
    void holdSync() { ++m_holdSync; }
    void releaseSync();
    void cellAt(QPoint gridPos, int *row, int *col) const;
    void noteMouse(QWidget *source, QPoint pos);
    bool mouseFromHeader(QWidget *source, QEvent *event);
    void applyColWidth(int col);
    int captionPixels(const QString &caption) const;
    void paintCorner();
    // The accessibility side: the item selection follows the highlights, and
    // a change of the marks of a cell on screen is announced to the bridge.
    void connectAccessibility();
    void mirrorHighlights(int top, int bottom);
    void announceMarks(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    FlexGridModel *m_model = nullptr;
    QWidget *m_corner = nullptr;
    int m_row = 1;
    int m_col = 1;
    int m_rowSel = 1;
    int m_colSel = 1;
    int m_fillStyle = 0;
    int m_selectionMode = 0;
    // The range the view tints, data cells only; empty when top > bottom.
    Range m_shown {1, 1, 0, 0};
    QList<int> m_colTwips;
    QPoint m_mouse {-1, -1};
    int m_quiet = 0;
    int m_holdSync = 0;
    bool m_viewDirty = false;
    bool m_raisingCellEvents = false;
    bool m_dragging = false;
    bool m_hasFocus = false;
    bool m_applyingWidth = false;
};
