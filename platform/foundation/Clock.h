#pragma once

namespace foundation {

// The time that run-loop timers and delays read: real monotonic time plus an offset that tests
// move forward, so a test of a three-second delay takes no three seconds.
class Clock {
  public:
    static double now();  // seconds on a monotonic scale
    static void advance(double seconds);
};

}  // namespace foundation
