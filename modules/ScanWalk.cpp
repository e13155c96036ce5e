#include "modules/ScanWalk.h"

#include "modules/ModFindFile.h"
#include "platform/files/FileSystem.h"

#include <QFile>

#include <limits>
#include <optional>

namespace {
constexpr qint16 Limit = std::numeric_limits<qint16>::max();
}

ScanWalk::ScanWalk(FileCatalogue &catalogue, const QString &pattern, const QFont &font,
    Examined examined, ReadFolder read)
    : m_catalogue(catalogue)
    , m_pattern(pattern)
    , m_measure(font)
    , m_examined(std::move(examined))
    , m_read(read ? std::move(read)
                  : [](const QString &folder) { return FileSystem::readFolder(folder); })
{
}

QList<QStringList> ScanWalk::takeRows()
{
    return std::exchange(m_rows, {});
}

void ScanWalk::accept(
    const QString &folder, int folderWidth, const FileSystem::Entry &entry, int number)
{
    const FileSystem::FileDetails details = FileSystem::details(entry.name, entry.status, m_types);
    FileRecord record {{entry.name, folder, details.size, details.created, details.modified,
                           details.accessed, details.type},
        FileSystem::stampOf(entry.status)};

    auto typeWidth = m_typeWidths.constFind(details.type);
    if (typeWidth == m_typeWidths.cend())
        typeWidth = m_typeWidths.insert(details.type, m_measure.widthTwips(details.type));
    using namespace GridSchema;
    // The folder's and the type's widths are measured once for many files.
    Widths widths {};
    for (const FileRecord::Field f : {FileRecord::Name, FileRecord::Size, FileRecord::Created,
             FileRecord::Modified, FileRecord::Accessed})
        widths[size_t(scanColumn(f))] = m_measure.widthTwips(record.field(f));
    widths[ScanColumn::Folder] = folderWidth;
    widths[ScanColumn::Type] = *typeWidth;
    // Row numbers only grow, so the last one is the widest.
    widths[ScanColumn::Number] = m_measure.widthTwips(QString::number(number));

    QStringList row;
    row.reserve(ScanColumn::Count);
    row << QString::number(number);
    row.append(QStringList(record.fields.begin(), record.fields.end()));

    // Record and row go in together, so that they stay in step even when
    // memory runs out between the two.
    if (m_rows.isEmpty())
        m_firstRow = number;
    m_rows.append(std::move(row));
    try {
        m_catalogue.append(std::move(record));
    } catch (...) {
        m_rows.removeLast();
        throw;
    }
    for (size_t c = 0; c < widths.size(); ++c)
        m_maxWidths[c] = std::max(m_maxWidths[c], widths[c]);
}

qint64 ScanWalk::walk(const QString &folderText, qint16 &fileCount, qint16 &folderCount)
{
    const QString folder = FileSystem::withSeparator(folderText);
    // Whatever link led there, a trash's files are copies already thrown away.
    if (m_trashes.holds(QFile::encodeName(folder)))
        return 0;
    return walkFolder(folder, fileCount, folderCount);
}

qint64 ScanWalk::walkFolder(const QString &folder, qint16 &fileCount, qint16 &folderCount)
{
    if (stopped())
        return 0;
    // A folder that can't be listed contributes nothing; the walk goes on.
    const FileSystem::Listing listing = m_read(folder);
    if (!listing.outcome)
        return 0;

    QStringList subfolders;
    for (const FileSystem::Entry &entry : listing.entries) {
        QString name = entry.name;
        ModFindFile::CutAtNull(name);
        if (name == u"." || name == u"..")
            continue;
        if (!entry.status.outcome || !(entry.status.attributes & FileSystem::Directory))
            continue;
        if (FileSystem::isRecycleBin(m_trashes, folder, name))
            continue;
        if (folderCount >= Limit)
            continue;
        subfolders.append(name);
        ++folderCount;
    }

    qint64 total = 0;
    std::optional<int> folderWidth; // a folder's files share its text
    const QString scanning = QStringLiteral("正在扫描：") + folder;
    for (const FileSystem::Entry &entry : listing.entries) {
        if (stopped())
            return total;
        QString name = entry.name;
        ModFindFile::CutAtNull(name);
        if (!m_pattern.matches(name) || name == u"." || name == u"..")
            continue;
        // An entry whose status couldn't be read is passed over.
        if (entry.status.outcome && entry.status.attributes == FileSystem::Archive) {
            if (fileCount >= Limit) {
                m_filesRefused = true;
            } else {
                if (!folderWidth)
                    folderWidth = m_measure.widthTwips(folder);
                accept(folder, *folderWidth, entry, fileCount + 1);
                ++fileCount;
                total += entry.status.size;
            }
        }
        m_examined(scanning + name, fileCount, folderCount);
    }

    for (const QString &name : std::as_const(subfolders))
        total += walkFolder(folder + name + FileSystem::Separator, fileCount, folderCount);
    return total;
}
