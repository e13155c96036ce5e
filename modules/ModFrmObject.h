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
// The window's client size (twips) when its geometry was saved.
QSize designedSize(const QWidget *window);

// Moves and sizes controls by kind from their designed rectangles, with
// rw and rh the ratios of the present to the designed client width and
// height and dh the height's growth: FrameFile widens by rw, Frame1 moves
// right by rw, the other frames, the grids and the list view widen by rw
// and grow by dh, picture boxes widen by rw and move down by rh. Other kinds
// keep their places. Starting from the designed rectangles every time, a
// window made small and large again gets the same layout.
void ResizeControlsByType(QWidget *window);

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
