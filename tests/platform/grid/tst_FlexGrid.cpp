#include "core/GridRowSource.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/FlexGridModel.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

class TestFlexGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatStringSetsColumns_data();
    void formatStringSetsColumns();
    void captionWidthFollowsCaption();
    void fixedCaptionPaintsAsTheGrid();
    void rowsInsertAndRemove();
    void listCellsMayHoldTabs();
    void textsAreSharedNotCopied();
    void rowSourceReadsEachSharedTextOnce();
    void freedBufferIsNotTakenForItsText();
    void numberTextsKeepTheirText_data();
    void numberTextsKeepTheirText();
    void fillStyleColoursRangeOrCell();
    void settingRowOrColCollapsesRange();
    void coloursMoveWithTheirRows();
    void sortOrders_data();
    void sortOrders();
    void cellChangeEventOrder();
    void quietMovesRaiseNothing();
    void clickMovesAfterMouseDown();
    void rowModeClickTakesWholeRow();
    void shiftExtendsRangeOnly();
    void arrowKeysMoveAndExtend();
    void mouseCellCoversFixedParts();
    void accessibleDescription_data();
    void accessibleDescription();
    void clearEmptiesTextsAndColours();
    void removeManyRows_data();
    void removeManyRows();
    void renumberRaisesOneHeaderChange();
    void highlighted_data();
    void highlighted();
    void clearHighlightsKeepsTextColours();
    void highlightsAreCellBits();
    void redrawOffRestoresWhatItFound();
    void modelPassesTester();
};

namespace {

const QString ScanFormat = QStringLiteral("< 序号 |<文件名|<文件位置|<文件大小(字节)|<文件创建时间|"
                                          "<文件修改时间|>文件访问时间|>文件类型");

QStringList column(const FlexGrid &grid, int col)
{
    QStringList texts;
    for (int r = 1; r < grid.Rows(); ++r)
        texts.append(grid.TextMatrix(r, col));
    return texts;
}

// A grid of three columns with the given data rows (column 0 numbered).
void fill(FlexGrid &grid, const QList<QStringList> &rows)
{
    grid.setFormatString(QStringLiteral("<n|<a|<b"));
    grid.setRows(1);
    for (const QStringList &row : rows)
        grid.AddItem(QStringList {QString::number(grid.Rows())} + row);
}

// How many data cells the view tints as the current range.
int shownCells(const FlexGrid &grid)
{
    int shown = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
        for (int c = 1; c < grid.Cols(); ++c)
            shown += grid.showsRange(r, c);
    }
    return shown;
}

// What the accessibility bridge reads as a data cell's description.
QString bridgeDescription(FlexGrid &grid, int row, int col)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&grid);
    QAccessibleInterface *cell = table->tableInterface()->cellAt(row - 1, col - 1);
    return cell ? cell->text(QAccessible::Description) : u"(no cell)"_qs;
}

// The lightness of the darkest pixel, that is of the painted caption's text.
int darkest(const QImage &image)
{
    int least = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            least = std::min(least, QColor(image.pixel(x, y)).lightness());
    }
    return least;
}

// Rows given cell by cell; counts the reads of each shared text.
class CountingSource : public GridRowSource
{
public:
    QList<QList<Cell>> rows;
    QStringList shared;
    mutable QList<int> reads;

    qsizetype rowCount() const override { return rows.size(); }
    int columnCount() const override { return 4; }
    void cells(qsizetype row, Cell *cells) const override
    {
        std::copy(rows.at(row).begin(), rows.at(row).end(), cells);
    }
    // Each row stands for a number of its own.
    qint32 rowData(qsizetype row) const override { return static_cast<qint32>(70 + row); }
    qsizetype sharedTextCount() const override { return shared.size(); }
    QString sharedText(qsizetype index) const override
    {
        ++reads[index];
        return shared.at(index);
    }
};

QPoint cellCentre(const FlexGrid &grid, int row, int col)
{
    return grid.visualRect(grid.gridModel()->index(row - 1, col - 1)).center();
}

} // namespace

void TestFlexGrid::formatStringSetsColumns_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("rightAligned");

    QTest::newRow("scan schema") << ScanFormat
                                 << QStringList {" 序号 ", "文件名", "文件位置", "文件大小(字节)",
                                        "文件创建时间", "文件修改时间", "文件访问时间", "文件类型"}
                                 << QList<int> {6, 7};
    QTest::newRow("spaces kept, no prefix")
        << QStringLiteral("<  相似度 |x y|>  ") << QStringList {"  相似度 ", "x y", "  "}
        << QList<int> {2};
    QTest::newRow("prefix only at the start")
        << QStringLiteral("<<a|>b>") << QStringList {"<a", "b>"} << QList<int> {1};
}

void TestFlexGrid::formatStringSetsColumns()
{
    QFETCH(QString, format);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, rightAligned);

    FlexGrid grid;
    grid.setFormatString(format);
    grid.setRows(2);
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.Cols(), captions.size());
    for (int c = 0; c < captions.size(); ++c) {
        QCOMPARE(grid.TextMatrix(0, c), captions.at(c));
        QCOMPARE(grid.TextMatrix(1, c), QString());
        const Qt::Alignment expected = rightAligned.contains(c) ? Qt::AlignRight : Qt::AlignLeft;
        QCOMPARE(grid.gridModel()->alignment(c), expected);
    }
}

void TestFlexGrid::captionWidthFollowsCaption()
{
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<a|<文件1大小(字节)|<ab"));
    QVERIFY(grid.ColWidth(1) > grid.ColWidth(2));
    QVERIFY(grid.ColWidth(2) > 0);
    const int pixels = grid.fontMetrics().horizontalAdvance(QStringLiteral("文件1大小(字节)"));
    QVERIFY(grid.horizontalHeader()->sectionSize(0) >= pixels);
    grid.setColWidth(0, 1200);
    grid.setColWidth(2, 3000);
    QCOMPARE(grid.ColWidth(0), 1200);
    QCOMPARE(grid.ColWidth(2), 3000);
    QCOMPARE(grid.verticalHeader()->width(), grid.verticalHeader()->maximumWidth());
    QCOMPARE(grid.ColWidth(3), 0);
    QVERIFY(grid.RowHeight(1) > 0);
    QVERIFY(grid.RowHeight(0) > 0);
}

void TestFlexGrid::fixedCaptionPaintsAsTheGrid()
{
    // The corner holds column 0's caption; its button is never pressable,
    // yet the caption reads like the others while the grid is enabled.
    FlexGrid grid;
    grid.resize(600, 200);
    grid.setFormatString(ScanFormat);
    auto *corner = grid.findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(corner);
    const int caption = darkest(grid.horizontalHeader()->grab().toImage());
    const int enabled = darkest(corner->grab().toImage());
    QVERIFY2(
        enabled <= caption + 40, qPrintable(QStringLiteral("%1 vs %2").arg(enabled).arg(caption)));
    grid.setEnabled(false);
    QVERIFY(darkest(corner->grab().toImage()) > enabled + 40);
}

void TestFlexGrid::rowsInsertAndRemove()
{
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<n|<a"));
    grid.setRows(2);
    // As a scan does: each row in front of the trailing empty row.
    for (int k = 1; k <= 3; ++k)
        grid.AddItem(QString::number(k) + QLatin1Char('\t') + QStringLiteral("f%1").arg(k), k);
    QCOMPARE(column(grid, 1), (QStringList {"f1", "f2", "f3", ""}));
    QCOMPARE(column(grid, 0), (QStringList {"1", "2", "3", ""}));

    grid.setRows(grid.Rows() - 1);
    QCOMPARE(column(grid, 1), (QStringList {"f1", "f2", "f3"}));

    grid.RemoveItem(2);
    QCOMPARE(column(grid, 1), (QStringList {"f1", "f3"}));
    grid.AddItem(QStringList {"9", "end"});
    grid.AddItems({{"7", "x"}, {"8", "y"}}, 1);
    QCOMPARE(column(grid, 1), (QStringList {"x", "y", "f1", "f3", "end"}));

    // Out of range: nothing happens.
    grid.RemoveItem(0);
    grid.RemoveItem(grid.Rows());
    grid.AddItem(QStringList {"0", "header?"}, 0);
    grid.AddItem(QStringList {"0", "beyond"}, grid.Rows() + 1);
    QCOMPARE(grid.Rows(), 6);

    grid.setRows(8);
    QCOMPARE(grid.Rows(), 8);
    QCOMPARE(grid.TextMatrix(7, 1), QString());
}

void TestFlexGrid::listCellsMayHoldTabs()
{
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<n|<name|<folder"));
    grid.setRows(1);
    grid.AddItem(QStringList {"1", "a\tb.mp3", "/x/"});
    grid.AddItem(QStringLiteral("2\tc.mp3\t/y/\tsurplus"));
    grid.AddItem(QStringLiteral("3\tshort"));
    QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("a\tb.mp3"));
    QCOMPARE(grid.TextMatrix(1, 2), QStringLiteral("/x/"));
    QCOMPARE(grid.TextMatrix(2, 2), QStringLiteral("/y/"));
    QCOMPARE(grid.TextMatrix(3, 2), QString());
}

void TestFlexGrid::textsAreSharedNotCopied()
{
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<n|<name|<other"));
    grid.setRows(1);
    const QString name = QStringLiteral("歌曲 #1.mp3").repeated(2);
    const QString equal = QString(name.constData(), name.size()); // same text, other buffer
    for (int k = 0; k < 100; ++k)
        grid.AddItem(QStringList {QString::number(k + 1), name, equal});
    QCOMPARE(grid.TextMatrix(50, 1).constData(), name.constData());
    QCOMPARE(grid.TextMatrix(50, 2), name);
    // The pool holds the empty text and the name once.
    QCOMPARE(grid.gridModel()->storedTextCount(), 2);
}

void TestFlexGrid::rowSourceReadsEachSharedTextOnce()
{
    using Cell = GridRowSource::Cell;
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<n|<a|<b"));
    grid.setRows(2);
    grid.AddItem(QStringList {"1", "first"}, 1);
    CountingSource source;
    // Column 3 is beyond the grid's columns; text 3 is used by no cell.
    source.shared = {QStringLiteral("歌曲.mp3"), QStringLiteral("/音乐/"),
        QStringLiteral("surplus"), QStringLiteral("unused")};
    source.reads = {0, 0, 0, 0};
    source.rows = {
        {{Cell::Number, 2}, {Cell::Shared, 0}, {Cell::Shared, 1}, {Cell::Shared, 2}},
        {{Cell::Number, 4000000000u}, {Cell::Shared, 0}, {}, {Cell::Shared, 2}},
        {{Cell::Number, 0}, {Cell::Shared, 9}, {Cell::Shared, 1}, {}},
    };
    grid.AddItems(source, grid.Rows() - 1);

    QCOMPARE(column(grid, 0), (QStringList {"1", "2", "4000000000", "0", ""}));
    QCOMPARE(column(grid, 1), (QStringList {"first", "歌曲.mp3", "歌曲.mp3", "", ""}));
    QCOMPARE(column(grid, 2), (QStringList {"", "/音乐/", "", "/音乐/", ""}));
    QCOMPARE(source.reads, (QList<int> {1, 1, 0, 0}));
    QCOMPARE((QList<int> {grid.RowData(1), grid.RowData(2), grid.RowData(4), grid.RowData(5)}),
        (QList<int> {FlexGridModel::NoRowData, 70, 72, FlexGridModel::NoRowData}));
    QCOMPARE(grid.TextMatrix(3, 1).constData(), source.shared.at(0).constData());
    // The empty text, "first", the two shared texts and the ten-digit number.
    QCOMPARE(grid.gridModel()->storedTextCount(), 5);
    QCOMPARE(source.texts(1), (QStringList {"4000000000", "歌曲.mp3", "", "surplus"}));
}

void TestFlexGrid::freedBufferIsNotTakenForItsText()
{
    // An equal copy in a buffer of its own, held elsewhere while added (as a
    // catalogue holds its texts), is remembered by its buffer; a different
    // text of the same length allocated after the copy is gone (often at its
    // address) must still read as itself.
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("<n|<text"));
    grid.setRows(1);
    const QString folder = QStringLiteral("/home/user/音乐/专辑 7/");
    grid.AddItem(QStringList {QString(), folder});
    for (int k = 0; k < 50; ++k) {
        {
            const QString copy(folder.constData(), folder.size());
            grid.AddItem(QStringList {QString(), copy});
        }
        const QString other(folder.size(), QChar(u'a' + k % 26));
        grid.AddItem(QStringList {QString(), other});
        QCOMPARE(grid.TextMatrix(grid.Rows() - 1, 1), other);
        QCOMPARE(grid.TextMatrix(grid.Rows() - 2, 1), folder);
    }
    // The empty text, the folder and the 26 letters.
    QCOMPARE(grid.gridModel()->storedTextCount(), 28);
}

void TestFlexGrid::numberTextsKeepTheirText_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text : {"0", "7", "007", "123456789", "1234567890", "-5", "1.50", "+3", "٣"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void TestFlexGrid::numberTextsKeepTheirText()
{
    QFETCH(QString, text);
    FlexGrid grid;
    grid.setRows(1);
    grid.AddItem(QStringList {text, text});
    QCOMPARE(grid.TextMatrix(1, 0), text);
    QCOMPARE(grid.TextMatrix(1, 1), text);
}

void TestFlexGrid::fillStyleColoursRangeOrCell()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    const QColor sel = grid.BackColorSel();
    QVERIFY(sel != grid.BackColor());

    grid.setRow(1);
    grid.setCol(1);
    grid.setRowSel(2);
    grid.setColSel(2);
    grid.setFillStyle(1);
    grid.setCellBackColor(sel);
    grid.setFillStyle(0);
    for (int r = 1; r <= 3; ++r) {
        for (int c = 0; c <= 2; ++c) {
            const bool inRange = r <= 2 && c >= 1;
            QCOMPARE(grid.gridModel()->cellBackColor(r, c).isValid(), inRange);
        }
    }
    // A reversed range, from the far corner.
    grid.setRow(3);
    grid.setCol(2);
    grid.setRowSel(2);
    grid.setColSel(2);
    grid.setFillStyle(1);
    grid.setCellForeColor(Qt::red);
    grid.setFillStyle(0);
    QCOMPARE(grid.gridModel()->cellForeColor(2, 2), QColor(Qt::red));
    QCOMPARE(grid.gridModel()->cellForeColor(3, 2), QColor(Qt::red));
    QVERIFY(!grid.gridModel()->cellForeColor(3, 1).isValid());

    // FillStyle 0 touches the current cell only; the range stays as it is.
    grid.setRowSel(1);
    grid.setCellBackColor(Qt::green);
    QCOMPARE(grid.CellBackColor(), QColor(Qt::green));
    QVERIFY(!grid.gridModel()->cellBackColor(3, 1).isValid());
    QCOMPARE(grid.gridModel()->cellBackColor(2, 2), sel);

    // Back to the grid's colour means no colour of its own.
    grid.setCellBackColor(grid.BackColor());
    QCOMPARE(grid.CellBackColor(), grid.BackColor());
    QVERIFY(!grid.gridModel()->cellBackColor(3, 2).isValid());
    QCOMPARE(grid.CellForeColor(), QColor(Qt::red));
}

void TestFlexGrid::settingRowOrColCollapsesRange()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    const auto range = [&] {
        return QList<int> {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()};
    };
    grid.setRow(1);
    grid.setCol(1);
    grid.setRowSel(3);
    grid.setColSel(2);
    QCOMPARE(range(), (QList<int> {1, 1, 3, 2}));
    grid.setRow(2);
    QCOMPARE(range(), (QList<int> {2, 1, 2, 1}));
    grid.setRowSel(3);
    grid.setColSel(2);
    grid.setCol(grid.Col()); // the same value still collapses
    QCOMPARE(range(), (QList<int> {2, 1, 2, 1}));
    grid.setColSel(2);
    grid.setRow(grid.Row());
    QCOMPARE(range(), (QList<int> {2, 1, 2, 1}));

    // The view shows the range: current index at Row/Col, the range tinted.
    grid.setRowSel(3);
    grid.setColSel(2);
    QCOMPARE(grid.currentIndex(), grid.gridModel()->index(1, 0));
    QCOMPARE(shownCells(grid), 4);

    // Lowering Rows below the current row brings it back into the grid.
    grid.setRow(3);
    grid.setRows(2);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.RowSel(), 1);
}

void TestFlexGrid::coloursMoveWithTheirRows()
{
    FlexGrid grid;
    fill(grid, {{"b", "x"}, {"a", "y"}, {"c", "z"}});
    // What each row stands for goes with it too.
    for (int r = 1; r <= 3; ++r)
        grid.setRowData(r, 10 * r);
    grid.setRow(1);
    grid.setCol(1);
    grid.setCellBackColor(grid.BackColorSel());
    grid.setRow(3);
    grid.setCellForeColor(Qt::blue);
    grid.setCol(1);
    grid.Sort(1);
    QCOMPARE(column(grid, 1), (QStringList {"a", "b", "c"}));
    QCOMPARE(grid.gridModel()->cellBackColor(2, 1), grid.BackColorSel());
    QVERIFY(!grid.gridModel()->cellBackColor(1, 1).isValid());
    QCOMPARE(grid.gridModel()->cellForeColor(3, 1), QColor(Qt::blue));
    QCOMPARE((QList<int> {grid.RowData(1), grid.RowData(2), grid.RowData(3)}),
        (QList<int> {20, 10, 30}));
    grid.RemoveItem(1);
    QCOMPARE(grid.gridModel()->cellBackColor(1, 1), grid.BackColorSel());
    QCOMPARE(grid.RowData(1), 10);
    grid.AddItem(QStringList {"9", "new"}, 1);
    QVERIFY(!grid.gridModel()->cellBackColor(1, 1).isValid());
    QVERIFY(!grid.gridModel()->cellForeColor(1, 1).isValid());
    QCOMPARE(grid.RowData(1), FlexGridModel::NoRowData);
    QCOMPARE(grid.RowData(2), 10);
}

void TestFlexGrid::sortOrders_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("numbers by value") << QStringList {"10", "9", "100", "0.5", "-2"} << 1
                                      << QStringList {"-2", "0.5", "9", "10", "100"};
    QTest::newRow("numbers descending")
        << QStringList {"10", "9", "100"} << 2 << QStringList {"100", "10", "9"};
    QTest::newRow("text by code units") << QStringList {"b", "B", "a", "", "ab", "文件", "Z"} << 1
                                        << QStringList {"", "B", "Z", "a", "ab", "b", "文件"};
    QTest::newRow("numbers before text") << QStringList {"x", "10", "", "2", "1e3", "1,000"} << 1
                                         << QStringList {"2", "10", "", "1,000", "1e3", "x"};
    QTest::newRow("percentages by value") << QStringList {"100.00%", "57.14%", "9.50%", "5%%"} << 1
                                          << QStringList {"9.50%", "57.14%", "100.00%", "5%%"};
    QTest::newRow("dates as text") << QStringList {"2024/9/1 8:00:00", "2024/10/1 8:00:00"} << 1
                                   << QStringList {"2024/10/1 8:00:00", "2024/9/1 8:00:00"};
    QTest::newRow("empty grid row") << QStringList {""} << 1 << QStringList {""};
}

void TestFlexGrid::sortOrders()
{
    QFETCH(QStringList, keys);
    QFETCH(int, mode);
    QFETCH(QStringList, expected);

    FlexGrid grid;
    QList<QStringList> rows;
    for (const QString &key : keys)
        rows.append({key, QString()});
    fill(grid, rows);
    grid.setCol(1);
    grid.Sort(mode);
    QCOMPARE(column(grid, 1), expected);
}

void TestFlexGrid::cellChangeEventOrder()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}});
    grid.setRow(1);
    grid.setCol(1);
    QStringList seen;
    const auto note = [&](const char *name) {
        seen.append(
            QStringLiteral("%1 %2,%3").arg(QLatin1String(name)).arg(grid.Row()).arg(grid.Col()));
    };
    connect(&grid, &FlexGrid::LeaveCell, &grid, [&] { note("leave"); });
    connect(&grid, &FlexGrid::EnterCell, &grid, [&] { note("enter"); });
    connect(&grid, &FlexGrid::RowColChange, &grid, [&] { note("change"); });

    grid.setRow(2);
    grid.setCol(2);
    grid.setCol(2); // no change, no events
    QCOMPARE(seen,
        (QStringList {
            "leave 1,1", "enter 2,1", "change 2,1", "leave 2,1", "enter 2,2", "change 2,2"}));

    // A LeaveCell handler that moves the column itself: the row move keeps it.
    seen.clear();
    auto moving = connect(&grid, &FlexGrid::LeaveCell, &grid, [&] { grid.setCol(1); });
    grid.setRow(1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(seen.first(), QStringLiteral("leave 2,2"));
    QCOMPARE(seen.last(), QStringLiteral("change 1,1"));
    disconnect(moving);
}

void TestFlexGrid::quietMovesRaiseNothing()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    QSignalSpy leave(&grid, &FlexGrid::LeaveCell);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);
    QSignalSpy change(&grid, &FlexGrid::RowColChange);
    {
        FlexGrid::QuietMoves quiet(grid);
        for (int r = 1; r < grid.Rows(); ++r) {
            grid.setRow(r);
            grid.setCol(2);
            QCOMPARE(grid.Row(), r);
        }
        FlexGrid::QuietMoves nested(grid);
        grid.setRow(1);
    }
    QCOMPARE(leave.count() + enter.count() + change.count(), 0);
    // The view caught up with the last move.
    QCOMPARE(grid.currentIndex(), grid.gridModel()->index(0, 1));
    grid.setRow(2);
    QCOMPARE(change.count(), 1);
}

void TestFlexGrid::clickMovesAfterMouseDown()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}});
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setRow(1);
    grid.setCol(1);
    QStringList seen;
    connect(&grid, &FlexGrid::MouseDown, &grid, [&](int button, int shift, int, int) {
        seen.append(QStringLiteral("down %1 %2 at %3,%4")
                        .arg(button)
                        .arg(shift)
                        .arg(grid.MouseRow())
                        .arg(grid.MouseCol()));
    });
    connect(&grid, &FlexGrid::LeaveCell, &grid, [&] { seen.append(QStringLiteral("leave")); });
    connect(&grid, &FlexGrid::RowColChange, &grid,
        [&] { seen.append(QStringLiteral("change %1,%2").arg(grid.Row()).arg(grid.Col())); });
    connect(&grid, &FlexGrid::MouseUp, &grid,
        [&](int button, int, int, int) { seen.append(QStringLiteral("up %1").arg(button)); });

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(grid, 2, 2));
    QCOMPARE(seen, (QStringList {"down 1 2 at 2,2", "leave", "change 2,2", "up 1"}));
    // The right button reports, but leaves the current cell where it is.
    seen.clear();
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, cellCentre(grid, 1, 1));
    QCOMPARE(seen, (QStringList {"down 2 0 at 1,1", "up 2"}));
    QCOMPARE(grid.Row(), 2);
}

void TestFlexGrid::rowModeClickTakesWholeRow()
{
    FlexGrid grid;
    grid.setSelectionMode(1);
    fill(grid, {{"a", "b"}, {"c", "d"}});
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(grid, 2, 2));
    QCOMPARE((QList<int> {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
        (QList<int> {2, 1, 2, 2}));
}

void TestFlexGrid::shiftExtendsRangeOnly()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}});
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setRow(1);
    grid.setCol(1);
    QSignalSpy change(&grid, &FlexGrid::RowColChange);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(grid, 4, 2));
    QCOMPARE(change.count(), 0);
    QCOMPARE((QList<int> {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
        (QList<int> {1, 1, 4, 2}));
    QCOMPARE(shownCells(grid), 8);

    // A drag from a cell extends the range to the cell under the mouse.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(grid, 2, 1));
    QMouseEvent move(QEvent::MouseMove, cellCentre(grid, 3, 2),
        grid.viewport()->mapToGlobal(cellCentre(grid, 3, 2)), Qt::NoButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(grid, 3, 2));
    QCOMPARE((QList<int> {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
        (QList<int> {2, 1, 3, 2}));
}

void TestFlexGrid::arrowKeysMoveAndExtend()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setRow(1);
    grid.setCol(1);
    QStringList seen;
    connect(&grid, &FlexGrid::KeyDown, &grid,
        [&](int, int shift) { seen.append(QStringLiteral("key %1").arg(shift)); });
    connect(&grid, &FlexGrid::LeaveCell, &grid, [&] { seen.append(QStringLiteral("leave")); });
    connect(&grid, &FlexGrid::KeyUp, &grid,
        [&](int, int shift) { seen.append(QStringLiteral("up %1").arg(shift)); });

    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(seen, (QStringList {"key 0", "leave", "up 0"}));
    QCOMPARE(grid.Row(), 2);
    seen.clear();
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    // Each click presses and releases Shift around the arrow.
    QCOMPARE(
        seen, (QStringList {"key 1", "key 1", "up 1", "up 0", "key 1", "key 1", "up 1", "up 0"}));
    QCOMPARE((QList<int> {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
        (QList<int> {2, 1, 3, 2}));
    // Pressing Shift itself reports Shift as held; releasing it, as released.
    seen.clear();
    QTest::keyPress(&grid, Qt::Key_Shift);
    QTest::keyRelease(&grid, Qt::Key_Shift);
    QCOMPARE(seen, (QStringList {"key 1", "up 0"}));
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.Row(), 3);
}

void TestFlexGrid::mouseCellCoversFixedParts()
{
    FlexGrid grid;
    fill(grid, {{"a", "b"}, {"c", "d"}});
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy moves(&grid, &FlexGrid::MouseMove);
    const auto hover = [&](QWidget *target, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        return QList<int> {grid.MouseRow(), grid.MouseCol()};
    };
    QHeaderView *top = grid.horizontalHeader();
    QHeaderView *side = grid.verticalHeader();
    QCOMPARE(hover(top->viewport(), QPoint(top->sectionViewportPosition(1) + 3, 3)),
        (QList<int> {0, 2}));
    QCOMPARE(hover(side->viewport(), QPoint(3, side->sectionViewportPosition(1) + 3)),
        (QList<int> {2, 0}));
    QCOMPARE(hover(grid.viewport(), cellCentre(grid, 1, 1)), (QList<int> {1, 1}));
    QCOMPARE(
        hover(grid.viewport(), QPoint(3, grid.viewport()->height() - 2)), (QList<int> {-1, 1}));
    QCOMPARE(moves.count(), 4);
    QCOMPARE(grid.LeftCol(), 1);
}

void TestFlexGrid::accessibleDescription_data()
{
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QString>("marks");
    QTest::newRow("plain") << QColor() << QColor() << QString();
    QTest::newRow("grid's own colours") << QColor(Qt::white) << QColor(Qt::black) << QString();
    QTest::newRow("highlighted") << QColor(255, 224, 140) << QColor() << QStringLiteral("已选中");
    QTest::newRow("blue") << QColor() << QColor(0, 0, 255) << QStringLiteral("文件不存在");
    QTest::newRow("blue, highlighted")
        << QColor(255, 224, 140) << QColor(0, 0, 255) << QStringLiteral("已选中，文件不存在");
    QTest::newRow("red") << QColor() << QColor(255, 0, 0) << QStringLiteral("处理失败");
    QTest::newRow("red, highlighted")
        << QColor(1, 2, 3) << QColor(255, 0, 0) << QStringLiteral("已选中，处理失败");
    QTest::newRow("dark blue is no mark") << QColor() << QColor(0, 0, 128) << QString();
}

void TestFlexGrid::accessibleDescription()
{
    QFETCH(QColor, back);
    QFETCH(QColor, fore);
    QFETCH(QString, marks);
    FlexGrid grid;
    fill(grid, {{"a", "b"}});
    grid.setRow(1);
    grid.setCol(2);
    if (back.isValid())
        grid.setCellBackColor(back);
    if (fore.isValid())
        grid.setCellForeColor(fore);
    QCOMPARE(grid.gridModel()->index(0, 1).data(Qt::AccessibleDescriptionRole).toString(), marks);
    QCOMPARE(bridgeDescription(grid, 1, 2), marks);
    QCOMPARE(
        grid.gridModel()->index(0, 0).data(Qt::AccessibleDescriptionRole).toString(), QString());
    // The bridge's selection is the highlighted cells.
    QCOMPARE(grid.selectionModel()->isSelected(grid.gridModel()->index(0, 1)),
        marks.startsWith(u"已选中"));
}

void TestFlexGrid::clearEmptiesTextsAndColours()
{
    FlexGrid grid;
    grid.setFormatString(ScanFormat);
    grid.setRows(1);
    grid.AddItem(QStringList {"1", "a", "b"});
    grid.setRow(1);
    grid.setCol(1);
    grid.setCellBackColor(grid.BackColorSel());
    grid.Clear();
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.Cols(), 8);
    QCOMPARE(grid.TextMatrix(0, 0), QString());
    QCOMPARE(grid.TextMatrix(1, 1), QString());
    QCOMPARE(grid.CellBackColor(), grid.BackColor());
}

void TestFlexGrid::removeManyRows_data()
{
    QTest::addColumn<QList<int>>("remove");
    QTest::addColumn<QString>("left");

    QTest::newRow("first, middle, last") << QList<int> {1, 3, 6} << "bde";
    QTest::newRow("any order, repeats, outside") << QList<int> {5, 0, 2, 5, 7, -1} << "acdf";
    QTest::newRow("one block") << QList<int> {4, 3} << "abef";
    QTest::newRow("none valid") << QList<int> {0, 7} << "abcdef";
    QTest::newRow("all") << QList<int> {6, 5, 4, 3, 2, 1} << "";
}

void TestFlexGrid::removeManyRows()
{
    QFETCH(QList<int>, remove);
    QFETCH(QString, left);

    // Rows a..f; b, d and f highlighted in column 1; c blue and e red in
    // column 2: every mark must stay with its row.
    FlexGrid grid;
    QAbstractItemModelTester tester(
        grid.gridModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<QStringList> rows;
    for (const QChar letter : QStringLiteral("abcdef"))
        rows.append({QString(letter), QString(letter).toUpper()});
    fill(grid, rows);
    const auto colour = [&](int row, int col, bool back, const QColor &color) {
        grid.setRow(row);
        grid.setCol(col);
        if (back)
            grid.setCellBackColor(color);
        else
            grid.setCellForeColor(color);
    };
    for (const int row : {2, 4, 6})
        colour(row, 1, true, grid.BackColorSel());
    colour(3, 2, false, FlexGrid::BlueColor);
    colour(5, 2, false, FlexGrid::RedColor);
    for (int r = 1; r <= 6; ++r)
        grid.setRowData(r, 100 + r);

    const qsizetype removed = 6 - left.size();
    QCOMPARE(grid.RemoveItems(remove), removed);
    QCOMPARE(grid.Rows(), left.size() + 1);
    for (int r = 1; r < grid.Rows(); ++r) {
        const QChar letter = left.at(r - 1);
        QCOMPARE(grid.TextMatrix(r, 1), QString(letter));
        QCOMPARE(grid.TextMatrix(r, 2), QString(letter.toUpper()));
        QCOMPARE(grid.TextMatrix(r, 0), QString::number(letter.unicode() - u'a' + 1));
        QCOMPARE(grid.RowData(r), 100 + letter.unicode() - u'a' + 1);
        QCOMPARE(grid.isHighlighted(r, 1), QStringLiteral("bdf").contains(letter));
        const QColor fore = letter == u'c' ? FlexGrid::BlueColor
            : letter == u'e'               ? FlexGrid::RedColor
                                           : QColor();
        QCOMPARE(grid.gridModel()->cellForeColor(r, 2), fore);
    }
    // The freed colour slots left the highlight bookkeeping: a new
    // highlight is still found and cleared.
    const auto highlightedLeft = std::count_if(
        left.begin(), left.end(), [](QChar c) { return QStringLiteral("bdf").contains(c); });
    QCOMPARE(grid.gridModel()->backColouredRowCount(), highlightedLeft);
    if (grid.Rows() > 1) {
        colour(1, 2, true, grid.BackColorSel());
        grid.clearHighlights();
        for (int r = 1; r < grid.Rows(); ++r) {
            QVERIFY(!grid.isHighlighted(r, 1));
            QVERIFY(!grid.isHighlighted(r, 2));
        }
    }
}

void TestFlexGrid::renumberRaisesOneHeaderChange()
{
    FlexGrid grid;
    fill(grid, {{"a"}, {"b"}, {"c"}, {"d"}});
    grid.AddItem(QStringList {"", "e"}); // a row without a number
    grid.RemoveItems({1, 3});
    QSignalSpy header(grid.gridModel(), &QAbstractItemModel::headerDataChanged);
    QSignalSpy cells(grid.gridModel(), &QAbstractItemModel::dataChanged);
    grid.renumberRows();
    QCOMPARE(column(grid, 0), (QStringList {"1", "2", "3"}));
    QCOMPARE(column(grid, 1), (QStringList {"b", "d", "e"}));
    QCOMPARE(header.count(), 1);
    QCOMPARE(header.first(), (QVariantList {QVariant::fromValue(Qt::Vertical), 0, 2}));
    QCOMPARE(cells.count(), 0);
}

void TestFlexGrid::highlighted_data()
{
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("gridBack");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("highlighted");
    const QColor white(Qt::white);
    QTest::newRow("no colour") << QColor() << white << 2 << false;
    QTest::newRow("selection colour") << FlexGrid::SelectionColor << white << 2 << true;
    QTest::newRow("any other colour") << QColor(Qt::green) << white << 2 << true;
    QTest::newRow("the grid's colour") << white << white << 2 << false;
    QTest::newRow("grid turned to the cell's colour")
        << QColor(Qt::green) << QColor(Qt::green) << 2 << false;
    QTest::newRow("number column") << FlexGrid::SelectionColor << white << 0 << false;
}

void TestFlexGrid::highlighted()
{
    QFETCH(QColor, back);
    QFETCH(QColor, gridBack);
    QFETCH(int, col);
    QFETCH(bool, highlighted);
    FlexGrid grid;
    fill(grid, {{"a", "b"}});
    grid.setRow(1);
    grid.setCol(col);
    if (back.isValid())
        grid.setCellBackColor(back);
    grid.setBackColor(gridBack);
    QCOMPARE(grid.isHighlighted(1, col), highlighted);
    QCOMPARE(grid.CellBackColor() != grid.BackColor(), highlighted);
    QVERIFY(!grid.isHighlighted(1, 1));
}

void TestFlexGrid::clearHighlightsKeepsTextColours()
{
    FlexGrid grid;
    fill(grid, {{"c", "x"}, {"a", "y"}, {"b", "z"}, {"d", "w"}});
    // Rows 1..3 highlighted across both columns, one cell taken back, and
    // marks of both colours, one of them on a highlighted cell.
    grid.setRow(1);
    grid.setCol(1);
    grid.setRowSel(3);
    grid.setColSel(2);
    grid.setFillStyle(1);
    grid.setCellBackColor(grid.BackColorSel());
    grid.setFillStyle(0);
    // The bridge's selection follows the highlights, a block as one range.
    const auto selectionMirrors = [&] {
        for (int r = 1; r < grid.Rows(); ++r) {
            for (int c = 1; c < grid.Cols(); ++c) {
                const QModelIndex cell = grid.gridModel()->index(r - 1, c - 1);
                if (grid.selectionModel()->isSelected(cell) != grid.isHighlighted(r, c))
                    return false;
            }
        }
        return true;
    };
    QCOMPARE(grid.selectionModel()->selection().size(), 1);
    QVERIFY(selectionMirrors());
    grid.setRow(2);
    grid.setCol(2);
    grid.setCellBackColor(grid.BackColor());
    grid.setCellForeColor(FlexGrid::RedColor);
    grid.setRow(3);
    grid.setCellForeColor(FlexGrid::BlueColor);
    grid.setRow(4);
    grid.setCol(1);
    grid.setCellForeColor(FlexGrid::BlueColor);
    // Highlights move with their rows.
    grid.Sort(1);
    QVERIFY(grid.isHighlighted(1, 1));
    QVERIFY(!grid.isHighlighted(4, 2));
    QVERIFY(selectionMirrors());

    QCOMPARE(grid.gridModel()->backColouredRowCount(), 3);
    QSignalSpy cells(grid.gridModel(), &QAbstractItemModel::dataChanged);
    grid.clearHighlights();
    QCOMPARE(cells.count(), 1);
    QCOMPARE(grid.gridModel()->backColouredRowCount(), 0);
    for (int r = 1; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c) {
            QVERIFY(!grid.isHighlighted(r, c));
            QVERIFY(!grid.gridModel()->cellBackColor(r, c).isValid());
        }
    }
    // Sorted: a (red at 2), b (blue at 2), c, d (blue at 1).
    QCOMPARE(grid.gridModel()->cellForeColor(1, 2), FlexGrid::RedColor);
    QCOMPARE(grid.gridModel()->cellForeColor(2, 2), FlexGrid::BlueColor);
    QCOMPARE(grid.gridModel()->cellForeColor(4, 1), FlexGrid::BlueColor);
    QCOMPARE(grid.gridModel()->index(1, 1).data(Qt::AccessibleDescriptionRole).toString(),
        QStringLiteral("文件不存在"));
    QCOMPARE(bridgeDescription(grid, 2, 2), QStringLiteral("文件不存在"));
    QVERIFY(grid.selectionModel()->selection().isEmpty());

    // Nothing left to clear: no change is announced.
    grid.clearHighlights();
    QCOMPARE(cells.count(), 1);
    grid.setRow(3);
    grid.setCellBackColor(grid.BackColorSel());
    grid.clearHighlights();
    QVERIFY(!grid.isHighlighted(3, 1));
}

void TestFlexGrid::highlightsAreCellBits()
{
    // Twenty columns: a row's highlights take two words of bits, columns 15
    // and 16 either side of the boundary.
    FlexGrid grid;
    QStringList format;
    for (int c = 0; c < 20; ++c)
        format.append(QStringLiteral("<c%1").arg(c));
    grid.setFormatString(format.join(QLatin1Char('|')));
    grid.setRows(1);
    for (const QString &key : {u"c"_qs, u"a"_qs, u"b"_qs})
        grid.AddItem(QStringList(20, key));
    const QColor sel = grid.BackColorSel();
    const auto paint = [&](int row, int left, int right, const QColor &color) {
        grid.setRow(row);
        grid.setCol(left);
        grid.setColSel(right);
        grid.setFillStyle(1);
        grid.setCellBackColor(color);
        grid.setFillStyle(0);
    };
    const auto highlighted = [&](int row) {
        QList<int> cols;
        for (int c = 0; c < grid.Cols(); ++c) {
            if (grid.isHighlighted(row, c))
                cols.append(c);
        }
        return cols;
    };
    const auto shown = [&](int row, int col) {
        return grid.gridModel()->index(row - 1, col - 1).data(Qt::BackgroundRole).value<QColor>();
    };
    paint(1, 15, 16, sel);
    paint(2, 19, 19, sel);
    paint(2, 18, 18, Qt::green);
    grid.setRow(3);
    grid.setCol(1);
    grid.setCellForeColor(FlexGrid::BlueColor);

    // Sorted a, b, c; then c, with its highlights, leaves and its slot is
    // taken by a new row, which must start without them.
    grid.Sort(1);
    QCOMPARE(highlighted(1), (QList<int> {18, 19}));
    QCOMPARE(highlighted(2), QList<int>());
    QCOMPARE(highlighted(3), (QList<int> {15, 16}));
    QCOMPARE(shown(1, 19), sel);
    QCOMPARE(shown(1, 18), QColor(Qt::green));
    QCOMPARE(shown(3, 16), sel);
    QCOMPARE(grid.gridModel()->cellBackColor(3, 15), sel);
    grid.RemoveItem(3);
    grid.AddItem(QStringList(20, u"d"_qs));
    paint(3, 2, 2, sel);
    QCOMPARE(highlighted(3), (QList<int> {2}));

    // Another colour takes a highlight's place and the selection colour
    // takes the other's; both read as the cell's background.
    paint(1, 19, 19, Qt::green);
    paint(1, 18, 18, sel);
    grid.setCol(19);
    QCOMPARE(grid.CellBackColor(), QColor(Qt::green));
    grid.setCol(18);
    QCOMPARE(grid.CellBackColor(), sel);
    QCOMPARE(shown(1, 18), sel);

    QCOMPARE(grid.gridModel()->backColouredRowCount(), 2);
    grid.clearHighlights();
    QCOMPARE(grid.gridModel()->backColouredRowCount(), 0);
    for (int r = 1; r < grid.Rows(); ++r)
        QCOMPARE(highlighted(r), QList<int>());
    QCOMPARE(grid.gridModel()->cellForeColor(2, 1), FlexGrid::BlueColor);
}

void TestFlexGrid::redrawOffRestoresWhatItFound()
{
    FlexGrid grid;
    {
        const FlexGrid::RedrawOff outer(grid);
        {
            const FlexGrid::RedrawOff inner(grid);
            QVERIFY(!grid.Redraw());
        }
        QVERIFY(!grid.Redraw());
    }
    QVERIFY(grid.Redraw());
}

void TestFlexGrid::modelPassesTester()
{
    FlexGrid grid;
    QAbstractItemModelTester tester(
        grid.gridModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setFormatString(ScanFormat);
    grid.setRows(2);
    grid.setSelectionMode(1);
    for (int k = 1; k <= 20; ++k)
        grid.AddItem(QStringList {QString::number(k), QStringLiteral("f%1").arg(k % 7)}, k);
    grid.AddItems({{"x"}, {"y"}}, 3);
    CountingSource source;
    source.shared = {QStringLiteral("s")};
    source.reads = {0};
    source.rows = {{{GridRowSource::Cell::Number, 7}, {GridRowSource::Cell::Shared, 0}, {}, {}}};
    grid.AddItems(source, 2);
    grid.setRow(5);
    grid.setCol(1);
    grid.setRowSel(9);
    grid.setFillStyle(1);
    grid.setCellBackColor(grid.BackColorSel());
    grid.Sort(2);
    grid.setCol(0);
    grid.Sort(1);
    grid.RemoveItem(4);
    grid.RemoveItems({2, 3, 4});
    grid.RemoveItems({1, 5, 9, 30});
    grid.renumberRows();
    grid.clearHighlights();
    grid.setRows(grid.Rows() - 1);
    grid.setFormatString(QStringLiteral("<a|<b|<c"));
    grid.Clear();
    grid.setRows(2);
    QCOMPARE(grid.Rows(), 2);
}

QTEST_MAIN(TestFlexGrid)
#include "tst_FlexGrid.moc"
