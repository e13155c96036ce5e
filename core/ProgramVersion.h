#pragma once

#include <QString>

// The program's version as the build defines it, once, in the project's
// CMake version: major, minor and revision joined by ".".
inline QString programVersion()
{
    return QStringLiteral("%1.%2.%3")
        .arg(VELKOR_VERSION_MAJOR)
        .arg(VELKOR_VERSION_MINOR)
        .arg(VELKOR_VERSION_PATCH);
}
