#pragma once

#include <QString>

// A file name as the rename edits it: the base name the user may change and
// the extension that stays, from the last "." on, dot included ("a.b.c"
// gives "a.b" and ".c"). A name without a dot is all base name, so that it
// can be renamed too.
struct FileNameParts
{
    QString base;
    QString extension;

    static FileNameParts of(const QString &name)
    {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot < 0)
            return {name, QString()};
        return {name.left(dot), name.mid(dot)};
    }
};
