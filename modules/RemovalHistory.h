#pragma once

#include "modules/ModEditFile.h"
#include "platform/files/FileOpResult.h"

#include <QList>
#include <QString>

// The removals of this run that can still be taken back, latest last: each
// the files one delete or move sent to the trash or another folder. Taking
// one back never deletes or replaces: a file returns to its old path only
// while that path is free and the file is still where, and as, the removal
// left it; otherwise it stays there and says why.
class RemovalHistory
{
public:
    struct Restored
    {
        QString path; // where the file was and, when restored, is again
        FileOpResult result;
    };

    // Keeps the files of one request that went; a request that removed
    // nothing leaves no entry.
    void record(const ModEditFile::Handled &handled);
    bool isEmpty() const { return m_removals.isEmpty(); }
    // Takes back the latest removal not yet taken back, file by file in the
    // order they went; that removal is then no longer offered, whatever
    // became of its files.
    QList<Restored> undoLast();

private:
    QList<ModEditFile::Handled> m_removals;
};
