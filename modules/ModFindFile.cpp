#include "modules/ModFindFile.h"

#include "core/FilePattern.h"
#include "platform/FileSystem.h"
#include "platform/FlexGrid.h"
#include "platform/TextMeasure.h"
#include "platform/ThrottledText.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <limits>
#include <optional>

namespace ModFindFile {

namespace {

constexpr qint16 Limit = std::numeric_limits<qint16>::max();
constexpr int FirstColumn = 1;
constexpr int LastColumn = 7;

// What one top-level scan shares with its recursive calls.
struct Walk
{
    Walk(const QString &patternText, const QWidget &window)
        : pattern(patternText)
        , measure(window.font())
    {
    }

    FilePattern pattern;
    TextMeasure measure;
    QHash<QString, int> typeWidths; // few distinct type texts, measured once each
    std::array<int, LastColumn + 1> maxWidths {};
    QList<QStringList> pendingRows; // inserted in one step when the walk ends
    int firstPendingRow = 0;
};

FileCatalogue g_catalogue;
std::optional<Walk> g_walk;
bool g_filesRefused = false;

void insertPendingRows(FlexGrid &grid)
{
    if (!g_walk || g_walk->pendingRows.isEmpty())
        return;
    grid.AddItems(g_walk->pendingRows, g_walk->firstPendingRow);
    g_walk->pendingRows.clear();
}

void widenColumns(FlexGrid &grid)
{
    // Widening never narrows; a failing column is passed over.
    for (int c = FirstColumn; c <= LastColumn && c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) < g_walk->maxWidths[c])
            grid.setColWidth(c, g_walk->maxWidths[c]);
    }
}

void accept(const QString &folder, int folderWidth, const FileSystem::Entry &entry, int number)
{
    Walk &walk = *g_walk;
    const FileSystem::FileDetails details = FileSystem::details(entry.name, entry.status);
    FileRecord record {{entry.name, folder, details.size, details.created, details.modified,
        details.accessed, details.type}};

    auto typeWidth = walk.typeWidths.constFind(details.type);
    if (typeWidth == walk.typeWidths.cend())
        typeWidth = walk.typeWidths.insert(details.type, walk.measure.widthTwips(details.type));
    const std::array<int, LastColumn + 1> widths = {0, walk.measure.widthTwips(entry.name),
        folderWidth, walk.measure.widthTwips(details.size),
        walk.measure.widthTwips(details.created), walk.measure.widthTwips(details.modified),
        walk.measure.widthTwips(details.accessed), *typeWidth};

    QStringList row;
    row.reserve(LastColumn + 1);
    row << QString::number(number);
    row.append(QStringList(record.fields.begin(), record.fields.end()));

    // Record and row go in together, so that record k - 1 and row k stay the
    // same file even when memory runs out between the two.
    if (walk.pendingRows.isEmpty())
        walk.firstPendingRow = number;
    walk.pendingRows.append(std::move(row));
    try {
        g_catalogue.append(std::move(record));
    } catch (...) {
        walk.pendingRows.removeLast();
        throw;
    }
    for (int c = FirstColumn; c <= LastColumn; ++c)
        walk.maxWidths[c] = std::max(walk.maxWidths[c], widths[c]);
}

qint64 scanOne(
    const QString &folderText, qint16 &fileCount, qint16 &folderCount, ThrottledText &statusBar)
{
    const QString folder = FileSystem::withSeparator(folderText);
    // A folder that can't be listed contributes nothing; the walk goes on.
    const FileSystem::Listing listing = FileSystem::readFolder(folder);
    if (!listing.ok)
        return 0;

    QStringList subfolders;
    for (const FileSystem::Entry &entry : listing.entries) {
        QString name = entry.name;
        CutAtNull(name);
        if (name == u"." || name == u".." || FileSystem::isRecycleBin(folder, name))
            continue;
        if (!entry.status.ok || !(entry.status.attributes & FileSystem::Directory))
            continue;
        if (folderCount >= Limit)
            continue; // beyond the limit: neither counted nor entered
        subfolders.append(name);
        ++folderCount;
    }

    qint64 total = 0;
    std::optional<int> folderWidth;
    const QString scanning = QStringLiteral("正在扫描：") + folder;
    for (const FileSystem::Entry &entry : listing.entries) {
        QString name = entry.name;
        CutAtNull(name);
        if (!g_walk->pattern.matches(name) || name == u"." || name == u"..")
            continue;
        if (entry.status.ok && entry.status.attributes == FileSystem::Archive) {
            if (fileCount >= Limit) {
                g_filesRefused = true;
            } else {
                if (!folderWidth)
                    folderWidth = g_walk->measure.widthTwips(folder);
                accept(folder, *folderWidth, entry, fileCount + 1);
                ++fileCount;
                total += entry.status.size;
            }
        }
        statusBar.setText(scanning + name);
    }

    for (const QString &name : std::as_const(subfolders))
        total += scanOne(folder + name + FileSystem::Separator, fileCount, folderCount, statusBar);
    return total;
}

} // namespace

FileCatalogue &catalogue()
{
    return g_catalogue;
}

QString CutAtNull(QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

bool filesRefused()
{
    return g_filesRefused;
}

qint64 ScanFolder(const QString &folder, const QString &pattern, qint16 &fileCount,
    qint16 &folderCount, QWidget &window, FlexGrid &grid, ThrottledText &statusBar)
{
    g_filesRefused = false;
    g_walk.emplace(pattern, window);
    qint64 total = 0;
    try {
        total = scanOne(folder, fileCount, folderCount, statusBar);
    } catch (...) {
        // What was accepted before the failure stays listed, rows and records
        // in step.
        insertPendingRows(grid);
        g_walk.reset();
        throw;
    }
    insertPendingRows(grid);
    // Widening once at the end fits every column to the widest text accepted,
    // just as widening after each folder would; the grid isn't drawn meanwhile.
    widenColumns(grid);
    statusBar.flush();
    g_walk.reset();
    return total;
}

} // namespace ModFindFile
