// The task list as the floating panel opens it while sources refresh: a row for each live task
// with its status and spinner, rows past the tenth waiting their turn, and an empty list once
// the refreshes have ended.
#include "screens/tasks/TasksViewController.h"

#include <gtest/gtest.h>

#include "framework/tasks/KSSourceRefreshTask.h"
#include "screens/KSScreens.h"
#include "screens/sources/SourcesFixture.h"
#include "ui/cells/TasksCell.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class TasksViewControllerTest : public testing::SourcesFixture {
  protected:
    // As the floating panel shows it: from the factory, in a navigation controller of its own.
    void SetUp() override {
        SourcesFixture::SetUp();
        registerScreens();
        tasks = std::dynamic_pointer_cast<TasksViewController>(
            KSScreenFactory::make(KSScreenFactory::Screen::taskList));
        ASSERT_TRUE(tasks);
        navigation->present(uikit::NavigationController::create(tasks), false);
        advanceClock(1);
    }

    int rows() { return tasks->tasksTableView->numberOfRowsInSection(0); }

    std::shared_ptr<TasksCell> row(int index) {
        const auto indexPath = uikit::IndexPath::forRow(index, 0);
        tasks->tasksTableView->scrollToRowAtIndexPath(
            indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<TasksCell>(
            tasks->tasksTableView->cellForRowAtIndexPath(indexPath));
    }

    std::shared_ptr<TasksViewController> tasks;
};

TEST_F(TasksViewControllerTest, ShowsARunningRefreshAndEmptiesWhenItEnds) {
    EXPECT_TRUE(tasks->shownFromGesture());
    EXPECT_EQ(tasks->title(), "Tasks");
    EXPECT_EQ(rows(), 0);

    const auto held = heldLocation("held");
    storeAndRefresh(held);
    ASSERT_TRUE(pumpUntil([&] {
        auto shown = rows() == 1 ? row(0) : nullptr;
        return shown && shown->taskDescriptionLbl->text() == "Running...";
    }));
    auto refresh = row(0);
    EXPECT_EQ(refresh->taskNameLbl->text(), "Refreshing " + held);
    EXPECT_EQ(refresh->taskStatusLbl->text(), "Active");
    EXPECT_FALSE(refresh->indicator->isHidden());
    EXPECT_NE(std::dynamic_pointer_cast<KSSourceRefreshTask>(refresh->task()), nullptr);

    gate.open();
    ASSERT_TRUE(pumpUntil([&] { return isAtRest() && rows() == 0; }, 60));
    EXPECT_TRUE(tasks->tasks().empty());

    auto close = tasks->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
}

TEST_F(TasksViewControllerTest, RowsPastTheTenthWaitTheirTurnInTheOrderQueued) {
    constexpr int kSources = 11;
    std::vector<std::string> held;
    for (int index = 0; index < kSources; ++index) {
        held.push_back(heldLocation("held" + std::to_string(index)));
        storeAndRefresh(held.back());
    }
    ASSERT_TRUE(pumpUntil([&] { return rows() == kSources; }));
    for (int index = 0; index < kSources; ++index) {
        auto shown = row(index);
        ASSERT_TRUE(shown) << index;
        EXPECT_EQ(shown->taskNameLbl->text(),
                  "Refreshing " + held[static_cast<std::size_t>(index)]);
        EXPECT_EQ(shown->taskStatusLbl->text(), index < 10 ? "Active" : "Idle") << index;
    }
    EXPECT_TRUE(row(10)->indicator->isHidden());

    gate.open();
    ASSERT_TRUE(pumpUntil([&] { return isAtRest() && rows() == 0; }, 60));
}

}  // namespace
}  // namespace corvane
