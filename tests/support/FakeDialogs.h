#pragma once

#include "FakePrompter.h"
#include "platform/desktop/Dialogs.h"

// The window's dialog seam in tests: prompts and progress windows are
// recorded and answered as the file layer's fake does, and folder picks and
// inputs replay queued answers.
class FakeDialogs : public Dialogs, public PromptRecorder
{
public:
    QList<QMenu *> menus; // every context menu opened
    QStringList folderTitles;
    QQueue<QString> folders;
    QList<QStringList> inputs; // title, label, text per input dialog
    QQueue<std::optional<QString>> inputReplies;

    Reply ask(const Prompt &prompt) override { return record(prompt); }
    std::unique_ptr<Progress> startProgress(const QString &title) override
    {
        return recordProgress(title);
    }
    QString chooseFolder(const QString &title) override;
    std::optional<QString> inputText(
        const QString &title, const QString &label, const QString &text) override;
    void popupMenu(QMenu *menu, const QPoint &) override { menus.append(menu); }
};
