#pragma once

#include <QByteArray>
#include <QStringList>

class QMimeData;

// A list of files on the clipboard as this desktop's file managers paste
// them: "text/uri-list" and, for GNOME's family, "x-special/gnome-copied-files"
// with "copy" first, so a paste makes copies and leaves the files alone.
namespace FileClipboard {

inline constexpr auto UriListFormat = "text/uri-list";
inline constexpr auto GnomeFormat = "x-special/gnome-copied-files";

// The two formats' bytes for the files, in their order.
QByteArray uriList(const QStringList &paths);
QByteArray gnomeCopiedFiles(const QStringList &paths);

// Replaces the clipboard's contents with the list and reads it back; true
// only when the clipboard then holds exactly that list.
bool put(const QStringList &paths);

} // namespace FileClipboard
