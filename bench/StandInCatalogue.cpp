#include "StandInCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {

QString timeText(const QDateTime &time)
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(time.time(), QLocale::LongFormat);
}

void walk(const QString &folder, const QRegularExpression &pattern, FileCatalogue &catalogue)
{
    const QDir dir(folder);
    const QFileInfoList entries
        = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
            QDir::Name | QDir::DirsLast);
    QStringList subfolders;
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            subfolders.append(entry.filePath());
            continue;
        }
        if (catalogue.count() >= FileCatalogue::Limit
            || !pattern.match(entry.fileName()).hasMatch())
            continue;
        FileRecord record;
        record.fields = {entry.fileName(), folder + QLatin1Char('/'), QString::number(entry.size()),
            timeText(entry.birthTime()), timeText(entry.lastModified()), timeText(entry.lastRead()),
            entry.suffix().toUpper() + QStringLiteral(" 文件")};
        catalogue.append(std::move(record));
    }
    for (const QString &sub : subfolders)
        walk(sub, pattern, catalogue);
}

} // namespace

FileCatalogue standInCatalogue(const QString &root, const QString &pattern)
{
    const QRegularExpression matcher(QRegularExpression::wildcardToRegularExpression(pattern),
        QRegularExpression::CaseInsensitiveOption);
    FileCatalogue catalogue;
    walk(QDir::cleanPath(root), matcher, catalogue);
    return catalogue;
}
