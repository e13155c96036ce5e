#pragma once

#include <QString>
#include <QStringList>

// The folders the user put out of reach of every removal and move, while
// the program runs. A folder covers itself and everything below it. Folders
// end with "/", as record folders do, so a prefix never reaches into a
// sibling folder whose name merely starts alike.
class ProtectedFolders
{
public:
    bool isEmpty() const { return m_folders.isEmpty(); }
    // False when the folder was protected already, or is no folder text.
    bool protect(const QString &folder);
    // False when the folder itself was not protected.
    bool unprotect(const QString &folder);
    // Whether a protected folder covers this folder (or a file's path).
    bool covers(const QString &path) const;

private:
    QStringList m_folders;
};
