// The three roads of a handed-over URL: payment callbacks, archives and the application's own
// scheme, with a payment endpoint on a loopback server.
#include <gtest/gtest.h>

#include <string>

#include "app/presentations/DelegatePartsFixture.h"
#include "app/urls/KSOpenURLRouter.h"
#include "framework/repostore/KSRepoStorePurchaseResponse.h"
#include "framework/repostore/PDKeychainBindings.h"
#include "uikit/Application.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;

constexpr const char* kBrowserService = "com.apple.SafariViewService";

class KSOpenURLRouterTests : public DelegatePartsFixture {
  protected:
    void SetUp() override {
        DelegatePartsFixture::SetUp();
        router_ = std::make_shared<KSOpenURLRouter>(
            presenter, std::make_shared<KSURLSchemeTask>(presenter, nullptr, KSBackgroundWork()));
        KSScreenFactory::registerScreen(KSScreenFactory::Screen::importedArchive,
                                        [this](const KSScreenFactory::Request& request) {
                                            archives_.push_back(request.archivePath);
                                            return std::make_shared<uikit::ViewController>();
                                        });
    }

    void open(const std::string& text, const std::string& sourceApplication = "") {
        auto url = foundation::URL::withString(text);
        ASSERT_TRUE(url) << text;
        foundation::Value options;
        if (!sourceApplication.empty())
            options = foundation::Dictionary{
                {uikit::Application::kOpenURLOptionsSourceApplicationKey, sourceApplication}};
        EXPECT_TRUE(router_->openURL(*url, options));
        advanceClock(1);
    }

    std::shared_ptr<KSOpenURLRouter> router_;
    std::vector<std::string> archives_;
};

TEST_F(KSOpenURLRouterTests, ASignInCallbackCountsOnlyFromTheInAppBrowserForASignInUnderWay) {
    auto outcome = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
    api().userSigninForSourceLocation(location_,
                                      [outcome](auto response) { outcome->set(response); });
    ASSERT_TRUE(shownBrowser());
    ::testing::internal::CaptureStderr();
    open("sileo://authentication_success?token=forged&payment_secret=forged", "com.example.mail");
    open("sileo://authentication_success?token=forged&payment_secret=forged");
    open("sileos://authentication_success?token=forged&payment_secret=forged", kBrowserService);
    open("SILEO://elsewhere?token=forged&payment_secret=forged", kBrowserService);
    auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(outcome->arrived());
    EXPECT_NE(log.find("Ignored the payment callback \"sileo://authentication_success?token="
                       "forged&payment_secret=forged\": it did not come from the in-app browser"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\"SILEO://elsewhere?token=forged&payment_secret=forged\": its host is "
                       "none of the payment client's"),
              std::string::npos)
        << log;

    open("sileo://authentication_success?token=tok-1&payment_secret=sec-1", kBrowserService);
    EXPECT_TRUE(outcome->wait().success);
    EXPECT_TRUE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));

    // The sign-in is over: the same callback again reaches nothing.
    ::testing::internal::CaptureStderr();
    open("sileo://authentication_success?token=tok-2&payment_secret=sec-2", kBrowserService);
    log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Ignored a sign-in callback: no sign-in is pending"), std::string::npos)
        << log;
    EXPECT_EQ(PDKeychainBindings::sharedKeychainBindings().stringForKey(location_ + "_token"),
              "tok-1");
}

TEST_F(KSOpenURLRouterTests, APaymentCallbackCompletesOnlyThePaymentUnderWay) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON("/pay/package/com.example.paid/purchase",
              R"({"status": 1, "url": "https://pay.example/checkout"})");
    routeJSON("/pay/package/com.example.paid/info", R"({"available": true, "purchased": true})");
    auto outcome = std::make_shared<Outcome<KSRepoStorePurchaseResponse>>();
    api().purchasePackageWithIdentifier(kPaid,
                                        [outcome](auto response) { outcome->set(response); });
    ASSERT_TRUE(shownBrowser());
    open("sileo://payment_completed", "com.example.mail");
    EXPECT_FALSE(outcome->arrived());
    open("sileo://payment_completed", kBrowserService);
    EXPECT_EQ(outcome->wait().status, KSRepoStorePurchaseResponse::kStatusCompleted);
}

TEST_F(KSOpenURLRouterTests, OnlyALocalDebArchiveGoesToTheImportedArchiveScreen) {
    auto covering = std::make_shared<uikit::ViewController>();
    presenter_->present(covering, false);
    open("file:///var/mobile/Documents/a%20b.deb");
    ASSERT_EQ(archives_, std::vector<std::string>{"/var/mobile/Documents/a b.deb"});
    auto shownOver =
        std::dynamic_pointer_cast<uikit::NavigationController>(covering->presentedViewController());
    ASSERT_TRUE(shownOver) << "presented over what was on screen, in a navigation controller";

    ::testing::internal::CaptureStderr();
    open("file:///var/mobile/Documents/a.DEB");
    open("https://example.org/a.deb");
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(archives_.size(), 1u);
    EXPECT_NE(log.find("\"file:///var/mobile/Documents/a.DEB\": it is no URL of this application"),
              std::string::npos)
        << log;
}

}  // namespace
}  // namespace corvane::testing
