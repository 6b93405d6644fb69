#pragma once

#include <functional>

namespace testing_support {

// Turns the main run loop until the condition holds; fails the current test after the limit.
bool pumpUntil(const std::function<bool()>& condition, double timeoutSeconds = 10);
// Turns the main run loop for a while of real time, running whatever comes due.
void pumpFor(double seconds);
// Moves the run loop's clock forward and runs what became due.
void advanceClock(double seconds);

}  // namespace testing_support
