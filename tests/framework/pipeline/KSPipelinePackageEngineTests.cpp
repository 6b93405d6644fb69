#include <gtest/gtest.h>

#include <mutex>

#include "foundation/FileManager.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/pipeline/PipelineFixture.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/storage/KSRNotifications.h"

namespace corvane::testing {
namespace {

using testing_support::pumpUntil;

class KSPipelinePackageEngineTests : public PipelineFixture {};

TEST_F(KSPipelinePackageEngineTests, AnAddedSourceIsRefreshedAndTheCachesRebuiltAfterwards) {
    const auto location = repository_.location();
    std::vector<std::string> updated;
    auto sourceUpdates = foundation::NotificationCenter::defaultCenter().addObserver(
        KSRSourceUpdatedNotification, [&](const foundation::Notification& notification) {
            updated.push_back(notification.object.stringValue());
        });
    std::vector<foundation::Value> finished;
    auto finishes = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
            finished.push_back(notification.userInfo);
        });

    KSRPackageManager::sharedPackageManager().sources().addSourceWithLocation(location, true);
    ASSERT_TRUE(pumpUntil([&] { return !updated.empty(); }, 60));
    EXPECT_EQ(updated, std::vector<std::string>{location});
    EXPECT_EQ(packagesOf(location).size(), 9u);

    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 60));
    ASSERT_EQ(finished.size(), 2u);
    EXPECT_EQ(finished[1][KSPipelineUserInfoPipelineID],
              foundation::Value(KSPipelineInformationCache));
    EXPECT_EQ(finished[1][KSPipelineUserInfoSuccess], foundation::Value(true))
        << KSPipelineManager::errorFromValue(finished[1][KSPipelineUserInfoError])
               .value_or(foundation::Error{})
               .localizedDescription();
    // Developers by maintainer, and APT's caches built from the fetched lists.
    const auto ada = realm().objectForPrimaryKey<KSRDeveloper>("ada sample");
    ASSERT_TRUE(ada);
    EXPECT_GT(ada->packagesCount, 0);
    EXPECT_EQ(ada->packagesCount, static_cast<std::int64_t>(ada->packagesIdentifiers.size()));
    EXPECT_TRUE(foundation::FileManager::fileExists(KSAPTManager::sandboxDirectory() +
                                                    "/cache/pkgcache.bin"));
}

TEST_F(KSPipelinePackageEngineTests, TheRefreshCountFallsToZeroBeforeTheOneCompletion) {
    const auto good = repository_.location();
    const auto missing = repository_.location() + "missing/";
    storeSource(good);
    storeSource(missing);
    std::mutex mutex;
    std::vector<std::uint64_t> counts;
    auto countObservation =
        KSPipelineManager::sharedManager().observableSourceRefreshCount().observe(
            [&](std::uint64_t count) {
                std::lock_guard lock(mutex);
                counts.push_back(count);
            });
    std::vector<std::uint64_t> countAtCompletion;
    auto completion = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineSourcesRefreshCompletedNotification, [&](const foundation::Notification&) {
            countAtCompletion.push_back(KSPipelineManager::sharedManager().sourceRefreshCount());
        });

    KSPackageEngineHooks::refreshSources({good, missing});
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 60));
    testing_support::pumpFor(0.05);

    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(counts, (std::vector<std::uint64_t>{1, 2, 1, 0}));
    }
    EXPECT_EQ(countAtCompletion, std::vector<std::uint64_t>{0});
    const auto goodSource = storedSource(good);
    ASSERT_TRUE(goodSource);
    EXPECT_FALSE(goodSource->hasErrors);
    const auto missingSource = storedSource(missing);
    ASSERT_TRUE(missingSource);
    EXPECT_TRUE(missingSource->hasErrors);
}

}  // namespace
}  // namespace corvane::testing
