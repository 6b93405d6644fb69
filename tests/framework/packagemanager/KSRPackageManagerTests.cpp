#include "framework/packagemanager/KSRPackageManager.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/Date.h"
#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "framework/StorageFixture.h"
#include "framework/packagemanager/KSRDefaultSources.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRRefreshPolicy.h"
#include "framework/storage/KSRSource.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using testing::StorageFixture;

TEST(KSRRefreshPolicy, DueWhenOnlineAndTheLastRefreshIsMissingOldOrInTheFuture) {
    const double now = 1'700'000'000;
    EXPECT_TRUE(KSRRefreshPolicy::isRefreshDue(std::nullopt, now, true));
    EXPECT_TRUE(KSRRefreshPolicy::isRefreshDue(now - 3601, now, true));
    EXPECT_FALSE(KSRRefreshPolicy::isRefreshDue(now - 3600, now, true));
    EXPECT_FALSE(KSRRefreshPolicy::isRefreshDue(now - 60, now, true));
    EXPECT_FALSE(KSRRefreshPolicy::isRefreshDue(now, now, true));
    EXPECT_TRUE(KSRRefreshPolicy::isRefreshDue(now + 1, now, true)) << "the clock went back";
    EXPECT_FALSE(KSRRefreshPolicy::isRefreshDue(std::nullopt, now, false));
    EXPECT_FALSE(KSRRefreshPolicy::isRefreshDue(now - 7200, now, false));
}

class KSRPackageManagerTest : public StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        auto& preferences = CorvanePersistentPreferences::sharedInstance();
        preferences.setValue(true, "setupDone");
        preferences.saveToFile();
    }

    static void storeSourceRefreshedAt(double date) {
        auto database = realm();
        database.write([&] {
            KSRSource source;
            source.location = "https://repo.example.org/";
            source.lastRefreshDate = date;
            database.addOrUpdateObject(source);
        });
    }

    static bool refreshScheduled() {
        return foundation::RunLoop::main().secondsUntilNextTimer() >= 0;
    }

    std::vector<std::string> locations() const {
        auto list = KSRPackageManager::sharedPackageManager().sources().allLocations();
        std::sort(list.begin(), list.end());
        return list;
    }
};

TEST_F(KSRPackageManagerTest, AnEmptyDatabaseGetsItsSourcesAndRefreshesThemThreeSecondsLater) {
    setenv(KSRDefaultSources::kEnvironmentVariable,
           "repo.example.org  http://127.0.0.1:8080/sample\tftp://files.example.org/ ", 1);
    ASSERT_TRUE(foundation::FileManager::writeAtomically(
        foundation::DeviceRoot::resolve("/.installed_unc0ver"), ""));
    auto& manager = KSRPackageManager::sharedPackageManager();
    const std::vector<std::string> expected{"http://127.0.0.1:8080/sample/",
                                            "https://repo.example.org/",
                                            "https://unc0ver.bootstrap.example.org/"};
    EXPECT_EQ(locations(), expected);
    EXPECT_EQ(&manager, &KSRPackageManager::sharedPackageManager());

    testing_support::advanceClock(2.9);
    EXPECT_TRUE(engine_->refreshes().empty());
    testing_support::advanceClock(0.2);
    testing_support::pumpUntil([&] { return !engine_->refreshes().empty(); });
    auto refreshed = engine_->refreshes().at(0);
    std::sort(refreshed.begin(), refreshed.end());
    EXPECT_EQ(refreshed, expected);
}

TEST_F(KSRPackageManagerTest, DefaultSourcesOnlyGoIntoAnEmptyDatabase) {
    storeSourceRefreshedAt(foundation::Date::now() - 60);
    setenv(KSRDefaultSources::kEnvironmentVariable, "https://default.example.org/", 1);
    KSRPackageManager::sharedPackageManager();
    EXPECT_EQ(locations(), std::vector<std::string>{"https://repo.example.org/"});
    EXPECT_FALSE(refreshScheduled()) << "nothing changed and the last refresh is recent";

    // No default sources and none stored: nothing is due, so no launch waits for a refresh.
    KSRPackageManager::resetSharedPackageManager();
    auto database = realm();
    database.write([&] { database.deleteAllObjects<KSRSource>(); });
    setenv(KSRDefaultSources::kEnvironmentVariable, "", 1);
    KSRPackageManager::sharedPackageManager();
    EXPECT_TRUE(locations().empty());
    EXPECT_FALSE(refreshScheduled()) << "no source to refresh";
}

TEST_F(KSRPackageManagerTest, AStaleOrFutureRefreshDateSchedulesARefreshWhenOnline) {
    storeSourceRefreshedAt(foundation::Date::now() - 3700);
    KSRPackageManager::sharedPackageManager();
    EXPECT_NEAR(foundation::RunLoop::main().secondsUntilNextTimer(), 3, 0.5);
    testing_support::advanceClock(3);
    testing_support::pumpUntil([&] { return !engine_->refreshes().empty(); });

    KSRPackageManager::resetSharedPackageManager();
    storeSourceRefreshedAt(foundation::Date::now() + 3600);
    reachability::Reachability::setStatus(reachability::NotReachable);
    KSRPackageManager::sharedPackageManager();
    EXPECT_FALSE(refreshScheduled()) << "offline";

    KSRPackageManager::resetSharedPackageManager();
    reachability::Reachability::setStatus(reachability::ReachableViaWiFi);
    KSRPackageManager::sharedPackageManager();
    EXPECT_TRUE(refreshScheduled()) << "a refresh date in the future";
}

TEST_F(KSRPackageManagerTest, RequestsWaitForAnEngine) {
    KSPackageEngineHooks::registerEngine(nullptr);
    auto& manager = KSRPackageManager::sharedPackageManager();
    manager.sources().addSourceWithLocation("https://new.example.org", false);
    manager.packages().downloadPackageWithIdentifier("com.example.tweak");
    using Kind = KSPackageEngineHooks::Request::Kind;
    const std::vector<KSPackageEngineHooks::Request> waiting{
        {Kind::refreshSources, {"https://new.example.org/"}},
        {Kind::downloadPackages, {"com.example.tweak"}}};
    EXPECT_EQ(KSPackageEngineHooks::pendingRequests(), waiting);

    KSPackageEngineHooks::registerEngine(engine_);
    EXPECT_TRUE(KSPackageEngineHooks::pendingRequests().empty());
    EXPECT_EQ(engine_->refreshes(),
              std::vector<std::vector<std::string>>{{"https://new.example.org/"}});
    EXPECT_EQ(engine_->downloads(), std::vector<std::string>{"com.example.tweak"});
}

TEST_F(KSRPackageManagerTest, TheResourceListHoldsValidAddresses) {
    unsetenv(KSRDefaultSources::kEnvironmentVariable);
    EXPECT_FALSE(KSRDefaultSources::defaultLocations().empty());
    EXPECT_TRUE(KSRDefaultSources::requiredLocations(JailbreakTool::Unknown).empty());
    for (auto tool : {JailbreakTool::Unc0ver, JailbreakTool::Chimera, JailbreakTool::Electra,
                      JailbreakTool::Checkra1n})
        EXPECT_EQ(KSRDefaultSources::requiredLocations(tool).size(), 1u);
}

}  // namespace
}  // namespace corvane
