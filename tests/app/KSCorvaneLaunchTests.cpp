#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "LaunchFixture.h"
#include "audio/AudioSession.h"
#include "foundation/Date.h"
#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "support/SampleRepository.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;

std::size_t storedPackageCount() {
    return KSDatabase::realm().allObjects<KSRPackage>().count();
}

class KSCorvaneLaunchTests : public LaunchFixture {};

// A database from before the supported layout takes the whole data directory with it, so every
// later step must come after its removal: the directories, the defaults (nothing of the old
// preference file may come back, though it was read before the launch), the sandbox, the
// database and the status check.
TEST_F(KSCorvaneLaunchTests, LaunchRebuildsAnOutdatedDeviceInItsOrder) {
    writeDataFile(std::string(KSPaths::kDataDirectory) + "/Corvane.realm", "old layout");
    ASSERT_TRUE(FileManager::setModificationDate(KSDatabase::path(),
                                                 foundation::Date::fromUTC(2019, 1, 1)));
    writePreferences(foundation::Dictionary{{"Stale", "from before"}, {"PlaySounds", true}});
    writeDeviceFile("/var/lib/dpkg/status", installedStanza("com.example.installed", "1.2"));
    writeDeviceFile("/.installed_unc0ver", "");

    ::testing::internal::CaptureStderr();
    launch();
    const auto log = ::testing::internal::GetCapturedStderr();

    EXPECT_NE(log.find("- Corvane 5 is up and running\n- unc0ver jailbreak detected\n"),
              std::string::npos)
        << log;
    for (auto name : KSPaths::kDataSubdirectories)
        EXPECT_TRUE(FileManager::isDirectory(KSPaths::dataPath(name))) << name;
    EXPECT_TRUE(FileManager::fileExists(KSAPTManager::configurationFile()));
    EXPECT_EQ(audio::AudioSession::sharedInstance().category(), audio::kCategoryAmbient);

    waitUntilAtRest();
    auto installed = storedPackage("com.example.installed");
    ASSERT_TRUE(installed);
    EXPECT_EQ(installed->installedVersion, "1.2");

    testing_support::advanceClock(CorvanePersistentPreferences::kSaveDelaySeconds);
    auto stored = preferencesOnDisk();
    EXPECT_TRUE(stored["Stale"].isNil());
    for (const auto& [key, value] : CorvanePersistentPreferences::corvaneDefaultPreferences())
        EXPECT_EQ(stored[key], value) << key;
}

// An archive screen still open as the process ended left its copy behind; nothing reads it now.
TEST_F(KSCorvaneLaunchTests, CopiesAnEarlierRunLeftInTheInboxAreRemoved) {
    const auto stale = std::string(KSPaths::kDataDirectory) + "/Inbox/0123456789abcdef.deb";
    writeDataFile(stale, "an archive");
    writeDeviceFile("/var/mobile/Documents/handed.deb", "an archive");
    launch();
    EXPECT_FALSE(FileManager::fileExists(foundation::DataFolder::resolve(stale)));
    EXPECT_TRUE(FileManager::fileExists(
        foundation::DeviceRoot::resolve("/var/mobile/Documents/handed.deb")));
}

TEST_F(KSCorvaneLaunchTests, AnExistingPreferenceFileKeepsItsValuesAndGainsMissingDefaults) {
    writePreferences(foundation::Dictionary{{"PlaySounds", true}});
    launch();
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    EXPECT_TRUE(preferences.boolForKey("PlaySounds"));
    EXPECT_TRUE(preferences.boolForKey("setupDone"));
    EXPECT_EQ(preferences.stringForKey("SortInstalledPackagesBy"), "Name");
}

TEST_F(KSCorvaneLaunchTests, APreferencePathThatIsAFolderIsReplacedByTheDefaults) {
    std::filesystem::create_directories(KSPaths::preferenceFile() + "/inside");
    launch();
    EXPECT_FALSE(FileManager::isDirectory(KSPaths::preferenceFile()));
    testing_support::advanceClock(CorvanePersistentPreferences::kSaveDelaySeconds);
    EXPECT_EQ(preferencesOnDisk()["setupDone"], foundation::Value(true));
}

// The reset database is refreshed at once, not after the package manager's delay (the clock
// never moves here), and its alert waits until the window is on screen.
TEST_F(KSCorvaneLaunchTests, ADamagedDatabaseIsResetRefreshedAndAnnouncedOnceTheWindowShows) {
    testing_support::SampleRepository repository;
    setenv("CORVANE_DEFAULT_SOURCES", repository.location().c_str(), 1);
    writeDataFile(std::string(KSPaths::kDataDirectory) + "/Corvane.realm", "not a database");

    finishLaunching();
    EXPECT_EQ(window_->rootViewController()->presentedViewController(), nullptr);
    showWindow();
    auto alert = std::dynamic_pointer_cast<uikit::AlertController>(
        window_->rootViewController()->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Reset Database");

    ASSERT_TRUE(testing_support::pumpUntil(
        [&] { return storedPackageCount() == repository.packageCount(); }, 60));
}

TEST_F(KSCorvaneLaunchTests, AFreshDeviceRefreshesItsDefaultSourceWhenDue) {
    testing_support::SampleRepository repository;
    setenv("CORVANE_DEFAULT_SOURCES", repository.location().c_str(), 1);
    launch();
    waitUntilAtRest();
    EXPECT_EQ(storedPackageCount(), 0u);

    testing_support::advanceClock(KSRPackageManager::kStartupRefreshDelaySeconds);
    ASSERT_TRUE(testing_support::pumpUntil(
        [&] { return storedPackageCount() == repository.packageCount(); }, 60));
}

TEST_F(KSCorvaneLaunchTests, LaunchConnectsTheServicesAndTheNotificationCentre) {
    EXPECT_EQ(KSApplicationServices::shared(), nullptr);
    launch();
    EXPECT_EQ(KSApplicationServices::shared(), delegate_);
    EXPECT_EQ(KSCorvane::sharedCorvane(), delegate_);
    EXPECT_EQ(delegate_->tabController(), window_->rootViewController());
    EXPECT_NE(usernotifications::UserNotificationCenter::current().delegate(), nullptr);
}

TEST_F(KSCorvaneLaunchTests, AFailedTaskReachesTheUserThroughTheDelegate) {
    launch();
    CorvanePersistentPreferences::sharedInstance().setValue(
        false, "ShowNotificationsInsteadOfErrorAlerts");
    foundation::Notification finished;
    finished.name = KSPipelineTaskFinishedNotification;
    finished.userInfo = foundation::Dictionary{
        {KSPipelineUserInfoSuccess, false},
        {KSPipelineUserInfoPipelineID, KSPipelinePackageOperation},
        {KSPipelineUserInfoError, KSPipelineManager::errorValue(foundation::Error::make(
                                      "NSURLErrorDomain", -1009, "The network is offline."))}};
    foundation::NotificationCenter::defaultCenter().post(finished);
    ASSERT_TRUE(testing_support::pumpUntil(
        [&] { return window_->topmostPresentedViewController() != window_->rootViewController(); },
        10));
    auto presented = window_->topmostPresentedViewController();
    EXPECT_NE(presented->view()->describe().find("The network is offline."), std::string::npos)
        << presented->view()->describe();
}

// An engine that cannot work must not pass in silence: the log names the failure, and once the
// window shows, the error panel does, under the reset alert when the database was reset too.
TEST_F(KSCorvaneLaunchTests, ASandboxThatCannotBeMadeIsLoggedAndShownOnceTheWindowShows) {
    writeDataFile(std::string(KSPaths::kDataDirectory) + "/APT", "a file where a folder goes");
    writeDataFile(std::string(KSPaths::kDataDirectory) + "/Corvane.realm", "not a database");

    ::testing::internal::CaptureStderr();
    finishLaunching();
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("APT and dpkg could not be prepared: Could not create the folder"),
              std::string::npos)
        << log;
    EXPECT_EQ(window_->rootViewController()->presentedViewController(), nullptr);

    showWindow();
    auto panel = std::dynamic_pointer_cast<ErrorViewController>(
        window_->rootViewController()->presentedViewController());
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->errorTxt());
    EXPECT_NE(panel->errorTxt()->find("packages cannot be installed or removed"),
              std::string::npos);
    EXPECT_NE(panel->errorTxt()->find(KSAPTManager::sandboxDirectory()), std::string::npos)
        << *panel->errorTxt();
    auto alert =
        std::dynamic_pointer_cast<uikit::AlertController>(panel->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Reset Database");

    uikit::Application::shared().becomeActive();
    EXPECT_EQ(alert->presentedViewController(), nullptr) << "each notice is shown once";
}

// dpkg itself refusing the repositories' architectures leaves the engine as unusable.
TEST_F(KSCorvaneLaunchTests, ADpkgThatRefusesTheArchitecturesIsShownToo) {
    std::filesystem::create_directories(root_.resolve("/var/lib/dpkg/arch"));

    ::testing::internal::CaptureStderr();
    launch();
    std::shared_ptr<ErrorViewController> panel;
    const bool shown = testing_support::pumpUntil([&] {
        panel = std::dynamic_pointer_cast<ErrorViewController>(
            window_->rootViewController()->presentedViewController());
        return panel != nullptr;
    });
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("APT and dpkg could not be prepared: "), std::string::npos) << log;
    ASSERT_TRUE(shown) << "the first screen does not wait for the device";
    ASSERT_TRUE(panel->errorTxt());
    EXPECT_NE(panel->errorTxt()->find("dpkg"), std::string::npos) << *panel->errorTxt();
}

// Another program may hold the root command runner for as long as its command takes: the first
// screen shows all the same, and the repair waits its turn in the background, as a task.
TEST_F(KSCorvaneLaunchTests, TheFirstScreenDoesNotWaitForTheRootCommandRunner) {
    writeDeviceFile("/var/lib/dpkg/status",
                    "Package: com.example.pending\nStatus: install ok unpacked\n"
                    "Architecture: iphoneos-arm\nVersion: 1.0\n\n");
    std::filesystem::create_directories(
        std::filesystem::path(KSRootCommandRunner::lockPath()).parent_path());
    const int lock = open(KSRootCommandRunner::lockPath().c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);

    launch();
    EXPECT_TRUE(window_->isKeyWindow());
    EXPECT_NE(window_->describe().find("Button \"Featured\" selected"), std::string::npos);
    EXPECT_TRUE(
        testing_support::pumpUntil([] { return KSRootCommandRunner::busyRefusalCount() > 0; }, 60))
        << "the preparation waits for the runner";

    close(lock);
    waitUntilAtRest();
    EXPECT_NE(FileManager::readText(root_.resolve("/var/lib/dpkg/status"))
                  .valueOr("")
                  .find("Package: com.example.pending\nStatus: install ok installed"),
              std::string::npos)
        << "configured by the repair";
}

}  // namespace
}  // namespace corvane::testing
