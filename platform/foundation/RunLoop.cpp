#include "foundation/RunLoop.h"

#include <algorithm>
#include <chrono>

#include "foundation/Clock.h"

namespace foundation {

namespace {
// A timer set for "now + d" is due once the clock has moved d, whatever rounding the two sums
// met on the way.
constexpr double kDueTolerance = 1e-6;

// Captured during static initialisation, which runs on the process's first thread.
const std::thread::id processMainThread = std::this_thread::get_id();
}  // namespace

RunLoop::RunLoop() : owner_(processMainThread) {}

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop();
    return *loop;
}

bool isMainThread() {
    return RunLoop::main().isMainThread();
}

void RunLoop::perform(Block block) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(block));
    }
    wake_.notify_all();
}

RunLoop::TimerID RunLoop::schedule(double delaySeconds, Block block) {
    TimerID id;
    {
        std::lock_guard lock(mutex_);
        id = nextTimerID_++;
        timers_.emplace(id, Timer{Clock::now() + std::max(0.0, delaySeconds), 0, std::move(block)});
    }
    wake_.notify_all();
    return id;
}

RunLoop::TimerID RunLoop::scheduleRepeating(double intervalSeconds, Block block) {
    TimerID id;
    double interval = std::max(0.001, intervalSeconds);
    {
        std::lock_guard lock(mutex_);
        id = nextTimerID_++;
        timers_.emplace(id, Timer{Clock::now() + interval, interval, std::move(block)});
    }
    wake_.notify_all();
    return id;
}

void RunLoop::cancelTimer(TimerID id) {
    // Released after the lock: what the block holds may cancel timers of its own as it goes.
    decltype(timers_)::node_type cancelled;
    std::lock_guard lock(mutex_);
    cancelled = timers_.extract(id);
    firing_.erase(id);
}

bool RunLoop::mayFire(TimerID id) {
    std::lock_guard lock(mutex_);
    return firing_.erase(id) == 1;
}

void RunLoop::dropPendingWork() {
    // What a dropped block lets go of may queue work of its own as it goes; that is dropped too.
    for (;;) {
        std::vector<Block> blocks;
        std::map<TimerID, Timer> timers;
        std::lock_guard lock(mutex_);
        firing_.clear();
        woken_ = false;
        stopped_ = false;
        if (queue_.empty() && timers_.empty())
            return;
        blocks.swap(queue_);
        timers.swap(timers_);
    }
}

std::vector<std::pair<RunLoop::TimerID, RunLoop::Timer>> RunLoop::takeDueTimers() {
    std::vector<std::pair<TimerID, Timer>> due;
    double now = Clock::now();
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second.fireTime <= now + kDueTolerance) {
            due.emplace_back(it->first, it->second);
            firing_.insert(it->first);
            if (it->second.interval > 0) {
                it->second.fireTime = now + it->second.interval;
                ++it;
            } else {
                it = timers_.erase(it);
            }
        } else {
            ++it;
        }
    }
    std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
        return a.second.fireTime < b.second.fireTime;
    });
    return due;
}

bool RunLoop::runOnce(double maxWaitSeconds) {
    std::vector<Block> blocks;
    std::vector<std::pair<TimerID, Timer>> due;
    {
        std::unique_lock lock(mutex_);
        auto hasWork = [&] {
            if (!queue_.empty() || woken_ || stopped_)
                return true;
            double now = Clock::now();
            return std::any_of(timers_.begin(), timers_.end(), [now](const auto& t) {
                return t.second.fireTime <= now + kDueTolerance;
            });
        };
        if (!hasWork() && maxWaitSeconds > 0) {
            double wait = maxWaitSeconds;
            double next = Clock::now();
            for (const auto& [id, timer] : timers_)
                wait = std::min(wait, timer.fireTime - next);
            wake_.wait_for(lock, std::chrono::duration<double>(std::max(0.0, wait)), hasWork);
        }
        woken_ = false;
        blocks.swap(queue_);
        due = takeDueTimers();
    }
    for (auto& block : blocks)
        block();
    for (auto& [id, timer] : due)
        if (mayFire(id))
            timer.block();
    return !blocks.empty() || !due.empty();
}

bool RunLoop::runUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!condition()) {
        auto left =
            std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return condition();
        runOnce(std::min(left, 0.05));
    }
    return true;
}

void RunLoop::run() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = false;
    }
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopped_)
                return;
        }
        runOnce(0.5);
    }
}

void RunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

bool RunLoop::isIdle() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() && timers_.empty();
}

double RunLoop::secondsUntilNextTimer() const {
    std::lock_guard lock(mutex_);
    if (timers_.empty())
        return -1;
    double next = timers_.begin()->second.fireTime;
    for (const auto& [id, timer] : timers_)
        next = std::min(next, timer.fireTime);
    return std::max(0.0, next - Clock::now());
}

void RunLoop::wakeUp() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

}  // namespace foundation
