#include "platform/desktop/XdgDesktopShell.h"

#include "platform/desktop/FileClipboard.h"
#include "platform/desktop/FilePropertiesWindow.h"
#include "platform/files/FileSystem.h"

#include <QDBusMessage>
#include <QDesktopServices>
#include <QUrl>

bool XdgDesktopShell::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool XdgDesktopShell::showInFolder(const QString &path, quint64 eventTime)
{
    if (callFileManager(QStringLiteral("ShowItems"), path, eventTime))
        return true;
    // The file cannot be selected this way, but its folder opens.
    const qsizetype slash = path.lastIndexOf(FileSystem::Separator);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path.left(slash + 1)));
}

bool XdgDesktopShell::showProperties(const QString &path, QWidget *owner, quint64 eventTime)
{
    if (callFileManager(QStringLiteral("ShowItemProperties"), path, eventTime))
        return true;
    const FileSystem::EntryStatus status = FileSystem::status(path);
    if (!status.ok)
        return false;
    auto *window = new FilePropertiesWindow(path, status, owner);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

bool XdgDesktopShell::putFilesOnClipboard(const QStringList &paths)
{
    return FileClipboard::put(paths);
}

QString XdgDesktopShell::startupId(quint64 eventTime)
{
    return eventTime ? QStringLiteral("_TIME%1").arg(eventTime) : QString();
}

bool XdgDesktopShell::callFileManager(
    const QString &method, const QString &path, quint64 eventTime) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(FileManagerService),
        QString::fromLatin1(FileManagerPath), QString::fromLatin1(FileManagerService), method);
    call << QStringList {QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded())}
         << startupId(eventTime);
    const QDBusConnection bus = m_bus ? *m_bus : QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    return bus.call(call, QDBus::Block, FileManagerTimeoutMs).type() == QDBusMessage::ReplyMessage;
}
