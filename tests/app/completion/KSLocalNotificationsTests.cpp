// The local-notification channel: what a tap opens, and what the user sees instead when
// notifications are not allowed.
#include "app/completion/KSLocalNotifications.h"

#include <gtest/gtest.h>

#include "app/presentations/DelegatePartsFixture.h"
#include "uikit/InterfaceHands.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using usernotifications::UserNotificationCenter;
using Screen = KSScreenFactory::Screen;

class KSLocalNotificationsTest : public DelegatePartsFixture {
  protected:
    void SetUp() override {
        DelegatePartsFixture::SetUp();
        registerRecordingScreens();
    }
    static void allow(bool allowed) {
        UserNotificationCenter::current().setAuthorizationAnswer(allowed);
    }
    static std::size_t pending() {
        return UserNotificationCenter::current().pendingRequests().size();
    }
    void postNewSourcePackages() {
        foundation::NotificationCenter::defaultCenter().post(
            "ShowNewSourcePackages", {},
            foundation::Dictionary{
                {"Identifiers", foundation::Array{"com.example.a", "com.example.b"}},
                {"SourceName", "Example Repo"}});
    }
};

TEST_F(KSLocalNotificationsTest, ATapOpensWhatTheTappedNotificationAnnounced) {
    allow(true);
    notifications->registerToSendNotifications();
    advanceClock(0);
    EXPECT_EQ(UserNotificationCenter::current().delegate(), notifications);

    // News first, then new packages of a followed source: the later one replaces the pending
    // news, and its tap must open the packages even though the news flag is still set.
    state->newsNotification = true;
    notifications->sendNotificationWithTitle("News", "New messages", false,
                                             KSNotificationKind::news);
    pumpUntil([] { return pending() == 1; });
    postNewSourcePackages();
    pumpUntil([this] { return state->sourceNotification; });
    pumpUntil([] {
        auto requests = UserNotificationCenter::current().pendingRequests();
        return requests.size() == 1 &&
               requests[0].content.title == "New Package on Followed Source";
    });
    auto request = UserNotificationCenter::current().pendingRequests()[0];
    EXPECT_EQ(request.content.body, "Example Repo released new packages, click here to see them");
    advanceClock(1);

    ASSERT_TRUE(UserNotificationCenter::current().simulateTap(request.identifier));
    advanceClock(1);
    ASSERT_EQ(requestedScreens.size(), 1u);
    EXPECT_EQ(requestedScreens[0].first, Screen::packageList);
    EXPECT_TRUE(
        requestedScreens[0].second.category.is(kCategorySpecial_NewPackagesFromFollowedSource));
    EXPECT_EQ(requestedScreens[0].second.newsSourcePackagesToShow,
              (std::vector<std::string>{"com.example.a", "com.example.b"}));
    EXPECT_FALSE(state->sourceNotification);
    EXPECT_TRUE(state->newsNotification);

    // A news notification's tap opens the news.
    shown()->dismiss(false);
    advanceClock(1);
    notifications->sendNotificationWithTitle("News", "New messages", true,
                                             KSNotificationKind::news);
    pumpUntil([] { return pending() == 1; });
    advanceClock(1);
    ASSERT_TRUE(UserNotificationCenter::current().simulateTap(request.identifier));
    advanceClock(1);
    ASSERT_EQ(requestedScreens.size(), 2u);
    EXPECT_EQ(requestedScreens[1].first, Screen::news);
    EXPECT_FALSE(state->newsNotification);
}

TEST_F(KSLocalNotificationsTest, NotificationsInFrontShowWithAlertSoundAndBadge) {
    usernotifications::PresentationOptions options = 0;
    notifications->willPresentNotification(UserNotificationCenter::current(), {},
                                           [&](auto answer) { options = answer; });
    EXPECT_EQ(options, usernotifications::PresentationOptionAlert |
                           usernotifications::PresentationOptionSound |
                           usernotifications::PresentationOptionBadge);
}

TEST_F(KSLocalNotificationsTest, WithoutRightsOnlyTheNewsBecomeAnOpenNewsAlert) {
    allow(false);
    notifications->registerToSendNotifications();
    advanceClock(0);
    postNewSourcePackages();
    testing_support::pumpFor(0.2);
    advanceClock(1);
    EXPECT_EQ(shown(), nullptr) << "new source packages are not turned into an alert";

    notifications->sendNotificationWithTitle("News", "New messages", false,
                                             KSNotificationKind::news);
    pumpUntil([this] { return shownAlert() != nullptr; });
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "News");
    EXPECT_EQ(alert->message(), "New messages");
    EXPECT_EQ(actionTitles(alert), (std::vector<std::string>{"Open News", "Cancel"}));
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "Open News"));
    advanceClock(1);
    ASSERT_EQ(requestedScreens.size(), 1u);
    EXPECT_EQ(requestedScreens[0].first, Screen::news);
    EXPECT_EQ(pending(), 0u);
}

}  // namespace
}  // namespace corvane::testing
