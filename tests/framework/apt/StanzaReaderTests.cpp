#include "framework/apt/StanzaReader.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace corvane
