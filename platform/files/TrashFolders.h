#pragma once

#include <QByteArray>
#include <QStringView>

#include <optional>
#include <sys/types.h>

// The trash folders a scan keeps out of and the trash never takes a file
// from again, known by what they are rather than by the path text that
// leads to them: the home trash by its device and inode, wherever a link
// makes it appear; a mount's ".Trash" (which holds ".Trash/$uid") and any
// ".Trash-<uid>" by name, for those names mean a trash wherever they stand.
// The home trash's identity is read once, when the object is made.
class TrashFolders
{
public:
    TrashFolders();

    // Whether the folder at path is itself a trash folder. The folders on
    // the way to it may be links; a link as its last part is not a folder.
    bool isTrash(const QByteArray &path) const;
    // Whether the folder at path, its links resolved, is a trash folder or
    // lies inside one. A folder that cannot be resolved lies in none.
    bool holds(const QByteArray &path) const;

    static bool hasTrashName(QByteArrayView name);

private:
    struct Identity
    {
        dev_t device;
        ino_t inode;
    };
    bool isHomeTrash(const QByteArray &path) const;

    std::optional<Identity> m_home;
};
