#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/RunLoop.h"
#include "support/MainLoop.h"
#include "usernotifications/UserNotificationCenter.h"

using namespace usernotifications;
using testing_support::advanceClock;
using testing_support::pumpUntil;

namespace {

class RecordingDelegate : public UserNotificationCenterDelegate {
  public:
    void willPresentNotification(UserNotificationCenter&, const Notification& notification,
                                 std::function<void(PresentationOptions)> handler) override {
        EXPECT_TRUE(foundation::isMainThread());
        presented.push_back(notification);
        handler(PresentationOptionAlert | PresentationOptionSound | PresentationOptionBadge);
    }
    void didReceiveNotificationResponse(UserNotificationCenter&,
                                        const NotificationResponse& response,
                                        std::function<void()> handler) override {
        EXPECT_TRUE(foundation::isMainThread());
        tapped.push_back(response);
        handler();
    }

    std::vector<Notification> presented;
    std::vector<NotificationResponse> tapped;
};

struct Answer {
    std::atomic<bool> arrived = false;
    std::optional<foundation::Error> error;
};

bool authorize() {
    std::atomic<bool> arrived = false;
    bool granted = false;
    UserNotificationCenter::current().requestAuthorization(
        AuthorizationOptionAlert | AuthorizationOptionSound | AuthorizationOptionBadge,
        [&](bool answer, std::optional<foundation::Error>) {
            granted = answer;
            arrived = true;
        });
    pumpUntil([&] { return arrived.load(); });
    return granted;
}

NotificationRequest makeRequest(const std::string& identifier, const std::string& title,
                                double seconds) {
    NotificationRequest request;
    request.identifier = identifier;
    request.content.title = title;
    request.content.body = "body";
    request.trigger.timeInterval = seconds;
    return request;
}

void add(const std::string& identifier, const std::string& title, double seconds, Answer& answer) {
    UserNotificationCenter::current().add(makeRequest(identifier, title, seconds),
                                          [&](std::optional<foundation::Error> error) {
                                              answer.error = std::move(error);
                                              answer.arrived = true;
                                          });
    pumpUntil([&] { return answer.arrived.load(); });
}

AuthorizationStatus currentStatus() {
    std::atomic<bool> arrived = false;
    NotificationSettings settings;
    UserNotificationCenter::current().getNotificationSettings([&](NotificationSettings answer) {
        settings = answer;
        arrived = true;
    });
    pumpUntil([&] { return arrived.load(); });
    return settings.authorizationStatus;
}

}  // namespace

TEST(UserNotificationCenter, DeliversOnceAfterTheTriggerAndReplacesBySameIdentifier) {
    auto& center = UserNotificationCenter::current();
    auto delegate = std::make_shared<RecordingDelegate>();
    center.setDelegate(delegate);
    ASSERT_TRUE(authorize());

    Answer first, second;
    add("app", "First", 1.0, first);
    advanceClock(0.5);
    add("app", "Second", 1.0, second);
    EXPECT_FALSE(first.error);
    EXPECT_FALSE(second.error);
    ASSERT_EQ(center.pendingRequests().size(), 1u);
    EXPECT_EQ(center.pendingRequests()[0].content.title, "Second");

    advanceClock(0.7);
    EXPECT_TRUE(delegate->presented.empty()) << "the replaced request's trigger must not fire";
    advanceClock(0.4);
    ASSERT_EQ(delegate->presented.size(), 1u);
    EXPECT_EQ(delegate->presented[0].request.content.title, "Second");
    EXPECT_TRUE(center.pendingRequests().empty());

    advanceClock(10);
    EXPECT_EQ(delegate->presented.size(), 1u) << "a notification is delivered once";
    ASSERT_EQ(center.deliveredNotifications().size(), 1u);
    EXPECT_EQ(center.deliveredNotifications()[0].request.content.title, "Second");
}

TEST(UserNotificationCenter, TapReachesTheDelegateWithTheNotification) {
    auto& center = UserNotificationCenter::current();
    auto delegate = std::make_shared<RecordingDelegate>();
    center.setDelegate(delegate);
    ASSERT_TRUE(authorize());
    EXPECT_FALSE(center.simulateTap("news")) << "nothing delivered yet";

    Answer answer;
    add("news", "News", 1.0, answer);
    advanceClock(1.0);
    ASSERT_TRUE(center.simulateTap("news"));
    ASSERT_EQ(delegate->tapped.size(), 1u);
    EXPECT_EQ(delegate->tapped[0].notification.request.content.title, "News");
    EXPECT_EQ(delegate->tapped[0].actionIdentifier, NotificationResponse::kDefaultActionIdentifier);

    std::weak_ptr<RecordingDelegate> gone = delegate;
    delegate.reset();
    EXPECT_TRUE(gone.expired()) << "the centre holds its delegate weakly";
    EXPECT_TRUE(center.simulateTap("news"));
}

TEST(UserNotificationCenter, AuthorisationAnswerDecidesStatusAndWhetherRequestsAreAccepted) {
    auto& center = UserNotificationCenter::current();
    EXPECT_EQ(currentStatus(), AuthorizationStatus::NotDetermined);

    center.setAuthorizationAnswer(false);
    EXPECT_FALSE(authorize());
    EXPECT_EQ(currentStatus(), AuthorizationStatus::Denied);
    Answer refused;
    add("app", "Refused", 1.0, refused);
    ASSERT_TRUE(refused.error) << "a request without permission must not look scheduled";
    EXPECT_EQ(refused.error->code, NotificationsNotAllowed);
    EXPECT_TRUE(center.pendingRequests().empty());

    center.setAuthorizationAnswer(true);
    EXPECT_TRUE(authorize());
    EXPECT_EQ(currentStatus(), AuthorizationStatus::Authorized);
    Answer invalid;
    add("app", "Never", 0, invalid);
    ASSERT_TRUE(invalid.error);
    EXPECT_EQ(invalid.error->code, InvalidRequest);
}

TEST(UserNotificationCenter, RemovedRequestsAreNeverDelivered) {
    auto& center = UserNotificationCenter::current();
    auto delegate = std::make_shared<RecordingDelegate>();
    center.setDelegate(delegate);
    ASSERT_TRUE(authorize());

    Answer a, b, c;
    add("a", "A", 1, a);
    add("b", "B", 1, b);
    add("c", "C", 1, c);
    center.removePendingNotificationRequests({"a"});
    ASSERT_EQ(center.pendingRequests().size(), 2u);
    EXPECT_EQ(center.pendingRequests()[0].identifier, "b");
    center.removeAllPendingNotificationRequests();
    advanceClock(5);
    EXPECT_TRUE(delegate->presented.empty());
    EXPECT_TRUE(center.deliveredNotifications().empty());
}

TEST(UserNotificationCenter, RequestsFromAnotherThreadAreDeliveredOnMain) {
    auto& center = UserNotificationCenter::current();
    auto delegate = std::make_shared<RecordingDelegate>();
    center.setDelegate(delegate);
    ASSERT_TRUE(authorize());

    std::thread([&] { center.add(makeRequest("bg", "Background", 1)); }).join();
    advanceClock(1);
    ASSERT_EQ(delegate->presented.size(), 1u);
    EXPECT_EQ(delegate->presented[0].request.identifier, "bg");
}
