#pragma once

#include "platform/files/FileOpResult.h"

#include <QString>

// Moves files into the desktop's trash, where its trash view finds them and
// can put them back. A file that cannot be put into a trash stays where it is;
// nothing is ever deleted for good.
//
// Files on the file system of the home trash ($XDG_DATA_HOME/Trash, by
// default ~/.local/share/Trash) go there; files on another mount go to that
// mount's $topdir/.Trash/$uid when $topdir/.Trash is a real sticky folder,
// else to $topdir/.Trash-$uid. A file that already lies in a trash is
// refused: it has its info there already.
class Trash
{
public:
    struct Outcome
    {
        FileOpResult status;
        QString trashedFile; // where the file now is, inside the trash's files/
        QString infoFile; // its .trashinfo
        // The same three places as the file system names them, for putBack().
        QByteArray trashedName;
        QByteArray infoName;
        QByteArray originalName;
    };

    Outcome moveToTrash(const QString &path) const;
    // Undoes a moveToTrash() whose reason fell away: the file takes its old
    // name again unless that name was taken meanwhile, in which case it
    // stays in the trash with its info.
    FileOpResult putBack(const Outcome &trashed) const;

    static QString homeTrash();
    // The "Path=" value: the name's bytes percent-encoded, '/' kept.
    static QByteArray encodePath(const QByteArray &path);
    static QByteArray decodePath(const QByteArray &value);
};
