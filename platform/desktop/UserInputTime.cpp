#include "platform/desktop/UserInputTime.h"

#include <QCoreApplication>
#include <QInputEvent>

UserInputTime::UserInputTime()
{
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputTime::~UserInputTime()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool UserInputTime::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Events the program makes up itself carry no time.
        if (const quint64 time = static_cast<QInputEvent *>(event)->timestamp())
            m_latest = time;
        break;
    default:
        break;
    }
    return false;
}
