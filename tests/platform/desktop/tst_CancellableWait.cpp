#include "platform/desktop/CancellableWait.h"

#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

// The wait a long reading runs under: it ends with the work, Esc ends it
// early, and the user's other input is held back meanwhile.
class TestCancellableWait : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void waitEndsWithTheWorkOrAtEsc_data();
    void waitEndsWithTheWorkOrAtEsc();
};

void TestCancellableWait::waitEndsWithTheWorkOrAtEsc_data()
{
    QTest::addColumn<bool>("pressEsc");
    QTest::newRow("work done") << false;
    QTest::newRow("Esc pressed") << true;
}

void TestCancellableWait::waitEndsWithTheWorkOrAtEsc()
{
    QFETCH(bool, pressEsc);
    QPushButton button(QStringLiteral("确定"));
    button.show();
    bool clicked = false;
    connect(&button, &QPushButton::clicked, this, [&] { clicked = true; });

    QSemaphore release;
    QFuture<void> work = QtConcurrent::run([&] { release.acquire(); });
    int ticks = 0;
    QObject scope; // no timer outlives the case
    // Should Esc be ignored, the work ends anyway and the wait reports it done.
    QTimer::singleShot(2000, &scope, [&] { release.release(); });
    QTimer::singleShot(50, &scope, [&] {
        QTest::mouseClick(&button, Qt::LeftButton);
        if (pressEsc)
            QTest::keyClick(&button, Qt::Key_Escape);
        else
            release.release();
    });
    const bool finished = CancellableWait::until(
        work, [&] { ++ticks; }, 10);
    release.release();
    work.waitForFinished();

    QCOMPARE(finished, !pressEsc);
    QVERIFY(ticks >= 1);
    QVERIFY(!clicked);
}

QTEST_MAIN(TestCancellableWait)
#include "tst_CancellableWait.moc"
