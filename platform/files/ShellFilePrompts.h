#pragma once

#include "platform/files/FileOpPrompter.h"
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
FileOpPrompter::Prompt failure(
    ShellFileRequest::Operation operation, const QString &path, const QString &systemMessage);
FileOpPrompter::Prompt unusableTarget(
    ShellFileRequest::Operation operation, const QString &folder, const QString &systemMessage);

QString progressTitle(ShellFileRequest::Operation operation);
QString progressLabel(
    ShellFileRequest::Operation operation, const QString &name, int number, int count);
QString byteCount(qint64 done, qint64 total);

// Our own refusals, shown where the system gives no message.
QString notFullPath();
QString isFolder();
QString ontoItself();
QString alreadyInTrash();
// A replace whose existing file the trash did not take: nothing was replaced.
QString notTrashed(const QString &systemMessage);
// A source that another program replaced or changed while it was copied.
QString changedWhileMoved();
// A source that is no longer the file it was when it was listed.
QString changedSinceListed();

} // namespace ShellFilePrompts
