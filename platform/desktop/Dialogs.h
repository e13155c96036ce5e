#pragma once

#include <QString>
#include <QStringList>

class QMenu;
class QPoint;

#include <memory>
#include <optional>

// Every prompt the program shows goes through this seam: message boxes, the
// folder picker, the one-line input and the file-operation windows. The
// window gets an instance at construction; tests hand in one that replays
// queued answers and records every prompt.
class Dialogs
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };

    struct Prompt
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
        QStringList buttons; // in the order shown; the first is the default
        QString checkBox; // empty: no check box
        bool systemModal = false; // application-modal and kept on top
        int escapeButton = -1; // answer given by Escape or the close box
    };

    struct Reply
    {
        int button = -1; // index into Prompt::buttons, or the escape button
        bool checked = false;
    };

    // A long file operation's progress window. cancelled() turns true once the
    // user pressed its Cancel button.
    class Progress
    {
    public:
        virtual ~Progress() = default;
        virtual void setLabel(const QString &text) = 0;
        virtual void setValue(qint64 done, qint64 total) = 0;
        virtual bool cancelled() = 0;
    };

    virtual ~Dialogs() = default;

    virtual Reply ask(const Prompt &prompt) = 0;
    // The folder picker restricted to folders; empty when cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
    // The one-line input dialog; nullopt when cancelled.
    virtual std::optional<QString> inputText(
        const QString &title, const QString &label, const QString &text)
        = 0;
    // A context menu at a screen position; returns once it is closed.
    virtual void popupMenu(QMenu *menu, const QPoint &globalPos) = 0;
    // Shown only once the operation has run for about half a second.
    virtual std::unique_ptr<Progress> startProgress(const QString &title) = 0;

    static constexpr auto Ok = "确定";
    static constexpr auto Cancel = "取消";
    static constexpr auto Yes = "是";
    static constexpr auto No = "否";

    // The program's message boxes by kind, built on ask(). Notices, questions
    // and errors are system-modal; a plain message carries the application's
    // title, no icon and only OK, and is not.
    void notice(const QString &text); // "提示", information icon, OK
    bool question(const QString &text); // "询问", question icon, OK/Cancel; true for OK
    void error(const QString &text); // "错误！", error icon, OK
    void plainMessage(const QString &text);
};
