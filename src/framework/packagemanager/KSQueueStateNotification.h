#pragma once

#include <optional>
#include <string>

#include "framework/storage/KSRQueueOperation.h"

namespace corvane {

// Posts the per-package queue-state notification (KSRQueueStateNotificationName). Package cells
// and the package page observe it for their own package and re-read its queue state; a message
// ("Canceled Operation", "Finished Operation", "Finished with error") travels as the user info
// "Message".
class KSQueueStateNotification {
  public:
    static constexpr const char* kCanceledOperation = "Canceled Operation";
    static constexpr const char* kFinishedOperation = "Finished Operation";
    static constexpr const char* kFinishedWithError = "Finished with error";

    // Posted on the main thread on a later turn of the main loop, never inside the caller's
    // call, whatever thread calls.
    static void post(const std::string& identifier,
                     const std::optional<std::string>& message = std::nullopt);
    // Marks the package queued with the version (nil for the candidate) and the operation
    // (KSRQueueOperationNone derives it), then posts the notification.
    static void markQueued(const std::string& identifier,
                           const std::optional<std::string>& versionToQueue,
                           unsigned operation = KSRQueueOperationNone);
};

}  // namespace corvane
