// Nothing that needs the user leaves the device while nobody is signed in; endpoint discovery
// stores only addresses that may carry secrets.
#include <gtest/gtest.h>

#include "RepoStoreFixture.h"
#include "framework/repostore/KSRepoStoreError.h"

namespace corvane::testing {
namespace {

using KSRepoStoreSignedOutTest = RepoStoreFixture;

long errorCode(const std::optional<foundation::Error>& error) {
    return error ? error->code : 0;
}

TEST_F(KSRepoStoreSignedOutTest, NoRequestNeedingTheUserIsSent) {
    auto info = std::make_shared<Outcome<KSRepoStorePackageInfoResponse>>();
    api().purchaseInfoForPackageWithIdentifier(
        kPaid, [info](bool, auto response) { info->set(response); });
    auto purchase = std::make_shared<Outcome<KSRepoStorePurchaseResponse>>();
    api().purchasePackageWithIdentifier(kPaid,
                                        [purchase](auto response) { purchase->set(response); });
    auto user = std::make_shared<Outcome<KSRepoStoreUserInfoResponse>>();
    api().userInfoForSourceLocation(location_, [user](auto response) { user->set(response); });
    auto download = std::make_shared<Outcome<long>>();
    api().authorizeDownloadForPackageWithIdentifier(
        kPaid, "1.0", [download](auto url) { download->set(url ? 0 : url.error().code); });
    api().signOutFromSourceLocation(location_);

    EXPECT_EQ(errorCode(info->wait().error), KSRepoStoreError::NotSignedIn);
    EXPECT_EQ(purchase->wait().status, KSRepoStorePurchaseResponse::kStatusFailed);
    EXPECT_EQ(errorCode(purchase->wait().error), KSRepoStoreError::NotSignedIn);
    EXPECT_EQ(errorCode(user->wait().error), KSRepoStoreError::NotSignedIn);
    EXPECT_EQ(download->wait(), KSRepoStoreError::NotSignedIn);
    testing_support::advanceClock(1);
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSRepoStoreSignedOutTest, DiscoveryStoresOnlyEndpointsThatMayCarrySecrets) {
    const std::string path = "/repo/payment_endpoint";
    auto discover = [this] {
        auto outcome = std::make_shared<Outcome<std::optional<std::string>>>();
        api().discoverEndpointForSourceLocation(
            location_, [outcome](auto endpoint) { outcome->set(endpoint); });
        outcome->wait();
        return realm().objectForPrimaryKey<KSRSource>(location_).value_or(KSRSource{});
    };

    server_.route(path, {.body = "  https://pay.example.org/api\n"});
    auto source = discover();
    EXPECT_TRUE(source.hasEndpoint);
    EXPECT_EQ(source.endpoint, "https://pay.example.org/api/");

    // A failing server changes nothing stored.
    server_.route(path, {.status = 500, .body = "oops"});
    EXPECT_EQ(discover().endpoint, "https://pay.example.org/api/");

    for (const std::string& refused : std::vector<std::string>{
             "http://pay.example.org/api/", "javascript:alert(1)", "file:///etc/passwd",
             "https://pay.example.org/api/?next=evil", std::string(4000, 'a')}) {
        server_.route(path, {.body = "https://pay.example.org/api/"});
        ASSERT_TRUE(discover().hasEndpoint);
        server_.route(path, {.body = refused});
        source = discover();
        EXPECT_FALSE(source.hasEndpoint) << refused;
        EXPECT_EQ(source.endpoint, std::nullopt) << refused;
    }

    server_.route(path, {.body = server_.url("/pay")});
    EXPECT_EQ(discover().endpoint, server_.url("/pay/"));
    server_.route(path, {.status = 404, .body = "Not Found"});
    EXPECT_FALSE(discover().hasEndpoint);
}

TEST_F(KSRepoStoreSignedOutTest, OnlyOneRepositoryIsListed) {
    EXPECT_TRUE(api().sourceWithLoacationIsBlacklisted("https://repo.blocked.example/"));
    EXPECT_FALSE(api().sourceWithLoacationIsBlacklisted("https://repo.blocked.example"));
    EXPECT_FALSE(api().sourceWithLoacationIsBlacklisted(location_));
}

}  // namespace
}  // namespace corvane::testing
