// Preference switches of the settings screens as a person turns them: what each writes, saves and
// sets off, and what happens when the system says no.
#include "ui/settings/SettingsCell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>

#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "localauthentication/Context.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "ui/palette/KSPaletteManager.h"
#include "ui/settings/SettingsCellNib.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/TableView.h"
#include "uikit/Window.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class RecordingEngine : public KSPackageEngine {
  public:
    void refreshSources(const std::vector<std::string>& locations) override {
        std::lock_guard lock(mutex_);
        refreshes_.push_back(locations);
    }
    void downloadPackages(const std::vector<std::string>&) override {}
    std::vector<std::vector<std::string>> refreshes() const {
        std::lock_guard lock(mutex_);
        return refreshes_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::vector<std::string>> refreshes_;
};

// A settings screen in the way the settings screens lay the cell out: one row per key.
class SettingsScreen : public uikit::ViewController, public uikit::TableViewDataSource {
  public:
    explicit SettingsScreen(std::vector<std::string> keys) : keys_(std::move(keys)) {}

    int numberOfRowsInSection(uikit::TableView&, int) override {
        return static_cast<int>(keys_.size());
    }
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& table, const uikit::IndexPath& indexPath) override {
        auto cell = std::static_pointer_cast<SettingsCell>(
            table.dequeueReusableCell(SettingsCell::kNibName, indexPath));
        cell->keyToCheck = keys_[indexPath.row];
        cell->optionLbl->setText(keys_[indexPath.row]);
        cell->setOptionState();
        return cell;
    }
    std::shared_ptr<SettingsCell> cellForKey(const std::string& key) {
        for (int row = 0; row < static_cast<int>(keys_.size()); ++row)
            if (keys_[row] == key)
                return std::static_pointer_cast<SettingsCell>(
                    table->cellForRowAtIndexPath({0, row}));
        return nullptr;
    }

    std::shared_ptr<uikit::TableView> table;

  protected:
    void loadView() override {
        table = std::make_shared<uikit::TableView>(uikit::Rect{0, 0, 375, 667});
        SettingsCellNib::registerNib();
        table->registerNib(SettingsCell::kNibName, SettingsCell::kNibName);
        table->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(
            std::static_pointer_cast<SettingsScreen>(shared_from_this())));
        setView(table);
    }

  private:
    std::vector<std::string> keys_;
};

class SettingsCellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("CORVANE_DEFAULT_SOURCES", "", 1);
        KSPackageEngineHooks::registerEngine(engine);
        usernotifications::UserNotificationCenter::current().setAuthorizationAnswer(true);
    }

    static CorvanePersistentPreferences& preferences() {
        return CorvanePersistentPreferences::sharedInstance();
    }
    // What a relaunch would read: the file, not the memory.
    static bool saved(const std::string& key) {
        return CorvanePersistentPreferences(preferences().path()).boolForKey(key);
    }

    std::shared_ptr<SettingsScreen> show(std::vector<std::string> keys) {
        auto screen = std::make_shared<SettingsScreen>(std::move(keys));
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        screen->table->layoutIfNeeded();
        return screen;
    }
    // The person flips the switch of the key's row.
    static void flip(SettingsScreen& screen, const std::string& key) {
        auto cell = screen.cellForKey(key);
        ASSERT_TRUE(cell);
        ASSERT_TRUE(uikit::hands::tap(cell->optionSwitch));
    }
    std::shared_ptr<uikit::AlertController> shownAlert() const {
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window->rootViewController()->presentedViewController());
    }

    testing_support::TempDeviceRoot root;
    std::shared_ptr<RecordingEngine> engine = std::make_shared<RecordingEngine>();
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
};

TEST_F(SettingsCellTest, DarkModesSwitchEachOtherOffAndRecolourTheInterface) {
    preferences().setValue(true, "DarkMode");
    KSPaletteManager::updatePaletteFromSettings();
    ASSERT_EQ(KSPaletteManager::getActiveStyle(), KSPalette::kBlue);
    auto screen = show({"DarkMode", "AppleDarkMode", "TrueDarkMode"});
    EXPECT_TRUE(screen->cellForKey("DarkMode")->optionSwitch->isOn());

    flip(*screen, "TrueDarkMode");
    EXPECT_TRUE(saved("TrueDarkMode"));
    EXPECT_FALSE(preferences().boolForKey("DarkMode"));
    EXPECT_FALSE(preferences().boolForKey("AppleDarkMode"));
    EXPECT_FALSE(saved("DarkMode")) << "the other modes are saved off at once";
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), KSPalette::kOLED);

    flip(*screen, "TrueDarkMode");
    EXPECT_FALSE(saved("TrueDarkMode"));
    EXPECT_FALSE(preferences().boolForKey("DarkMode") || preferences().boolForKey("AppleDarkMode"));
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), KSPalette::kLight);
}

TEST_F(SettingsCellTest, ShowingOtherPackagesOrIconsRefreshesEverySource) {
    preferences().setValue(true, "setupDone");
    preferences().setValue(true, "ShowIncompatiblePackages");
    KSRPackageManager::sharedPackageManager().sources().addMissingSources(
        {"https://repo.example.org/"});
    auto screen = show({"ShowIncompatiblePackages", "OriginalCydiaSourcesIcons"});

    flip(*screen, "ShowIncompatiblePackages");
    EXPECT_FALSE(saved("ShowIncompatiblePackages"));
    EXPECT_TRUE(preferences().boolForKey("NeedsFullRefresh")) << "switching off refreshes too";
    ASSERT_TRUE(pumpUntil([&] { return engine->refreshes().size() == 1; }));
    EXPECT_EQ(engine->refreshes()[0], std::vector<std::string>{"https://repo.example.org/"});

    flip(*screen, "OriginalCydiaSourcesIcons");
    EXPECT_TRUE(saved("OriginalCydiaSourcesIcons"));
    ASSERT_TRUE(pumpUntil([&] { return engine->refreshes().size() == 2; }));
}

TEST_F(SettingsCellTest, RefusedNotificationPermissionKeepsTheSwitchAndPreferenceOff) {
    auto& center = usernotifications::UserNotificationCenter::current();
    center.setAuthorizationAnswer(false);
    auto screen = show({"ShowNotificationsInsteadOfErrorAlerts"});
    auto cell = screen->cellForKey("ShowNotificationsInsteadOfErrorAlerts");

    flip(*screen, "ShowNotificationsInsteadOfErrorAlerts");
    EXPECT_EQ(center.delegate(), cell) << "the cell asks as the centre's delegate";
    ASSERT_TRUE(pumpUntil([&] { return shownAlert() != nullptr; }));
    EXPECT_EQ(shownAlert()->title(), "Corvane Notifications");
    EXPECT_FALSE(cell->optionSwitch->isOn());
    EXPECT_FALSE(preferences().boolForKey("ShowNotificationsInsteadOfErrorAlerts"));
    advanceClock(0.3);
    ASSERT_TRUE(uikit::hands::pickAlertAction(shownAlert(), "OK"));
    advanceClock(0.3);
    auto& application = uikit::Application::shared();
    EXPECT_FALSE(application.isRegisteredForRemoteNotifications());

    center.setAuthorizationAnswer(true);
    flip(*screen, "ShowNotificationsInsteadOfErrorAlerts");
    ASSERT_TRUE(pumpUntil([&] { return saved("ShowNotificationsInsteadOfErrorAlerts"); }));
    EXPECT_TRUE(cell->optionSwitch->isOn());
    EXPECT_FALSE(shownAlert());
    EXPECT_TRUE(application.isRegisteredForRemoteNotifications())
        << "rights granted without an error register for remote notifications";
}

TEST_F(SettingsCellTest, PackageTaskAuthenticationChangesOnlyWhenTheOwnerConfirms) {
    const std::string key = "AuthenticationForPackagesManagementTasks";
    auto screen = show({key});
    auto control = screen->cellForKey(key)->optionSwitch;

    localauthentication::Context::setEvaluationFailure(localauthentication::UserCancel);
    flip(*screen, key);
    EXPECT_FALSE(preferences().boolForKey(key)) << "nothing is written before the answer";
    ASSERT_TRUE(pumpUntil([&] { return !control->isOn(); }));
    EXPECT_FALSE(preferences().boolForKey(key));

    localauthentication::Context::setEvaluationFailure(std::nullopt);
    flip(*screen, key);
    ASSERT_TRUE(pumpUntil([&] { return saved(key); }));
    EXPECT_TRUE(control->isOn());

    localauthentication::Context::setUnavailableReason(localauthentication::PasscodeNotSet);
    flip(*screen, key);
    ASSERT_TRUE(pumpUntil([&] { return shownAlert() != nullptr; }));
    EXPECT_EQ(shownAlert()->title(), "Corvane Authentication");
    EXPECT_TRUE(shownAlert()->buttonForAction("Cancel")) << "switching off offers Cancel";
    EXPECT_TRUE(control->isOn()) << "the switch shows the stored value again";
    EXPECT_TRUE(saved(key));
}

TEST_F(SettingsCellTest, LegacyIconSwapsTheApplicationIcon) {
    auto screen = show({"LegacyIcon"});
    auto& application = uikit::Application::shared();

    flip(*screen, "LegacyIcon");
    advanceClock(0);
    EXPECT_TRUE(saved("LegacyIcon"));
    EXPECT_EQ(application.alternateIconName(), "LegacyIcon");

    flip(*screen, "LegacyIcon");
    advanceClock(0);
    EXPECT_FALSE(saved("LegacyIcon"));
    EXPECT_EQ(application.alternateIconName(), std::nullopt);
}

}  // namespace
}  // namespace corvane
