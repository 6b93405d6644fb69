#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "framework/RunCommand.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/device/KSPaths.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/pipeline/PipelineFixture.h"
#include "framework/tasks/KSPackageDownloadTask.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

class KSPackageDownloadTaskTests : public PipelineFixture {
  protected:
    void SetUp() override {
        PipelineFixture::SetUp();
        storeSource(repository_.location());
        ASSERT_TRUE(run(std::make_shared<KSSourceRefreshTask>(repository_.location())).success);
        ASSERT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 60));
    }

    static void change(const std::string& identifier,
                       const std::function<void(KSRPackage&)>& edit) {
        auto database = realm();
        database.write([&] {
            auto package = database.objectForPrimaryKey<KSRPackage>(identifier).value();
            edit(package);
            database.addOrUpdateObject(package);
        });
    }

    static std::vector<std::string> archives() {
        std::vector<std::string> names;
        for (const auto& entry :
             fs::recursive_directory_iterator(KSAPTManager::archivesDirectory()))
            if (entry.is_regular_file())
                names.push_back(entry.path().filename().string());
        return names;
    }

    KSTask::Outcome download(const std::string& identifier) {
        return run(std::make_shared<KSPackageDownloadTask>(identifier));
    }
};

TEST_F(KSPackageDownloadTaskTests, TheArchiveLandsUnderAptsNameAndAptTakesIt) {
    auto task = std::make_shared<KSPackageDownloadTask>("com.sample.tweak");
    ASSERT_TRUE(run(task).success);
    EXPECT_EQ(task->taskProgress(), 1.0);

    const auto path = KSAPTManager::archivesDirectory() + "/com.sample.tweak_1.2_iphoneos-arm.deb";
    EXPECT_EQ(archives(), std::vector<std::string>{"com.sample.tweak_1.2_iphoneos-arm.deb"});
    EXPECT_EQ(
        foundation::FileManager::readFile(path).valueOr({}),
        foundation::FileManager::readFile(repository_.folder() / "debs/tweak.deb").valueOr({1}));

    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    ASSERT_TRUE(KSAPTManager::writeSourceList());
    setenv("APT_CONFIG", KSAPTManager::configurationFile().c_str(), 1);
    const auto uris = runCommand({"apt-get", "install", "--print-uris", "-qq", "com.sample.tweak"});
    unsetenv("APT_CONFIG");
    EXPECT_EQ(uris.output.find("tweak.deb"), std::string::npos) << uris.output << uris.errors;
}

// apt-get fetches nothing itself: the archive must be of the version it will be told to install,
// which the confirmed queue names even once the records' queue marks are cleared.
TEST_F(KSPackageDownloadTaskTests, TheVersionFetchedIsTheOneTheConfirmedQueueNames) {
    ASSERT_EQ(stored("com.sample.versioned").value_or(KSRPackage{}).version, "2.0");
    KSAPTManager::setQueue("com.sample.tweak com.sample.versioned=1.0");
    for (const auto* identifier : {"com.sample.versioned", "com.sample.tweak"}) {
        auto task = std::make_shared<KSPackageDownloadTask>(identifier);
        task->start();
        EXPECT_TRUE(task->outcome().success) << identifier;
    }
    auto names = archives();
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"com.sample.tweak_1.2_iphoneos-arm.deb",
                                               "com.sample.versioned_1.0_iphoneos-arm.deb"}));
    EXPECT_EQ(foundation::FileManager::readFile(KSAPTManager::archivesDirectory() +
                                                "/com.sample.versioned_1.0_iphoneos-arm.deb")
                  .valueOr({}),
              foundation::FileManager::readFile(repository_.folder() / "debs/versioned-1.0.deb")
                  .valueOr({1}));
}

TEST_F(KSPackageDownloadTaskTests, AFilenameThatLeavesTheRepositoryIsRefusedBeforeAnyRequest) {
    for (const auto* filename : {"../../etc/passwd", "/debs/tweak.deb", "debs/../../tweak.deb",
                                 "debs/%2E%2E/%2e%2e/tweak.deb", "debs/tweak.deb\nX: y"}) {
        SCOPED_TRACE(filename);
        change("com.sample.tweak", [&](KSRPackage& package) { package.filename = filename; });
        const auto requests = repository_.server().requests().size();
        const auto outcome = download("com.sample.tweak");
        EXPECT_FALSE(outcome.success);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, KSTaskError::kUnsafeFilename);
        EXPECT_EQ(outcome.error->userInfo["packageID"], foundation::Value("com.sample.tweak"));
        EXPECT_EQ(repository_.server().requests().size(), requests);
    }
    EXPECT_TRUE(archives().empty());
}

TEST_F(KSPackageDownloadTaskTests, AnArchiveThatIsNotTheIndexedOneFailsAndLeavesNoFile) {
    const auto wrong = foundation::sha256Hex(std::string_view("something else"));
    // Each sum is checked whichever the stanza carries: both, only SHA256, only MD5sum.
    const std::function<void(KSRPackage&)> wrongSums[] = {
        [&](KSRPackage& package) { package.sha256 = wrong; },
        [&](KSRPackage& package) { package.md5sum.reset(); },
        [&](KSRPackage& package) {
            package.sha256.reset();
            package.md5sum = wrong.substr(0, 32);
        },
    };
    for (std::size_t i = 0; i < std::size(wrongSums); ++i) {
        SCOPED_TRACE(i);
        change("com.sample.tweak", wrongSums[i]);
        const auto outcome = download("com.sample.tweak");
        EXPECT_FALSE(outcome.success);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, KSTaskError::kChecksumMismatch);
        EXPECT_TRUE(archives().empty());
    }

    change("com.sample.corelib", [](KSRPackage& package) { package.size = "100"; });
    auto outcome = download("com.sample.corelib");
    EXPECT_FALSE(outcome.success);
    EXPECT_TRUE(archives().empty());

    // A version that breaks Debian's grammar never becomes a file name.
    change("com.sample.theme", [](KSRPackage& package) { package.version = "1.0/../../x"; });
    outcome = download("com.sample.theme");
    EXPECT_FALSE(outcome.success);
    EXPECT_TRUE(archives().empty());
}

// The confirmation screen's path: one download per package of the tree, all live before the
// first starts (a download finishing before the next is queued would count itself the last),
// and the last one to finish queues the APT operation, which installs from the downloaded
// archives.
TEST_F(KSPackageDownloadTaskTests, TheLastDownloadOfABatchRunsTheQueue) {
    std::vector<foundation::Value> finished;
    auto finishes = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
            finished.push_back(notification.userInfo);
        });
    std::vector<std::size_t> liveAtEachStart;
    auto starts = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskQueuedNotification, [&](const foundation::Notification&) {
            liveAtEachStart.push_back(KSPipelineManager::sharedManager().tasksArray().size());
        });
    KSAPTManager::setQueue("com.sample.tweak");
    KSRPackageManager::sharedPackageManager().packages().downloadPackagesWithIdentifiers(
        {"com.sample.tweak", "com.sample.corelib"});
    // Both are live when the first starts; by the second's start the first may have finished.
    ASSERT_EQ(liveAtEachStart.size(), 2u);
    EXPECT_EQ(liveAtEachStart.front(), 2u);
    ASSERT_TRUE(
        testing_support::pumpUntil([&] { return finished.size() == 3 && pipelineIsEmpty(); }, 120));

    EXPECT_EQ(finished[0][KSPipelineUserInfoPipelineID],
              foundation::Value(KSPipelinePackageDownload));
    EXPECT_EQ(finished[1][KSPipelineUserInfoPipelineID],
              foundation::Value(KSPipelinePackageDownload));
    EXPECT_EQ(finished[2][KSPipelineUserInfoTaskID], foundation::Value("Install-com.sample.tweak"));
    EXPECT_EQ(finished[2][KSPipelineUserInfoSuccess], foundation::Value(true))
        << KSPipelineManager::errorFromValue(finished[2][KSPipelineUserInfoError])
               .value_or(foundation::Error{})
               .localizedDescription();
    const auto status = foundation::FileManager::readText(KSPaths::dpkgStatusFile()).valueOr("");
    EXPECT_NE(status.find("Package: com.sample.tweak\n"), std::string::npos);
    EXPECT_NE(status.find("Package: com.sample.corelib\n"), std::string::npos);
    // apt-get installed the archives fetched here rather than fetching them again.
    const auto requests = repository_.server().requests();
    EXPECT_EQ(std::ranges::count(requests, std::string("/debs/tweak.deb"),
                                 &testing_support::CapturedRequest::path),
              1);
}

TEST_F(KSPackageDownloadTaskTests, ABatchWithAFailedDownloadDoesNotRunTheQueue) {
    std::vector<foundation::Value> finished;
    auto finishes = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
            finished.push_back(notification.userInfo);
        });
    change("com.sample.corelib",
           [](KSRPackage& package) { package.sha256 = std::string(64, '0'); });
    KSAPTManager::setQueue("com.sample.tweak");
    KSRPackageManager::sharedPackageManager().packages().downloadPackagesWithIdentifiers(
        {"com.sample.tweak", "com.sample.corelib"});
    ASSERT_TRUE(
        testing_support::pumpUntil([&] { return finished.size() == 2 && pipelineIsEmpty(); }, 60));
    testing_support::pumpFor(0.1);

    EXPECT_EQ(finished.size(), 2u);
    EXPECT_TRUE(pipelineIsEmpty());
    EXPECT_EQ(foundation::FileManager::readText(KSPaths::dpkgStatusFile())
                  .valueOr("")
                  .find("com.sample.tweak"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
