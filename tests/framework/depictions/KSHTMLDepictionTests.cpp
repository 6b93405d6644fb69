#include "framework/depictions/KSHTMLDepiction.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "foundation/FileManager.h"
#include "framework/depictions/DepictionAnswer.h"
#include "framework/depictions/KSDepictionPageLoader.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/depictions/KSVostrelLayout.h"
#include "support/HttpServer.h"

namespace corvane {
namespace {

using testing::textOf;
using testing::urlsOf;
using Depiction = std::shared_ptr<const KSHTMLDepiction>;
using URLs = std::vector<std::string>;

const std::string kFixtures =
    std::string(MAIN_BUNDLE_RESOURCES_DIR) + "/../tests/framework/depictions/fixtures";

std::string fixture(const std::string& name) {
    auto text = foundation::FileManager::readText(kFixtures + "/" + name);
    EXPECT_TRUE(text.ok()) << name;
    return text.ok() ? *text : std::string();
}

Depiction load(std::string_view html) {
    return KSDepictionsParser::instance().depictionsParserWithData({html.begin(), html.end()});
}

class KSHTMLDepictionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.serveFolder(kFixtures);
        server_.route("/changelog/com.example.nightshade/",
                      {.headers = {}, .body = fixture("vostrel/changelog.html")});
        server_.start();
        setenv(KSVostrelLayout::kSiteEnvironmentVariable, server_.url("/").c_str(), 1);
    }
    void TearDown() override { server_.stop(); }

    testing_support::HttpServer server_;
};

TEST(KSHTMLDepiction, ABigBossPageGivesItsPartsAndResolvedScreenshots) {
    const auto page = load(fixture("bigboss.html"));
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromBigBossDepiction(done); }),
              "Night Shade");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromBigBossDepiction(done); }),
              "Dims the status bar at night.\n\n- Per-app settings\n- No respring");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveChangelogFromBigBossDepiction(done); }),
              "2.0\n\nRewritten for speed.");
    EXPECT_EQ(
        urlsOf([&](auto done) {
            page->retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
                "http://repo.example.org/depictions/night/index.html", done);
        }),
        (URLs{"http://repo.example.org/depictions/night/shots/one.png",
              "http://repo.example.org/images/two.png", "https://cdn.example.org/three.png"}));
}

TEST(KSHTMLDepiction, TheSampleRepositoryPageReadsAsABigBossPage) {
    const auto sample = foundation::FileManager::readText(std::string(MAIN_BUNDLE_RESOURCES_DIR) +
                                                          "/sample-repo/web/depictions/html.html");
    ASSERT_TRUE(sample.ok());
    const auto page = load(*sample);
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromBigBossDepiction(done); }),
              "Web Depiction Tweak");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromBigBossDepiction(done); }),
              "A tweak described by an HTML page.\n\n- Works on the lock "
              "screen\n- No settings "
              "needed");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveChangelogFromBigBossDepiction(done); }),
              "1.1\n\nFixed a crash on start-up.");
    EXPECT_EQ(urlsOf([&](auto done) {
                  page->retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
                      "http://127.0.0.1:8080/depictions/html.html", done);
              }),
              (URLs{"http://127.0.0.1:8080/depictions/shot1.png",
                    "http://127.0.0.1:8080/depictions/shot2.png"}));
}

TEST(KSHTMLDepiction, TextBetweenBlocksIsKeptAsOneParagraph) {
    const auto page = load(R"(<div id="description">Intro <p>then a paragraph</p> outro</div>
                              <div id="changelog"><p> </p></div>)");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromBigBossDepiction(done); }),
              "Intro then a paragraph outro");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveChangelogFromBigBossDepiction(done); }),
              std::nullopt)
        << "no text, no changelog";
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromBigBossDepiction(done); }),
              std::nullopt);
}

TEST_F(KSHTMLDepictionTest, APellithPageFollowsItsChangelogAndScreenshotsLinks) {
    const auto pageURL = server_.url("/pellith/package.html");
    const auto page = load(fixture("pellith/package.html"));
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromPellithDepiction(done); }),
              "Adds gestures to the keyboard.");
    EXPECT_EQ(textOf([&](auto done) {
                  page->retrieveChangelogFromPellithDepictionForPackageWithURL(pageURL, done);
              }),
              "1.2\n\n- Fixed swiping on iPad\n- New icon");
    EXPECT_EQ(urlsOf([&](auto done) {
                  page->retrieveScreenshotsFromPellithDepictionForPackageWithURL(pageURL, done);
              }),
              (URLs{server_.url("/pellith/img/light.png"), server_.url("/dark.png")}));
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, "/pellith/changelog.html");
    EXPECT_EQ(requests[0].header("User-Agent"), "Telesphoreo APT-HTTP/1.0.592");
    EXPECT_EQ(requests[1].path, "/pellith/gallery.html");
}

TEST_F(KSHTMLDepictionTest, LinksToJavascriptOrFilesAreNeverFollowed) {
    // A local page that would answer if it were ever read.
    const auto local = ::testing::TempDir() + "/secret.html";
    ASSERT_TRUE(foundation::FileManager::writeAtomically(
                    local, std::string_view("<div id=\"changelog\">secret</div>"
                                            "<div id=\"screenshots\"><img "
                                            "src=\"http://x.example/s.png\"></div>"))
                    .ok());
    for (const auto& link : {"file://" + local, std::string("file:secret.html"),
                             std::string("javascript:fetch('/pellith/changelog.html')"),
                             std::string("JavaScript:location='/pellith/gallery.html'"),
                             std::string("data:text/html,<div id=changelog>x</div>")}) {
        const auto page =
            load("<a class=\"changelog\" href=\"" + link +
                 "\">Changelog</a><a class=\"screenshots\" href=\"" + link + "\">Screenshots</a>");
        for (const auto& pageURL : {server_.url("/pellith/package.html"), "file://" + local}) {
            EXPECT_EQ(textOf([&](auto done) {
                          page->retrieveChangelogFromPellithDepictionForPackageWithURL(pageURL,
                                                                                       done);
                      }),
                      std::nullopt)
                << link;
            EXPECT_TRUE(urlsOf([&](auto done) {
                            page->retrieveScreenshotsFromPellithDepictionForPackageWithURL(pageURL,
                                                                                           done);
                        }).empty())
                << link;
        }
    }
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSHTMLDepictionTest, FollowedPagesThatFailOrAreTooLargeGiveNothing) {
    const std::string changelog = "<div id=\"changelog\">1.0</div>";
    server_.route("/pellith/huge.html",
                  {.headers = {},
                   .body = changelog + std::string(KSDepictionPageLoader::kMaximumPageBytes, ' ')});
    server_.route("/pellith/gone.html", {.status = 500, .headers = {}, .body = changelog});
    for (const char* link : {"huge.html", "gone.html", "missing.html"}) {
        const auto page = load(std::string("<a class=\"changelog\" href=\"") + link + "\">x</a>");
        EXPECT_EQ(textOf([&](auto done) {
                      page->retrieveChangelogFromPellithDepictionForPackageWithURL(
                          server_.url("/pellith/package.html"), done);
                  }),
                  std::nullopt)
            << link;
    }
    EXPECT_EQ(server_.requests().size(), 3u);
}

TEST_F(KSHTMLDepictionTest, AVostrelPageFetchesTheSiteChangelogOfItsPackage) {
    EXPECT_EQ(KSVostrelLayout::packagePageURL("com.example.nightshade")->absoluteString(),
              server_.url("/info/com.example.nightshade/"));
    const auto page = load(fixture("vostrel/package.html"));
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromVostrelTypeDepiction(done); }),
              "Night Shade");
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromVostrelTypeDepiction(done); }),
              "Dims the status bar at night.");
    EXPECT_EQ(urlsOf([&](auto done) { page->retrieveScreenshotsFromVostrelTypeDepiction(done); }),
              (URLs{server_.url("/shots/night-1.png"), "https://cdn.example.org/night-2.png"}));
    EXPECT_EQ(textOf([&](auto done) {
                  page->retrieveChangelogFromVostrelTypeDepictionForPackageWithIdentifier(
                      "com.example.nightshade", done);
              }),
              "1.4\n\n- Works with dark mode");
    EXPECT_EQ(server_.requests().size(), 1u);

    for (const char* identifier : {"../../etc/passwd", "x;rm -rf /", "", "a/b"}) {
        EXPECT_EQ(textOf([&](auto done) {
                      page->retrieveChangelogFromVostrelTypeDepictionForPackageWithIdentifier(
                          identifier, done);
                  }),
                  std::nullopt)
            << identifier;
        EXPECT_EQ(KSVostrelLayout::packagePageURL(identifier), std::nullopt) << identifier;
    }
    EXPECT_EQ(server_.requests().size(), 1u) << "no identifier outside the grammar is sent";
}

TEST(KSHTMLDepiction, AnUnreadablePageAnswersNothingButStillAnswers) {
    const auto page = load("<h1 id=\"name\">Too large</h1>" +
                           std::string(KSDepictionsParser::kMaximumDocumentBytes, ' '));
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromBigBossDepiction(done); }),
              std::nullopt);
    EXPECT_EQ(textOf([&](auto done) { page->retrieveNameFromVostrelTypeDepiction(done); }),
              std::nullopt);
    EXPECT_EQ(textOf([&](auto done) { page->retrieveDescriptionFromPellithDepiction(done); }),
              std::nullopt);
    EXPECT_TRUE(urlsOf([&](auto done) {
                    page->retrieveScreenshotsFromVostrelTypeDepiction(done);
                }).empty());
    EXPECT_TRUE(urlsOf([&](auto done) {
                    page->retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
                        "http://repo.example.org/", done);
                }).empty());
}

TEST(KSHTMLDepiction, LoadsInFlightOnTwoThreadsKeepTheirOwnAnswers) {
    auto reader = [](const std::string& name, std::atomic<int>& mixed) {
        const auto html = "<h1 id=\"name\">" + name + "</h1><div id=\"screenshots\"><img src=\"" +
                          name + ".png\"></div>";
        for (int round = 0; round < 100; ++round) {
            const auto page = load(html);
            std::this_thread::yield();
            const auto shots = urlsOf([&](auto done) {
                page->retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
                    "http://repo.example.org/", done);
            });
            if (textOf([&](auto done) { page->retrieveNameFromBigBossDepiction(done); }) != name ||
                shots != URLs{"http://repo.example.org/" + name + ".png"})
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
