#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The desktop's services for files that the per-file commands use: the
// associated program, the file manager's window on a file, the file's
// properties, and the clipboard's file list; and how much memory the system
// can still give, which the commands on a large selection ask first. The
// window gets an instance at construction; tests hand in one that records the
// requests. An eventTime is
// the window system's time of the user's click or key press that asked for
// the window (UserInputTime), so that the window comes to the front; 0 when
// unknown.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;

    // Opens the file with the program the desktop associates with it; false
    // when no opener could be started.
    virtual bool openFile(const QString &path) = 0;
    // Shows the file's folder with the file selected, or at least its folder.
    virtual bool showInFolder(const QString &path, quint64 eventTime) = 0;
    // Shows a properties window for the file, modeless, owned by owner.
    virtual bool showProperties(const QString &path, QWidget *owner, quint64 eventTime) = 0;
    // Puts the files on the clipboard for a file manager to paste as copies,
    // in the given order; true once the clipboard holds exactly that list.
    virtual bool putFilesOnClipboard(const QStringList &paths) = 0;
    // Bytes the system can give the program without swapping.
    virtual qint64 availableMemory() const = 0;
};
