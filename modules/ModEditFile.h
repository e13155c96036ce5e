#pragma once

#include "platform/files/ShellFileRequest.h"

#include <QString>

#include <functional>
#include <optional>

class Dialogs;

// The one way the commands change files on disk in bulk, and the two checks
// they share. A path list is full paths joined by one NUL, as pendingPaths
// holds them; each wrapper hands the whole list to the file-operation service
// in one request, so a batch gets one confirmation and one progress window.
// The result is 1 for success, 0 when the user cancelled, -1 for a failure.
// A move or a recycle may carry the stamps its files must still have (by
// path); a file that changed since is left where it is, as a failure.
namespace ModEditFile {

using Stamps = QHash<QString, FileStamp>;
// What became of each file the request reached, when the caller asks.
using Handled = QList<ShellFileRequest::Handled>;

int CopyFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder);
int MoveFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder,
    const Stamps &expected = {}, Handled *handled = nullptr);
int RecycleFileList(Dialogs &dialogs, const QString &sourceList, const Stamps &expected = {},
    Handled *handled = nullptr);

// True only for an existing file; a folder, an empty path or a missing file
// gives false.
bool IsFilePresent(const QString &path);
// True when the name holds one of > < ? * : / \ " | or a control character;
// false for the empty name.
bool HasIllegalNameChar(const QString &name);

// Asks for a new base name for the file (the extension stays) until the
// user gives a usable one or gives up, then renames the file without ever
// replacing another; a name taken meanwhile is reported as taken and asked
// again. A name that a listed file holds in the folder (isListed) is taken
// too, even when that file is gone from disk: the lists would then name one
// file twice. Returns the new name once the file carries it, with the
// file's stamp as it was right before the rename.
struct Renamed
{
    QString name;
    std::optional<FileStamp> before;
};
std::optional<Renamed> RenameFile(Dialogs &dialogs, const QString &folder, const QString &name,
    const std::function<bool(const QString &newName)> &isListed);

// The requests the wrappers send, and how a return code becomes a result.
ShellFileRequest copyRequest(const QString &sourceList, const QString &targetFolder);
ShellFileRequest moveRequest(
    const QString &sourceList, const QString &targetFolder, const Stamps &expected = {});
ShellFileRequest recycleRequest(const QString &sourceList, const Stamps &expected = {});
int operationResult(int returnCode);

} // namespace ModEditFile
