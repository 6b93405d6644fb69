// The web depiction page as a person opens it from a list: the repository's own page on
// loopback, under a header read from the store, in the palette's mode.
#include "screens/website/WebDepictionViewController.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/device/KSPlatform.h"
#include "screens/packages/PackagePageFixture.h"
#include "support/HttpServer.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Application.h"
#include "uikit/SafariViewController.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

constexpr const char* kWebTweak = "com.sample.htmldepiction";

class WebDepictionViewControllerTests : public PackagePageFixture {
  protected:
    void TearDown() override {
        EXPECT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
        uikit::Application::shared().setNetworkActivityIndicatorVisible(false);
        PackagePageFixture::TearDown();
    }

    // Opened as a list opens it, and shown until its page has loaded.
    std::shared_ptr<WebDepictionViewController> openDepiction(const std::string& identifier,
                                                              const std::string& address) {
        KSScreenFactory::Request request;
        request.packageIdentifier = identifier;
        request.websiteURL = foundation::URL::withString(address);
        auto page = std::dynamic_pointer_cast<WebDepictionViewController>(
            KSScreenFactory::make(KSScreenFactory::Screen::webDepiction, request));
        EXPECT_TRUE(page);
        if (!page)
            return nullptr;
        navigation->push(page, true);
        advanceClock(1);
        EXPECT_TRUE(page->webView());
        if (!page->webView())
            return nullptr;
        EXPECT_TRUE(pumpUntil([&] {
            return (page->webView()->url() && !page->webView()->isLoading()) ||
                   !page->errorLbl->isHidden();
        }));
        return page;
    }
    // Until the server has had the request of the given count and its page is in.
    static void waitForLoad(WebDepictionViewController& page,
                            const testing_support::HttpServer& server, const std::string& path,
                            std::size_t count) {
        EXPECT_TRUE(pumpUntil([&] { return depictionRequests(server, path).size() >= count; }));
        EXPECT_TRUE(pumpUntil([&] { return !page.webView()->isLoading(); }));
    }
    // The depiction requests the server received, newest last.
    static std::vector<testing_support::CapturedRequest> depictionRequests(
        const testing_support::HttpServer& server, const std::string& path) {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : server.requests())
            if (request.path == path)
                found.push_back(request);
        return found;
    }
    std::string depictionAddress() const { return location + "depictions/html.html"; }
};

TEST_F(WebDepictionViewControllerTests,
       TheRepositorysPageComesWithTheDeviceHeadersInThePalettesMode) {
    // The repository serves the whole suite: only this test's requests count.
    const auto earlier = depictionRequests(sample_->server(), "/depictions/html.html").size();
    auto page = openDepiction(kWebTweak, depictionAddress());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->webView()->title(), "Web Depiction Tweak");
    auto sent = depictionRequests(sample_->server(), "/depictions/html.html");
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(earlier));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].header("X-Cydia-ID"), KSPlatform::deviceUDID());
    EXPECT_EQ(sent[0].header("X-Unique-ID"), KSPlatform::deviceUDID());
    EXPECT_EQ(sent[0].header("X-Firmware"), KSPlatform::firmwareVersion());
    EXPECT_EQ(sent[0].header("X-Machine"), KSPlatform::deviceModelID());
    EXPECT_EQ(sent[0].header("Payment-Provider"), "API");
    EXPECT_TRUE(sent[0].header("Accept-Language"));
    EXPECT_EQ(sent[0].header("User-Agent"), "Telesphoreo APT-HTTP/1.0.592 Light");
    EXPECT_EQ(sent[0].header("Dark"), std::nullopt);

    // The page scrolls as one with the header, and the progress bar goes once it is full.
    const double pageHeight = page->webView()->contentSize().height;
    EXPECT_GT(pageHeight, 0);
    EXPECT_EQ(page->webViewContainerHeightConstraint->constant(), pageHeight);
    EXPECT_EQ(page->progressView->alpha(), 1.0);
    EXPECT_EQ(page->progressView->progress(), 1.0);
    advanceClock(WebDepictionViewController::kProgressFadeSeconds);
    advanceClock(WebDepictionViewController::kProgressFadeSeconds);
    EXPECT_EQ(page->progressView->alpha(), 0.0);
    EXPECT_EQ(page->progressView->progress(), 0.0);

    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kBlue));
    advanceClock(1);
    waitForLoad(*page, sample_->server(), "/depictions/html.html", earlier + 2);
    sent = depictionRequests(sample_->server(), "/depictions/html.html");
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(earlier));
    ASSERT_EQ(sent.size(), 2u) << "reloaded in the other mode";
    EXPECT_EQ(page->sizeLbl->textColor(), KSPaletteManager::getActivePalette().primaryTextColor())
        << "the captions stay readable on the dark page";
    EXPECT_EQ(sent[1].header("User-Agent"), "Telesphoreo APT-HTTP/1.0.592 Dark");
    EXPECT_EQ(sent[1].header("Dark"), "TRUE");
    EXPECT_EQ(sent[1].header("X-Cydia-ID"), KSPlatform::deviceUDID());
    EXPECT_NE(page->webView()->configuration().userAgent().find(") Dark"), std::string::npos);

    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
    advanceClock(1);
    waitForLoad(*page, sample_->server(), "/depictions/html.html", earlier + 3);
    sent = depictionRequests(sample_->server(), "/depictions/html.html");
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(earlier));
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].header("Dark"), std::nullopt);
}

// A depiction address may name any host: what identifies the device stays with the repository.
TEST_F(WebDepictionViewControllerTests, APageElsewhereGetsNoDeviceHeadersAndAFailureIsShown) {
    testing_support::HttpServer elsewhere;
    elsewhere.route("/page.html",
                    {.body = "<html><head><title>Elsewhere</title></head>"
                             "<body><a target=\"_blank\" href=\"/next.html\">next</a>"
                             "<a target=\"_blank\" href=\"javascript:alert(1)\">js</a>"
                             "</body></html>",
                     .contentType = "text/html"});
    elsewhere.route("/next.html", {.body = "<html><head><title>Next</title></head></html>",
                                   .contentType = "text/html"});
    elsewhere.start();
    auto page = openDepiction(kWebTweak, elsewhere.url("/page.html"));
    ASSERT_TRUE(page);
    auto sent = depictionRequests(elsewhere, "/page.html");
    ASSERT_EQ(sent.size(), 1u);
    for (const char* identifying :
         {"X-Cydia-ID", "X-Unique-ID", "X-Firmware", "X-Machine", "Payment-Provider"})
        EXPECT_EQ(sent[0].header(identifying), std::nullopt) << identifying;
    EXPECT_EQ(sent[0].header("User-Agent"), webkit::WebViewConfiguration::kBaseUserAgent)
        << "neither the package manager's user agent nor the device's model";
    EXPECT_TRUE(page->errorLbl->isHidden());

    // A link that asks for a new window stays in the page; a script link goes nowhere.
    ASSERT_TRUE(page->webView()->tapLink("javascript:alert(1)"));
    advanceClock(1);
    EXPECT_EQ(page->webView()->title(), "Elsewhere");
    ASSERT_TRUE(page->webView()->tapLink("/next.html"));
    waitForLoad(*page, elsewhere, "/next.html", 1);
    EXPECT_EQ(page->webView()->title(), "Next");
    EXPECT_FALSE(uikit::Application::shared().isNetworkActivityIndicatorVisible())
        << "turned off once the page has come";

    // Safari opens the depiction's own address.
    page->openInSafari();
    advanceClock(1);
    auto browser =
        std::dynamic_pointer_cast<uikit::SafariViewController>(page->presentedViewController());
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->url().absoluteString(), elsewhere.url("/page.html"));
    page->dismiss(false);
    navigation->popToRoot(false);
    advanceClock(1);

    // Nothing answers there: the page says so where the depiction would be.
    page = openDepiction(kWebTweak, "http://127.0.0.1:9/page.html");
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->errorLbl->isHidden());
    EXPECT_NE(page->errorLbl->text().value_or("").find("The depiction could not be loaded."),
              std::string::npos);
    EXPECT_FALSE(uikit::Application::shared().isNetworkActivityIndicatorVisible());
}

TEST_F(WebDepictionViewControllerTests, TheGetButtonFollowsTheStoredStateAndTheOwnPackageHasNone) {
    change(kWebTweak, [](KSRPackage& package) {
        package.isInstalled = true;
        package.isUpdated = true;
        package.isHeld = true;
    });
    auto page = openDepiction(kWebTweak, depictionAddress());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->getBtn->currentTitle(), "UNINSTALL") << "a held update is no update";
    EXPECT_EQ(page->nameLbl->text(), "Web Depiction Tweak");
    EXPECT_EQ(page->maintainerLbl->text(), "Bo Sample");
    EXPECT_EQ(page->packageVersionLbl->text(), "1.1");
    EXPECT_EQ(page->packageCategoryLbl->text(), "Tweaks");
    EXPECT_FALSE(page->packageSizeLbl->text().value_or("").empty());

    change(kWebTweak, [](KSRPackage& package) { package.isHeld = false; });
    navigation->push(std::make_shared<uikit::ViewController>(), false);
    navigation->pop(false);
    advanceClock(1);
    EXPECT_EQ(page->getBtn->currentTitle(), "UPDATE") << "read again at every appearance";
    navigation->popToRoot(false);
    advanceClock(1);

    change("com.sample.paid", [](KSRPackage& package) { package.price = "$1.99"; });
    page = openDepiction("com.sample.paid", location + "depictions/paid.html");
    ASSERT_TRUE(page);
    const std::string price = "$1.99";
    EXPECT_EQ(page->getBtn->currentTitle(), price);
    EXPECT_EQ(page->getBtnWidthConstraint->constant(),
              uikit::Font::boldSystemFont(13).sizeOfText(price).width + 34);
    navigation->popToRoot(false);
    advanceClock(1);

    // The application's own package, shown without a Get button unless an update waits.
    store({package("me.kestrune.corvane", "5.0")});
    page = openDepiction("me.kestrune.corvane", depictionAddress());
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->getBtn->isHidden());
    change("me.kestrune.corvane", [](KSRPackage& package) { package.isUpdated = true; });
    navigation->push(std::make_shared<uikit::ViewController>(), false);
    navigation->pop(false);
    advanceClock(1);
    EXPECT_FALSE(page->getBtn->isHidden());
}

TEST_F(WebDepictionViewControllerTests,
       ASourceWithItsOwnInformationShowsALargerIconOnLargerScreens) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    auto page = openDepiction(kWebTweak, depictionAddress());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->iconViewWidthConstraint->constant(), 120);
    EXPECT_EQ(page->iconView->layer().cornerRadius(), 30);
    EXPECT_TRUE(page->getBtnTopConstraintToIconView->isActive());
    EXPECT_FALSE(page->getBtnTopConstraintToMaintainerLbl->isActive());
    EXPECT_EQ(page->getBtn->layer().cornerRadius(), page->getBtn->frame().height() / 2);
    navigation->popToRoot(false);
    advanceClock(1);

    uikit::Screen::main().setBounds({0, 0, 320, 568});
    page = openDepiction(kWebTweak, depictionAddress());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->iconViewWidthConstraint->constant(), 100);
    EXPECT_EQ(page->iconView->layer().cornerRadius(), 25);
    EXPECT_FALSE(page->getBtnTopConstraintToIconView->isActive());
    EXPECT_TRUE(page->getBtnTopConstraintToMaintainerLbl->isActive());
    EXPECT_EQ(page->getBtnTopConstraintToMaintainerLbl->constant(), 30);
    EXPECT_EQ(page->nameLbl->font(), uikit::Font::systemFont(22, uikit::FontWeight::semibold));
}

}  // namespace
}  // namespace corvane::testing
