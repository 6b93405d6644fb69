// The in-app browser opens web pages only.
#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/InterfaceHands.h"
#include "uikit/SafariViewController.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

std::shared_ptr<SafariViewController> browserFor(const std::string& text) {
    auto url = foundation::URL::withString(text);
    if (!url)
        return nullptr;
    return SafariViewController::create(*url);
}

TEST(SafariViewControllerTest, OnlyHttpAndHttpsPagesAreOpened) {
    EXPECT_EQ(browserFor("javascript:alert(document.cookie)"), nullptr);
    EXPECT_EQ(browserFor("JavaScript:alert(1)"), nullptr);
    EXPECT_EQ(browserFor("file:///etc/passwd"), nullptr);
    EXPECT_EQ(browserFor("data:text/html,<script>alert(1)</script>"), nullptr);
    EXPECT_EQ(browserFor("ftp://example.com/file"), nullptr);
    EXPECT_EQ(browserFor("otherapp://payment_completed"), nullptr);
    EXPECT_NE(browserFor("http://example.com"), nullptr);
    auto browser = browserFor("HTTPS://repo.example.com/depiction?id=1");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->url().host(), "repo.example.com");
}

TEST(SafariViewControllerTest, DoneClosesTheBrowserAndThenTellsTheDelegate) {
    struct Delegate : SafariViewControllerDelegate {
        std::shared_ptr<ViewController> presenter;
        int finished = 0;
        void safariViewControllerDidFinish(SafariViewController&) override {
            ++finished;
            EXPECT_EQ(presenter->presentedViewController(), nullptr);
        }
    };
    auto window = std::make_shared<Window>();
    auto root = std::make_shared<ViewController>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto delegate = std::make_shared<Delegate>();
    delegate->presenter = root;
    auto browser = browserFor("https://example.com/page");
    browser->setDelegate(delegate);
    root->present(browser, true);
    advanceClock(0.3);
    EXPECT_NE(window->describe().find("Label \"https://example.com/page\""), std::string::npos);
    EXPECT_TRUE(hands::closeBrowser(browser));
    EXPECT_EQ(delegate->finished, 0);
    advanceClock(0.3);
    EXPECT_EQ(delegate->finished, 1);
}

}  // namespace
