// The error panel as a person meets it: presented over the screen, read, and closed with one of
// its buttons.
#include "ui/error/ErrorViewController.h"

#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/Device.h"
#include "uikit/Hands.h"
#include "uikit/Pasteboard.h"
#include "uikit/Screen.h"
#include "uikit/TouchSequence.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::Color;

class RetryingDelegate : public KSErrorDelegate {
  public:
    void retry() { ++retries; }
    int retries = 0;
};

class OtherDelegate : public KSErrorDelegate {};

class ErrorViewControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }

    // As every caller does: configured, over full screen, presented animated.
    void present(const std::shared_ptr<ErrorViewController>& panel) {
        panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
        root->present(panel, true);
        advanceClock(0.3);
        ASSERT_EQ(root->presentedViewController(), panel);
    }
    bool isShown(const std::shared_ptr<ErrorViewController>& panel) const {
        return root->presentedViewController() == panel;
    }

    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> root = std::make_shared<uikit::ViewController>();
};

TEST_F(ErrorViewControllerTest, OneButtonPanelShowsItsTextsAndCloses) {
    auto panel = std::make_shared<ErrorViewController>();
    bool ran = false;
    panel->showWithTitle("Error", "The source could not be reached.", 1, "OK", std::nullopt,
                         [&] { ran = true; });
    EXPECT_FALSE(panel->isViewLoaded()) << "configuring presents nothing";
    present(panel);

    const std::string screen = window->describe();
    EXPECT_NE(screen.find("Label \"Error\""), std::string::npos) << screen;
    EXPECT_NE(screen.find("Label \"The source could not be reached.\""), std::string::npos);
    EXPECT_NE(screen.find("Button \"OK\""), std::string::npos);
    EXPECT_TRUE(panel->otherButton->isHidden());
    EXPECT_EQ(panel->traitCollection().userInterfaceStyle(), uikit::UserInterfaceStyle::dark);

    EXPECT_FALSE(panel->closeBtnTrailingConstraint->isActive());
    EXPECT_FALSE(panel->closeBtnWidthConstraint->isActive());
    const auto card = panel->containerView->bounds();
    EXPECT_EQ(panel->closeBtn->frame().maxX(), card.width() - 32)
        << "the one button spans the card";
    EXPECT_EQ(panel->closeBtn->frame().minX(), panel->closeBtnLeadingConstraint->constant());
    EXPECT_DOUBLE_EQ(panel->closeBtn->layer().cornerRadius(), 15);
    EXPECT_EQ(panel->closeBtn->backgroundColor(), Color::white(0.24));

    ASSERT_TRUE(uikit::hands::tap(panel->closeBtn));
    advanceClock(0.3);
    EXPECT_FALSE(isShown(panel));
    EXPECT_FALSE(ran) << "the first button only closes";
}

TEST_F(ErrorViewControllerTest, TheSecondButtonRunsTheSelectorOverTheBlockOnceClosed) {
    auto delegate = std::make_shared<RetryingDelegate>();
    auto panel = std::make_shared<ErrorViewController>();
    panel->setDelegate(delegate);
    int blockRuns = 0;
    panel->showWithTitle("Install failed", "Try again?", 2, "Cancel", "Retry",
                         KSErrorSelector::of(&RetryingDelegate::retry));
    panel->showWithTitle("Install failed", "Try again?", 2, "Cancel", "Retry",
                         [&] { ++blockRuns; });
    present(panel);
    const std::string screen = window->describe();
    EXPECT_NE(screen.find("Button \"Cancel\""), std::string::npos) << screen;
    EXPECT_NE(screen.find("Button \"Retry\""), std::string::npos);
    EXPECT_LT(panel->closeBtn->frame().maxX(), panel->otherButton->frame().minX());
    EXPECT_EQ(panel->closeBtn->frame().width(), panel->otherButton->frame().width());

    ASSERT_TRUE(uikit::hands::tap(panel->otherButton));
    EXPECT_EQ(delegate->retries, 0) << "the action waits until the panel has gone";
    advanceClock(0.3);
    EXPECT_FALSE(isShown(panel));
    EXPECT_EQ(delegate->retries, 1);
    EXPECT_EQ(blockRuns, 0) << "the selector wins over the block";
}

TEST_F(ErrorViewControllerTest, AnUnfitOrMissingDelegateFallsBackToTheBlock) {
    int blockRuns = 0;
    auto withDelegate = [&](std::shared_ptr<KSErrorDelegate> delegate, bool withBlock) {
        auto panel = std::make_shared<ErrorViewController>();
        panel->setDelegate(delegate);
        panel->showWithTitle("Title", "Message", 2, "No", "Yes",
                             KSErrorSelector::of(&RetryingDelegate::retry));
        if (withBlock)
            panel->showWithTitle("Title", "Message", 2, "No", "Yes", [&] { ++blockRuns; });
        present(panel);
        uikit::hands::tap(panel->otherButton);
        advanceClock(0.3);
        EXPECT_FALSE(isShown(panel));
    };
    withDelegate(std::make_shared<OtherDelegate>(), true);
    EXPECT_EQ(blockRuns, 1) << "a delegate without the method";
    withDelegate(nullptr, true);
    EXPECT_EQ(blockRuns, 2) << "a delegate that is gone";
    withDelegate(nullptr, false);
    EXPECT_EQ(blockRuns, 2) << "with neither, the button only closes";
}

TEST_F(ErrorViewControllerTest, ALongPressCopiesTheMessageAndTheNoticeGoesByItself) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle("Error", "E: Unable to locate package nope", 1, "OK", std::nullopt,
                         KSErrorSelector{});
    present(panel);
    uikit::Pasteboard::general().setString(std::nullopt);

    ASSERT_TRUE(uikit::hands::longPress(panel->errorLbl, 0.5));
    EXPECT_EQ(uikit::Pasteboard::general().string(), "E: Unable to locate package nope");
    auto notice =
        std::dynamic_pointer_cast<uikit::AlertController>(panel->presentedViewController());
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->title(), "The error has been copied");
    EXPECT_TRUE(notice->actions().empty());

    advanceClock(0.3);  // shown
    EXPECT_EQ(panel->presentedViewController(), notice);
    advanceClock(0.5);
    advanceClock(0.3);
    EXPECT_FALSE(panel->presentedViewController()) << "the notice dismisses itself";
    EXPECT_TRUE(isShown(panel));
}

TEST_F(ErrorViewControllerTest, APressedButtonTurnsWhiteAndGreyAgainWhenTheFingerLeaves) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle("Title", "Message", 2, "No", "Yes", KSErrorSelector{});
    present(panel);
    for (const auto& button : {panel->closeBtn, panel->otherButton}) {
        const auto center = button->convertPointTo(button->bounds().center(), nullptr);
        uikit::TouchSequence finger(window, center);
        EXPECT_EQ(button->backgroundColor(), Color::white());
        finger.moveTo({center.x, center.y + 200});
        finger.end();
        EXPECT_EQ(button->backgroundColor(), Color::white(0.24));
    }
    EXPECT_TRUE(isShown(panel)) << "a touch that ends outside taps nothing";
}

TEST_F(ErrorViewControllerTest, MissingTextsShowEmptyAndAPadInsetsTheButtonsByAQuarter) {
    uikit::Device::current().setUserInterfaceIdiom(uikit::UserInterfaceIdiom::pad);
    uikit::Screen::main().setBounds({0, 0, 768, 1024});
    window->setFrame({0, 0, 768, 1024});
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(std::nullopt, std::nullopt, 1, "OK", std::nullopt, KSErrorSelector{});
    present(panel);
    EXPECT_EQ(panel->errorTitle->text(), "");
    EXPECT_EQ(panel->errorLbl->text(), "");
    EXPECT_EQ(panel->closeBtnLeadingConstraint->constant(), 192);
    EXPECT_EQ(panel->closeBtn->frame().minX(), 192);
    EXPECT_EQ(panel->closeBtn->frame().maxX(), panel->containerView->bounds().width() - 192);
}

}  // namespace
}  // namespace corvane
