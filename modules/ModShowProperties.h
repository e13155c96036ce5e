#pragma once

#include <QString>

class DesktopShell;
class QWidget;

namespace ModShowProperties {

// Opens a properties window on the file, owned by the window; false when the
// file is not there or no window could be shown.
bool ShowFileProperties(DesktopShell &desktop, const QString &fullPath, QWidget *owner);

} // namespace ModShowProperties
