#pragma once

#include "platform/desktop/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

// Replays queued answers and records every prompt, so that a test can check
// both the path an answer takes and the exact texts shown. A prompt with no
// queued answer gets its escape button (or the only button).
class FakeDialogs : public Dialogs
{
public:
    struct ProgressLog
    {
        QString title;
        QStringList labels;
        int cancelAfterLabels = -1; // cancelled() turns true after that many labels
    };

    QList<Prompt> prompts;
    QQueue<Reply> replies;
    QList<QMenu *> menus; // every context menu opened
    QStringList folderTitles;
    QQueue<QString> folders;
    QList<QStringList> inputs; // title, label, text per input dialog
    QQueue<std::optional<QString>> inputReplies;
    QList<std::shared_ptr<ProgressLog>> progresses;
    int cancelProgressAfter = -1;
    // Called on every progress value; a test uses it to act on the disk at a
    // chosen moment of an operation (a copy's last bytes are written).
    std::function<void(qint64 done, qint64 total)> onProgressValue;
    // Called on every prompt before it is answered: a test uses it to act on
    // the disk while a window is shown.
    std::function<void(const Prompt &)> onPrompt;

    // Queues an answer by button text.
    void answer(const QString &button, bool checked = false)
    {
        m_byText.enqueue({button, checked});
    }

    Reply ask(const Prompt &prompt) override;
    QString chooseFolder(const QString &title) override;
    std::optional<QString> inputText(
        const QString &title, const QString &label, const QString &text) override;
    void popupMenu(QMenu *menu, const QPoint &) override { menus.append(menu); }
    std::unique_ptr<Progress> startProgress(const QString &title) override;

private:
    QQueue<QPair<QString, bool>> m_byText;
};
