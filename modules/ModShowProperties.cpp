#include "modules/ModShowProperties.h"

#include "platform/desktop/DesktopShell.h"
#include "platform/files/FileSystem.h"

namespace ModShowProperties {

bool ShowFileProperties(
    DesktopShell &desktop, const QString &fullPath, QWidget *owner, quint64 eventTime)
{
    return FileSystem::exists(fullPath) && desktop.showProperties(fullPath, owner, eventTime);
}

} // namespace ModShowProperties
