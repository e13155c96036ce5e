#pragma once

#include "platform/FileOpResult.h"

#include <QString>

#include <functional>

// The copy, move and rename steps under the file-operation windows. None of
// them ever leaves a half-written file under a real name: a copy is written
// to a hidden temporary name in the target folder, flushed, and only then
// renamed into place.
namespace FileOps {

enum class Existing {
    Keep, // fail with EEXIST when the target name is taken
    Replace // the target is replaced in one rename
};

// Called while a copy runs with the bytes of the current file written so far.
using ByteProgress = std::function<void(qint64 done, qint64 total)>;

// Creates the folder and any missing parents.
FileOpResult makeFolders(const QString &folder);

// Copies a regular file, keeping its modification time and permissions.
FileOpResult copyFile(const QString &source, const QString &target, Existing existing,
    const ByteProgress &progress = {});

// Renames when both names are on one file system; otherwise copies, flushes
// and only then removes the source. A failed copy leaves the source alone; a
// source that cannot be removed gets its copy removed again.
FileOpResult moveFile(const QString &source, const QString &target, Existing existing,
    const ByteProgress &progress = {});

// rename() that never replaces an existing name.
FileOpResult renameNoReplace(const QString &source, const QString &target);

// True when both names lead to the same file (same device and inode), so that
// a copy of one onto the other would be a copy onto itself.
bool sameFile(const QString &a, const QString &b);

// "a.txt" -> "a (2).txt"; a leading dot does not start an extension.
QString numberedName(const QString &name, int number);

} // namespace FileOps
