#pragma once

#include "core/FileCatalogue.h"

#include <QString>

// A catalogue built by a plain walk (sorted listing, depth first, files
// before subfolders), for timing the compare run until the scan command can
// be driven from here. Times are the locale's short date and long time; the
// type is the upper-case suffix and " 文件".
FileCatalogue standInCatalogue(const QString &root, const QString &pattern);
