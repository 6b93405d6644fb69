#include "framework/tasks/KSPackageDPKGInstallTask.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/tasks/KSPackageTaskReport.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"

namespace corvane {

KSPackageDPKGInstallTask::KSPackageDPKGInstallTask(std::string packagePath, std::string identifier)
    : packagePath_(std::move(packagePath)), identifier_(std::move(identifier)) {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSPackageDPKGInstallTask::pipelineID() const {
    return KSPipelinePackageOperation;
}

std::string KSPackageDPKGInstallTask::taskDescription() const {
    const auto subject =
        identifier_.empty() ? foundation::lastPathComponent(packagePath_) : identifier_;
    return foundation::localized("Installing") + " " + subject;
}

void KSPackageDPKGInstallTask::main() {
    KSVerboseConsoleFeed console;
    const auto command = KSAPTManager::dpkgInstallCommandForArchive(packagePath_);
    if (!command) {
        KSLog("Archive refused: %@", command.error().localizedDescription());
        console.postMessage(command.error().localizedDescription(), true);
        setTaskStatus(foundation::localized("Failed"));
        setOutcome(false, command.error());
        return;
    }
    setTaskStatus(foundation::localized("Running..."));
    console.postCommand(*command);
    const auto result =
        KSRootCommandRunner::run(*command, [&console](const std::string& chunk, const std::string&,
                                                      bool, int) { console.append(chunk); });
    console.flush();
    KSStatusFileSync::synchronise();
    KSPackageTaskReport::postFinished({identifier_}, result.succeeded());
    setTaskProgress(1);
    setTaskStatus(foundation::localized(result.succeeded() ? "Done" : "Failed"));
    if (result.succeeded()) {
        setOutcome(true);
        return;
    }
    console.postMessage(foundation::localized("The package operation failed."), true);
    setOutcome(false, KSPackageTaskReport::commandFailure(result.output, result.status));
}

}  // namespace corvane
