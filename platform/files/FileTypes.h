#pragma once

#include <QHash>
#include <QMimeDatabase>
#include <QString>

#include <mutex>

// The type texts that file names give by their extensions, each extension
// looked up once per instance. Whoever shows types owns one; it may be asked
// from several threads at a time.
class FileTypes
{
public:
    // The type described by the name's extension alone: the file is never
    // opened. "文件" without an extension, "EXT 文件" for one nothing knows.
    QString textOf(const QString &name);

private:
    std::mutex m_mutex;
    QHash<QString, QString> m_texts; // by extension
    QMimeDatabase m_database;
};
