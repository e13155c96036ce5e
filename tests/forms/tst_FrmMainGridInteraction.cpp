#include "MainWindowTest.h"
#include "modules/ModSetGrid.h"
#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/TabStrip.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

// The highlight model through real mouse, key and wheel events on the grids.
class TestFrmMainGridInteraction : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void clickHighlightsRowOrCell();
    void shiftClickAddsTheRangeOnRelease();
    void ctrlWhileHeldTogglesOnce();
    void aNewWindowHoldsNoKeyOfTheLast();
    void focusLeavingClearsHighlightsButNotMarks();
    void contextMenuOpensOnlyOverAHighlightedCurrentCell();
    void shiftWithKeysGrowsTheRangeUntilReleased_data();
    void shiftWithKeysGrowsTheRangeUntilReleased();
    void sortColumnShowsNoHiddenHighlight_data();
    void sortColumnShowsNoHiddenHighlight();
    void wheelNotchMovesWithoutModifiers();
    void wheelActsOnlyOnTheFocusedGrid_data();
    void wheelActsOnlyOnTheFocusedGrid();
    void headerButtonCoversTheHoveredCaption();

private:
    // Fills both grids with rows of their own.
    void fill();
    QPoint at(FlexGrid *grid, int row, int col) const
    {
        return grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
    }
    void click(FlexGrid *grid, int row, int col, Qt::MouseButton button = Qt::LeftButton,
        Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), button, modifiers, at(grid, row, col));
    }
    QList<int> highlightedRows(FlexGrid *grid, int col) const
    {
        QList<int> rows;
        for (int r = 1; r < grid->Rows(); ++r)
            if (grid->isHighlighted(r, col))
                rows << r;
        return rows;
    }
    void wheel(FlexGrid *grid, int delta, Qt::KeyboardModifiers modifiers)
    {
        const QPoint pos = at(grid, 2, 2);
        QWheelEvent event(pos, grid->viewport()->mapToGlobal(pos), {}, {0, delta}, Qt::NoButton,
            modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    }
};

void TestFrmMainGridInteraction::init()
{
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    fill();
}

void TestFrmMainGridInteraction::cleanup()
{
    closeWindow();
}

void TestFrmMainGridInteraction::fill()
{
    QList<QStringList> scanRows;
    QList<QStringList> compareRows;
    for (int r = 1; r <= 8; ++r) {
        const QString name = QStringLiteral("%1.mp3").arg(r);
        scanRows.append({QString::number(r), name, u"/m/"_qs, u"1"_qs});
        compareRows.append({QString::number(r), u"100.00%"_qs, name, name, u"/a/"_qs, u"/b/"_qs});
    }
    scanGrid()->AddItems(scanRows, 1);
    scanGrid()->setRows(9);
    compareGrid()->AddItems(compareRows, 1);
    compareGrid()->setRows(9);
}

void TestFrmMainGridInteraction::clickHighlightsRowOrCell()
{
    click(scanGrid(), 3, ScanColumn::Folder);
    for (int c = 1; c < scanGrid()->Cols(); ++c)
        QVERIFY2(scanGrid()->isHighlighted(3, c), qPrintable(QString::number(c)));
    QVERIFY(!scanGrid()->isHighlighted(3, ScanColumn::Number));
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Name), QList<int> {3});

    find<TabStrip>(u"TabStrip1"_qs)->selectTab(2);
    click(compareGrid(), 4, CompareColumn::Folder2);
    QVERIFY(compareGrid()->isHighlighted(4, CompareColumn::Folder2));
    QVERIFY(!compareGrid()->isHighlighted(4, CompareColumn::Folder1)
        && !compareGrid()->isHighlighted(4, CompareColumn::Size1));
}

void TestFrmMainGridInteraction::shiftClickAddsTheRangeOnRelease()
{
    click(scanGrid(), 2, ScanColumn::Name);
    QTest::keyPress(scanGrid(), Qt::Key_Shift, Qt::ShiftModifier);
    click(scanGrid(), 5, ScanColumn::Name, Qt::LeftButton, Qt::ShiftModifier);
    QTest::keyRelease(scanGrid(), Qt::Key_Shift);
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Size), (QList<int> {2, 3, 4, 5}));

    click(scanGrid(), 7, ScanColumn::Name); // a plain click: only that row
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Size), QList<int> {7});
}

void TestFrmMainGridInteraction::ctrlWhileHeldTogglesOnce()
{
    click(scanGrid(), 2, ScanColumn::Name);
    QTest::mousePress(
        scanGrid()->viewport(), Qt::LeftButton, {}, at(scanGrid(), 5, ScanColumn::Name));
    QVERIFY(scanGrid()->isHighlighted(5, ScanColumn::Name));
    QTest::keyPress(scanGrid(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyPress(scanGrid(), Qt::Key_Control, Qt::ControlModifier); // the key repeats
    QTest::mouseRelease(
        scanGrid()->viewport(), Qt::LeftButton, {}, at(scanGrid(), 5, ScanColumn::Name));
    QTest::keyRelease(scanGrid(), Qt::Key_Control);
    QVERIFY(!scanGrid()->isHighlighted(5, ScanColumn::Name));
    QCOMPARE(m_window->gridInteraction().addedHighlights, 1);
}

void TestFrmMainGridInteraction::aNewWindowHoldsNoKeyOfTheLast()
{
    // Shift goes down in one window, which closes before it comes up.
    click(scanGrid(), 2, ScanColumn::Name);
    QTest::keyPress(scanGrid(), Qt::Key_Shift, Qt::ShiftModifier);
    cleanup();
    init();
    click(scanGrid(), 4, ScanColumn::Name);
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Size), QList<int> {4});
}

void TestFrmMainGridInteraction::focusLeavingClearsHighlightsButNotMarks()
{
    click(scanGrid(), 2, ScanColumn::Name);
    QTest::keyPress(scanGrid(), Qt::Key_Shift, Qt::ShiftModifier);
    click(scanGrid(), 4, ScanColumn::Name, Qt::LeftButton, Qt::ShiftModifier);
    QTest::keyRelease(scanGrid(), Qt::Key_Shift);
    scanGrid()->gridModel()->setForeColor(3, 1, 3, 1, FlexGrid::BlueColor);
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Name).size(), 3);

    find<QLineEdit>(u"Text1"_qs)->setFocus(Qt::MouseFocusReason);
    QVERIFY(highlightedRows(scanGrid(), ScanColumn::Name).isEmpty());
    QCOMPARE(scanGrid()->gridModel()->cellForeColor(3, ScanColumn::Name), FlexGrid::BlueColor);
}

void TestFrmMainGridInteraction::contextMenuOpensOnlyOverAHighlightedCurrentCell()
{
    click(scanGrid(), 3, ScanColumn::Name);
    click(scanGrid(), 3, ScanColumn::Name, Qt::RightButton);
    QCOMPARE(m_dialogs.menus.size(), 1);
    QCOMPARE(m_dialogs.menus.first()->objectName(), u"EditFile"_qs);

    // Toggled off with Ctrl: the current cell isn't highlighted any more.
    QTest::mousePress(
        scanGrid()->viewport(), Qt::LeftButton, {}, at(scanGrid(), 3, ScanColumn::Name));
    QTest::keyPress(scanGrid(), Qt::Key_Control, Qt::ControlModifier);
    QTest::mouseRelease(
        scanGrid()->viewport(), Qt::LeftButton, {}, at(scanGrid(), 3, ScanColumn::Name));
    QTest::keyRelease(scanGrid(), Qt::Key_Control);
    click(scanGrid(), 3, ScanColumn::Name, Qt::RightButton);
    QCOMPARE(m_dialogs.menus.size(), 1);

    // An empty current cell: the placeholder row of an empty list.
    m_window->InitGrid(FrmMain::Grids::Scan);
    scanGrid()->setFocus();
    click(scanGrid(), 1, ScanColumn::Name);
    click(scanGrid(), 1, ScanColumn::Name, Qt::RightButton);
    QCOMPARE(m_dialogs.menus.size(), 1);
}

void TestFrmMainGridInteraction::shiftWithKeysGrowsTheRangeUntilReleased_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("down five times")
        << int(Qt::Key_Down) << 5 << 2 << QList<int> {2, 3, 4, 5, 6, 7};
    QTest::newRow("up twice") << int(Qt::Key_Up) << 2 << 5 << QList<int> {3, 4, 5};
    QTest::newRow("page down to the end")
        << int(Qt::Key_PageDown) << 9 << 6 << QList<int> {6, 7, 8};
}

void TestFrmMainGridInteraction::shiftWithKeysGrowsTheRangeUntilReleased()
{
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, start);
    QFETCH(QList<int>, rows);
    click(scanGrid(), start, ScanColumn::Name);
    QTest::keyPress(scanGrid(), Qt::Key_Shift, Qt::ShiftModifier);
    // Shift stays down between the keys (keyClick would let it go each time).
    for (int i = 0; i < presses; ++i) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::ShiftModifier);
            QApplication::sendEvent(scanGrid(), &event);
        }
    }
    // Only the widget's own range shows while Shift is held.
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Folder), QList<int> {start});
    QTest::keyRelease(scanGrid(), Qt::Key_Shift);
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Folder), rows);
    QCOMPARE(scanGrid()->Row(), start);
    QCOMPARE(scanGrid()->RowSel(), start);
}

void TestFrmMainGridInteraction::sortColumnShowsNoHiddenHighlight_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("menu"); // whether a right click opens the context menu
    QTest::newRow("number column") << int(ScanColumn::Number) << false;
    QTest::newRow("size column") << int(ScanColumn::Size) << true;
}

// A sort makes its column the current one; the number column is never
// highlighted, and leaving the grid clears all it shows.
void TestFrmMainGridInteraction::sortColumnShowsNoHiddenHighlight()
{
    QFETCH(int, col);
    QFETCH(bool, menu);
    click(scanGrid(), 3, ScanColumn::Folder);
    auto *text1 = find<QLineEdit>(u"Text1"_qs);
    text1->setFocus(Qt::MouseFocusReason);
    find<QAction>(u"ListSortMnu1(%1)"_qs.arg(col + 1))->trigger();
    QCOMPARE(scanGrid()->Col(), col);
    scanGrid()->setFocus(Qt::TabFocusReason);
    QVERIFY(highlightedRows(scanGrid(), ScanColumn::Number).isEmpty());
    click(scanGrid(), 5, ScanColumn::Folder, Qt::RightButton);
    QCOMPARE(m_dialogs.menus.size(), menu ? 1 : 0);

    text1->setFocus(Qt::MouseFocusReason);
    for (int c = 0; c < scanGrid()->Cols(); ++c)
        QVERIFY2(highlightedRows(scanGrid(), c).isEmpty(), qPrintable(QString::number(c)));
}

void TestFrmMainGridInteraction::wheelNotchMovesWithoutModifiers()
{
    click(scanGrid(), 3, ScanColumn::Name);
    wheel(scanGrid(), -120, {});
    QCOMPARE(scanGrid()->Row(), 4);
    QCOMPARE(highlightedRows(scanGrid(), ScanColumn::Name), QList<int> {4});
    wheel(scanGrid(), -120, Qt::ControlModifier);
    QCOMPARE(scanGrid()->Row(), 4);
    // A fine wheel moves once its parts make a notch.
    wheel(scanGrid(), 60, {});
    QCOMPARE(scanGrid()->Row(), 4);
    wheel(scanGrid(), 60, {});
    QCOMPARE(scanGrid()->Row(), 3);
}

void TestFrmMainGridInteraction::wheelActsOnlyOnTheFocusedGrid_data()
{
    QTest::addColumn<QString>("focus"); // the control holding the focus
    QTest::newRow("folder box") << u"Text1"_qs;
    QTest::newRow("the other grid") << u"MSH1"_qs;
}

void TestFrmMainGridInteraction::wheelActsOnlyOnTheFocusedGrid()
{
    QFETCH(QString, focus);
    click(scanGrid(), 3, ScanColumn::Name);
    QWidget *other = find<QWidget>(focus);
    if (other == compareGrid())
        find<TabStrip>(u"TabStrip1"_qs)->selectTab(2);
    other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), other);
    const int otherRow = other == compareGrid() ? compareGrid()->Row() : -1;
    wheel(scanGrid(), -120, {});
    wheel(scanGrid(), -120, {});
    QCOMPARE(scanGrid()->Row(), 3);
    QVERIFY(highlightedRows(scanGrid(), ScanColumn::Name).isEmpty());
    if (other == compareGrid())
        QCOMPARE(compareGrid()->Row(), otherRow);
}

void TestFrmMainGridInteraction::headerButtonCoversTheHoveredCaption()
{
    auto *button = find<QPushButton>(u"Command1"_qs);
    QHeaderView *header = scanGrid()->horizontalHeader();
    const auto hover = [&](int col) {
        const QPoint pos(header->sectionViewportPosition(col - 1) + 5, header->height() / 2);
        QMouseEvent move(QEvent::MouseMove, pos, header->viewport()->mapToGlobal(pos), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &move);
    };
    hover(2);
    QVERIFY(button->isVisible());
    const QPoint caption = header->viewport()->mapTo(m_window,
        QPoint(
            header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2));
    QVERIFY(button->geometry().contains(button->parentWidget()->mapFrom(m_window, caption)));
    QCOMPARE(button->width(), header->sectionSize(1));

    // Over a list of one row there is nothing to sort.
    m_window->InitGrid(FrmMain::Grids::Scan);
    hover(2);
    QVERIFY(!button->isVisible());
}

QTEST_MAIN(TestFrmMainGridInteraction)
#include "tst_FrmMainGridInteraction.moc"
