#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Operation.h"

namespace corvane {

// The protocol every pipeline task implements. A task is an operation that
// KSPipelineManager::queueTask runs on the pipeline queue; the task reports its status, its
// progress and its outcome through the setters below, and the manager turns each report into a
// notification.
//
// A synchronous task does its work in main() and calls setOutcome() before main() returns. An
// asynchronous one answers isAsynchronous() with true, calls setOutcome() and then finish().
// A task that ends without an outcome (cancelled before it ran, or one that forgot) is
// reported as failed. The manager owns the operation's completion block: tasks never set it.
class KSTask : public foundation::Operation {
  public:
    struct Outcome {
        bool success = false;
        std::optional<foundation::Error> error;
    };

    // Two tasks with the same taskID are never queued together.
    virtual std::string taskID() const = 0;
    // Which kind of work this is, e.g. KSPipelinePackageOperation.
    virtual std::string pipelineID() const = 0;
    // The title shown in the task list.
    virtual std::string taskDescription() const = 0;
    virtual bool isCancellable() const { return false; }

    std::string taskStatus() const;
    // 0 to 1; kIndeterminateProgress while the task cannot tell.
    double taskProgress() const;
    static constexpr double kIndeterminateProgress = -1;

    // The outcome recorded so far; a failure while none was recorded.
    Outcome outcome() const;

    // Called by the manager, under its lock, as the task leaves the pipeline, with the tasks
    // still live after it; a task returned here is queued next. The last package download
    // uses it to queue the APT operation.
    virtual std::shared_ptr<KSTask> followUpTask(
        const std::vector<std::shared_ptr<KSTask>>& remainingTasks) const {
        return nullptr;
    }
    // Whether a source refresh read a new index into the records and APT's list, which the
    // information cache is then rebuilt from. Known once it has finished.
    virtual bool storedNewIndex() const { return false; }

  protected:
    // Each change reaches observers through the manager's status and progress notifications.
    void setTaskStatus(std::string status);
    void setTaskProgress(double progress);
    void setOutcome(bool success, std::optional<foundation::Error> error = std::nullopt);

    std::shared_ptr<KSTask> sharedTask() {
        return std::static_pointer_cast<KSTask>(shared_from_this());
    }

  private:
    mutable std::mutex mutex_;
    std::string status_;
    double progress_ = 0;
    std::optional<Outcome> outcome_;
};

}  // namespace corvane
