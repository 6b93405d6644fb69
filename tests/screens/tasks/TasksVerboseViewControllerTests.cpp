// The verbose console as the user reads it: every message of the running tasks, errors and
// warnings in their colours, from the moment it is shown until it is closed.
#include "screens/tasks/TasksVerboseViewController.h"

#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"
#include "support/MainLoop.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::Color;

class TasksVerboseViewControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    void show() {
        root->present(uikit::NavigationController::create(console), true);
        advanceClock(1);
    }
    // The color of the line that starts with the text.
    std::optional<Color> colorOf(const std::string& line) const {
        auto at = console->consoleText().string().find(line);
        EXPECT_NE(at, std::string::npos) << line;
        return console->consoleText().attributesAt(at).foregroundColor;
    }

    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> root = std::make_shared<uikit::ViewController>();
    std::shared_ptr<TasksVerboseViewController> console =
        std::make_shared<TasksVerboseViewController>();
};

TEST_F(TasksVerboseViewControllerTest, ShowsEachMessageWithErrorsAndWarningsInTheirColours) {
    show();
    KSVerboseConsoleFeed feed;
    feed.postCommand("apt-get install com.example.cool");
    feed.append("Reading package lists...\nW: Some index files failed to download\n");
    feed.append("E: Unable to locate package com.example.gone\n");
    feed.postMessage("Finished with errors", true);
    advanceClock(0);

    EXPECT_EQ(console->consoleText().string(),
              "apt-get install com.example.cool\nReading package lists...\n"
              "W: Some index files failed to download\n"
              "E: Unable to locate package com.example.gone\nFinished with errors\n");
    EXPECT_EQ(colorOf("Reading"), std::nullopt);
    EXPECT_EQ(colorOf("W: Some"), Color::systemOrange());
    EXPECT_EQ(colorOf("E: Unable"), Color::systemRed());
    EXPECT_EQ(colorOf("Finished"), Color::systemRed());
    auto command = console->consoleText().attributesAt(0).font;
    ASSERT_TRUE(command);
    EXPECT_EQ(*command, uikit::Font::boldSystemFont(TasksVerboseViewController::kFontSize));
    EXPECT_EQ(console->textView->text(), console->consoleText().string());
    EXPECT_NE(window->describe().find("E: Unable to locate package"), std::string::npos);
}

// The inset stands for the navigation bar over the console: its first lines start below it,
// and once the text outgrows the screen the newest line is at the bottom.
TEST_F(TasksVerboseViewControllerTest, KeepsTheNewestLineInSightAndTheFirstBelowTheBar) {
    show();
    auto& text = *console->textView;
    text.setContentInset({64, 0, 0, 0});
    KSVerboseConsoleFeed feed;
    feed.postMessage("Reading package lists...", false);
    advanceClock(0);
    EXPECT_EQ(text.contentOffset().y, -text.adjustedContentInset().top);
    EXPECT_LE(text.contentOffset().y, -64);

    for (int line = 0; line < 200; ++line)
        feed.postMessage("Unpacking com.example.many (" + std::to_string(line) + ") ...", false);
    advanceClock(0);
    ASSERT_GT(text.contentSize().height, text.bounds().height());
    const double visibleEnd =
        text.contentOffset().y + text.bounds().height() - text.adjustedContentInset().bottom;
    EXPECT_EQ(visibleEnd, text.contentSize().height);
}

TEST_F(TasksVerboseViewControllerTest, FollowsTheTasksOnlyWhileShown) {
    KSVerboseConsoleFeed feed;
    feed.postMessage("before", false);
    advanceClock(0);
    EXPECT_FALSE(console->isFollowingTasks());

    show();
    // A screen over the console does not stop it.
    auto cover = std::make_shared<uikit::ViewController>();
    console->present(cover, false);
    advanceClock(1);
    feed.postMessage("while covered", false);
    advanceClock(0);
    cover->dismiss(false);
    advanceClock(1);
    EXPECT_TRUE(console->isFollowingTasks());

    ASSERT_TRUE(uikit::hands::tapBarButton(console->navigationItem()->rightBarButtonItem()));
    advanceClock(1);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_FALSE(console->isFollowingTasks());
    feed.postMessage("after", false);
    advanceClock(0);
    EXPECT_EQ(console->consoleText().string(), "while covered\n");
}

}  // namespace
}  // namespace corvane
