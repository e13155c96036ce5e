#pragma once

#include "core/FileStamp.h"

#include <QString>
#include <QStringList>

#include <array>

// One accepted file of a scan: name, folder (ending in "/"), size in bytes,
// created, modified, accessed and type, all as the texts the lists show.
// The fields are kept apart because a name on this platform may hold "*",
// which would corrupt a "*"-joined record; joined() gives that text where it
// is shown. The stamp is what the scan read of the file (never shown): what
// a command that removes or moves it checks the file still is.
struct FileRecord
{
    enum Field { Name, Folder, Size, Created, Modified, Accessed, Type, FieldCount };

    std::array<QString, FieldCount> fields;
    std::optional<FileStamp> stamp {}; // none for a record no scan read

    const QString &field(int f) const { return fields[static_cast<size_t>(f)]; }
    const QString &name() const { return fields[Name]; }
    const QString &folder() const { return fields[Folder]; }
    QString fullPath() const { return fields[Folder] + fields[Name]; }

    // The seven fields joined by "*", as the record is described to the user.
    QString joined() const;
    bool isFile(const QString &fileName, const QString &fileFolder) const
    {
        return fields[Name] == fileName && fields[Folder] == fileFolder;
    }
    // Whether two records name one file: the same path, or the same device
    // and inode (a hard link, a bind mount). Such a pair is no duplicate.
    bool isSameFile(const FileRecord &other) const
    {
        return isFile(other.fields[Name], other.fields[Folder])
            || (stamp && other.stamp && stamp->sameFile(*other.stamp));
    }
    // The stamp the scan read while the file at the record's path is still
    // that file, as it was; none when it is gone, changed, or never read.
    std::optional<FileStamp> unchangedStamp() const;
    // The record of the file after the program renamed it. before is the
    // file's stamp right before the rename on disk: the stamp follows the
    // rename only while the file is otherwise as it was read.
    void rename(const QString &newName, const std::optional<FileStamp> &before);

    bool operator==(const FileRecord &) const = default;
};
