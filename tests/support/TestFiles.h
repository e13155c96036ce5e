#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

// Small file helpers shared by the file-operation tests.
namespace TestFiles {

inline bool write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Writes new content of the same size in place and sets the access and
// modification times back, as a tag editor may: only the status-change
// time tells. File times come from a coarse clock, so the write is repeated
// until that time has moved on.
inline bool rewriteKeepingTimes(const QString &path, const QByteArray &content)
{
    struct stat before;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &before) != 0 || before.st_size != content.size())
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || file.write(content) != content.size())
            return false;
        file.close();
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        struct stat after;
        if (::utimensat(AT_FDCWD, name.constData(), times, 0) != 0
            || ::stat(name.constData(), &after) != 0)
            return false;
        if (after.st_ctim.tv_sec != before.st_ctim.tv_sec
            || after.st_ctim.tv_nsec != before.st_ctim.tv_nsec)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace TestFiles
