#pragma once

#include <QtGlobal>

// This process's memory as the kernel counts it, in bytes.
namespace ProcessMemory {
qint64 resident();
qint64 peakResident();
// Starts the peak over from the present resident size, so that the peak of
// one step can be read apart from the steps before it.
void resetPeak();
} // namespace ProcessMemory
