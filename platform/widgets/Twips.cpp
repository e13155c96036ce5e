#include "platform/widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
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

QRect geometry(const QWidget *control)
{
    const QRect r = control->geometry();
    return {fromPixels(r.x()), fromPixels(r.y()), fromPixels(r.width()), fromPixels(r.height())};
}

void setGeometry(QWidget *control, const QRect &twips)
{
    control->setGeometry(toPixels(twips.x()), toPixels(twips.y()),
        toPixels(std::max(twips.width(), 0)), toPixels(std::max(twips.height(), 0)));
}

} // namespace Twips
