#include <gtest/gtest.h>

#include <mutex>

#include <filesystem>
#include <fstream>

#include "foundation/FileManager.h"
#include "framework/RunCommand.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/device/KSPaths.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/pipeline/PipelineFixture.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/tasks/KSAPTFileNames.h"
#include "framework/tasks/KSInformationCacheTask.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane::testing {
namespace {

using testing_support::pumpUntil;

namespace fs = std::filesystem;

// Stanzas a careless or hostile repository writes: one without a name, names that must never
// reach a command line, and a version that is none.
constexpr const char* kBrokenStanzas =
    "Version: 1.0\nArchitecture: iphoneos-arm\nDescription: a stanza without a name\n\n"
    "Package: evil$(touch pwned)\nVersion: 1.0\nArchitecture: iphoneos-arm\n\n"
    "Package: ../escape\nVersion: 1.0\nArchitecture: iphoneos-arm\n\n"
    "Package: com.sample.badversion\nVersion: not a version\nArchitecture: iphoneos-arm\n\n";

class KSPipelinePackageEngineTests : public PipelineFixture {
  protected:
    // APT as the engine runs it, on the device root's configuration.
    static CommandResult apt(const std::vector<std::string>& arguments) {
        setenv("APT_CONFIG", KSAPTManager::configurationFile().c_str(), 1);
        auto result = runCommand(arguments);
        unsetenv("APT_CONFIG");
        return result;
    }

    static std::string aptList(const std::string& location) {
        return KSAPTManager::listsDirectory() + "/" +
               KSAPTFileNames::listFileName(location, "Packages");
    }

    static std::vector<foundation::Value> refreshAndRebuild(const std::string& location) {
        std::vector<foundation::Value> finished;
        auto finishes = foundation::NotificationCenter::defaultCenter().addObserver(
            KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
                finished.push_back(notification.userInfo);
            });
        KSRPackageManager::sharedPackageManager().sources().addSourceWithLocation(location, true);
        EXPECT_TRUE(pumpUntil([&] { return finished.size() == 2; }, 60));
        EXPECT_TRUE(pumpUntil(pipelineIsEmpty, 60));
        return finished;
    }
};

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
                                                    "/cache/srcpkgcache.bin"));
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

// One broken stanza in APT's list would break APT's cache for every source; a refused name in it
// would be offered by APT although the records refused it.
TEST_F(KSPipelinePackageEngineTests, StanzasTheRecordsRefuseNeverReachApt) {
    for (const auto* form : {"Packages.xz", "Packages.bz2", "Packages.gz", "Packages.lzma"})
        fs::remove(repository_.folder() / form);
    std::ofstream(repository_.folder() / "Packages", std::ios::app) << "\n" << kBrokenStanzas;
    const auto location = repository_.location();

    const auto finished = refreshAndRebuild(location);

    ASSERT_EQ(finished.size(), 2u);
    EXPECT_EQ(finished[0][KSPipelineUserInfoSuccess], foundation::Value(true));
    EXPECT_EQ(finished[1][KSPipelineUserInfoSuccess], foundation::Value(true))
        << KSPipelineManager::errorFromValue(finished[1][KSPipelineUserInfoError])
               .value_or(foundation::Error{})
               .localizedDescription();
    EXPECT_EQ(packagesOf(location).size(), 9u);
    const auto simulated = apt({"apt-get", "install", "-s", "-q", "com.sample.tweak"});
    EXPECT_EQ(simulated.exitStatus, 0) << simulated.output << simulated.errors;
    EXPECT_NE(simulated.output.find("Inst com.sample.tweak"), std::string::npos)
        << simulated.output;
    const auto names = apt({"apt-cache", "pkgnames"});
    EXPECT_EQ(names.exitStatus, 0) << names.errors;
    EXPECT_NE(names.output.find("com.sample.tweak"), std::string::npos) << names.output;
    for (const auto* refused : {"evil", "escape", "badversion"})
        EXPECT_EQ(names.output.find(refused), std::string::npos) << names.output;
    // The raw copy keeps what the repository gave.
    const auto raw =
        foundation::FileManager::readText(KSPaths::sourcesFilesDirectory() + "/" +
                                          KSAPTFileNames::listFileName(location, "Packages"));
    EXPECT_NE(raw.valueOr("").find("evil$(touch pwned)"), std::string::npos);
}

TEST_F(KSPipelinePackageEngineTests, AListAptCannotReadNamesAndMarksItsSource) {
    const auto location = repository_.location();
    ASSERT_EQ(refreshAndRebuild(location).size(), 2u);
    ASSERT_TRUE(foundation::FileManager::writeAtomically(aptList(location),
                                                         std::string_view(kBrokenStanzas)));

    const auto outcome = run(std::make_shared<KSInformationCacheTask>());

    EXPECT_FALSE(outcome.success);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->userInfo["source"], foundation::Value(location));
    const auto source = storedSource(location);
    ASSERT_TRUE(source);
    EXPECT_TRUE(source->hasErrors);
    EXPECT_NE(source->errorDescription.value_or("").find("APT could not rebuild its caches"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
