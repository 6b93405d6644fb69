#include "framework/depictions/KSSileoDepiction.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/depictions/DepictionAnswer.h"
#include "framework/depictions/KSDepictionsParser.h"

namespace corvane {
namespace {

using testing::textOf;
using testing::urlsOf;
using Depiction = std::shared_ptr<const KSSileoDepiction>;

Depiction load(std::string_view json) {
    return KSDepictionsParser::instance().depictionsParserWithSileoData({json.begin(), json.end()});
}

std::optional<std::string> banner(const Depiction& depiction) {
    return textOf([&](auto done) { depiction->retrieveBannerURLFromSileoDepiction(done); });
}
std::optional<std::string> changelog(const Depiction& depiction) {
    return textOf([&](auto done) { depiction->retrieveChangelogFromSileoDepiction(done); });
}
std::optional<std::string> description(const Depiction& depiction) {
    return textOf([&](auto done) { depiction->retrieveDescriptionFromSileoDepiction(done); });
}
std::optional<std::string> externalChangelog(const Depiction& depiction) {
    return textOf([&](auto done) { depiction->retrieveExternalChangelogFromSileoDepiction(done); });
}
std::vector<std::string> screenshots(const Depiction& depiction) {
    return urlsOf([&](auto done) { depiction->retrieveScreenshotsFromSileoDepiction(done); });
}

TEST(KSSileoDepiction, TheSampleDepictionGivesEveryPart) {
    auto json = foundation::FileManager::readText(std::string(MAIN_BUNDLE_RESOURCES_DIR) +
                                                  "/sample-repo/web/depictions/native.json");
    ASSERT_TRUE(json.ok());
    const auto depiction = load(foundation::replace(*json, "@BASE@", "http://127.0.0.1:8080"));

    EXPECT_EQ(banner(depiction), "http://127.0.0.1:8080/depictions/banner.png");
    EXPECT_EQ(description(depiction),
              "A tweak described by a **native** depiction.\n\n- one\n- two");
    EXPECT_EQ(changelog(depiction), "### 2.4\n- Faster start-up\n### 2.3\n- First release");
    EXPECT_EQ(externalChangelog(depiction), "http://127.0.0.1:8080/depictions/changelog.html");
    EXPECT_EQ(screenshots(depiction),
              (std::vector<std::string>{"http://127.0.0.1:8080/depictions/shot1.png",
                                        "http://127.0.0.1:8080/depictions/shot2.png"}));
}

TEST(KSSileoDepiction, ABannerIsNilWhenAbsentNullOrNotFetchable) {
    for (const char* json :
         {R"({"tabs": []})", R"({"headerImage": null})", R"({"headerImage": 12})",
          R"({"headerImage": ""})", R"({"headerImage": "banner.png"})",
          R"({"headerImage": "file:///etc/passwd"})", R"({"headerImage": "javascript:alert(1);"})"})
        EXPECT_EQ(banner(load(json)), std::nullopt) << json;
    EXPECT_EQ(banner(load(R"({"headerImage": "https://x.example/b.png"})")),
              "https://x.example/b.png");
}

TEST(KSSileoDepiction, TabsAreFoundByName) {
    const auto depiction = load(R"({"tabs": [
        {"tabname": "Change Log", "views": [
            {"class": "DepictionMarkdownView", "markdown": "- fixed"}]},
        {"tabname": "Other", "views": [{"class": "DepictionMarkdownView", "markdown": "other"}]},
        {"tabname": "Details", "views": [
            {"class": "DepictionStackView", "views": [
                {"class": "DepictionMarkdownView", "markdown": "first"},
                {"class": "DepictionSeparatorView"},
                {"class": "DepictionMarkdownView", "markdown": "second"}]}]}]})");
    EXPECT_EQ(changelog(depiction), "- fixed");
    EXPECT_EQ(description(depiction), "first\n\nsecond") << "the Details tab, wherever it is";

    const auto unnamed = load(R"({"tabs": [
        {"tabname": "Changelog", "views": [{"class": "DepictionMarkdownView", "markdown": "1.0"}]},
        {"tabname": "About", "views": [{"class": "DepictionMarkdownView", "markdown": "about"}]},
        {"tabname": "Changes", "views": [{"class": "DepictionMarkdownView", "markdown": "x"}]}]})");
    EXPECT_EQ(changelog(unnamed), "1.0");
    EXPECT_EQ(description(unnamed), "about") << "the first tab that is no changelog";

    const auto noChangelog = load(R"({"tabs": [{"tabname": "Changes", "views": [
        {"class": "DepictionMarkdownView", "markdown": "not a changelog tab"}]}]})");
    EXPECT_EQ(changelog(noChangelog), std::nullopt);

    const auto stack = load(R"({"class": "DepictionStackView", "views": [
        {"class": "DepictionMarkdownView", "markdown": "single stack"}]})");
    EXPECT_EQ(description(stack), "single stack");
}

TEST(KSSileoDepiction, HeaderViewsBecomeHeadingsThatReadAsWritten) {
    const auto depiction = load(R"({"tabs": [
        {"tabname": "Changelog", "views": [
            {"class": "DepictionSubheaderView", "title": "Version 1.5.0", "useBoldText": true},
            {"class": "DepictionMarkdownView", "markdown": "- one\n- two"},
            {"class": "DepictionSeparatorView"},
            {"class": "DepictionHeaderView", "title": "1.0.2 *beta* #3"},
            {"class": "DepictionMarkdownView", "markdown": "- three"}]},
        {"tabname": "Details", "views": [
            {"class": "DepictionHeaderView", "title": ""},
            {"class": "DepictionTableTextView", "title": "Version", "text": "1.5.0"},
            {"class": "DepictionTableButtonView", "title": "Support", "action": "https://s.example"},
            {"class": "DepictionHeaderView", "title": "Features"},
            {"class": "DepictionMarkdownView", "markdown": "Fast"}]}]})");
    EXPECT_EQ(changelog(depiction),
              "### Version 1\\.5\\.0\n\n- one\n- two\n\n### 1\\.0\\.2 \\*beta\\* \\#3\n\n- three");
    EXPECT_EQ(description(depiction), "### Features\n\nFast")
        << "only header views give headings, and only with a title";
}

TEST(KSSileoDepiction, AnExternalChangelogComesFromTheOtherTabsAndOnlyOverHttp) {
    const auto depiction = load(R"({"tabs": [
        {"tabname": "Changelog", "views": [
            {"class": "DepictionTableButtonView", "title": "Changelog",
             "action": "https://inside.example/changelog"}]},
        {"tabname": "Details", "views": [
            {"class": "DepictionTableButtonView", "title": "Support", "action": "https://s.example"},
            {"class": "DepictionStackView", "views": [
                {"class": "DepictionTableButtonView", "title": "Changelog",
                 "action": "https://outside.example/changelog"}]}]}]})");
    EXPECT_EQ(externalChangelog(depiction), "https://outside.example/changelog");

    for (const char* action : {"javascript:alert(document.cookie)", "file:///etc/passwd",
                               "changelog.html", "depiction-https://x.example"}) {
        const auto unsafe = load(std::string(R"({"tabs": [{"tabname": "Details", "views": [
            {"class": "DepictionTableButtonView", "title": "Changelog", "action": ")") +
                                 action + R"("}]}]})");
        EXPECT_EQ(externalChangelog(unsafe), std::nullopt) << action;
    }
}

TEST(KSSileoDepiction, ScreenshotsAreTheFetchableEntriesInOrder) {
    EXPECT_TRUE(screenshots(load(R"({"tabs": [{"tabname": "Details", "views": []}]})")).empty());
    const auto depiction = load(R"({"tabs": [
        {"tabname": "Details", "views": [
            {"class": "DepictionScreenshotsView", "screenshots": [
                {"url": "https://a.example/1.png"}, {"url": "file:///etc/passwd"},
                {"url": "javascript:alert(1);"
}, {"url": null}, {"accessibilityText": "no url"},
                {"url": "http://a.example/2.png"}]
}]
},
        {"tabname": "Gallery", "views": [
            {"class": "DepictionScreenshotsView", "screenshots": [{"url": "https://b.example/3.png"}]}]}]
})");
    EXPECT_EQ(screenshots(depiction),
              (std::vector<std::string>{"https://a.example/1.png", "http://a.example/2.png",
                                        "https://b.example/3.png"}));
}

TEST(KSSileoDepiction, AMalformedDocumentAnswersNothingButStillAnswers) {
    const std::string oversized = R"({"headerImage": "https://x.example/b.png", "padding": ")" +
                                  std::string(KSDepictionsParser::kMaximumDocumentBytes, 'a') +
                                  R"("})";
    for (const std::string& json : {std::string("not json"), std::string("[1, 2]"),
                                    std::string(R"({"tabs": "none"})"), oversized}) {
        const auto depiction = load(json);
        EXPECT_EQ(banner(depiction), std::nullopt);
        EXPECT_EQ(changelog(depiction), std::nullopt);
        EXPECT_EQ(description(depiction), std::nullopt);
        EXPECT_EQ(externalChangelog(depiction), std::nullopt);
        EXPECT_TRUE(screenshots(depiction).empty());
    }
}

TEST(KSSileoDepiction, LoadsInFlightOnTwoThreadsKeepTheirOwnAnswers) {
    auto page = [](const std::string& name) {
        return R"({"headerImage": "https://)" + name + R"(.example/banner.png", "tabs": [
            {"tabname": "Details", "views": [{"class": "DepictionMarkdownView", "markdown": ")" +
               name + R"("}]}]})";
    };
    auto reader = [&](const std::string& name, std::atomic<int>& mixed) {
        for (int round = 0; round < 200; ++round) {
            const auto depiction = load(page(name));
            std::this_thread::yield();
            if (description(depiction) != name ||
                banner(depiction) != "https://" + name + ".example/banner.png")
                ++mixed;
        }
    };
    std::atomic<int> mixed = 0;
    std::thread first(reader, "first", std::ref(mixed));
    std::thread second(reader, "second", std::ref(mixed));
    first.join();
    second.join();
    EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace corvane
