#include "MainWindowTest.h"
#include "modules/ModFrmObject.h"
#include "platform/widgets/LogList.h"
#include "platform/widgets/Twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

// The window's layout at other sizes and the splitter bar's drag, against
// the designed rectangles.
class TestFrmMainLayout : public MainWindowTest<>
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void resizeFollowsTheDesignedRectangles_data();
    void resizeFollowsTheDesignedRectangles();
    void splitterDragIsClampedAndUndoneByAResize_data();
    void splitterDragIsClampedAndUndoneByAResize();
    void minimumSizeKeepsEveryControlInside();
    void logColumnsFollowAndTheLastLineIsSelected();

private:
    QWidget *widget(const char *name) const { return find<QWidget>(QLatin1String(name)); }
    QRect designed(const char *name) const { return ModFrmObject::designedRect(widget(name)); }
    // Grows the client area by these twips.
    void grow(int width, int height)
    {
        m_window->resize(m_window->size() + QSize(Twips::toPixels(width), Twips::toPixels(height)));
        QApplication::processEvents();
    }
    void mouse(QEvent::Type type, int y)
    {
        QWidget *bar = widget("Picture2");
        const QPointF pos(5, y);
        QMouseEvent event(type, pos, bar->mapToGlobal(pos), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    }
};

// Pixels from twips round once per length; a layout computed in twips may
// differ from the expectation by that much.
#define QCOMPARE_PIXELS(actual, twips)                                                             \
    QVERIFY2(std::abs((actual)-Twips::toPixels(twips)) <= 2,                                       \
        qPrintable(QStringLiteral("%1 px, expected %2 twips").arg(actual).arg(twips)))

void TestFrmMainLayout::init()
{
    openWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestFrmMainLayout::cleanup()
{
    closeWindow();
}

void TestFrmMainLayout::resizeFollowsTheDesignedRectangles_data()
{
    QTest::addColumn<QList<QSize>>("steps"); // growths in twips, one after another
    QTest::newRow("wider") << QList<QSize> {{3000, 0}};
    QTest::newRow("taller") << QList<QSize> {{0, 1000}};
    QTest::newRow("smaller then larger again")
        << QList<QSize> {{3000, 1500}, {-3000, -1500}, {3000, 1500}};
}

void TestFrmMainLayout::resizeFollowsTheDesignedRectangles()
{
    QFETCH(QList<QSize>, steps);
    const QSize designedClient = ModFrmObject::designedSize(m_window->centralWidget());
    QSize growth;
    for (const QSize &step : steps) {
        grow(step.width(), step.height());
        growth += step;
    }
    const QSize client(Twips::fromPixels(m_window->centralWidget()->width()),
        Twips::fromPixels(m_window->centralWidget()->height()));
    QVERIFY(std::abs(client.width() - designedClient.width() - growth.width()) <= 30);
    const double rw = double(client.width()) / designedClient.width();
    const double rh = double(client.height()) / designedClient.height();

    QCOMPARE_PIXELS(widget("FrameFile")->width(), int(designed("FrameFile").width() * rw));
    QCOMPARE_PIXELS(widget("Frame1")->x(), int(designed("Frame1").left() * rw));
    QCOMPARE_PIXELS(widget("CommandStartScan")->x(), designed("CommandStartScan").left());
    for (const char *name : {"FrameTab(0)", "MSHList", "MSH1", "ListView1", "Picture2"})
        QCOMPARE_PIXELS(widget(name)->width(), int(designed(name).width() * rw));
    const int splitterTop = int(designed("Picture2").top() * rh);
    QCOMPARE_PIXELS(widget("Picture2")->y(), splitterTop);
    QCOMPARE_PIXELS(widget("FrameTab(0)")->height(), splitterTop - designed("FrameTab(0)").top());
    QCOMPARE_PIXELS(widget("MSH1")->height(), splitterTop - designed("FrameTab(1)").top() - 120);
    // The log fills the room between the bar and the status bar.
    QCOMPARE_PIXELS(widget("ListView1")->y(), splitterTop + designed("Picture2").height());
    QCOMPARE_PIXELS(widget("SBar1")->y() - widget("ListView1")->geometry().bottom() - 1, 120);
    QCOMPARE(widget("SBar1")->geometry().bottom(), m_window->centralWidget()->height() - 1);
}

void TestFrmMainLayout::splitterDragIsClampedAndUndoneByAResize_data()
{
    QTest::addColumn<int>("moveBy"); // pixels
    QTest::addColumn<bool>("up");
    QTest::newRow("above the result pages") << -5000 << true;
    QTest::newRow("into the status bar") << 5000 << false;
}

void TestFrmMainLayout::splitterDragIsClampedAndUndoneByAResize()
{
    QFETCH(int, moveBy);
    QFETCH(bool, up);
    grow(0, 1000);
    const int settled = widget("Picture2")->y();
    mouse(QEvent::MouseButtonPress, 2);
    mouse(QEvent::MouseMove, moveBy);
    mouse(QEvent::MouseButtonRelease, moveBy);
    QWidget *bar = widget("Picture2");
    if (up)
        QCOMPARE_PIXELS(bar->y(), Twips::fromPixels(widget("FrameTab(0)")->y()) + 60);
    else
        QCOMPARE(bar->geometry().bottom() + 1, widget("SBar1")->y());
    // The pages and the log follow the bar on release.
    QCOMPARE(widget("ListView1")->y(), bar->geometry().bottom() + 1);
    QCOMPARE_PIXELS(widget("FrameTab(0)")->geometry().bottom() + 1, Twips::fromPixels(bar->y()));

    // A resize puts the bar back to its scaled designed place.
    grow(0, 15);
    QVERIFY(std::abs(bar->y() - settled) <= 2);
}

void TestFrmMainLayout::minimumSizeKeepsEveryControlInside()
{
    grow(4000, 2000);
    m_window->resize(1, 1);
    QApplication::processEvents();
    QWidget *client = m_window->centralWidget();
    const QSize minimum(Twips::toPixels(ModFrmObject::designedSize(client).width()),
        Twips::toPixels(ModFrmObject::designedSize(client).height()));
    QCOMPARE(client->size(), minimum);
    for (QWidget *control : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        // The picture panel lies beyond the designed width on purpose.
        if (control->isHidden() || control->objectName() == u"Picture1")
            continue;
        QVERIFY2(client->rect().contains(control->geometry()), qPrintable(control->objectName()));
    }
}

void TestFrmMainLayout::logColumnsFollowAndTheLastLineIsSelected()
{
    auto *log = find<LogList>(u"ListView1"_qs);
    for (int i = 0; i < 3; ++i)
        log->addLine(QString::number(i + 1), {});
    QTRY_COMPARE(log->currentLine(), 2);
    log->selectItem(0);
    grow(3000, 0);
    QCOMPARE(log->currentLine(), 2);
    const int width = log->clientWidthTwips();
    QCOMPARE_PIXELS(log->columnWidth(0), width / 10);
    QCOMPARE_PIXELS(log->columnWidth(3), width * 3 / 10);
}

QTEST_MAIN(TestFrmMainLayout)
#include "tst_FrmMainLayout.moc"
