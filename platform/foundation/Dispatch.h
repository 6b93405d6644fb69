#pragma once

#include <functional>

namespace foundation {

// The four dispatch routines of the system, and the few variants it needs besides.

// At once when already on the main thread, else on the main run loop's next turn.
void runOnMain(std::function<void()> block);
// Always on the main run loop's next turn, even from the main thread.
void runAsyncOnMain(std::function<void()> block);
// On the main thread, the caller waiting until it has run (at once when already on main), or
// until the run loop has dropped it unrun.
void runOnMainAndWait(const std::function<void()>& block);
// On the main run loop once the movable clock has passed the delay.
void runOnMainAfter(double delaySeconds, std::function<void()> block);
// On the global queue of background priority.
void runInBackground(std::function<void()> block);
// On the global queue of default priority.
void runOnDefaultQueue(std::function<void()> block);

}  // namespace foundation
