// The news check: more items than the user was told of become one news notification, and the
// next check follows two minutes after each answer.
#include "app/completion/KSNewsCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/presentations/DelegatePartsFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using usernotifications::UserNotificationCenter;

class KSNewsCheckTest : public DelegatePartsFixture {
  protected:
    void SetUp() override {
        DelegatePartsFixture::SetUp();
        setenv(KSWebServiceAddress::kEnvironmentVariable, server_.url("/api").c_str(), 1);
        UserNotificationCenter::current().setAuthorizationAnswer(true);
        notifications->registerToSendNotifications();
        advanceClock(0);
        check = std::make_shared<KSNewsCheck>(notifications, state);
    }
    void replyNews(int count) {
        std::string items;
        for (int i = 1; i <= count; ++i)
            items += (i > 1 ? "," : "") + std::string(R"({"id": )") + std::to_string(i) +
                     R"(, "title": "News )" + std::to_string(i) + "\"}";
        routeJSON("/api/news", "[" + items + "]");
    }
    std::size_t newsRequests() const { return requestsTo("/api/news").size(); }

    std::shared_ptr<KSNewsCheck> check;
};

TEST_F(KSNewsCheckTest, NewItemsAreAnnouncedOnceAndTheCheckRepeats) {
    CorvanePersistentPreferences::sharedInstance().setValue(1, "NewsCount");
    replyNews(2);
    check->checkForNews();
    pumpUntil([] { return UserNotificationCenter::current().pendingRequests().size() == 1; });
    auto request = UserNotificationCenter::current().pendingRequests()[0];
    EXPECT_EQ(request.content.title, "News");
    EXPECT_EQ(request.content.body,
              "New messages from Kestrune are available. Click here to check the News tab!");
    EXPECT_EQ(request.content.badge, std::nullopt);
    EXPECT_TRUE(state->newsNotification);
    EXPECT_EQ(CorvanePersistentPreferences::sharedInstance().integerForKey("NewsCount"), 2);
    advanceClock(1);

    // Nothing new: the next check, two minutes later, announces nothing.
    advanceClock(KSNewsCheck::kIntervalSeconds - 2);
    EXPECT_EQ(newsRequests(), 1u);
    advanceClock(2);
    pumpUntil([this] { return newsRequests() == 2; });
    testing_support::pumpFor(0.2);
    advanceClock(0);
    EXPECT_TRUE(UserNotificationCenter::current().pendingRequests().empty());
}

}  // namespace
}  // namespace corvane::testing
