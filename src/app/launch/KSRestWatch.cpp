#include "app/launch/KSRestWatch.h"

#include "foundation/Clock.h"
#include "foundation/Dispatch.h"
#include "foundation/RunLoop.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

void KSRestWatch::start() {
    scheduleCheck();
}

void KSRestWatch::scheduleCheck() {
    std::weak_ptr<KSRestWatch> weakSelf = weak_from_this();
    foundation::runOnMainAfter(kCheckIntervalSeconds, [weakSelf] {
        if (auto self = weakSelf.lock())
            self->check();
    });
}

// Runs as a timer that has already left the loop, so the loop's own idleness counts the rest.
bool KSRestWatch::isAtRest() const {
    auto& pipeline = KSPipelineManager::sharedManager();
    return foundation::RunLoop::main().isIdle() && pipeline.tasksArray().empty() &&
           pipeline.pipelineOperationQueue()->operationCount() == 0 &&
           !(hasPendingWork_ && hasPendingWork_());
}

void KSRestWatch::check() {
    if (!isAtRest()) {
        restingSince_.reset();
        queuesPassed_.reset();
    } else if (!restingSince_) {
        restingSince_ = foundation::Clock::now();
        passThroughGlobalQueues();
    } else if (*queuesPassed_ && foundation::Clock::now() - *restingSince_ >= kSettleSeconds) {
        atRest_();
        return;
    }
    scheduleCheck();
}

void KSRestWatch::passThroughGlobalQueues() {
    queuesPassed_ = std::make_shared<std::atomic<bool>>(false);
    foundation::runInBackground(
        [passed = queuesPassed_] { foundation::runOnDefaultQueue([passed] { *passed = true; }); });
}

}  // namespace corvane
