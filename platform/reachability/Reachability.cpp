#include "reachability/Reachability.h"

#include <atomic>

#include "foundation/NotificationCenter.h"

namespace reachability {

namespace {
std::atomic<NetworkStatus> status{ReachableViaWiFi};
}  // namespace

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
    return std::make_shared<Reachability>();
}

NetworkStatus Reachability::currentReachabilityStatus() const {
    return status.load();
}

void Reachability::setStatus(NetworkStatus newStatus) {
    if (status.exchange(newStatus) == newStatus)
        return;
    foundation::NotificationCenter::defaultCenter().post(kNetworkReachabilityChangedNotification,
                                                         static_cast<long>(newStatus));
}

}  // namespace reachability
