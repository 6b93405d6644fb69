#include "framework/tasks/KSPipelinePackageEngine.h"

#include <memory>

#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/tasks/KSPackageDownloadTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"

namespace corvane {

void KSPipelinePackageEngine::registerEngine() {
    KSPackageEngineHooks::registerEngine(std::make_shared<KSPipelinePackageEngine>());
}

void KSPipelinePackageEngine::refreshSources(const std::vector<std::string>& locations) {
    for (const auto& location : locations)
        KSPipelineManager::sharedManager().queueTask(
            std::make_shared<KSSourceRefreshTask>(location));
}

void KSPipelinePackageEngine::downloadPackages(const std::vector<std::string>& identifiers) {
    KSPipelineManager::TaskList downloads;
    for (const auto& identifier : identifiers)
        downloads.push_back(std::make_shared<KSPackageDownloadTask>(identifier));
    KSPipelineManager::sharedManager().queueTasks(downloads);
}

}  // namespace corvane
