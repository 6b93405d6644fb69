// The active style: where it comes from, and how a change is announced.
#include "ui/palette/KSPaletteManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "support/TempDeviceRoot.h"
#include "uikit/Device.h"

namespace corvane {
namespace {

using foundation::NotificationCenter;

// Writes down every announcement with the style the manager held when it was made.
class Announcements {
  public:
    Announcements() {
        auto& center = NotificationCenter::defaultCenter();
        willChange_ = center.addObserver(KSPaletteWillChangeNotification,
                                         [this](const auto&) { add("will-change"); });
        didChange_ = center.addObserver(KSPaletteDidChangeNotification,
                                        [this](const auto&) { add("did-change"); });
    }
    void observeManager() {
        activeStyle_ = KSPaletteManager::sharedPaletteManager().observeActiveStyle(
            [this](const std::uint64_t& style) {
                events.push_back("activeStyle " + std::to_string(style));
            });
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }

    std::vector<std::string> events;

  private:
    void add(const std::string& name) {
        // The manager's own state as an observer of the notification finds it.
        const auto& manager = KSPaletteManager::sharedPaletteManager();
        events.push_back(
            name + " " + std::to_string(manager.activeStyle()) +
            (manager.activePalete() == KSPaletteManager::paletteForStyle(manager.activeStyle())
                 ? ""
                 : " (palette of another style)"));
    }

    foundation::ObservationToken willChange_;
    foundation::ObservationToken didChange_;
    foundation::ObservationToken activeStyle_;
};

using Events = std::vector<std::string>;

void setPreference(const char* key, bool on) {
    CorvanePersistentPreferences::sharedInstance().setValue(on, key);
}

TEST(KSPaletteManager, FirstUseAnnouncesTheStyleOfTheSettingsOnce) {
    testing_support::TempDeviceRoot root;
    Announcements announcements;
    auto& manager = KSPaletteManager::sharedPaletteManager();
    EXPECT_EQ(announcements.take(), (Events{"will-change 0", "did-change 0"}));
    EXPECT_EQ(manager.activeStyle(), 0u);
    EXPECT_EQ(manager.activePalete(), KSPalette::initWithLightConfiguration());
    EXPECT_EQ(&KSPaletteManager::sharedPaletteManager(), &manager);
    EXPECT_TRUE(KSPaletteManager::isLightMode());
    EXPECT_EQ(announcements.take(), Events{}) << "later uses announce nothing";
}

TEST(KSPaletteManager, AChangePostsWillChangeThenDidChangeThenTellsActiveStyleObservers) {
    testing_support::TempDeviceRoot root;
    auto& manager = KSPaletteManager::sharedPaletteManager();
    Announcements announcements;
    announcements.observeManager();

    ASSERT_TRUE(manager.setActiveStyle(3));
    EXPECT_EQ(announcements.take(), (Events{"will-change 0", "did-change 3", "activeStyle 3"}));
    EXPECT_EQ(manager.backgroundColor(), uikit::Color::black());
    EXPECT_EQ(manager.barStyle(), uikit::BarStyle::black);
    EXPECT_EQ(KSPaletteManager::getActivePalette(), KSPalette::initWithOLEDConfiguration());
    EXPECT_EQ(KSPaletteManager::interfaceStyle(), uikit::UserInterfaceStyle::dark);
    EXPECT_TRUE(KSPaletteManager::isDarkMode());

    ASSERT_TRUE(manager.setActiveStyle(3));
    EXPECT_EQ(announcements.take(), (Events{"will-change 3", "did-change 3", "activeStyle 3"}))
        << "the same style again is announced again";

    setPreference("AppleDarkMode", true);
    KSPaletteManager::updatePaletteFromSettings();
    EXPECT_EQ(announcements.take(), (Events{"will-change 3", "did-change 2", "activeStyle 2"}));
}

TEST(KSPaletteManager, AStyleAboveThreeIsRefusedAndTheActivePaletteStays) {
    testing_support::TempDeviceRoot root;
    auto& manager = KSPaletteManager::sharedPaletteManager();
    ASSERT_TRUE(manager.setActiveStyle(2));
    Announcements announcements;
    announcements.observeManager();

    for (std::uint64_t style : {std::uint64_t{4}, std::numeric_limits<std::uint64_t>::max()}) {
        EXPECT_FALSE(manager.setActiveStyle(style));
        EXPECT_EQ(manager.activeStyle(), 2u);
        EXPECT_EQ(manager.activePalete(), KSPalette::initWithGreyConfiguration());
        EXPECT_EQ(manager.tintColor(), uikit::Color(0.0, 0.67, 0.88));
    }
    EXPECT_EQ(announcements.take(), Events{}) << "a refused style announces nothing";
    EXPECT_FALSE(KSPaletteManager::paletteForStyle(4));
}

TEST(KSPaletteManager, TheFirstRuleOfTheSettingsThatAppliesWins) {
    testing_support::TempDeviceRoot root;
    EXPECT_EQ(KSPaletteManager::styleForSettings(), 0u);
    setPreference("TrueDarkMode", true);
    EXPECT_EQ(KSPaletteManager::styleForSettings(), 3u);
    setPreference("AppleDarkMode", true);
    EXPECT_EQ(KSPaletteManager::styleForSettings(), 2u);
    setPreference("DarkMode", true);
    EXPECT_EQ(KSPaletteManager::styleForSettings(), 1u) << "DarkMode comes before the others";

    setPreference("DarkMode", false);
    setPreference("AppleDarkMode", false);
    setPreference("ObserveAppleDarkModeChanges", true);
    EXPECT_FALSE(KSPaletteManager::appleInterfaceStyleIsLight()) << "dark until told otherwise";
    KSPaletteManager::setAppleInterfaceStyleIsLight(true);
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), 0u) << "a light system wins when followed";
    KSPaletteManager::setAppleInterfaceStyleIsLight(false);
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), 3u);

    KSPaletteManager::setAppleInterfaceStyleIsLight(true);
    uikit::Device::current().setSystemVersion("12.4");
    EXPECT_EQ(KSPaletteManager::styleForSettings(), 3u)
        << "before iOS 13 the system appearance is not followed";
}

}  // namespace
}  // namespace corvane
