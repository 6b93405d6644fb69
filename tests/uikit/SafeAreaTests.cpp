// Screens start below their bars: the safe area of the views under a navigation bar or above a
// tab bar, and scroll views whose content insets follow it.
#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/Hands.h"
#include "uikit/NavigationController.h"
#include "uikit/ScrollView.h"
#include "uikit/TabBarController.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

constexpr double kContentHeight = 2000;

// A screen whose view a scroll view fills, as the lists and the package page are built.
class ScrollingScreen : public ViewController {
  public:
    std::shared_ptr<ScrollView> scrollView = std::make_shared<ScrollView>();
    std::shared_ptr<View> content = std::make_shared<View>(Rect{0, 0, 375, kContentHeight});

  protected:
    void viewDidLoad() override {
        scrollView->setFrame(view()->bounds());
        scrollView->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
        scrollView->setContentSize({375, kContentHeight});
        scrollView->addSubview(content);
        view()->addSubview(scrollView);
    }
};

class SafeAreaTest : public ::testing::Test {
  protected:
    std::shared_ptr<Window> window = std::make_shared<Window>();

    void show(const std::shared_ptr<ViewController>& root) {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        settle();
    }
    // Transitions end and the layout pass runs.
    static void settle() { advanceClock(1); }

    // Where the top of the content is on screen.
    double contentTopOnScreen(const ScrollingScreen& screen) const {
        return screen.content->convertPointTo({0, 0}, window.get()).y;
    }
};

TEST_F(SafeAreaTest, APushedScrollingScreenStartsBelowTheNavigationBarAndScrollsBackThere) {
    auto navigation = NavigationController::create(std::make_shared<ViewController>());
    show(navigation);
    auto page = std::make_shared<ScrollingScreen>();
    navigation->push(page, true);
    settle();

    const double barBottom = navigation->navigationBar()->frame().maxY();
    EXPECT_EQ(barBottom, Window::kStatusBarHeight + 44);
    EXPECT_EQ(page->view()->frame(), window->bounds()) << "a translucent bar is drawn over it";
    EXPECT_EQ(page->view()->safeAreaInsets(), (EdgeInsets{64, 0, 0, 0}));
    EXPECT_EQ(page->scrollView->safeAreaInsets(), (EdgeInsets{64, 0, 0, 0}));
    EXPECT_EQ(page->scrollView->adjustedContentInset(), (EdgeInsets{64, 0, 0, 0}));
    EXPECT_EQ(page->scrollView->contentOffset(), (Point{0, -64}));
    EXPECT_EQ(contentTopOnScreen(*page), barBottom) << "nothing of the content under the bar";
    EXPECT_EQ(page->content->safeAreaInsets().top, 0) << "inset by the scroll view already";
    EXPECT_EQ(navigation->navigationBar()->safeAreaInsets().top, 0) << "no bar insets itself";

    // Scrolled down and flung back, the content comes to rest below the bar again.
    hands::scrollTo(*page->scrollView, {0, 500});
    EXPECT_EQ(page->scrollView->contentOffset(), (Point{0, 500}));
    hands::fling(*page->scrollView, {0, 400}, {0, -20});
    EXPECT_EQ(page->scrollView->contentOffset(), (Point{0, -64}));
    EXPECT_EQ(page->scrollView->maximumContentOffset().y, kContentHeight - 667);

    // The bar hidden, only the status bar is left above the content; shown again, the content
    // at rest follows the bar down.
    navigation->setNavigationBarHidden(true);
    settle();
    EXPECT_EQ(page->scrollView->adjustedContentInset().top, Window::kStatusBarHeight);
    EXPECT_EQ(page->scrollView->contentOffset().y, -Window::kStatusBarHeight);
    navigation->setNavigationBarHidden(false);
    settle();
    EXPECT_EQ(page->scrollView->contentOffset().y, -64);
}

TEST_F(SafeAreaTest, AScreenWithoutABarHasNoBarInset) {
    // Not under any bar: only the status bar, which the window leaves unsafe.
    auto screen = std::make_shared<ScrollingScreen>();
    show(screen);
    EXPECT_EQ(screen->scrollView->adjustedContentInset(),
              (EdgeInsets{Window::kStatusBarHeight, 0, 0, 0}));
    EXPECT_EQ(screen->scrollView->contentOffset().y, -Window::kStatusBarHeight);

    // Out of any window, and kept from adjusting: no inset at all, and the content at 0.
    auto loose = std::make_shared<ScrollingScreen>();
    loose->view()->layoutIfNeeded();
    EXPECT_EQ(loose->scrollView->adjustedContentInset(), EdgeInsets{});
    EXPECT_EQ(loose->scrollView->contentOffset(), Point{});
    auto unadjusted = std::make_shared<ScrollingScreen>();
    unadjusted->scrollView->setContentInsetAdjustmentBehavior(ContentInsetAdjustment::never);
    auto navigation = NavigationController::create(unadjusted);
    window->setRootViewController(navigation);
    settle();
    EXPECT_EQ(unadjusted->scrollView->safeAreaInsets().top, 64);
    EXPECT_EQ(unadjusted->scrollView->adjustedContentInset(), EdgeInsets{});
    EXPECT_EQ(unadjusted->scrollView->contentOffset(), Point{});
}

TEST_F(SafeAreaTest, ATabBarInsetsTheBottomOfItsScreens) {
    auto page = std::make_shared<ScrollingScreen>();
    auto navigation = NavigationController::create(page);
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({navigation});
    show(tabs);

    const double barHeight = tabs->tabBar()->frame().height();
    EXPECT_EQ(barHeight, TabBar::kHeight);
    EXPECT_EQ(page->view()->frame(), window->bounds());
    EXPECT_EQ(page->scrollView->adjustedContentInset(), (EdgeInsets{64, 0, barHeight, 0}));
    EXPECT_EQ(page->scrollView->contentOffset().y, -64);
    // Scrolled to its end, the last of the content rests just above the tab bar.
    EXPECT_EQ(page->scrollView->maximumContentOffset().y, kContentHeight - 667 + barHeight);
    hands::fling(*page->scrollView, {0, 1000}, {0, 20});
    const double contentBottom = page->content->convertPointTo({0, kContentHeight}, window.get()).y;
    EXPECT_EQ(contentBottom, tabs->tabBar()->frame().minY());

    // An opaque tab bar keeps the screens above it: nothing left to inset.
    tabs->tabBar()->setTranslucent(false);
    tabs->view()->setNeedsLayout();
    settle();
    EXPECT_EQ(page->view()->frame().height(), 667 - barHeight);
    EXPECT_EQ(page->scrollView->adjustedContentInset().bottom, 0);
}

}  // namespace
