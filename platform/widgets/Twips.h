#pragma once

// Lengths of the window layout and of grid columns are twips. 15 twips make a
// pixel at 96 dpi; the factor follows the screen's logical dpi.
namespace Twips {
int toPixels(int twips);
int fromPixels(int pixels);
double perPixel();
} // namespace Twips
