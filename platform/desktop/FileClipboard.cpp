#include "platform/desktop/FileClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace FileClipboard {

namespace {

QList<QByteArray> uris(const QStringList &paths)
{
    QList<QByteArray> list;
    list.reserve(paths.size());
    for (const QString &path : paths)
        list.append(QUrl::fromLocalFile(path).toEncoded());
    return list;
}

} // namespace

QByteArray uriList(const QStringList &paths)
{
    QByteArray text;
    for (const QByteArray &uri : uris(paths))
        text += uri + "\r\n";
    return text;
}

QByteArray gnomeCopiedFiles(const QStringList &paths)
{
    QList<QByteArray> lines = uris(paths);
    lines.prepend("copy");
    return lines.join('\n');
}

bool put(const QStringList &paths)
{
    if (paths.isEmpty())
        return false;
    const QString uriFormat = QString::fromLatin1(UriListFormat);
    const QString gnomeFormat = QString::fromLatin1(GnomeFormat);
    const QByteArray uriBytes = uriList(paths);
    const QByteArray gnomeBytes = gnomeCopiedFiles(paths);
    auto *data = new QMimeData;
    data->setData(uriFormat, uriBytes);
    data->setData(gnomeFormat, gnomeBytes);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    // Another program may have taken the clipboard, or it refused ours.
    const QMimeData *held = clipboard->mimeData();
    return held && held->data(uriFormat) == uriBytes && held->data(gnomeFormat) == gnomeBytes;
}

} // namespace FileClipboard
