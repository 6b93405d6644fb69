#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace corvane {

// Acts once the application has come to rest: the main run loop has nothing queued and no timer
// set, the pipeline has no live task and the caller reports no pending work, continuously for
// kSettleSeconds and across one pass through both global queues (work handed to them just before
// has started by then and shows as a task). The platform terminates an application at rest; a
// person's next step waits for it.
class KSRestWatch : public std::enable_shared_from_this<KSRestWatch> {
  public:
    static constexpr double kCheckIntervalSeconds = 0.05;
    static constexpr double kSettleSeconds = 0.25;

    KSRestWatch(std::function<bool()> hasPendingWork, std::function<void()> atRest)
        : hasPendingWork_(std::move(hasPendingWork)), atRest_(std::move(atRest)) {}

    // Checks on the main run loop every kCheckIntervalSeconds of its clock until the application
    // is at rest, then calls atRest once.
    void start();

  private:
    bool isAtRest() const;
    void check();
    void scheduleCheck();
    void passThroughGlobalQueues();

    std::function<bool()> hasPendingWork_;
    std::function<void()> atRest_;
    std::optional<double> restingSince_;
    std::shared_ptr<std::atomic<bool>> queuesPassed_;
};

}  // namespace corvane
