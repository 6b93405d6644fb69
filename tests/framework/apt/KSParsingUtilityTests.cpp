#include "framework/apt/KSParsingUtility.h"

#include <gtest/gtest.h>

#include "framework/debian/ControlFileParser.h"

namespace corvane {
namespace {

std::string field(const foundation::Value& record, const char* name) {
    return record[name].stringValue();
}

TEST(KSParsingUtility, ReadsFieldsValuesAndContacts) {
    const auto records = KSParsingUtility::arrayFromPackagesFromString(
        "Package: com.example.one\n"
        "Name: One\n"
        "Depiction: https://repo.example.com/depiction?id=1: see this\n"
        "Maintainer: Jane Doe <jane@example.com>\n"
        "Author: Solo Developer\n"
        "Version:1.0-1  \n"
        "\n"
        "Package: com.example.two\n"
        "Author: Team <team@example.com>\n"
        "Maintainer: <only@example.com>\n");
    ASSERT_EQ(records.size(), 2u);
    const auto& one = records[0];
    EXPECT_EQ(field(one, "Package"), "com.example.one");
    EXPECT_EQ(field(one, "Depiction"), "https://repo.example.com/depiction?id=1: see this");
    EXPECT_EQ(field(one, "Maintainer"), "Jane Doe");
    EXPECT_EQ(field(one, "MaintainerEmail"), "jane@example.com");
    EXPECT_EQ(field(one, "Author"), "Solo Developer");
    EXPECT_TRUE(one["AuthorEmail"].isNil());
    EXPECT_EQ(field(one, "Version"), "1.0-1");
    EXPECT_EQ(field(one, "rawPackage"),
              "Package: com.example.one\nName: One\n"
              "Depiction: https://repo.example.com/depiction?id=1: see this\n"
              "Maintainer: Jane Doe <jane@example.com>\nAuthor: Solo Developer\nVersion:1.0-1  ");
    EXPECT_EQ(field(records[1], "Author"), "Team");
    EXPECT_EQ(field(records[1], "AuthorEmail"), "team@example.com");
    EXPECT_EQ(field(records[1], "Maintainer"), "");
    EXPECT_EQ(field(records[1], "MaintainerEmail"), "only@example.com");
    EXPECT_EQ(field(records[1], "rawPackage"),
              "Package: com.example.two\nAuthor: Team <team@example.com>\n"
              "Maintainer: <only@example.com>");
}

TEST(KSParsingUtility, JoinsContinuationLinesOfAnyField) {
    const auto records = KSParsingUtility::arrayFromPackagesFromString(
        "Package: tweak\n"
        "Description: Short summary\n"
        " First line of more: with a colon\n"
        " .\n"
        "\tTabbed line   \n"
        "Conffiles:\n"
        " /etc/tweak.conf 0123abcd\n"
        " /etc/other.conf 4567ef01\n"
        "Section: Tweaks\n"
        "Tag: purpose::extension,\n"
        "  role::enduser\n"
        "a careless second line\n");
    ASSERT_EQ(records.size(), 1u);
    const auto& record = records[0];
    EXPECT_EQ(field(record, "Description"),
              "Short summary\nFirst line of more: with a colon\n.\nTabbed line");
    EXPECT_EQ(field(record, "Conffiles"), "/etc/tweak.conf 0123abcd\n/etc/other.conf 4567ef01");
    EXPECT_EQ(field(record, "Section"), "Tweaks");
    EXPECT_EQ(field(record, "Tag"), "purpose::extension,\n role::enduser\na careless second line");
    EXPECT_TRUE(record["First line of more"].isNil());
}

TEST(KSParsingUtility, ReadsCrlfAndSkipsStanzasWithoutPackage) {
    const auto records = KSParsingUtility::arrayFromPackagesFromString(
        "\r\n\r\n"
        "Origin: Example Repo\r\n"
        "Label: Example\r\n"
        "\r\n"
        "Package: a.b\r\n"
        "Description: Line one\r\n"
        " line two\r\n"
        "Maintainer: Jo <jo@example.com>\r\n"
        " \t \r\n"
        "Package: c.d\r\n"
        "Version: 2.0\r\n"
        "\r\n\r\n\n\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(field(records[0], "Package"), "a.b");
    EXPECT_EQ(field(records[0], "Description"), "Line one\nline two");
    EXPECT_EQ(field(records[0], "Maintainer"), "Jo");
    EXPECT_EQ(field(records[0], "MaintainerEmail"), "jo@example.com");
    EXPECT_EQ(
        field(records[0], "rawPackage"),
        "Package: a.b\r\nDescription: Line one\r\n line two\r\nMaintainer: Jo <jo@example.com>");
    EXPECT_EQ(field(records[1], "Version"), "2.0");
    EXPECT_EQ(field(records[1], "rawPackage"), "Package: c.d\r\nVersion: 2.0");
    for (const auto& record : records)
        EXPECT_TRUE(record["Origin"].isNil());
}

TEST(KSParsingUtility, EmptyAndBlankTextGiveNoRecords) {
    EXPECT_TRUE(KSParsingUtility::arrayFromPackagesFromString("").empty());
    EXPECT_TRUE(KSParsingUtility::arrayFromPackagesFromString("\n\n \n\r\n").empty());
    EXPECT_TRUE(KSParsingUtility::arrayFromPackagesFromString("Name: no package here").empty());
    const auto last = KSParsingUtility::arrayFromPackagesFromString("Package: x\nVersion: 1");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(field(last[0], "Version"), "1");
}

TEST(KSParsingUtility, StanzaDataCannotForgeTheRawText) {
    const auto records = KSParsingUtility::arrayFromPackagesFromString(
        "Package: p\nrawPackage: forged\n:no name\nMaintainer: A <a@x> \n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(field(records[0], "rawPackage"),
              "Package: p\nrawPackage: forged\n:no name\nMaintainer: A <a@x> ");
    EXPECT_EQ(field(records[0], "Maintainer"), "A");
    EXPECT_FALSE(records[0].contains(""));
}

TEST(ControlFileParser, KeepsStanzasWithoutPackageWhenNoFieldIsRequired) {
    const auto stanzas = ControlFileParser::parse("Origin: Example\nSuite: stable\n\nPackage: x\n");
    ASSERT_EQ(stanzas.size(), 2u);
    EXPECT_EQ(field(stanzas[0], "Origin"), "Example");
    EXPECT_EQ(ControlFileParser::parse("Origin: Example\n\nPackage: x\n", "Origin").size(), 1u);
}

}  // namespace
}  // namespace corvane
