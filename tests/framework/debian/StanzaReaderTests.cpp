#include "framework/debian/StanzaReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(StanzaReader, ViewsTheTextAndKeepsFieldsAsWritten) {
    const std::string text =
        "\n \t\n"
        "stray line before any field\n"
        "Package : one\r\n"
        "Description: Summary  \r\n"
        "  indented more\r\n"
        "no colon here\r\n"
        "Tag: a\n"
        "Tag: b\n"
        "\n"
        "Conffiles:\n"
        " /etc/x 1\n";
    StanzaReader reader(text);

    const auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text().data(), text.data() + 4) << "a view of the text, not a copy";
    EXPECT_EQ(first->text(),
              "stray line before any field\nPackage : one\r\nDescription: Summary  \r\n"
              "  indented more\r\nno colon here\r\nTag: a\nTag: b");
    ASSERT_EQ(first->fields().size(), 4u) << "the stray line belongs to no field";
    EXPECT_EQ(first->fields()[0].name, "Package");
    EXPECT_EQ(first->fields()[0].value(), "one");
    const auto* description = first->field("Description");
    ASSERT_TRUE(description);
    EXPECT_TRUE(description->continues());
    EXPECT_EQ(description->value(), "Summary\n indented more\nno colon here");
    EXPECT_EQ(first->field("Tag")->value(), "b") << "a later duplicate replaces an earlier one";
    EXPECT_TRUE(first->contains("Tag"));
    EXPECT_FALSE(first->field("Missing"));
    EXPECT_FALSE(first->contains("Missing"));

    const auto second = reader.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text(), "Conffiles:\n /etc/x 1");
    EXPECT_EQ(second->field("Conffiles")->value(), "/etc/x 1") << "no newline after an empty line";
    EXPECT_FALSE(reader.next());
    EXPECT_FALSE(reader.next()) << "stays at the end";

    EXPECT_FALSE(StanzaReader("").next());
    EXPECT_FALSE(StanzaReader(" \n\r\n\t\n").next());
    const auto last = StanzaReader("\n\nPackage: x").next();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text(), "Package: x") << "the last line may have no line end";
}

std::vector<std::string> stanzaTexts(std::string_view text) {
    std::vector<std::string> texts;
    StanzaReader reader(text);
    while (const auto stanza = reader.next())
        texts.emplace_back(stanza->text());
    return texts;
}

// An index arrives in pieces cut where endOfLastStanza says: the pieces must read as the whole.
TEST(StanzaReader, ACutAtTheLastStanzaEndSplitsNoStanza) {
    const std::string text =
        "Package: a\nDescription: one\n more\n\n"
        "Package: b\r\nVersion: 1\r\n \t\r\n"
        "Package: c\n\n\n\n"
        "Package: d\nDescription: spaces\n  \n"
        "Package: e";
    const auto whole = stanzaTexts(text);
    ASSERT_EQ(whole.size(), 5u);
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const std::string_view prefix(text.data(), length);
        const auto cut = StanzaReader::endOfLastStanza(prefix);
        if (cut == std::string_view::npos) {
            EXPECT_LT(length, std::string("Package: a\nDescription: one\n more\n\n").size());
            continue;
        }
        ASSERT_LE(cut, length);
        EXPECT_EQ(text[cut - 1], '\n');
        auto parts = stanzaTexts(std::string_view(text).substr(0, cut));
        const auto rest = stanzaTexts(std::string_view(text).substr(cut));
        parts.insert(parts.end(), rest.begin(), rest.end());
        EXPECT_EQ(parts, whole) << "cut at " << cut;
        // Only lines that end at or after "from" are looked at.
        EXPECT_EQ(StanzaReader::endOfLastStanza(prefix, cut), std::string_view::npos);
        EXPECT_EQ(StanzaReader::endOfLastStanza(prefix, cut - 1), cut);
    }
    EXPECT_EQ(StanzaReader::endOfLastStanza("Package: x\nVersion: 1\n"), std::string_view::npos);
}

}  // namespace
}  // namespace corvane
