#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The files a multi-file command is about to hand to the shell or the
// clipboard: their full paths joined by one NUL in the order queued (the form
// the shell request takes), and, for the keep-rule walk, how many files it
// queued and their bytes. A path is queued once; membership is decided on
// whole paths, so a.mp is still queued after a.mp3 of the same folder.
class PendingList
{
public:
    static constexpr QChar Separator = QChar(0);

    const QString &pendingPaths() const { return m_paths; }
    int pendingCount() const { return m_count; }
    double pendingBytes() const { return m_bytes; }
    bool isEmpty() const { return m_paths.isEmpty(); }
    QStringList paths() const;

    // Queues the path unless that exact path is queued already; true when it
    // was appended. Leaves the counters alone (the selection gathering).
    bool queue(const QString &path);
    // Same, and counts the file and its bytes when appended (the keep rule).
    bool queueCounted(const QString &path, double bytes);

    // Forgets the paths but keeps the counters: the move button empties the
    // list before it knows whether there is anything to do.
    void clearPaths();
    void clear();

private:
    QString m_paths;
    QSet<QString> m_queued;
    int m_count = 0;
    double m_bytes = 0;
};
