#include "platform/ShellFileRequest.h"

QStringList ShellFileRequest::names(const QString &list)
{
    static const QString end(2, QChar(u'\0'));
    if (!list.endsWith(end))
        return {};
    QStringList result;
    qsizetype start = 0;
    for (;;) {
        const qsizetype nul = list.indexOf(QChar(u'\0'), start);
        if (nul == start)
            break; // the closing NUL
        result.append(list.mid(start, nul - start));
        start = nul + 1;
    }
    return result;
}
