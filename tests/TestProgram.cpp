// The main of every test program.
#include <gtest/gtest.h>

#include "foundation/Clock.h"
#include "support/DefaultDeviceFolderGuard.h"
#include "support/ProcessReset.h"

// The leak checker of sanitised builds reads this at exit. Fontconfig keeps what it allocates
// while parsing its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    // Timers move only when a test moves the clock, however busy the machine is.
    foundation::Clock::freeze();
    ::testing::InitGoogleTest(&argc, argv);
    // Made before the reset, which keeps the environment as it finds it to put it back. The end
    // of a test reaches listeners last to first: the guard looks once the reset has ended the
    // test's background work.
    auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new testing_support::DefaultDeviceFolderGuard());
    auto* reset = new testing_support::ProcessReset();
    listeners.Append(reset);
    const int failed = RUN_ALL_TESTS();
    return failed != 0 || !reset->allResetsSucceeded();
}
