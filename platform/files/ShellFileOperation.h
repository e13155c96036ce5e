#pragma once

#include "platform/files/FileOpPrompter.h"
#include "platform/files/FileOpResult.h"
#include "platform/files/ShellFileRequest.h"

#include <functional>

// This platform's file-operation service: one request copies, moves or
// trashes a whole list, with its own confirmation, clash, progress and error
// windows (all through the prompter it is given), and answers with one
// return code.
class ShellFileOperation
{
public:
    enum ReturnCode {
        Done = 0,
        Cancelled = 7, // the user stopped it; what was done stays done
        SomeFailed = 0x10, // at least one file was not handled
        BadRequest = 0x11, // no names, no target, or a delete without undo
        TargetUnusable = 0x12 // the target folder could not be made or used
    };

    explicit ShellFileOperation(FileOpPrompter &prompter)
        : m_prompter(prompter)
    {
    }

    int perform(ShellFileRequest &request);

private:
    using Progress = FileOpPrompter::Progress;
    // What is done with source i of a request, its progress label already
    // shown: its outcome, Cancelled when the user cancelled the rest.
    using Step = std::function<FileOpResult(int i, const QString &label, Progress &progress)>;

    // Walks the sources in order under one progress window, stopping when
    // the user cancels, and shows each failure (unless the request says not
    // to) with the choice of skipping the file or cancelling the rest.
    int eachSource(ShellFileRequest &request, const QStringList &sources, const Step &step);
    int trashAll(ShellFileRequest &request, const QStringList &sources);
    int transferAll(ShellFileRequest &request, const QStringList &sources, const QString &target);

    FileOpPrompter &m_prompter;
};
