#pragma once

#include <QRect>

class QWidget;

// Lengths of the window layout and of grid columns are twips. 15 twips make a
// pixel at 96 dpi; the factor follows the screen's logical dpi. Controls are
// placed and measured in twips through here only.
namespace Twips {
int toPixels(int twips);
int fromPixels(int pixels);
double perPixel();
// A control's rectangle within its container, in twips.
QRect geometry(const QWidget *control);
// Places a control; a negative width or height counts as 0.
void setGeometry(QWidget *control, const QRect &twips);
} // namespace Twips
