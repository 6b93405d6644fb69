#pragma once

#include <string>

namespace corvane {

// Data-change notifications of the stored records; each name is its own symbol's name.

// Object: the source location. Posted on the main thread after a source was added, refused,
// removed or refreshed, or signed in to or out of its payment endpoint.
inline constexpr const char* KSRSourceUpdatedNotification = "KSRSourceUpdatedNotification";
// Object: the package identifier. Posted on the main thread after a new package icon was stored
// or a package's icon address changed.
inline constexpr const char* KSRPackageInfoIconChangedNotification =
    "KSRPackageInfoIconChangedNotification";
// Object: the source location.
inline constexpr const char* KSRSourceInfoIconChangedNotification =
    "KSRSourceInfoIconChangedNotification";
// Object: the package identifier.
inline constexpr const char* KSRPackageInfoRatingChangedNotification =
    "KSRPackageInfoRatingChangedNotification";

// One name per package: posted on the main thread whenever the package's queue state changes,
// with no object; user info may carry "Message" ("Canceled Operation", "Finished Operation",
// "Finished with error").
inline std::string KSRQueueStateNotificationName(const std::string& identifier) {
    return "UpdateQueueStateNotification-" + identifier;
}

}  // namespace corvane
