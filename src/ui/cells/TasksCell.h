#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "framework/tasks/KSTask.h"
#include "uikit/ActivityIndicatorView.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/ProgressView.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A row of the task list: the task's title and description, a status word in its colour, a
// spinner while active, and a bar following the pipeline's progress reports for this task.
class TasksCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "TasksCell";
    static constexpr double kRowHeight = 76;
    enum Status : int { kFailed = 1, kActive = 2, kDone = 3, kIdle = 4 };

    TasksCell() = default;
    // Makes the nib "TasksCell" known; later calls change nothing.
    static void registerNib();

    const std::shared_ptr<KSTask>& task() const { return task_; }
    // Another task starts the row afresh, Idle and at that task's progress, so that a finished
    // row handed out again does not stay "Done".
    void setTask(std::shared_ptr<KSTask> task);
    void setTitle(const std::optional<std::string>& title);
    void setDescription(const std::optional<std::string>& description);
    // "Done" is final for the task shown; codes other than 1 to 4 leave the word as it is.
    void setStatus(int status);
    int status() const { return status_; }
    // Adds the extra bar to the content view or removes it; nothing without one.
    void setShowProgress(bool show);
    void setProgress(double progress);
    // "<KSTaskTableViewCell: 0x…  title=… desc=… progress=…>"
    std::string description() const;

    void awakeFromNib() override;

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> taskIconView;
    std::shared_ptr<uikit::Label> taskNameLbl;
    std::shared_ptr<uikit::ActivityIndicatorView> indicator;
    std::shared_ptr<uikit::Label> taskDescriptionLbl;
    std::shared_ptr<uikit::Label> taskStatusLbl;
    std::shared_ptr<uikit::ProgressView> taskProgressBar;
    std::shared_ptr<uikit::View> separator;
    // The extra bar that setShowProgress shows; the cell makes none, a task list may give one.
    std::shared_ptr<uikit::ProgressView> progress;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
    static double clampedProgress(double progress);
    void pipelineManagerNotification(const foundation::Notification& notification);
    void showIndicator(bool show);

    std::shared_ptr<KSTask> task_;
    int status_ = 0;
    bool isProgressShown_ = false;
    bool isIndicatorShown_ = false;
    foundation::ObservationToken progressObservation_;
};

}  // namespace corvane
