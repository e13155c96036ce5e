#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// What a file operation asks of the user: its confirmation, clash and error
// windows and its progress window. Declared here, on Qt Core alone, so that
// the file layer never links widgets; the dialog seam of the desktop layer
// implements it, and tests hand in one that records every prompt.
class FileOpPrompter
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

    virtual ~FileOpPrompter() = default;

    virtual Reply ask(const Prompt &prompt) = 0;
    // Shown only once the operation has run for about half a second.
    virtual std::unique_ptr<Progress> startProgress(const QString &title) = 0;

    static constexpr auto Ok = "确定";
    static constexpr auto Cancel = "取消";
    static constexpr auto Yes = "是";
    static constexpr auto No = "否";
};
