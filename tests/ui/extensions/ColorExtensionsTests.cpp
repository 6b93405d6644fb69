// Colours from hex text, blends and readable text, and the images the screens round and read,
// as the plist tables, the fading bar and the package page use them.
#include "ui/extensions/ColorExtensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/extensions/ImageExtensions.h"
#include "uikit/ImageContext.h"

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

TEST(ColorExtensions, TextOverABackgroundIsBlackOnlyOverABrightOne) {
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::white()), Color::black());
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::black()), Color::white());
    // 299, 587 and 114 thousandths of the components: yellow is bright, blue is not.
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::fromBytes(255, 255, 0)),
              Color::black());
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::fromBytes(0, 0, 255)),
              Color::white());
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::white(200.0 / 255)), Color::black())
        << "200 of 255 is bright enough";
    EXPECT_EQ(readableForegroundColorForBackgroundColor(Color::white(199.0 / 255)), Color::white());
}

TEST(ImageExtensions, RoundedImagesAreClearOutsideTheirCorners) {
    auto square =
        uikit::Image::fromPixels(imageWithColor(Color::systemBlue(), {40, 30})->sharedPixels(), 1);
    auto rounded = makeRoundedImage(*square, 15);
    ASSERT_EQ(rounded->pixelWidth(), square->pixelWidth());
    ASSERT_EQ(rounded->pixelHeight(), square->pixelHeight());
    const int right = rounded->pixelWidth() - 1;
    const int bottom = rounded->pixelHeight() - 1;
    for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}})
        EXPECT_EQ(rounded->pixelAt(x, y).alpha(), 0) << x << "," << y;
    EXPECT_EQ(rounded->pixelAt(right / 2, bottom / 2), Color::systemBlue());
    EXPECT_EQ(rounded->pixelAt(right / 2, 0), Color::systemBlue()) << "the edges stay";
    EXPECT_EQ(makeRoundedImage(*uikit::Image::empty(), 15)->size(), (uikit::Size{0, 0}));
}

TEST(ImageExtensions, TheDominantColourIsTheMeanOfEveryPixel) {
    uikit::ImageContext context({4, 2}, false, 1);
    context.clear();
    context.fill({0, 0, 2, 2}, Color::fromBytes(200, 0, 0));
    context.fill({2, 0, 2, 2}, Color::fromBytes(0, 100, 50));
    EXPECT_EQ(getDominantColor(*context.makeImage()), Color::fromBytes(100, 50, 25));

    uikit::ImageContext halfClear({2, 1}, false, 1);
    halfClear.clear();
    halfClear.fill({0, 0, 1, 1}, Color::white());
    EXPECT_EQ(getDominantColor(*halfClear.makeImage()), Color::white(0.5))
        << "a clear pixel counts as dark";
    EXPECT_EQ(getDominantColor(*uikit::Image::empty()), Color::black());
}

}  // namespace
}  // namespace corvane
