#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "LaunchFixture.h"
#include "app/launch/KSUncaughtExceptionHandler.h"
#include "foundation/Date.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRQueueOperation.h"
#include "screens/sources/ManageViewController.h"
#include "ui/core/KSPalettedViewController.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/AlertController.h"
#include "uikit/Device.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Pasteboard.h"

namespace corvane::testing {
namespace {

using uikit::UserInterfaceStyle;

class KSCorvaneLifecycleTests : public LaunchFixture {
  protected:
    void storeQueuedPackage(const std::string& identifier) {
        KSRPackage package;
        package.identifier = identifier;
        package.name = identifier;
        package.version = "1.0";
        package.isInTheQueue = true;
        package.queueOperation = KSRQueueOperationInstall;
        auto realm = KSDatabase::realm();
        realm.write([&] { realm.addOrUpdateObject(package); });
    }

    void performShortcut(const std::string& type, std::optional<bool>& answer) {
        uikit::ApplicationShortcutItem item;
        item.type = type;
        uikit::Application::shared().performShortcutItem(
            item, [&](bool succeeded) { answer = succeeded; });
    }
};

TEST_F(KSCorvaneLifecycleTests, ReturningToTheForegroundRechecksTheStatusOnlyAfterStartup) {
    delegate_->willEnterForeground();
    EXPECT_FALSE(delegate_->hasPendingWork());

    launch();
    waitUntilAtRest();
    writeDeviceFile("/var/lib/dpkg/status", installedStanza("com.example.later", "2.0"));
    uikit::Application::shared().enterBackground();
    uikit::Application::shared().enterForeground();
    EXPECT_TRUE(delegate_->hasPendingWork());
    waitUntilAtRest();
    auto later = storedPackage("com.example.later");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->installedVersion, "2.0");
}

// The process is gone right after termination: a save a second later, or a write still on its
// way, would never happen.
TEST_F(KSCorvaneLifecycleTests, TerminationEmptiesTheQueueAndPutsTheVisitTimeOnDisk) {
    launch();
    waitUntilAtRest();
    storeQueuedPackage("com.example.queued");
    const double before = foundation::Date::now();
    // A follow tapped at the last moment.
    auto& developers = KSRPackageManager::sharedPackageManager().developers();
    developers.setDeveloper("Jane Doe", true);

    uikit::Application::shared().terminate();

    EXPECT_TRUE(developers.isDeveloperFollowed("Jane Doe"));
    const auto queued = storedPackage("com.example.queued");
    ASSERT_TRUE(queued);
    EXPECT_FALSE(queued->isInTheQueue);
    auto visit = preferencesOnDisk()["LastVisitDate"];
    ASSERT_FALSE(visit.isNil());
    EXPECT_GE(visit.doubleValue(), before);
    EXPECT_LE(visit.doubleValue(), foundation::Date::now());
}

TEST_F(KSCorvaneLifecycleTests, ShortcutItemsComeInOrderWithTheirTypes) {
    launch();
    const auto& items = uikit::Application::shared().shortcutItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].type, "me_kestrune_corvane_shortcuts_refresh");
    EXPECT_EQ(items[0].localizedTitle, "Refresh Sources");
    EXPECT_EQ(items[0].localizedSubtitle, "Refresh all sources");
    EXPECT_EQ(items[0].icon,
              uikit::ApplicationShortcutIcon::withTemplateImageName("ShortcutActionRefresh"));
    EXPECT_TRUE(items[0].userInfo.isNil());
    EXPECT_EQ(items[1].type, "me_kestrune_corvane_shortcuts_add");
    EXPECT_EQ(items[1].localizedTitle, "Add Source");
    EXPECT_EQ(items[1].localizedSubtitle, "Add a new source");
    EXPECT_EQ(items[1].icon,
              uikit::ApplicationShortcutIcon::withType(uikit::ApplicationShortcutIcon::Type::add));
    EXPECT_TRUE(items[1].userInfo.isNil());
    EXPECT_TRUE(uikit::Image::named("ShortcutActionRefresh"));
}

TEST_F(KSCorvaneLifecycleTests, TheAddShortcutReachesTheSourcesTabsAddSourceEntryFromItsRoot) {
    launch();
    auto tabs = delegate_->tabController();
    auto sources = std::dynamic_pointer_cast<uikit::NavigationController>(
        tabs->viewControllers()[KSTabBarController::kSourcesTabIndex]);
    auto manage = std::dynamic_pointer_cast<ManageViewController>(sources->topViewController());
    ASSERT_TRUE(manage);
    sources->push(std::make_shared<KSPalettedViewController>(), false);

    std::optional<bool> answer;
    performShortcut(KSCorvane::KSShortcutItemActionAdd, answer);
    EXPECT_EQ(answer, true);
    EXPECT_EQ(tabs->selectedIndex(), KSTabBarController::kSourcesTabIndex);
    ASSERT_EQ(sources->viewControllers().size(), 2u);
    EXPECT_EQ(sources->viewControllers()[0], manage);
    auto page = std::dynamic_pointer_cast<SourceViewController>(sources->viewControllers()[1]);
    ASSERT_TRUE(page) << "nothing copied: the page that adds a source";
    EXPECT_EQ(page->sourceLocation(), std::nullopt);

    uikit::Pasteboard::general().setString("https://copied.example/");
    performShortcut(KSCorvane::KSShortcutItemActionAdd, answer);
    testing_support::advanceClock(1);
    EXPECT_EQ(sources->viewControllers().size(), 1u);
    auto offer = std::dynamic_pointer_cast<uikit::AlertController>(
        window_->topmostPresentedViewController());
    ASSERT_TRUE(offer) << "the copied address is offered first";
    EXPECT_EQ(offer->message(),
              "Would you like to add the source https://copied.example/ from the clipboard?");
    ASSERT_TRUE(uikit::hands::pickAlertAction(offer, "Cancel"));
    testing_support::advanceClock(1);
}

TEST_F(KSCorvaneLifecycleTests, AnUnknownShortcutAnswersNoAndChangesNothing) {
    launch();
    std::optional<bool> answer;
    performShortcut("me_kestrune_corvane_shortcuts_unknown", answer);
    EXPECT_EQ(answer, false);
    EXPECT_EQ(delegate_->tabController()->selectedIndex(), 0u);
    EXPECT_TRUE(KSPipelineManager::sharedManager().tasksArray().empty());
}

TEST_F(KSCorvaneLifecycleTests, TheRefreshShortcutRefreshesEverySource) {
    launch();
    waitUntilAtRest();
    KSRPackageManager::sharedPackageManager().sources().addMissingSources({"http://127.0.0.1:9/"});
    std::optional<bool> answer;
    performShortcut(KSCorvane::KSShortcutItemActionRefresh, answer);
    EXPECT_EQ(answer, true);
    ASSERT_TRUE(testing_support::pumpUntil(
        [] { return !KSPipelineManager::sharedManager().tasksArray().empty(); }, 10));
}

TEST_F(KSCorvaneLifecycleTests, TheWindowFollowsThePaletteStyle) {
    launch();
    EXPECT_EQ(window_->overrideUserInterfaceStyle(), KSPaletteManager::interfaceStyle());
    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kOLED));
    EXPECT_EQ(window_->overrideUserInterfaceStyle(), UserInterfaceStyle::dark);
    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
    EXPECT_EQ(window_->overrideUserInterfaceStyle(), UserInterfaceStyle::light);
}

TEST_F(KSCorvaneLifecycleTests, FollowingTheSystemAppearanceLeavesTheWindowStyleAlone) {
    writePreferences(foundation::Dictionary{{"ObserveAppleDarkModeChanges", true}});
    launch();
    KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kBlue);
    EXPECT_EQ(window_->overrideUserInterfaceStyle(), UserInterfaceStyle::unspecified);
}

TEST_F(KSCorvaneLifecycleTests, BeforeIOS13TheWindowStyleIsNeverForced) {
    uikit::Device::current().setSystemVersion("12.4");
    launch();
    KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kBlue);
    EXPECT_EQ(window_->overrideUserInterfaceStyle(), UserInterfaceStyle::unspecified);
}

TEST_F(KSCorvaneLifecycleTests, ReinitialisationPutsAFreshTabBarIntoTheKeyWindow) {
    launch();
    auto old = delegate_->tabController();
    delegate_->reinitializeApplication();
    auto fresh = delegate_->tabController();
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(window_->rootViewController(), fresh);
    EXPECT_TRUE(window_->isKeyWindow());
    EXPECT_TRUE(fresh->isVisible());
}

using KSCorvaneLifecycleDeathTest = KSCorvaneLifecycleTests;

TEST_F(KSCorvaneLifecycleDeathTest, AnUncaughtExceptionLeavesOneLogLine) {
    EXPECT_DEATH(
        {
            KSUncaughtExceptionHandler::install();
            std::thread([] { throw std::runtime_error("the disk is full"); }).join();
        },
        "HandleExceptions \\[Line [0-9]+\\] \\*\\*\\* Corvane has encountered an unhandled "
        "exception: the disk is full");
}

}  // namespace
}  // namespace corvane::testing
