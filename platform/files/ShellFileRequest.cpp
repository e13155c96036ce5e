#include "platform/files/ShellFileRequest.h"

QStringList ShellFileRequest::names(const QString &list)
{
    static const QString end(2, QChar(u'\0'));
    if (!list.endsWith(end))
        return {};
    const QString body = list.chopped(2);
    if (body.isEmpty())
        return {};
    // An empty name would end the list early and drop the names after it
    // without a word: the whole list is refused instead.
    const QStringList result = body.split(QChar(u'\0'));
    if (result.contains(QString()))
        return {};
    return result;
}
