// A navigation stack on screen: pushes and pops as a person causes them, the bar they read.
#include <gtest/gtest.h>

#include "RecordingViewController.h"
#include "support/MainLoop.h"
#include "uikit/BarButtonItem.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using uikit_testing::EventLog;
using uikit_testing::RecordingViewController;
using Events = std::vector<std::string>;
using Controllers = std::vector<std::shared_ptr<ViewController>>;

class NavigationControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<RecordingViewController> root = screen("Sources");
    std::shared_ptr<NavigationController> navigation = NavigationController::create(root);

    std::shared_ptr<RecordingViewController> screen(const std::string& name) {
        return std::make_shared<RecordingViewController>(name, log);
    }
    void show() {
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        advanceClock(0);
        log->take();
    }
    bool barShows(const std::string& line) {
        return navigation->navigationBar()->describe().find(line) != std::string::npos;
    }
};

TEST_F(NavigationControllerTest, PushAndPopMoveTheAppearanceHooksInOrder) {
    show();
    auto page = screen("Package");
    navigation->push(page, true);
    EXPECT_EQ(navigation->viewControllers(), (Controllers{root, page}));
    EXPECT_EQ(page->navigationController(), navigation);
    EXPECT_EQ(log->take(), (Events{"Package didLoad", "Sources willDisappear",
                                   "Package willAppear (arriving)"}));
    advanceClock(0.3);
    EXPECT_EQ(log->take(), (Events{"Sources didDisappear", "Package didAppear (arriving)"}));
    EXPECT_EQ(root->view()->window(), nullptr);
    EXPECT_FALSE(page->isMovingToParentViewController());

    EXPECT_EQ(navigation->pop(true), page);
    EXPECT_EQ(navigation->viewControllers(), (Controllers{root})) << "the stack changes at once";
    EXPECT_EQ(log->take(), (Events{"Package willDisappear (leaving)", "Sources willAppear"}));
    advanceClock(0.3);
    EXPECT_EQ(log->take(), (Events{"Package didDisappear (leaving)", "Sources didAppear"}));
    EXPECT_EQ(page->parent(), nullptr);
    EXPECT_EQ(page->view()->window(), nullptr);
    EXPECT_EQ(navigation->pop(true), nullptr) << "the root stays";
}

TEST_F(NavigationControllerTest, PopToRootTellsOnlyTheTopAndTheRoot) {
    show();
    auto middle = screen("Middle");
    auto top = screen("Top");
    navigation->push(middle, false);
    navigation->push(top, false);
    advanceClock(0);
    log->take();
    EXPECT_EQ(navigation->popToRoot(false), (Controllers{middle, top}));
    advanceClock(0);
    EXPECT_EQ(log->take(), (Events{"Top willDisappear (leaving)", "Sources willAppear",
                                   "Top didDisappear (leaving)", "Sources didAppear"}));
    EXPECT_EQ(middle->parent(), nullptr);
    EXPECT_EQ(navigation->children(), (Controllers{root}));
}

TEST_F(NavigationControllerTest, ASecondPushDuringATransitionFinishesTheFirst) {
    show();
    auto first = screen("First");
    auto second = screen("Second");
    navigation->push(first, true);
    navigation->push(second, true);
    advanceClock(0.3);
    EXPECT_EQ(log->take(),
              (Events{"First didLoad", "Sources willDisappear", "First willAppear (arriving)",
                      "Sources didDisappear", "First didAppear (arriving)", "Second didLoad",
                      "First willDisappear", "Second willAppear (arriving)", "First didDisappear",
                      "Second didAppear (arriving)"}));
    navigation->push(second, false);
    EXPECT_EQ(navigation->viewControllers().size(), 3u)
        << "the same controller is not pushed twice";
}

TEST_F(NavigationControllerTest, AStackOffScreenChangesAtOnceWithoutAppearanceHooks) {
    auto page = screen("Package");
    navigation->push(page, true);
    EXPECT_EQ(log->take(), Events{});
    EXPECT_FALSE(page->isMovingToParentViewController());
    EXPECT_EQ(page->parent(), navigation);
    show();
    EXPECT_FALSE(root->isViewLoaded()) << "only the top controller is shown";
}

TEST_F(NavigationControllerTest, TheBarShowsTheTopItemAndItsButtonsWork) {
    show();
    int sorts = 0;
    auto sort = BarButtonItem::withTitle("Sort", BarButtonItem::Style::plain,
                                         [&](BarButtonItem&) { ++sorts; });
    auto page = screen("Package");
    page->navigationItem()->setRightBarButtonItem(sort);
    navigation->push(page, false);
    advanceClock(0);
    window->layoutIfNeeded();
    EXPECT_TRUE(barShows("Label \"Package\""));
    EXPECT_TRUE(barShows("Button \"‹ Sources\""));
    EXPECT_TRUE(barShows("Button \"Sort\""));

    EXPECT_TRUE(hands::tapBarButton(sort));
    EXPECT_EQ(sorts, 1);
    sort->setEnabled(false);
    window->layoutIfNeeded();
    hands::tapBarButton(sort);
    EXPECT_EQ(sorts, 1) << "a disabled item does nothing";
    EXPECT_TRUE(barShows("Button \"Sort\" disabled"));

    page->setTitle("Renamed");
    EXPECT_TRUE(barShows("Label \"Renamed\""));

    auto back = std::dynamic_pointer_cast<Button>(navigation->navigationBar()->subviews().front());
    ASSERT_TRUE(back);
    window->layoutIfNeeded();
    EXPECT_TRUE(hands::tap(back));
    advanceClock(0.3);
    EXPECT_EQ(navigation->topViewController(), root);
    EXPECT_FALSE(barShows("Sort"));
    EXPECT_FALSE(hands::tapBarButton(sort)) << "an item no bar shows cannot be tapped";
}

TEST_F(NavigationControllerTest, ContentSitsUnderOrBelowTheBarAsItsFlagsSay) {
    show();
    window->layoutIfNeeded();
    EXPECT_EQ(navigation->navigationBar()->frame(), (Rect{0, 20, 375, 44}));
    EXPECT_EQ(root->view()->frame(), (Rect{0, 0, 375, 667})) << "under a translucent bar";

    navigation->navigationBar()->setTranslucent(false);
    navigation->setNavigationBarHidden(false);
    EXPECT_EQ(root->view()->frame(), (Rect{0, 64, 375, 603}));
    root->setExtendedLayoutIncludesOpaqueBars(true);
    navigation->setNavigationBarHidden(false);
    EXPECT_EQ(root->view()->frame().minY(), 0);

    navigation->setNavigationBarHidden(true);
    EXPECT_TRUE(navigation->navigationBar()->isHidden());
    EXPECT_EQ(window->describe().find("NavigationBar"), std::string::npos);
}

TEST_F(NavigationControllerTest, LargeTitlesShowUnlessTheItemRefusesThem) {
    show();
    navigation->navigationBar()->setPrefersLargeTitles(true);
    EXPECT_TRUE(navigation->navigationBar()->showsLargeTitle());
    EXPECT_EQ(navigation->navigationBar()->sizeThatFits({375, 0}).height, 96);
    root->navigationItem()->setLargeTitleDisplayMode(NavigationItem::LargeTitleDisplayMode::never);
    EXPECT_FALSE(navigation->navigationBar()->showsLargeTitle());
    EXPECT_TRUE(barShows("Label \"Sources\""));
}

TEST_F(NavigationControllerTest, TheStatusBarFollowsTheBarStyle) {
    show();
    EXPECT_EQ(window->statusBarStyle(), StatusBarStyle::defaultStyle);
    navigation->navigationBar()->setBarStyle(BarStyle::black);
    root->setNeedsStatusBarAppearanceUpdate();
    EXPECT_EQ(window->statusBarStyle(), StatusBarStyle::lightContent);
}

}  // namespace
