#include "modules/ModEditFile.h"

#include "platform/files/FileSystem.h"
#include "platform/files/ShellFileOperation.h"

namespace ModEditFile {

namespace {

const QString doubleNul(2, QChar(u'\0'));

ShellFileRequest request(ShellFileRequest::Operation operation, quint16 flags,
    const QString &sourceList, const QString &targetFolder)
{
    ShellFileRequest r;
    r.operation = operation;
    r.flags = flags;
    r.from = sourceList + doubleNul;
    if (operation != ShellFileRequest::Delete)
        r.to = targetFolder + doubleNul;
    return r;
}

int run(Dialogs &dialogs, ShellFileRequest r)
{
    return operationResult(ShellFileOperation(dialogs).perform(r));
}

} // namespace

ShellFileRequest copyRequest(const QString &sourceList, const QString &targetFolder)
{
    return request(
        ShellFileRequest::Copy, ShellFileRequest::NoConfirmMkdir, sourceList, targetFolder);
}

ShellFileRequest moveRequest(const QString &sourceList, const QString &targetFolder)
{
    return request(
        ShellFileRequest::Move, ShellFileRequest::NoConfirmMkdir, sourceList, targetFolder);
}

ShellFileRequest recycleRequest(const QString &sourceList)
{
    return request(ShellFileRequest::Delete,
        ShellFileRequest::AllowUndo | ShellFileRequest::NoErrorUi, sourceList, {});
}

int operationResult(int returnCode)
{
    if (returnCode == 0)
        return 1;
    return returnCode == 7 ? 0 : -1;
}

int CopyFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder)
{
    return run(dialogs, copyRequest(sourceList, targetFolder));
}

int MoveFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder)
{
    return run(dialogs, moveRequest(sourceList, targetFolder));
}

int RecycleFileList(Dialogs &dialogs, const QString &sourceList)
{
    return run(dialogs, recycleRequest(sourceList));
}

bool IsFilePresent(const QString &path)
{
    return FileSystem::isPresentFile(path);
}

bool HasIllegalNameChar(const QString &name)
{
    static const QString forbidden = QStringLiteral("><?*:/\\\"|");
    for (const QChar c : name) {
        if (forbidden.contains(c))
            return true;
    }
    return false;
}

} // namespace ModEditFile
