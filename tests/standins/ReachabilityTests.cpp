#include <gtest/gtest.h>

#include <vector>

#include "foundation/NotificationCenter.h"
#include "reachability/Reachability.h"

using namespace reachability;

TEST(Reachability, ReachableByWiFiUntilChangedAndEachChangeIsPostedOnce) {
    auto reach = Reachability::reachabilityForInternetConnection();
    EXPECT_EQ(reach->currentReachabilityStatus(), ReachableViaWiFi);

    std::vector<long> posted;
    auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        kNetworkReachabilityChangedNotification,
        [&](const foundation::Notification& n) { posted.push_back(n.object.integerValue()); });
    Reachability::setStatus(ReachableViaWWAN);
    Reachability::setStatus(ReachableViaWWAN);
    Reachability::setStatus(NotReachable);

    EXPECT_EQ(reach->currentReachabilityStatus(), NotReachable);
    EXPECT_EQ(Reachability::reachabilityForInternetConnection()->currentReachabilityStatus(), 0);
    EXPECT_EQ(posted, (std::vector<long>{2, 0})) << "an unchanged status is not a change";
}
