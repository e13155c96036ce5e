#pragma once

#include <QElapsedTimer>

// A timer's elapsed time in seconds, as every bench prints it.
inline double seconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}
