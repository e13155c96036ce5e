#pragma once

class QWidget;

// What a screen reader says a control does. Every window's controls are
// described in one table, by window and design name; a description reads
// "<what it does> [DesignName]", so automation still finds the control by
// the bracketed last word while the objectName stays the design name.
namespace ControlDescriptions {
// Describes the window and each of its controls the table names.
void apply(QWidget *window);
} // namespace ControlDescriptions
