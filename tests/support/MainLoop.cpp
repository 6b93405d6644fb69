#include "support/MainLoop.h"

#include <gtest/gtest.h>

#include <chrono>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

namespace testing_support {

bool pumpUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    bool held = foundation::RunLoop::main().runUntil(condition, timeoutSeconds);
    EXPECT_TRUE(held) << "condition did not hold within " << timeoutSeconds << " s";
    return held;
}

void pumpFor(double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
        foundation::RunLoop::main().runOnce(0.01);
}

void advanceClock(double seconds) {
    foundation::Clock::advance(seconds);
    while (foundation::RunLoop::main().runOnce(0)) {
    }
}

}  // namespace testing_support
