#pragma once

#include <QString>

class DesktopShell;

// Opening a listed file with its program, and showing it in its folder.
namespace ModOpenAndSetFocus {

// True when the name is taken by anything: a file, a folder or a link. The
// path is taken as it stands, with no pattern characters.
bool PathHasMatch(const QString &path);

// Hands the file to the desktop's opener; what happens then is the
// desktop's.
void OpenFile(DesktopShell &desktop, const QString &fullPath);

// Shows the file in the file manager's window on its folder; false when the
// file is not there or the desktop could open nothing.
bool RevealInFolder(DesktopShell &desktop, const QString &fullPath);

} // namespace ModOpenAndSetFocus
