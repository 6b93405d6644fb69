#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/launch/KSAlertAnswerer.h"
#include "support/MainLoop.h"
#include "uikit/AlertController.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using uikit::AlertAction;
using uikit::AlertController;

class KSAlertAnswererTests : public ::testing::Test {
  protected:
    void SetUp() override {
        window_->setRootViewController(root_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        window_->setRootViewController(nullptr);
        advanceClock(1);
    }

    std::shared_ptr<AlertController> present(const std::string& title) {
        auto alert = AlertController::create(title, std::nullopt, AlertController::Style::alert);
        for (const char* button : {"No", "Yes"}) {
            alert->addAction(AlertAction::create(
                button, AlertAction::Style::defaultStyle,
                [this, title, button](AlertAction&) { tapped_.push_back(title + ": " + button); }));
        }
        window_->topmostPresentedViewController()->present(alert, true);
        return alert;
    }

    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> root_ = std::make_shared<uikit::ViewController>();
    std::vector<std::string> tapped_;
};

TEST_F(KSAlertAnswererTests, EachAlertOnScreenTakesTheNextAnswer) {
    auto answerer =
        std::make_shared<KSAlertAnswerer>(std::vector<std::string>{"Yes", "Maybe", "No"});
    EXPECT_FALSE(answerer->answerShownAlert()) << "nothing on screen";
    present("First");
    EXPECT_FALSE(answerer->answerShownAlert()) << "still coming on screen";
    advanceClock(1);
    EXPECT_TRUE(answerer->answerShownAlert());
    advanceClock(1);
    EXPECT_EQ(tapped_, std::vector<std::string>{"First: Yes"});

    present("Second");
    advanceClock(1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(answerer->answerShownAlert());
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("The alert \"Second\" has no button \"Maybe\""), std::string::npos) << log;
    EXPECT_TRUE(answerer->answerShownAlert());
    advanceClock(1);
    EXPECT_EQ(tapped_, (std::vector<std::string>{"First: Yes", "Second: No"}));
    EXPECT_FALSE(answerer->hasAnswersLeft());
    present("Third");
    advanceClock(1);
    EXPECT_FALSE(answerer->answerShownAlert());
}

TEST_F(KSAlertAnswererTests, StartedItLooksAtTheScreenUntilItsAnswersAreUsed) {
    auto answerer = std::make_shared<KSAlertAnswerer>(std::vector<std::string>{"No"});
    answerer->start();
    advanceClock(1);
    present("Later");
    for (int turn = 0; turn < 3; ++turn)
        advanceClock(1);
    EXPECT_EQ(tapped_, std::vector<std::string>{"Later: No"});
    EXPECT_FALSE(answerer->hasAnswersLeft());
}

// A screen presented without an alert, such as a handed-over archive, answers through its bar.
TEST_F(KSAlertAnswererTests, APresentedScreenIsAnsweredThroughItsBarOnceTheButtonCanBeTapped) {
    auto answerer = std::make_shared<KSAlertAnswerer>(std::vector<std::string>{"Install", "Yes"});
    auto screen = std::make_shared<uikit::ViewController>();
    auto install = uikit::BarButtonItem::withTitle(
        "Install", uikit::BarButtonItem::Style::done,
        [this](uikit::BarButtonItem&) { tapped_.push_back("Install"); });
    install->setEnabled(false);
    screen->navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
        "Cancel", uikit::BarButtonItem::Style::done,
        [this](uikit::BarButtonItem&) { tapped_.push_back("Cancel"); }));
    screen->navigationItem()->setRightBarButtonItem(install);
    root_->present(uikit::NavigationController::create(screen), true);
    advanceClock(1);
    EXPECT_FALSE(answerer->answerShownAlert()) << "not yet enabled";
    EXPECT_TRUE(answerer->hasAnswersLeft());
    install->setEnabled(true);
    EXPECT_TRUE(answerer->answerShownAlert());
    EXPECT_FALSE(answerer->answerShownAlert()) << "\"Yes\" waits for its alert";
    EXPECT_EQ(tapped_, std::vector<std::string>{"Install"});
    present("Then");
    advanceClock(1);
    EXPECT_TRUE(answerer->answerShownAlert());
    advanceClock(1);
    EXPECT_EQ(tapped_, (std::vector<std::string>{"Install", "Then: Yes"}));
}

}  // namespace
}  // namespace corvane::testing
