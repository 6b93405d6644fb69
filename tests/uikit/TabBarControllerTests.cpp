// Tabs as a person switches them.
#include <gtest/gtest.h>

#include "RecordingViewController.h"
#include "support/MainLoop.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/TabBarController.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using uikit_testing::EventLog;
using uikit_testing::RecordingViewController;
using Events = std::vector<std::string>;

class TabBarControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<TabBarController> tabs = std::make_shared<TabBarController>();
    std::shared_ptr<RecordingViewController> featured = screen("Featured");
    std::shared_ptr<RecordingViewController> sources = screen("Sources");
    std::shared_ptr<RecordingViewController> search = screen("Search");

    std::shared_ptr<RecordingViewController> screen(const std::string& name) {
        return std::make_shared<RecordingViewController>(name, log);
    }
    void show() {
        tabs->setViewControllers({featured, NavigationController::create(sources), search});
        window->setRootViewController(tabs);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        log->take();
    }
};

TEST_F(TabBarControllerTest, SwitchingTabsMovesTheHooksInTheSystemsOrder) {
    show();
    EXPECT_TRUE(hands::selectTab(tabs, 2));
    EXPECT_EQ(tabs->selectedIndex(), 2u);
    EXPECT_EQ(log->take(), (Events{"Featured willDisappear", "Search didLoad", "Search willAppear",
                                   "Featured didDisappear", "Search didAppear"}));
    EXPECT_EQ(featured->view()->window(), nullptr);

    tabs->setSelectedIndex(1);
    EXPECT_EQ(log->take(), (Events{"Search willDisappear", "Sources didLoad", "Sources willAppear",
                                   "Search didDisappear", "Sources didAppear"}))
        << "a navigation tab passes the hooks to its top controller";
    EXPECT_EQ(sources->tabBarController(), tabs);

    tabs->setSelectedIndex(1);
    tabs->setSelectedIndex(7);
    EXPECT_EQ(log->take(), Events{});
    EXPECT_EQ(tabs->selectedIndex(), 1u);
}

TEST_F(TabBarControllerTest, TheTabBarShowsEachTitleAndMarksTheSelectedOne) {
    show();
    auto bar = tabs->tabBar()->describe();
    EXPECT_NE(bar.find("Button \"Featured\" selected"), std::string::npos) << bar;
    EXPECT_NE(bar.find("Button \"Search\"\n"), std::string::npos) << bar;
    hands::selectTab(tabs, 2);
    bar = tabs->tabBar()->describe();
    EXPECT_NE(bar.find("Button \"Search\" selected"), std::string::npos) << bar;
    search->setTitle("Find");
    EXPECT_NE(tabs->tabBar()->describe().find("Button \"Find\" selected"), std::string::npos);
    EXPECT_NE(bar.find("Button \"Sources\"\n"), std::string::npos)
        << "a navigation tab shows its root's title" << bar;
    sources->setTitle("Manage");
    EXPECT_NE(tabs->tabBar()->describe().find("Button \"Manage\"\n"), std::string::npos);
}

TEST_F(TabBarControllerTest, ReplacingTheTabsKeepsTheOnesThatStay) {
    show();
    auto extra = screen("Extra");
    tabs->setViewControllers({featured, extra});
    EXPECT_EQ(featured->parent(), tabs);
    EXPECT_EQ(search->parent(), nullptr);
    EXPECT_EQ(log->take(), Events{}) << "the selected tab stayed";
    tabs->setViewControllers({extra});
    EXPECT_EQ(log->take(), (Events{"Featured willDisappear", "Extra didLoad", "Extra willAppear",
                                   "Featured didDisappear", "Extra didAppear"}));
}

}  // namespace

// A panel the controller adds over its bar with constraints follows the bar and the screen.
TEST_F(TabBarControllerTest, AViewAddedWithConstraintsIsPlacedAgainstTheTabBar) {
    show();
    auto container = tabs->view();
    auto panel = std::make_shared<View>();
    container->addSubview(panel);
    panel->setTranslatesAutoresizingMaskIntoConstraints(false);
    LayoutConstraint::activate(
        {panel->leadingAnchor().constraintEqualTo(container->leadingAnchor(), 20),
         panel->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -20),
         panel->heightAnchor().constraintEqualToConstant(65),
         panel->bottomAnchor().constraintEqualTo(tabs->tabBar()->topAnchor(), -10)});
    container->setNeedsLayout();
    window->layoutIfNeeded();
    const Rect bar = tabs->tabBar()->frame();
    EXPECT_EQ(panel->frame(), (Rect{20, bar.minY() - 75, container->bounds().width() - 40, 65}));
    EXPECT_EQ(container->subviews().back(), panel) << "above the tabs' content";

    tabs->setSelectedIndex(2);
    window->layoutIfNeeded();
    EXPECT_EQ(container->subviews().back(), panel) << "a new tab's content goes below it";
}
