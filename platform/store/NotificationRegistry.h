#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "foundation/ObservationToken.h"

namespace store {

// Change observers of one database. After a commit each observer of a class written in it is run
// on the main run loop's next turn; several commits before that turn give one run. An observer
// whose token is gone is never run, even when its turn was already queued.
class NotificationRegistry {
  public:
    [[nodiscard]] foundation::ObservationToken add(std::set<std::string> classNames,
                                                   std::function<void()> block);
    void didCommit(const std::set<std::string>& classNames);

  private:
    struct Entry {
        std::set<std::string> classNames;
        std::function<void()> block;
        std::atomic<bool> alive{true};
        std::atomic<bool> queued{false};
    };
    struct State {
        std::mutex mutex;
        std::vector<std::shared_ptr<Entry>> entries;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace store
