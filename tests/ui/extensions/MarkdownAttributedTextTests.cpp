// Markdown from repositories as the pages show it: hostile links and raw HTML never survive, the
// text is spaced, coloured for the mode and ends without line breaks.
#include "ui/extensions/MarkdownAttributedText.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

uikit::AttributedString converted(const std::string& markdown, bool dark = false) {
    return MarkdownAttributedText::attributedTextFromMarkdown(foundation::Value(markdown), dark);
}

std::vector<std::string> linkTargets(const uikit::AttributedString& text) {
    std::vector<std::string> targets;
    for (const auto& [range, url] : text.links())
        targets.push_back(url);
    return targets;
}

TEST(MarkdownAttributedText, NothingGivesAnEmptyText) {
    EXPECT_TRUE(MarkdownAttributedText::attributedTextFromMarkdown({}, false).empty());
    EXPECT_TRUE(MarkdownAttributedText::attributedTextFromMarkdown(foundation::Value::null(), false)
                    .empty());
    EXPECT_TRUE(converted("").empty());
    EXPECT_TRUE(
        MarkdownAttributedText::attributedTextFromMarkdown(foundation::Value(3), false).empty());
}

TEST(MarkdownAttributedText, HostileLinksAndRawHTMLAreDroppedButTheirTextStays) {
    auto text = converted(
        "Tap [here](javascript:alert(1)) or [there](data:text/html;base64,PHNjcmlwdD4=) or "
        "[home](file:///etc/passwd) or [site](https://example.com/a).\n\n"
        "<script>alert('x')</script><img src=\"https://example.com/t.png\" onerror=\"x()\">\n\n"
        "<b>raw</b> end");
    EXPECT_NE(text.string().find("Tap here or there or home or site."), std::string::npos)
        << text.string();
    EXPECT_EQ(linkTargets(text), std::vector<std::string>{"https://example.com/a"});
    EXPECT_EQ(text.string().find("alert"), std::string::npos);
    EXPECT_EQ(text.string().find("<"), std::string::npos);
    EXPECT_NE(text.string().find("end"), std::string::npos);
    EXPECT_EQ(MarkdownAttributedText::htmlFromMarkdown("<b>raw</b>", false).find("<b>"),
              std::string::npos)
        << "raw HTML never reaches the import";
}

TEST(MarkdownAttributedText, HeadingsAndParagraphsAreSpacedAndTrailingBreaksGo) {
    auto text = converted("# Title\n\nFirst paragraph.\n\nSecond paragraph.\n\n\n\n");
    const std::string& plain = text.string();
    ASSERT_FALSE(plain.empty());
    EXPECT_NE(plain.back(), '\n');
    const auto title = plain.find("Title");
    const auto first = plain.find("First paragraph.");
    const auto second = plain.find("Second paragraph.");
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(plain.substr(title, first - title).find("\n\n"), std::string::npos)
        << "a blank line under the heading";
    EXPECT_NE(plain.substr(first, second - first).find("\n\n"), std::string::npos)
        << "a blank line between paragraphs";
    for (const auto& run : text.runs()) {
        ASSERT_TRUE(run.attributes.paragraphStyle);
        EXPECT_EQ(run.attributes.paragraphStyle->alignment, uikit::TextAlignment::left);
    }
}

TEST(MarkdownAttributedText, EveryItemOfALooseListStaysBesideItsBullet) {
    const std::string bullet = "\u2022 ";
    for (const char* markdown : {"- one\n- two\n- three", "- one\n\n- two\n\n- three"}) {
        const auto text = converted(markdown).string();
        EXPECT_EQ(text, bullet + "one\n" + bullet + "two\n" + bullet + "three") << markdown;
    }
    EXPECT_NE(converted("### 1\\.0\\.2 \\*beta\\* \\#3").string().find("1.0.2 *beta* #3"),
              std::string::npos)
        << "an escaped heading reads as written";
}

TEST(MarkdownAttributedText, LinksLoseTheirUnderlineAndTheColourFollowsTheMode) {
    auto light = converted("Visit <https://example.com/page> today");
    auto links = light.links();
    ASSERT_EQ(links.size(), 1u);
    const auto attributes = light.attributesAt(links[0].first.location);
    EXPECT_FALSE(attributes.underlineStyle &&
                 *attributes.underlineStyle != uikit::UnderlineStyle::none);
    EXPECT_FALSE(attributes.underlineColor);

    const auto plainAt = light.string().find("today");
    auto lightColour = light.attributesAt(plainAt).foregroundColor;
    ASSERT_TRUE(lightColour);
    EXPECT_EQ(*lightColour, uikit::Color::black());
    auto dark = converted("Visit <https://example.com/page> today", true);
    auto darkColour = dark.attributesAt(dark.string().find("today")).foregroundColor;
    ASSERT_TRUE(darkColour);
    EXPECT_EQ(*darkColour, uikit::Color::white());
    auto font = light.attributesAt(plainAt).font;
    ASSERT_TRUE(font);
    EXPECT_EQ(font->pointSize(), MarkdownAttributedText::kFontSize);
}

}  // namespace
}  // namespace corvane
