// Alerts and action sheets as a person reads and answers them.
#include <gtest/gtest.h>

#include "DevicePose.h"
#include "support/MainLoop.h"
#include "uikit/AlertController.h"
#include "uikit/Device.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

class AlertControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<ViewController> root = std::make_shared<ViewController>();
    std::vector<std::string> handled;
    uikit_testing::DevicePose pose;

    void SetUp() override {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    std::shared_ptr<AlertAction> action(const std::string& title, AlertAction::Style style) {
        return AlertAction::create(title, style, [this](AlertAction& chosen) {
            handled.push_back(chosen.title());
            EXPECT_EQ(root->presentedViewController(), nullptr) << "the alert is gone first";
        });
    }
};

TEST_F(AlertControllerTest, AnActionsHandlerRunsOnceTheAlertIsGone) {
    auto alert = AlertController::create("Remove Source", "Remove this source?",
                                         AlertController::Style::alert);
    alert->addAction(action("Remove", AlertAction::Style::destructive));
    alert->addAction(action("Cancel", AlertAction::Style::cancel));
    root->present(alert, true);
    advanceClock(0.3);
    EXPECT_EQ(window->describe(),
              "Window\n"
              "  View\n"
              "  Alert\n"
              "    Label \"Remove Source\"\n"
              "    Label \"Remove this source?\"\n"
              "    Button \"Remove\"\n"
              "    Button \"Cancel\"\n");

    EXPECT_TRUE(hands::pickAlertAction(alert, "Remove"));
    EXPECT_TRUE(handled.empty()) << "not while the alert is still going away";
    EXPECT_TRUE(alert->isBeingDismissed());
    hands::pickAlertAction(alert, "Cancel");
    advanceClock(0.3);
    EXPECT_EQ(handled, (std::vector<std::string>{"Remove"})) << "one answer per alert";
    EXPECT_EQ(window->describe(), "Window\n  View\n");
    EXPECT_FALSE(hands::pickAlertAction(alert, "Missing"));
}

TEST_F(AlertControllerTest, DismissedFromCodeNoHandlerRuns) {
    auto alert = AlertController::create("Working", std::nullopt, AlertController::Style::alert);
    alert->addAction(action("OK", AlertAction::Style::defaultStyle));
    root->present(alert, false);
    advanceClock(0);
    bool dismissed = false;
    alert->dismiss(false, [&] { dismissed = true; });
    advanceClock(0);
    EXPECT_TRUE(dismissed);
    EXPECT_TRUE(handled.empty());
}

TEST_F(AlertControllerTest, AnActionSheetListsCancelLastAndIsAPopoverOnAPad) {
    auto sheet = AlertController::create("Sort Installed Packages", std::nullopt,
                                         AlertController::Style::actionSheet);
    sheet->addAction(action("Cancel", AlertAction::Style::cancel));
    sheet->addAction(action("Name", AlertAction::Style::defaultStyle));
    EXPECT_EQ(sheet->popoverPresentationController(), nullptr) << "a phone shows no popover";
    auto text = sheet->view()->describe();
    EXPECT_LT(text.find("Button \"Name\""), text.find("Button \"Cancel\"")) << text;
    sheet->setPreferredAction(AlertAction::create("Stranger", AlertAction::Style::defaultStyle));
    EXPECT_EQ(sheet->preferredAction(), nullptr) << "only one of its own actions";

    Device::current().setUserInterfaceIdiom(UserInterfaceIdiom::pad);
    auto padSheet =
        AlertController::create("Options", std::nullopt, AlertController::Style::actionSheet);
    padSheet->addAction(action("Share", AlertAction::Style::defaultStyle));
    auto navigation = NavigationController::create(std::make_shared<ViewController>());
    window->setRootViewController(navigation);
    int taps = 0;
    auto sort = BarButtonItem::withTitle("Sort", BarButtonItem::Style::plain,
                                         [&](BarButtonItem&) { ++taps; });
    navigation->topViewController()->navigationItem()->setRightBarButtonItem(sort);
    window->layoutIfNeeded();
    ASSERT_TRUE(padSheet->popoverPresentationController());
    padSheet->popoverPresentationController()->setBarButtonItem(sort);
    navigation->present(padSheet, false);
    advanceClock(0);
    Rect button = sort->shownView()->convertRectTo(sort->shownView()->bounds(), window.get());
    EXPECT_EQ(padSheet->view()->frame().minY(), button.maxY()) << "it hangs from the button";
    EXPECT_TRUE(hands::pickAlertAction(padSheet, "Share"));
    advanceClock(0.3);
    EXPECT_EQ(handled, (std::vector<std::string>{"Share"}));
}

}  // namespace
