#pragma once

#include "platform/files/FileOpPrompter.h"

#include <QList>
#include <QQueue>

#include <functional>

// Replays queued answers and records every prompt, so that a test can check
// both the path an answer takes and the exact texts shown. A prompt with no
// queued answer gets its escape button (or the only button). Shared by the
// file layer's fake prompter and the window's fake dialogs.
class PromptRecorder
{
public:
    struct ProgressLog
    {
        QString title;
        QStringList labels;
        int cancelAfterLabels = -1; // cancelled() turns true after that many labels
    };

    QList<FileOpPrompter::Prompt> prompts;
    QQueue<FileOpPrompter::Reply> replies;
    QList<std::shared_ptr<ProgressLog>> progresses;
    int cancelProgressAfter = -1;
    // Called on every progress value; a test uses it to act on the disk at a
    // chosen moment of an operation (a copy's last bytes are written).
    std::function<void(qint64 done, qint64 total)> onProgressValue;
    // Called on every prompt before it is answered: a test uses it to act on
    // the disk while a window is shown.
    std::function<void(const FileOpPrompter::Prompt &)> onPrompt;

    // Queues an answer by button text.
    void answer(const QString &button, bool checked = false)
    {
        m_byText.enqueue({button, checked});
    }

protected:
    FileOpPrompter::Reply record(const FileOpPrompter::Prompt &prompt);
    std::unique_ptr<FileOpPrompter::Progress> recordProgress(const QString &title);

private:
    QQueue<QPair<QString, bool>> m_byText;
};

// The file operations' prompter in the file layer's tests.
class FakePrompter : public FileOpPrompter, public PromptRecorder
{
public:
    Reply ask(const Prompt &prompt) override { return record(prompt); }
    std::unique_ptr<Progress> startProgress(const QString &title) override
    {
        return recordProgress(title);
    }
};
