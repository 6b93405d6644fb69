#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Observable.h"
#include "foundation/OperationQueue.h"
#include "foundation/Value.h"
#include "framework/tasks/KSPostInstallAction.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// Pipeline identifiers.
inline constexpr const char* KSPipelinePackageOperation = "package.ops";
inline constexpr const char* KSPipelinePackageDownload = "package.download";
inline constexpr const char* KSPipelineSourceRefresh = "source.refresh";
inline constexpr const char* KSPipelineInformationCache = "information.cache";

// Notifications of the pipeline. Each carries the task as its sender and the user-info keys
// taskID and pipelineID.
// On the thread that queued the task.
inline constexpr const char* KSPipelineTaskQueuedNotification = "com.kestrune.corvane.task.queued";
// On the main thread, the manager waiting until its observers have run; also success and error.
inline constexpr const char* KSPipelineTaskFinishedNotification =
    "com.kestrune.corvane.task.finished";
// On the main thread, not waiting; also status.
inline constexpr const char* KSPipelineTaskStatusNotification = "com.kestrune.corvane.task.status";
// On the main thread, not waiting; also progress.
inline constexpr const char* KSPipelineTaskProgressNotification =
    "com.kestrune.corvane.task.progress";
// On the main thread, not waiting, whenever a task joins or leaves tasksArray; no sender, no
// user info.
inline constexpr const char* KSPipelineChangedNotification =
    "com.kestrune.corvane.pipeline.changed";
// On the main thread, once, when the last source refresh of a round has finished; no sender.
inline constexpr const char* KSPipelineSourcesRefreshCompletedNotification =
    "com.kestrune.corvane.sources.refresh.completed";

inline constexpr const char* KSPipelineUserInfoTaskID = "taskID";
inline constexpr const char* KSPipelineUserInfoPipelineID = "pipelineID";
// The error as errorValue() writes it, or the null marker when there is none.
inline constexpr const char* KSPipelineUserInfoError = "error";
// Boolean.
inline constexpr const char* KSPipelineUserInfoSuccess = "success";
inline constexpr const char* KSPipelineUserInfoStatus = "status";
// Real, 0 to 1, or -1 while indeterminate.
inline constexpr const char* KSPipelineUserInfoProgress = "progress";

// Runs every task of the system on one queue, keeps the list of live tasks and the number of
// source refreshes not yet finished, turns the tasks' reports into notifications, and carries
// out the post-install actions once the pipeline is empty. Any thread.
//
// Once the last source refresh of a round has finished, the information cache is rebuilt
// (KSInformationCacheTask), unless no refresh of the round stored a new index.
class KSPipelineManager {
  public:
    using TaskList = std::vector<std::shared_ptr<KSTask>>;
    static constexpr int kMaxConcurrentTasks = 15;

    static KSPipelineManager& sharedManager();

    // Observe its observableOperations() for the "operations" key.
    const std::shared_ptr<foundation::OperationQueue>& pipelineOperationQueue() const {
        return queue_;
    }

    // Queues the task and posts KSPipelineTaskQueuedNotification; false, with a log line, when
    // a live task has the same taskID (the task is then dropped) or the task was queued before.
    bool queueTask(std::shared_ptr<KSTask> task);
    // Queues the tasks as one batch: every one is live before any starts, so none can finish
    // while the others are still to come. Returns how many were queued.
    std::size_t queueTasks(const TaskList& tasks);
    // The live tasks in the order they were queued; empty when nothing runs.
    TaskList tasksArray() const;

    // Source-refresh tasks queued or running and not yet finished.
    std::uint64_t sourceRefreshCount() const { return sourceRefreshCount_.get(); }
    // Observers get each new count on the thread that changed it.
    foundation::Observable<std::uint64_t>& observableSourceRefreshCount() {
        return sourceRefreshCount_;
    }

    // Called by KSTask as it reports; they post the status and progress notifications.
    void taskDidUpdateStatus(const std::shared_ptr<KSTask>& task);
    void taskDidUpdateProgress(const std::shared_ptr<KSTask>& task);

    // Recorded by tasks; carried out once, in the order recorded (each kind once), when the
    // pipeline has become empty.
    void addPostInstallAction(KSPostInstallAction action);
    std::vector<KSPostInstallAction> pendingPostInstallActions() const;

    // How an error travels in user info: a dictionary of "domain", "code" and "userInfo", or the
    // null marker for none.
    static foundation::Value errorValue(const std::optional<foundation::Error>& error);
    static std::optional<foundation::Error> errorFromValue(const foundation::Value& value);

  private:
    KSPipelineManager();
    // Cancels every task; true once none is left. For the process reset, which asks until then.
    bool cancelAllTasks();
    // Makes live the tasks that are not live yet; those are returned, to be started.
    TaskList admitTasks(const TaskList& tasks);
    void startTask(const std::shared_ptr<KSTask>& task);
    void taskDidFinish(const std::shared_ptr<KSTask>& task);
    std::shared_ptr<KSTask> removeLiveTask(const std::shared_ptr<KSTask>& task,
                                           bool* lastRefreshEnded);
    void publishSourceRefreshCount();
    void sourcesRefreshDidComplete();
    void pipelineDidBecomeEmpty();
    static foundation::Dictionary userInfoForTask(const KSTask& task);
    static void postChanged();

    std::shared_ptr<foundation::OperationQueue> queue_;
    foundation::ObservationToken operationsObservation_;
    mutable std::mutex mutex_;
    TaskList tasks_;
    std::uint64_t refreshCount_ = 0;
    // Whether a refresh of the round under way stored a new index.
    bool roundStoredNewIndex_ = false;
    std::vector<KSPostInstallAction> postInstallActions_;
    std::recursive_mutex publishMutex_;
    foundation::Observable<std::uint64_t> sourceRefreshCount_{0};
};

}  // namespace corvane
