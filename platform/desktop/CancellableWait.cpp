#include "platform/desktop/CancellableWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QTimer>

namespace {

// Holds back every input to every window for the length of the wait; Esc
// ends it. A close request is refused: the window is in the middle of its
// work.
class InputGate : public QObject
{
public:
    explicit InputGate(QEventLoop &loop)
        : m_loop(loop)
    {
    }
    bool cancelled() const { return m_cancelled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                m_cancelled = true;
                m_loop.quit();
            }
            return true;
        case QEvent::Close:
            event->ignore();
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QEventLoop &m_loop;
    bool m_cancelled = false;
};

} // namespace

namespace CancellableWait {

bool until(const QFuture<void> &work, const std::function<void()> &tick, int tickMs)
{
    tick();
    QEventLoop loop;
    InputGate gate(loop);
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(work);
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] { tick(); });
    ticker.start(tickMs);
    QCoreApplication::instance()->installEventFilter(&gate);
    if (!work.isFinished())
        loop.exec();
    QCoreApplication::instance()->removeEventFilter(&gate);
    return !gate.cancelled();
}

} // namespace CancellableWait
