#include "MainWindowTest.h"
#include "TestFiles.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/StatusBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// The preview box over a real compare list: the files the keep rule would
// queue are struck through and counted while it is ticked.
class TestFrmMainPreview : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void tickedBoxStrikesWhatTheRuleTakes();
    void protectedFolderIsSparedAndShown();

private:
    // Whether the cell is drawn struck, and says so.
    bool struck(int row, int col) const;
    // The struck names as "row:name", top to bottom.
    QStringList struckNames() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFrmMainPreview::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    openWindow();
}

void TestFrmMainPreview::cleanup()
{
    closeWindow();
    m_dir.reset();
}

bool TestFrmMainPreview::struck(int row, int col) const
{
    const QModelIndex cell = compareGrid()->model()->index(row - 1, col - 1);
    const bool strike = cell.data(Qt::FontRole).value<QFont>().strikeOut();
    const bool told = cell.data(Qt::AccessibleDescriptionRole).toString().contains(u"将删除");
    if (strike != told)
        qFatal("row %d col %d: strike %d but description %d", row, col, strike, told);
    return strike;
}

QStringList TestFrmMainPreview::struckNames() const
{
    QStringList names;
    for (int row = 1; row < compareGrid()->Rows(); ++row)
        for (const int col : {int(CompareColumn::Name1), int(CompareColumn::Name2)})
            if (struck(row, col))
                names << QString::number(row) + QLatin1Char(':')
                        + compareGrid()->TextMatrix(row, col + 2).section(u'/', -2, -2);
    return names;
}

void TestFrmMainPreview::tickedBoxStrikesWhatTheRuleTakes()
{
    // One name in folders a, b, c of 100, 300 and 200 bytes: three pairs.
    const int sizes[] = {100, 300, 200};
    for (int i = 0; i < 3; ++i) {
        const QString folder = m_dir->filePath(QString(QChar(u'a' + i))) + QLatin1Char('/');
        QVERIFY(TestFiles::write(folder + "x.mp3", QByteArray(sizes[i], 'x')));
        const QString time = QStringLiteral("2024/3/5 9:07:01");
        m_window->catalogue().append(
            FileRecord {{QStringLiteral("x.mp3"), folder, QString::number(sizes[i]), time, time,
                            time, QStringLiteral("MP3 文件")},
                FileStamp::of(folder + "x.mp3")});
    }
    press("CommandToCompare");
    QCOMPARE(compareGrid()->Rows(), 4);
    const QString compared = panel(2);
    auto *box = find<QCheckBox>(QStringLiteral("CheckPreview"));
    QCOMPARE(box->text(), QStringLiteral("预览将删除的文件"));
    QVERIFY(!box->isChecked());
    QVERIFY(struckNames().isEmpty());

    box->click();
    // Rule 0 keeps a: b and c go, in every row that lists them.
    QCOMPARE(struckNames(), (QStringList {"1:b", "2:c", "3:b", "3:c"}));
    QCOMPARE(panel(2), QStringLiteral("预览：将删除 2 个文件，共 0.49 KIB(0.00 MB)(0.00 G)"));
    // The larger is kept: a loses to b and to c, c to b, and c is struck
    // in the row it wins too.
    find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(2);
    QCOMPARE(struckNames(), (QStringList {"1:a", "2:a", "2:c", "3:c"}));
    QCOMPARE(panel(2), QStringLiteral("预览：将删除 2 个文件，共 0.29 KIB(0.00 MB)(0.00 G)"));
    // A row leaving the list takes its decision with it.
    compareGrid()->RemoveItem(3);
    QTRY_COMPARE(struckNames(), (QStringList {"1:a", "2:a"}));
    QCOMPARE(panel(2), QStringLiteral("预览：将删除 1 个文件，共 0.10 KIB(0.00 MB)(0.00 G)"));

    box->click();
    QVERIFY(struckNames().isEmpty());
    QCOMPARE(panel(2), compared);
}

// The protection set on the scan list's current file spares its folder in
// the compare list's keep rule and in a selection delete, and both lists show
// it.
void TestFrmMainPreview::protectedFolderIsSparedAndShown()
{
    const QString keep = m_dir->filePath(QStringLiteral("tree/keep/sub/x.mp3"));
    const QString other = m_dir->filePath(QStringLiteral("tree/other/x.mp3"));
    QVERIFY(TestFiles::write(keep, "same"));
    QVERIFY(TestFiles::write(other, "same"));
    find<QLineEdit>(QStringLiteral("Text1"))->setText(m_dir->filePath(QStringLiteral("tree")));
    find<QComboBox>(QStringLiteral("Combo1"))->setCurrentText(QStringLiteral("*.mp3"));
    press("CommandStartScan");
    FlexGrid *scan = scanGrid();
    QCOMPARE(scan->Rows(), 3);
    const int keepRow = scan->TextMatrix(1, ScanColumn::Folder).contains(u"keep") ? 1 : 2;
    const auto run = [&](const char *action) {
        m_window->findChild<QAction *>(QLatin1String(action))->trigger();
    };
    const auto folderLook = [](FlexGrid *grid, int row, int col) {
        const QModelIndex cell = grid->model()->index(row - 1, col - 1);
        const bool bold = cell.data(Qt::FontRole).value<QFont>().bold();
        const bool told = cell.data(Qt::AccessibleDescriptionRole).toString().contains(u"受保护");
        return QString::number(bold) + QString::number(told);
    };

    // The current cell's file gives the folder; only folder cells show it.
    scan->setFocus();
    {
        const FlexGrid::QuietMoves quiet(*scan);
        scan->setRow(keepRow);
        scan->setCol(ScanColumn::Name);
    }
    run("ProtectFolder");
    QCOMPARE(folderLook(scan, keepRow, ScanColumn::Folder), QStringLiteral("11"));
    QCOMPARE(folderLook(scan, 3 - keepRow, ScanColumn::Folder), QStringLiteral("00"));
    QCOMPARE(folderLook(scan, keepRow, ScanColumn::Name), QStringLiteral("00"));

    // Whichever column keep stands in, no rule takes it: the other file goes.
    press("CommandToCompare");
    QCOMPARE(compareGrid()->Rows(), 2);
    const int keepSide
        = compareGrid()->TextMatrix(1, CompareColumn::Folder1).contains(u"keep") ? 1 : 2;
    find<QCheckBox>(QStringLiteral("CheckPreview"))->click();
    auto *rules = find<QComboBox>(QStringLiteral("Combo2"));
    for (const int rule : {0, 1}) {
        rules->setCurrentIndex(rule);
        QVERIFY(!struck(1, CompareColumn::Name1 + keepSide - 1));
        QVERIFY(struck(1, CompareColumn::Name1 + 2 - keepSide));
    }
    QCOMPARE(
        folderLook(compareGrid(), 1, CompareColumn::Folder1 + keepSide - 1), QStringLiteral("11"));
    // Taken back, the rule decides alone again.
    scan->setFocus();
    run("UnprotectFolder");
    QCOMPARE(folderLook(scan, keepRow, ScanColumn::Folder), QStringLiteral("00"));
    rules->setCurrentIndex(keepSide - 1 == 0 ? 1 : 0);
    QVERIFY(struck(1, CompareColumn::Name1 + keepSide - 1));
    run("ProtectFolder");

    // A selection delete of both files passes over the protected one.
    scan->clearHighlights();
    for (const int row : {1, 2}) {
        const FlexGrid::QuietMoves quiet(*scan);
        scan->setRow(row);
        scan->setCol(ScanColumn::Name);
        scan->setCellBackColor(FlexGrid::SelectionColor);
    }
    m_dialogs.answer(QStringLiteral("是"));
    run("DeleteFile");
    QVERIFY(QFile::exists(keep));
    QVERIFY(!QFile::exists(other));
    const auto *log = find<LogList>(QStringLiteral("ListView1"));
    QStringList lines;
    for (int i = 0; i < log->itemCount(); ++i)
        lines << log->itemText(i, 1) + u'|' + log->itemText(i, 2);
    QVERIFY2(lines.contains(keep + QStringLiteral("|【受保护，未处理】")),
        qPrintable(lines.join(u'\n')));
    QCOMPARE(lines.filter(keep).size(), 1);
    QCOMPARE(scan->Rows(), 2);
    QCOMPARE(scan->TextMatrix(1, ScanColumn::Name), QStringLiteral("x.mp3"));
}

QTEST_MAIN(TestFrmMainPreview)
#include "tst_FrmMainPreview.moc"
