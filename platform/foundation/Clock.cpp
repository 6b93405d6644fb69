#include "foundation/Clock.h"

#include <atomic>
#include <chrono>

#include "foundation/RunLoop.h"

namespace foundation {

namespace {
std::atomic<double> offset{0};
std::atomic<double> frozenAt{-1};

double realNow() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}
}  // namespace

double Clock::now() {
    double frozen = frozenAt.load();
    return (frozen >= 0 ? frozen : realNow()) + offset.load();
}

void Clock::freeze() {
    double expected = -1;
    frozenAt.compare_exchange_strong(expected, realNow());
}

void Clock::advance(double seconds) {
    double current = offset.load();
    while (!offset.compare_exchange_weak(current, current + seconds)) {
    }
    RunLoop::main().wakeUp();
}

}  // namespace foundation
