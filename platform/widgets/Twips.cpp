#include "platform/widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

double perPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(int twips)
{
    return static_cast<int>(std::lround(twips / perPixel()));
}

int fromPixels(int pixels)
{
    return static_cast<int>(std::lround(pixels * perPixel()));
}

} // namespace Twips
