#include "reachability/Reachability.h"

#include "foundation/NotificationCenter.h"
#include "foundation/ProcessValue.h"

namespace reachability {

namespace {
foundation::ProcessValue<NetworkStatus> status{ReachableViaWiFi};
}  // namespace

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
    return std::make_shared<Reachability>();
}

NetworkStatus Reachability::currentReachabilityStatus() const {
    return status.get();
}

void Reachability::setStatus(NetworkStatus newStatus) {
    if (status.exchange(newStatus) == newStatus)
        return;
    foundation::NotificationCenter::defaultCenter().post(kNetworkReachabilityChangedNotification,
                                                         static_cast<long>(newStatus));
}

}  // namespace reachability
