#include "modules/ModOpenAndSetFocus.h"

#include "platform/desktop/DesktopShell.h"
#include "platform/files/FileSystem.h"

namespace ModOpenAndSetFocus {

bool PathHasMatch(const QString &path)
{
    return FileSystem::exists(path);
}

void OpenFile(DesktopShell &desktop, const QString &fullPath)
{
    desktop.openFile(fullPath);
}

// The path is not trimmed: a name here may end in spaces, and the trimmed
// path would be another file.
bool RevealInFolder(DesktopShell &desktop, const QString &fullPath)
{
    return PathHasMatch(fullPath) && desktop.showInFolder(fullPath);
}

} // namespace ModOpenAndSetFocus
