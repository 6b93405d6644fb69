// Linked into every test program.
#include "foundation/Clock.h"

// The leak checker of sanitised builds reads this at exit. Fontconfig keeps what it allocates
// while parsing its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {
// Timers move only when a test moves the clock, however busy the machine is.
const bool clockFrozen = (foundation::Clock::freeze(), true);
}  // namespace
