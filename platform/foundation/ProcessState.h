#pragma once

#include <functional>
#include <string>

namespace foundation {

// What the process keeps between uses (shared instances, registrations, caches, settings made
// for the run, the main run loop's queue) registers here how to put itself back as a fresh
// process has it. One call then returns the whole process to its start without the caller
// knowing which pieces exist; a test program makes it around every test.
//
// A reset runs in three steps, on the main thread:
//   1. background work ends: every registered settle is asked, round after round, whether its
//      work has ended (cancelling it if it can), and what the work sends to the main run loop
//      meanwhile is dropped, so a thread that waits for the main thread is let go;
//   2. every reset of Phase::state runs, the ones registered last first (a piece made on
//      first use is reset before the pieces it was built on);
//   3. the main run loop drops its blocks and timers unrun, then the resets of Phase::mainLoop
//      forget what was tied to them.
class ProcessState {
  public:
    enum class Phase { state, mainLoop };
    using Reset = std::function<void()>;
    // True once the piece's background work has ended. Must not block: it is asked again.
    using Settle = std::function<bool()>;

    // Both answer true, so that a namespace-scope constant can register a piece as the program
    // starts; a piece made on first use registers then.
    static bool registerReset(Phase phase, Reset reset);
    // what names the work in the line printed when it does not end.
    static bool registerWork(std::string what, Settle settle);

    // False when background work was still running after the limit (named on stderr); the
    // state is put back all the same.
    static bool reset(double workLimitSeconds = 30);
};

}  // namespace foundation
