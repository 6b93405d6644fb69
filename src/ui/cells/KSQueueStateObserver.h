#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/ObservationToken.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

// Follows the queue state of one stored package through the per-package notification that
// queueing posts: on the main loop's next turn after each delivery, the handler gets the package
// as stored then, or nothing when it is no longer stored. Observing another package ends the
// earlier observation, and a delivery for the earlier package still on its way is dropped.
class KSQueueStateObserver {
  public:
    using Handler = std::function<void(const std::optional<KSRPackage>& package)>;

    void observe(const std::string& identifier, Handler handler);
    void stop();

  private:
    struct Target {
        std::string identifier;
        Handler handler;
    };
    std::shared_ptr<Target> target_;
    foundation::ObservationToken observation_;
};

}  // namespace corvane
