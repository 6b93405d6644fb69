#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/NotificationCenter.h"
#include "foundation/Observable.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"

using namespace foundation;

TEST(NotificationCenter, ObserverWithoutItsTokenIsNeverCalledEvenWhenDeliveryWasQueued) {
    auto& center = NotificationCenter::defaultCenter();
    int sync = 0, queued = 0;
    auto syncToken = center.addObserver("n", [&](const Notification&) { ++sync; });
    auto queuedToken = center.addObserver(
        "n", [&](const Notification&) { ++queued; }, NotificationCenter::Delivery::MainQueue);
    center.post("n");
    EXPECT_EQ(sync, 1);
    EXPECT_EQ(queued, 0) << "main-queue observers run on the next turn, not at once";
    queuedToken.reset();
    RunLoop::main().runOnce();
    EXPECT_EQ(queued, 0) << "a delivery queued before the token went must not run";

    syncToken.reset();
    center.post("n");
    EXPECT_EQ(sync, 1);
}

TEST(NotificationCenter, DeliversObjectUserInfoAndNameFilterAndRemovesByOwner) {
    auto& center = NotificationCenter::defaultCenter();
    std::vector<std::string> seen;
    int owner = 0;
    auto a = center.addObserver(
        "a",
        [&](const Notification& n) {
            seen.push_back(n.object.stringValue() + ":" + n.userInfo["k"].stringValue());
        },
        NotificationCenter::Delivery::PostingThread, &owner);
    auto b = center.addObserver(
        "b", [&](const Notification&) { seen.push_back("b"); },
        NotificationCenter::Delivery::PostingThread, &owner);
    center.post("a", "pkg", Value(Dictionary{{"k", 3}}));
    center.post("c");
    center.removeObserver(&owner);
    center.post("a");
    center.post("b");
    EXPECT_EQ(seen, (std::vector<std::string>{"pkg:3"}));
}

TEST(NotificationCenter, ObserverMayEndItsOwnObservationWhileBeingCalled) {
    auto& center = NotificationCenter::defaultCenter();
    int calls = 0;
    ObservationToken token;
    token = center.addObserver("self", [&](const Notification&) {
        ++calls;
        token.reset();
    });
    center.post("self");
    center.post("self");
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, PostOnMainAndWaitRunsObserversOnMainBeforeReturning) {
    auto& center = NotificationCenter::defaultCenter();
    std::atomic<bool> observedOnMain = false;
    std::atomic<bool> returned = false;
    auto token =
        center.addObserver("w", [&](const Notification&) { observedOnMain = isMainThread(); });
    std::thread poster([&] {
        center.postOnMainAndWait(Notification{"w", {}, {}, nullptr});
        EXPECT_TRUE(observedOnMain.load());
        returned = true;
    });
    testing_support::pumpUntil([&] { return returned.load(); });
    poster.join();
}

TEST(Observable, ObserversSeeTheStoredValueAndStopWithTheirToken) {
    Observable<int> property(1);
    std::vector<int> seen;
    auto token = property.observe([&](const int& v) {
        EXPECT_EQ(property.get(), v) << "the setter has finished before observers run";
        seen.push_back(v);
    });
    property.set(2);
    token.reset();
    property.set(3);
    EXPECT_EQ(seen, (std::vector<int>{2}));
    EXPECT_EQ(property.get(), 3);
}
