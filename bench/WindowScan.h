#pragma once

#include "platform/desktop/Dialogs.h"
#include "platform/desktop/XdgDesktopShell.h"

#include <QString>
#include <QStringList>

#include <memory>

class FlexGrid;
class FrmMain;
class QAbstractButton;
class QPushButton;

// Answers every prompt with the same button (the first, unless told
// otherwise) and keeps the texts, so a scan that hits a message box still
// runs to its end.
class QuietDialogs : public Dialogs
{
public:
    int button = 0;
    Reply ask(const Prompt &prompt) override;
    QString chooseFolder(const QString &) override { return {}; }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void popupMenu(QMenu *, const QPoint &) override { }
    std::unique_ptr<Progress> startProgress(const QString &) override;

    QStringList texts;
};

// The real window, offscreen, set up to scan root for pattern with the
// texts the program shows; click() runs the scan command as a user does.
class WindowScan
{
public:
    WindowScan(const QString &root, const QString &pattern);
    ~WindowScan();

    void click();
    // Compares the scanned files in the similar-name mode at threshold
    // percent, as a user does, and gives the compare grid.
    FlexGrid &compareSimilarNames(const QString &threshold);
    FrmMain &window() { return *m_window; }
    // Clicks the button and presses Esc once its run has gone on for
    // afterMs: the seconds from Esc until the click returned, or -1 when the
    // run ended first.
    double clickAndCancel(QAbstractButton &button, int afterMs);
    const QStringList &prompts() const { return m_dialogs.texts; }
    // From now on every prompt is answered with this button.
    void answerWith(int button) { m_dialogs.button = button; }

private:
    QuietDialogs m_dialogs;
    XdgDesktopShell m_desktop; // the benches run no command that uses it
    std::unique_ptr<FrmMain> m_window;
    QPushButton *m_start = nullptr;
};

// Highlights the rows top..bottom whole, as a Shift-selection leaves them.
void highlightWholeRows(FlexGrid &grid, int top, int bottom);
