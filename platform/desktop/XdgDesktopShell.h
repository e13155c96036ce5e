#pragma once

#include "platform/desktop/DesktopShell.h"

#include <QDBusConnection>

#include <optional>

// The desktop services on a freedesktop.org desktop: the opener behind
// QDesktopServices, the file manager's org.freedesktop.FileManager1 service
// on the session bus, and the clipboard. Where no file manager answers, a
// reveal opens the folder instead and the properties come from our own
// window, so neither fails for a file that is there.
class XdgDesktopShell : public DesktopShell
{
public:
    XdgDesktopShell() = default; // the session bus, looked up when first needed
    explicit XdgDesktopShell(const QDBusConnection &bus)
        : m_bus(bus)
    {
    }

    bool openFile(const QString &path) override;
    bool showInFolder(const QString &path, quint64 eventTime) override;
    bool showProperties(const QString &path, QWidget *owner, quint64 eventTime) override;
    bool putFilesOnClipboard(const QStringList &paths) override;

    static constexpr auto FileManagerService = "org.freedesktop.FileManager1";
    static constexpr auto FileManagerPath = "/org/freedesktop/FileManager1";
    // A file manager that is started for the call may take a while to answer.
    static constexpr int FileManagerTimeoutMs = 10000;

    // The start-up id that brings the file manager's window to the front:
    // "_TIME" and the time of the user's action, or none when unknown.
    static QString startupId(quint64 eventTime);

private:
    // True when the file manager carried out the method for the file.
    bool callFileManager(const QString &method, const QString &path, quint64 eventTime) const;

    std::optional<QDBusConnection> m_bus;
};
