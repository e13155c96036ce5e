#include "modules/ModOpenAndSetFocus.h"

#include "platform/desktop/DesktopShell.h"
#include "platform/files/FileSystem.h"

namespace ModOpenAndSetFocus {

bool PathHasMatch(const QString &path)
{
    return FileSystem::exists(path);
}

bool OpenFile(DesktopShell &desktop, const QString &fullPath)
{
    return desktop.openFile(fullPath);
}

// The path is not trimmed: a name here may end in spaces, and the trimmed
// path would be another file.
bool RevealInFolder(DesktopShell &desktop, const QString &fullPath, quint64 eventTime)
{
    return PathHasMatch(fullPath) && desktop.showInFolder(fullPath, eventTime);
}

} // namespace ModOpenAndSetFocus
