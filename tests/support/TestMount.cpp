#include "TestMount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

QString reason(const char *step)
{
    return QStringLiteral("%1: %2").arg(
        QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

TestMount TestMount::tmpfs(const QString &folder, const QString &options)
{
    TestMount m;
    const QByteArray where = QFile::encodeName(folder);
    const QByteArray data = options.toUtf8();
    if (::mount("tmpfs", where.constData(), "tmpfs", 0, data.isEmpty() ? nullptr : data.constData())
        != 0) {
        m.m_error = reason("mount -t tmpfs");
        return m;
    }
    m.m_folder = folder;
    return m;
}

TestMount TestMount::readOnlyView(const QString &folder)
{
    TestMount m;
    const QByteArray where = QFile::encodeName(folder);
    if (::mount(where.constData(), where.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m.m_error = reason("mount --bind");
        return m;
    }
    m.m_folder = folder; // undone by the destructor from here on
    if (::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
        != 0) {
        m.m_error = reason("mount -o remount,ro");
        ::umount2(where.constData(), MNT_DETACH);
        m.m_folder.clear();
    }
    return m;
}

TestMount TestMount::bind(const QString &source, const QString &target)
{
    TestMount m;
    const QByteArray from = QFile::encodeName(source);
    const QByteArray where = QFile::encodeName(target);
    if (::mount(from.constData(), where.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m.m_error = reason("mount --bind");
        return m;
    }
    m.m_folder = target;
    return m;
}

TestMount::TestMount(TestMount &&other) noexcept
    : m_folder(std::move(other.m_folder))
    , m_error(std::move(other.m_error))
{
    other.m_folder.clear();
}

TestMount::~TestMount()
{
    if (!m_folder.isEmpty())
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}
