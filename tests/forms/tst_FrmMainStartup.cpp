#include "MainWindowTest.h"
#include "forms/main/FrmMain.h"
#include "modules/ModFrmObject.h"
#include "modules/ModSetGrid.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/ControlKind.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextMeasure.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class TestFrmMainStartup : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsWithEmptyListsAndWaitingTexts();
    void startsWithKeepRulesThresholdsAndMenus();
    void initGridResetsOnlyTheChosenGrid();
    void resetGridOpensAtItsFirstCell();
    void widenColumnsNeverNarrows();
    void lockPatternLeavesOnlyCheckBoxes();
    void resultTabsSwitchPagesAlsoFromCode();
    void controlsCarryTheirDesignNames();
};

void TestFrmMainStartup::init()
{
    openWindow();
}

void TestFrmMainStartup::cleanup()
{
    closeWindow();
}

void TestFrmMainStartup::startsWithEmptyListsAndWaitingTexts()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Velkor1.0.0"));
    auto *scan = find<FlexGrid>(QStringLiteral("MSHList"));
    auto *compare = find<FlexGrid>(QStringLiteral("MSH1"));
    QCOMPARE(scan->Rows(), 2);
    QCOMPARE(scan->Cols(), 8);
    QCOMPARE(scan->TextMatrix(0, ScanColumn::Number), QStringLiteral(" 序号 "));
    QCOMPARE(scan->TextMatrix(0, ScanColumn::Type), QStringLiteral("文件类型"));
    QCOMPARE(compare->Rows(), 2);
    QCOMPARE(compare->Cols(), 16);
    QCOMPARE(compare->TextMatrix(0, CompareColumn::Similarity), QStringLiteral("  相似度 "));
    QCOMPARE(compare->TextMatrix(0, CompareColumn::Type2), QStringLiteral("文件2类型"));
    for (int c = 0; c < 16; ++c)
        QVERIFY(compare->TextMatrix(1, c).isEmpty());

    auto *log = find<LogList>(QStringLiteral("ListView1"));
    QCOMPARE(log->columnCount(), 4);
    const QStringList headers {QStringLiteral("序号"), QStringLiteral("选择项目"),
        QStringLiteral("处理结果"), QStringLiteral("时间")};
    for (int c = 0; c < 4; ++c)
        QCOMPARE(log->columnCaption(c), headers.at(c));
    QCOMPARE(log->itemCount(), 0);

    auto *status = find<StatusBar>(QStringLiteral("SBar1"));
    QCOMPARE(status->panelText(1), QStringLiteral("等待扫描..."));
    QCOMPARE(status->panelText(2), QStringLiteral("等待对比..."));
    QCOMPARE(
        find<QLineEdit>(QStringLiteral("Text1"))->text(), QCoreApplication::applicationDirPath());
    QCOMPARE(find<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("*.mp3"));
    QVERIFY(find<QCheckBox>(QStringLiteral("Check1(0)"))->isChecked());
    QVERIFY(!find<QCheckBox>(QStringLiteral("Check1(2)"))->isChecked());
    QCOMPARE(find<TabStrip>(QStringLiteral("TabStrip2"))->SelectedIndex(), 1);
    QCOMPARE(find<TabStrip>(QStringLiteral("TabStrip1"))->SelectedIndex(), 1);
}

void TestFrmMainStartup::startsWithKeepRulesThresholdsAndMenus()
{
    auto *rules = find<QComboBox>(QStringLiteral("Combo2"));
    QCOMPARE(rules->count(), 10);
    QCOMPARE(rules->currentIndex(), 0);
    QStringList ruleTexts;
    for (int i = 0; i < rules->count(); ++i)
        ruleTexts << rules->itemText(i);
    QCOMPARE(ruleTexts,
        (QStringList {u"保留 [文件名1] 列的文件"_qs, u"保留 [文件名2] 列的文件"_qs,
            u"保留（字节）较大的文件"_qs, u"保留（字节）较小的文件"_qs,
            u"保留创建时间较早的文件"_qs, u"保留创建时间较晚的文件"_qs,
            u"保留修改时间较早的文件"_qs, u"保留修改时间较晚的文件"_qs,
            u"保留访问时间较早的文件"_qs, u"保留访问时间较晚的文件"_qs}));
    QVERIFY(!rules->isEditable());

    auto *threshold = find<QComboBox>(QStringLiteral("Combo3"));
    QStringList thresholds;
    for (int i = 0; i < threshold->count(); ++i)
        thresholds << threshold->itemText(i);
    QCOMPARE(thresholds.join(QLatin1Char(',')), QStringLiteral("100,90,80,70,60,50,40,30,20,10"));
    QCOMPARE(threshold->currentText(), QStringLiteral("100"));

    QStringList barItems;
    for (QAction *action : m_window->menuBar()->actions())
        barItems << action->text();
    QCOMPARE(barItems,
        (QStringList {
            QStringLiteral("关于(&A)"), QStringLiteral("帮助(&H)"), QStringLiteral("撤销(&Z)")}));

    auto *editFile = find<QMenu>(QStringLiteral("EditFile"));
    const QList<QAction *> items = editFile->actions();
    // The ten designed items with a separator between each pair, then the
    // two protection items behind one more.
    QCOMPARE(items.size(), 22);
    for (int i = 0; i < 19; ++i)
        QCOMPARE(items.at(i)->isSeparator(), i % 2 == 1);
    QCOMPARE(items.at(14)->text(), QStringLiteral("重命名(&N) "));
    QVERIFY(items.at(19)->isSeparator());
    QCOMPARE(items.at(20)->objectName(), QStringLiteral("ProtectFolder"));
    QCOMPARE(items.at(20)->text(), QStringLiteral("保护此文件所在目录(&P)"));
    QCOMPARE(items.at(21)->objectName(), QStringLiteral("UnprotectFolder"));
    QCOMPARE(items.at(21)->text(), QStringLiteral("取消保护此目录(&U)"));

    auto *sort1 = find<QMenu>(QStringLiteral("ListSort1"));
    QCOMPARE(sort1->actions().size(), 9);
    QCOMPARE(sort1->actions().at(1)->text(), QStringLiteral("按  序号  排序"));
    QCOMPARE(sort1->actions().at(1)->objectName(), QStringLiteral("ListSortMnu1(1)"));
    auto *sort2 = find<QMenu>(QStringLiteral("ListSort2"));
    QCOMPARE(sort2->actions().size(), 17);
    QCOMPARE(sort2->actions().at(2)->text(), QStringLiteral("按   相似度  排序"));
}

void TestFrmMainStartup::initGridResetsOnlyTheChosenGrid()
{
    auto *scan = find<FlexGrid>(QStringLiteral("MSHList"));
    auto *compare = find<FlexGrid>(QStringLiteral("MSH1"));
    scan->AddItem(QStringList {QStringLiteral("1"), QStringLiteral("a.mp3")}, 1);
    compare->AddItem(QStringList {QStringLiteral("1"), QStringLiteral("100.00%")}, 1);

    m_window->InitGrid(FrmMain::Grids::Scan);
    QCOMPARE(scan->Rows(), 2);
    QVERIFY(scan->TextMatrix(1, ScanColumn::Name).isEmpty());
    QCOMPARE(compare->Rows(), 3);
    QCOMPARE(compare->TextMatrix(1, CompareColumn::Similarity), QStringLiteral("100.00%"));

    scan->AddItem(QStringList {QStringLiteral("1"), QStringLiteral("a.mp3")}, 1);
    m_window->InitGrid(FrmMain::Grids::Compare);
    QCOMPARE(compare->Rows(), 2);
    QCOMPARE(compare->TextMatrix(0, CompareColumn::Name1), QStringLiteral("文件名1"));
    QCOMPARE(scan->TextMatrix(1, ScanColumn::Name), QStringLiteral("a.mp3"));

    m_window->InitGrid(FrmMain::Grids(3)); // no grid of its own
    QCOMPARE(scan->Rows(), 3);
}

void TestFrmMainStartup::resetGridOpensAtItsFirstCell()
{
    m_window->show();
    auto *compare = find<FlexGrid>(QStringLiteral("MSH1"));
    // Every similarity shows whole, from the start.
    QVERIFY(compare->ColWidth(CompareColumn::Similarity)
        >= TextMeasure(m_window->font()).widthTwips(u"100.00%"));

    auto *scan = find<FlexGrid>(QStringLiteral("MSHList"));
    QList<QStringList> rows;
    for (int i = 1; i <= 300; ++i)
        rows.append({QString::number(i), QString(300, u'x')});
    scan->AddItems(rows, 1);
    scan->setColWidth(ScanColumn::Name, 100000);
    scan->setRow(280);
    scan->setCol(ScanColumn::Type);
    QCoreApplication::processEvents(); // the scroll ranges follow the layout
    scan->verticalScrollBar()->setValue(200);
    scan->horizontalScrollBar()->setValue(scan->horizontalScrollBar()->maximum());
    QVERIFY(scan->verticalScrollBar()->value() > 0);
    QVERIFY(scan->horizontalScrollBar()->value() > 0);

    m_window->InitGrid(FrmMain::Grids::Scan);
    scan->AddItems(rows, 1);
    scan->setColWidth(ScanColumn::Name, 100000);
    QCoreApplication::processEvents();
    QCOMPARE(scan->Row(), 1);
    QCOMPARE(scan->Col(), ScanColumn::Name);
    QCOMPARE(scan->verticalScrollBar()->value(), 0);
    QCOMPARE(scan->horizontalScrollBar()->value(), 0);
}

void TestFrmMainStartup::widenColumnsNeverNarrows()
{
    auto *scan = find<FlexGrid>(QStringLiteral("MSHList"));
    const int before1 = scan->ColWidth(ScanColumn::Name);
    const int before2 = scan->ColWidth(ScanColumn::Folder);
    QList<int> widths(ScanColumn::Count, 0);
    widths[ScanColumn::Name] = before1 + 3000;
    widths[ScanColumn::Folder] = 0;
    ModSetGrid::WidenColumns(*scan, ScanColumn::Name, widths);
    QVERIFY(scan->ColWidth(ScanColumn::Name) >= before1 + 2900); // pixel rounding of twips
    QCOMPARE(scan->ColWidth(ScanColumn::Folder), before2);
    const int widened = scan->ColWidth(ScanColumn::Name);
    QList<int> tooMany(20, 100000);
    tooMany[ScanColumn::Name] = 0;
    ModSetGrid::WidenColumns(*scan, ScanColumn::Name, tooMany);
    QCOMPARE(scan->ColWidth(ScanColumn::Name), widened);
    QVERIFY(scan->ColWidth(ScanColumn::Type) >= 99900);
}

void TestFrmMainStartup::lockPatternLeavesOnlyCheckBoxes()
{
    ModFrmObject::EnableControlsByType(m_window, false, true, false, false, false, false);
    for (const char *name : {"CommandStartScan", "CommandSelectPath", "CommandToCompare",
             "CommandDelFile", "CommandMoveTo"})
        QVERIFY2(!find<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
    for (const char *name : {"Check1(0)", "Check1(2)", "Check1(6)"})
        QVERIFY2(find<QCheckBox>(QString::fromLatin1(name))->isEnabled(), name);
    for (const char *name : {"Combo1", "Combo2", "Combo3"})
        QVERIFY2(!find<QComboBox>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!find<TabStrip>(QStringLiteral("TabStrip1"))->isEnabled());
    QVERIFY(!find<FlexGrid>(QStringLiteral("MSH1"))->isEnabled());
    QVERIFY(!find<QLineEdit>(QStringLiteral("Text1"))->isEnabled());
    QVERIFY(find<LogList>(QStringLiteral("ListView1"))->isEnabled());
    QVERIFY(find<StatusBar>(QStringLiteral("SBar1"))->isEnabled());

    {
        ModFrmObject::WindowLock lock(m_window);
        QVERIFY(!find<QCheckBox>(QStringLiteral("Check1(0)"))->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor());
    }
    QVERIFY(find<QPushButton>(QStringLiteral("CommandStartScan"))->isEnabled());
    QVERIFY(find<FlexGrid>(QStringLiteral("MSHList"))->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestFrmMainStartup::resultTabsSwitchPagesAlsoFromCode()
{
    m_window->show();
    auto *tabs = find<TabStrip>(QStringLiteral("TabStrip1"));
    auto *scanPage = find<QFrame>(QStringLiteral("FrameTab(0)"));
    auto *comparePage = find<QFrame>(QStringLiteral("FrameTab(1)"));
    auto *processing = find<QFrame>(QStringLiteral("Frame1"));
    QVERIFY(scanPage->isVisible());
    QVERIFY(!comparePage->isVisible());
    QVERIFY(!processing->isVisible());
    tabs->selectTab(2);
    QVERIFY(comparePage->isVisible());
    QVERIFY(processing->isVisible());
    QVERIFY(!scanPage->isVisible());
    tabs->setCurrentIndex(0); // as a user's click does
    QVERIFY(scanPage->isVisible());
    QVERIFY(!processing->isVisible());
}

void TestFrmMainStartup::controlsCarryTheirDesignNames()
{
    auto *box = find<QCheckBox>(QStringLiteral("Check1(4)"));
    QCOMPARE(box->accessibleDescription(),
        QStringLiteral("勾选后两个文件的修改时间必须相同 [Check1(4)]"));
    QCOMPARE(box->accessibleName(), QStringLiteral("文件修改时间"));
    QVERIFY(!m_window->findChild<QCheckBox *>(QStringLiteral("Check1(1)")));
    auto *scanButton = find<QPushButton>(QStringLiteral("CommandStartScan"));
    QCOMPARE(scanButton->accessibleName(), QStringLiteral("开始扫描"));
    QCOMPARE(scanButton->accessibleDescription(),
        QStringLiteral("扫描所选目录中符合文件类型的文件 [CommandStartScan]"));
    auto *sortButton = find<QPushButton>(QStringLiteral("Command1"));
    QCOMPARE(sortButton->text(), QStringLiteral("UP"));
    QCOMPARE(sortButton->accessibleName(), QStringLiteral("按此列升序排序"));

    // Every control, and the window, says what it does in words of its own
    // and ends with its design name in brackets; a captioned one is named by
    // its caption.
    QList<QWidget *> controls = m_window->findChildren<QWidget *>();
    controls.removeIf([](const QWidget *w) { return ControlKind::of(w).isEmpty(); });
    QVERIFY(controls.size() > 30);
    controls.append(m_window);
    for (const QWidget *control : controls) {
        const QString tail = u" ["_qs + control->objectName() + u']';
        const QString description = control->accessibleDescription();
        QVERIFY2(description.endsWith(tail) && description.size() > tail.size()
                && !description.chopped(tail.size()).contains(control->objectName()),
            qPrintable(control->objectName() + u": "_qs + description));
        const auto *button = qobject_cast<const QAbstractButton *>(control);
        if (button && !button->text().isEmpty() && control != sortButton)
            QCOMPARE(button->accessibleName(), button->text());
    }
}

QTEST_MAIN(TestFrmMainStartup)
#include "tst_FrmMainStartup.moc"
