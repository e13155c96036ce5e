#pragma once

#include <QRect>

class QWidget;

namespace ModFrmObject {

// Sets the enabled state of every control of the window by kind: command
// buttons, check boxes, tab strips, result grids, text boxes, combo boxes.
// Other kinds keep their state.
void EnableControlsByType(QWidget *window, bool buttons, bool checkBoxes, bool tabStrips,
    bool grids, bool textBoxes, bool comboBoxes);

// Records every control's present rectangle in twips as its designed
// rectangle; the layout starts from these on every resize.
void SaveControlGeometry(QWidget *window);
QRect designedRect(const QWidget *control);

// Locks (true) the window for a long operation: every kind disabled and the
// wait pointer; unlocking enables every kind and restores the pointer.
void LockWindow(QWidget *window, bool locked);

// Locks the window for a long operation (every kind disabled, wait pointer)
// and unlocks it when it goes out of scope, on every path out, errors
// included.
class WindowLock
{
public:
    explicit WindowLock(QWidget *window);
    ~WindowLock();
    WindowLock(const WindowLock &) = delete;
    WindowLock &operator=(const WindowLock &) = delete;

private:
    QWidget *m_window;
};

} // namespace ModFrmObject
