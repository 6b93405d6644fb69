#include "uikit/AttributedString.h"

#include <gtest/gtest.h>

namespace {

using namespace uikit;

TextAttributes withFont(Font font) {
    TextAttributes a;
    a.font = font;
    return a;
}

TextAttributes withLink(std::string url) {
    TextAttributes a;
    a.link = std::move(url);
    return a;
}

TEST(AttributedString, RunsFollowEditsAcrossTheirEdges) {
    AttributedString text("Hello ", withFont(Font::systemFont(12)));
    text.append("world", withFont(Font::boldSystemFont(12)));
    ASSERT_EQ(text.runs().size(), 2u);

    TextAttributes red;
    red.foregroundColor = Color::systemRed();
    text.addAttributes(red, {3, 5});  // "lo wo"
    ASSERT_EQ(text.runs().size(), 4u);
    EXPECT_EQ(text.runs()[1].range, (TextRange{3, 3}));
    EXPECT_EQ(text.attributesAt(7).font, Font::boldSystemFont(12));
    EXPECT_EQ(text.attributesAt(7).foregroundColor, Color::systemRed());

    text.removeAttribute(AttributeKey::foregroundColor, {0, text.length()});
    EXPECT_EQ(text.runs().size(), 2u);  // equal neighbours merge again

    text.deleteCharacters({4, 4});  // "Hell" + "rld"
    EXPECT_EQ(text.string(), "Hellrld");
    EXPECT_EQ(text.runs()[0].range, (TextRange{0, 4}));
    EXPECT_EQ(text.runs()[1].range, (TextRange{4, 3}));
    text.deleteCharacters({5, 100});
    EXPECT_EQ(text.string(), "Hellr");
    text.replaceCharacters({0, 1}, "J");
    EXPECT_EQ(text.string(), "Jellr");
    EXPECT_EQ(text.attributesAt(0).font, Font::systemFont(12));
}

TEST(AttributedString, NeverSplitsACharacter) {
    AttributedString text("naïve café");
    text.deleteCharacters({3, 1});  // the middle of "ï" takes the whole letter
    EXPECT_EQ(text.string(), "nave café");
    text.addAttributes(withFont(Font::boldSystemFont(9)), {9, 1});
    EXPECT_EQ(text.substring({8, 3}).string(), "é");
    EXPECT_EQ(text.substring({8, 3}).runs().size(), 1u);
}

TEST(AttributedString, LinksAreFoundWholeAcrossRuns) {
    AttributedString text("Read the ");
    text.append("release notes", withLink("https://example.org/notes"));
    text.append(".");
    text.addAttributes(withFont(Font::boldSystemFont(12)), {9, 7});  // part of the link in bold
    auto links = text.links();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].first, (TextRange{9, 13}));
    EXPECT_EQ(links[0].second, "https://example.org/notes");

    Size narrow = text.boundingSize(60, 0, Font::systemFont(12));
    Size wide = text.boundingSize(0, 0, Font::systemFont(12));
    EXPECT_GT(narrow.height, wide.height);
}

TEST(AttributedString, AppendingRunByRunKeepsEveryRunInPlace) {
    constexpr std::size_t kRuns = 200'000;
    const TextAttributes plain, bold = withFont(Font::boldSystemFont(12));
    AttributedString text;
    for (std::size_t i = 0; i < kRuns; ++i)
        text.append(i % 2 ? "ab" : "c", i % 2 ? bold : plain);
    ASSERT_EQ(text.runs().size(), kRuns);
    EXPECT_EQ(text.length(), kRuns / 2 * 3);
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, kRuns / 2 + 1, kRuns - 1}) {
        EXPECT_EQ(text.runs()[i].range, (TextRange{i / 2 * 3 + i % 2, 1 + i % 2})) << i;
        EXPECT_EQ(text.runs()[i].attributes, i % 2 ? bold : plain) << i;
    }

    text.append("d", bold);
    text.append(AttributedString("e", bold));
    EXPECT_EQ(text.runs().size(), kRuns) << "equal attributes extend the last run";
    EXPECT_EQ(text.runs().back().range.length, 4u);

    AttributedString twice("x", plain);
    twice.append("y", bold);
    twice.append(twice);
    EXPECT_EQ(twice.string(), "xyxy");
    EXPECT_EQ(twice.runs().size(), 4u);
    EXPECT_EQ(twice.runs()[2].range, (TextRange{2, 1}));
}

}  // namespace
