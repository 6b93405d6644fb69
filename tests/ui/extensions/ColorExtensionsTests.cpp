// Colours from hex text and blends, as the plist tables and the fading bar use them.
#include "ui/extensions/ColorExtensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/extensions/ImageExtensions.h"

namespace corvane {
namespace {

using uikit::Color;

TEST(ColorExtensions, HexTextInEveryFormTheTablesUse) {
    const Color tint = Color::fromBytes(0, 169, 224);
    EXPECT_EQ(colorWithHexString("#00A9E0"), tint);
    EXPECT_EQ(colorWithHexString("00a9e0"), tint);
    EXPECT_EQ(colorWithHexString("0x00A9E0"), tint);
    EXPECT_EQ(colorWithHexString("##00A9E0"), tint);
    EXPECT_EQ(colorWithHexString("#00A9E0", 0.5), tint.withAlpha(0.5));

    EXPECT_EQ(colorWithHexString(""), Color::black());
    EXPECT_EQ(colorWithHexString("zz"), Color::black());
    EXPECT_EQ(colorWithHexString(" #FFFFFF"), Color::black()) << "white space is not skipped";
    EXPECT_EQ(colorWithHexString("#", 0.25), Color(0, 0, 0, 0.25));
    EXPECT_EQ(colorWithHexString("#FFF"), Color(0, 15 / 255.0, 1.0)) << "read as a plain number";
    EXPECT_EQ(colorWithHexString("#80FF0000"), Color(1, 0, 0)) << "digits above six are dropped";
    EXPECT_EQ(colorWithHexString("#123456789ABCDEF0123"), Color::white())
        << "too large for 32 bits reads as all ones";
    EXPECT_EQ(colorWithHexString("#12G456"), Color(0, 0, 0x12 / 255.0))
        << "reading stops at the first non-digit";
}

TEST(ColorExtensions, BlendsClampTheirFraction) {
    const Color from{0.2, 0.4, 0.6, 1.0};
    const Color to{1.0, 0.0, 0.2, 0.5};
    EXPECT_EQ(lerpToColor(from, to, 0.5), Color(0.6, 0.2, 0.4, 0.75));
    EXPECT_EQ(lerpToColor(from, to, 1.5), to);
    EXPECT_EQ(lerpToColor(from, to, -1), from);
    EXPECT_EQ(lerpToColor(from, to, std::numeric_limits<double>::quiet_NaN()), from);
}

TEST(ImageExtensions, PlainColourImagesOfTheAskedSize) {
    auto dot = imageWithColor(Color(1, 0, 0, 0.5));
    EXPECT_EQ(dot->size(), (uikit::Size{1, 1}));
    Color pixel = dot->pixelAt(0, 0);
    EXPECT_NEAR(pixel.red(), 1.0, 0.01);
    EXPECT_NEAR(pixel.alpha(), 0.5, 0.01);

    auto strip = imageWithColor(Color::black(), {10, 2});
    EXPECT_EQ(strip->size(), (uikit::Size{10, 2}));
    EXPECT_EQ(strip->pixelAt(strip->pixelWidth() - 1, strip->pixelHeight() - 1), Color::black());

    for (uikit::Size size : {uikit::Size{0, 5}, uikit::Size{-1, 1}, uikit::Size{std::nan(""), 1},
                             uikit::Size{1e9, 1e9}})
        EXPECT_EQ(imageWithColor(Color::white(), size)->size(), (uikit::Size{0, 0}));
}

}  // namespace
}  // namespace corvane
