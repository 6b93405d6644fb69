#pragma once

namespace foundation {

// The time that run-loop timers and delays read: real monotonic time plus an offset that tests
// move forward, so a test of a three-second delay takes no three seconds.
class Clock {
  public:
    static double now();  // seconds on a monotonic scale
    static void advance(double seconds);
    // Stops real time from moving the clock: from then on only advance() does, so a test that
    // checks that something has not happened yet cannot be overtaken by a slow machine.
    static void freeze();
};

}  // namespace foundation
