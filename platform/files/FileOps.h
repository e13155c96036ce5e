#pragma once

#include "platform/files/FileOpResult.h"

#include <QString>

#include <functional>

// The copy, move and rename steps under the file-operation windows. None of
// them ever leaves a half-written file under a real name: a copy is written
// to a hidden temporary name in the target folder, flushed, and only then
// renamed into place. Every file involved is at every moment whole in its old
// place, its new place or the trash.
namespace FileOps {

enum class Existing {
    Keep, // fail with EEXIST when the target name is taken
    // The file holding the target name goes to the trash just before the new
    // one takes the name (a copy is complete by then); where it cannot be
    // trashed, or the step fails after all, it keeps its name.
    Replace
};

// Called while a copy runs with the bytes of the current file written so far.
using ByteProgress = std::function<void(qint64 done, qint64 total)>;

// Creates the folder and any missing parents.
FileOpResult makeFolders(const QString &folder);

// Copies a regular file, keeping its modification time and permissions.
FileOpResult copyFile(const QString &source, const QString &target, Existing existing,
    const ByteProgress &progress = {});

// Renames when both names are on one file system; otherwise copies, flushes,
// puts the copy in place and only then removes the source. The source is
// removed only while its name still leads to the file that was copied,
// unchanged; otherwise, and when it cannot be removed, the copy is taken back
// and a replaced file is put back from the trash.
FileOpResult moveFile(const QString &source, const QString &target, Existing existing,
    const ByteProgress &progress = {});

// rename() that never replaces an existing name; names as the file system
// holds them. Where the file system has no such rename, the file gets a
// second link under the new name and then loses the old one; where it has no
// links either, the rename is refused with EOPNOTSUPP.
FileOpResult renameNoReplace(const QByteArray &source, const QByteArray &target);

// The system's rename that refuses a taken name: 0, or -1 with errno set.
using NoReplaceCall = int (*)(const char *source, const char *target);
// Puts in the call renameNoReplace tries first (null: the system's) and
// returns the one before; tests answer as a file system without it would.
NoReplaceCall setNoReplaceCall(NoReplaceCall call);

// True when both names lead to the same file (same device and inode), so that
// a copy of one onto the other would be a copy onto itself.
bool sameFile(const QString &a, const QString &b);

// "a.txt" -> "a (2).txt"; a leading dot does not start an extension.
QString numberedName(const QString &name, int number);

// Folder and name joined as plain text. Qt's path calls would read a name
// that starts with ":" as a resource and drop the folder.
QString joinedPath(const QString &folder, const QString &name);
// The part after the last "/".
QString fileNameOf(const QString &path);
// A full path, judged by its text alone.
bool isFullPath(const QString &path);

} // namespace FileOps
