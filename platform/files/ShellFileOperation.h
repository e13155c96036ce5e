#pragma once

#include "platform/files/ShellFileRequest.h"

class FileOpPrompter;

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
    int trashAll(ShellFileRequest &request, const QStringList &sources);
    int transferAll(ShellFileRequest &request, const QStringList &sources, const QString &target);

    FileOpPrompter &m_prompter;
};
