#include "platform/widgets/StatusBar.h"

#include "platform/widgets/Twips.h"

#include <QLabel>

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panels(%1)").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setTextFormat(Qt::PlainText);
        addWidget(m_panels[i], i == 0 ? 6 : 4);
    }
}

QLabel *StatusBar::label(int panel) const
{
    return m_panels[slot(panel)];
}

QString StatusBar::panelText(int panel) const
{
    return label(panel)->text();
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    m_texts[slot(panel)] = text;
    showPanel(panel);
}

void StatusBar::setPanelOverlay(int panel, const QString &text)
{
    m_overlays[slot(panel)] = text;
    showPanel(panel);
}

void StatusBar::showPanel(int panel)
{
    const int i = slot(panel);
    const QString &text = m_overlays[i].isEmpty() ? m_texts[i] : m_overlays[i];
    label(panel)->setText(text);
    label(panel)->setAccessibleName(text);
}

// The last panel takes what room the bar has left, up to its width, so that
// its end never lies past the bar's.
void StatusBar::setPanelWidth(int panel, int twips)
{
    QLabel *target = label(panel);
    if (target == m_panels[1]) {
        target->setSizePolicy(QSizePolicy::Ignored, target->sizePolicy().verticalPolicy());
        target->setMinimumWidth(0);
        target->setMaximumWidth(Twips::toPixels(twips));
    } else {
        target->setFixedWidth(Twips::toPixels(twips));
    }
}

void StatusBar::repaintNow()
{
    for (QLabel *panel : m_panels)
        panel->repaint();
}
