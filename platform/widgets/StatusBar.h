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

    // The text a panel shows: its overlay while one is set.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);
    // A text shown over the panel's own for as long as it is set; texts set
    // meanwhile are kept and shown once the overlay goes (an empty text).
    void setPanelOverlay(int panel, const QString &text);
    // Panel 1 gets this width; panel 2 up to it, within what the bar has left.
    void setPanelWidth(int panel, int twips);
    // Paints the panels now, without handling user input.
    void repaintNow();

private:
    QLabel *label(int panel) const;
    int slot(int panel) const { return panel == 2 ? 1 : 0; }
    void showPanel(int panel);

    QLabel *m_panels[2];
    QString m_texts[2];
    QString m_overlays[2];
};
