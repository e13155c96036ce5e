#include "platform/files/FileTypes.h"

QString FileTypes::textOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? name.mid(dot + 1) : QString();
    if (extension.isEmpty())
        return QStringLiteral("文件");

    const std::lock_guard lock(m_mutex);
    const auto cached = m_texts.constFind(extension);
    if (cached != m_texts.cend())
        return *cached;

    const QList<QMimeType> types
        = m_database.mimeTypesForFileName(QStringLiteral("name.") + extension);
    QString text;
    if (!types.isEmpty())
        text = types.first().comment();
    if (text.isEmpty())
        text = extension.toUpper() + QStringLiteral(" 文件");
    m_texts.insert(extension, text);
    return text;
}
