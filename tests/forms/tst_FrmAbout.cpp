#include "MainWindowTest.h"
#include "forms/about/FrmAbout.h"
#include "forms/about/FrmHelp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

// The About and Help windows as the menu bar opens them.
class TestFrmAbout : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void aboutShowsVersionAndTextsWithoutOwner();
    void aboutClosesByItsKeys_data();
    void aboutClosesByItsKeys();
    void openWindowIsBroughtForwardNotLoadedAgain();
    void helpOpensWithItsGuide();

private:
    template<typename Window>
    QList<Window *> openWindows() const
    {
        QList<Window *> found;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<Window *>(widget))
                found.append(window);
        return found;
    }
    void menu(const char *item) { find<QAction>(QLatin1String(item))->trigger(); }
};

void TestFrmAbout::initTestCase()
{
    QCoreApplication::setApplicationName(u"Velkor"_qs);
}

void TestFrmAbout::init()
{
    openWindow();
    m_window->show();
}

void TestFrmAbout::cleanup()
{
    qDeleteAll(openWindows<FrmAbout>());
    qDeleteAll(openWindows<FrmHelp>());
    closeWindow();
}

void TestFrmAbout::aboutShowsVersionAndTextsWithoutOwner()
{
    menu("ShowAbout");
    const QList<FrmAbout *> about = openWindows<FrmAbout>();
    QCOMPARE(about.size(), 1);
    QWidget *window = about.first();
    QVERIFY(window->isVisible() && !window->isModal() && !window->parentWidget());
    QVERIFY(m_window->isEnabled());
    QCOMPARE(window->windowTitle(), u"关于 Velkor"_qs);
    const auto text
        = [&](const char *name) { return control<QLabel>(window, QLatin1String(name))->text(); };
    QCOMPARE(text("lblTitle"), u"Velkor"_qs);
    QCOMPARE(text("lblVersion"), u"版本 1.0.0"_qs);
    QCOMPARE(text("lblDescription"),
        u"开发环境：C++20 / Qt 6\n\n整理时间：2012-04 （Velkor 开发团队）\n\n"
        "问题反馈：请在项目主页提交问题\n\n\n在 Debian 12、Qt 6 中运行通过"_qs);
    QCOMPARE(text("lblDisclaimer"), u"老少爷们们，有钱的捧个钱场！没钱的捧个人场！"_qs);
    QVERIFY(!control<QLabel>(window, u"picIcon"_qs)->pixmap().isNull());
}

void TestFrmAbout::aboutClosesByItsKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestFrmAbout::aboutClosesByItsKeys()
{
    QFETCH(int, key);
    menu("ShowAbout");
    QPointer<FrmAbout> about = openWindows<FrmAbout>().value(0);
    QVERIFY(about);
    QTest::keyClick(control<QWidget>(about, u"cmdOK"_qs), Qt::Key(key));
    QTRY_VERIFY(about.isNull());
}

void TestFrmAbout::openWindowIsBroughtForwardNotLoadedAgain()
{
    menu("ShowAbout");
    QPointer<FrmAbout> first = openWindows<FrmAbout>().value(0);
    menu("ShowAbout");
    QCOMPARE(openWindows<FrmAbout>(), QList<FrmAbout *> {first.data()});

    // Closed, it is gone; the next opening loads a new one.
    control<QPushButton>(first, u"cmdOK"_qs)->click();
    QTRY_VERIFY(first.isNull());
    menu("ShowAbout");
    QCOMPARE(openWindows<FrmAbout>().size(), 1);

    menu("MnuHelp");
    menu("MnuHelp");
    QCOMPARE(openWindows<FrmHelp>().size(), 1);
}

// The guide names every command of the context menu and every keep rule by
// the captions the window shows.
void TestFrmAbout::helpOpensWithItsGuide()
{
    menu("MnuHelp");
    const QList<FrmHelp *> help = openWindows<FrmHelp>();
    QCOMPARE(help.size(), 1);
    QVERIFY(!help.first()->parentWidget());
    auto *text = control<QPlainTextEdit>(help.first(), u"Text1"_qs);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->font().families().value(0), u"Noto Serif CJK SC"_qs);
    QCOMPARE(text->font().pointSizeF(), 10.5);
    const QString guide = text->toPlainText();
    QStringList captions;
    for (QAction *item : find<QMenu>(u"EditFile"_qs)->actions())
        if (!item->isSeparator())
            captions << item->text().section(u'(', 0, 0);
    const auto *rules = find<QComboBox>(u"Combo2"_qs);
    for (int i = 0; i < rules->count(); ++i)
        captions << rules->itemText(i);
    captions << u"开始扫描"_qs << u"开始对比"_qs << u"删除相同文件"_qs << u"移动相同文件到..."_qs
             << u"回收站"_qs << u"还原"_qs;
    QCOMPARE(captions.size(), 28);
    for (const QString &caption : captions)
        QVERIFY2(guide.contains(caption), qPrintable(caption));
}

QTEST_MAIN(TestFrmAbout)
#include "tst_FrmAbout.moc"
