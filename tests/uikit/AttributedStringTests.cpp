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

}  // namespace
