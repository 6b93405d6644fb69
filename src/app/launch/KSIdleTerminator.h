#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace corvane {

// Terminates the application, as the platform would, once it has come to rest: the main run
// loop has nothing queued and no timer set, the pipeline has no live task and the caller
// reports no pending work, continuously for kSettleSeconds and across one pass through both
// global queues (work handed to them just before has started by then and shows as a task).
class KSIdleTerminator : public std::enable_shared_from_this<KSIdleTerminator> {
  public:
    static constexpr double kCheckIntervalSeconds = 0.05;
    static constexpr double kSettleSeconds = 0.25;

    explicit KSIdleTerminator(std::function<bool()> hasPendingWork)
        : hasPendingWork_(std::move(hasPendingWork)) {}

    // Checks on the main run loop every kCheckIntervalSeconds of its clock until it terminates.
    void start();

  private:
    bool isAtRest() const;
    void check();
    void scheduleCheck();
    void passThroughGlobalQueues();

    std::function<bool()> hasPendingWork_;
    std::optional<double> restingSince_;
    std::shared_ptr<std::atomic<bool>> queuesPassed_;
};

}  // namespace corvane
