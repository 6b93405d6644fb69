// Where a browser engine would draw the page, the web views show its address.
#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "support/Pixels.h"
#include "uikit/ViewRenderer.h"
#include "webkit/LegacyWebView.h"
#include "webkit/WebView.h"

namespace {

using foundation::URL;
using testing_support::colorAt;
using testing_support::describe;
using testing_support::inkBounds;
using testing_support::pumpUntil;
using testing_support::strongestInk;
using uikit::Color;
using uikit::Rect;
using uikit::ViewRenderer;

template <typename AnyWebView>
void showPage(AnyWebView& view, const std::string& address) {
    view.loadHTMLString("<title>Page</title><p>Text</p>", URL::withString(address));
    ASSERT_TRUE(pumpUntil([&] { return view.url() && !view.isLoading(); }));
}

TEST(WebPlaceholder, AWebViewShowsThePagesAddressOverWhatItContains) {
    auto view = std::make_shared<webkit::WebView>(Rect{0, 0, 300, 200});
    view->setBackgroundColor(Color::white());
    auto image = ViewRenderer::imageOfView(*view, 2);
    Color panel = colorAt(*image, 5, 5);
    EXPECT_NE(panel, Color::white()) << "a plain panel stands in for the page";
    EXPECT_FALSE(inkBounds(*image, panel, view->bounds())) << "no address before a load";

    showPage(*view, "https://repo.example.com/depictions/tweak.html");
    view->scrollView()->setBackgroundColor(Color::systemRed());
    image = ViewRenderer::imageOfView(*view, 2);
    Color behind = colorAt(*image, 5, 5);
    auto address = inkBounds(*image, behind, view->bounds());
    ASSERT_TRUE(address);
    EXPECT_NEAR(address->midX(), 150, 4);
    EXPECT_NEAR(address->midY(), 100, 4);
    Color ink = strongestInk(*image, behind, *address);
    EXPECT_NEAR(ink.red(), ink.blue(), 0.02)
        << "grey text, over the page's own background: " << describe(ink);
}

TEST(WebPlaceholder, ALongAddressStaysWithinTheView) {
    auto view = std::make_shared<webkit::LegacyWebView>(Rect{0, 0, 200, 120});
    view->setBackgroundColor(Color::white());
    showPage(*view, "https://www.example.com/embed/" + std::string(3000, 'v') + "?playsinline=1");
    auto image = ViewRenderer::imageOfView(*view, 2);
    Color panel = colorAt(*image, 1, 1);
    auto address = inkBounds(*image, panel, view->bounds());
    ASSERT_TRUE(address);
    EXPECT_TRUE(Rect(8, 8, 184, 104).contains(*address)) << address->toString();
    EXPECT_LT(address->height(), 60) << "a few lines, then cut";
}

}  // namespace
