#include "platform/desktop/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace MousePointer {

void set(int code)
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (code == Wait)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

} // namespace MousePointer
