#include "webkit/WebView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "foundation/URLError.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "webkit/WebViewError.h"

namespace {

using foundation::URL;
using foundation::URLRequest;
using testing_support::CannedResponse;
using testing_support::HttpServer;
using testing_support::pumpUntil;
using namespace webkit;

constexpr const char* kApplicationName = "(Example/2.1) (iPhone; iOS/14.4) Dark";

CannedResponse page(std::string body) {
    CannedResponse response;
    response.contentType = "text/html; charset=utf-8";
    response.body = std::move(body);
    return response;
}

// Records what a web view tells its delegates and answers as the test asks.
class RecordingDelegate : public NavigationDelegate, public UIDelegate {
  public:
    void decidePolicyForNavigationAction(WebView&, const NavigationAction& action,
                                         DecisionHandler decisionHandler) override {
        events.push_back("action " + action.request.url.absoluteString());
        actions.push_back(action);
        decisionHandler(actionPolicy);
    }
    void decidePolicyForNavigationResponse(WebView&, const NavigationResponse& response,
                                           DecisionHandler decisionHandler) override {
        events.push_back("response " + std::to_string(response.response.statusCode));
        decisionHandler(responsePolicy);
    }
    void didStartProvisionalNavigation(WebView&) override { events.push_back("start"); }
    void didFinishNavigation(WebView& webView) override {
        events.push_back("finish");
        progressAtFinish = webView.estimatedProgress();
        ++ended;
    }
    void didFailProvisionalNavigation(WebView&, const foundation::Error& error) override {
        events.push_back("fail provisional " + std::to_string(error.code));
        ++ended;
    }
    void didFailNavigation(WebView&, const foundation::Error& error) override {
        events.push_back("fail " + std::to_string(error.code));
        ++ended;
    }
    std::shared_ptr<WebView> createWebViewWithConfiguration(
        WebView& webView, WebViewConfiguration& configuration,
        const NavigationAction& action) override {
        events.push_back("new window " + action.request.url.absoluteString());
        if (loadNewWindowsHere)
            webView.loadRequest(action.request);
        return nullptr;
    }

    std::vector<std::string> events;
    std::vector<NavigationAction> actions;
    NavigationPolicy actionPolicy = NavigationPolicy::allow;
    NavigationPolicy responsePolicy = NavigationPolicy::allow;
    bool loadNewWindowsHere = false;
    int ended = 0;
    double progressAtFinish = 0;
};

class WebViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server.route("/index.html",
                     page("<html><head><title>Index</title></head><body>"
                          "<p>Hello <a id=\"next\" href=\"next.html\">next</a> "
                          "<a href=\"/popup.html\" target=\"_blank\">popup</a> "
                          "<a href=\"javascript:location='/stolen'\">script</a> "
                          "<a href=\"file:///etc/passwd\">file</a> "
                          "<a href=\"data:text/html,%3Ctitle%3Edata%3C/title%3E\">data</a></p>"
                          "</body></html>"));
        server.route("/next.html", page("<title>Next</title><p>Second page</p>"));
        server.route("/popup.html", page("<title>Popup</title>"));
        server.start();
        WebViewConfiguration configuration;
        configuration.applicationNameForUserAgent = kApplicationName;
        webView = std::make_shared<WebView>(uikit::Rect{{0, 0}, {320, 480}}, configuration);
        webView->setNavigationDelegate(delegate);
        webView->setUIDelegate(delegate);
    }

    // Throws, failing the test, should the server's address not read as a URL.
    URL url(std::string_view path) { return URL::withString(server.url(path)).value(); }

    // Waits until the navigation delegate hears that one more navigation ended.
    void awaitEnd() {
        int ended = delegate->ended;
        pumpUntil([&] { return delegate->ended > ended; });
    }

    void load(std::string_view path) {
        webView->loadRequest(URLRequest(url(path)));
        awaitEnd();
    }

    std::vector<std::string> requestedPaths() const {
        std::vector<std::string> paths;
        for (const auto& request : server.requests())
            paths.push_back(request.path);
        return paths;
    }

    HttpServer server;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> webView;
};

TEST_F(WebViewTest, LoadSendsTheRequestHeadersAndTheConfiguredUserAgent) {
    URLRequest request(url("/index.html"));
    request.setValue("iPhone10,3", "X-Machine");
    request.setValue("14.4", "X-Firmware");
    webView->loadRequest(request);
    EXPECT_TRUE(webView->isLoading() == false && delegate->events.empty())
        << "a load starts on a later turn of the run loop";
    awaitEnd();

    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& received = requests[0];
    EXPECT_EQ(received.header("X-Machine"), "iPhone10,3");
    EXPECT_EQ(received.header("X-Firmware"), "14.4");
    EXPECT_EQ(received.header("User-Agent"),
              std::string(WebViewConfiguration::kBaseUserAgent) + " " + kApplicationName);
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"action " + server.url("/index.html"),
                                                          "start", "response 200", "finish"}));
    EXPECT_EQ(delegate->actions[0].navigationType, NavigationType::other);
    ASSERT_TRUE(delegate->actions[0].targetFrame);
    EXPECT_TRUE(delegate->actions[0].targetFrame->isMainFrame);
    EXPECT_EQ(webView->url(), url("/index.html"));
    EXPECT_EQ(webView->title(), "Index");
    EXPECT_FALSE(webView->isLoading());
    EXPECT_GT(webView->contentSize().height, 0);

    // A request that names its own user agent keeps it, and a changed configuration applies
    // to the next load.
    URLRequest own(url("/next.html"));
    own.setValue("Example-APT/1.0 Light", "User-Agent");
    webView->loadRequest(own);
    awaitEnd();
    webView->configuration().applicationNameForUserAgent = "Other";
    load("/index.html");
    ASSERT_EQ(server.requests().size(), 3u);
    EXPECT_EQ(server.requests()[1].header("User-Agent"), "Example-APT/1.0 Light");
    EXPECT_EQ(server.requests()[2].header("User-Agent"),
              std::string(WebViewConfiguration::kBaseUserAgent) + " Other");
}

TEST_F(WebViewTest, RefusedNavigationsAndResponsesLoadNothing) {
    delegate->actionPolicy = NavigationPolicy::cancel;
    webView->loadRequest(URLRequest(url("/next.html")));
    pumpUntil([&] { return !delegate->actions.empty(); });

    // Whatever the refused navigation would have done has happened by the time a later load
    // has ended.
    delegate->actionPolicy = NavigationPolicy::allow;
    delegate->responsePolicy = NavigationPolicy::cancel;
    load("/index.html");
    EXPECT_EQ(requestedPaths(), (std::vector<std::string>{"/index.html"}));
    EXPECT_EQ(
        delegate->events.back(),
        "fail provisional " + std::to_string(WebViewError::FrameLoadInterruptedByPolicyChange));
    EXPECT_FALSE(webView->url());
    EXPECT_FALSE(webView->document());
    EXPECT_EQ(std::count(delegate->events.begin(), delegate->events.end(), "start"), 1);
}

TEST_F(WebViewTest, ScriptFileAndDataNavigationsAreNeverLoaded) {
    auto secret = std::filesystem::temp_directory_path() / "webview-secret.html";
    std::ofstream(secret) << "<title>Secret</title>";
    load("/index.html");

    for (const char* link : {"javascript:location='/stolen'", "file:///etc/passwd",
                             "data:text/html,%3Ctitle%3Edata%3C/title%3E"}) {
        ASSERT_TRUE(webView->tapLink(link)) << link;
        awaitEnd();
        EXPECT_EQ(delegate->events.back(),
                  "fail provisional " + std::to_string(foundation::URLError::UnsupportedURL));
    }
    webView->loadRequest(URLRequest(URL::fileURL(secret.string())));
    awaitEnd();
    std::filesystem::remove(secret);

    EXPECT_EQ(webView->title(), "Index");
    EXPECT_EQ(webView->url(), url("/index.html"));
    EXPECT_EQ(requestedPaths(), (std::vector<std::string>{"/index.html"}));
    // The delegate saw each of them, as it sees every navigation, but none started.
    EXPECT_EQ(delegate->actions.size(), 5u);
    EXPECT_EQ(std::count(delegate->events.begin(), delegate->events.end(), "start"), 1);
}

TEST_F(WebViewTest, ProgressIsObservedUntilItReachesOne) {
    CannedResponse large = page("<title>Large</title><p>" + std::string(512 * 1024, 'x'));
    server.route("/large.html", large);
    std::vector<double> observed;
    auto token =
        webView->observeEstimatedProgress([&](double value) { observed.push_back(value); });

    load("/large.html");
    ASSERT_GE(observed.size(), 2u);
    EXPECT_EQ(observed.front(), WebView::kStartedProgress);
    EXPECT_EQ(observed.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(observed.begin(), observed.end()));
    EXPECT_EQ(delegate->progressAtFinish, 1.0);

    // A failed load ends at 1.0 too, so a progress bar never stays half full.
    observed.clear();
    server.stop();
    webView->loadRequest(URLRequest(url("/index.html")));
    awaitEnd();
    EXPECT_EQ(observed, (std::vector<double>{WebView::kStartedProgress, 1.0}));
    EXPECT_TRUE(delegate->events.back().starts_with("fail provisional"));
}

TEST_F(WebViewTest, BlankTargetLinksAskTheUIDelegateForAWindow) {
    load("/index.html");
    ASSERT_TRUE(webView->tapLink("/popup.html"));
    pumpUntil([&] { return delegate->events.back().starts_with("new window"); });
    const NavigationAction& action = delegate->actions.back();
    EXPECT_EQ(action.navigationType, NavigationType::linkActivated);
    EXPECT_FALSE(action.targetFrame);

    // Nothing was loaded for the window the UI delegate did not make.
    load("/next.html");
    EXPECT_EQ(requestedPaths(), (std::vector<std::string>{"/index.html", "/next.html"}));

    // A UI delegate may load the request in the same view instead.
    webView->goBack();
    awaitEnd();
    delegate->loadNewWindowsHere = true;
    ASSERT_TRUE(webView->tapLink("a[target=_blank]"));
    awaitEnd();
    EXPECT_EQ(webView->title(), "Popup");
    EXPECT_EQ(delegate->actions.back().navigationType, NavigationType::other);
    ASSERT_TRUE(delegate->actions.back().targetFrame);
}

TEST_F(WebViewTest, LinksNavigateAndTheBackForwardListReturns) {
    load("/index.html");
    EXPECT_FALSE(webView->canGoBack());
    ASSERT_TRUE(webView->tapLink("#next"));
    awaitEnd();
    EXPECT_EQ(webView->url(), url("/next.html"));
    EXPECT_EQ(webView->title(), "Next");
    EXPECT_EQ(delegate->actions.back().navigationType, NavigationType::linkActivated);
    EXPECT_TRUE(delegate->actions.back().targetFrame);
    EXPECT_FALSE(webView->tapLink("#missing"));

    ASSERT_TRUE(webView->canGoBack());
    webView->goBack();
    awaitEnd();
    EXPECT_EQ(webView->title(), "Index");
    EXPECT_EQ(delegate->actions.back().navigationType, NavigationType::backForward);
    EXPECT_TRUE(webView->canGoForward());
    webView->goForward();
    awaitEnd();
    EXPECT_EQ(webView->title(), "Next");
    webView->reload();
    awaitEnd();
    EXPECT_EQ(delegate->actions.back().navigationType, NavigationType::reload);
    EXPECT_FALSE(webView->canGoForward());
    EXPECT_EQ(requestedPaths().size(), 5u);
}

TEST_F(WebViewTest, HTMLStringsShowWithTheirBaseURLAndFetchNothing) {
    webView->loadHTMLString(
        "<title>Player</title><img src=\"/image.png\"><a href=\"watch?v=1\">watch</a>",
        url("/embed/"));
    awaitEnd();
    EXPECT_EQ(webView->title(), "Player");
    EXPECT_EQ(webView->url(), url("/embed/"));
    EXPECT_TRUE(server.requests().empty());

    ASSERT_TRUE(webView->tapLink("watch?v=1"));
    awaitEnd();
    EXPECT_EQ(delegate->actions.back().request.url, url("/embed/watch?v=1"));

    webView->goBack();
    awaitEnd();
    EXPECT_EQ(webView->title(), "Player");
    EXPECT_EQ(server.requests().size(), 1u) << "going back shows the HTML again";
}

TEST_F(WebViewTest, StoppingOrReplacingALoadReportsItCancelled) {
    CannedResponse slow = page("<title>Slow</title>");
    slow.delaySeconds = 30;
    server.route("/slow.html", slow);

    webView->loadRequest(URLRequest(url("/slow.html")));
    pumpUntil([&] { return webView->isLoading(); });
    webView->stopLoading();
    EXPECT_FALSE(webView->isLoading());
    EXPECT_EQ(webView->estimatedProgress(), 1.0);
    EXPECT_EQ(delegate->events.back(),
              "fail provisional " + std::to_string(foundation::URLError::Cancelled));

    webView->loadRequest(URLRequest(url("/slow.html")));
    pumpUntil([&] { return webView->isLoading(); });
    load("/next.html");
    EXPECT_EQ(webView->title(), "Next");
    EXPECT_EQ(std::count(delegate->events.begin(), delegate->events.end(),
                         "fail provisional " + std::to_string(foundation::URLError::Cancelled)),
              2);
    server.stop();
}

TEST_F(WebViewTest, ScriptIsAnsweredOnlyByTheHook) {
    std::optional<foundation::Error> error;
    bool called = false;
    webView->evaluateJavaScript("document.title", [&](foundation::Value, auto failure) {
        called = true;
        error = failure;
    });
    EXPECT_FALSE(called);
    pumpUntil([&] { return called; });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, WebViewError::kDomain);
    EXPECT_EQ(error->code, WebViewError::JavaScriptUnavailable);

    std::vector<std::string> scripts;
    webView->setScriptHook([&](const std::string& script) -> foundation::Result<foundation::Value> {
        scripts.push_back(script);
        return foundation::Value("Index");
    });
    foundation::Value result;
    called = false;
    webView->evaluateJavaScript("document.title", [&](foundation::Value value, auto failure) {
        called = true;
        result = value;
        error = failure;
    });
    pumpUntil([&] { return called; });
    EXPECT_EQ(result, foundation::Value("Index"));
    EXPECT_FALSE(error);
    EXPECT_EQ(scripts, (std::vector<std::string>{"document.title"}));
}

TEST_F(WebViewTest, ContentSizeFollowsThePageAndTheWidth) {
    std::string paragraphs;
    for (int i = 0; i < 40; ++i)
        paragraphs += "<p>Line of a depiction that wraps when the view is narrow enough</p>";
    server.route("/long.html", page(paragraphs));
    std::vector<uikit::Size> observed;
    auto token =
        webView->observeContentSize([&](const uikit::Size& size) { observed.push_back(size); });

    load("/long.html");
    ASSERT_EQ(observed.size(), 1u);
    EXPECT_EQ(observed[0].width, 320);
    EXPECT_GT(observed[0].height, 480);
    EXPECT_EQ(webView->scrollView()->contentSize(), observed[0]);

    webView->setFrame({{0, 0}, {160, 480}});
    ASSERT_EQ(observed.size(), 2u);
    EXPECT_GT(observed[1].height, observed[0].height);
    EXPECT_EQ(webView->scrollView()->bounds().size.width, 160);
}

TEST_F(WebViewTest, AViewGoneDuringALoadIsNeverCalledBack) {
    CannedResponse slow = page("<title>Slow</title>");
    slow.delaySeconds = 30;
    server.route("/slow.html", slow);
    webView->loadRequest(URLRequest(url("/slow.html")));
    pumpUntil([&] { return webView->isLoading(); });
    auto events = delegate->events;

    std::weak_ptr<WebView> weak = webView;
    webView.reset();
    EXPECT_TRUE(weak.expired());
    server.stop();
    testing_support::pumpFor(0.2);
    EXPECT_EQ(delegate->events, events);
}

}  // namespace
