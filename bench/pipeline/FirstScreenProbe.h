#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane::bench {

// The time a person waits from starting the program to its first screen: from exec to the first
// wait of the main run loop, which comes once the screen is laid out and the launch has nothing
// left to do. The loop waits on a condition variable with a time limit, the one such wait the
// main thread makes during a launch; the probe reads the main thread's system call from /proc
// while the program runs, so the program is measured as it is, without a hook of its own.
class FirstScreenProbe {
  public:
    // Runs the program (no shell, output thrown away) to its end; nullopt when it failed or was
    // never seen waiting.
    static std::optional<double> milliseconds(const std::vector<std::string>& arguments);

  private:
    // Whether a line of /proc/PID/syscall is a futex wait on a condition variable with a limit.
    static bool isTimedConditionWait(const char* line);
};

}  // namespace corvane::bench
