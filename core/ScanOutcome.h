#pragma once

#include <QtGlobal>

// What one scan found: the accepted files' total size in bytes, the files
// accepted, the subfolders counted, whether files were refused at the
// catalogue's limit, and whether the user stopped the walk.
struct ScanOutcome
{
    qint64 bytes = 0;
    qint16 files = 0;
    qint16 folders = 0;
    bool filesRefused = false;
    bool cancelled = false;
};
