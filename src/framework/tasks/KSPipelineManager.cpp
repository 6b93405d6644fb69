#include "framework/tasks/KSPipelineManager.h"

#include <algorithm>
#include <utility>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/SharedInstance.h"
#include "framework/tasks/KSInformationCacheTask.h"
#include "framework/tasks/KSPostInstallActionPerformer.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

namespace {

bool isSourceRefresh(const std::shared_ptr<KSTask>& task) {
    return task->pipelineID() == KSPipelineSourceRefresh;
}

}  // namespace

KSPipelineManager& KSPipelineManager::sharedManager() {
    static auto* manager = new foundation::SharedInstance<KSPipelineManager>(
        [] { return std::shared_ptr<KSPipelineManager>(new KSPipelineManager()); },
        "the task pipeline", [](KSPipelineManager& ending) { return ending.cancelAllTasks(); });
    return manager->get();
}

KSPipelineManager::KSPipelineManager()
    : queue_(std::make_shared<foundation::OperationQueue>("KSPipelineManager")) {
    queue_->setMaxConcurrentOperationCount(kMaxConcurrentTasks);
    operationsObservation_ = queue_->observableOperations().observe(
        [this](const foundation::OperationQueue::OperationList& operations) {
            if (operations.empty())
                pipelineDidBecomeEmpty();
        });
}

bool KSPipelineManager::queueTask(std::shared_ptr<KSTask> task) {
    return queueTasks({std::move(task)}) == 1;
}

std::size_t KSPipelineManager::queueTasks(const TaskList& tasks) {
    const auto admitted = admitTasks(tasks);
    if (std::ranges::any_of(admitted, isSourceRefresh))
        publishSourceRefreshCount();
    for (const auto& task : admitted)
        startTask(task);
    return admitted.size();
}

KSPipelineManager::TaskList KSPipelineManager::admitTasks(const TaskList& tasks) {
    std::lock_guard lock(mutex_);
    TaskList admitted;
    for (const auto& task : tasks) {
        const auto taskID = task->taskID();
        auto sameTask = [&](const auto& live) { return live == task || live->taskID() == taskID; };
        if (std::ranges::any_of(tasks_, sameTask)) {
            KSLog("Task %s is already in the pipeline; this one is dropped", taskID);
            continue;
        }
        tasks_.push_back(task);
        admitted.push_back(task);
        if (isSourceRefresh(task))
            ++refreshCount_;
    }
    return admitted;
}

void KSPipelineManager::startTask(const std::shared_ptr<KSTask>& task) {
    task->setCompletionBlock([this, weakTask = std::weak_ptr<KSTask>(task)] {
        if (auto finished = weakTask.lock())
            taskDidFinish(finished);
    });
    foundation::NotificationCenter::defaultCenter().post(
        {KSPipelineTaskQueuedNotification, {}, userInfoForTask(*task), task});
    postChanged();
    queue_->addOperation(task);
}

KSPipelineManager::TaskList KSPipelineManager::tasksArray() const {
    std::lock_guard lock(mutex_);
    return tasks_;
}

void KSPipelineManager::taskDidUpdateStatus(const std::shared_ptr<KSTask>& task) {
    auto userInfo = userInfoForTask(*task);
    userInfo[KSPipelineUserInfoStatus] = task->taskStatus();
    foundation::runOnMain([task, userInfo = std::move(userInfo)] {
        foundation::NotificationCenter::defaultCenter().post(
            {KSPipelineTaskStatusNotification, {}, userInfo, task});
    });
}

void KSPipelineManager::taskDidUpdateProgress(const std::shared_ptr<KSTask>& task) {
    auto userInfo = userInfoForTask(*task);
    userInfo[KSPipelineUserInfoProgress] = task->taskProgress();
    foundation::runOnMain([task, userInfo = std::move(userInfo)] {
        foundation::NotificationCenter::defaultCenter().post(
            {KSPipelineTaskProgressNotification, {}, userInfo, task});
    });
}

void KSPipelineManager::addPostInstallAction(KSPostInstallAction action) {
    std::lock_guard lock(mutex_);
    if (std::ranges::find(postInstallActions_, action) == postInstallActions_.end())
        postInstallActions_.push_back(std::move(action));
}

std::vector<KSPostInstallAction> KSPipelineManager::pendingPostInstallActions() const {
    std::lock_guard lock(mutex_);
    return postInstallActions_;
}

foundation::Value KSPipelineManager::errorValue(const std::optional<foundation::Error>& error) {
    if (!error)
        return foundation::Value::null();
    return foundation::Dictionary{
        {"domain", error->domain}, {"code", error->code}, {"userInfo", error->userInfo}};
}

std::optional<foundation::Error> KSPipelineManager::errorFromValue(const foundation::Value& value) {
    if (!value.isDictionary())
        return std::nullopt;
    return foundation::Error{value["domain"].stringValue(), value["code"].integerValue(),
                             value["userInfo"]};
}

// A finishing task may queue a follow-up, so each call cancels what has come meanwhile.
bool KSPipelineManager::cancelAllTasks() {
    queue_->cancelAllOperations();
    return queue_->operationCount() == 0 && tasksArray().empty();
}

void KSPipelineManager::taskDidFinish(const std::shared_ptr<KSTask>& task) {
    auto outcome = task->outcome();
    if (!outcome.success && !outcome.error && task->isCancelled())
        outcome.error = KSTaskError::make(KSTaskError::kCancelled, "The task was cancelled.");
    bool lastRefreshEnded = false;
    auto followUp = removeLiveTask(task, &lastRefreshEnded);
    if (isSourceRefresh(task))
        publishSourceRefreshCount();

    auto userInfo = userInfoForTask(*task);
    userInfo[KSPipelineUserInfoSuccess] = outcome.success;
    userInfo[KSPipelineUserInfoError] = errorValue(outcome.error);
    foundation::NotificationCenter::defaultCenter().postOnMainAndWait(
        {KSPipelineTaskFinishedNotification, {}, std::move(userInfo), task});
    postChanged();

    if (lastRefreshEnded)
        sourcesRefreshDidComplete();
    if (followUp)
        queueTask(std::move(followUp));
}

std::shared_ptr<KSTask> KSPipelineManager::removeLiveTask(const std::shared_ptr<KSTask>& task,
                                                          bool* lastRefreshEnded) {
    std::lock_guard lock(mutex_);
    std::erase(tasks_, task);
    if (isSourceRefresh(task) && refreshCount_ > 0)
        *lastRefreshEnded = --refreshCount_ == 0;
    roundStoredNewIndex_ = roundStoredNewIndex_ || task->storedNewIndex();
    return task->followUpTask(tasks_);
}

void KSPipelineManager::publishSourceRefreshCount() {
    // Each publication reads the count afresh, so when changes race the last value observers
    // get is the true one.
    std::lock_guard publishing(publishMutex_);
    std::uint64_t count;
    {
        std::lock_guard lock(mutex_);
        count = refreshCount_;
    }
    sourceRefreshCount_.set(count);
}

void KSPipelineManager::sourcesRefreshDidComplete() {
    foundation::runOnMain([] {
        foundation::NotificationCenter::defaultCenter().post(
            KSPipelineSourcesRefreshCompletedNotification);
    });
    // Nothing to rebuild from when every repository answered that nothing changed, or failed.
    {
        std::lock_guard lock(mutex_);
        if (!std::exchange(roundStoredNewIndex_, false))
            return;
    }
    // A rebuild that has not started yet will read this round's data too.
    const auto live = tasksArray();
    const bool rebuildWaiting = std::ranges::any_of(live, [](const auto& task) {
        return dynamic_cast<const KSInformationCacheTask*>(task.get()) && !task->isExecuting() &&
               !task->isFinished();
    });
    if (!rebuildWaiting)
        queueTask(std::make_shared<KSInformationCacheTask>());
}

void KSPipelineManager::pipelineDidBecomeEmpty() {
    std::vector<KSPostInstallAction> actions;
    {
        std::lock_guard lock(mutex_);
        if (!tasks_.empty() || queue_->operationCount() != 0)
            return;
        actions.swap(postInstallActions_);
    }
    if (!actions.empty())
        KSPostInstallActionPerformer::perform(actions);
}

foundation::Dictionary KSPipelineManager::userInfoForTask(const KSTask& task) {
    return {{KSPipelineUserInfoTaskID, task.taskID()},
            {KSPipelineUserInfoPipelineID, task.pipelineID()}};
}

void KSPipelineManager::postChanged() {
    foundation::runOnMain([] {
        foundation::NotificationCenter::defaultCenter().post(KSPipelineChangedNotification);
    });
}

}  // namespace corvane
