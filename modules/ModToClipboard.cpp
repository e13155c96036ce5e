#include "modules/ModToClipboard.h"

#include "platform/desktop/DesktopShell.h"

namespace ModToClipboard {

bool PutFilesOnClipboard(DesktopShell &desktop, const QStringList &paths)
{
    return !paths.isEmpty() && desktop.putFilesOnClipboard(paths);
}

} // namespace ModToClipboard
