// The queueing rules, row by row, against a payment endpoint on a loopback server: what ends in
// the queue, what is bought first, what is refused, and the queue-state notification that
// follows every change on a later turn of the main loop.
#include "app/queue/KSPackageQueuer.h"

#include <gtest/gtest.h>

#include "app/presentations/DelegatePartsFixture.h"
#include "framework/storage/KSRQueueOperation.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class KSPackageQueuerTest : public DelegatePartsFixture {
  protected:
    static constexpr const char* kInfoPath = "/pay/package/com.example.paid/info";
    static constexpr const char* kPurchasePath = "/pay/package/com.example.paid/purchase";

    void queue(const std::string& identifier,
               const std::optional<std::string>& version = std::nullopt) {
        queuer->queuePackageWithIdentifier(identifier, version, nullptr);
    }
    static bool isQueued(const std::string& identifier) {
        auto package = stored(identifier);
        return package && package->isInTheQueue;
    }
    static void addPaidPackage(const std::string& identifier, const std::string& location) {
        auto record = package(identifier);
        record.sourceLocation = location;
        record.price = "$0.99";
        store({record});
    }
    // Answers the sign-in page as the payment endpoint's browser callback would.
    void completeSignIn() {
        ASSERT_TRUE(shownBrowser());
        callBack("sileo://authentication_success?token=tok-2&payment_secret=sec-2");
    }
};

TEST_F(KSPackageQueuerTest, RemovalsFreePackagesAndPackagesBoughtElsewhereAreQueuedAtOnce) {
    auto installed = package("com.example.installed");
    installed.sourceLocation = location_;
    installed.price = "$4.99";
    installed.isInstalled = true;
    installed.installedVersion = "1.0";
    auto free = package("com.example.free");
    free.sourceLocation = location_;
    free.price = "FREE";
    auto elsewhere = package("com.example.elsewhere");
    elsewhere.sourceLocation = location_;
    elsewhere.price = "$2.00";
    elsewhere.isPaidThroughCydia = true;
    store({installed, free, elsewhere});

    const std::pair<std::string, unsigned> cases[] = {
        {"com.example.installed", KSRQueueOperationRemove},
        {"com.example.free", KSRQueueOperationInstall},
        {"com.example.elsewhere", KSRQueueOperationInstall},
    };
    for (const auto& [identifier, operation] : cases) {
        auto posts = countQueueStatePosts(identifier);
        queue(identifier);
        EXPECT_TRUE(isQueued(identifier)) << identifier;
        const auto queued = stored(identifier);
        ASSERT_TRUE(queued);
        EXPECT_EQ(queued->queueOperation, operation) << identifier;
        EXPECT_EQ(*posts, 0) << identifier << ": posted inside the call";
        advanceClock(0);
        EXPECT_EQ(*posts, 1) << identifier;
    }
    EXPECT_TRUE(server_.requests().empty()) << "no payment step for any of them";
    EXPECT_EQ(shown(), nullptr);
}

TEST_F(KSPackageQueuerTest, APaidPackageWithoutEndpointIsRefusedUnlessItsRepositoryIsListed) {
    addSource("https://plain.example/", std::nullopt);
    {
        auto database = realm();
        database.write([&] {
            auto source = database.objectForPrimaryKey<KSRSource>("https://plain.example/").value();
            source.name = "Plain Repo";
            database.addOrUpdateObject(source);
        });
    }
    addPaidPackage("com.example.plain", "https://plain.example/");
    addSource(std::string(KSRepoStoreAPI::kBlacklistedLocation), std::nullopt);
    addPaidPackage("com.example.listed", std::string(KSRepoStoreAPI::kBlacklistedLocation));
    addPaidPackage("com.example.orphan", "https://gone.example/");
    auto plainPosts = countQueueStatePosts("com.example.plain");

    queue("com.example.plain");
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Can't get package");
    EXPECT_NE(alert->message()->find("not signed into Plain Repo,"), std::string::npos);
    EXPECT_EQ(actionTitles(alert), std::vector<std::string>{"OK"});
    EXPECT_FALSE(isQueued("com.example.plain"));
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "OK"));

    queue("com.example.orphan");
    alert = shownAlert();
    ASSERT_TRUE(alert) << "a package whose source is gone is refused, not a crash";
    EXPECT_NE(alert->message()->find("(Removed source)"), std::string::npos);
    EXPECT_FALSE(isQueued("com.example.orphan"));
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "OK"));

    queue("com.example.listed");
    EXPECT_TRUE(isQueued("com.example.listed"));
    queue("com.example.unknown");
    advanceClock(1);
    EXPECT_EQ(*plainPosts, 0);
    EXPECT_EQ(shown(), nullptr);
}

TEST_F(KSPackageQueuerTest, RefusalsArePresentedAboveWhateverIsAlreadyShown) {
    addSource("https://plain.example/", std::nullopt);
    addPaidPackage("com.example.plain", "https://plain.example/");
    auto console = std::make_shared<uikit::ViewController>();
    presenter_->present(console, false);
    auto sheet = std::make_shared<uikit::ViewController>();
    console->present(sheet, false);
    advanceClock(1);

    queue("com.example.plain");
    advanceClock(1);
    auto alert =
        std::dynamic_pointer_cast<uikit::AlertController>(sheet->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Can't get package");
}

TEST_F(KSPackageQueuerTest, ASignedInUserGetsABoughtPackageQueuedWithoutPaying) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON(kInfoPath, R"({"available": true, "purchased": true})");
    auto posts = countQueueStatePosts(kPaid);
    queue(kPaid, "1.0");
    EXPECT_FALSE(isQueued(kPaid)) << "the endpoint answers later";
    pumpUntil([&] { return *posts == 1; });
    EXPECT_TRUE(isQueued(kPaid));
    const auto paid = stored(kPaid);
    ASSERT_TRUE(paid);
    EXPECT_EQ(paid->queuedVersion, "1.0");
    EXPECT_TRUE(requestsTo(kPurchasePath).empty());
}

TEST_F(KSPackageQueuerTest, ASignedInUserBuysAnAvailablePackageThenItIsQueued) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON(kInfoPath, R"({"available": true, "purchased": false})");
    routeJSON(kPurchasePath, R"({"status": 0})");
    auto posts = countQueueStatePosts(kPaid);
    queue(kPaid);
    pumpUntil([&] { return *posts == 1; });
    EXPECT_TRUE(isQueued(kPaid));
    pumpUntil([] {
        const auto paid = stored(kPaid);
        return paid && paid->isPaidThroughSileo;
    });
    const auto paid = stored(kPaid);
    ASSERT_TRUE(paid);
    EXPECT_TRUE(paid->isPaidThroughSileo);
    EXPECT_TRUE(paid->isInTheQueue) << "the paid flag does not undo the queue mark";
    EXPECT_EQ(requestsTo(kPurchasePath).size(), 1u);
}

TEST_F(KSPackageQueuerTest, FailedOrRefusedPurchasesAreNotQueued) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON(kInfoPath, R"({"available": true, "purchased": false})");
    routeJSON(kPurchasePath, R"({})");
    queue(kPaid);
    pumpUntil([this] { return requestsTo(kPurchasePath).size() == 1; });
    pumpUntil([this] { return shownAlert() != nullptr; });
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Purchase Failed");
    EXPECT_EQ(alert->message(),
              "The purchase was unsuccessful. This could mean there was an issue with your "
              "payment, or the repo maintainer denied your purchase request");
    EXPECT_FALSE(isQueued(kPaid));
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "OK"));

    // Not available: nothing is bought, queued or shown.
    routeJSON(kInfoPath, R"({"available": false})");
    queue(kPaid);
    pumpUntil([this] { return requestsTo(kInfoPath).size() == 2; });
    advanceClock(1);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(isQueued(kPaid));
    EXPECT_EQ(requestsTo(kPurchasePath).size(), 1u);
}

TEST_F(KSPackageQueuerTest, AnInformationErrorOffersTheEndpointsHelpPage) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON(kInfoPath, R"({"error": "The store is closed today",
                             "recovery_url": "https://pay.example/help"})");
    queue(kPaid);
    pumpUntil([this] { return shownAlert() != nullptr; });
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Error fetching package info");
    EXPECT_EQ(alert->message(), "The store is closed today");
    EXPECT_EQ(actionTitles(alert), (std::vector<std::string>{"More Info", "OK"}));
    EXPECT_FALSE(isQueued(kPaid));

    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "More Info"));
    auto page = std::dynamic_pointer_cast<uikit::SafariViewController>(shown());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().absoluteString(), "https://pay.example/help");
}

TEST_F(KSPackageQueuerTest, WithoutSignInTheUserSignsInAndThePackageIsQueuedOnTheSecondPass) {
    routeJSON("/pay/user_info", R"({"items": [], "user": {"name": "Ann"}})");
    routeJSON(kInfoPath, R"({"available": true, "purchased": true})");
    auto posts = countQueueStatePosts(kPaid);
    queue(kPaid);
    EXPECT_TRUE(server_.requests().empty()) << "nothing is asked before the sign-in";
    completeSignIn();
    pumpUntil([&] { return *posts == 2; });
    EXPECT_TRUE(isQueued(kPaid));
    EXPECT_EQ(requestsTo(kInfoPath).size(), 1u);
    advanceClock(1);
    EXPECT_EQ(*posts, 2) << "one post for the mark, one when the second pass ends";
}

TEST_F(KSPackageQueuerTest, ACancelledSignInQueuesNothingAndShowsNothing) {
    auto posts = countQueueStatePosts(kPaid);
    queue(kPaid);
    ASSERT_TRUE(uikit::hands::closeBrowser(shownBrowser()));
    advanceClock(1);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(isQueued(kPaid));
    EXPECT_EQ(*posts, 0);
}

TEST_F(KSPackageQueuerTest, RevokedCredentialsLeadToASignIn) {
    ASSERT_TRUE(signIn(location_).success);
    routeJSON(kInfoPath, R"({"invalidate": true})");
    queue(kPaid);
    pumpUntil([this] { return browser() != nullptr; });
    auto page = shownBrowser();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->url().path(), "/pay/authenticate");
    EXPECT_FALSE(KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location_));
    EXPECT_FALSE(isQueued(kPaid));
}

}  // namespace
}  // namespace corvane::testing
