#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The folders the user put out of reach of every removal and move, while
// the program runs. A folder covers itself and everything below it. Folders
// end with "/", as record folders do, so a prefix never reaches into a
// sibling folder whose name merely starts alike. A protected folder reached
// by another path (a link in the path, a bind mount) is still the same
// folder: besides its text, each is known by its device and inode.
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
    // Forgets which folders were found under a protected one, so that the
    // next question looks at the file system as it is now; a command that
    // removes files asks this first.
    void recheck() const { m_coveredFolder.clear(); }

private:
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Identity &) const = default;
    };
    static std::optional<Identity> identityOf(const QString &folder);
    bool reachesProtected(const QString &folder) const;

    QStringList m_folders;
    QList<Identity> m_identities; // of the protected folders that could be read
    mutable QHash<QString, bool> m_coveredFolder; // folder text -> covered
};
