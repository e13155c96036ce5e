#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// A status text that a long operation sets for every item it examines. While
// the window is locked the event loop doesn't run, so the text is handed to
// the panel and the panel repainted at once, but at most once per interval:
// the window never looks frozen, and a scan of thousands of files doesn't
// spend its time painting. No user input is handled meanwhile.
class ThrottledText
{
public:
    using Apply = std::function<void(const QString &)>;

    // apply sets the panel's text; painted is repainted after it (may be null).
    ThrottledText(Apply apply, QWidget *painted, int intervalMs = 50);

    void setText(const QString &text);
    // Shows the latest text now, if it hasn't been shown yet.
    void flush();
    const QString &text() const { return m_text; }

private:
    void show();

    Apply m_apply;
    QPointer<QWidget> m_painted;
    int m_intervalMs;
    QElapsedTimer m_sinceShown;
    QString m_text;
    bool m_pending = false;
};
