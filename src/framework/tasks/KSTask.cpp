#include "framework/tasks/KSTask.h"

#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

std::string KSTask::taskStatus() const {
    std::lock_guard lock(mutex_);
    return status_;
}

double KSTask::taskProgress() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

KSTask::Outcome KSTask::outcome() const {
    std::lock_guard lock(mutex_);
    return outcome_.value_or(Outcome{});
}

void KSTask::setTaskStatus(std::string status) {
    {
        std::lock_guard lock(mutex_);
        status_ = std::move(status);
    }
    // A task still being made (its constructor sets the first status) has nobody to tell.
    if (auto self = std::static_pointer_cast<KSTask>(weak_from_this().lock()))
        KSPipelineManager::sharedManager().taskDidUpdateStatus(self);
}

void KSTask::setTaskProgress(double progress) {
    {
        std::lock_guard lock(mutex_);
        if (progress_ == progress)
            return;
        progress_ = progress;
    }
    if (auto self = std::static_pointer_cast<KSTask>(weak_from_this().lock()))
        KSPipelineManager::sharedManager().taskDidUpdateProgress(self);
}

void KSTask::setOutcome(bool success, std::optional<foundation::Error> error) {
    std::lock_guard lock(mutex_);
    outcome_ = Outcome{success, std::move(error)};
}

}  // namespace corvane
