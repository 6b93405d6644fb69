// Task rows as the task list fills them: the progress of their own task, the status word and
// spinner, "Done" that sticks for its task only, and the extra bar.
#include "ui/cells/TasksCell.h"

#include <gtest/gtest.h>

#include <map>

#include "framework/StorageFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPipelineManager.h"
#include "support/MainLoop.h"
#include "ui/cells/CellTable.h"

namespace corvane {
namespace {

using testing::CellTable;
using testing_support::advanceClock;
using uikit::Color;

// A task whose progress the test reports, as a running task does.
class ReportingTask : public KSTask {
  public:
    explicit ReportingTask(std::string identifier) : identifier_(std::move(identifier)) {}
    std::string taskID() const override { return identifier_; }
    std::string pipelineID() const override { return KSPipelinePackageOperation; }
    std::string taskDescription() const override { return identifier_; }
    void report(double progress) { setTaskProgress(progress); }

  private:
    std::string identifier_;
};

class TasksCellTest : public testing::StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        TasksCell::registerNib();
    }

    // The task list's way: the task, its title and description, then Active.
    std::shared_ptr<CellTable> list() {
        return CellTable::make(TasksCell::kNibName, "task", TasksCell::kRowHeight,
                               [this](uikit::TableViewCell& cell, const std::string& identifier) {
                                   auto& row = dynamic_cast<TasksCell&>(cell);
                                   auto task = tasks_.at(identifier);
                                   row.setTask(task);
                                   row.setTitle(task->taskDescription());
                                   row.setDescription("Downloading");
                                   row.setStatus(TasksCell::kActive);
                               });
    }
    std::shared_ptr<ReportingTask> task(const std::string& identifier) {
        auto made = std::make_shared<ReportingTask>(identifier);
        tasks_[identifier] = made;
        return made;
    }

    std::map<std::string, std::shared_ptr<ReportingTask>> tasks_;
};

TEST_F(TasksCellTest, TheBarFollowsItsOwnTaskOnly) {
    auto download = task("download");
    auto other = task("other");
    auto rows = list();
    rows->show({"download"});
    auto row = rows->cellAs<TasksCell>(0);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->taskNameLbl->text(), "download");

    download->report(0.4);
    advanceClock(0);
    EXPECT_DOUBLE_EQ(row->taskProgressBar->progress(), 0.4);
    other->report(0.9);
    advanceClock(0);
    EXPECT_DOUBLE_EQ(row->taskProgressBar->progress(), 0.4) << "another task's report";

    download->report(KSTask::kIndeterminateProgress);
    advanceClock(0);
    EXPECT_DOUBLE_EQ(row->taskProgressBar->progress(), 0.0);
    download->report(1.5);
    advanceClock(0);
    EXPECT_DOUBLE_EQ(row->taskProgressBar->progress(), 1.0);
}

TEST_F(TasksCellTest, DoneSticksForItsTaskButNotForTheNextTaskTheRowShows) {
    task("first")->report(0.7);
    task("second")->report(0.25);
    auto rows = list();
    rows->show({"first"});
    auto row = rows->cellAs<TasksCell>(0);
    EXPECT_EQ(row->taskStatusLbl->text(), "Active");
    EXPECT_EQ(row->taskStatusLbl->textColor(), Color(0.45, 0.3, 0.15));
    EXPECT_TRUE(row->indicator->isAnimating());
    EXPECT_FALSE(row->indicator->isHidden());
    EXPECT_EQ(row->indicator->color(), Color::gray());

    row->setStatus(TasksCell::kDone);
    EXPECT_EQ(row->taskStatusLbl->text(), "Done");
    EXPECT_EQ(row->taskStatusLbl->textColor(), Color(0.15, 0.45, 0.15));
    EXPECT_FALSE(row->indicator->isAnimating());
    EXPECT_TRUE(row->indicator->isHidden());
    row->setStatus(TasksCell::kFailed);
    EXPECT_EQ(row->taskStatusLbl->text(), "Done");
    rows->show({"first"});
    EXPECT_EQ(row->taskStatusLbl->text(), "Done") << "the same task, filled again";

    rows->show({"second"});
    ASSERT_TRUE(rows->cellAs<TasksCell>(0) == row) << "the same cell, handed out again";
    EXPECT_EQ(row->taskStatusLbl->text(), "Active");
    EXPECT_TRUE(row->indicator->isAnimating());
    EXPECT_DOUBLE_EQ(row->taskProgressBar->progress(), 0.25) << "the new task's progress";
    row->setStatus(TasksCell::kFailed);
    EXPECT_EQ(row->taskStatusLbl->text(), "Failed");
    EXPECT_EQ(row->taskStatusLbl->textColor(), Color(0.9, 0.3, 0.15));
    row->setStatus(7);
    EXPECT_EQ(row->taskStatusLbl->text(), "Failed") << "an unknown code leaves the word";
}

TEST_F(TasksCellTest, TheSpinnerIsWhiteInTheDarkPalettes) {
    CorvanePersistentPreferences::sharedInstance().setValue(true, "TrueDarkMode");
    task("refresh");
    auto rows = list();
    rows->show({"refresh"});
    EXPECT_EQ(rows->cellAs<TasksCell>(0)->indicator->color(), Color::white());
}

TEST_F(TasksCellTest, TheExtraBarIsShownOnlyWhenTheListGivesOne) {
    task("install");
    auto rows = list();
    rows->show({"install"});
    auto row = rows->cellAs<TasksCell>(0);
    const auto views = row->contentView()->subviews().size();
    row->setShowProgress(true);
    row->setProgress(0.5);
    EXPECT_EQ(row->contentView()->subviews().size(), views) << "no bar, nothing happens";

    row->progress = std::make_shared<uikit::ProgressView>();
    row->setShowProgress(true);
    EXPECT_TRUE(row->progress->isDescendantOf(row->contentView().get()));
    row->setProgress(3);
    EXPECT_DOUBLE_EQ(row->progress->progress(), 1.0);
    row->setProgress(-1);
    EXPECT_DOUBLE_EQ(row->progress->progress(), 0.0);
    row->setStatus(TasksCell::kDone);
    EXPECT_FALSE(row->progress->superview()) << "a finished task loses the extra bar";
}

}  // namespace
}  // namespace corvane
