#pragma once

#include <QString>

class QWidget;

// The kind names the window lock and the layout go by. Each control carries
// its kind as a dynamic property, set once when the window is made.
namespace ControlKind {
inline constexpr auto CommandButton = "CommandButton";
inline constexpr auto CheckBox = "CheckBox";
inline constexpr auto TabStrip = "TabStrip";
inline constexpr auto FlexGrid = "MSHFlexGrid";
inline constexpr auto TextBox = "TextBox";
inline constexpr auto ComboBox = "ComboBox";
inline constexpr auto Frame = "Frame";
inline constexpr auto PictureBox = "PictureBox";
inline constexpr auto ListView = "ListView";
inline constexpr auto Label = "Label";
inline constexpr auto Image = "Image";
inline constexpr auto StatusBar = "StatusBar";

void set(QWidget *control, const char *kind);
QString of(const QWidget *control);
} // namespace ControlKind
