#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "framework/tasks/KSPipelineManager.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The live tasks of the pipeline, one row each in the order they were queued: a task joins the
// list when it is queued and leaves it when it has finished; each row follows its task's status
// and progress. Created with make_shared; shown from a gesture it carries a "Close" button, for
// use as the root of a presented navigation controller.
class TasksViewController : public KSPalettedViewController,
                            public uikit::TableViewDataSource,
                            public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "TasksViewController";
    static constexpr const char* kReuseIdentifier = "task";
    // The rows below these show their tasks as waiting their turn.
    static constexpr std::size_t kActiveRows = 10;

    TasksViewController();

    bool shownFromGesture() const { return shownFromGesture_; }
    // Before the view loads.
    void setShownFromGesture(bool shown) { shownFromGesture_ = shown; }
    // The tasks of the rows.
    const KSPipelineManager::TaskList& tasks() const { return tasks_; }

    // Outlet, set by the nib.
    std::shared_ptr<uikit::TableView> tasksTableView;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<TasksViewController> self();
    void addCloseButton();
    void observePipeline();
    void reloadTasks();
    void taskStatusChanged(const foundation::Notification& notification);

    bool shownFromGesture_ = false;
    KSPipelineManager::TaskList tasks_;
    foundation::ObservationToken queuedObservation_;
    foundation::ObservationToken finishedObservation_;
    foundation::ObservationToken statusObservation_;
};

}  // namespace corvane
