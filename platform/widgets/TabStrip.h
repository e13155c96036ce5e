#pragma once

#include <QTabBar>

// A tab strip whose tabs are numbered from 1. Selecting a tab from code runs
// the same Click reaction as a user's click, so the pages switch either way.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

    int SelectedIndex() const { return currentIndex() + 1; }
    void selectTab(int index);

Q_SIGNALS:
    void Click();
};
