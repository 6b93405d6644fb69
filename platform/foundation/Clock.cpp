#include "foundation/Clock.h"

#include <atomic>
#include <chrono>

#include "foundation/RunLoop.h"

namespace foundation {

namespace {
std::atomic<double> offset{0};
}

double Clock::now() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count() + offset.load();
}

void Clock::advance(double seconds) {
    double current = offset.load();
    while (!offset.compare_exchange_weak(current, current + seconds)) {
    }
    RunLoop::main().wakeUp();
}

}  // namespace foundation
