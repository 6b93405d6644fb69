// The changelog page a native depiction links to: the last list of a content section that is
// more than the first release's note, fetched without telling the page's host who the device
// is.
#include "framework/depictions/KSExternalChangelog.h"

#include <gtest/gtest.h>

#include "framework/depictions/DepictionAnswer.h"
#include "support/HttpServer.h"

namespace corvane::testing {
namespace {

std::optional<std::string> changelogOf(const std::string& html) {
    auto page = html::HTMLDocument::parse(html, std::nullopt);
    EXPECT_TRUE(page);
    return page ? KSExternalChangelog::changelogOf(*page) : std::nullopt;
}

TEST(KSExternalChangelog, TheLastContentListThatIsNoFirstReleaseNoteWins) {
    EXPECT_EQ(changelogOf("<section class='page content'><ul><li>Faster</li></ul></section>"
                          "<section class='sidebar'><ul><li>Ads</li></ul></section>"
                          "<section class='content'><ul><li>Dark mode</li></ul>"
                          "<ul><li>Second list</li></ul></section>"),
              "Dark mode");
    EXPECT_EQ(changelogOf("<section class='content'><ul><li>Fixes</li></ul></section>"
                          "<section class='content'><ul><li>Initial release</li></ul></section>"),
              "Fixes")
        << "the first release's note never replaces a real change";
    EXPECT_EQ(changelogOf("<section class='content'><ul><li>Initial release</li></ul></section>"),
              std::nullopt);
    EXPECT_EQ(changelogOf("<section class='content'><p>No list</p></section>"
                          "<div class='content'><ul><li>Not a section</li></ul></div>"),
              std::nullopt);
}

TEST(KSExternalChangelog, APageThatCannotBeFetchedHasNoChangelog) {
    testing_support::HttpServer server;
    server.route("/changelog",
                 {.body = "<section class='content'><ul><li>2.0: widgets</li></ul></section>",
                  .contentType = "text/html"});
    server.route("/missing", {.status = 404,
                              .body = "<section class='content'><ul><li>Error</li></ul></section>",
                              .contentType = "text/html"});
    server.start();
    EXPECT_EQ(
        textOf([&](auto done) { KSExternalChangelog::retrieve(server.url("/changelog"), done); }),
        "2.0: widgets");
    EXPECT_FALSE(server.requests().front().header("X-Unique-ID"))
        << "the page's host is named by the depiction, not the repository";
    EXPECT_EQ(
        textOf([&](auto done) { KSExternalChangelog::retrieve(server.url("/missing"), done); }),
        std::nullopt)
        << "an error page is no changelog";
    EXPECT_EQ(textOf([](auto done) { KSExternalChangelog::retrieve("file:///etc/passwd", done); }),
              std::nullopt);
    EXPECT_EQ(server.requests().size(), 2u);
}

}  // namespace
}  // namespace corvane::testing
