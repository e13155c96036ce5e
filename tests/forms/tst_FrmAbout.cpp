#include "MainWindowTest.h"
#include "forms/about/FrmAbout.h"
#include "forms/about/FrmHelp.h"

#include "platform/widgets/TabStrip.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
    void windowsAreWindowsOnTheBridge_data();
    void windowsAreWindowsOnTheBridge();

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
    captions << u"回收站"_qs << u"还原"_qs << u"DOWN"_qs;
    // Every control of the window by its caption, the menu bar's items too.
    for (const QAbstractButton *button : m_window->findChildren<QAbstractButton *>())
        captions << button->text().section(u' ', 0, 0);
    // The settings' captions; the other labels are decoration.
    for (const QLabel *label : m_window->findChildren<QLabel *>())
        if (label->objectName().startsWith(u"Label3"))
            captions << label->text();
    for (const TabStrip *tabs : m_window->findChildren<TabStrip *>()) {
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
    }
    for (QAction *item : m_window->menuBar()->actions())
        captions << item->text().section(u'(', 0, 0);
    captions.removeAll(QString());
    QVERIFY(captions.contains(u"文件内容"_qs));
    QVERIFY(captions.contains(u"预览将删除的文件"_qs));
    QVERIFY(captions.contains(u"撤销"_qs));
    for (const QString &caption : captions)
        QVERIFY2(guide.contains(caption), qPrintable(caption));
}

void TestFrmAbout::windowsAreWindowsOnTheBridge_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("title");
    QTest::newRow("about") << u"ShowAbout"_qs << int(QAccessible::Dialog) << u"关于 Velkor"_qs;
    QTest::newRow("help") << u"MnuHelp"_qs << int(QAccessible::Window) << u"Velkor 使用帮助"_qs;
}

// Not a "filler": a window of its own, named by its title, and each control
// says what it does with its design name last.
void TestFrmAbout::windowsAreWindowsOnTheBridge()
{
    QFETCH(QString, item);
    QFETCH(int, role);
    QFETCH(QString, title);
    const int before = static_cast<int>(QApplication::topLevelWidgets().size());
    find<QAction>(item)->trigger();
    QWidget *window = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible()
            && (qobject_cast<FrmAbout *>(widget) || qobject_cast<FrmHelp *>(widget)))
            window = widget;
    QVERIFY(window);
    QVERIFY(QApplication::topLevelWidgets().size() > before);
    QAccessibleInterface *bridge = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(int(bridge->role()), role);
    QCOMPARE(bridge->text(QAccessible::Name), title);
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.removeIf([](const QWidget *w) { return w->objectName().startsWith(u"qt_"); });
    controls.append(window);
    int named = 0;
    for (const QWidget *control : controls) {
        if (control->objectName().isEmpty())
            continue;
        ++named;
        const QString tail = u" ["_qs + control->objectName() + u']';
        const QString description = control->accessibleDescription();
        QVERIFY2(description.endsWith(tail) && description.size() > tail.size(),
            qPrintable(control->objectName() + u": "_qs + description));
    }
    QVERIFY(named >= 2);
}

QTEST_MAIN(TestFrmAbout)
#include "tst_FrmAbout.moc"
