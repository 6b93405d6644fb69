#include "framework/tasks/KSPackageAPTOperationTask.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/tasks/KSPackageTaskReport.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"

namespace corvane {

KSPackageAPTOperationTask::KSPackageAPTOperationTask(std::string queueString)
    : queueString_(std::move(queueString)) {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSPackageAPTOperationTask::pipelineID() const {
    return KSPipelinePackageOperation;
}

std::string KSPackageAPTOperationTask::taskDescription() const {
    return foundation::localized("Package Operations");
}

void KSPackageAPTOperationTask::main() {
    KSVerboseConsoleFeed console(KSAPTManager::packageNamesForKeys());
    const auto command = KSAPTManager::installCommandForQueue(queueString_);
    if (!command) {
        KSLog("Queue refused: %@", command.error().localizedDescription());
        console.postMessage(command.error().localizedDescription(), true);
        setTaskStatus(foundation::localized("Failed"));
        setOutcome(false, command.error());
        return;
    }
    if (isCancelled()) {
        setOutcome(false,
                   KSTaskError::make(KSTaskError::kCancelled, "The operation was cancelled."));
        return;
    }
    setTaskStatus(foundation::localized("Running..."));
    console.postCommand(*command);
    const auto result =
        KSRootCommandRunner::run(*command, [&console](const std::string& chunk, const std::string&,
                                                      bool, int) { console.append(chunk); });
    console.flush();
    if (!result.succeeded())
        console.postMessage(foundation::localized("The package operation failed."), true);
    finishRun(result.succeeded(), result.output, result.status);
}

void KSPackageAPTOperationTask::finishRun(bool succeeded, const std::string& output, int status) {
    if (succeeded) {
        KSRPackageManager::sharedPackageManager().packages().resetPackagesQueue();
        KSAPTManager::cleanUpArchivesIfNeeded();
    }
    // dpkg's database is the truth either way: a failed run that changed nothing changes no
    // record, one that got halfway shows what it did.
    KSStatusFileSync::synchronise();
    KSPackageTaskReport::postFinished(KSAPTQueueEntry::identifiersOf(queueString_), succeeded);
    setTaskProgress(1);
    setTaskStatus(foundation::localized(succeeded ? "Done" : "Failed"));
    if (succeeded)
        setOutcome(true);
    else
        setOutcome(false, KSPackageTaskReport::commandFailure(output, status));
}

}  // namespace corvane
