#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace foundation {

// The main run loop: a queue of blocks for the next turn and timers on the movable Clock.
// Blocks may be added from any thread; they run only on the thread that runs the loop.
class RunLoop {
  public:
    using Block = std::function<void()>;
    using TimerID = std::uint64_t;

    static RunLoop& main();

    // Adds a block for the next turn of the loop.
    void perform(Block block);
    // Runs the block once Clock::now() has passed now + delay; returns an id for cancelTimer.
    TimerID schedule(double delaySeconds, Block block);
    // Repeats every interval until cancelled.
    TimerID scheduleRepeating(double intervalSeconds, Block block);
    // A cancelled timer never fires, even when it came due in the turn that cancels it.
    void cancelTimer(TimerID id);

    // One turn: runs every block queued before the turn began and every timer that is due.
    // Waits up to maxWaitSeconds (real time) for work when there is none. True when it ran
    // anything.
    bool runOnce(double maxWaitSeconds = 0);
    // Turns until the condition holds or the real-time limit passes; true when it held.
    bool runUntil(const std::function<bool()>& condition, double timeoutSeconds);
    // Turns until stop() is called.
    void run();
    void stop();

    // Nothing queued for the next turn and no timer pending.
    bool isIdle() const;
    // Seconds of the movable clock until the next timer fires, or a negative number when none.
    double secondsUntilNextTimer() const;
    void wakeUp();
    // Forgets every queued block and every timer without running them; what they hold is
    // released on the calling thread.
    void dropPendingWork();

    bool isMainThread() const { return std::this_thread::get_id() == owner_; }
    // Makes the calling thread the loop's thread (the process's first thread by default).
    void adoptCurrentThread() { owner_ = std::this_thread::get_id(); }

  private:
    struct Timer {
        double fireTime;
        double interval;  // 0 for one-shot
        Block block;
    };
    RunLoop();
    std::vector<std::pair<TimerID, Timer>> takeDueTimers();
    // Consumes the timer's place in the turn; false once it was cancelled or dropped.
    bool mayFire(TimerID id);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Block> queue_;
    std::map<TimerID, Timer> timers_;
    // Timers taken for the turn that have not run yet.
    std::set<TimerID> firing_;
    TimerID nextTimerID_ = 1;
    bool stopped_ = false;
    bool woken_ = false;
    std::thread::id owner_;
};

bool isMainThread();

}  // namespace foundation
