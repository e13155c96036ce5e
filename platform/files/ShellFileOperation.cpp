#include "platform/files/ShellFileOperation.h"

#include "platform/files/FileOpPrompter.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ShellFilePrompts.h"
#include "platform/files/Trash.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <optional>
#include <sys/stat.h>

namespace {

using namespace ShellFilePrompts;
using Kind = FileOpResult::Kind;

// Files at least this large show their own byte count while they are copied.
constexpr qint64 largeFile = 16 << 20;

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

// The facts of the file a name leads to, not following a last link.
bool examine(const QString &path, struct stat &st)
{
    return ::lstat(bytes(path).constData(), &st) == 0;
}

qint64 sizeOf(const QString &path)
{
    struct stat st;
    return examine(path, st) ? qint64(st.st_size) : 0;
}

FileFacts factsOf(const QString &path)
{
    struct stat st;
    if (!examine(path, st))
        return {path, 0, {}};
    return {path, qint64(st.st_size),
        QDateTime::fromMSecsSinceEpoch(
            qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000)};
}

// What must be true of a source before anything is done with it. Judged by
// its text: Qt would take a name that starts with ":" for a full path.
FileOpResult checkSource(const QString &path)
{
    if (!FileOps::isFullPath(path) || FileOps::fileNameOf(path).isEmpty())
        return FileOpResult::refused(Kind::NotFullPath, path);
    struct stat st;
    if (!examine(path, st))
        return FileOpResult::fromErrno(errno, path);
    // A link to a folder counts as the folder.
    struct stat target;
    if (S_ISDIR(st.st_mode)
        || (S_ISLNK(st.st_mode) && ::stat(bytes(path).constData(), &target) == 0
            && S_ISDIR(target.st_mode)))
        return FileOpResult::refused(Kind::Folder, path);
    return FileOpResult::success();
}

// A source the request vouches for must still be that very file, as it was,
// right before it is acted on: it may have changed while a window was shown.
FileOpResult checkExpected(const ShellFileRequest &request, const QString &path)
{
    const auto expected = request.expected.constFind(path);
    if (expected == request.expected.cend() || FileStamp::of(path) == *expected)
        return FileOpResult::success();
    return FileOpResult::refused(Kind::ChangedSinceListed, path);
}

} // namespace

int ShellFileOperation::perform(ShellFileRequest &request)
{
    request.anyOperationsAborted = false;
    request.handled.clear();
    const QStringList sources = ShellFileRequest::names(request.from);
    if (sources.isEmpty())
        return BadRequest;
    if (request.operation == ShellFileRequest::Delete) {
        // Without undo a delete would be for good, which this service never does.
        if (!(request.flags & ShellFileRequest::AllowUndo))
            return BadRequest;
        return trashAll(request, sources);
    }
    const QStringList targets = ShellFileRequest::names(request.to);
    if (targets.size() != 1 || !FileOps::isFullPath(targets.first()))
        return BadRequest;
    return transferAll(request, sources, targets.first());
}

int ShellFileOperation::eachSource(
    ShellFileRequest &request, const QStringList &sources, const Step &step)
{
    const auto progress = m_prompter.startProgress(progressTitle(request.operation));
    const int count = int(sources.size());
    bool failed = false;
    for (int i = 0; i < count; ++i) {
        if (progress->cancelled()) {
            request.anyOperationsAborted = true;
            return Cancelled;
        }
        const QString &source = sources.at(i);
        const QString label
            = progressLabel(request.operation, FileOps::fileNameOf(source), i + 1, count);
        progress->setLabel(label);
        const FileOpResult result = step(i, label, *progress);
        if (result.kind == Kind::Cancelled) {
            request.anyOperationsAborted = true;
            return Cancelled;
        }
        if (result)
            continue;
        failed = true;
        if (request.flags & ShellFileRequest::NoErrorUi)
            continue;
        if (m_prompter.ask(failure(request.operation, result)).button != SkipFile) {
            request.anyOperationsAborted = true;
            return Cancelled;
        }
    }
    return failed ? SomeFailed : Done;
}

int ShellFileOperation::trashAll(ShellFileRequest &request, const QStringList &sources)
{
    if (m_prompter.ask(trashConfirmation(sources)).button != 0) {
        request.anyOperationsAborted = true;
        return Cancelled;
    }
    const Trash trash;
    const int count = int(sources.size());
    return eachSource(
        request, sources, [&](int i, const QString &, Progress &progress) -> FileOpResult {
            const QString &path = sources.at(i);
            // Checked now, not when the list was confirmed: a folder put in a
            // listed file's place meanwhile was never shown and stays.
            FileOpResult result = checkSource(path);
            if (result)
                result = checkExpected(request, path);
            Trash::Outcome trashed;
            if (result) {
                trashed = trash.moveToTrash(path);
                result = trashed.status;
            }
            std::optional<FileStamp> stamp
                = result ? FileStamp::of(trashed.trashedFile) : std::optional<FileStamp>();
            request.handled.append({path, result, trashed, {}, stamp});
            progress.setValue(i + 1, count);
            return result;
        });
}

int ShellFileOperation::transferAll(
    ShellFileRequest &request, const QStringList &sources, const QString &target)
{
    const auto operation = request.operation;
    const FileOpResult made = FileOps::makeFolders(target);
    if (!made) {
        if (!(request.flags & ShellFileRequest::NoErrorUi))
            m_prompter.ask(unusableTarget(operation, made));
        return TargetUnusable;
    }

    qint64 totalBytes = 0;
    for (const QString &path : sources)
        totalBytes += sizeOf(path);
    qint64 bytesDone = 0;

    std::optional<Clash> clashForAll;
    return eachSource(
        request, sources, [&](int i, const QString &label, Progress &progress) -> FileOpResult {
            const QString &source = sources.at(i);
            const QString name = FileOps::fileNameOf(source);
            const qint64 size = sizeOf(source);

            FileOpResult result = checkSource(source);
            QString destination = FileOps::joinedPath(target, name);
            auto existing = FileOps::Existing::Keep;
            bool skipped = false;
            if (result && FileSystem::exists(destination)) {
                if (FileOps::sameFile(source, destination)) {
                    result = FileOpResult::refused(Kind::OntoItself, source);
                } else {
                    Clash answer = clashForAll.value_or(CancelAll);
                    if (!clashForAll) {
                        const FileOpPrompter::Reply reply = m_prompter.ask(
                            clash(operation, name, factsOf(source), factsOf(destination)));
                        answer = reply.button >= Replace && reply.button <= CancelAll
                            ? Clash(reply.button)
                            : CancelAll;
                        if (reply.checked)
                            clashForAll = answer;
                    }
                    switch (answer) {
                    case Replace:
                        existing = FileOps::Existing::Replace;
                        break;
                    case Skip:
                        skipped = true;
                        break;
                    case KeepBoth: {
                        int number = 2;
                        do
                            destination = FileOps::joinedPath(
                                target, FileOps::numberedName(name, number++));
                        while (FileSystem::exists(destination));
                        break;
                    }
                    case CancelAll:
                        return FileOpResult::cancelled();
                    }
                }
            }
            if (result && !skipped)
                result = checkExpected(request, source);
            if (skipped) {
                request.anyOperationsAborted = true;
            } else if (result) {
                const auto onBytes = [&](qint64 done, qint64 total) {
                    progress.setValue(bytesDone + done, totalBytes);
                    if (total >= largeFile && done % largeFile < (1 << 20))
                        progress.setLabel(label + QLatin1Char('\n') + byteCount(done, total));
                };
                result = operation == ShellFileRequest::Move
                    ? FileOps::moveFile(source, destination, existing, onBytes)
                    : FileOps::copyFile(source, destination, existing, onBytes);
            }
            if (skipped)
                request.handled.append(
                    {source, FileOpResult::cancelled().about(source), {}, {}, {}});
            else if (result)
                request.handled.append(
                    {source, result, {}, destination, FileStamp::of(destination)});
            else
                request.handled.append({source, result, {}, {}, {}});
            bytesDone += size;
            progress.setValue(bytesDone, totalBytes);
            return result;
        });
}
