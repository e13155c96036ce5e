#pragma once

#include "platform/files/FileOpPrompter.h"
#include "platform/files/FileOpResult.h"
#include "platform/files/ShellFileRequest.h"

#include <QDateTime>

// The texts and buttons of the file-operation windows.
namespace ShellFilePrompts {

// Answers of the name-clash window, in button order.
enum Clash { Replace, Skip, KeepBoth, CancelAll };
// Answers of the error window, in button order.
enum Failure { SkipFile, CancelRest };

struct FileFacts
{
    QString path;
    qint64 size = 0;
    QDateTime modified;
};

FileOpPrompter::Prompt trashConfirmation(const QStringList &paths);
FileOpPrompter::Prompt clash(ShellFileRequest::Operation operation, const QString &name,
    const FileFacts &incoming, const FileFacts &existing);
// A file the operation failed on, and why; the choice of skipping it or
// cancelling the rest.
FileOpPrompter::Prompt failure(ShellFileRequest::Operation operation, const FileOpResult &failed);
// The target folder named by the failure, which could not be made or used.
FileOpPrompter::Prompt unusableTarget(
    ShellFileRequest::Operation operation, const FileOpResult &failed);

QString progressTitle(ShellFileRequest::Operation operation);
QString progressLabel(
    ShellFileRequest::Operation operation, const QString &name, int number, int count);
QString byteCount(qint64 done, qint64 total);

} // namespace ShellFilePrompts
