#pragma once

#include <QFuture>

#include <functional>

// Waits for work on other threads in a local event loop, so that the
// windows keep painting while the user's input is held back; Esc cancels
// the wait. tick runs at once and then every tickMs.
namespace CancellableWait {
// False when the user pressed Esc before the work was done.
bool until(const QFuture<void> &work, const std::function<void()> &tick, int tickMs = 100);
} // namespace CancellableWait
