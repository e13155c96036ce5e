#include "modules/ModEditFile.h"

#include "core/FileNameParts.h"
#include "core/GridSchema.h"
#include "platform/desktop/Dialogs.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ShellFileOperation.h"

#include <QFile>

#include <cerrno>

namespace ModEditFile {

namespace {

const QString doubleNul(2, QChar(u'\0'));

ShellFileRequest request(ShellFileRequest::Operation operation, quint16 flags,
    const QString &sourceList, const QString &targetFolder, const Stamps &expected = {})
{
    ShellFileRequest r;
    r.operation = operation;
    r.flags = flags;
    r.from = sourceList + doubleNul;
    if (operation != ShellFileRequest::Delete)
        r.to = targetFolder + doubleNul;
    r.expected = expected;
    return r;
}

int run(Dialogs &dialogs, ShellFileRequest r, Handled *handled = nullptr)
{
    const int result = operationResult(ShellFileOperation(dialogs).perform(r));
    if (handled)
        *handled = std::move(r.handled);
    return result;
}

} // namespace

ShellFileRequest copyRequest(const QString &sourceList, const QString &targetFolder)
{
    return request(
        ShellFileRequest::Copy, ShellFileRequest::NoConfirmMkdir, sourceList, targetFolder);
}

ShellFileRequest moveRequest(
    const QString &sourceList, const QString &targetFolder, const Stamps &expected)
{
    return request(ShellFileRequest::Move, ShellFileRequest::NoConfirmMkdir, sourceList,
        targetFolder, expected);
}

ShellFileRequest recycleRequest(const QString &sourceList, const Stamps &expected)
{
    return request(ShellFileRequest::Delete,
        ShellFileRequest::AllowUndo | ShellFileRequest::NoErrorUi, sourceList, {}, expected);
}

int operationResult(int returnCode)
{
    if (returnCode == ShellFileOperation::Done)
        return 1;
    return returnCode == ShellFileOperation::Cancelled ? 0 : -1;
}

int CopyFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder)
{
    return run(dialogs, copyRequest(sourceList, targetFolder));
}

int MoveFileList(Dialogs &dialogs, const QString &sourceList, const QString &targetFolder,
    const Stamps &expected, Handled *handled)
{
    return run(dialogs, moveRequest(sourceList, targetFolder, expected), handled);
}

int RecycleFileList(
    Dialogs &dialogs, const QString &sourceList, const Stamps &expected, Handled *handled)
{
    return run(dialogs, recycleRequest(sourceList, expected), handled);
}

bool IsFilePresent(const QString &path)
{
    return FileSystem::isPresentFile(path);
}

bool HasIllegalNameChar(const QString &name)
{
    static const QString forbidden = QStringLiteral("><?*:/\\\"|");
    // A control character has no business in a name: a NUL would cut the
    // name short on disk while every list kept the whole text.
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

std::optional<Renamed> RenameFile(Dialogs &dialogs, const QString &folder, const QString &name,
    const std::function<bool(const QString &newName)> &isListed)
{
    const FileNameParts parts = FileNameParts::of(name);
    const QString oldPath = GridSchema::fullPath(folder, name);
    const QString prompt = QStringLiteral("请输入一个合法的新文件名：\n原文件：") + oldPath;
    const QString taken = QStringLiteral("文件名已存在，请重新输入！");
    for (;;) {
        const std::optional<QString> answer
            = dialogs.inputText(QStringLiteral("文件改名"), prompt, parts.base);
        if (!answer || answer->isEmpty())
            return std::nullopt;
        if (HasIllegalNameChar(*answer)) {
            dialogs.error(QStringLiteral("文件名包含非法字符，请重新输入！\n"
                                         "文件名不能包含 \\ / : * ? < > \" | 之一"));
            continue;
        }
        const QString newName = *answer + parts.extension;
        const QString newPath = GridSchema::fullPath(folder, newName);
        if (IsFilePresent(newPath) || isListed(newName)) {
            dialogs.error(taken);
            continue;
        }
        const std::optional<FileStamp> before = FileStamp::of(oldPath);
        const FileOpResult renamed
            = FileOps::renameNoReplace(QFile::encodeName(oldPath), QFile::encodeName(newPath));
        if (renamed.isErrno(EEXIST)) {
            dialogs.error(taken); // a folder or a link of that name, or a file made meanwhile
            continue;
        }
        if (!renamed) {
            dialogs.plainMessage(
                QStringLiteral("错误代码：%1\n%2，文件已被打开或其他程序正在使用！")
                    .arg(QString::number(renamed.errorNumber), renamed.text()));
            return std::nullopt;
        }
        if (!IsFilePresent(newPath))
            return std::nullopt;
        return Renamed {newName, before};
    }
}

} // namespace ModEditFile
