#pragma once

#include <QObject>

// The window system's time of the user's latest click or key press anywhere
// in the program (the X server time on X11), the context menu's included. A
// window that another program opens for the user's action comes to the
// front only when it is told this time; without it the desktop keeps the
// window behind ours.
class UserInputTime : public QObject
{
public:
    // Watches every event of the application from now on.
    UserInputTime();
    ~UserInputTime() override;

    // 0 until the first click or key press.
    quint64 latest() const { return m_latest; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    quint64 m_latest = 0;
};
