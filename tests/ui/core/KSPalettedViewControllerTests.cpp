// Paletted screens in their containers: when they follow the style, what they colour, and that
// their own observations outlive being covered.
#include "ui/core/KSPalettedViewController.h"

#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Application.h"
#include "uikit/NavigationController.h"
#include "uikit/TabBarController.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::BarStyle;
using uikit::Color;
using uikit::NavigationController;
using uikit::UserInterfaceStyle;

constexpr const char* kOwnNotification = "ScreenOwnNotification";

// A screen as subclasses write them: overrides in the will-change hook, recolouring in the
// did-change hook, and a notification of its own observed from viewDidLoad on.
class RecordingScreen : public KSPalettedViewController {
  public:
    int rebuilds = 0;
    int ownNotifications = 0;
    std::vector<std::uint64_t> styles;
    std::optional<Color> lightBackground;

  protected:
    void viewDidLoad() override {
        KSPalettedViewController::viewDidLoad();
        ownObservation_ = foundation::NotificationCenter::defaultCenter().addObserver(
            kOwnNotification, [this](const foundation::Notification&) { ++ownNotifications; });
    }
    void paletteWillChangeToStyle(std::uint64_t style) override {
        if (style == KSPalette::kLight && lightBackground)
            setOverrideColor(lightBackground, "backgroundColor");
        else
            resetOverridesColors();
    }
    void paletteDidChange(const KSPalette& palette) override {
        ++rebuilds;
        styles.push_back(paletteStyle());
        view()->setBackgroundColor(palette.backgroundColor());
    }

  private:
    foundation::ObservationToken ownObservation_;
};

class KSPalettedViewControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setPreference("UseTranslucentBars", false);
        setPreference("prefersLargeTitles", true);
    }

    static void setPreference(const char* key, bool on) {
        CorvanePersistentPreferences::sharedInstance().setValue(on, key);
    }
    // As the settings screen does: the theme switches, then the manager reads them.
    static void setStyle(std::uint64_t style) {
        setPreference("DarkMode", style == KSPalette::kBlue);
        setPreference("AppleDarkMode", style == KSPalette::kGrey);
        setPreference("TrueDarkMode", style == KSPalette::kOLED);
        KSPaletteManager::updatePaletteFromSettings();
        ASSERT_EQ(KSPaletteManager::getActiveStyle(), style);
    }

    std::shared_ptr<NavigationController> showInNavigation(
        const std::shared_ptr<KSPalettedViewController>& screen) {
        auto navigation = NavigationController::create(screen);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        return navigation;
    }
    std::shared_ptr<uikit::TabBarController> showInTabs(
        const std::shared_ptr<KSPalettedViewController>& screen) {
        auto tabs = std::make_shared<uikit::TabBarController>();
        tabs->setViewControllers({NavigationController::create(screen)});
        window->setRootViewController(tabs);
        window->makeKeyAndVisible();
        return tabs;
    }

    testing_support::TempDeviceRoot root;
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
};

TEST_F(KSPalettedViewControllerTest, ACoveredScreenKeepsItsOwnObservationsAndCatchesUpLater) {
    auto first = std::make_shared<RecordingScreen>();
    auto navigation = showInNavigation(first);
    auto second = std::make_shared<RecordingScreen>();
    navigation->push(second, false);
    advanceClock(0);
    ASSERT_FALSE(first->isVisible());

    auto& center = foundation::NotificationCenter::defaultCenter();
    center.post(kOwnNotification);
    EXPECT_EQ(first->ownNotifications, 1) << "covering a screen must not end its own observations";

    const int coveredRebuilds = first->rebuilds;
    setStyle(1);
    uikit::Application::shared().becomeActive();
    EXPECT_EQ(first->rebuilds, coveredRebuilds) << "a covered screen does not follow the style";
    EXPECT_EQ(second->paletteStyle(), 1u);
    EXPECT_EQ(second->view()->backgroundColor(),
              KSPalette::initWithBlueConfiguration().backgroundColor());

    navigation->pop(false);
    advanceClock(0);
    EXPECT_EQ(first->paletteStyle(), 1u) << "it catches up when it shows again";
    EXPECT_EQ(first->view()->backgroundColor(), Color(0.07, 0.11, 0.15));
    center.post(kOwnNotification);
    EXPECT_EQ(first->ownNotifications, 2);
}

TEST_F(KSPalettedViewControllerTest, EveryAppearanceObservesTheStyleOnlyOnce) {
    auto screen = std::make_shared<RecordingScreen>();
    auto navigation = showInNavigation(screen);
    for (int i = 0; i < 3; ++i) {
        navigation->push(std::make_shared<KSPalettedViewController>(), false);
        advanceClock(0);
        navigation->pop(false);
        advanceClock(0);
    }
    ASSERT_TRUE(screen->isVisible());

    int refreshes = 0;
    auto refresh = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPaletteNeedsUIRefreshNotification, [&](const auto&) { ++refreshes; });
    const int before = screen->rebuilds;
    setStyle(2);
    EXPECT_EQ(screen->rebuilds, before + 1);
    EXPECT_EQ(refreshes, 1);
    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(2));
    EXPECT_EQ(screen->rebuilds, before + 2) << "the same style again is applied again, once";

    screen.reset();
    navigation.reset();
    window->setRootViewController(nullptr);
    setStyle(3);  // a released screen is never called
}

TEST_F(KSPalettedViewControllerTest, APaletteChangeRestylesTheNavigationTabAndStatusBars) {
    auto screen = std::make_shared<RecordingScreen>();
    auto tabs = showInTabs(screen);
    auto navigation = screen->navigationController();
    const auto& bar = navigation->navigationBar();
    const auto& tabBar = tabs->tabBar();

    setStyle(3);
    EXPECT_EQ(bar->backgroundColor(), Color::black());
    EXPECT_EQ(bar->barStyle(), BarStyle::black);
    EXPECT_FALSE(bar->isTranslucent());
    EXPECT_EQ(bar->tintColor(), Color(0.0, 0.67, 0.88));
    EXPECT_EQ(bar->titleTextAttributes().foregroundColor, Color::white());
    EXPECT_EQ(bar->largeTitleTextAttributes().foregroundColor, Color::white());
    EXPECT_TRUE(bar->prefersLargeTitles());
    ASSERT_TRUE(bar->backgroundImage());
    EXPECT_EQ(bar->backgroundImage()->pixelAt(0, 0), Color::black());
    ASSERT_TRUE(bar->shadowImage());
    EXPECT_EQ(bar->shadowImage()->size().width, 0) << "no hairline under the bar";
    EXPECT_EQ(tabBar->barStyle(), BarStyle::black);
    EXPECT_EQ(tabBar->barTintColor(), Color(0.05, 0.05, 0.05));
    EXPECT_FALSE(tabBar->isTranslucent());
    ASSERT_TRUE(screen->fakeStatusBar());
    EXPECT_FALSE(screen->fakeStatusBar()->isHidden());
    EXPECT_EQ(screen->fakeStatusBar()->backgroundColor(), Color::black());
    EXPECT_EQ(window->statusBarStyle(), uikit::StatusBarStyle::lightContent);
    EXPECT_EQ(screen->overrideUserInterfaceStyle(), UserInterfaceStyle::dark);

    setStyle(0);
    EXPECT_EQ(bar->backgroundColor(), Color::white());
    EXPECT_EQ(bar->barStyle(), BarStyle::defaultStyle);
    EXPECT_EQ(bar->titleTextAttributes().foregroundColor, Color::black());
    EXPECT_EQ(tabBar->barTintColor(), Color::white());
    EXPECT_EQ(window->statusBarStyle(), uikit::StatusBarStyle::defaultStyle);
    EXPECT_EQ(screen->overrideUserInterfaceStyle(), UserInterfaceStyle::light);

    screen->setOverrideLargeTitles(true);
    setStyle(0);
    EXPECT_FALSE(bar->prefersLargeTitles());
}

TEST_F(KSPalettedViewControllerTest, TranslucencyFollowsThePreferenceTheScreenAndTheColour) {
    setPreference("UseTranslucentBars", true);
    auto screen = std::make_shared<RecordingScreen>();
    auto tabs = showInTabs(screen);
    const auto& bar = screen->navigationController()->navigationBar();
    EXPECT_TRUE(bar->isTranslucent());
    EXPECT_FALSE(bar->backgroundImage()) << "the system blur shows";
    EXPECT_TRUE(screen->fakeStatusBar()->isHidden());
    EXPECT_TRUE(tabs->tabBar()->isTranslucent());
    EXPECT_FALSE(tabs->tabBar()->barTintColor());

    screen->setOverrideTranslucentNavBar(true);
    setStyle(1);
    EXPECT_FALSE(bar->isTranslucent());
    EXPECT_FALSE(screen->fakeStatusBar()->isHidden());
    EXPECT_EQ(bar->backgroundColor(), Color(0.07, 0.11, 0.15));
    EXPECT_TRUE(tabs->tabBar()->isTranslucent()) << "the tab bar still follows the preference";

    setPreference("UseTranslucentBars", false);
    screen->setOverrideTranslucentNavBar(false);
    screen->setNavigationBarColor(Color::clear());
    EXPECT_TRUE(bar->isTranslucent()) << "a clear colour shows what lies below";
    ASSERT_TRUE(bar->backgroundImage());
    EXPECT_EQ(bar->backgroundImage()->size().width, 0);
    EXPECT_TRUE(screen->useLegacyNavbarAppearance());
}

TEST_F(KSPalettedViewControllerTest, ScreensOfOneNavigationBarShareOneFakeStatusBar) {
    auto first = std::make_shared<RecordingScreen>();
    auto navigation = showInNavigation(first);
    auto second = std::make_shared<RecordingScreen>();
    navigation->push(second, false);
    advanceClock(0);
    ASSERT_TRUE(first->fakeStatusBar());
    EXPECT_EQ(second->fakeStatusBar(), first->fakeStatusBar());
    int strips = 0;
    for (const auto& subview : navigation->navigationBar()->subviews())
        strips += subview->tag() == KSPalettedViewController::kFakeStatusBarTag;
    EXPECT_EQ(strips, 1);
    EXPECT_EQ(first->fakeStatusBar()->frame().maxY(), 0) << "it sits right above the bar";
}

TEST_F(KSPalettedViewControllerTest, OverridesAndTheDarkModeCrossingBelongToEachRebuild) {
    auto screen = std::make_shared<RecordingScreen>();
    screen->lightBackground = Color(1, 0.9, 0.9);
    showInNavigation(screen);
    EXPECT_EQ(screen->palette()->backgroundColor(), Color(1, 0.9, 0.9));
    EXPECT_EQ(KSPaletteManager::sharedPaletteManager().backgroundColor(), Color::white())
        << "a screen's override stays in its own palette";

    setStyle(1);
    EXPECT_TRUE(screen->didLastPaletteChangeUpdateDarkmode());
    EXPECT_EQ(screen->palette()->backgroundColor(), Color(0.07, 0.11, 0.15))
        << "the hook cleared the override for the dark style in the same rebuild";
    setStyle(3);
    EXPECT_FALSE(screen->didLastPaletteChangeUpdateDarkmode());
    setStyle(0);
    EXPECT_TRUE(screen->didLastPaletteChangeUpdateDarkmode());
    EXPECT_EQ(screen->palette()->backgroundColor(), Color(1, 0.9, 0.9));
    EXPECT_EQ(screen->styles.back(), 0u);
}

TEST_F(KSPalettedViewControllerTest, AFollowedSystemAppearanceChoosesBetweenLightAndTheDarkStyle) {
    setPreference("ObserveAppleDarkModeChanges", true);
    setPreference("TrueDarkMode", true);
    auto screen = std::make_shared<RecordingScreen>();
    showInNavigation(screen);
    EXPECT_TRUE(KSPaletteManager::appleInterfaceStyleIsLight());
    EXPECT_EQ(screen->paletteStyle(), 0u);
    EXPECT_EQ(screen->overrideUserInterfaceStyle(), UserInterfaceStyle::unspecified)
        << "a followed system appearance is not overridden";

    uikit::Application::shared().setSystemUserInterfaceStyle(UserInterfaceStyle::dark);
    EXPECT_FALSE(KSPaletteManager::appleInterfaceStyleIsLight());
    EXPECT_EQ(screen->paletteStyle(), 3u);

    uikit::Application::shared().setSystemUserInterfaceStyle(UserInterfaceStyle::light);
    EXPECT_EQ(screen->paletteStyle(), 0u);
}

}  // namespace
}  // namespace corvane
