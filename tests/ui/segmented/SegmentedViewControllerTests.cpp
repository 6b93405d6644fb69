// The segmented container as a person switches it: which child shows, for how long a switch
// runs, and switches that must do nothing or wait.
#include "ui/segmented/SegmentedViewController.h"

#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "uikit/Hands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::ViewController;

class SegmentedViewControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<SegmentedViewController> show(int firstIndex) {
        auto container = SegmentedViewController::initWithControllers(
            children, {"Categories", "Information", "Packages"}, firstIndex);
        window->setRootViewController(uikit::NavigationController::create(container));
        window->makeKeyAndVisible();
        advanceClock(0);
        return container;
    }
    // The children whose views are on screen in the container.
    std::vector<std::shared_ptr<ViewController>> shown(SegmentedViewController& container) {
        std::vector<std::shared_ptr<ViewController>> found;
        for (const auto& child : children)
            if (child->viewIfLoaded() && child->viewIfLoaded()->superview() == container.view())
                found.push_back(child);
        return found;
    }
    static bool tapSegment(SegmentedViewController& container, int index) {
        const auto& control = container.viewSelector();
        return uikit::hands::tapAt(control, control->rectForSegment(index).center());
    }

    testing_support::TempDeviceRoot root;
    std::vector<std::shared_ptr<ViewController>> children{std::make_shared<ViewController>(),
                                                          std::make_shared<ViewController>(),
                                                          std::make_shared<ViewController>()};
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
};

TEST_F(SegmentedViewControllerTest, StartsOnTheFirstIndexWithTheControlInTheNavigationBar) {
    auto container = show(1);
    EXPECT_EQ(container->activeViewController(), children[1]);
    EXPECT_EQ(shown(*container), std::vector<std::shared_ptr<ViewController>>{children[1]});
    EXPECT_EQ(children[1]->view()->frame(), container->view()->bounds());
    EXPECT_EQ(container->viewSelector()->selectedSegmentIndex(), 1);
    EXPECT_EQ(container->navigationItem()->rightBarButtonItem()->customView(),
              container->viewSelector());
    EXPECT_TRUE(container->overrideLargeTitles());
    EXPECT_TRUE(children[1]->isVisible());

    auto stack = container->titleViewWithTitle("Source");
    ASSERT_EQ(stack->arrangedSubviews().size(), 2u);
    EXPECT_EQ(stack->arrangedSubviews()[1], container->viewSelector());
}

TEST_F(SegmentedViewControllerTest, ATapSwitchesTheChildOverAQuarterSecond) {
    auto container = show(0);
    ASSERT_TRUE(tapSegment(*container, 1));
    EXPECT_TRUE(container->isTransitioning());
    EXPECT_EQ(container->activeViewController(), children[0]) << "until the switch has run";

    advanceClock(0.2);
    EXPECT_TRUE(container->isTransitioning());
    advanceClock(0.05);
    EXPECT_FALSE(container->isTransitioning());
    EXPECT_EQ(container->activeViewController(), children[1]);
    EXPECT_EQ(shown(*container), std::vector<std::shared_ptr<ViewController>>{children[1]});
    EXPECT_EQ(container->children(), std::vector<std::shared_ptr<ViewController>>{children[1]});
    EXPECT_EQ(children[0]->parent(), nullptr);
    EXPECT_TRUE(children[1]->isVisible());
    EXPECT_FALSE(children[0]->isVisible());
}

TEST_F(SegmentedViewControllerTest, SwitchesThatCannotChangeAnythingDoNothingAndOthersWait) {
    auto container = show(0);
    container->setActiveIndex(0);
    container->setActiveIndex(3);
    container->setActiveIndex(-1);
    EXPECT_FALSE(container->isTransitioning());
    EXPECT_EQ(container->activeIndex(), 0);
    EXPECT_EQ(container->children().size(), 1u);

    container->setActiveIndex(1);
    container->setActiveIndex(2);  // while the first switch runs
    EXPECT_EQ(container->viewSelector()->selectedSegmentIndex(), 2);
    advanceClock(0.25);
    EXPECT_EQ(container->activeViewController(), children[1]);
    EXPECT_TRUE(container->isTransitioning()) << "the waiting switch starts when the first ends";
    advanceClock(0.25);
    EXPECT_EQ(container->activeViewController(), children[2]);
    EXPECT_EQ(shown(*container), std::vector<std::shared_ptr<ViewController>>{children[2]});
    EXPECT_EQ(container->children(), std::vector<std::shared_ptr<ViewController>>{children[2]});
}

}  // namespace
}  // namespace corvane
