#pragma once

#include "platform/desktop/DesktopShell.h"

#include <QDBusConnection>

#include <optional>

// The desktop services on a freedesktop.org desktop: the opener (xdg-open),
// the file manager's org.freedesktop.FileManager1 service on the session
// bus, and the clipboard. Where no file manager answers, a
// reveal opens the folder instead and the properties come from our own
// window, so neither fails for a file that is there.
class XdgDesktopShell : public DesktopShell
{
public:
    XdgDesktopShell() = default; // the session bus, looked up when first needed
    // Tests hand in their own bus and a stand-in for the opener.
    XdgDesktopShell(const QDBusConnection &bus, const QString &opener)
        : m_bus(bus)
        , m_opener(opener)
    {
    }

    bool openFile(const QString &path) override;
    bool showInFolder(const QString &path, quint64 eventTime) override;
    bool showProperties(const QString &path, QWidget *owner, quint64 eventTime) override;
    bool putFilesOnClipboard(const QStringList &paths) override;
    qint64 availableMemory() const override;

    static constexpr auto FileManagerService = "org.freedesktop.FileManager1";
    static constexpr auto FileManagerPath = "/org/freedesktop/FileManager1";
    // A file manager that is started for the call may take a while to answer.
    static constexpr int FileManagerTimeoutMs = 10000;
    // An opener that fails (no program for the file's type) does so at
    // once; one still running after this long has started a program.
    static constexpr int OpenerVerdictMs = 1500;

    // The start-up id that brings the file manager's window to the front:
    // "_TIME" and the time of the user's action, or none when unknown.
    static QString startupId(quint64 eventTime);

private:
    // True when the file manager carried out the method for the file.
    bool callFileManager(const QString &method, const QString &path, quint64 eventTime) const;
    // True unless the opener could not start or reported that it could not
    // open the file or folder.
    bool runOpener(const QString &path) const;

    std::optional<QDBusConnection> m_bus;
    QString m_opener = QStringLiteral("xdg-open");
};
