#pragma once

#include "platform/desktop/DesktopShell.h"

#include <QStringList>

#include <limits>

// Records every request as "method path" (the clipboard's as "clipboard"
// followed by its paths, one a line), and the event time of each reveal and
// properties request; answers with the set result.
class FakeDesktopShell : public DesktopShell
{
public:
    QStringList requests;
    QList<quint64> eventTimes;
    bool result = true;
    qint64 memory = std::numeric_limits<qint64>::max();

    bool openFile(const QString &path) override { return record(QStringLiteral("open ") + path); }
    bool showInFolder(const QString &path, quint64 eventTime) override
    {
        eventTimes.append(eventTime);
        return record(QStringLiteral("reveal ") + path);
    }
    bool showProperties(const QString &path, QWidget *, quint64 eventTime) override
    {
        eventTimes.append(eventTime);
        return record(QStringLiteral("properties ") + path);
    }
    bool putFilesOnClipboard(const QStringList &paths) override
    {
        return record(QStringLiteral("clipboard\n") + paths.join(u'\n'));
    }
    qint64 availableMemory() const override { return memory; }

private:
    bool record(const QString &request)
    {
        requests.append(request);
        return result;
    }
};
