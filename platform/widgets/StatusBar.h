#pragma once

#include <QStatusBar>

class QLabel;

// The status bar's two text panels, numbered 1 and 2. Panel texts are
// repainted at once on request, so long operations can show progress
// without returning to the event loop.
class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);
    // Panel 1 gets this width; panel 2 up to it, within what the bar has left.
    void setPanelWidth(int panel, int twips);
    // Paints the panels now, without handling user input.
    void repaintNow();

private:
    QLabel *label(int panel) const;

    QLabel *m_panels[2];
};
