#include "framework/storage/KSRQueueOperation.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"

#include <gtest/gtest.h>

#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using foundation::FileManager;

class KSPackageAPTOperationTaskTests : public testing::AptSandboxFixture {
  protected:
    KSTask::Outcome run(const std::string& queue) {
        downloadArchives(queue);
        auto task = std::make_shared<KSPackageAPTOperationTask>(queue);
        task->start();
        return task->outcome();
    }

    void expectSuccess(const std::string& queue) {
        const auto outcome = run(queue);
        EXPECT_TRUE(outcome.success)
            << (outcome.error ? outcome.error->localizedDescription() : "no error");
    }

    // What a run could change in a record.
    std::string state(const std::string& identifier) {
        const auto record = stored(identifier);
        if (!record)
            return "(none)";
        return std::to_string(record->isInstalled) + record->installedVersion.value_or("-") +
               std::to_string(record->isInTheQueue) + std::to_string(record->queueOperation) +
               record->queuedVersion.value_or("-") + std::to_string(record->isHeld) +
               std::to_string(record->installedFiles.size());
    }

    std::optional<std::string> installedVersion(const std::string& identifier) {
        const auto record = stored(identifier);
        return record && record->isInstalled ? record->installedVersion : std::nullopt;
    }
};

TEST_F(KSPackageAPTOperationTaskTests, StartsWaitingAndCancellable) {
    KSPackageAPTOperationTask task("com.sample.tweak com.sample.corelib-");
    EXPECT_EQ(task.taskID(), "Install-com.sample.tweak com.sample.corelib-");
    EXPECT_EQ(task.pipelineID(), KSPipelinePackageOperation);
    EXPECT_EQ(task.taskStatus(), "Waiting...");
    EXPECT_EQ(task.taskProgress(), KSTask::kIndeterminateProgress);
    EXPECT_TRUE(task.isCancellable());
}

TEST_F(KSPackageAPTOperationTaskTests, EveryOperationChangesTheDeviceAndTheRecords) {
    expectSuccess("com.sample.tweak");
    EXPECT_EQ(dpkgState("com.sample.tweak"), "install ok installed 1.2");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
    EXPECT_TRUE(FileManager::fileExists(
        root_.resolve("/Library/MobileSubstrate/DynamicLibraries/SampleTweak.plist")));
    EXPECT_EQ(installedVersion("com.sample.tweak"), "1.2");
    EXPECT_EQ(installedVersion("com.sample.corelib"), "1.0.2");

    expectSuccess("com.sample.corelib-");
    EXPECT_EQ(dpkgState("com.sample.tweak"), "");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "");
    EXPECT_FALSE(FileManager::fileExists(root_.resolve("/usr/lib/sample/libcore.txt")));
    EXPECT_EQ(installedVersion("com.sample.tweak"), std::nullopt);

    expectSuccess("com.sample.versioned=1.0");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 1.0\n");
    expectSuccess("com.sample.versioned=2.0");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 2.0\n");
    EXPECT_EQ(installedVersion("com.sample.versioned"), "2.0");
    expectSuccess("com.sample.versioned=1.0");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 1.0\n");
    EXPECT_EQ(installedVersion("com.sample.versioned"), "1.0");

    ASSERT_TRUE(FileManager::removeItem(root_.resolve("/usr/bin/versioned-utility")));
    expectSuccess("com.sample.versioned=1.0+");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 1.0\n");
    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0");
}

TEST_F(KSPackageAPTOperationTaskTests, SuccessResetsTheQueueAndCleansTheArchives) {
    auto& packages = KSRPackageManager::sharedPackageManager().packages();
    packages.setPackage("com.sample.theme", true, std::nullopt, KSRQueueOperationInstall);
    std::vector<std::string> finishedMessages;
    const auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        "UpdateQueueStateNotification-com.sample.theme",
        [&](const foundation::Notification& notification) {
            finishedMessages.push_back(
                notification.userInfo["Message"].optionalString().value_or(""));
        });

    expectSuccess("com.sample.theme");
    const auto theme = stored("com.sample.theme");
    ASSERT_TRUE(theme);
    EXPECT_FALSE(theme->isInTheQueue);
    EXPECT_TRUE(theme->isInstalled);
    testing_support::pumpUntil([&] { return !finishedMessages.empty(); });
    EXPECT_EQ(finishedMessages, std::vector<std::string>{"Finished Operation"});
    const auto left = FileManager::enumerate(KSAPTManager::archivesDirectory());
    ASSERT_TRUE(left);
    EXPECT_EQ(*left, std::vector<std::string>{"partial"});
}

TEST_F(KSPackageAPTOperationTaskTests, HeldPackageIsNotUpgraded) {
    expectSuccess("com.sample.versioned=1.0");
    ASSERT_TRUE(KSAPTManager::hold("com.sample.versioned").succeeded());

    const auto outcome = run("com.sample.versioned=2.0");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(dpkgState("com.sample.versioned"), "hold ok installed 1.0");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 1.0\n");
    EXPECT_EQ(installedVersion("com.sample.versioned"), "1.0");

    ASSERT_TRUE(KSAPTManager::unhold("com.sample.versioned").succeeded());
    expectSuccess("com.sample.versioned=2.0");
    EXPECT_EQ(installedVersion("com.sample.versioned"), "2.0");
}

// Through the pipeline, as the queue confirmation hands it over.
TEST_F(KSPackageAPTOperationTaskTests, FailedRunIsReportedAndChangesNothing) {
    expectSuccess("com.sample.corelib");
    auto& packages = KSRPackageManager::sharedPackageManager().packages();
    packages.setPackage("com.sample.unmet", true, std::nullopt, KSRQueueOperationInstall);
    KSAPTManager::setQueue("com.sample.unmet");
    const auto recordBefore = state("com.sample.unmet");
    const auto corelibBefore = state("com.sample.corelib");
    const auto statusBefore = fileDigest(root_.resolve("/var/lib/dpkg/status"));

    std::optional<foundation::Notification> finished;
    const auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification,
        [&](const foundation::Notification& notification) { finished = notification; });
    const auto queue = KSAPTManager::queue();
    ASSERT_TRUE(queue);
    ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(
        std::make_shared<KSPackageAPTOperationTask>(*queue)));
    ASSERT_TRUE(testing_support::pumpUntil([&] { return finished.has_value(); }, 120));

    EXPECT_EQ(finished->userInfo[KSPipelineUserInfoSuccess], foundation::Value(false));
    const auto error =
        KSPipelineManager::errorFromValue(finished->userInfo[KSPipelineUserInfoError]);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, KSAPTManager::kCommandFailed);
    EXPECT_NE(error->localizedDescription().find("E: "), std::string::npos)
        << error->localizedDescription();
    EXPECT_NE(error->userInfo["output"].optionalString().value_or("").find("com.sample.missing"),
              std::string::npos);

    EXPECT_EQ(KSAPTManager::queue(), "com.sample.unmet");
    EXPECT_EQ(state("com.sample.unmet"), recordBefore);
    EXPECT_EQ(state("com.sample.corelib"), corelibBefore);
    const auto unmet = stored("com.sample.unmet");
    ASSERT_TRUE(unmet);
    EXPECT_TRUE(unmet->isInTheQueue);
    EXPECT_EQ(fileDigest(root_.resolve("/var/lib/dpkg/status")), statusBefore);
}

TEST_F(KSPackageAPTOperationTaskTests, ConsoleShowsTheCommandThenNamedOutput) {
    KSAPTManager::setPackageNamesForKeysUsingTree(
        KSAPTManager::unmetDependenciesForPackages("com.sample.tweak"));
    EXPECT_EQ(KSAPTManager::packageNamesForKeys().at("com.sample.corelib"), "Core Library");

    std::vector<foundation::Value> posts;
    const auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        KSVerboseConsoleFeed::kNotification, [&](const foundation::Notification& notification) {
            posts.push_back(notification.userInfo);
        });
    expectSuccess("com.sample.tweak");
    testing_support::pumpUntil([] { return true; });

    ASSERT_GT(posts.size(), 3u);
    EXPECT_EQ(posts.front()["isForCommand"], foundation::Value(true));
    EXPECT_NE(posts.front()["Message"].optionalString().value_or("").find("apt-get"),
              std::string::npos);
    bool sawName = false;
    for (std::size_t index = 1; index < posts.size(); ++index) {
        const auto message = posts[index]["Message"].optionalString().value_or("");
        EXPECT_EQ(posts[index]["isForStream"], foundation::Value(true));
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(message.find("Unpacking com.sample.corelib"), std::string::npos) << message;
        sawName = sawName || message == "Setting up Core Library (1.0.2) ...";
        EXPECT_NE(message, "Selecting previously unselected package Core Library:iphoneos-arm.");
        if (message.starts_with("W: ")) {
            EXPECT_EQ(posts[index]["isStreamWarning"], foundation::Value(true));
        }
    }
    EXPECT_TRUE(sawName);
}

TEST(KSVerboseConsoleFeedTests, RewritesWholeIdentifiersOnly) {
    KSVerboseConsoleFeed feed({{"com.a", "Alpha"}, {"com.a.b", "Beta"}});
    EXPECT_EQ(feed.rewrite("Unpacking com.a:iphoneos-arm (1.0) over com.a.b, com.a.bc."),
              "Unpacking Alpha (1.0) over Beta, com.a.bc.");
    EXPECT_EQ(feed.rewrite(".../com.a_1.0_iphoneos-arm.deb xcom.a com.a"),
              ".../com.a_1.0_iphoneos-arm.deb xcom.a Alpha");
}

}  // namespace
}  // namespace corvane
