#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace corvane {

// Counts the background work that was started and has not yet reported its end, so that the
// application can tell when it has come to rest. A copy counts into the same tally, so that the
// parts of the application can report their work to it. Any thread.
class KSBackgroundWork {
  public:
    // Counts one piece of work; the block returned ends it, the first time it is called.
    std::function<void()> begin();
    bool isRunning() const { return *count_ > 0; }

  private:
    std::shared_ptr<std::atomic<int>> count_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace corvane
