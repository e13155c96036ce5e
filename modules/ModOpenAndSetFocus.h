#pragma once

#include <QString>
#include <QtGlobal>

class DesktopShell;

// Opening a listed file with its program, and showing it in its folder.
namespace ModOpenAndSetFocus {

// True when the name is taken by anything: a file, a folder or a link. The
// path is taken as it stands, with no pattern characters.
bool PathHasMatch(const QString &path);

// Hands the file to the desktop's opener; false when the opener reports it
// could not open the file.
bool OpenFile(DesktopShell &desktop, const QString &fullPath);

// Shows the file in the file manager's window on its folder, in front for
// the user's action at eventTime; false when the file is not there or the
// desktop could open nothing.
bool RevealInFolder(DesktopShell &desktop, const QString &fullPath, quint64 eventTime);

} // namespace ModOpenAndSetFocus
