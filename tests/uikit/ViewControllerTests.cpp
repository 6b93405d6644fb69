// Controllers as the screens use them: views from nib builders, presentation and dismissal on
// the run loop's clock, child containment, traits.
#include <gtest/gtest.h>

#include "DevicePose.h"
#include "RecordingViewController.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"
#include "uikit/Device.h"
#include "uikit/Label.h"
#include "uikit/NavigationController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using uikit_testing::DevicePose;
using uikit_testing::EventLog;
using uikit_testing::RecordingViewController;
using Events = std::vector<std::string>;

class ViewControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    std::shared_ptr<Window> window = std::make_shared<Window>();

    std::shared_ptr<RecordingViewController> screen(const std::string& name) {
        return std::make_shared<RecordingViewController>(name, log);
    }
    std::shared_ptr<RecordingViewController> showRoot(const std::string& name) {
        auto root = screen(name);
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        log->take();
        return root;
    }
};

class NibScreen : public ViewController {
  public:
    NibScreen() : ViewController("NibScreen") {}
    std::shared_ptr<Label> nameLbl;
    int loads = 0;

  protected:
    void viewDidLoad() override { ++loads; }
};

TEST_F(ViewControllerTest, ViewComesFromTheNibBuilderOnceAndOnlyWhenAskedFor) {
    NibRegistry::shared().registerNib(
        "NibScreen", [](const std::shared_ptr<ViewController>& owner) {
            auto view = std::make_shared<View>(Rect{0, 0, 375, 667});
            auto label = std::make_shared<Label>();
            label->setText("From the nib");
            view->addSubview(label);
            std::static_pointer_cast<NibScreen>(owner)->nameLbl = label;
            return view;
        });
    auto controller = std::make_shared<NibScreen>();
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_EQ(controller->loads, 0);

    auto view = controller->view();
    ASSERT_TRUE(controller->nameLbl);
    EXPECT_EQ(controller->nameLbl->superview(), view);
    EXPECT_EQ(view->owningViewController(), controller);
    controller->view();
    controller->loadViewIfNeeded();
    EXPECT_EQ(controller->loads, 1);

    auto missing = std::make_shared<ViewController>("NoSuchNib");
    EXPECT_TRUE(missing->view()) << "a missing nib leaves a plain view, not a crash";
}

TEST_F(ViewControllerTest, PresentationAndDismissalFinishOnTheClockWithCompletionsLast) {
    auto root = showRoot("Root");
    auto sheet = screen("Sheet");
    bool presented = false;
    root->present(sheet, true, [&] {
        presented = true;
        EXPECT_FALSE(sheet->isBeingPresented());
    });
    EXPECT_EQ(root->presentedViewController(), sheet);
    EXPECT_EQ(sheet->presentingViewController(), root);
    EXPECT_TRUE(sheet->isBeingPresented());
    EXPECT_EQ(log->take(), (Events{"Sheet didLoad", "Sheet willAppear", "Root willDisappear"}));

    advanceClock(0.25);
    EXPECT_FALSE(presented);
    advanceClock(0.1);
    EXPECT_TRUE(presented);
    EXPECT_EQ(log->take(), (Events{"Sheet didAppear", "Root didDisappear"}));
    EXPECT_EQ(root->view()->window(), nullptr) << "a full-screen cover takes the root off screen";
    EXPECT_EQ(sheet->view()->window(), window);

    bool dismissed = false;
    sheet->dismiss(true, [&] {
        dismissed = true;
        EXPECT_EQ(root->presentedViewController(), nullptr);
        EXPECT_EQ(sheet->presentingViewController(), nullptr);
        EXPECT_FALSE(sheet->isBeingDismissed());
    });
    EXPECT_TRUE(sheet->isBeingDismissed());
    EXPECT_EQ(root->presentedViewController(), sheet) << "cleared only when the transition ends";
    EXPECT_EQ(log->take(), (Events{"Sheet willDisappear", "Root willAppear"}));
    advanceClock(0.3);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(log->take(), (Events{"Sheet didDisappear", "Root didAppear"}));
    EXPECT_EQ(root->view()->window(), window);
    EXPECT_EQ(sheet->view()->window(), nullptr);
}

TEST_F(ViewControllerTest, WithoutAnimationTheTransitionEndsOnTheNextTurn) {
    auto root = showRoot("Root");
    bool presented = false;
    root->present(screen("Sheet"), false, [&] { presented = true; });
    EXPECT_FALSE(presented);
    advanceClock(0);
    EXPECT_TRUE(presented);
}

// The end of a transition is all that holds the controllers together while it runs: when the
// run loop drops it unrun, nothing keeps them alive.
TEST(ViewControllerTransition, AnEndDroppedUnrunLetsGoOfTheControllers) {
    std::weak_ptr<ViewController> presenterLeft;
    std::weak_ptr<ViewController> presentedLeft;
    {
        auto window = std::make_shared<Window>();
        auto presenter = std::make_shared<ViewController>();
        window->setRootViewController(presenter);
        window->makeKeyAndVisible();
        auto presented = std::make_shared<ViewController>();
        presenter->present(presented, true);
        presenterLeft = presenter;
        presentedLeft = presented;
    }
    foundation::RunLoop::main().dropPendingWork();
    EXPECT_TRUE(presenterLeft.expired());
    EXPECT_TRUE(presentedLeft.expired());
}

TEST_F(ViewControllerTest, PresentingWhileAlreadyPresentingIsRefused) {
    auto root = showRoot("Root");
    auto navigation = NavigationController::create(screen("Inner"));
    auto first = screen("First");
    root->present(first, false);
    advanceClock(0);

    bool secondCompleted = false;
    auto second = screen("Second");
    root->present(second, false, [&] { secondCompleted = true; });
    advanceClock(0.5);
    EXPECT_FALSE(secondCompleted);
    EXPECT_EQ(root->presentedViewController(), first);
    EXPECT_EQ(second->presentingViewController(), nullptr);
    EXPECT_FALSE(second->isViewLoaded());

    // The presented controller may present in turn; dismissing from the root ends both, and
    // the completion sees nothing presented any more.
    first->present(navigation, false);
    advanceClock(0);
    EXPECT_EQ(first->presentedViewController(), navigation);
    auto inner = navigation->topViewController();
    EXPECT_EQ(inner->presentingViewController(), first) << "a child answers for its container";
    bool dismissed = false;
    root->dismiss(false, [&] {
        dismissed = true;
        EXPECT_EQ(root->presentedViewController(), nullptr);
        EXPECT_EQ(first->presentedViewController(), nullptr);
    });
    advanceClock(0);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(navigation->view()->window(), nullptr);
}

TEST_F(ViewControllerTest, APresentationThatLeavesThePresenterShowingKeepsItAppeared) {
    auto root = showRoot("Root");
    auto sheet = screen("Sheet");
    sheet->setModalPresentationStyle(ModalPresentationStyle::formSheet);
    root->present(sheet, true);
    advanceClock(0.3);
    EXPECT_EQ(log->take(), (Events{"Sheet didLoad", "Sheet willAppear", "Sheet didAppear"}));
    EXPECT_EQ(root->view()->window(), window);
    sheet->dismiss(true);
    advanceClock(0.3);
    EXPECT_EQ(log->take(), (Events{"Sheet willDisappear", "Sheet didDisappear"}));
}

TEST_F(ViewControllerTest, ACoveredScreenComesBackWhereItWasAsTheDismissalBegins) {
    auto root = showRoot("Root");
    auto badge = std::make_shared<View>(Rect{0, 0, 20, 20});
    window->addSubview(badge);
    root->present(screen("Sheet"), false);
    advanceClock(0);
    ASSERT_EQ(root->view()->superview(), nullptr);
    root->dismiss(true);
    ASSERT_FALSE(window->subviews().empty());
    EXPECT_EQ(window->subviews().front(), root->view()) << "under the badge, as before";
}

TEST_F(ViewControllerTest, ADismissalDuringThePresentationWaitsForItToFinish) {
    auto root = showRoot("Root");
    auto sheet = screen("Sheet");
    std::vector<std::string> completions;
    root->present(sheet, true, [&] { completions.push_back("presented"); });
    root->dismiss(true, [&] { completions.push_back("dismissed"); });
    EXPECT_EQ(completions, (Events{"presented"}));
    advanceClock(0.3);
    EXPECT_EQ(completions, (Events{"presented", "dismissed"}));
    EXPECT_EQ(log->take(), (Events{"Sheet didLoad", "Sheet willAppear", "Root willDisappear",
                                   "Sheet didAppear", "Root didDisappear", "Sheet willDisappear",
                                   "Root willAppear", "Sheet didDisappear", "Root didAppear"}));
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(ViewControllerTest, ADoubleDismissalRunsOneCompletion) {
    auto root = showRoot("Root");
    root->present(screen("Sheet"), false);
    advanceClock(0);
    int completions = 0;
    root->dismiss(true, [&] { ++completions; });
    root->dismiss(true, [&] { ++completions; });
    advanceClock(0.3);
    EXPECT_EQ(completions, 1);
}

TEST_F(ViewControllerTest, TransitionBetweenChildrenLeavesOneChildShowing) {
    // Set up as a segmented container does when its view loads, before it is shown.
    auto container = screen("Container");
    auto first = screen("First");
    auto second = screen("Second");
    container->addChild(first);
    first->view()->setFrame(container->view()->bounds());
    container->view()->addSubview(first->view());
    first->didMove(container);
    window->setRootViewController(container);
    window->makeKeyAndVisible();
    container->addChild(second);
    log->take();

    bool finished = false;
    container->transition(
        first, second, 0.25, AnimationOption::none,
        [&] {
            first->view()->removeFromSuperview();
            container->view()->addSubview(second->view());
        },
        [&](bool) {
            second->didMove(container);
            first->willMove(nullptr);
            first->removeFromParent();
            finished = true;
        });
    EXPECT_EQ(log->take(),
              (Events{"First willDisappear", "Second didLoad", "Second willAppear (arriving)"}));
    advanceClock(0.25);
    EXPECT_TRUE(finished);
    EXPECT_EQ(log->take(), (Events{"First didDisappear", "Second didAppear (arriving)"}));
    EXPECT_EQ(container->children(), (std::vector<std::shared_ptr<ViewController>>{second}));
    EXPECT_EQ(container->view()->subviews().size(), 1u);
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_FALSE(first->isMovingFromParentViewController());
}

TEST_F(ViewControllerTest, InterfaceStyleOverridesReachChildrenAndPresentedControllers) {
    auto top = screen("Top");
    auto navigation = NavigationController::create(top);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    auto sheet = screen("Sheet");
    navigation->present(sheet, false);
    advanceClock(0);
    auto ownStyle = screen("Own");
    ownStyle->setOverrideUserInterfaceStyle(UserInterfaceStyle::light);
    sheet->addChild(ownStyle);

    window->setOverrideUserInterfaceStyle(UserInterfaceStyle::dark);
    EXPECT_EQ(top->traitCollection().userInterfaceStyle(), UserInterfaceStyle::dark);
    EXPECT_EQ(top->traitChanges, (std::vector{UserInterfaceStyle::dark}));
    EXPECT_EQ(sheet->traitChanges, (std::vector{UserInterfaceStyle::dark}));
    EXPECT_TRUE(ownStyle->traitChanges.empty()) << "its own override did not change";

    navigation->setOverrideUserInterfaceStyle(UserInterfaceStyle::light);
    EXPECT_EQ(top->traitChanges.back(), UserInterfaceStyle::light);
    EXPECT_EQ(sheet->traitChanges.back(), UserInterfaceStyle::light);
    window->setOverrideUserInterfaceStyle(UserInterfaceStyle::unspecified);
    EXPECT_EQ(top->traitChanges.size(), 2u) << "no change, no call";
}

TEST_F(ViewControllerTest, ASizeChangeReachesEveryControllerBeforeTheViewsResize) {
    auto top = screen("Top");
    window->setRootViewController(NavigationController::create(top));
    window->makeKeyAndVisible();
    window->transitionToSize({667, 375});
    EXPECT_EQ(top->sizeChanges, (std::vector<Size>{{667, 375}}));
    EXPECT_EQ(window->rootViewController()->view()->bounds().size, (Size{667, 375}));
}

TEST_F(ViewControllerTest, PopoversOnAPadSitAtTheirAnchor) {
    DevicePose pose;
    Device::current().setUserInterfaceIdiom(UserInterfaceIdiom::pad);
    auto root = showRoot("Root");
    auto anchor = std::make_shared<View>(Rect{100, 200, 40, 40});
    root->view()->addSubview(anchor);
    auto popover = screen("Popover");
    EXPECT_EQ(popover->popoverPresentationController(), nullptr) << "only for the popover style";
    popover->setModalPresentationStyle(ModalPresentationStyle::popover);
    popover->popoverPresentationController()->setSourceView(anchor);
    popover->popoverPresentationController()->setSourceRect(anchor->bounds());
    root->present(popover, false);
    advanceClock(0);
    EXPECT_EQ(popover->view()->frame().minY(), 240);
    EXPECT_EQ(log->take(), (Events{"Popover didLoad", "Popover willAppear", "Popover didAppear"}));

    auto unanchored = screen("Unanchored");
    unanchored->setModalPresentationStyle(ModalPresentationStyle::popover);
    popover->present(unanchored, false);
    advanceClock(0);
    EXPECT_EQ(unanchored->view()->frame().center(), window->bounds().center())
        << "no anchor: centred and logged, never a crash";
}

}  // namespace
