#pragma once

#include "platform/desktop/Dialogs.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The seam's real side: Qt's message box, folder dialog, input dialog and
// progress dialog, parented to the main window. Every one of them shows the
// normal pointer over the window lock's wait pointer, and a progress window
// keeps out of sight while a prompt it waits for is up.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget *parent) { m_parent = parent; }

    Reply ask(const Prompt &prompt) override;
    QString chooseFolder(const QString &title) override;
    std::optional<QString> inputText(
        const QString &title, const QString &label, const QString &text) override;
    void popupMenu(QMenu *menu, const QPoint &globalPos) override;
    std::unique_ptr<Progress> startProgress(const QString &title) override;

private:
    QWidget *m_parent;
    QPointer<QProgressDialog> m_progress; // the open file operation's, if any
};
