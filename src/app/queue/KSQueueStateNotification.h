#pragma once

#include <optional>
#include <string>

namespace corvane {

// Posts the per-package queue-state notification (KSRQueueStateNotificationName), with no user
// info from here. Package cells and the package page observe it for their own package and re-read
// its queue state.
class KSQueueStateNotification {
  public:
    // Posted on the main thread on a later turn of the main loop, never inside the caller's
    // call, whatever thread calls.
    static void post(const std::string& identifier);
    // Marks the package queued with the version (nil for the candidate) and the operation
    // (0 derives it), then posts the notification.
    static void markQueued(const std::string& identifier,
                           const std::optional<std::string>& versionToQueue,
                           unsigned operation = 0);
};

}  // namespace corvane
