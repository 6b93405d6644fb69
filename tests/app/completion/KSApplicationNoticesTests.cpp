// The application's own notices, posted from any thread, and what each one shows.
#include "app/completion/KSApplicationNotices.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/presentations/DelegatePartsFixture.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using Screen = KSScreenFactory::Screen;

class KSApplicationNoticesTest : public DelegatePartsFixture {
  protected:
    void SetUp() override {
        DelegatePartsFixture::SetUp();
        registerRecordingScreens();
    }
    static void postFromBackground(const std::string& name, foundation::Dictionary userInfo) {
        std::thread([name, userInfo] {
            foundation::NotificationCenter::defaultCenter().post(name, {}, userInfo);
        }).join();
    }
};

TEST_F(KSApplicationNoticesTest, ANewPackageOfAFollowedDeveloperOffersTheirList) {
    {
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(KSRDeveloper{.name = "jane doe"}); });
    }
    postFromBackground(
        "NewPackageByFollowedDeveloper",
        {{"developer", "Jane Doe"}, {"title", "Jane Doe"}, {"message", "released Cool Tweak"}});
    pumpUntil(
        [this] { return std::dynamic_pointer_cast<ErrorViewController>(shown()) != nullptr; });
    auto panel = std::dynamic_pointer_cast<ErrorViewController>(shown());
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->errorTxt(), "released Cool Tweak");
    EXPECT_EQ(panel->closeBtnTxt(), "Cancel");
    EXPECT_EQ(panel->otherBtnTxt(), "Yes");
    ASSERT_TRUE(uikit::hands::tap(panel->otherButton));
    advanceClock(1);
    ASSERT_EQ(requestedScreens.size(), 1u);
    const auto& [screen, request] = requestedScreens[0];
    EXPECT_EQ(screen, Screen::packageList);
    EXPECT_TRUE(request.category.is(kCategorySpecial_NewPackagesFromFollowedDeveloper));
    ASSERT_TRUE(request.followedDeveloper);
    EXPECT_EQ(request.followedDeveloper->name, "jane doe");
}

TEST_F(KSApplicationNoticesTest, NoticesAboutRecordsThatAreGoneShowNothing) {
    state->developerToShow = "Nobody";
    presentations->showDeveloperPage();
    postFromBackground("SileoRepoLogin",
                       {{"name", "Cool Tweak"}, {"sourceLocation", "https://gone.example/"}});
    postFromBackground("PurchaseNotification",
                       {{"name", "Cool Tweak"}, {"url", "javascript:alert(1)"}});
    testing_support::pumpFor(0.1);
    advanceClock(1);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_TRUE(requestedScreens.empty());
}

TEST_F(KSApplicationNoticesTest, ASignInNoticeNamesTheSourceAndOpensItsSignIn) {
    {
        auto database = realm();
        database.write([&] {
            auto source = database.objectForPrimaryKey<KSRSource>(location_).value();
            source.name = "Pay Repo";
            database.addOrUpdateObject(source);
        });
    }
    postFromBackground("SileoRepoLogin", {{"name", "Cool Tweak"}, {"sourceLocation", location_}});
    pumpUntil([this] { return shownAlert() != nullptr; });
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Paid Package Installation");
    EXPECT_EQ(alert->message(),
              "\"Cool Tweak\" installation failed, you aren't logged into "
              "\"Pay Repo\". Do you want to open the login page?");
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "Yes"));
    advanceClock(1);
    auto page = shownBrowser();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().path(), "/pay/authenticate");
}

TEST_F(KSApplicationNoticesTest, APurchaseNoticeOpensThePurchasePage) {
    postFromBackground("PurchaseNotification",
                       {{"name", "Cool Tweak"}, {"url", "https://shop.example/cool"}});
    pumpUntil([this] { return shownAlert() != nullptr; });
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Purchase Cydia Package");
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "Yes"));
    advanceClock(1);
    ASSERT_EQ(requestedScreens.size(), 1u);
    EXPECT_EQ(requestedScreens[0].first, Screen::website);
    EXPECT_EQ(requestedScreens[0].second.title, "Cool Tweak's website");
    EXPECT_EQ(requestedScreens[0].second.websiteURL->absoluteString(), "https://shop.example/cool");
}

TEST_F(KSApplicationNoticesTest, TheConsoleIsShownOnRequestAboveWhatIsShown) {
    auto sheet = std::make_shared<uikit::ViewController>();
    presenter_->present(sheet, false);
    advanceClock(1);
    postFromBackground("ShowVerboseView", {});
    pumpUntil([this] { return shownScreen<TasksVerboseViewController>() != nullptr; });
    EXPECT_TRUE(
        std::dynamic_pointer_cast<uikit::NavigationController>(sheet->presentedViewController()));
}

}  // namespace
}  // namespace corvane::testing
