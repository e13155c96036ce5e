#include "core/DateTimeText.h"
#include "platform/desktop/FileClipboard.h"
#include "platform/desktop/FilePropertiesWindow.h"
#include "platform/desktop/XdgDesktopShell.h"
#include "platform/files/FileTypes.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

// A file manager on the test's own session bus, serving from a thread of
// its own so that the desktop code's blocking call can be answered. It
// records each call as the method, the local file of each URI and the
// start-up id.
class StandInFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList takeCalls()
    {
        const QMutexLocker lock(&m_mutex);
        return std::exchange(m_calls, {});
    }

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        record(u"ShowItems"_qs, uris, startupId);
    }
    void ShowItemProperties(const QStringList &uris, const QString &startupId)
    {
        record(u"ShowItemProperties"_qs, uris, startupId);
    }

private:
    void record(const QString &method, const QStringList &uris, const QString &startupId)
    {
        const QMutexLocker lock(&m_mutex);
        for (const QString &uri : uris)
            m_calls << method + u' ' + QUrl::fromEncoded(uri.toLatin1()).toLocalFile() + u' '
                    + startupId;
    }

    QMutex m_mutex;
    QStringList m_calls;
};

class TestXdgDesktopShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void requestReachesFileManagerOrOpener_data();
    void requestReachesFileManagerOrOpener();
    void ownPropertiesWindowDescribesTheFile();
    void clipboardHoldsOnlyTheListInOrder();
    void openerVerdict_data();
    void openerVerdict();

private:
    // A stand-in for xdg-open that records the path it is given, runs for
    // the seconds given and exits with the code given.
    void writeOpener(int exitCode, int seconds = 0) const
    {
        QVERIFY(TestFiles::write(m_opener,
            QStringLiteral(
                "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\necho $$ > '%4'\nsleep %2\nexit %3\n")
                .arg(m_openedLog)
                .arg(seconds)
                .arg(exitCode)
                .arg(m_openerPid)
                .toUtf8()));
        QVERIFY(QFile::setPermissions(m_opener, QFile::ReadOwner | QFile::ExeOwner));
    }
    // The paths the opener was given, in order.
    QStringList opened() const
    {
        QFile log(m_openedLog);
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // Joined as text: a name may start with ":", which filePath() refuses.
    QString path(const QString &relative) const { return m_dir->path() + u'/' + relative; }

    QTemporaryDir m_busDir;
    QProcess m_daemon;
    QString m_address;
    QThread m_managerThread;
    StandInFileManager *m_manager = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_opener = m_busDir.filePath(u"opener"_qs);
    QString m_openedLog = m_busDir.filePath(u"opened.log"_qs);
    QString m_openerPid = m_busDir.filePath(u"opener.pid"_qs);
};

void TestXdgDesktopShell::initTestCase()
{
    // No service folders: nothing on this bus can be started on demand.
    const QString config = m_busDir.filePath(u"bus.conf"_qs);
    QVERIFY(TestFiles::write(config,
        QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration "
                       "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                       "busconfig.dtd\"><busconfig><type>session</type>"
                       "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                       "<policy context=\"default\"><allow send_destination=\"*\"/>"
                       "<allow receive_sender=\"*\"/>"
                       "<allow own=\"*\"/></policy></busconfig>")
            .arg(m_busDir.path())
            .toUtf8()));
    m_daemon.start(
        u"dbus-daemon"_qs, {u"--config-file="_qs + config, u"--nofork"_qs, u"--print-address"_qs});
    QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is not installed");
    QVERIFY(m_daemon.waitForReadyRead(10000));
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();

    m_manager = new StandInFileManager;
    m_manager->moveToThread(&m_managerThread);
    connect(&m_managerThread, &QThread::finished, m_manager, &QObject::deleteLater);
    m_managerThread.start();
    QDBusConnection managerBus = QDBusConnection::connectToBus(m_address, u"file-manager"_qs);
    QVERIFY(managerBus.registerObject(QString::fromLatin1(XdgDesktopShell::FileManagerPath),
        m_manager, QDBusConnection::ExportAllSlots));
    QVERIFY(QDBusConnection::connectToBus(m_address, u"program"_qs).isConnected());
}

void TestXdgDesktopShell::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(u"file-manager"_qs);
    QDBusConnection::disconnectFromBus(u"program"_qs);
    m_managerThread.quit();
    m_managerThread.wait();
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

void TestXdgDesktopShell::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QFile::remove(m_openedLog);
    writeOpener(0);
}

void TestXdgDesktopShell::cleanup()
{
    QDBusConnection(u"file-manager"_qs)
        .unregisterService(QString::fromLatin1(XdgDesktopShell::FileManagerService));
    m_manager->takeCalls();
    m_dir.reset();
}

void TestXdgDesktopShell::requestReachesFileManagerOrOpener_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("managerOnBus");
    QTest::addColumn<QString>("managerCall"); // method, or empty for none
    QTest::addColumn<bool>("folderOpened"); // else the file, or nothing
    QTest::addColumn<bool>("ownWindow");
    QTest::addColumn<quint64>("eventTime"); // of the user's click
    QTest::addColumn<QString>("startupId"); // as the file manager gets it
    QTest::newRow("open") << u"open"_qs << true << QString() << false << false << quint64(0)
                          << QString();
    QTest::newRow("reveal") << u"reveal"_qs << true << u"ShowItems"_qs << false << false
                            << quint64(4242) << u"_TIME4242"_qs;
    QTest::newRow("reveal, time unknown")
        << u"reveal"_qs << true << u"ShowItems"_qs << false << false << quint64(0) << QString();
    QTest::newRow("reveal without file manager")
        << u"reveal"_qs << false << QString() << true << false << quint64(4242) << QString();
    QTest::newRow("properties") << u"properties"_qs << true << u"ShowItemProperties"_qs << false
                                << false << quint64(17) << u"_TIME17"_qs;
    QTest::newRow("properties without file manager")
        << u"properties"_qs << false << QString() << false << true << quint64(17) << QString();
}

void TestXdgDesktopShell::requestReachesFileManagerOrOpener()
{
    QFETCH(QString, command);
    QFETCH(bool, managerOnBus);
    QFETCH(QString, managerCall);
    QFETCH(bool, folderOpened);
    QFETCH(bool, ownWindow);
    QFETCH(quint64, eventTime);
    QFETCH(QString, startupId);
    if (managerOnBus)
        QVERIFY(QDBusConnection(u"file-manager"_qs)
                    .registerService(QString::fromLatin1(XdgDesktopShell::FileManagerService)));
    // A name and folder that a careless URI would mangle.
    const QString folder = path(u":a b/"_qs);
    const QString file = folder + u"#1 50% 重复.mp3"_qs;
    QVERIFY(TestFiles::write(file, "12345"));

    XdgDesktopShell shell(QDBusConnection(u"program"_qs), m_opener);
    QWidget owner;
    bool ok = false;
    if (command == u"open"_qs)
        ok = shell.openFile(file);
    else if (command == u"reveal"_qs)
        ok = shell.showInFolder(file, eventTime);
    else
        ok = shell.showProperties(file, &owner, eventTime);
    QVERIFY(ok);

    const QStringList calls = m_manager->takeCalls();
    QCOMPARE(calls,
        managerCall.isEmpty() ? QStringList()
                              : QStringList {managerCall + u' ' + file + u' ' + startupId});
    QStringList opened;
    if (command == u"open"_qs)
        opened << file;
    else if (folderOpened)
        opened << folder;
    QCOMPARE(this->opened(), opened);
    QCOMPARE(owner.findChildren<FilePropertiesWindow *>().size(), ownWindow ? 1 : 0);
}

void TestXdgDesktopShell::ownPropertiesWindowDescribesTheFile()
{
    const QString file = path(u"music/歌.mp3"_qs);
    QVERIFY(TestFiles::write(file, "12345"));
    QFile handle(file);
    QVERIFY(handle.open(QIODevice::ReadWrite));
    const QDateTime modified(QDate(2020, 1, 2), QTime(3, 4, 5));
    const QDateTime accessed(QDate(2021, 11, 12), QTime(0, 0));
    QVERIFY(handle.setFileTime(modified, QFileDevice::FileModificationTime));
    QVERIFY(handle.setFileTime(accessed, QFileDevice::FileAccessTime));
    handle.close();
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));

    XdgDesktopShell shell(QDBusConnection(u"program"_qs), m_opener); // no file manager on the bus
    QWidget owner;
    QVERIFY(shell.showProperties(file, &owner, 1));
    QVERIFY(m_manager->takeCalls().isEmpty());
    const auto windows = owner.findChildren<FilePropertiesWindow *>();
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows.first()->isVisible() && windows.first()->isWindow());
    QVERIFY(!windows.first()->isModal());
    QStringList values;
    for (const char *field : FilePropertiesWindow::Fields) {
        if (qstrcmp(field, "created") != 0)
            values << windows.first()->findChild<QLabel *>(QLatin1String(field))->text();
    }
    const FileSystem::EntryStatus status = FileSystem::status(file);
    QCOMPARE(values,
        (QStringList {u"歌.mp3"_qs, FileTypes().textOf(u"歌.mp3"_qs), path(u"music"_qs),
            u"5 字节"_qs, DateTimeText::format(modified), DateTimeText::format(accessed), u"是"_qs,
            QFileInfo(file).owner()}));

    // The file gone since the list was made: nothing to show.
    QVERIFY(QFile::remove(file));
    QVERIFY(!shell.showProperties(file, &owner, 1));
}

void TestXdgDesktopShell::clipboardHoldsOnlyTheListInOrder()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(u"earlier"_qs);
    const QStringList files {path(u"2/#b 100%.mp3"_qs), path(u"1/a 歌.mp3"_qs)};
    QVERIFY(FileClipboard::put(files));

    const QMimeData *held = clipboard->mimeData();
    QVERIFY(held);
    QStringList formats = held->formats();
    formats.sort();
    QCOMPARE(formats, (QStringList {u"text/uri-list"_qs, u"x-special/gnome-copied-files"_qs}));
    QStringList listed;
    for (const QUrl &url : held->urls())
        listed << url.toLocalFile();
    QCOMPARE(listed, files);
    const QList<QByteArray> lines = held->data(u"x-special/gnome-copied-files"_qs).split('\n');
    QCOMPARE(lines.value(0), QByteArray("copy"));
    QStringList copied;
    for (const QByteArray &line : lines.mid(1))
        copied << QUrl::fromEncoded(line).toLocalFile();
    QCOMPARE(copied, files);
}

QTEST_MAIN(TestXdgDesktopShell)
#include "tst_XdgDesktopShell.moc"

void TestXdgDesktopShell::openerVerdict_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("opened");
    QTest::newRow("opened") << 0 << 0 << true;
    QTest::newRow("no program for the type") << 3 << 0 << false;
    QTest::newRow("the program could not open it") << 4 << 0 << false;
    // Still running when the verdict is due: a program was started.
    QTest::newRow("still running") << 4 << 3 << true;
}

void TestXdgDesktopShell::openerVerdict()
{
    QFETCH(int, exitCode);
    QFETCH(int, seconds);
    QFETCH(bool, opened);
    writeOpener(exitCode, seconds);
    const QString file = path(u"-a.xyz"_qs);
    QVERIFY(TestFiles::write(file, "12345"));
    XdgDesktopShell shell(QDBusConnection(u"program"_qs), m_opener);
    QCOMPARE(shell.openFile(file), opened);
    QCOMPARE(this->opened(), QStringList {file});
    if (seconds > 0) {
        // The opener left running ends, and its process object goes, before
        // the test does: nothing of it may outlive the run.
        QFile pidFile(m_openerPid);
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QString proc = u"/proc/"_qs + QString::fromLatin1(pidFile.readAll().trimmed());
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(proc), (seconds + 10) * 1000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // No opener to start at all.
    QVERIFY(!XdgDesktopShell(QDBusConnection(u"missing"_qs), m_busDir.filePath(u"none"_qs))
                 .openFile(file));
}
