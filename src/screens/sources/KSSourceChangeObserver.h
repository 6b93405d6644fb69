#pragma once

#include <functional>
#include <string>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"

namespace corvane {

// Hears of every change the sources screens show: a source's refresh queued or finished, and
// KSRSourceUpdatedNotification (added, refused, refreshed, removed). The handler runs on the main
// thread with the source's location, for as long as this object lives.
class KSSourceChangeObserver {
  public:
    using Handler = std::function<void(const std::string& location)>;

    // Replaces an earlier handler.
    void observe(Handler handler);

  private:
    static void refreshChanged(const foundation::Notification& notification,
                               const Handler& handler);

    foundation::ObservationToken sourceObservation_;
    foundation::ObservationToken queuedObservation_;
    foundation::ObservationToken finishedObservation_;
};

}  // namespace corvane
