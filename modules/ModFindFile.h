#pragma once

#include "core/FileCatalogue.h"

#include <QString>

class FlexGrid;
class QWidget;
class ThrottledText;

// The directory scan and the catalogue it fills.
namespace ModFindFile {

// The records of the last scan; record k is shown in scan-grid row k + 1.
FileCatalogue &catalogue();

// The text up to its first NUL, also stored back into the argument.
inline QString CutAtNull(QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

// Walks folder depth first, pre-order: a folder's files that match pattern
// and are regular, writable and not hidden come first, in listing order, then
// each subfolder's whole subtree. Every accepted file becomes a catalogue
// record and a scan-grid row (inserted in front of the grid's trailing empty
// row); every examined file's name is shown in the status text. Recycle bins
// are neither counted nor entered, links never followed. Both counters stop
// at 32767: further files are refused and further subfolders neither counted
// nor entered. Returns the accepted files' total size in bytes. The caller
// sets both counters to 0 and switches the grid's drawing off beforehand.
qint64 ScanFolder(const QString &folder, const QString &pattern, qint16 &fileCount,
    qint16 &folderCount, QWidget &window, FlexGrid &grid, ThrottledText &statusBar);

// Whether the last scan refused at least one file because of the limit.
bool filesRefused();

} // namespace ModFindFile
