#include "uikit/Font.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using uikit::Font;
using uikit::FontWeight;

TEST(Font, BoldIsWiderAndLongerTextIsWider) {
    Font regular = Font::systemFont(13);
    Font bold = Font::boldSystemFont(13);
    auto regularWidth = regular.sizeOfText("UNINSTALL").width;
    EXPECT_GT(bold.sizeOfText("UNINSTALL").width, regularWidth);
    EXPECT_GT(regular.sizeOfText("UNINSTALL").width, regular.sizeOfText("GET").width);
    EXPECT_GT(Font::systemFont(26).sizeOfText("GET").width, regular.sizeOfText("GET").width * 1.8);
    EXPECT_GT(Font::systemFont(13, FontWeight::semibold).sizeOfText("QUEUED").width,
              regular.sizeOfText("QUEUED").width);
    EXPECT_EQ(regular.sizeOfText("").width, 0);
}

TEST(Font, WrapsToWidthAndStopsAtTheLineLimit) {
    Font font = Font::systemFont(15);
    std::string text = "A package manager shows many packages with long descriptions that wrap.";
    auto oneLine = font.sizeOfText(text);
    auto wrapped = font.boundingSize(text, 120);
    EXPECT_LE(wrapped.width, 120);
    EXPECT_GE(wrapped.height, 3 * oneLine.height);
    auto twoLines = font.boundingSize(text, 120, 2);
    EXPECT_NEAR(twoLines.height, 2 * oneLine.height, 1);
    EXPECT_NEAR(font.sizeOfText("one\ntwo").height, 2 * oneLine.height, 1);
}

TEST(Font, NamedFontsMustBeInstalled) {
    EXPECT_TRUE(Font::named("DejaVu Sans Mono", 12).has_value());
    EXPECT_FALSE(Font::named("No Such Family Anywhere", 12).has_value());
    EXPECT_TRUE(Font::italicSystemFont(12).isItalic());
}

TEST(Font, AnyFamilyComesInBoldItalicAndBoth) {
    auto serif = Font::named("DejaVu Serif", 14);
    ASSERT_TRUE(serif);
    Font bold = serif->withWeight(FontWeight::bold);
    Font italic = serif->withItalic(true);
    Font boldItalic = bold.withItalic(true);
    EXPECT_EQ(boldItalic.toString(), "DejaVu Serif 14 bold italic");
    EXPECT_EQ(boldItalic.withItalic(false), bold);
    EXPECT_EQ(italic.withWeight(FontWeight::bold), boldItalic);

    // These letters are drawn anew in each face, so their widths show which face Pango took
    // (a slanted or thickened stand-in would keep the upright ones).
    std::string text = "ľŀ#æ";
    std::vector<double> widths;
    for (const Font& font : {*serif, bold, italic, boldItalic})
        widths.push_back(font.sizeOfText(text).width);
    for (std::size_t i = 0; i < widths.size(); ++i)
        for (std::size_t j = i + 1; j < widths.size(); ++j)
            EXPECT_NE(widths[i], widths[j]) << i << " and " << j;
    EXPECT_GT(widths[3], widths[2]) << "bold italic is heavier than italic";

    Font systemBoldItalic = Font::boldSystemFont(13).withItalic(true);
    EXPECT_TRUE(systemBoldItalic.isBold() && systemBoldItalic.isItalic());
    EXPECT_GT(systemBoldItalic.sizeOfText(text).width,
              Font::italicSystemFont(13).sizeOfText(text).width);
}

TEST(Font, MeasuresTheSameOnManyThreadsAtOnce) {
    Font font = Font::boldSystemFont(17);
    double expected = font.sizeOfText("Measured on main").width;
    std::vector<std::thread> threads;
    std::vector<double> widths(8);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] {
            for (int n = 0; n < 50; ++n)
                widths[i] = font.sizeOfText("Measured on main").width;
        });
    for (auto& t : threads)
        t.join();
    for (double w : widths)
        EXPECT_DOUBLE_EQ(w, expected);
}

}  // namespace
