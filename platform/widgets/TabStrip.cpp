#include "platform/widgets/TabStrip.h"

#include <QSignalBlocker>

TabStrip::TabStrip(QWidget *parent)
    : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    connect(this, &QTabBar::currentChanged, this, &TabStrip::Click);
}

void TabStrip::selectTab(int index)
{
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(index - 1);
    }
    Q_EMIT Click();
}
