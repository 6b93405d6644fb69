#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace corvane {

// Which screenshot batch of a package page is the current one. Each new batch (an appearance,
// a depiction's screenshots) makes every earlier one stale; a batch ends, writing its files and
// the stored lists, only while it is current, and one at a time, so a stale batch never
// overwrites what a newer one wrote. Any thread.
class PackageScreenshotBatches {
  public:
    std::uint64_t begin() { return ++current_; }
    bool isCurrent(std::uint64_t batch) const { return current_ == batch; }
    // Runs the work when the batch is still current; false when it is stale.
    bool endIfCurrent(std::uint64_t batch, const std::function<void()>& work) {
        std::lock_guard lock(ending_);
        if (!isCurrent(batch))
            return false;
        work();
        return true;
    }

  private:
    std::atomic<std::uint64_t> current_ = 0;
    std::mutex ending_;
};

}  // namespace corvane
