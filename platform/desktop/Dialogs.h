#pragma once

#include "platform/files/FileOpPrompter.h"

#include <QString>

#include <optional>

class QMenu;
class QPoint;

// Every prompt the program shows goes through this seam: message boxes, the
// folder picker, the one-line input and, as the file layer's prompter, the
// file-operation windows. The window gets an instance at construction; tests
// hand in one that replays queued answers and records every prompt.
class Dialogs : public FileOpPrompter
{
public:
    // The folder picker restricted to folders; empty when cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
    // The one-line input dialog; nullopt when cancelled.
    virtual std::optional<QString> inputText(
        const QString &title, const QString &label, const QString &text)
        = 0;
    // A context menu at a screen position; returns once it is closed.
    virtual void popupMenu(QMenu *menu, const QPoint &globalPos) = 0;

    // The program's message boxes by kind, built on ask(). Notices, questions
    // and errors are system-modal; a plain message carries the application's
    // title, no icon and only OK, and is not.
    void notice(const QString &text); // "提示", information icon, OK
    bool question(const QString &text); // "询问", question icon, OK/Cancel; true for OK
    void error(const QString &text); // "错误！", error icon, OK
    void plainMessage(const QString &text);
};
