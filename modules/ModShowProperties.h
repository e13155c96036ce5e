#pragma once

#include <QString>
#include <QtGlobal>

class DesktopShell;
class QWidget;

namespace ModShowProperties {

// Opens a properties window on the file, owned by the window and in front
// for the user's action at eventTime; false when the file is not there or no
// window could be shown.
bool ShowFileProperties(
    DesktopShell &desktop, const QString &fullPath, QWidget *owner, quint64 eventTime);

} // namespace ModShowProperties
