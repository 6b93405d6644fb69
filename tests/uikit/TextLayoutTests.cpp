// Text measured as it is laid out: head indents, text of any length, words longer than a line.
#include "uikit/TextLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace uikit;

const Font kFont = Font::systemFont(13);

TextLayout::Metrics measure(const AttributedString& text, double maxWidth, int maxLines = 0) {
    return TextLayout::measure(text, kFont, maxWidth, maxLines, LineBreakMode::byWordWrapping);
}

TextAttributes indented(double firstLine, double otherLines) {
    ParagraphStyle style;
    style.firstLineHeadIndent = firstLine;
    style.headIndent = otherLines;
    TextAttributes attributes;
    attributes.paragraphStyle = style;
    return attributes;
}

// Words of many lengths, so that lines end unevenly.
std::string prose(std::size_t bytes) {
    static const char* words[] = {"package", "a",    "manager",      "shows", "many", "sources",
                                  "with",    "long", "descriptions", "that",  "wrap", "café"};
    std::string text;
    for (std::size_t i = 0; text.size() < bytes; ++i)
        text += std::string(words[(i * 7 + i / 3) % std::size(words)]) + " ";
    return text;
}

TEST(TextLayout, HeadIndentsMoveLinesInAndWrapThemSooner) {
    std::string paragraph = prose(600);
    auto plain = measure(AttributedString(paragraph), 200);
    ASSERT_GT(plain.lineCount, 3);

    // A quote: every line 40 in, so it wraps in 40 points less.
    auto quote = measure(AttributedString(paragraph, indented(40, 40)), 240);
    EXPECT_EQ(quote.lineCount, plain.lineCount);
    EXPECT_DOUBLE_EQ(quote.size.height, plain.size.height);
    EXPECT_NEAR(quote.size.width, plain.size.width + 40, 0.01);

    // A list item: the marker line starts at the edge, the lines under it hang 30 in.
    double word = kFont.sizeOfText("package").width;
    EXPECT_DOUBLE_EQ(measure(AttributedString("package", indented(0, 30)), 200).size.width, word);
    EXPECT_DOUBLE_EQ(measure(AttributedString("package", indented(25, 0)), 200).size.width,
                     word + 25);
    EXPECT_DOUBLE_EQ(measure(AttributedString("package", indented(25, 0)), 0).size.width,
                     word + 25);
    auto hanging = measure(AttributedString(paragraph, indented(0, 30)), 200);
    EXPECT_GT(hanging.lineCount, plain.lineCount);
    EXPECT_LE(hanging.size.width, 200);

    // Each paragraph keeps its own indent.
    AttributedString mixed("package\n", indented(60, 60));
    mixed.append("package");
    EXPECT_DOUBLE_EQ(measure(mixed, 0).size.width, word + 60);
    EXPECT_EQ(measure(mixed, 0).lineCount, 2);

    // A paragraph too long to lay out at once keeps its indent on every line.
    std::string longParagraph = prose(20 * TextLayout::kBlockBytes);
    auto longPlain = measure(AttributedString(longParagraph), 200);
    auto longQuote = measure(AttributedString(longParagraph, indented(40, 40)), 240);
    EXPECT_EQ(longQuote.lineCount, longPlain.lineCount);
    EXPECT_DOUBLE_EQ(longQuote.size.height, longPlain.size.height);
}

TEST(TextLayout, HalfAMegabyteOfTextMeasuresItsTrueHeight) {
    std::string paragraph = prose(10'000);
    auto one = measure(AttributedString(paragraph), 300);
    ASSERT_GT(one.lineCount, 100);
    double lineHeight = one.size.height / one.lineCount;

    std::string text;
    for (int i = 0; i < 50; ++i)
        text += paragraph + "\n";
    text.pop_back();
    auto fifty = measure(AttributedString(text), 300);
    EXPECT_EQ(fifty.lineCount, 50 * one.lineCount);
    EXPECT_NEAR(fifty.size.height, 50 * one.size.height, 0.01);

    // One paragraph of the same words: as many lines, give or take where the paragraphs ended.
    std::string joined = text;
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    auto single = measure(AttributedString(joined), 300);
    EXPECT_NEAR(single.lineCount, fifty.lineCount, 50);
    EXPECT_NEAR(single.size.height, single.lineCount * lineHeight, 0.01);
    EXPECT_LE(single.size.width, 300);
    EXPECT_GT(single.size.width, 250);

    auto limited = measure(AttributedString(joined), 300, 2);
    EXPECT_EQ(limited.lineCount, 2);
    EXPECT_NEAR(limited.size.height, 2 * lineHeight, 0.01);
}

TEST(TextLayout, AWordLongerThanTheLineWrapsByCharacter) {
    // Long enough that on one line it would pass Pango's 32-bit positions.
    const Font large = Font::systemFont(40);
    constexpr std::size_t kLetters = 100'000;
    ASSERT_GT(kLetters * large.sizeOfText("a").width * 1024, 2.2e9);
    auto word = [&](std::size_t letters) {
        return TextLayout::measure(AttributedString(std::string(letters, 'a')), large, 300, 0,
                                   LineBreakMode::byWordWrapping);
    };
    // Short words tell how many letters the last line holds, and how many a line that ends in
    // a hyphen holds.
    auto longestOn = [&](int lines) {
        std::size_t letters = 1;
        while (word(letters + 1).lineCount <= lines)
            ++letters;
        return letters;
    };
    std::size_t lastLine = longestOn(1);
    std::size_t brokenLine = longestOn(2) - lastLine;
    auto twoLines = word(lastLine + 1);

    auto metrics = word(kLetters);
    int expectedLines = static_cast<int>(1 + (kLetters - lastLine + brokenLine - 1) / brokenLine);
    EXPECT_EQ(metrics.lineCount, expectedLines);
    EXPECT_NEAR(metrics.size.height, expectedLines * twoLines.size.height / 2, 0.01);
    EXPECT_DOUBLE_EQ(metrics.size.width, twoLines.size.width);
}

}  // namespace
