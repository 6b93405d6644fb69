#pragma once

#include <memory>

namespace reachability {

enum NetworkStatus : long {
    NotReachable = 0,
    ReachableViaWiFi = 1,
    ReachableViaWWAN = 2,
};

// Posted on the default notification centre, with the new status as object, whenever the
// status changes.
inline constexpr const char* kNetworkReachabilityChangedNotification =
    "kNetworkReachabilityChangedNotification";

// Network reachability as the device reports it. There is no network probe behind it: the status
// is one process-wide setting, reachable by Wi-Fi until a test says otherwise (the process reset
// makes it so again).
class Reachability {
  public:
    static std::shared_ptr<Reachability> reachabilityForInternetConnection();

    NetworkStatus currentReachabilityStatus() const;

    static void setStatus(NetworkStatus status);
};

}  // namespace reachability
