#pragma once

#include <QString>

// The least a scan must do: readdir and one statx per entry, entering
// folders, never following links. The yardstick for the real scan.
struct BareWalkResult
{
    qint64 entries = 0;
    qint64 files = 0;
    qint64 folders = 0;
};

BareWalkResult bareWalk(const QString &root);
