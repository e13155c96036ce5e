#include "platform/desktop/XdgDesktopShell.h"

#include "platform/desktop/FileClipboard.h"
#include "platform/desktop/FilePropertiesWindow.h"
#include "platform/files/FileSystem.h"

#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include <limits>

bool XdgDesktopShell::openFile(const QString &path)
{
    return runOpener(path);
}

bool XdgDesktopShell::showInFolder(const QString &path, quint64 eventTime)
{
    if (callFileManager(QStringLiteral("ShowItems"), path, eventTime))
        return true;
    // The file cannot be selected this way, but its folder opens.
    const qsizetype slash = path.lastIndexOf(FileSystem::Separator);
    return runOpener(path.left(slash + 1));
}

bool XdgDesktopShell::showProperties(const QString &path, QWidget *owner, quint64 eventTime)
{
    if (callFileManager(QStringLiteral("ShowItemProperties"), path, eventTime))
        return true;
    const FileSystem::EntryStatus status = FileSystem::status(path);
    if (!status.outcome)
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

qint64 XdgDesktopShell::availableMemory() const
{
    // The kernel's own estimate; without it, nothing stops a command.
    QFile info(QStringLiteral("/proc/meminfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (QByteArray line = info.readLine(); !line.isEmpty(); line = info.readLine()) {
            if (!line.startsWith("MemAvailable:"))
                continue;
            bool ok = false;
            const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
            if (ok)
                return kib * 1024;
        }
    }
    return std::numeric_limits<qint64>::max();
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

bool XdgDesktopShell::runOpener(const QString &path) const
{
    auto *opener = new QProcess;
    opener->setProgram(m_opener);
    // The path is one argument as it stands: full, so never taken for an
    // option or a resource.
    opener->setArguments({path});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    if (opener->waitForFinished(OpenerVerdictMs)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    // Still running: the program it started for the file keeps it busy.
    // It goes when it ends, never killed with the window.
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
}
