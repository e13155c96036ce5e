#pragma once

#include "core/FileStamp.h"
#include "platform/files/Trash.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// One request to the file-operation service, in the form the shell takes it:
// the sources (and the one target folder) as lists of names each ended by a
// NUL, the whole list ended by one more NUL.
struct ShellFileRequest
{
    enum Operation : quint32 { Move = 1, Copy = 2, Delete = 3 };
    enum Flag : quint16 {
        AllowUndo = 0x0040, // delete means: to the trash
        NoConfirmMkdir = 0x0200, // a missing target folder is made without asking
        NoErrorUi = 0x0400 // failures go only into the return code
    };

    Operation operation = Copy;
    QString from;
    QString to;
    quint16 flags = 0;
    bool anyOperationsAborted = false;
    // What a source must still be right before it is moved or trashed, by
    // its path: a source whose stamp no longer matches is refused as
    // changed. Sources without an entry are taken as they are.
    QHash<QString, FileStamp> expected;

    // What became of a source the service reached: its result (Cancelled
    // for one the user chose to skip), and where a trashed, moved or copied
    // file now lies, with its stamp there, so the step can be taken back.
    struct Handled
    {
        QString source;
        FileOpResult result;
        Trash::Outcome trashed; // a delete's trash entry
        QString destination; // a move's or copy's new path
        std::optional<FileStamp> stamp; // the file where it now lies
    };
    // Filled by the service, in the order of the sources; a source not
    // reached (the rest of a cancelled request) has none.
    QList<Handled> handled;

    // The names of a double-NUL-ended list; empty when the list is not ended
    // that way, holds no name or holds an empty one.
    static QStringList names(const QString &list);
};
