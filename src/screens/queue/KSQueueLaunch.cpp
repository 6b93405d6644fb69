#include "screens/queue/KSQueueLaunch.h"

#include <algorithm>

#include "foundation/Log.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

namespace {

KSRPackages& storedPackages() {
    return KSRPackageManager::sharedPackageManager().packages();
}

bool packageWorkIsLive() {
    return std::ranges::any_of(
        KSPipelineManager::sharedManager().tasksArray(), [](const auto& task) {
            const auto pipeline = task->pipelineID();
            return pipeline == KSPipelinePackageDownload || pipeline == KSPipelinePackageOperation;
        });
}

}  // namespace

void KSQueueLaunch::launchQueueActions(const std::string& queueString, const APTDependsTree& tree) {
    KSAPTManager::setQueue(queueString);
    KSAPTManager::setPackageNamesForKeysUsingTree(tree);
    std::vector<std::string> downloads;
    for (const auto& package : storedPackages().packagesWithIdentifiers(tree.downloads))
        downloads.push_back(package.identifier);
    if (!downloads.empty())
        storedPackages().downloadPackagesWithIdentifiers(downloads);
    else
        KSPipelineManager::sharedManager().queueTask(
            std::make_shared<KSPackageAPTOperationTask>(queueString));
    storedPackages().resetPackagesQueue();
}

std::vector<std::string> KSQueueLaunch::cancelQueue() {
    std::vector<std::string> identifiers;
    for (const auto& package : KSDatabase::realm().objectsWhere<KSRPackage>("isInTheQueue = 1"))
        identifiers.push_back(package.identifier);
    storedPackages().resetPackagesQueue();
    if (packageWorkIsLive())
        KSLog("A confirmed queue is still running; APT keeps it");
    else
        KSAPTManager::clearQueue();
    return identifiers;
}

}  // namespace corvane
