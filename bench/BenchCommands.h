#pragma once

#include <QStringList>

// One function per velkor-bench command; each prints "key: value" lines and
// returns the process exit code.
int benchGrid(const QStringList &args);
// velkor-bench scan ROOT [PATTERN]: a bare walk against the scan command.
int benchScan(const QStringList &args);
