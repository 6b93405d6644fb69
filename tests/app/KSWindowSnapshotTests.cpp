// The launched window drawn as a person sees it, in each of the four palettes: the screen's
// background and the bars in the colours of the palette table.
#include <gtest/gtest.h>

#include "LaunchFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "support/Pixels.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/ViewRenderer.h"

namespace corvane::testing {
namespace {

using testing_support::colorAt;
using testing_support::describe;
using testing_support::near;
using uikit::Color;

struct PaletteColumn {
    const char* name;
    const char* preference;  // the theme key that selects the style; none for Light
    Color background;
    Color navigationBar;
    Color tabBar;
};

// The table's own numbers, not the palette's code, so a wrong entry there shows here.
const PaletteColumn kColumns[] = {
    {"Light", nullptr, Color::white(), Color::white(), Color::white()},
    {"Blue", "DarkMode", {0.07, 0.11, 0.15}, {0.07, 0.11, 0.15}, {0.10, 0.16, 0.22}},
    {"Grey", "AppleDarkMode", {0.09, 0.09, 0.09}, {0.09, 0.09, 0.09}, {0.11, 0.11, 0.12}},
    {"OLED", "TrueDarkMode", Color::black(), Color::black(), {0.05, 0.05, 0.05}},
};

class KSWindowSnapshotTests : public LaunchFixture {
  protected:
    // Back to the style of a device root without theme keys, which the tests after expect.
    void TearDown() override {
        EXPECT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
        LaunchFixture::TearDown();
    }

    // Launched with the palette's theme key set, as a person who chose it starts the
    // application again.
    std::shared_ptr<uikit::Image> launchedWindow(const PaletteColumn& column, bool translucent) {
        foundation::Dictionary preferences{{"UseTranslucentBars", translucent}};
        if (column.preference)
            preferences[column.preference] = true;
        writePreferences(preferences);
        launch();
        KSPaletteManager::updatePaletteFromSettings();
        return uikit::ViewRenderer::imageOfView(*window_);
    }
};

class KSWindowSnapshotPaletteTests : public KSWindowSnapshotTests,
                                     public ::testing::WithParamInterface<PaletteColumn> {};

TEST_P(KSWindowSnapshotPaletteTests, OpaqueBarsAndTheBackgroundTakeThePalettesColours) {
    const PaletteColumn& column = GetParam();
    auto image = launchedWindow(column, false);
    double height = window_->bounds().height();
    struct Spot {
        const char* what;
        double x, y;
        Color expected;
    } spots[] = {
        {"the screen's background", 187, height / 2, column.background},
        {"the navigation bar", 360, 30, column.navigationBar},
        {"behind the status bar", 187, 5, column.navigationBar},
        {"the tab bar", 2, height - 2, column.tabBar},
    };
    for (const auto& spot : spots) {
        Color drawn = colorAt(*image, spot.x, spot.y);
        EXPECT_TRUE(near(drawn, spot.expected))
            << column.name << ", " << spot.what << ": " << describe(drawn) << " instead of "
            << describe(spot.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(FourPalettes, KSWindowSnapshotPaletteTests, ::testing::ValuesIn(kColumns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KSWindowSnapshotTests, TranslucentBarsLetTheBackgroundThrough) {
    auto blue = launchedWindow(kColumns[1], true);
    Color bar = colorAt(*blue, 360, 30);
    EXPECT_FALSE(near(bar, kColumns[1].navigationBar)) << describe(bar);
    EXPECT_LT(bar.red() + bar.green() + bar.blue(), 0.6) << "a dark bar over a dark screen";

    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    preferences.setValue(false, "DarkMode");
    preferences.setValue(true, "AppleDarkMode");
    ASSERT_TRUE(preferences.saveToFile()) << "no save left waiting for the next test";
    KSPaletteManager::updatePaletteFromSettings();
    auto grey = uikit::ViewRenderer::imageOfView(*window_);
    EXPECT_FALSE(near(colorAt(*grey, 360, 30), bar))
        << "the same bar style over another background";
}

}  // namespace
}  // namespace corvane::testing
