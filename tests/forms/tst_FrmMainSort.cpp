#include "MainWindowTest.h"
#include "TestFiles.h"
#include "platform/widgets/TabStrip.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

// Sorting through the header button and the sort menus, and the commands
// that act on rows after a sort.
class TestFrmMainSort : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void menuItemsAlternateEachTheirOwnDirection_data();
    void menuItemsAlternateEachTheirOwnDirection();
    void headerButtonSortsTheShownListAndAlternates();
    void removalAfterASortRemovesTheRightRecord();

private:
    void fill();
    QStringList column(FlexGrid *grid, int col) const
    {
        QStringList texts;
        for (int r = 1; r < grid->Rows(); ++r)
            texts << grid->TextMatrix(r, col);
        return texts;
    }
    void hoverHeader(FlexGrid *grid, int col)
    {
        QHeaderView *header = grid->horizontalHeader();
        const QPoint pos(header->sectionViewportPosition(col - 1) + 3, header->height() / 2);
        QMouseEvent move(QEvent::MouseMove, pos, header->viewport()->mapToGlobal(pos), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &move);
    }
};

void TestFrmMainSort::init()
{
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestFrmMainSort::cleanup()
{
    closeWindow();
}

// Rows in an order no column is sorted in: sizes that order differently as
// numbers and as text, dates of September and October without leading zeros.
void TestFrmMainSort::fill()
{
    const QList<QStringList> files {
        {u"b.mp3"_qs, u"10"_qs, u"2024/9/5 8:00:00"_qs, u"57.14%"_qs},
        {u"c.mp3"_qs, u"9"_qs, u"2024/10/5 8:00:00"_qs, u"100.00%"_qs},
        {u"a.mp3"_qs, u"100"_qs, u"2024/9/30 8:00:00"_qs, u"9.50%"_qs},
    };
    QList<QStringList> scanRows;
    QList<QStringList> compareRows;
    for (int i = 0; i < files.size(); ++i) {
        const QStringList &f = files.at(i);
        const QString n = QString::number(i + 1);
        scanRows.append({n, f[0], u"/m/"_qs, f[1], f[2], f[2], f[2], u"MP3"_qs});
        compareRows.append({n, f[3], f[0], f[0], u"/a/"_qs, u"/b/"_qs, f[1], f[1]});
    }
    scanGrid()->AddItems(scanRows, 1);
    scanGrid()->setRows(4);
    compareGrid()->AddItems(compareRows, 1);
    compareGrid()->setRows(4);
}

void TestFrmMainSort::menuItemsAlternateEachTheirOwnDirection_data()
{
    QTest::addColumn<QStringList>("items"); // triggered in this order
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("names, first use descending")
        << QStringList {u"ListSortMnu1(2)"_qs} << int(ScanColumn::Name)
        << QStringList {u"c.mp3"_qs, u"b.mp3"_qs, u"a.mp3"_qs};
    QTest::newRow("names, second use ascending")
        << QStringList {u"ListSortMnu1(2)"_qs, u"ListSortMnu1(2)"_qs} << int(ScanColumn::Name)
        << QStringList {u"a.mp3"_qs, u"b.mp3"_qs, u"c.mp3"_qs};
    QTest::newRow("sizes as numbers, another item between")
        << QStringList {u"ListSortMnu1(4)"_qs, u"ListSortMnu1(2)"_qs, u"ListSortMnu1(4)"_qs}
        << int(ScanColumn::Size) << QStringList {u"9"_qs, u"10"_qs, u"100"_qs};
    QTest::newRow("dates as text")
        << QStringList {u"ListSortMnu1(5)"_qs, u"ListSortMnu1(5)"_qs} << int(ScanColumn::Created)
        << QStringList {u"2024/10/5 8:00:00"_qs, u"2024/9/30 8:00:00"_qs, u"2024/9/5 8:00:00"_qs};
    QTest::newRow("similarities by value")
        << QStringList {u"ListSortMnu2(2)"_qs} << int(CompareColumn::Similarity)
        << QStringList {u"100.00%"_qs, u"57.14%"_qs, u"9.50%"_qs};
}

void TestFrmMainSort::menuItemsAlternateEachTheirOwnDirection()
{
    QFETCH(QStringList, items);
    QFETCH(int, col);
    QFETCH(QStringList, expected);
    fill();
    for (const QString &item : items)
        find<QAction>(item)->trigger();
    FlexGrid *grid = items.first().startsWith(u"ListSortMnu1"_qs) ? scanGrid() : compareGrid();
    QCOMPARE(column(grid, col), expected);
    QCOMPARE(grid->Col(), col);
    // Whole rows move: the name still stands beside its own number.
    const QStringList numbers = column(grid, ScanColumn::Number);
    const QStringList names
        = column(grid, grid == scanGrid() ? int(ScanColumn::Name) : int(CompareColumn::Name1));
    for (int r = 0; r < names.size(); ++r)
        QCOMPARE(numbers.at(r), QString::number(u"bca"_qs.indexOf(names.at(r).at(0)) + 1));
}

void TestFrmMainSort::headerButtonSortsTheShownListAndAlternates()
{
    fill();
    auto *button = find<QPushButton>(u"Command1"_qs);
    hoverHeader(scanGrid(), ScanColumn::Size);
    QVERIFY(button->isVisible());
    button->click();
    QCOMPARE(column(scanGrid(), ScanColumn::Size), (QStringList {u"9"_qs, u"10"_qs, u"100"_qs}));
    QCOMPARE(button->text(), u"DOWN"_qs);
    QCOMPARE(button->accessibleName(), u"按此列降序排序"_qs);
    hoverHeader(scanGrid(), ScanColumn::Size);
    button->click();
    QCOMPARE(column(scanGrid(), ScanColumn::Size), (QStringList {u"100"_qs, u"10"_qs, u"9"_qs}));
    QCOMPARE(button->text(), u"UP"_qs);
    QCOMPARE(button->accessibleName(), u"按此列升序排序"_qs);

    // The compare page sorts only the compare grid.
    find<TabStrip>(u"TabStrip1"_qs)->selectTab(2);
    hoverHeader(compareGrid(), CompareColumn::Name1);
    button->click();
    QCOMPARE(column(compareGrid(), CompareColumn::Name1),
        (QStringList {u"a.mp3"_qs, u"b.mp3"_qs, u"c.mp3"_qs}));
    QCOMPARE(column(scanGrid(), ScanColumn::Size), (QStringList {u"100"_qs, u"10"_qs, u"9"_qs}));
    QCOMPARE(button->text(), u"DOWN"_qs);
}

void TestFrmMainSort::removalAfterASortRemovesTheRightRecord()
{
    QTemporaryDir dir;
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        QVERIFY(TestFiles::write(dir.filePath(u"tree/"_qs + QLatin1String(name)), "x"));
    find<QLineEdit>(u"Text1"_qs)->setText(dir.filePath(u"tree"_qs));
    find<QComboBox>(u"Combo1"_qs)->setCurrentText(u"*.mp3"_qs);
    press("CommandStartScan");
    QCOMPARE(m_window->catalogue().count(), 4);

    find<QAction>(u"ListSortMnu1(2)"_qs)->trigger(); // d, c, b, a
    const QPoint second = scanGrid()
                              ->visualRect(scanGrid()->model()->index(1, ScanColumn::Name - 1))
                              .center(); // row 2: c.mp3
    QTest::mouseClick(scanGrid()->viewport(), Qt::LeftButton, {}, second);
    find<QAction>(u"MoveFromList"_qs)->trigger();

    QCOMPARE(column(scanGrid(), ScanColumn::Name),
        (QStringList {u"d.mp3"_qs, u"b.mp3"_qs, u"a.mp3"_qs}));
    QCOMPARE(column(scanGrid(), ScanColumn::Number), (QStringList {u"1"_qs, u"2"_qs, u"3"_qs}));
    QStringList records;
    for (const FileRecord &record : m_window->catalogue().records())
        records << record.name();
    QCOMPARE(records, (QStringList {u"a.mp3"_qs, u"b.mp3"_qs, u"d.mp3"_qs}));
}

QTEST_MAIN(TestFrmMainSort)
#include "tst_FrmMainSort.moc"
