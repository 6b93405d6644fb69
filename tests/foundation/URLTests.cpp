#include <gtest/gtest.h>

#include "foundation/URL.h"
#include "foundation/URLComponents.h"

using namespace foundation;

TEST(URL, TextThatIsNoURLGivesNothing) {
    for (const char* text :
         {"", "garbage", "example.com/path", "://no-scheme", "http://exa mple.com/",
          "http://example.com/a b", "http://example.com/%zz", "http://example.com/\xC3\xBC",
          "http://example.com/<script>", "http://example.com:99999/", " http://example.com/"})
        EXPECT_FALSE(URL::withString(text)) << "'" << text << "'";
}

TEST(URL, PartsAreParsedAndDecoded) {
    const char* text =
        "https://Repo.Example.com:8443/dists/my%20stable/Release.gpg?a=1&b=x%20y&flag&c=%26%3D#top";
    auto url = URL::withString(text);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), text);
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->host(), "Repo.Example.com");
    EXPECT_EQ(url->port(), 8443);
    EXPECT_EQ(url->path(), "/dists/my stable/Release.gpg");
    EXPECT_EQ(url->pathComponents(),
              (std::vector<std::string>{"/", "dists", "my stable", "Release.gpg"}));
    EXPECT_EQ(url->lastPathComponent(), "Release.gpg");
    EXPECT_EQ(url->pathExtension(), "gpg");
    EXPECT_EQ(url->query(), "a=1&b=x%20y&flag&c=%26%3D");
    EXPECT_EQ(
        url->queryItems(),
        (std::vector<URLQueryItem>{{"a", "1"}, {"b", "x y"}, {"flag", std::nullopt}, {"c", "&="}}));
    EXPECT_EQ(url->fragment(), "top");
    EXPECT_FALSE(url->isFileURL());

    auto bare = URL::withString("HTTP://example.com");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->scheme(), "http");
    EXPECT_FALSE(bare->port());
    EXPECT_FALSE(bare->query());
    EXPECT_TRUE(bare->queryItems().empty());
}

TEST(URL, OpaqueURLsKeepTheirScheme) {
    auto script = URL::withString("javascript:alert(1)");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->scheme(), "javascript");
    EXPECT_EQ(script->host(), "");
    EXPECT_EQ(script->path(), "");
    EXPECT_EQ(script->URLByAppendingPathComponent("x"), *script);
    const auto blank = URL::withString("about:blank");
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->absoluteString(), "about:blank");
}

TEST(URL, RelativeReferencesResolveAgainstTheBase) {
    auto base = URL::withString("https://repo.example.com/dists/stable/Release?x=1");
    ASSERT_TRUE(base);
    auto resolve = [&](const char* text) {
        auto url = URL::withString(text, *base);
        return url ? url->absoluteString() : std::string("<none>");
    };
    EXPECT_EQ(resolve("../main/Packages.gz"), "https://repo.example.com/dists/main/Packages.gz");
    EXPECT_EQ(resolve("InRelease"), "https://repo.example.com/dists/stable/InRelease");
    EXPECT_EQ(resolve("/icon.png"), "https://repo.example.com/icon.png");
    EXPECT_EQ(resolve("//cdn.example.org/a.png"), "https://cdn.example.org/a.png");
    EXPECT_EQ(resolve("http://other.example.net/"), "http://other.example.net/");
    EXPECT_EQ(resolve("a b"), "<none>");
    EXPECT_EQ(resolve("//s%e1./.%2e/x.png"), "<none>");
    EXPECT_EQ(resolve("//cdn%2eexample.org/a.png"), "https://cdn.example.org/a.png");
}

TEST(URL, FileURLsAndAppendedComponentsAreEscaped) {
    auto file = URL::fileURL("/tmp/with space/pkg_1.0#2.deb");
    EXPECT_TRUE(file.isFileURL());
    EXPECT_EQ(file.absoluteString(), "file:///tmp/with%20space/pkg_1.0%232.deb");
    EXPECT_EQ(file.path(), "/tmp/with space/pkg_1.0#2.deb");
    EXPECT_EQ(file.pathExtension(), "deb");
    EXPECT_FALSE(file.fragment());

    auto base = URL::withString("https://example.com/depictions?id=7");
    ASSERT_TRUE(base);
    auto appended = base->URLByAppendingPathComponent("a b?.html");
    EXPECT_EQ(appended.absoluteString(), "https://example.com/depictions/a%20b%3F.html?id=7");
    EXPECT_EQ(appended.lastPathComponent(), "a b?.html");
    EXPECT_EQ(appended, URL::withString("https://example.com/depictions/a%20b%3F.html?id=7"));
}

TEST(URL, ComponentsEscapeQueryItemsSoTheyDecodeAsGiven) {
    URLComponents components;
    components.scheme = "https";
    components.host = "api.example.com";
    components.path = "/v1/search results";
    components.queryItems = {
        {"q", "tweak & theme=dark+1 #2"}, {"lang", "fr-ç"}, {"bare", std::nullopt}};
    auto url = components.url();
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host(), "api.example.com");
    EXPECT_EQ(url->path(), "/v1/search results");
    EXPECT_EQ(url->queryItems(), components.queryItems);
    EXPECT_FALSE(url->fragment());

    components.scheme = "";
    EXPECT_FALSE(components.url());
}
