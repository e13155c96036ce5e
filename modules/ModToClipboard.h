#pragma once

#include <QStringList>

class DesktopShell;

namespace ModToClipboard {

// Puts the files on the clipboard as a list a file manager pastes as
// copies, in the given order; true once the clipboard holds it.
bool PutFilesOnClipboard(DesktopShell &desktop, const QStringList &paths);

} // namespace ModToClipboard
