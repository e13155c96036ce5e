#include "MainWindowTest.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

// The compare controls of the main window, driven as a user would: the
// criterion boxes and their lock, the mode tabs, and the compare button over
// the catalogue of the last scan.
class TestFrmMainCompare : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void untickingTheLastBoxLocksAllButTheBoxes();
    void modeTabsSwitchCaptionAndThreshold();
    void sameNameRunListsPairsAndUnlocks();
    void onlyTheTickedFieldsDecide();
    void similarRunReadsTheTypedThreshold();
    void runWithoutPairsOrRecords();

private:
    void addFile(const QString &name, const QString &folder, const QString &size,
        const QString &type = QStringLiteral("MP3 文件"));
    void compare() { find<QPushButton>(QStringLiteral("CommandToCompare"))->click(); }
};

void TestFrmMainCompare::init()
{
    openWindow();
}

void TestFrmMainCompare::cleanup()
{
    closeWindow();
}

void TestFrmMainCompare::addFile(
    const QString &name, const QString &folder, const QString &size, const QString &type)
{
    const QString time = QStringLiteral("2024/3/5 9:07:01");
    m_window->catalogue().append(FileRecord {{name, folder, size, time, time, time, type}});
}

void TestFrmMainCompare::untickingTheLastBoxLocksAllButTheBoxes()
{
    auto *nameBox = find<QCheckBox>(QStringLiteral("Check1(0)"));
    nameBox->click();
    QVERIFY(!nameBox->isChecked());
    for (const char *name : {"CommandToCompare", "CommandStartScan", "CommandSelectPath",
             "CommandDelFile", "CommandMoveTo", "Command1"})
        QVERIFY2(!find<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
    for (const char *name : {"Combo1", "Combo2", "Combo3"})
        QVERIFY2(!find<QComboBox>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!find<QLineEdit>(QStringLiteral("Text1"))->isEnabled());
    QVERIFY(!find<FlexGrid>(QStringLiteral("MSHList"))->isEnabled());
    QVERIFY(!find<FlexGrid>(QStringLiteral("MSH1"))->isEnabled());
    QVERIFY(!find<TabStrip>(QStringLiteral("TabStrip2"))->isEnabled());
    for (const char *name : {"Check1(0)", "Check1(2)", "Check1(6)"})
        QVERIFY2(find<QCheckBox>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(m_window->menuBar()->isEnabled());
    QVERIFY(find<StatusBar>(QStringLiteral("SBar1"))->isEnabled());

    find<QCheckBox>(QStringLiteral("Check1(5)"))->click();
    QVERIFY(find<QPushButton>(QStringLiteral("CommandToCompare"))->isEnabled());
    QVERIFY(find<QComboBox>(QStringLiteral("Combo3"))->isEnabled());
    QVERIFY(find<FlexGrid>(QStringLiteral("MSH1"))->isEnabled());
    QVERIFY(find<TabStrip>(QStringLiteral("TabStrip2"))->isEnabled());
}

void TestFrmMainCompare::modeTabsSwitchCaptionAndThreshold()
{
    auto *nameBox = find<QCheckBox>(QStringLiteral("Check1(0)"));
    auto *threshold = find<QComboBox>(QStringLiteral("Combo3"));
    auto *modes = find<TabStrip>(QStringLiteral("TabStrip2"));
    QCOMPARE(nameBox->text(), QStringLiteral("文件名相同"));
    QVERIFY(threshold->isHidden());

    modes->setCurrentIndex(1); // as a user's click does
    QCOMPARE(nameBox->text(), QStringLiteral("文件名相似度：         %"));
    QCOMPARE(nameBox->accessibleName(), nameBox->text());
    QVERIFY(!threshold->isHidden());
    // The box covers the blanks, and the "%" shows right of it, inside the
    // check box.
    QStyleOptionButton option;
    option.initFrom(nameBox);
    const int textLeft = nameBox->x()
        + nameBox->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, nameBox).left();
    const QFontMetrics metrics(nameBox->font());
    const int percentLeft = textLeft + metrics.horizontalAdvance(nameBox->text().chopped(1));
    QVERIFY(textLeft + metrics.horizontalAdvance(u"文件名相似度："_qs) <= threshold->x());
    QVERIFY(percentLeft >= threshold->geometry().right());
    QVERIFY(percentLeft + metrics.horizontalAdvance(u"%"_qs) <= nameBox->geometry().right());
    nameBox->click();
    nameBox->click();
    QCOMPARE(nameBox->text(), QStringLiteral("文件名相似度：         %"));

    modes->setCurrentIndex(0);
    QCOMPARE(nameBox->text(), QStringLiteral("文件名相同"));
    QVERIFY(threshold->isHidden());
    QVERIFY(nameBox->isChecked());
}

void TestFrmMainCompare::sameNameRunListsPairsAndUnlocks()
{
    addFile(QStringLiteral("Song.MP3"), QStringLiteral("/a/"), QStringLiteral("100"));
    addFile(QStringLiteral("song.wma"), QStringLiteral("/a/"), QStringLiteral("100"));
    addFile(QStringLiteral("song.mp3"), QStringLiteral("/b/"), QStringLiteral("101"));
    addFile(QStringLiteral("SONG.mp3"), QStringLiteral("/c/"), QStringLiteral("102"));
    auto *grid = find<FlexGrid>(QStringLiteral("MSH1"));
    const int nameWidth = grid->ColWidth(CompareColumn::Name1);

    compare();

    QCOMPARE(find<TabStrip>(QStringLiteral("TabStrip1"))->SelectedIndex(), 2);
    QCOMPARE(grid->Rows(), 4); // three pairs, no trailing empty row
    const QList<QStringList> expected {
        {QStringLiteral("1"), QStringLiteral("Song.MP3"), QStringLiteral("song.mp3")},
        {QStringLiteral("2"), QStringLiteral("Song.MP3"), QStringLiteral("SONG.mp3")},
        {QStringLiteral("3"), QStringLiteral("song.mp3"), QStringLiteral("SONG.mp3")},
    };
    for (int row = 1; row <= 3; ++row) {
        const QStringList &cells = expected.at(row - 1);
        QCOMPARE(grid->TextMatrix(row, CompareColumn::Number), cells.at(0));
        QCOMPARE(grid->TextMatrix(row, CompareColumn::Similarity), QStringLiteral("100.00%"));
        QCOMPARE(grid->TextMatrix(row, CompareColumn::Name1), cells.at(1));
        QCOMPARE(grid->TextMatrix(row, CompareColumn::Name2), cells.at(2));
    }
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Folder1), QStringLiteral("/a/"));
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Size2), QStringLiteral("101"));
    QCOMPARE(find<StatusBar>(QStringLiteral("SBar1"))->panelText(2),
        QStringLiteral("对比结果：3 组符合项"));
    QVERIFY(grid->ColWidth(CompareColumn::Name1) >= nameWidth);
    QVERIFY(grid->Redraw());
    QVERIFY(find<QPushButton>(QStringLiteral("CommandToCompare"))->isEnabled());
    QVERIFY(find<QCheckBox>(QStringLiteral("Check1(3)"))->isEnabled());
    QVERIFY(grid->isEnabled());

    compare(); // a run leaves the catalogue as it was
    QCOMPARE(grid->Rows(), 4);
    QCOMPARE(grid->TextMatrix(3, CompareColumn::Name1), QStringLiteral("song.mp3"));
}

void TestFrmMainCompare::onlyTheTickedFieldsDecide()
{
    addFile(QStringLiteral("a.mp3"), QStringLiteral("/a/"), QStringLiteral("100"));
    addFile(QStringLiteral("b.mp3"), QStringLiteral("/a/"), QStringLiteral("200"));
    addFile(QStringLiteral("c.mp3"), QStringLiteral("/b/"), QStringLiteral("100"));
    find<QCheckBox>(QStringLiteral("Check1(2)"))->click();
    find<QCheckBox>(QStringLiteral("Check1(0)"))->click();

    compare();

    auto *grid = find<FlexGrid>(QStringLiteral("MSH1"));
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Name1), QStringLiteral("a.mp3"));
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Name2), QStringLiteral("c.mp3"));
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Folder2), QStringLiteral("/b/"));
}

void TestFrmMainCompare::similarRunReadsTheTypedThreshold()
{
    addFile(QStringLiteral("abc.mp3"), QStringLiteral("/a/"), QStringLiteral("1"));
    addFile(QStringLiteral("abcd.mp3"), QStringLiteral("/a/"), QStringLiteral("2"));
    find<TabStrip>(QStringLiteral("TabStrip2"))->setCurrentIndex(1);
    auto *threshold = find<QComboBox>(QStringLiteral("Combo3"));
    auto *grid = find<FlexGrid>(QStringLiteral("MSH1"));
    auto *status = find<StatusBar>(QStringLiteral("SBar1"));

    compare();
    QCOMPARE(status->panelText(2), QStringLiteral("没有找到相同的文件"));
    QCOMPARE(grid->Rows(), 2);

    threshold->setEditText(QStringLiteral("75"));
    compare();
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(grid->TextMatrix(1, CompareColumn::Similarity), QStringLiteral("75.00%"));
    QCOMPARE(status->panelText(2), QStringLiteral("对比结果：1 组符合项"));

    // Text that is no threshold is refused, and the listed pair stays.
    for (const QString &typed : {u"abc"_qs, QString(), u"0"_qs, u"-5"_qs, u"150"_qs}) {
        threshold->setEditText(typed);
        compare();
        QCOMPARE(m_dialogs.prompts.size(), 1);
        const Dialogs::Prompt error = m_dialogs.prompts.takeFirst();
        QCOMPARE(error.title, u"错误！"_qs);
        QCOMPARE(error.text, u"请输入 1 到 100 之间的相似度。"_qs);
        QCOMPARE(error.icon, Dialogs::Icon::Critical);
        QCOMPARE(error.buttons, QStringList {QString::fromUtf8(Dialogs::Ok)});
        QCOMPARE(grid->TextMatrix(1, CompareColumn::Similarity), QStringLiteral("75.00%"));
    }

    threshold->setEditText(QStringLiteral("76"));
    compare();
    QVERIFY(grid->TextMatrix(1, CompareColumn::Name1).isEmpty());
}

void TestFrmMainCompare::runWithoutPairsOrRecords()
{
    auto *grid = find<FlexGrid>(QStringLiteral("MSH1"));
    auto *status = find<StatusBar>(QStringLiteral("SBar1"));
    compare();
    QCOMPARE(status->panelText(2), QStringLiteral("等待对比..."));
    QCOMPARE(find<TabStrip>(QStringLiteral("TabStrip1"))->SelectedIndex(), 2);
    QCOMPARE(grid->Rows(), 2);
    QVERIFY(grid->Redraw());

    addFile(QStringLiteral("only.mp3"), QStringLiteral("/a/"), QStringLiteral("1"));
    compare();
    QCOMPARE(status->panelText(2), QStringLiteral("没有找到相同的文件"));
    QCOMPARE(grid->Rows(), 2);
    for (int c = 0; c < 16; ++c)
        QVERIFY(grid->TextMatrix(1, c).isEmpty());
    QVERIFY(m_dialogs.prompts.isEmpty());
}

QTEST_MAIN(TestFrmMainCompare)
#include "tst_FrmMainCompare.moc"
