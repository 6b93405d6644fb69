#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"

namespace foundation {

class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;
    enum class Delivery {
        PostingThread,  // synchronously, on the thread that posts
        MainQueue,      // on the main run loop's next turn
    };

    static NotificationCenter& defaultCenter();

    // The observation lasts as long as the token. owner (may be null) groups registrations so
    // that removeObserver can end them all at once.
    [[nodiscard]] ObservationToken addObserver(std::string name, Handler handler,
                                               Delivery delivery = Delivery::PostingThread,
                                               const void* owner = nullptr);
    void removeObserver(const void* owner);

    void post(const Notification& notification);
    void post(std::string name, Value object = {}, Value userInfo = {});
    // Posts on the main thread and returns once every synchronous observer has run there.
    void postOnMainAndWait(const Notification& notification);

  private:
    struct Registration;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Registration>> registrations_;
};

}  // namespace foundation
