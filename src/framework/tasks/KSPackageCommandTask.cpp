#include "framework/tasks/KSPackageCommandTask.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/tasks/KSPackageTaskReport.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"

namespace corvane {

KSPackageCommandTask::KSPackageCommandTask() {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSPackageCommandTask::pipelineID() const {
    return KSPipelinePackageOperation;
}

void KSPackageCommandTask::main() {
    KSVerboseConsoleFeed console(displayNames());
    const auto command = preparedCommand();
    if (!command) {
        KSLog("Command refused: %@", command.error().localizedDescription());
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
    console.postCommand(KSBubblewrap::commandInside(*command));
    const auto result =
        KSRootCommandRunner::run(*command, [&console](const std::string& chunk, const std::string&,
                                                      bool, int) { console.append(chunk); });
    console.flush();
    if (!result.succeeded())
        console.postMessage(foundation::localized("The package operation failed."), true);
    finishRun(result);
}

// The launch prepares the device in the background; a task that comes before it does so too,
// once its words are found good.
foundation::Result<std::string> KSPackageCommandTask::preparedCommand() const {
    auto command = this->command();
    FOUNDATION_RETURN_IF_ERROR(command);
    FOUNDATION_RETURN_IF_ERROR(KSAPTManager::createAPTSandboxIfNeeded());
    return command;
}

void KSPackageCommandTask::finishRun(const KSRootCommandRunner::CommandResult& result) {
    const bool succeeded = result.succeeded();
    if (succeeded)
        commandDidSucceed();
    KSAPTManager::settleStoppedCommand(result);
    KSStatusFileSync::synchronise();
    KSPackageTaskReport::postFinished(packageIdentifiers(), succeeded);
    setTaskProgress(1);
    setTaskStatus(foundation::localized(succeeded ? "Done" : "Failed"));
    if (succeeded)
        setOutcome(true);
    else
        setOutcome(false, KSPackageTaskReport::commandFailure(result.output, result.status,
                                                              result.stopped));
}

}  // namespace corvane
