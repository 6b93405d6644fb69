// The in-app browser against pages served on 127.0.0.1: what it loads, how it shows progress,
// and what it refuses.
#include "screens/website/WebViewViewController.h"

#include <gtest/gtest.h>

#include "foundation/Bundle.h"
#include "screens/PageScreenFixture.h"
#include "uikit/Application.h"
#include "uikit/Device.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

constexpr const char* kHome = R"(<html><head><title>Home</title></head><body>
<h1>Ada's tweaks</h1><p>Everything Ada makes, with guides.</p>
<a href="/guide.html" target="_blank">Guide</a>
<a href="file:///etc/passwd">Secrets</a>
<a href="http://127.0.0.1:1/gone.html" target="_blank">Gone</a>
</body></html>)";

class WebViewTest : public PageScreenFixture {
  protected:
    void SetUp() override {
        PageScreenFixture::SetUp();
        site.route("/home.html", {.body = kHome, .contentType = "text/html"});
        site.route("/slow.html", {.body = kHome, .contentType = "text/html", .delaySeconds = 0.5});
        site.route("/guide.html", {.body = "<html><head><title>Guide</title></head><body>"
                                           "<p>Step one</p></body></html>",
                                   .contentType = "text/html"});
        site.start();
    }

    std::shared_ptr<WebViewViewController> open(std::optional<foundation::URL> url,
                                                bool presented = false) {
        KSScreenFactory::Request request;
        request.title = "Ada's website";
        request.websiteURL = std::move(url);
        request.isPresented = presented;
        return presented ? presentInNavigation<WebViewViewController>(Screen::website, request)
                         : push<WebViewViewController>(Screen::website, request);
    }
    std::optional<foundation::URL> page(const std::string& path) const {
        return foundation::URL::withString(site.url(path));
    }
    static bool finishes(const WebViewViewController& browser, const std::string& title) {
        return pumpUntil(
            [&] { return !browser.webView()->isLoading() && browser.webView()->title() == title; });
    }
    std::size_t requestsFor(const std::string& path) const {
        std::size_t count = 0;
        for (const auto& request : site.requests())
            count += request.path == path;
        return count;
    }
    static bool indicatorOn() {
        return uikit::Application::shared().isNetworkActivityIndicatorVisible();
    }

    testing_support::HttpServer site;
    std::vector<std::string> opened;
    foundation::ObservationToken opener =
        uikit::Application::shared().setURLOpener([this](const std::string& url) {
            opened.push_back(url);
            return true;
        });
};

TEST_F(WebViewTest, ShowsTheSiteUnderABarThatFillsAndFades) {
    auto browser = open(page("/slow.html"));
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->title(), "Ada's website");
    EXPECT_FALSE(browser->navigationItem()->leftBarButtonItem());
    ASSERT_TRUE(browser->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(browser->navigationItem()->rightBarButtonItem()->title(), "Open in Safari");
    ASSERT_TRUE(browser->webView());
    EXPECT_TRUE(browser->webView()->isLoading());
    EXPECT_GE(browser->progressView->progress(), webkit::WebView::kStartedProgress);
    EXPECT_LT(browser->progressView->progress(), 1.0);
    EXPECT_EQ(browser->progressView->alpha(), 1);
    EXPECT_EQ(browser->webView()->frame().minY(), browser->progressView->frame().maxY());
    snapshot("website-loading");

    ASSERT_TRUE(finishes(*browser, "Home"));
    EXPECT_EQ(browser->progressView->alpha(), 0);
    EXPECT_EQ(browser->webView()->frame(), browser->view()->bounds());
    advanceClock(WebViewViewController::kProgressFadeDelay +
                 WebViewViewController::kProgressFadeDuration);
    EXPECT_EQ(browser->progressView->progress(), 0);
    snapshot("website");

    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& device = uikit::Device::current();
    const auto agent = requests[0].header("User-Agent").value_or("");
    EXPECT_NE(agent.find("(Corvane/" + foundation::Bundle::shortVersion() + ", like Cydia) (" +
                         device.model() + "; " + device.systemName() + "/" +
                         device.systemVersion() + ") Light"),
              std::string::npos)
        << agent;
    EXPECT_FALSE(requests[0].header("X-Unique-ID"));
}

TEST_F(WebViewTest, AnAddressThatIsNoWebAddressLoadsNothing) {
    for (auto url :
         {foundation::URL::withString("file:///etc/passwd"), std::optional<foundation::URL>()}) {
        ::testing::internal::CaptureStderr();
        auto browser = open(url);
        const auto log = ::testing::internal::GetCapturedStderr();
        ASSERT_TRUE(browser && browser->webView());
        EXPECT_NE(log.find("Nothing to load in the browser"), std::string::npos) << log;
        EXPECT_FALSE(browser->webView()->isLoading());
        EXPECT_FALSE(browser->webView()->url());
        ASSERT_TRUE(uikit::hands::tapBarButton(browser->navigationItem()->rightBarButtonItem()));
        advanceClock(1);
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(uikit::Application::shared().openedURLs().empty());
}

TEST_F(WebViewTest, ANewWindowLinkOpensInTheSameViewAndOtherSchemesAreRefused) {
    auto browser = open(page("/home.html"));
    ASSERT_TRUE(browser && finishes(*browser, "Home"));
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(browser->webView()->tapLink("file:///etc/passwd"));
    advanceClock(1);
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("does not follow file:///etc/passwd"), std::string::npos) << log;
    EXPECT_EQ(browser->webView()->url(), page("/home.html"));

    EXPECT_TRUE(browser->webView()->tapLink("/guide.html"));
    advanceClock(1);
    EXPECT_TRUE(indicatorOn());
    ASSERT_TRUE(finishes(*browser, "Guide"));
    EXPECT_FALSE(indicatorOn());
    EXPECT_EQ(browser->webView()->url(), page("/guide.html"));
    EXPECT_EQ(navigation->topViewController(), browser);
}

TEST_F(WebViewTest, AFailedLoadTurnsTheActivityIndicatorOff) {
    auto browser = open(page("/home.html"));
    ASSERT_TRUE(browser && finishes(*browser, "Home"));
    // Nothing listens there, so the failure may come at once: the indicator is read at the turn
    // of the main loop that opens the link, before the load can answer.
    EXPECT_TRUE(browser->webView()->tapLink("http://127.0.0.1:1/gone.html"));
    EXPECT_TRUE(pumpUntil([] { return indicatorOn(); }));
    EXPECT_TRUE(pumpUntil([&] { return !indicatorOn(); }));
    EXPECT_EQ(browser->webView()->title(), "Home");
}

TEST_F(WebViewTest, ComingBackFromAPushedScreenKeepsThePage) {
    auto browser = open(page("/home.html"));
    ASSERT_TRUE(browser && finishes(*browser, "Home"));
    const auto shown = browser->webView();
    navigation->push(std::make_shared<uikit::ViewController>(), true);
    advanceClock(1);
    navigation->pop(true);
    advanceClock(1);
    EXPECT_EQ(navigation->topViewController(), browser);
    EXPECT_EQ(browser->webView(), shown);
    EXPECT_EQ(shown->title(), "Home");
    EXPECT_EQ(requestsFor("/home.html"), 1u);
}

TEST_F(WebViewTest, APresentedBrowserClosesAndHandsItsPageToTheSystemBrowser) {
    auto browser = open(page("/home.html"), true);
    ASSERT_TRUE(browser && finishes(*browser, "Home"));
    auto close = browser->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    ASSERT_TRUE(uikit::hands::tapBarButton(browser->navigationItem()->rightBarButtonItem()));
    advanceClock(1);
    EXPECT_EQ(opened, std::vector<std::string>{site.url("/home.html")});
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
}

}  // namespace
}  // namespace corvane::testing
