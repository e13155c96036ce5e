#pragma once

#include <QStringList>

// One function per velkor-bench command; each prints "key: value" lines and
// returns the process exit code.
int benchGrid(const QStringList &args);
