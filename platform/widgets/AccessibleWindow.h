#pragma once

#include <QAccessible>

class QWidget;

// A top-level QWidget reaches the accessibility bridge as a plain client
// area, which a screen reader calls "filler". One marked here is a window of
// the given role (Window, which the bridge calls a frame, or Dialog), named
// by its title. Call before anything asks the bridge about the window.
namespace AccessibleWindow {
void mark(QWidget *window, QAccessible::Role role);
} // namespace AccessibleWindow
