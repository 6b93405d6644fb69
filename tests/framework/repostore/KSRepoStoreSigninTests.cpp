// Sign-in through the in-app browser: the callback stores both secrets for the source that is
// signing in, and for no other.
#include <gtest/gtest.h>

#include "RepoStoreFixture.h"
#include "foundation/JSON.h"
#include "framework/repostore/KSRepoStoreError.h"
#include "framework/repostore/PDKeychainBindings.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;

using KSRepoStoreSigninTest = RepoStoreFixture;

std::optional<std::string> keychainValue(const std::string& key) {
    return PDKeychainBindings::sharedKeychainBindings().stringForKey(key);
}

TEST_F(KSRepoStoreSigninTest, TheCallbackStoresBothSecretsAndClosesTheBrowser) {
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    auto outcome = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
    api().userSigninForSourceLocation(location_,
                                      [outcome](auto response) { outcome->set(response); });
    auto page = shownBrowser();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().path(), "/pay/authenticate");
    EXPECT_EQ(page->url().queryItems(),
              (std::vector<foundation::URLQueryItem>{{"udid", kUDID}, {"model", kModel}}));
    EXPECT_FALSE(outcome->arrived());

    callBack("sileo://authentication_success?token=tok-1&payment_secret=sec-1");
    auto response = outcome->wait();
    EXPECT_TRUE(response.success);
    EXPECT_TRUE(outcome->onMain());
    EXPECT_TRUE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    EXPECT_EQ(keychainValue(location_ + "_token"), "tok-1");
    EXPECT_EQ(keychainValue(location_ + "_payment_secret"), "sec-1");
    EXPECT_EQ(updatedSources_, std::vector<std::string>{location_});
    advanceClock(1);
    EXPECT_EQ(browser(), nullptr);

    // The sign-in is over: a second callback finds nothing pending.
    callBack("sileo://authentication_success?token=forged&payment_secret=forged");
    advanceClock(1);
    EXPECT_EQ(keychainValue(location_ + "_token"), "tok-1");
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSRepoStoreSigninTest, CallbacksWithoutTheirOwnPendingFlowDoNothing) {
    callBack("sileo://payment_completed");
    callBack("sileo://authentication_success?token=forged&payment_secret=forged");
    advanceClock(1);
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));

    // A payment callback during a sign-in neither ends it nor sends anything.
    auto outcome = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
    api().userSigninForSourceLocation(location_,
                                      [outcome](auto response) { outcome->set(response); });
    ASSERT_TRUE(shownBrowser());
    callBack("sileo://payment_completed");
    advanceClock(1);
    EXPECT_FALSE(outcome->arrived());
    EXPECT_TRUE(browser());

    // Closing the browser cancels the sign-in; a callback after it is too late.
    EXPECT_TRUE(uikit::hands::closeBrowser(browser()));
    advanceClock(1);
    auto response = outcome->wait();
    EXPECT_FALSE(response.success);
    ASSERT_TRUE(response.error);
    EXPECT_EQ(response.error->code, KSRepoStoreError::Cancelled);
    callBack("sileo://authentication_success?token=late&payment_secret=late");
    advanceClock(1);
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSRepoStoreSigninTest, ACallbackWithoutBothSecretsStoresNothing) {
    auto response = signIn(location_, "sileo://authentication_success?token=tok-1");
    EXPECT_FALSE(response.success);
    ASSERT_TRUE(response.error);
    EXPECT_EQ(response.error->code, KSRepoStoreError::IncompleteReply);
    EXPECT_EQ(keychainValue(location_ + "_token"), std::nullopt);
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
}

TEST_F(KSRepoStoreSigninTest, ACallbackReachesOnlyTheSourceSigningInNow) {
    const std::string other = server_.url("/other/");
    addSource(other, server_.url("/pay-other/"));
    auto first = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
    api().userSigninForSourceLocation(location_, [first](auto response) { first->set(response); });
    ASSERT_TRUE(shownBrowser());
    auto second = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
    api().userSigninForSourceLocation(other, [second](auto response) { second->set(response); });

    auto cancelled = first->wait();
    EXPECT_FALSE(cancelled.success);
    ASSERT_TRUE(cancelled.error);
    EXPECT_EQ(cancelled.error->code, KSRepoStoreError::Cancelled);
    advanceClock(1);
    auto page = shownBrowser();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().path(), "/pay-other/authenticate");

    callBack("sileo://authentication_success?token=tok-2&payment_secret=sec-2");
    EXPECT_TRUE(second->wait().success);
    EXPECT_TRUE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(other));
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    EXPECT_EQ(keychainValue(location_ + "_token"), std::nullopt);
}

TEST_F(KSRepoStoreSigninTest, ASourceWithoutEndpointOpensNoPage) {
    const std::string plain = server_.url("/plain/");
    addSource(plain, std::nullopt);
    const std::string untrusted = server_.url("/untrusted/");
    addSource(untrusted, "http://repo.example.org/pay/");
    for (const auto& location : {plain, untrusted}) {
        auto outcome = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
        api().userSigninForSourceLocation(location,
                                          [outcome](auto response) { outcome->set(response); });
        auto response = outcome->wait();
        EXPECT_FALSE(response.success);
        ASSERT_TRUE(response.error);
        EXPECT_EQ(response.error->code, KSRepoStoreError::NoEndpoint);
    }
    advanceClock(1);
    EXPECT_EQ(browser(), nullptr);
}

TEST_F(KSRepoStoreSigninTest, LoginMarksOnlyTheSourcesOwnBoughtPackages) {
    auto elsewhere = package("com.example.elsewhere");
    elsewhere.sourceLocation = "https://elsewhere.example/";
    store({elsewhere});
    routeJSON("/pay/user_info",
              R"({"items": ["com.example.paid", "com.example.elsewhere", "x; rm -rf /"],
                  "user": {"name": "Ann"}})");

    auto outcome = std::make_shared<Outcome<bool>>();
    KSRepoStoreAPI::loginToSource(location_, [outcome](bool success) { outcome->set(success); });
    ASSERT_TRUE(shownBrowser());
    callBack("sileo://authentication_success?token=tok-1&payment_secret=sec-1");
    EXPECT_TRUE(outcome->wait());
    EXPECT_TRUE(outcome->onMain());
    const auto paid = stored(kPaid);
    ASSERT_TRUE(paid);
    EXPECT_TRUE(paid->isPaidThroughSileo);
    const auto unpaid = stored("com.example.elsewhere");
    ASSERT_TRUE(unpaid);
    EXPECT_FALSE(unpaid->isPaidThroughSileo);

    auto requests = requestsTo("/pay/user_info");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    auto body = foundation::JSON::parse(requests[0].body);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["token"], "tok-1");
    EXPECT_EQ((*body)["udid"], kUDID);
    EXPECT_EQ((*body)["device"], kModel);

    auto info = std::make_shared<Outcome<KSRepoStoreUserInfoResponse>>();
    api().userInfoForSourceLocation(location_, [info](auto response) { info->set(response); });
    auto response = info->wait();
    EXPECT_EQ(response.userName, "Ann");
    EXPECT_EQ(response.items,
              (std::vector<std::string>{"com.example.paid", "com.example.elsewhere"}));
}

TEST_F(KSRepoStoreSigninTest, SignOutDropsTheSecretsAndTellsTheEndpoint) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON("/pay/sign_out", "{}");
    api().signOutFromSourceLocation(location_);
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    testing_support::pumpUntil([this] { return !requestsTo("/pay/sign_out").empty(); });
    auto body = foundation::JSON::parse(requestsTo("/pay/sign_out")[0].body);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["token"], "tok-1");
    advanceClock(1);
    EXPECT_EQ(updatedSources_, (std::vector<std::string>{location_, location_}));
}

}  // namespace
}  // namespace corvane::testing
