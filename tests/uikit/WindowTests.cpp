// The window: what it shows, and the root controller's appearance.
#include <gtest/gtest.h>

#include "RecordingViewController.h"
#include "support/MainLoop.h"
#include "uikit/Application.h"
#include "uikit/Label.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using uikit_testing::EventLog;
using uikit_testing::RecordingViewController;
using Events = std::vector<std::string>;

TEST(WindowTest, TheRootAppearsWhenTheWindowIsShownAndLeavesWhenReplaced) {
    auto log = std::make_shared<EventLog>();
    auto window = std::make_shared<Window>();
    auto first = std::make_shared<RecordingViewController>("First", log);
    window->setRootViewController(first);
    EXPECT_EQ(log->take(), (Events{"First didLoad"}));
    EXPECT_EQ(window->describe(), "") << "hidden until made key and visible";

    window->makeKeyAndVisible();
    EXPECT_EQ(log->take(), (Events{"First willAppear", "First didAppear"}));
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(Application::shared().keyWindow(), window);
    EXPECT_EQ(window->bounds(), (Rect{0, 0, 375, 667}));
    EXPECT_EQ(first->view()->frame(), window->bounds());
    EXPECT_EQ(first->view()->safeAreaInsets().top, Window::kStatusBarHeight);

    auto sheet = std::make_shared<RecordingViewController>("Sheet", log);
    first->present(sheet, false);
    advanceClock(0);
    auto second = std::make_shared<RecordingViewController>("Second", log);
    log->take();
    window->setRootViewController(second);
    EXPECT_EQ(log->take(), (Events{"Sheet willDisappear", "Sheet didDisappear", "Second didLoad",
                                   "Second willAppear", "Second didAppear"}))
        << "the covered root had already disappeared";
    EXPECT_EQ(first->presentedViewController(), nullptr);
    EXPECT_EQ(window->subviews().size(), 1u) << "nothing of the old root is left on screen";
}

TEST(WindowTest, DescribeReadsTheScreenTopDown) {
    auto window = std::make_shared<Window>();
    auto root = std::make_shared<ViewController>();
    auto label = std::make_shared<Label>();
    label->setText("Hello");
    root->view()->addSubview(label);
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    EXPECT_EQ(window->describe(), "Window\n  View\n    Label \"Hello\"\n");
}

TEST(WindowTest, TheSystemStyleReachesWindowsThatDoNotOverrideIt) {
    auto log = std::make_shared<EventLog>();
    auto window = std::make_shared<Window>();
    auto root = std::make_shared<RecordingViewController>("Root", log);
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    Application::shared().setSystemUserInterfaceStyle(UserInterfaceStyle::dark);
    EXPECT_EQ(root->traitChanges, (std::vector{UserInterfaceStyle::dark}));
    window->setOverrideUserInterfaceStyle(UserInterfaceStyle::light);
    Application::shared().setSystemUserInterfaceStyle(UserInterfaceStyle::light);
    EXPECT_EQ(root->traitChanges,
              (std::vector{UserInterfaceStyle::dark, UserInterfaceStyle::light}));
}

}  // namespace

TEST(WindowTest, PresentationsStartFromTheTopmostControllerThatIsNotLeaving) {
    auto window = std::make_shared<Window>();
    auto root = std::make_shared<ViewController>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    EXPECT_EQ(window->topmostPresentedViewController(), root);

    auto console = std::make_shared<ViewController>();
    auto alert = std::make_shared<ViewController>();
    root->present(console, false);
    advanceClock(0);
    console->present(alert, false);
    advanceClock(0);
    EXPECT_EQ(window->topmostPresentedViewController(), alert)
        << "two levels up, not one: an alert over the console is the presenter";

    alert->dismiss(true);
    EXPECT_EQ(window->topmostPresentedViewController(), console)
        << "a controller on its way out is never presented from";
    advanceClock(1);
    EXPECT_EQ(window->topmostPresentedViewController(), console);
}
