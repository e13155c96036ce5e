#pragma once

#include <QString>

// The status text after a scan: accepted files, subfolders found below the
// chosen folder, and the accepted files' total size in MB, KiB and GB
// (divided by 1024), each with two decimals.
QString scanTotalsText(int files, int folders, qint64 totalBytes);

// The status text of a scan that runs long: the files accepted and the
// subfolders found so far.
QString scanProgressText(int files, int folders);
