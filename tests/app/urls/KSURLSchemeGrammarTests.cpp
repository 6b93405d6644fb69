#include <gtest/gtest.h>

#include <string>

#include "app/urls/KSURLQueryParser.h"
#include "app/urls/KSURLSchemeGrammar.h"
#include "framework/links/KSLoggedURL.h"

namespace corvane::testing {
namespace {

using Action = KSURLSchemeRequest::Action;

foundation::Result<KSURLSchemeRequest> parse(const std::string& text) {
    auto url = foundation::URL::withString(text);
    if (!url)
        return foundation::Error::make("test", 0, "not a URL: " + text);
    return KSURLSchemeGrammar::parse(*url);
}

std::string repositoryOf(const std::string& text) {
    auto request = parse(text);
    if (!request)
        return "refused: " + request.error().localizedDescription();
    EXPECT_EQ(request->action, Action::addRepository) << text;
    return request->repository;
}

TEST(KSURLSchemeGrammarTests, AnAddressToAddIsTakenWholeAndNormalised) {
    EXPECT_EQ(repositoryOf("corvane://add/repo.example.org"), "https://repo.example.org/");
    EXPECT_EQ(repositoryOf("corvane://add/http://repo.example.org"), "http://repo.example.org/");
    EXPECT_EQ(repositoryOf("corvane://add/https://repo.example.org/apt/"),
              "https://repo.example.org/apt/");
    // A host that merely begins with "http" has no scheme yet.
    EXPECT_EQ(repositoryOf("corvane://add/httprepo.example.org"), "https://httprepo.example.org/");
    // "add/" inside the address belongs to the address.
    EXPECT_EQ(repositoryOf("corvane://add/repo.example.org/add/more"),
              "https://repo.example.org/add/more/");
    // The link that a shared source carries.
    EXPECT_EQ(repositoryOf("corvane://add/repo=https://repo.example.org/"),
              "https://repo.example.org/");
    EXPECT_EQ(repositoryOf("CORVANE://ADD/repo.example.org"), "https://repo.example.org/");

    EXPECT_FALSE(parse("corvane://add/"));
    EXPECT_FALSE(parse("corvane://add/repo="));
    EXPECT_FALSE(parse("corvane://add")) << "no marker: nothing is taken from nowhere";
    EXPECT_FALSE(parse("corvane://someone@add/repo.example.org"));
    EXPECT_FALSE(parse("corvane://add:80/repo.example.org"));
}

TEST(KSURLSchemeGrammarTests, AShareServiceLinkGivesItsAddressWithoutATrailingSlash) {
    EXPECT_EQ(
        repositoryOf("corvane://url/https://share.example.com/api/share#?source=repo.example.org"),
        "https://repo.example.org");
    EXPECT_EQ(
        repositoryOf(
            "corvane://url/https://share.example.com/api/share#?source=http://r.example.org/"),
        "http://r.example.org/");
    for (const char* broken : {"corvane://url/repo.example.org",
                               "corvane://url/http://share.example.com/api/share#?source=r.org",
                               "corvane://url/https:///api/share#?source=r.org",
                               "corvane://url/https://a.example/b/api/share#?source=r.org",
                               "corvane://url/https://share.example.com/api/share#?source="})
        EXPECT_FALSE(parse(broken)) << broken;
}

TEST(KSURLSchemeGrammarTests, APackageLinkNamesThePackageItsNameAndItsRepository) {
    auto shared = parse(
        "corvane://show/shared=Corvane&name=Cool+Tweak%21&bundleid=com.example.cool"
        "&repo=https%3A%2F%2Frepo.example.org%2Fapt");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->action, Action::showPackage);
    EXPECT_EQ(shared->packageIdentifier, "com.example.cool");
    EXPECT_EQ(shared->packageName, "Cool Tweak!");
    EXPECT_EQ(shared->repository, "https://repo.example.org/apt/");

    // As the share text writes it, the repository's address unescaped.
    auto plain = parse(
        "corvane://show/shared=Corvane&name=Cool&bundleid=com.example.cool"
        "&repo=http://127.0.0.1:8080/");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->repository, "http://127.0.0.1:8080/");

    auto bare = parse("corvane://show/com.example.cool");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->packageIdentifier, "com.example.cool");
    EXPECT_EQ(bare->packageName, std::nullopt);
    EXPECT_EQ(bare->repository, "");

    auto pairs =
        parse("corvane://show/bundleid=com.example.old&name=A=B&bundleid=com.example.cool");
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->packageIdentifier, "com.example.cool") << "a later pair wins";
    EXPECT_EQ(pairs->packageName, "A=B") << "a value runs from the first \"=\"";

    for (const char* refused :
         {"corvane://show/", "corvane://show/-rf&name=x", "corvane://show/bundleid=a;b",
          "corvane://show/bundleid=..%2Fetc", "corvane://show/name=Cool+Tweak", "corvane://show"})
        EXPECT_FALSE(parse(refused)) << refused;
}

TEST(KSURLSchemeGrammarTests, ADeveloperIsNamedWithOrWithoutItsKeyAndPlusIsABlank) {
    for (const char* text :
         {"corvane://developer/Ann+Example", "corvane://developer/developer=Ann+Example",
          "corvane://developer/Ann%20Example/more"}) {
        auto request = parse(text);
        ASSERT_TRUE(request) << text;
        EXPECT_EQ(request->action, Action::showDeveloper);
        EXPECT_EQ(request->developerName, "Ann Example") << text;
    }
    EXPECT_FALSE(parse("corvane://developer/"));
    EXPECT_FALSE(parse("corvane://developer/developer=+"));
}

TEST(KSURLSchemeGrammarTests, OnlyTheApplicationsOwnHostsAndSchemeAreRead) {
    for (const char* refused :
         {"https://add/repo.example.org", "corvanex://add/repo.example.org",
          "corvane://install/com.example.cool", "corvane:add/repo.example.org"})
        EXPECT_FALSE(parse(refused)) << refused;
    // A link may be exactly as long as the limit, not one byte longer.
    const std::string prefix = "corvane://add/repo.example.org/";
    const std::string atLimit =
        prefix + std::string(KSURLSchemeGrammar::kMaximumLength - prefix.size(), 'a');
    ASSERT_EQ(atLimit.size(), KSURLSchemeGrammar::kMaximumLength);
    EXPECT_EQ(repositoryOf(atLimit), "https://" + atLimit.substr(14) + "/");
    auto tooLong = parse(atLimit + "a");
    ASSERT_FALSE(tooLong);
    EXPECT_NE(tooLong.error().localizedDescription().find("too long"), std::string::npos);
}

TEST(KSURLSchemeGrammarTests, QueryValuesAreDecodedAsAFormIs) {
    EXPECT_EQ(KSURLQueryParser::parseComponents("a=1+2%2B3&b=x", "a"), "1 2+3");
    EXPECT_EQ(KSURLQueryParser::parseComponents("a=1&novalue&b", "b"), std::nullopt);
    EXPECT_EQ(KSURLQueryParser::parseComponents("a%20b=c", "a b"), "c");
    EXPECT_EQ(KSURLQueryParser::parseComponents("a=%zz", "a"), std::nullopt);
    EXPECT_EQ(KSURLQueryParser::parseComponents("a=%FF", "a"), std::nullopt) << "no UTF-8";
    EXPECT_EQ(KSURLQueryParser::parseComponents("a=", "a"), "");
}

TEST(KSLoggedURLTests, ALoggedURLIsOneLineOfSaneLength) {
    EXPECT_EQ(KSLoggedURL::text("corvane://add/a"), "corvane://add/a");
    EXPECT_EQ(KSLoggedURL::text("a\nfake line\r\x1b[0m"), "a?fake line??[0m");
    const std::string longText = "x" + std::string(KSLoggedURL::kMaximumBytes, 'y');
    EXPECT_EQ(KSLoggedURL::text(longText), longText.substr(0, KSLoggedURL::kMaximumBytes) + "…");
    // A character that would be cut in two is left out whole.
    const std::string accented = std::string(KSLoggedURL::kMaximumBytes - 1, 'a') + "é";
    EXPECT_EQ(KSLoggedURL::text(accented), std::string(KSLoggedURL::kMaximumBytes - 1, 'a') + "…");
}

}  // namespace
}  // namespace corvane::testing
