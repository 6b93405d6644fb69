#include "framework/links/URLsFromString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> addresses(std::string_view text) {
    std::vector<std::string> result;
    for (const auto& url : URLs(text))
        result.push_back(url.absoluteString());
    return result;
}

TEST(URLsFromString, FindsEveryAddressWithSchemeAndHostInTextOrder) {
    const std::string text =
        "Changelog at https://repo.example.com/changes?id=1&v=2#top, mirror "
        "(http://mirror.example.org/a_(b).) and <ftp://files.example.net/x.deb>.\n"
        "Not these: mailto:dev@example.com, www.example.com, https:// alone, ://nothing, "
        "file:///etc/passwd, \"https://quoted.example.com/p\" and "
        "sileo://source/https://r.example.com/";
    EXPECT_EQ(addresses(text), (std::vector<std::string>{
                                   "https://repo.example.com/changes?id=1&v=2#top",
                                   "http://mirror.example.org/a_(b)",
                                   "ftp://files.example.net/x.deb",
                                   "https://quoted.example.com/p",
                                   "sileo://source/https://r.example.com/",
                               }));
    const auto first = URLs(text).front();
    EXPECT_EQ(first.scheme(), "https");
    EXPECT_EQ(first.host(), "repo.example.com");
}

TEST(URLsFromString, StopsAtCharactersNoURLHolds) {
    EXPECT_EQ(addresses("see https://a.example.com/π/x or https://b.example.com/q?x=1'"),
              (std::vector<std::string>{"https://a.example.com/", "https://b.example.com/q?x=1"}));
    EXPECT_EQ(addresses("1https://digits.example.com!"),
              (std::vector<std::string>{"https://digits.example.com"}));
    EXPECT_TRUE(URLs("").empty());
    EXPECT_TRUE(URLs("no addresses here: just text.").empty());
}

}  // namespace
}  // namespace corvane
