#include "webkit/LegacyWebView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/URLError.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "webkit/WebViewConfiguration.h"

namespace {

using foundation::URL;
using testing_support::CannedResponse;
using testing_support::HttpServer;
using testing_support::pumpUntil;
using namespace webkit;

// Answers as an embedded player does: its own callback scheme is handled, never loaded.
class PlayerDelegate : public LegacyWebViewDelegate {
  public:
    bool shouldStartLoadWithRequest(LegacyWebView&, const foundation::URLRequest& request,
                                    NavigationType navigationType) override {
        requests.push_back(request.url.absoluteString());
        types.push_back(navigationType);
        if (request.url.scheme() == "ytplayer") {
            callbacks.push_back(request.url.host());
            return !refuseCallbacks;
        }
        return true;
    }
    void didStartLoad(LegacyWebView&) override { events.push_back("start"); }
    void didFinishLoad(LegacyWebView&) override {
        events.push_back("finish");
        ++ended;
    }
    void didFailLoadWithError(LegacyWebView&, const foundation::Error& error) override {
        events.push_back("fail " + std::to_string(error.code));
        ++ended;
    }

    std::vector<std::string> requests;
    std::vector<NavigationType> types;
    std::vector<std::string> callbacks;
    std::vector<std::string> events;
    bool refuseCallbacks = true;
    int ended = 0;
};

class LegacyWebViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CannedResponse embed;
        embed.contentType = "text/html";
        embed.body = "<title>Embed</title>";
        server.route("/embed/abc", embed);
        server.start();
        webView->setDelegate(delegate);
    }

    // Throws, failing the test, should the server's address not read as a URL.
    URL url(std::string_view path) { return URL::withString(server.url(path)).value(); }
    void awaitEnd() {
        int ended = delegate->ended;
        pumpUntil([&] { return delegate->ended > ended; });
    }

    HttpServer server;
    std::shared_ptr<PlayerDelegate> delegate = std::make_shared<PlayerDelegate>();
    std::shared_ptr<LegacyWebView> webView =
        std::make_shared<LegacyWebView>(uikit::Rect{{0, 0}, {320, 180}});
};

TEST_F(LegacyWebViewTest, HTMLLoadsWithItsBaseURLAfterTheDelegateAgrees) {
    webView->loadHTMLString("<html><title>Player</title><div id=\"player\"></div></html>",
                            url("/origin"));
    EXPECT_TRUE(delegate->requests.empty()) << "asked on a later turn";
    awaitEnd();
    EXPECT_EQ(delegate->requests, (std::vector<std::string>{server.url("/origin")}));
    EXPECT_EQ(delegate->types, (std::vector<NavigationType>{NavigationType::other}));
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"start", "finish"}));
    EXPECT_EQ(webView->url(), url("/origin"));
    ASSERT_TRUE(webView->document());
    EXPECT_EQ(webView->document()->title(), "Player");
    EXPECT_TRUE(webView->document()->querySelector("#player"));
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(LegacyWebViewTest, PageRequestsReachTheDelegateAndOnlyWebPagesLoad) {
    webView->loadHTMLString("<title>Player</title>", std::nullopt);
    awaitEnd();

    const auto stateChange = URL::withString("ytplayer://onStateChange?data=1");
    const auto ready = URL::withString("ytplayer://onReady");
    ASSERT_TRUE(stateChange && ready);
    webView->pageRequestsURL(*stateChange);
    EXPECT_EQ(delegate->callbacks, (std::vector<std::string>{"onStateChange"}));
    EXPECT_EQ(delegate->requests.back(), "ytplayer://onStateChange?data=1");

    // Even a delegate that lets a custom scheme through gets nothing loaded for it.
    delegate->refuseCallbacks = false;
    webView->pageRequestsURL(*ready, NavigationType::linkActivated);
    awaitEnd();
    EXPECT_EQ(delegate->types.back(), NavigationType::linkActivated);
    EXPECT_EQ(delegate->events.back(),
              "fail " + std::to_string(foundation::URLError::UnsupportedURL));
    EXPECT_EQ(webView->document()->title(), "Player");

    webView->pageRequestsURL(url("/embed/abc"));
    awaitEnd();
    EXPECT_EQ(webView->document()->title(), "Embed");
    EXPECT_EQ(webView->url(), url("/embed/abc"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].header("User-Agent"), WebViewConfiguration().userAgent());
}

TEST_F(LegacyWebViewTest, ARefusedLoadShowsNothing) {
    class Refusing : public LegacyWebViewDelegate {
      public:
        bool shouldStartLoadWithRequest(LegacyWebView&, const foundation::URLRequest&,
                                        NavigationType) override {
            ++asked;
            return false;
        }
        int asked = 0;
    };
    auto refusing = std::make_shared<Refusing>();
    webView->setDelegate(refusing);
    webView->loadRequest(foundation::URLRequest(url("/embed/abc")));
    pumpUntil([&] { return refusing->asked == 1; });
    EXPECT_FALSE(webView->isLoading());
    webView->setDelegate(delegate);
    webView->loadHTMLString("<title>Later</title>", std::nullopt);
    awaitEnd();
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"start", "finish"}));
}

TEST_F(LegacyWebViewTest, ScriptAnswersComeFromTheHookAndFlagsAreKept) {
    EXPECT_FALSE(webView->stringByEvaluatingJavaScriptFromString("player.getCurrentTime();"));
    std::vector<std::string> scripts;
    webView->setScriptHook([&](const std::string& script) {
        scripts.push_back(script);
        return std::string("12.5");
    });
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("player.getCurrentTime();"), "12.5");
    EXPECT_EQ(scripts, (std::vector<std::string>{"player.getCurrentTime();"}));

    EXPECT_FALSE(webView->allowsInlineMediaPlayback());
    EXPECT_TRUE(webView->mediaPlaybackRequiresUserAction());
    webView->setAllowsInlineMediaPlayback(true);
    webView->setMediaPlaybackRequiresUserAction(false);
    webView->scrollView()->setScrollEnabled(false);
    webView->scrollView()->setBounces(false);
    EXPECT_TRUE(webView->allowsInlineMediaPlayback());
    EXPECT_FALSE(webView->mediaPlaybackRequiresUserAction());
    EXPECT_FALSE(webView->scrollView()->isScrollEnabled());
    EXPECT_EQ(webView->scrollView()->bounds().size, (uikit::Size{320, 180}));
}

}  // namespace
