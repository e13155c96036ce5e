#include "core/ComparedPairs.h"
#include "core/FileCatalogue.h"
#include "core/GridSchema.h"
#include "modules/GridFiles.h"
#include "modules/SelectedFiles.h"
#include "platform/grid/FlexGrid.h"

#include <QSignalSpy>
#include <QTest>

using GridFiles::Kind;

namespace {

void highlight(FlexGrid &grid, int row, int col)
{
    grid.setRow(row);
    grid.setCol(col);
    grid.setCellBackColor(FlexGrid::SelectionColor);
}

// A compare row of /1/a.mp3 and /2/b.mp3, or of a missing file 2.
QStringList pairRow(int number, bool withFile2 = true)
{
    return {QString::number(number), u"100.00%"_qs, u"a.mp3"_qs,
        withFile2 ? u"b.mp3"_qs : QString(), u"/1/"_qs, u"/2/"_qs, u"1"_qs, u"1"_qs, u"t"_qs,
        u"t"_qs, u"t"_qs, u"t"_qs, u"t"_qs, u"t"_qs, u"MP3"_qs, u"MP3"_qs};
}

struct Visits
{
    QStringList paths;
    QList<QPoint> cells; // (col, row) of each visit
    QList<int> placeAfter; // Row, Col, RowSel, ColSel once done
};

QList<int> place(const FlexGrid &grid)
{
    return {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()};
}

Visits walk(FlexGrid &grid, Kind kind)
{
    Visits v;
    const SelectedFiles selected(grid, kind);
    selected.forEachCell([&](const SelectedFiles::Row &row, int col, int file) {
        v.paths << selected.files().at(file).listed.path;
        v.cells << QPoint(col, row.row);
    });
    v.placeAfter = place(grid);
    return v;
}

} // namespace

class TestGridFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileAtCell_data();
    void fileAtCell();
    void scanWalkReadsTheCurrentColumnFromTheBottom();
    void compareWalkTakesEachCellRightToLeft();
    void selectedRowsAreWhatARemovalTakes_data();
    void selectedRowsAreWhatARemovalTakes();
    void rowsFindTheirRecords();
    void removeRowsKeepsTheRecordsInStep_data();
    void removeRowsKeepsTheRecordsInStep();
};

void TestGridFiles::fileAtCell_data()
{
    QTest::addColumn<bool>("scan");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("withFile2");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("renamed"); // the file a rename of the cell acts on
    QTest::newRow("scan number column") << true << 0 << true << u"/s/x.mp3"_qs << u"/s/x.mp3"_qs;
    QTest::newRow("scan empty type cell") << true << 7 << true << u"/s/x.mp3"_qs << QString();
    QTest::newRow("compare number") << false << 0 << true << QString() << QString();
    QTest::newRow("compare similarity") << false << 1 << true << QString() << QString();
    QTest::newRow("compare name 1") << false << 2 << true << u"/1/a.mp3"_qs << u"/1/a.mp3"_qs;
    QTest::newRow("compare name 2") << false << 3 << true << u"/2/b.mp3"_qs << u"/2/b.mp3"_qs;
    QTest::newRow("compare accessed 2") << false << 13 << true << u"/2/b.mp3"_qs << QString();
    QTest::newRow("compare type 1") << false << 14 << true << QString() << QString();
    QTest::newRow("compare type 2") << false << 15 << true << QString() << QString();
    QTest::newRow("compare without name 2") << false << 2 << false << QString() << u"/1/a.mp3"_qs;
}

void TestGridFiles::fileAtCell()
{
    QFETCH(bool, scan);
    QFETCH(int, col);
    QFETCH(bool, withFile2);
    QFETCH(QString, path);
    QFETCH(QString, renamed);
    FlexGrid grid;
    if (scan) {
        grid.setFormatString(GridSchema::scanFormat());
        grid.AddItem(QStringList {u"1"_qs, u"x.mp3"_qs, u"/s/"_qs}, 1);
        grid.AddItem(QStringList {u"2"_qs}, 2); // the placeholder row: no file
        QVERIFY(!GridFiles::fileAt(grid, Kind::Scan, 2, col));
    } else {
        grid.setFormatString(GridSchema::compareFormat());
        grid.AddItem(pairRow(1, withFile2), 1);
    }
    const Kind kind = scan ? Kind::Scan : Kind::Compare;
    const auto file = GridFiles::fileAt(grid, kind, 1, col);
    QCOMPARE(file ? file->path : QString(), path);
    const auto named = GridFiles::namedFileAt(grid, kind, 1, col);
    QCOMPARE(named ? named->path : QString(), renamed);
}

void TestGridFiles::scanWalkReadsTheCurrentColumnFromTheBottom()
{
    FlexGrid grid;
    grid.setFormatString(GridSchema::scanFormat());
    for (int r = 1; r <= 5; ++r)
        grid.AddItem(QStringList {QString::number(r), u"%1.mp3"_qs.arg(r), u"/s/"_qs}, r);
    highlight(grid, 2, 3);
    highlight(grid, 4, 3);
    highlight(grid, 5, 1); // another column: not read
    grid.setCol(3);
    grid.setRowSel(3); // the user's range, from row 5 up to row 3
    QSignalSpy entered(&grid, &FlexGrid::EnterCell);

    const Visits v = walk(grid, Kind::Scan);
    QCOMPARE(v.paths, (QStringList {u"/s/4.mp3"_qs, u"/s/2.mp3"_qs}));
    QCOMPARE(v.cells, (QList<QPoint> {{3, 4}, {3, 2}}));
    QCOMPARE(entered.count(), 0);
    QCOMPARE(v.placeAfter, (QList<int> {5, 3, 3, 3}));
    QVERIFY(grid.isHighlighted(2, 3) && grid.isHighlighted(4, 3));
}

void TestGridFiles::compareWalkTakesEachCellRightToLeft()
{
    FlexGrid grid;
    grid.setFormatString(GridSchema::compareFormat());
    grid.AddItem(pairRow(1), 1);
    grid.AddItem(pairRow(2), 2);
    grid.AddItem(pairRow(3), 3);
    for (int c = 1; c < GridSchema::CompareColumn::Count; ++c)
        highlight(grid, 2, c);
    highlight(grid, 3, 1); // the similarity alone names no file

    const Visits v = walk(grid, Kind::Compare);
    QCOMPARE(v.paths.size(), 12);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(v.paths.at(i), i % 2 == 0 ? u"/2/b.mp3"_qs : u"/1/a.mp3"_qs);
    QCOMPARE(v.cells.first(), QPoint(13, 2));
    QCOMPARE(v.cells.last(), QPoint(2, 2));
    QCOMPARE(v.placeAfter, (QList<int> {3, 1, 3, 1}));
}

void TestGridFiles::selectedRowsAreWhatARemovalTakes_data()
{
    QTest::addColumn<bool>("scan");
    QTest::addColumn<QList<QPoint>>("cells"); // (col, row), highlighted
    QTest::addColumn<QList<int>>("rows");
    // The current column is 3; row 3 of either grid names no file.
    QTest::newRow("scan: the current column, bottom first")
        << true << QList<QPoint> {{3, 2}, {3, 4}, {1, 5}} << QList<int> {4, 2};
    QTest::newRow("scan: a row without a name") << true << QList<QPoint> {{3, 3}} << QList<int> {3};
    QTest::newRow("compare: any cell but the number, a row once")
        << false << QList<QPoint> {{1, 4}, {14, 2}, {15, 2}, {5, 2}} << QList<int> {4, 2};
    QTest::newRow("compare: a row without names")
        << false << QList<QPoint> {{2, 3}} << QList<int> {3};
    QTest::newRow("compare: nothing") << false << QList<QPoint>() << QList<int>();
}

void TestGridFiles::selectedRowsAreWhatARemovalTakes()
{
    QFETCH(bool, scan);
    QFETCH(QList<QPoint>, cells);
    QFETCH(QList<int>, rows);
    FlexGrid grid;
    grid.setFormatString(scan ? GridSchema::scanFormat() : GridSchema::compareFormat());
    for (int r = 1; r <= 5; ++r) {
        QStringList row
            = scan ? QStringList {QString::number(r), u"%1.mp3"_qs.arg(r), u"/s/"_qs} : pairRow(r);
        if (r == 3)
            row[scan ? 1 : 2] = row[scan ? 1 : 3] = QString();
        grid.AddItem(row, r);
    }
    for (const QPoint &cell : cells)
        highlight(grid, cell.y(), cell.x());
    grid.setRow(1);
    grid.setCol(3);
    const Kind kind = scan ? Kind::Scan : Kind::Compare;
    QCOMPARE(GridFiles::selectedRows(grid, kind), rows);
}

void TestGridFiles::rowsFindTheirRecords()
{
    // The scan grid shows the records in another order than the catalogue,
    // as after a sort; file 1 of the compare row is the compared record of
    // a file the catalogue no longer holds.
    FileCatalogue catalogue;
    catalogue.append(FileRecord {{u"a.mp3"_qs, u"/2/"_qs, u"5"_qs}});
    catalogue.append(FileRecord {{u"a.mp3"_qs, u"/1/"_qs, u"42"_qs}});
    FlexGrid scan;
    scan.setFormatString(GridSchema::scanFormat());
    scan.AddItem(QStringList {u"2"_qs, u"a.mp3"_qs, u"/1/"_qs}, 1);
    scan.AddItem(QStringList {u"1"_qs, u"a.mp3"_qs, u"/2/"_qs}, 2);
    scan.setRowData(1, 1);
    scan.setRowData(2, 0);
    ComparedPairs compared;
    compared.records = {FileRecord {{u"gone.mp3"_qs, u"/g/"_qs, u"7"_qs}},
        FileRecord {{u"a.mp3"_qs, u"/1/"_qs, u"42"_qs}}};
    compared.pairs = {MatchPair {1, 0, 0}, MatchPair {0, 1, 10000}};
    FlexGrid pairs;
    pairs.setFormatString(GridSchema::compareFormat());
    pairs.AddItem(pairRow(1), 1);
    pairs.AddItem(pairRow(2), 2);
    pairs.setRowData(1, 1);

    const auto sizeOf = [&](const FlexGrid &grid, Kind kind, int row, int file) {
        const FileRecord *record = GridFiles::recordOf(grid, kind,
            kind == Kind::Scan ? *GridFiles::fileAt(grid, kind, row, 1)
                               : GridFiles::pairFile(grid, row, file),
            catalogue, compared);
        return record ? record->field(FileRecord::Size) : u"none"_qs;
    };
    QCOMPARE(sizeOf(scan, Kind::Scan, 1, 1), u"42"_qs);
    QCOMPARE(sizeOf(scan, Kind::Scan, 2, 1), u"5"_qs);
    QCOMPARE(sizeOf(pairs, Kind::Compare, 1, 1), u"7"_qs);
    QCOMPARE(sizeOf(pairs, Kind::Compare, 1, 2), u"42"_qs);
    QCOMPARE(sizeOf(pairs, Kind::Compare, 2, 1), u"none"_qs); // a row standing for no pair
}

void TestGridFiles::removeRowsKeepsTheRecordsInStep_data()
{
    QTest::addColumn<QList<int>>("remove");
    QTest::addColumn<QString>("catalogueLeft");

    // The grid shows the records c a e b d, as sorted.
    QTest::newRow("scattered rows") << QList<int> {4, 1} << "ade";
    QTest::newRow("one row") << QList<int> {2} << "bcde";
    QTest::newRow("last record") << QList<int> {3, 5} << "abc";
    QTest::newRow("every row resets") << QList<int> {5, 4, 3, 2, 1} << "";
}

void TestGridFiles::removeRowsKeepsTheRecordsInStep()
{
    QFETCH(QList<int>, remove);
    QFETCH(QString, catalogueLeft);

    FileCatalogue catalogue;
    for (const QChar name : u"abcde"_qs)
        catalogue.append(FileRecord {{QString(name), u"/d/"_qs}});
    FlexGrid grid;
    grid.setFormatString(GridSchema::scanFormat());
    grid.setRows(1);
    const QString shown = u"caebd"_qs;
    for (int i = 0; i < shown.size(); ++i) {
        grid.AddItem(QStringList {QString::number(i + 1), QString(shown.at(i)), u"/d/"_qs});
        grid.setRowData(i + 1, shown.at(i).unicode() - u'a');
    }
    bool reset = false;
    GridFiles::removeRows(grid, Kind::Scan, remove, catalogue, [&] {
        reset = true;
        grid.setRows(2);
        grid.setTextMatrix(1, 1, QString());
    });

    QString names;
    for (const FileRecord &record : catalogue.records())
        names += record.name();
    QCOMPARE(names, catalogueLeft);
    QCOMPARE(reset, catalogueLeft.isEmpty());
    if (reset)
        return;
    QCOMPARE(grid.Rows(), int(catalogueLeft.size()) + 1);
    for (int row = 1; row < grid.Rows(); ++row) {
        const GridFiles::ListedFile file = *GridFiles::fileAt(grid, Kind::Scan, row, 1);
        const FileRecord *record
            = GridFiles::recordOf(grid, Kind::Scan, file, catalogue, ComparedPairs());
        QVERIFY(record);
        QCOMPARE(record->name(), file.name);
        QCOMPARE(grid.TextMatrix(row, 0), QString::number(row));
    }
}

QTEST_MAIN(TestGridFiles)
#include "tst_GridFiles.moc"
