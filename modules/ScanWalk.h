#pragma once

#include "core/FileCatalogue.h"
#include "core/FilePattern.h"
#include "core/GridSchema.h"
#include "platform/files/FileTypes.h"
#include "platform/files/TrashFolders.h"
#include "platform/widgets/TextMeasure.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>

namespace FileSystem {
struct Entry;
struct Listing;
} // namespace FileSystem

// One scan's walk of a folder tree, apart from the grid it fills: depth
// first, pre-order, a folder's accepted files before its subfolders' trees.
// A file is accepted when its name matches the pattern and it is a regular,
// writable, not hidden file; each accepted file appends a record to the
// catalogue and a row to rows() together, so that record k - 1 and row k are
// always the same file. Recycle bins are neither counted nor entered, links
// never followed; a walk that starts inside a trash lists nothing. Both
// counters stop at 32767: further files are refused (still named in the
// status text) and further subfolders neither counted nor entered. The walk
// may run on a thread of its own; stop() may come from any thread.
class ScanWalk
{
public:
    // Per scan-grid column.
    using Widths = std::array<int, GridSchema::ScanColumn::Count>;
    // Told the status text of every examined entry, with the files accepted
    // and the subfolders counted so far.
    using Examined = std::function<void(const QString &text, qint16 files, qint16 folders)>;
    // Lists a folder as FileSystem::readFolder() does.
    using ReadFolder = std::function<FileSystem::Listing(const QString &folder)>;

    // read: FileSystem::readFolder() when empty.
    ScanWalk(FileCatalogue &catalogue, const QString &pattern, const QFont &font, Examined examined,
        ReadFolder read = {});

    // Returns the accepted files' total size in bytes below folderText.
    qint64 walk(const QString &folderText, qint16 &fileCount, qint16 &folderCount);
    // Ends the walk at the next entry; what it accepted stays.
    void stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }

    // The rows of the accepted files not yet taken, and the row number of the
    // first of them.
    QList<QStringList> takeRows();
    int firstRow() const { return m_firstRow; }
    // Per scan-grid column, the widest text of the accepted files, in twips.
    const Widths &maxWidths() const { return m_maxWidths; }
    bool filesRefused() const { return m_filesRefused; }

private:
    qint64 walkFolder(const QString &folder, qint16 &fileCount, qint16 &folderCount);
    void accept(const QString &folder, int folderWidth, const FileSystem::Entry &entry, int number);

    FileCatalogue &m_catalogue;
    FilePattern m_pattern;
    TextMeasure m_measure;
    Examined m_examined;
    ReadFolder m_read;
    std::atomic<bool> m_stop {false};
    const TrashFolders m_trashes;
    FileTypes m_types;
    QHash<QString, int> m_typeWidths; // few distinct type texts, measured once each
    Widths m_maxWidths {};
    QList<QStringList> m_rows;
    int m_firstRow = 0;
    bool m_filesRefused = false;
};
