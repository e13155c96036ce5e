#include "MainWindowTest.h"
#include "TestFiles.h"
#include "forms/main/FrmMain.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"

#include <QCheckBox>
#include <QComboBox>
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

QTEST_MAIN(TestFrmMainPreview)
#include "tst_FrmMainPreview.moc"
