#pragma once

#include <QStringList>

class QTextStream;

// velkor-bench compare ROOT [PATTERN]: the compare run against the plain
// pair loop, per mode and threshold.
int compareBench(const QStringList &args, QTextStream &out);
