// The four palettes and the colours screens may override.
#include "ui/palette/KSPalette.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane {
namespace {

using uikit::BarStyle;
using uikit::BlurEffectStyle;
using uikit::Color;

struct Column {
    std::uint64_t style;
    Color background, foreground, queueBackground, highlight, barTint, primaryText, shadow, navBar,
        cellBackground, getButtonBackground, getButtonText;
    BarStyle barStyle;
    BlurEffectStyle blurStyle;
    std::int64_t keyboardAppearance;
};

const Color kTint{0.0, 0.67, 0.88};
const Color kLightSurface{0.94, 0.94, 0.96};
const Color kDarkShadow{0.30, 0.30, 0.31};

const Column kColumns[] = {
    {0,
     Color::white(),
     kLightSurface,
     {0.88, 0.97, 1.0},
     Color::white(2.0 / 3),
     Color::white(),
     Color::darkText(),
     Color::white(0.5),
     Color::white(),
     Color::white(),
     kLightSurface,
     kTint,
     BarStyle::defaultStyle,
     BlurEffectStyle::light,
     2},
    {1,
     {0.07, 0.11, 0.15},
     {0.10, 0.16, 0.22},
     {0.08, 0.33, 0.40},
     {0.20, 0.22, 0.26},
     {0.10, 0.16, 0.22},
     Color::white(),
     kDarkShadow,
     {0.07, 0.11, 0.15},
     {0.10, 0.16, 0.22},
     kTint,
     kLightSurface,
     BarStyle::black,
     BlurEffectStyle::dark,
     1},
    {2,
     {0.09, 0.09, 0.09},
     {0.11, 0.11, 0.12},
     {0.20, 0.20, 0.20},
     {0.21, 0.21, 0.22},
     {0.11, 0.11, 0.12},
     Color::white(),
     kDarkShadow,
     {0.09, 0.09, 0.09},
     {0.11, 0.11, 0.12},
     kTint,
     kLightSurface,
     BarStyle::black,
     BlurEffectStyle::dark,
     1},
    {3,
     Color::black(),
     {0.05, 0.05, 0.05},
     {0.10, 0.10, 0.10},
     {0.15, 0.15, 0.16},
     {0.05, 0.05, 0.05},
     Color::white(),
     kDarkShadow,
     Color::black(),
     {0.05, 0.05, 0.05},
     kTint,
     kLightSurface,
     BarStyle::black,
     BlurEffectStyle::dark,
     1},
};

TEST(KSPalette, EachStyleGivesTheColoursOfItsConfiguration) {
    for (const Column& column : kColumns) {
        SCOPED_TRACE("style " + std::to_string(column.style));
        auto palette = KSPalette::paletteWithStyle(column.style);
        ASSERT_TRUE(palette);
        EXPECT_EQ(palette->backgroundColor(), column.background);
        EXPECT_EQ(palette->foregroundColor(), column.foreground);
        EXPECT_EQ(palette->queueBackgroundColor(), column.queueBackground);
        EXPECT_EQ(palette->highlightColor(), column.highlight);
        EXPECT_EQ(palette->tintColor(), kTint);
        EXPECT_EQ(palette->barTintColor(), column.barTint);
        EXPECT_EQ(palette->primaryTextColor(), column.primaryText);
        EXPECT_EQ(palette->secondaryTextColor(), Color::white(2.0 / 3));
        EXPECT_EQ(palette->paidTextColor(), Color(0.0, 0.82, 0.88));
        EXPECT_EQ(palette->shadowColor(), column.shadow);
        EXPECT_EQ(palette->navBarColor(), column.navBar);
        EXPECT_EQ(palette->cellBackgroundColor(), column.cellBackground);
        EXPECT_EQ(palette->getButtonBackgoundColor(), column.getButtonBackground);
        EXPECT_EQ(palette->getButtonTextColor(), column.getButtonText);
        EXPECT_EQ(palette->barStyle(), column.barStyle);
        EXPECT_EQ(palette->blurStyle(), column.blurStyle);
        EXPECT_EQ(palette->keyboardAppearance(), column.keyboardAppearance);
        EXPECT_EQ(palette->backgroundColor().alpha(), 1.0);
    }
    EXPECT_EQ(KSPalette::paletteWithStyle(0), KSPalette::initWithLightConfiguration());
    EXPECT_EQ(KSPalette::paletteWithStyle(1), KSPalette::initWithBlueConfiguration());
    EXPECT_EQ(KSPalette::paletteWithStyle(2), KSPalette::initWithGreyConfiguration());
    EXPECT_EQ(KSPalette::paletteWithStyle(3), KSPalette::initWithOLEDConfiguration());

    EXPECT_FALSE(KSPalette::paletteWithStyle(4));
    EXPECT_FALSE(KSPalette::paletteWithStyle(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_FALSE(KSPalette::paletteWithStyle(4, {{"tintColor", Color::white()}}));
}

TEST(KSPalette, OverridesReachOnlyTheTwelveScreenColoursOfOneCopy) {
    const Color red{1, 0, 0};
    const KSPalette plain = KSPalette::initWithBlueConfiguration();

    auto tinted = KSPalette::paletteWithStyle(1, {{"tintColor", red}});
    ASSERT_TRUE(tinted);
    EXPECT_EQ(tinted->tintColor(), red);
    EXPECT_EQ(tinted->backgroundColor(), plain.backgroundColor());
    EXPECT_EQ(tinted->getButtonBackgoundColor(), kTint) << "the Get button keeps the tint";

    auto guarded = KSPalette::paletteWithStyle(1, {{"getButtonTextColor", red},
                                                   {"getButtonBackgoundColor", red},
                                                   {"barStyle", red},
                                                   {"keyboardAppearance", red},
                                                   {"BackgroundColor", red},
                                                   {"", red}});
    EXPECT_EQ(guarded, plain) << "names outside the twelve change nothing";
    EXPECT_EQ(KSPalette::paletteWithStyle(1, {}), plain);

    KSPalette::Overrides all;
    for (const char* name :
         {"backgroundColor", "foregroundColor", "queueBackgroundColor", "highlightColor",
          "tintColor", "barTintColor", "primaryTextColor", "secondaryTextColor", "paidTextColor",
          "shadowColor", "navBarColor", "cellBackgroundColor"})
        all[name] = red;
    KSPalette overridden = KSPalette::initWithLightConfiguration();
    overridden.applyOverrides(all);
    for (const Color& color :
         {overridden.backgroundColor(), overridden.foregroundColor(),
          overridden.queueBackgroundColor(), overridden.highlightColor(), overridden.tintColor(),
          overridden.barTintColor(), overridden.primaryTextColor(), overridden.secondaryTextColor(),
          overridden.paidTextColor(), overridden.shadowColor(), overridden.navBarColor(),
          overridden.cellBackgroundColor()})
        EXPECT_EQ(color, red);
    EXPECT_EQ(overridden.getButtonTextColor(), kTint);

    EXPECT_EQ(KSPalette::paletteWithStyle(0), KSPalette::initWithLightConfiguration())
        << "a fresh palette never carries another holder's overrides";
}

}  // namespace
}  // namespace corvane
