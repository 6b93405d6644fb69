// Mail to a package's author: a contact field from a repository names one plain recipient and
// can add nobody and nothing else to the mail.
#include "framework/links/KSMailLink.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(KSMailLink, OnlyAPlainAddressBecomesTheRecipient) {
    for (const char* plain : {"ann@example.org", "a.b+tweaks@mail.example.co.uk", "x_y-z@a-b.io"})
        EXPECT_TRUE(KSMailLink::isPlainAddress(plain)) << plain;
    for (const char* hostile :
         {"", "ann", "@example.org", "ann@", "ann@localhost", "a@b@example.org",
          "ann@example.org?cc=boss@example.org", "ann@example.org&body=hi",
          "ann@example.org,eve@example.org", "Ann <ann@example.org>", "ann@exa mple.org",
          "ann@-example.org", "ann@example..org", "ann%40example.org"})
        EXPECT_FALSE(KSMailLink::isPlainAddress(hostile)) << hostile;

    auto link = KSMailLink::make("a.b+t@example.org", "Corvane 5: Question regarding X & Y?");
    ASSERT_TRUE(link);
    EXPECT_EQ(
        link->absoluteString(),
        "mailto:a.b%2Bt@example.org?subject=Corvane%205%3A%20Question%20regarding%20X%20%26%20"
        "Y%3F");
    auto hostile = KSMailLink::make("ann@example.org?bcc=eve@example.org&body=hi", "Hello");
    ASSERT_TRUE(hostile);
    EXPECT_EQ(hostile->absoluteString(), "mailto:?subject=Hello")
        << "no recipient rather than the ones the field smuggles in";
}

TEST(KSMailLink, AMailLinkFromOutsideKeepsOnlyItsRecipient) {
    auto reduced = [](const char* text) {
        auto url = foundation::URL::withString(text);
        EXPECT_TRUE(url) << text;
        auto link = url ? KSMailLink::recipientOnly(*url) : std::nullopt;
        return link ? link->absoluteString() : std::string("refused");
    };
    EXPECT_EQ(reduced("mailto:ann@example.org?cc=eve@example.org&body=Send%20money"),
              "mailto:ann@example.org");
    EXPECT_EQ(reduced("mailto:ann%2Btweaks@example.org"), "mailto:ann%2Btweaks@example.org");
    EXPECT_EQ(reduced("mailto:?to=eve@example.org"), "refused");
    EXPECT_EQ(reduced("mailto:ann@example.org,eve@example.org"), "refused");
    EXPECT_EQ(reduced("https://example.org/ann@example.org"), "refused");
}

}  // namespace
}  // namespace corvane
