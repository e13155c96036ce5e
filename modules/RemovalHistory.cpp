#include "modules/RemovalHistory.h"

#include "platform/files/FileOps.h"
#include "platform/files/Trash.h"

#include <cerrno>

namespace {

using Kind = FileOpResult::Kind;

// The file where the removal left it must still be that file, as it was:
// another program may have taken it out of the trash or the folder, or
// written to it.
FileOpResult stillThere(const QString &where, const std::optional<FileStamp> &left)
{
    const std::optional<FileStamp> now = FileStamp::of(where);
    if (!now)
        return FileOpResult::fromErrno(ENOENT, where);
    if (!left || *now != *left)
        return FileOpResult::refused(Kind::ChangedSinceListed, where);
    return FileOpResult::success();
}

FileOpResult takeBack(const ShellFileRequest::Handled &file)
{
    const bool trashed = !file.trashed.trashedName.isEmpty();
    FileOpResult result
        = stillThere(trashed ? file.trashed.trashedFile : file.destination, file.stamp);
    if (!result)
        return result;
    result = trashed ? Trash().putBack(file.trashed)
                     : FileOps::moveFile(file.destination, file.source, FileOps::Existing::Keep);
    return result ? result : result.about(file.source);
}

} // namespace

void RemovalHistory::record(const ModEditFile::Handled &handled)
{
    ModEditFile::Handled gone;
    for (const ShellFileRequest::Handled &file : handled) {
        if (file.result && (!file.trashed.trashedName.isEmpty() || !file.destination.isEmpty()))
            gone.append(file);
    }
    if (!gone.isEmpty())
        m_removals.append(gone);
}

QList<RemovalHistory::Restored> RemovalHistory::undoLast()
{
    QList<Restored> restored;
    if (m_removals.isEmpty())
        return restored;
    const ModEditFile::Handled files = m_removals.takeLast();
    restored.reserve(files.size());
    for (const ShellFileRequest::Handled &file : files)
        restored.append({file.source, takeBack(file)});
    return restored;
}
