// Package information, purchase and download authorisation against a loopback endpoint.
#include <gtest/gtest.h>

#include "RepoStoreFixture.h"
#include "foundation/JSON.h"
#include "framework/repostore/KSRepoStoreError.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;

struct PackageInfo {
    bool failed = false;
    KSRepoStorePackageInfoResponse response;
};

class KSRepoStorePurchaseTest : public RepoStoreFixture {
  protected:
    void SetUp() override {
        RepoStoreFixture::SetUp();
        ASSERT_TRUE(signIn(location_).success);
    }

    std::shared_ptr<Outcome<PackageInfo>> askInfo(const std::string& identifier = kPaid) {
        auto outcome = std::make_shared<Outcome<PackageInfo>>();
        api().purchaseInfoForPackageWithIdentifier(identifier,
                                                   [outcome](bool failed, auto response) {
                                                       outcome->set({failed, response});
                                                   });
        return outcome;
    }

    std::shared_ptr<Outcome<KSRepoStorePurchaseResponse>> purchase() {
        auto outcome = std::make_shared<Outcome<KSRepoStorePurchaseResponse>>();
        api().purchasePackageWithIdentifier(kPaid,
                                            [outcome](auto response) { outcome->set(response); });
        return outcome;
    }

    static constexpr const char* kInfoPath = "/pay/package/com.example.paid/info";
    static constexpr const char* kPurchasePath = "/pay/package/com.example.paid/purchase";
};

TEST_F(KSRepoStorePurchaseTest, PackageInformationIsReadWithTheUsersToken) {
    routeJSON(kInfoPath, R"j({"available": true, "purchased": false, "price": "$1.99",
                             "recovery_url": "javascript:alert(1)"})j");
    auto outcome = askInfo();
    auto info = outcome->wait();
    EXPECT_FALSE(info.failed);
    EXPECT_FALSE(outcome->onMain());
    EXPECT_TRUE(info.response.available);
    EXPECT_FALSE(info.response.purchased);
    EXPECT_EQ(info.response.price, "$1.99");
    EXPECT_EQ(info.response.recovery_url, std::nullopt);
    EXPECT_EQ(info.response.error, std::nullopt);

    auto requests = requestsTo(kInfoPath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].header("X-Unique-ID"), kUDID);
    auto body = foundation::JSON::parse(requests[0].body);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["token"], "tok-1");
    EXPECT_EQ((*body)["udid"], kUDID);
    EXPECT_EQ((*body)["device"], kModel);
    EXPECT_TRUE((*body)["payment_secret"].isNil());
}

TEST_F(KSRepoStorePurchaseTest, FailedRepliesCarryTheFailedFlagAndTheErrorText) {
    const std::pair<testing_support::CannedResponse, std::string> cases[] = {
        {{.status = 500, .body = R"({"available": true})", .contentType = "application/json"},
         "Communication with the server failed (500)"},
        {{.status = 200, .body = "<html>maintenance</html>", .contentType = "text/html"},
         "Failed to parse response"},
        {{.status = 200, .body = "[true]", .contentType = "application/json"},
         "Failed to parse response"},
        {{.status = 200, .body = std::string(3 << 20, ' '), .contentType = "application/json"},
         "Communication with the server failed (-1103)"},
    };
    for (const auto& [reply, text] : cases) {
        server_.route(kInfoPath, reply);
        auto info = askInfo()->wait();
        EXPECT_TRUE(info.failed) << text;
        ASSERT_TRUE(info.response.error) << text;
        EXPECT_EQ(info.response.error->localizedDescription(), text);
        EXPECT_FALSE(info.response.available) << text;
    }
    EXPECT_TRUE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
}

TEST_F(KSRepoStorePurchaseTest, AnInvalidateReplyDropsTheSecrets) {
    routeJSON(kInfoPath, R"({"invalidate": true, "error": "Session expired",
                             "recovery_url": "https://pay.example/help"})");
    auto info = askInfo()->wait();
    EXPECT_FALSE(info.failed);
    EXPECT_TRUE(info.response.invalidate);
    ASSERT_TRUE(info.response.error);
    EXPECT_EQ(info.response.error->localizedDescription(), "Session expired");
    ASSERT_TRUE(info.response.recovery_url);
    EXPECT_EQ(info.response.recovery_url->absoluteString(), "https://pay.example/help");
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    testing_support::pumpUntil([this] { return updatedSources_.size() == 2; });

    // Signed out now: the next question is not sent.
    auto again = askInfo()->wait();
    EXPECT_TRUE(again.failed);
    ASSERT_TRUE(again.response.error);
    EXPECT_EQ(again.response.error->code, KSRepoStoreError::NotSignedIn);
    EXPECT_EQ(requestsTo(kInfoPath).size(), 1u);
}

TEST_F(KSRepoStorePurchaseTest, APaymentPageWaitsForTheCallbackAndTheEndpointsConfirmation) {
    routeJSON(kPurchasePath, R"({"status": 1, "url": "https://pay.example/checkout?id=7"})");
    routeJSON(kInfoPath, R"({"available": true, "purchased": false})");
    auto unconfirmed = purchase();
    auto page = shownBrowser();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().absoluteString(), "https://pay.example/checkout?id=7");
    EXPECT_FALSE(unconfirmed->arrived());
    auto body = foundation::JSON::parse(requestsTo(kPurchasePath)[0].body);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["token"], "tok-1");
    EXPECT_EQ((*body)["payment_secret"], "sec-1");
    EXPECT_EQ((*body)["udid"], kUDID);
    EXPECT_EQ((*body)["device"], kModel);
    EXPECT_TRUE(requestsTo(kInfoPath).empty());

    // The callback alone is no proof of payment.
    callBack("sileo://payment_completed");
    auto refused = unconfirmed->wait();
    EXPECT_EQ(refused.status, KSRepoStorePurchaseResponse::kStatusFailed);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, KSRepoStoreError::PurchaseNotConfirmed);
    EXPECT_EQ(requestsTo(kInfoPath).size(), 1u);
    advanceClock(1);
    EXPECT_EQ(browser(), nullptr);

    routeJSON(kInfoPath, R"({"available": true, "purchased": true})");
    auto confirmed = purchase();
    ASSERT_TRUE(shownBrowser());
    callBack("sileo://payment_completed");
    auto response = confirmed->wait();
    EXPECT_EQ(response.status, KSRepoStorePurchaseResponse::kStatusCompleted);
    EXPECT_EQ(response.error, std::nullopt);
    EXPECT_FALSE(confirmed->onMain());
    EXPECT_EQ(requestsTo(kInfoPath).size(), 2u);

    callBack("sileo://payment_completed");
    advanceClock(1);
    EXPECT_EQ(requestsTo(kInfoPath).size(), 2u);
}

TEST_F(KSRepoStorePurchaseTest, OtherPurchaseRepliesCompleteAtOnce) {
    const std::pair<std::string, long> cases[] = {
        {R"({"status": 0})", KSRepoStorePurchaseResponse::kStatusCompleted},
        {R"({"status": 2})", 2},
        {R"({})", KSRepoStorePurchaseResponse::kStatusFailed},
        {R"j({"status": 1, "url": "javascript:alert(1)"})j",
         KSRepoStorePurchaseResponse::kStatusFailed},
        {R"({"status": 1})", KSRepoStorePurchaseResponse::kStatusFailed},
    };
    for (const auto& [reply, status] : cases) {
        routeJSON(kPurchasePath, reply);
        EXPECT_EQ(purchase()->wait().status, status) << reply;
    }
    routeJSON(kPurchasePath, "{}", 502);
    auto failed = purchase()->wait();
    EXPECT_EQ(failed.status, KSRepoStorePurchaseResponse::kStatusFailed);
    ASSERT_TRUE(failed.error);
    EXPECT_EQ(failed.error->localizedDescription(), "Communication with the server failed (502)");
    advanceClock(1);
    EXPECT_EQ(browser(), nullptr);
    EXPECT_TRUE(requestsTo(kInfoPath).empty());
}

TEST_F(KSRepoStorePurchaseTest, ClosingThePaymentPageFailsThePurchase) {
    routeJSON(kPurchasePath, R"({"status": 1, "url": "https://pay.example/checkout"})");
    auto outcome = purchase();
    ASSERT_TRUE(uikit::hands::closeBrowser(shownBrowser()));
    advanceClock(1);
    auto response = outcome->wait();
    EXPECT_EQ(response.status, KSRepoStorePurchaseResponse::kStatusFailed);
    ASSERT_TRUE(response.error);
    EXPECT_EQ(response.error->code, KSRepoStoreError::Cancelled);
    callBack("sileo://payment_completed");
    advanceClock(1);
    EXPECT_TRUE(requestsTo(kInfoPath).empty());
}

TEST_F(KSRepoStorePurchaseTest, DownloadsAreAuthorisedOnlyForWebAddresses) {
    const std::string path = "/pay/package/com.example.paid/authorize_download";
    routeJSON(path, R"({"url": "https://cdn.example/paid_1.0_iphoneos-arm.deb"})");
    auto outcome = std::make_shared<Outcome<std::optional<std::string>>>();
    auto ask = [&outcome] {
        outcome = std::make_shared<Outcome<std::optional<std::string>>>();
        api().authorizeDownloadForPackageWithIdentifier(
            kPaid, "1.0", [outcome](foundation::Result<foundation::URL> url) {
                outcome->set(url ? std::optional(url->absoluteString()) : std::nullopt);
            });
        return outcome->wait();
    };
    EXPECT_EQ(ask(), "https://cdn.example/paid_1.0_iphoneos-arm.deb");
    auto body = foundation::JSON::parse(requestsTo(path)[0].body);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["version"], "1.0");
    EXPECT_EQ((*body)["repo"], location_);
    EXPECT_EQ((*body)["payment_secret"], "sec-1");

    routeJSON(path, R"({"url": "file:///etc/passwd"})");
    EXPECT_EQ(ask(), std::nullopt);
}

}  // namespace
}  // namespace corvane::testing
