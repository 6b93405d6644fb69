#include "framework/storage/KSRPackageControlFields.h"

#include <gtest/gtest.h>

#include "framework/debian/ControlFileParser.h"
#include "framework/debian/StanzaReader.h"

namespace corvane {
namespace {

KSRPackage fromDictionary(const std::string& text) {
    KSRPackage package;
    KSRPackageControlFields::apply(ControlFileParser::parse(text).front().dictionary(), package);
    return package;
}

// Throws, failing the test, for a text without a stanza.
KSRPackage fromStanza(const std::string& text) {
    KSRPackage package;
    StanzaReader reader(text);
    KSRPackageControlFields::apply(reader.next().value(), package);
    return package;
}

// A refresh reads stanzas in place while the dpkg status goes through dictionaries: a package
// must come out the same either way, however oddly its stanza is written.
TEST(KSRPackageControlFields, AStanzaReadInPlaceGivesWhatItsDictionaryGives) {
    const std::vector<std::string> stanzas = {
        "Package: plain\nVersion: 1.0\nSection: Addons (Widgets)\nDepends: firmware (>= 12.0), "
        "a\n",
        "Package: later.author\nVersion: 1\nAuthor: Jane <jane@example.org>\nAuthor: Bob\n",
        "Package: own.email\nVersion: 1\nAuthor: Jane <jane@example.org>\n"
        "AuthorEmail: other@example.org\nMaintainerEmail: m@example.org\nMaintainer: Max\n",
        "Package: email.first\nVersion: 1\nAuthorEmail: other@example.org\n"
        "Author: Jane <jane@example.org>\n",
        "Package: nested\nVersion: 1\nMaintainer: A <b> <c@example.org>\nTag:   \nName:\n",
        "Package: lines\nVersion:\n 2.0\nDescription: Short\n long one\n .\n end\n"
        "Depends: a,\n b (>= 1) | c\nConflicts:\n",
    };
    for (const auto& text : stanzas) {
        const auto expected = fromDictionary(text);
        const auto actual = fromStanza(text);
        EXPECT_TRUE(KSRPackage::schema().equal(actual, expected)) << text;
    }
    const auto email = fromStanza(stanzas[2]);
    EXPECT_EQ(email.author, "Jane");
    EXPECT_EQ(email.contact, "other@example.org");
    EXPECT_EQ(email.maintainer, "Max");
    EXPECT_EQ(email.maintainerEmail, "m@example.org");
    const auto later = fromStanza(stanzas[1]);
    EXPECT_EQ(later.author, "Bob");
    EXPECT_EQ(later.authorEmail, "jane@example.org");
    const auto nested = fromStanza(stanzas[4]);
    EXPECT_EQ(nested.maintainer, "A <b>");
    EXPECT_EQ(nested.maintainerEmail, "c@example.org");
    EXPECT_EQ(nested.name, "nested");
    EXPECT_FALSE(nested.tag);
    const auto lines = fromStanza(stanzas[5]);
    EXPECT_EQ(lines.version, "2.0");
    EXPECT_EQ(lines.Description, "Short\nlong one\n.\nend");
    EXPECT_EQ(lines.dependencies, (std::vector<std::string>{"a", "b (>= 1) | c"}));
}

// The iOS bounds come from "firmware" dependencies written as dpkg reads them, with or without
// a blank after the operator; a bound that is an alternative or names no version bounds nothing.
TEST(KSRPackageControlFields, FirmwareDependenciesBoundTheIOSVersions) {
    const auto bounded = fromStanza(
        "Package: p\nVersion: 1\n"
        "Depends: firmware (>=12.0), firmware (<< 15.0)\n");
    EXPECT_EQ(bounded.minosversion, "12.0");
    EXPECT_EQ(bounded.maxosversion, "15.0");
    const auto obsolete = fromStanza("Package: p\nVersion: 1\nDepends: firmware (< 14)\n");
    EXPECT_FALSE(obsolete.minosversion);
    EXPECT_EQ(obsolete.maxosversion, "14");
    const auto unbounded = fromStanza(
        "Package: p\nVersion: 1\n"
        "Depends: firmware (>= ), firmware (= 13) | a, firmware\n");
    EXPECT_FALSE(unbounded.minosversion);
    EXPECT_FALSE(unbounded.maxosversion);
}

}  // namespace
}  // namespace corvane
